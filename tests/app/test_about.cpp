// The About dialog on its own: layout, the home-page rule, translation, OK.
#include "AboutBox.h"
#include "CommandLine.h"
#include "Kesl_hreflet.h"
#include "Lingwa2000.h"
#include "MessageBox.h"
#include "Shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QUrl>

#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr QRgb kBlue = 0x0000FF;
constexpr QRgb kMaroon = 0x800000;

int CountColor(const QImage &img, const QRect &r, QRgb color)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) == color;
    return n;
}

// The rectangle of a control in the dialog's coordinates.
QRect InDialog(const QWidget *w, const TFrmAbout &dlg)
{
    return QRect(w->mapTo(&dlg, QPoint(0, 0)), w->size());
}

QImage Grab(TFrmAbout &dlg)
{
    return dlg.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(AboutDialog, LayoutMatchesTheDesign)
{
    TFrmAbout dlg;
    EXPECT_EQ(dlg.objectName(), "FrmAbout");
    EXPECT_EQ(dlg.size(), QSize(543, 332));
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());
    EXPECT_EQ(dlg.windowTitle(), "LW_About");
    EXPECT_FALSE(dlg.windowIcon().isNull());
    // Control, its parent, its rectangle there.
    const std::tuple<QWidget *, QWidget *, QRect> table[] = {
        {dlg.LblDescription, &dlg, {8, 152, 529, 65}},
        {dlg.Panel1, &dlg, {8, 10, 529, 127}},
        {dlg.LblName, dlg.Panel1, {8, 12, 513, 34}},
        {dlg.LblVersion, dlg.Panel1, {8, 50, 513, 16}},
        {dlg.LblAuthor, dlg.Panel1, {8, 74, 513, 16}},
        {dlg.LblCopyright, dlg.Panel1, {8, 100, 513, 16}},
        {dlg.Panel2, &dlg, {8, 224, 529, 65}},
        {dlg.LblWebSite, dlg.Panel2, {8, 8, 135, 49}},
        {dlg.HrefletKeslSuite, dlg.Panel2, {152, 8, 369, 16}},
        {dlg.HrefletSimulations, dlg.Panel2, {152, 24, 369, 16}},
        {dlg.HrefletHomepage, dlg.Panel2, {152, 40, 369, 16}},
        {dlg.BButOK, &dlg, {424, 296, 113, 33}},
    };
    for (const auto &[w, parent, r] : table) {
        EXPECT_EQ(w->geometry(), r) << w->objectName().toStdString();
        EXPECT_EQ(w->parentWidget(), parent) << w->objectName().toStdString();
    }
    EXPECT_TRUE(dlg.LblAuthor->text().isEmpty());
    EXPECT_FALSE(dlg.LblCopyright->text().isEmpty());
    EXPECT_TRUE(dlg.LblDescription->wordWrap());
    EXPECT_TRUE(dlg.LblWebSite->wordWrap());
    EXPECT_TRUE(dlg.LblWebSite->alignment() & Qt::AlignRight);
    EXPECT_EQ(dlg.HrefletHomepage->Caption(), "LW_HomePage");
    EXPECT_TRUE(dlg.HrefletHomepage->isHidden());

    EXPECT_EQ(dlg.font().family(), "Arial");
    EXPECT_EQ(dlg.font().pixelSize(), 13);
    const QFont name = dlg.LblName->font();
    EXPECT_EQ(name.pixelSize(), 30);
    EXPECT_TRUE(name.bold());
    EXPECT_TRUE(name.italic());
    EXPECT_EQ(dlg.LblName->palette().color(QPalette::WindowText).rgb() & 0xFFFFFF, kMaroon);
    EXPECT_EQ(dlg.LblDescription->palette().color(QPalette::WindowText).rgb() & 0xFFFFFF, kMaroon);
}

TEST(AboutDialog, AllLinksHaveBlueBoldAndRedUnderlinedFonts)
{
    TFrmAbout dlg;
    for (THreflet *h : {dlg.HrefletKeslSuite, dlg.HrefletSimulations, dlg.HrefletHomepage}) {
        SCOPED_TRACE(h->objectName().toStdString());
        EXPECT_TRUE(h->Font() == (TFont {QStringLiteral("Courier New"), -13, clBlue, fsBold}));
        EXPECT_TRUE(h->FontActive() == (TFont {QStringLiteral("Courier New"), -13, clRed, fsBold | fsUnderline}));
    }
}

TEST(AboutDialog, TheHomePageLinkShowsOnlyWithACaptionOfItsOwn)
{
    // Caption (only the exact key counts as untranslated), whether the link shows; the other two move down when not.
    for (const auto &[caption, shown] :
         {std::pair {"HomePage", false}, {"", false}, {"Home page of this simulation", true}, {"homepage", true}}) {
        SCOPED_TRACE(caption);
        TFrmAbout dlg;
        dlg.HrefletHomepage->SetCaption(QString::fromUtf8(caption));
        dlg.show();
        EXPECT_EQ(dlg.HrefletHomepage->isVisible(), shown);
        EXPECT_EQ(dlg.HrefletKeslSuite->y(), shown ? 8 : 16);
        EXPECT_EQ(dlg.HrefletSimulations->y(), shown ? 24 : 32);
        EXPECT_EQ(dlg.HrefletHomepage->y(), 40);

        // Pixels: blue link text only in the rows of the visible links.
        const QImage img = Grab(dlg);
        EXPECT_GT(CountColor(img, InDialog(dlg.HrefletKeslSuite, dlg), kBlue), 30);
        EXPECT_GT(CountColor(img, InDialog(dlg.HrefletSimulations, dlg), kBlue), 30);
        // Rows below the moved second link: only a shown home-page link has ink there.
        const int homeInk = CountColor(img, InDialog(dlg.HrefletHomepage, dlg).adjusted(0, 8, 0, 0), kBlue);
        EXPECT_TRUE(shown ? homeInk > 30 : homeInk == 0) << homeInk;
        dlg.close();
    }
}

TEST(AboutDialog, MovedLinksStayForLaterShowings)
{
    TFrmAbout dlg;
    dlg.HrefletHomepage->SetCaption(QStringLiteral("HomePage"));
    dlg.show();
    dlg.close();
    dlg.HrefletHomepage->SetCaption(QStringLiteral("Startseite"));
    dlg.show();
    EXPECT_TRUE(dlg.HrefletHomepage->isVisible());
    EXPECT_EQ(dlg.HrefletKeslSuite->y(), 16);
    EXPECT_EQ(dlg.HrefletSimulations->y(), 32);
}

TEST(AboutDialog, TranslationReachesEveryTextOfTheDialog)
{
    constexpr const char *suite = "The component library of this program",
                         *copyright = "Copyright \xC2\xA9 2026 the authors of Cauchy Distribution";
    struct Case
    {
        QByteArray table;
        const char *title, *ok, *home, *suite, *copyright;
    } cases[] = {
        {QByteArray(), "About", "OK", "HomePage", suite, copyright},
        {"[About]=Info|$$[OK]=Fertig|$$[HomePage]=Startseite|$$[" + QByteArray(suite) + "]=Bibliothek|$$[" + copyright +
             "]=Copyright \xC2\xA9 2026 die Autoren|$$",
         "Info", "Fertig", "Startseite", "Bibliothek", "Copyright \xC2\xA9 2026 die Autoren"},
        {"[HomePage]=|$$", "About", "OK", "", suite, copyright},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        TLingwa2000 lingwa;
        lingwa.LoadTable(c.table);
        TFrmAbout dlg;
        lingwa.TranslateComponent(&dlg);
        EXPECT_EQ(dlg.windowTitle(), c.title);
        EXPECT_EQ(dlg.BButOK->text(), c.ok);
        EXPECT_EQ(dlg.HrefletHomepage->Caption(), c.home);
        EXPECT_EQ(dlg.HrefletKeslSuite->Caption(), c.suite);
        EXPECT_EQ(dlg.LblCopyright->text(), QString::fromUtf8(c.copyright));
    }
}

TEST(AboutDialog, TheProgramSetsNoDisplayNameThatTheTitleBarWouldAppend)
{
    const QString oldName = QCoreApplication::applicationName();
    SetProgramIdentity();
    EXPECT_EQ(QCoreApplication::applicationName(), "cauchy");
    // Unset, the display name follows the application name; a display name
    // set on its own would be appended to the About dialog's title.
    QCoreApplication::setApplicationName(QStringLiteral("probe"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "probe");
    QCoreApplication::setApplicationName(oldName);
}

TEST(AboutDialog, OkEndsTheModalShowing)
{
    TFrmAbout dlg;
    bool clicked = false;
    QTimer::singleShot(0, &dlg, [&] {
        clicked = dlg.isVisible();
        QTest::mouseClick(dlg.BButOK, Qt::LeftButton);
    });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_TRUE(clicked);
    EXPECT_FALSE(dlg.isVisible());
}

TEST(AboutDialog, LinksOpenTheShippedPagesAndAFailureIsReported)
{
    // Pages beside the test program, where the program's own lie beside it.
    const QString docDir = QFileInfo(QCoreApplication::applicationFilePath()).absolutePath() + "/doc";
    QDir().mkpath(docDir);
    for (const char *page : {"index.html", "index.de.html"}) {
        QFile f(docDir + "/" + page);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString docUrl = QUrl::fromLocalFile(QDir::cleanPath(docDir)).toString();
    // The home page's target from the table, the link clicked (0 components, 1 simulations, 2 home page), what the
    // shell answers, what it was asked to open (empty: nothing), part of the message shown (or none).
    const std::tuple<const char *, int, int, QString, const char *> cases[] = {
        {"HomePageURL", 0, 42, docUrl + "/index.html#components", nullptr},
        {"index.de.html", 1, 42, docUrl + "/index.de.html#simulations", nullptr},
        {"index.de.html", 2, 42, docUrl + "/index.de.html", nullptr},
        {"http://example.org/home/", 2, 42, "http://example.org/home/", nullptr},
        {"https://example.org/home/", 2, 42, "https://example.org/home/", nullptr},
        {"missing.html", 2, 42, "", "not installed"},
        {"index.html", 0, 2, docUrl + "/index.html#components", "No program"},
    };
    for (const auto &[home, link, shellResult, target, message] : cases) {
        SCOPED_TRACE(home);
        QStringList opened, messages;
        const TShellOpenHandler oldShell = SetShellOpenHandler([&, result = shellResult](auto, const QString &t, auto) {
            opened << t;
            return result;
        });
        const TMessageBoxHandler oldBox =
            SetMessageBoxHandler([&](TMsgDlgType, const QString &, const QString &text) { messages << text; });
        TFrmAbout dlg;
        dlg.HrefletHomepage->SetCaption(QStringLiteral("Home"));
        dlg.HrefletHomepage->SetURL(QLatin1String(home));
        dlg.show();
        THreflet *links[] = {dlg.HrefletKeslSuite, dlg.HrefletSimulations, dlg.HrefletHomepage};
        QTest::mouseClick(links[link], Qt::LeftButton, Qt::NoModifier, QPoint(4, 8));
        SetShellOpenHandler(oldShell);
        SetMessageBoxHandler(oldBox);
        EXPECT_EQ(opened, target.isEmpty() ? QStringList() : QStringList {target});
        ASSERT_EQ(messages.size(), message ? 1 : 0);
        EXPECT_TRUE(!message || messages[0].contains(QLatin1String(message))) << messages.value(0).toStdString();
    }
    QDir(docDir).removeRecursively();
}

TEST(AboutDialog, FilledDialogShowsItsTextsUnclipped)
{
    for (bool german : {false, true}) {
        SCOPED_TRACE(german);
        TFrmAbout dlg;
        dlg.LblName->setText(QStringLiteral("Cauchy Distribution"));
        dlg.LblVersion->setText(QStringLiteral("Version 1.0"));
        dlg.LblWebSite->setText(TFrmAbout::WebSiteText(german));
        dlg.LblDescription->setText(TFrmAbout::DescriptionText(german));
        dlg.HrefletHomepage->SetCaption(german ? QStringLiteral("Startseite dieser Simulation")
                                               : QStringLiteral("Home page of this simulation"));
        dlg.show();
        // Every text fits its label: the wrapped height within the label's height,
        // an unwrapped text within its width.
        for (QLabel *l : {dlg.LblDescription, dlg.LblWebSite}) {
            const QRect needed = l->fontMetrics().boundingRect(l->rect(), Qt::TextWordWrap | l->alignment(), l->text());
            EXPECT_LE(needed.height(), l->height()) << l->objectName().toStdString();
        }
        for (QLabel *l : {dlg.LblName, dlg.LblVersion, dlg.LblCopyright}) {
            EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width()) << l->objectName().toStdString();
            EXPECT_LE(l->fontMetrics().height(), l->height()) << l->objectName().toStdString();
        }
        for (THreflet *h : {dlg.HrefletKeslSuite, dlg.HrefletSimulations, dlg.HrefletHomepage}) {
            TBitmap probe(1, 1);
            probe.Canvas().Font = h->FontActive();
            EXPECT_LE(probe.Canvas().TextWidth(h->Caption()), h->width()) << h->Caption().toStdString();
        }
        // The name in maroon in its label's rows, the description in maroon below.
        const QImage img = Grab(dlg);
        EXPECT_GT(CountColor(img, InDialog(dlg.LblName, dlg), kMaroon), 200);
        EXPECT_GT(CountColor(img, InDialog(dlg.LblDescription, dlg), kMaroon), 200);
        const QString shot = qEnvironmentVariable("CAUCHY_ABOUT_SCREENSHOT");
        if (!shot.isEmpty())
            img.save(shot + (german ? QStringLiteral("_de.png") : QStringLiteral("_en.png")));
    }
}
