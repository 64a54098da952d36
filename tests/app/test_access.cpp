// The window by keyboard alone and through a screen reader's eyes, in both
// shipped languages; messages composed in code in the table's language.
#include "AboutBox.h"
#include "ChartExport.h"
#include "CommandLine.h"
#include "Kesl_Digrel.h"
#include "Kesl_hreflet.h"
#include "Kesl_kurvo.h"
#include "Kesl_math1.h"
#include "Lingwa2000.h"
#include "Memo.h"
#include "MessageBox.h"
#include "Messages.h"
#include "QuarvisDemon.h"
#include "RadioGroup.h"
#include "Shell.h"
#include "mainfrm.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

namespace {

QByteArray ShippedTable(bool german)
{
    QFile f(qEnvironmentVariable("CAUCHY_SOURCE_DIR") +
            (german ? "/app/tables/translations/cauchy.itl" : "/app/tables/cauchy.itl"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
    return f.readAll();
}

// A window with a shipped table beside the test program, shown and active.
struct TWindow
{
    explicit TWindow(bool german) : path(QCoreApplication::applicationFilePath() + ".itl")
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ShippedTable(german));
        f.close();
        frm = std::make_unique<TFrmMain>();
        frm->Model->Generator().SetSeed(99);
        frm->show();
        frm->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(frm.get()));
    }
    ~TWindow()
    {
        frm.reset();
        QFile::remove(path);
    }
    // A key as the keyboard sends it: to the control that has the focus.
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) const
    {
        QWidget *w = QApplication::focusWidget();
        QTest::keyClick(w ? w : frm.get(), key, mods);
    }
    QString Focus() const
    {
        const QWidget *w = QApplication::focusWidget();
        return w ? w->objectName() + (qobject_cast<const QRadioButton *>(w) ? w->parent()->objectName() : "") : "";
    }
    QString path;
    std::unique_ptr<TFrmMain> frm;
};

QString Text(QObject *o, QAccessible::Text t)
{
    QAccessibleInterface *i = QAccessible::queryAccessibleInterface(o);
    return i ? i->text(t) : QStringLiteral("<none>");
}

} // namespace

TEST(Keyboard, TabReachesEveryControlInOrderAndCtrlTabLeavesTheChart)
{
    TWindow w(false);
    w.frm->RC->setFocus();
    w.Key(Qt::Key_Tab); // the chart keeps Tab...
    EXPECT_EQ(w.Focus(), "RC");
    w.Key(Qt::Key_Tab, Qt::ControlModifier); // ...and Ctrl+Tab leaves it
    QStringList order;
    for (int i = 0; i < 12 && w.Focus() != "RC"; ++i) {
        order << w.Focus();
        w.Key(Qt::Key_Tab);
    }
    const QStringList expected = {"SButShowDistri", "SButDrawSamples", "RGDistri", "SBarLoc",
                                  "SBarWid",        "SButAbout",       "SButExit", "Memo1"};
    EXPECT_EQ(order, expected);
    w.Key(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.Focus(), "Memo1");
}

TEST(Keyboard, ALessonByKeysAlone)
{
    TWindow w(false);
    TFrmMain &f = *w.frm;
    f.SButDrawSamplesClick(nullptr), f.SButDrawSamplesClick(nullptr); // leave the histogram view
    f.RC->setFocus();
    w.Key(Qt::Key_Tab, Qt::ControlModifier);
    w.Key(Qt::Key_Space);
    EXPECT_TRUE(f.Model->HistogramShown());
    w.Key(Qt::Key_1, Qt::AltModifier);
    EXPECT_EQ(f.RGDistri->ItemIndex(), 0);
    w.Key(Qt::Key_Tab), w.Key(Qt::Key_Tab), w.Key(Qt::Key_Down);
    EXPECT_EQ(f.RGDistri->ItemIndex(), 1);
    w.Key(Qt::Key_Tab), w.Key(Qt::Key_Right), w.Key(Qt::Key_Right), w.Key(Qt::Key_Right);
    w.Key(Qt::Key_Tab), w.Key(Qt::Key_PageDown);
    EXPECT_EQ(f.NLabLoc->ValueText(), "0.30");
    EXPECT_EQ(f.NLabWid->ValueText(), "0.90");
    EXPECT_TRUE(f.RC->accessibleDescription().contains("location 0.30, width 0.90"));

    // A run started and stopped by F6; its ticks come from the test.
    w.Key(Qt::Key_F6);
    EXPECT_TRUE(f.Model->Running());
    EXPECT_FALSE(f.SBarWid->isEnabled());
    f.Timer1Timer(nullptr), f.Timer1Timer(nullptr);
    w.Key(Qt::Key_F5); // disabled during a run
    EXPECT_FALSE(f.Model->HistogramShown());
    w.Key(Qt::Key_F6);
    EXPECT_FALSE(f.Model->Running());
    EXPECT_EQ(f.Model->RunCount(), 2);
    w.Key(Qt::Key_F5); // back to the histogram, whose menu has the share outside

    // The chart's menu by Shift+F10 and by the menu key, worked by arrows.
    for (int i = 0; i < 10 && w.Focus() != "RC"; ++i)
        w.Key(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(w.Focus(), "RC");
    for (const auto &[key, mods] : {std::pair {Qt::Key_F10, Qt::ShiftModifier}, {Qt::Key_Menu, Qt::NoModifier}}) {
        w.Key(key, mods);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        EXPECT_EQ(menu->objectName(), "ChartMenu");
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
        EXPECT_FALSE(QApplication::activePopupWidget());
        EXPECT_EQ(f.Model->Extras().ShareOutside, key == Qt::Key_F10); // switched on, then off again
    }

    // Leave the chart backwards and reach Exit.
    w.Key(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier), w.Key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(w.Focus(), "SButExit");
    w.Key(Qt::Key_Space);
    EXPECT_FALSE(f.isVisible());
}

TEST(Keyboard, AboutDialogOkFirstThenItsLinksOpenedByReturn)
{
    const QString page = QCoreApplication::applicationDirPath() + "/doc/index.html";
    QDir().mkpath(QFileInfo(page).path());
    QFile(page).open(QIODevice::Append);
    const TMessageBoxHandler oldBox = SetMessageBoxHandler([](TMsgDlgType, const QString &, const QString &) {});
    TFrmAbout about;
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget *>(about.BButOK));
    QString opened;
    const TShellOpenHandler old = SetShellOpenHandler([&](const QString &, const QString &target, const QString &) {
        opened = target;
        return 42;
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    SetShellOpenHandler(old);
    SetMessageBoxHandler(oldBox);
    EXPECT_TRUE(opened.endsWith("index.html#components")) << opened.toStdString();
    EXPECT_TRUE(about.isVisible());
}

TEST(Keyboard, FocusIsMarkedButNotInPictures)
{
    TWindow w(false);
    TFrmMain &f = *w.frm;
    const QRgb mark = f.palette().color(QPalette::Active, QPalette::Highlight).rgb();
    const auto edge = [&f](QWidget *c) {
        const QPoint at = c->mapTo(&f, QPoint(0, c->height() / 2));
        return f.grab().toImage().pixel(at);
    };
    for (QWidget *c :
         {static_cast<QWidget *>(f.SBarLoc), static_cast<QWidget *>(f.RC), static_cast<QWidget *>(f.Memo1)}) {
        f.SButShowDistri->setFocus();
        EXPECT_NE(edge(c), mark) << c->objectName().toStdString();
        c->setFocus();
        EXPECT_EQ(edge(c), mark) << c->objectName().toStdString();
    }
    QTemporaryDir dir;
    ASSERT_EQ(SaveChartPicture(f.RC, dir.filePath("c.png"), 1), "");
    EXPECT_NE(QImage(dir.filePath("c.png")).pixel(0, f.RC->height() / 2), mark);
}

TEST(ScreenReader, EveryControlIsNamedAndDescribedInBothLanguages)
{
    QMap<QString, QString> english;
    for (const bool german : {false, true}) {
        TWindow w(german);
        TFrmMain &f = *w.frm;
        for (QWidget *c : f.findChildren<QWidget *>()) {
            if (c->focusPolicy() == Qt::NoFocus && !qobject_cast<TDigrel *>(c))
                continue;
            const QString name = Text(c, QAccessible::Name), description = Text(c, QAccessible::Description);
            const QString id = c->objectName() + c->parent()->objectName() + name;
            EXPECT_FALSE(name.isEmpty()) << id.toStdString();
            EXPECT_FALSE(description.isEmpty()) << id.toStdString();
            if (!german)
                english[c->objectName() + c->parent()->objectName()] = description;
            else
                EXPECT_NE(description, english.value(c->objectName() + c->parent()->objectName())) << id.toStdString();
        }
        // Values as shown, and the chart saying what it shows.
        f.SBarLoc->setValue(-15);
        EXPECT_EQ(Text(f.SBarLoc, QAccessible::Value), "-1.50");
        EXPECT_EQ(Text(f.SBarWid, QAccessible::Value), "1.00");
        EXPECT_EQ(Text(f.NLabLoc, QAccessible::Value), "-1.50");
        QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(f.SBarWid);
        ASSERT_TRUE(bar && bar->valueInterface());
        bar->valueInterface()->setCurrentValue(2.5);
        EXPECT_EQ(f.Model->Width(), 2.5);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(f.RC)->role(), QAccessible::Chart);
        const QString chart = Text(f.RC, QAccessible::Description);
        EXPECT_TRUE(chart.startsWith(german ? "Histogramm von 100000 Zufallszahlen der Cauchy-Verteilung, Lage -1.50, "
                                              "Breite 2.50; höchster Balken 0.1"
                                            : "Histogram of 100000 samples of the Cauchy distribution, location -1.50, "
                                              "width 2.50; tallest bar 0.1"))
            << chart.toStdString();
        TFrmAbout about;
        f.cliDemon->Lingwa().TranslateComponent(&about);
        QAccessibleInterface *link = QAccessible::queryAccessibleInterface(about.HrefletKeslSuite);
        EXPECT_EQ(link->role(), QAccessible::Link);
        EXPECT_EQ(link->text(QAccessible::Name),
                  german ? "Die Komponentenbibliothek dieses Programms" : "The component library of this program");
        f.SButDrawSamplesClick(nullptr);
        f.Model->RunTimer()->stop(); // its ticks come from the test
        f.Timer1Timer(nullptr);
        // During a run the description is held back a moment, but the last state arrives.
        const QString one = german ? "Mittelwert aller 1: " : "mean of all 1: ";
        EXPECT_TRUE(QTest::qWaitFor([&] { return Text(f.RC, QAccessible::Description).contains(one); }, 5000));
        f.SButDrawSamplesClick(nullptr);
    }
}

TEST(German, MessagesHelpAndQtTextsFollowTheTable)
{
    TWindow w(true);
    std::vector<QString> shown;
    const TMessageBoxHandler old =
        SetMessageBoxHandler([&](TMsgDlgType, const QString &, const QString &text) { shown.push_back(text); });
    QTemporaryDir dir;
    ShowMessageBox(mtError, SaveChartPicture(w.frm->RC, dir.filePath("x.gif"), 1));
    ShowMessageBox(mtError, SaveChartPicture(w.frm->RC, dir.filePath("no/x.png"), 1));
    SetMessageBoxHandler(old);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "Unbekannte Bildart „x.gif“: bitte .png, .svg oder .pdf verwenden.");
    EXPECT_TRUE(shown[1].startsWith(dir.filePath("no/x.png") + " kann nicht geschrieben werden: "));

    TLingwa2000 de;
    de.LoadTable(ShippedTable(true));
    // The most specific wording wins over a shorter one that fits as well.
    EXPECT_EQ(TranslateMessage(de, "cannot write the snapshot \"a: b\": full"),
              "das Bild „a: b“ kann nicht geschrieben werden: full");
    for (const QStringList &args : {QStringList {"--bad"},
                                    {"--view", "x"},
                                    {"--location", "99"},
                                    {"--width", "0"},
                                    {"--samples", "5"},
                                    {"--seed", "-1"},
                                    {"--scale", "9"},
                                    {"--language", "fr"},
                                    {"--distribution", "x"},
                                    {"--snapshot"},
                                    {"--export"},
                                    {"--export", "a.png", "--snapshot", "b.png"}}) {
        const QString error = ParseCommandLine(QStringList {"cauchy"} + args).Error;
        ASSERT_FALSE(error.isEmpty()) << args.join(' ').toStdString();
        EXPECT_NE(TranslateMessage(de, error), error) << error.toStdString();
    }
    // The help in the table's words; every text, first lines and those Qt wraps,
    // starts in one column, in English and German alike.
    const QString english = HelpText(), german = HelpText([&de](const QString &key, const QStringList &arguments) {
                                            return de.LookupText(key, arguments);
                                        });
    EXPECT_EQ(german.section('\n', 0, 0), de.LookupText("Usage: cauchy [options]"));
    EXPECT_FALSE(german.contains("show this help")) << german.toStdString();
    const QRegularExpression column("^  -.*?  (?=\\S)|^ +(?=\\S)", QRegularExpression::MultilineOption);
    QSet<qsizetype> columns;
    for (const QString &help : {english, german})
        for (auto it = column.globalMatch(help); it.hasNext();)
            columns << it.next().capturedLength();
    EXPECT_EQ(columns.size(), 1) << english.toStdString() << german.toStdString();

    const bool qtGerman = QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm");
    EXPECT_TRUE(w.frm->RC->accessibleDescription().endsWith(qtGerman ? "Drucken: Strg+P." : "Drucken: Ctrl+P."));
    EXPECT_TRUE(w.frm->SButExit->toolTip().endsWith(qtGerman ? "(Strg+Q)" : "(Ctrl+Q)"))
        << w.frm->SButExit->toolTip().toStdString();
}
