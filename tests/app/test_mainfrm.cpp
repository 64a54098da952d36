#include "Kesl_Digrel.h"
#include "Kesl_hueband.h"
#include "Kesl_math1.h"
#include "Kesl_vector.h"
#include "Memo.h"
#include "MessageBox.h"
#include "RadioGroup.h"
#include "mainfrm.h"
#include "qt_printers.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <tuple>
#include <vector>

namespace {

class MainWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_oldHandler = SetMessageBoxHandler(
            [this](TMsgDlgType, const QString &, const QString &text) { messages.push_back(text); });
        frm = std::make_unique<TFrmMain>();
        frm->Model->Generator().SetSeed(12345);
    }
    void TearDown() override
    {
        frm.reset();
        SetMessageBoxHandler(m_oldHandler);
    }

    std::vector<double> Samples(int first, int last) const
    {
        std::vector<double> out;
        for (int i = first; i <= last; ++i)
            out.push_back(frm->Model->Samples().Elem(i));
        return out;
    }

    // While a run goes on its timer ticks, its button stops it and the parameters are locked.
    void ExpectRunning(bool running) const
    {
        EXPECT_EQ(frm->Model->Running(), running);
        EXPECT_EQ(frm->Model->RunTimer()->isActive(), running);
        EXPECT_EQ(frm->SButDrawSamples->text(), running ? "Stop" : "Calculate Means");
        for (QWidget *w : {static_cast<QWidget *>(frm->SButShowDistri), static_cast<QWidget *>(frm->RGDistri),
                           static_cast<QWidget *>(frm->SBarLoc), static_cast<QWidget *>(frm->SBarWid)})
            EXPECT_EQ(w->isEnabled(), !running) << w->objectName().toStdString();
    }

    std::unique_ptr<TFrmMain> frm;
    std::vector<QString> messages;

private:
    TMessageBoxHandler m_oldHandler;
};

} // namespace

TEST_F(MainWindow, LayoutMatchesTheDesign)
{
    EXPECT_EQ(frm->windowTitle(), "Cauchy Distribution");
    EXPECT_EQ(frm->width() + TFrmMain::kFrameWidth, 760);
    EXPECT_EQ(frm->height() + TFrmMain::kFrameHeight, 417);
    EXPECT_EQ(frm->minimumWidth() + TFrmMain::kFrameWidth, 760);
    EXPECT_EQ(frm->minimumHeight() + TFrmMain::kFrameHeight, 400);
    EXPECT_EQ(frm->font().pixelSize(), 13);

    const std::pair<QWidget *, QRect> table[] = {
        {frm->Panel1, {0, 0, 752, 73}},           {frm->SButShowDistri, {8, 8, 169, 27}},
        {frm->SButDrawSamples, {8, 40, 169, 27}}, {frm->SButAbout, {642, 8, 102, 27}},
        {frm->SButExit, {642, 40, 102, 27}},      {frm->RGDistri, {184, 8, 177, 57}},
        {frm->SBarLoc, {376, 40, 121, 20}},       {frm->SBarWid, {512, 40, 121, 20}},
        {frm->Memo1, {0, 296, 752, 88}},
    };
    for (const auto &[w, r] : table)
        EXPECT_EQ(w->geometry(), r) << w->objectName().toStdString();
    EXPECT_EQ(frm->ChartArea(), QRect(0, 73, 752, 223));

    EXPECT_EQ(frm->SBarLoc->minimum(), -100);
    EXPECT_EQ(frm->SBarLoc->maximum(), 100);
    EXPECT_EQ(frm->SBarLoc->value(), 0);
    EXPECT_EQ(frm->SBarWid->minimum(), 1);
    EXPECT_EQ(frm->SBarWid->maximum(), 500);
    EXPECT_EQ(frm->SBarWid->value(), 100);
    EXPECT_EQ(frm->RGDistri->ItemIndex(), 1);
    EXPECT_EQ(frm->Model->Samples().NrOfElem(), 100000);
    EXPECT_EQ(frm->Model->Bins().NrOfElem(), 1);
    EXPECT_EQ(frm->Model->RunTimer()->interval(), 50);
    EXPECT_FALSE(frm->Model->RunTimer()->isActive());
    EXPECT_TRUE(frm->Memo1->isReadOnly());
}

TEST_F(MainWindow, ResizingKeepsPanelMemoAndChartAreaInPlace)
{
    frm->show();
    frm->resize(1000, 600);
    EXPECT_EQ(frm->Panel1->geometry(), QRect(0, 0, 1000, 73));
    EXPECT_EQ(frm->Memo1->geometry(), QRect(0, 512, 1000, 88));
    EXPECT_EQ(frm->ChartArea(), QRect(0, 73, 1000, 439));
    // Right-anchored buttons follow the right edge.
    EXPECT_EQ(frm->SButAbout->geometry(), QRect(890, 8, 102, 27));
    EXPECT_EQ(frm->SButExit->geometry(), QRect(890, 40, 102, 27));
    EXPECT_EQ(frm->SButShowDistri->geometry(), QRect(8, 8, 169, 27));

    frm->resize(100, 100);
    EXPECT_EQ(frm->width() + TFrmMain::kFrameWidth, 760);
    EXPECT_EQ(frm->height() + TFrmMain::kFrameHeight, 400);
    EXPECT_EQ(frm->ChartArea().top(), 73);
    EXPECT_EQ(frm->ChartArea().bottom() + 1, frm->Memo1->y());
}

TEST_F(MainWindow, ShowingTheWindowDrawsTheHistogramView)
{
    frm->show();
    EXPECT_TRUE(frm->Model->HistogramShown());
    EXPECT_FALSE(frm->Model->Running());
    EXPECT_EQ(frm->Model->Bins().NrOfElem(), 400);
    int counted = 0;
    for (int i = 1; i <= 400; ++i)
        counted += frm->Model->Bins().Elem(i);
    // A few percent of Cauchy(0, 1) samples lie outside [-20, 20).
    EXPECT_GT(counted, 95000);
    EXPECT_LT(counted, 99500);
}

TEST_F(MainWindow, ParameterChangesRedrawOnlyWhileTheHistogramIsShown)
{
    frm->show();
    const auto before = Samples(1, 10);
    frm->SBarLoc->setValue(-100);
    EXPECT_DOUBLE_EQ(frm->Model->Location(), -10.0);
    auto after = Samples(1, 10);
    EXPECT_NE(before, after);
    // Cauchy samples around the new location.
    int near = 0;
    for (int i = 1; i <= 1000; ++i)
        near += std::abs(frm->Model->Samples().Elem(i) + 10.0) < 1.0;
    EXPECT_GT(near, 400);

    frm->SBarWid->setValue(1);
    EXPECT_DOUBLE_EQ(frm->Model->Width(), 0.01);

    // Leave the histogram view: the scroll bars only change the parameters.
    frm->SButDrawSamplesClick(nullptr);
    frm->SButDrawSamplesClick(nullptr);
    EXPECT_FALSE(frm->Model->HistogramShown());
    const auto frozen = Samples(1, 10);
    frm->SBarLoc->setValue(50);
    frm->SBarWid->setValue(300);
    EXPECT_EQ(Samples(1, 10), frozen);
    EXPECT_DOUBLE_EQ(frm->Model->Location(), 5.0);
    EXPECT_DOUBLE_EQ(frm->Model->Width(), 3.0);
}

TEST_F(MainWindow, SelectingTheNormalDistributionRedrawsAtOnce)
{
    frm->show();
    QTest::mouseClick(frm->RGDistri->Button(0), Qt::LeftButton, {}, QPoint(6, frm->RGDistri->Button(0)->height() / 2));
    EXPECT_EQ(frm->RGDistri->ItemIndex(), 0);
    double maxAbs = 0;
    for (int i = 1; i <= 100000; ++i)
        maxAbs = std::max(maxAbs, std::abs(frm->Model->Samples().Elem(i)));
    EXPECT_LT(maxAbs, 7.0); // no Cauchy tails left
    // The tallest bar of the standard normal is close to its density at 0.
    int maxCount = 0;
    for (int i = 1; i <= 400; ++i)
        maxCount = std::max(maxCount, frm->Model->Bins().Elem(i));
    EXPECT_NEAR(maxCount / 100000.0 / 0.1, 0.3989, 0.02);
}

TEST_F(MainWindow, NoSelectedDistributionCountsTheOldSamplesAgain)
{
    frm->show();
    const auto before = Samples(1, 100);
    frm->Model->SetDistribution(std::nullopt);
    QTest::mouseClick(frm->SButShowDistri, Qt::LeftButton);
    EXPECT_EQ(Samples(1, 100), before);
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindow, CalculateMeansStartsAndStopsARun)
{
    frm->show();
    QTest::mouseClick(frm->SButDrawSamples, Qt::LeftButton);
    ExpectRunning(true);
    EXPECT_FALSE(frm->Model->HistogramShown());
    EXPECT_EQ(frm->Model->RunCount(), 0);
    EXPECT_EQ(frm->Model->Samples().Elem(1), 0.0);

    for (int i = 0; i < 37; ++i)
        frm->Timer1Timer(nullptr);
    EXPECT_EQ(frm->Model->RunCount(), 37);
    EXPECT_NE(frm->Model->Samples().Elem(37), 0.0);
    EXPECT_EQ(frm->Model->Samples().Elem(38), 0.0);

    QTest::mouseClick(frm->SButDrawSamples, Qt::LeftButton);
    ExpectRunning(false);

    // A new run starts again from nothing.
    QTest::mouseClick(frm->SButDrawSamples, Qt::LeftButton);
    EXPECT_EQ(frm->Model->RunCount(), 0);
    EXPECT_EQ(frm->Model->Samples().Elem(37), 0.0);
}

TEST_F(MainWindow, TheFiveHundredthSampleEndsTheRun)
{
    frm->show();
    frm->SButDrawSamplesClick(frm->SButDrawSamples);
    for (int i = 0; i < 500; ++i)
        frm->Timer1Timer(nullptr);
    EXPECT_EQ(frm->Model->RunCount(), 500);
    ExpectRunning(false);
    EXPECT_NE(frm->Model->Samples().Elem(500), 0.0);
}

TEST_F(MainWindow, TheTimerDrivesTheRun)
{
    frm->show();
    frm->SButDrawSamplesClick(frm->SButDrawSamples);
    EXPECT_TRUE(QTest::qWaitFor([&] { return frm->Model->RunCount() >= 3; }, 60000));
    EXPECT_TRUE(frm->Model->Running());
    frm->SButDrawSamplesClick(frm->SButDrawSamples);
}

TEST_F(MainWindow, SamplesOfARunUseTheParametersAtItsStart)
{
    frm->show();
    QTest::mouseClick(frm->RGDistri->Button(0), Qt::LeftButton, {}, QPoint(6, frm->RGDistri->Button(0)->height() / 2));
    frm->SBarLoc->setValue(80);
    frm->SBarWid->setValue(1);
    frm->SButDrawSamplesClick(frm->SButDrawSamples);
    for (int i = 0; i < 20; ++i)
        frm->Timer1Timer(nullptr);
    for (int i = 1; i <= 20; ++i)
        EXPECT_NEAR(frm->Model->Samples().Elem(i), 8.0, 0.06) << i;
}

TEST_F(MainWindow, ExitClosesTheWindow)
{
    frm->show();
    ASSERT_TRUE(frm->isVisible());
    QTest::mouseClick(frm->SButExit, Qt::LeftButton);
    EXPECT_FALSE(frm->isVisible());
}

TEST_F(MainWindow, NumericLabelsFollowTheScrollBars)
{
    frm->show();
    EXPECT_EQ(frm->NLabLoc->ValueText(), "0.00");
    EXPECT_EQ(frm->NLabWid->ValueText(), "1.00");
    // Scroll bar, its new position, the label beside it and its text.
    const std::tuple<QScrollBar *, int, TDigrel *, const char *> steps[] = {
        {frm->SBarLoc, -100, frm->NLabLoc, "-10.00"}, {frm->SBarLoc, 100, frm->NLabLoc, "10.00"},
        {frm->SBarLoc, 3, frm->NLabLoc, "0.30"},      {frm->SBarWid, 1, frm->NLabWid, "0.01"},
        {frm->SBarWid, 500, frm->NLabWid, "5.00"},    {frm->SBarWid, 123, frm->NLabWid, "1.23"},
    };
    for (const auto &[bar, position, label, text] : steps) {
        bar->setValue(position);
        EXPECT_EQ(label->ValueText(), text) << position;
    }
    EXPECT_EQ(frm->NLabLoc->geometry(), QRect(376, 8, 129, 25));
    EXPECT_EQ(frm->NLabWid->geometry(), QRect(512, 8, 129, 25));
}

TEST_F(MainWindow, ToolPanelHasItsSilverToWhiteGradient)
{
    frm->show();
    EXPECT_EQ(frm->Hueband1->geometry(), frm->Panel1->rect());
    const QImage img = frm->grab().toImage();
    // A column free of controls, between the distribution box and the labels.
    for (int y : {0, 2, 4})
        EXPECT_EQ(img.pixel(368, y) & 0xFFFFFF, 0xC0C0C0u) << y;
    for (int y : {68, 70, 72})
        EXPECT_EQ(img.pixel(368, y) & 0xFFFFFF, 0xFBFBFBu) << y;
    EXPECT_GT(img.pixel(368, 40) & 0xFF, 0xC0u);
}

namespace {

// A table for the test program (beside it, or `folder` relative to its
// folder), written for one test and removed after it; none for null contents.
class TableBesideProgram
{
public:
    explicit TableBesideProgram(const QByteArray &contents, const QString &folder = QStringLiteral("."))
        : m_path(QCoreApplication::applicationDirPath() + '/' + folder + '/' +
                 QFileInfo(QCoreApplication::applicationFilePath()).fileName() + ".itl")
    {
        if (contents.isNull() || !QDir().mkpath(QFileInfo(m_path).absolutePath()))
            return;
        QFile f(m_path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contents);
    }
    ~TableBesideProgram() { QFile::remove(m_path); }

private:
    QString m_path;
};

QByteArray ProgramTable(const QString &relative)
{
    QFile f(qEnvironmentVariable("CAUCHY_SOURCE_DIR") + QStringLiteral("/app/tables/") + relative);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
    return f.readAll();
}

} // namespace

TEST(MainWindowTranslation, WithoutATableKeysShowWithoutTheirPrefix)
{
    QFile::remove(QCoreApplication::applicationFilePath() + QStringLiteral(".itl"));
    TFrmMain frm;
    EXPECT_EQ(frm.SButShowDistri->text(), "Show Distribution");
    EXPECT_EQ(frm.SButDrawSamples->text(), "Calculate Means");
    EXPECT_EQ(frm.SButAbout->text(), "About");
    EXPECT_EQ(frm.SButExit->text(), "Exit");
    EXPECT_EQ(frm.RGDistri->title(), "Select a Distribution");
    EXPECT_EQ(frm.RGDistri->Items(), QStringList({"Normal Distribution", "Cauchy Distribution"}));
    EXPECT_EQ(frm.Memo1->Lines(), QStringList({"Description"}));
    EXPECT_EQ(frm.NLabLoc->LeftText(), "Location");
    EXPECT_EQ(frm.NLabWid->LeftText(), "Width");
    EXPECT_EQ(frm.Translated("AppIconName"), "AppIconName");
    frm.show();
    EXPECT_TRUE(frm.windowIcon().isNull());
}

TEST(MainWindowTranslation, TheProgramTablesTranslateTheWindow)
{
    struct Case
    {
        const char *table;
        const char *showDistri;
        const char *stop;
        const char *normal;
    } cases[] = {
        {"cauchy.itl", "Show Distribution", "Stop", "Normal Distribution"},
        {"translations/cauchy.itl", nullptr, nullptr, nullptr},
    };
    for (const Case &c : cases) {
        TableBesideProgram table(ProgramTable(c.table));
        TFrmMain frm;
        EXPECT_FALSE(frm.SButShowDistri->text().startsWith("LW_")) << c.table;
        EXPECT_FALSE(frm.RGDistri->Items().join("").contains("LW_")) << c.table;
        EXPECT_FALSE(frm.Memo1->Lines().join("").contains("LW_")) << c.table;
        EXPECT_NE(frm.Memo1->Lines(), QStringList({"Description"})) << c.table;
        frm.show();
        QCoreApplication::processEvents();
        EXPECT_EQ(frm.Memo1->verticalScrollBar()->maximum(), 0) << c.table; // the description fits
        frm.SButDrawSamplesClick(frm.SButDrawSamples);
        const QString stop = frm.SButDrawSamples->text();
        frm.SButDrawSamplesClick(frm.SButDrawSamples);
        if (c.showDistri) {
            EXPECT_EQ(frm.SButShowDistri->text(), c.showDistri);
            EXPECT_EQ(stop, c.stop);
            EXPECT_EQ(frm.RGDistri->Items().value(0), c.normal);
        } else {
            // The German table: different texts from the English ones.
            EXPECT_NE(frm.SButShowDistri->text(), "Show Distribution");
            EXPECT_NE(stop, "Stop");
            EXPECT_EQ(frm.Translated("$dlglanguage$").toLower(), "lggerman");
        }
        EXPECT_EQ(frm.SButDrawSamples->text(), frm.Translated("Calculate Means"));
    }
}

TEST(MainWindowTranslation, TheTableNamesTheIconInTheWorkArea)
{
    const QString dir = QFileInfo(QCoreApplication::applicationFilePath()).absolutePath();
    const QString icon = dir + QStringLiteral("/test_app_icon.png");
    {
        QImage img(16, 16, QImage::Format_RGB32);
        img.fill(Qt::red);
        ASSERT_TRUE(img.save(icon));
        QFile text(dir + QStringLiteral("/test_app_not_an_image.png"));
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("not a picture");
    }
    // The icon named (a path is no file name), whether it is loaded.
    const std::pair<const char *, bool> cases[] = {{"test_app_icon.png", true},
                                                   {"missing_icon.png", false},
                                                   {"../tests/test_app_icon.png", false},
                                                   {"test_app_not_an_image.png", false}};
    for (const auto &[name, loaded] : cases) {
        TableBesideProgram table(QByteArray("[AppIconName]=") + name + "|$$");
        QApplication::setWindowIcon(QIcon());
        TFrmMain frm;
        frm.show();
        EXPECT_EQ(!frm.windowIcon().isNull(), loaded) << name;
        EXPECT_EQ(!QApplication::windowIcon().isNull(), loaded) << name;
    }
    QApplication::setWindowIcon(QIcon());
    QFile::remove(icon);
    QFile::remove(dir + QStringLiteral("/test_app_not_an_image.png"));
}

TEST(MainWindowTranslation, ALanguagePicksAShippedTableAndAnInstalledProgramFindsItsTable)
{
    // The text in the table beside the program, in the German one, in the one under share/ (none: no such
    // table), the language asked for, the text shown.
    using Case = std::array<const char *, 5>;
    const Case cases[] = {
        {"Beside", "Verteilung zeigen", nullptr, "de", "Verteilung zeigen"},
        {"Beside", "Verteilung zeigen", "Shared", "", "Beside"},
        {nullptr, nullptr, "Shared", "", "Shared"},
        {nullptr, "Verteilung zeigen", "Shared", "de", "Verteilung zeigen"},
        {"Beside", nullptr, nullptr, "de", "Beside"}, // no such table: the default stays
    };
    auto table = [](const char *text) {
        return text ? "[Show Distribution]=" + QByteArray(text) + "|$$" : QByteArray();
    };
    for (const auto &[beside, german, shared, language, expected] : cases) {
        SCOPED_TRACE(expected);
        const TableBesideProgram b(table(beside)), g(table(german), QStringLiteral("translations/de")),
            s(table(shared), QStringLiteral("../share/cauchy"));
        TFrmMain frm(nullptr, true, QLatin1String(language));
        EXPECT_EQ(frm.SButShowDistri->text(), expected);
    }
}

TEST_F(MainWindow, ScrollBarsTakeTheKeyboardInTheirTabOrderAndPageByTen)
{
    frm->show();
    QApplication::setActiveWindow(frm.get());
    frm->RGDistri->setFocus(Qt::TabFocusReason);
    // Key, then the widget with the focus.
    for (const auto &[key, focus] : {std::pair<Qt::Key, QWidget *> {Qt::Key_Tab, frm->SBarLoc},
                                     {Qt::Key_Right, frm->SBarLoc},
                                     {Qt::Key_Tab, frm->SBarWid},
                                     {Qt::Key_Left, frm->SBarWid}}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_EQ(QApplication::focusWidget(), focus) << key;
    }
    EXPECT_EQ(frm->SBarLoc->value(), 1);
    EXPECT_EQ(frm->SBarWid->value(), 99);
    // A click in the trough, right of the thumb, moves one page.
    QTest::mouseClick(frm->SBarWid, Qt::LeftButton, {}, QPoint(frm->SBarWid->width() - 24, 10));
    EXPECT_EQ(frm->SBarWid->value(), 109);
}

TEST_F(MainWindow, PressingTheDescriptionAndMovingDragsItsText)
{
    frm->show();
    QStringList dragged;
    frm->StartDrag = [&](QMimeData *data) {
        dragged << data->text();
        delete data;
    };
    QWidget *memo = frm->Memo1->viewport();
    const QPoint from(20, 20);
    QTest::mousePress(memo, Qt::LeftButton, {}, from);
    QTest::mouseMove(memo, from + QPoint(1, 0)); // not yet far enough
    EXPECT_TRUE(dragged.isEmpty());
    QTest::mouseMove(memo, from + QPoint(QApplication::startDragDistance() + 2, 0));
    QTest::mouseRelease(memo, Qt::LeftButton, {}, from + QPoint(30, 0));
    EXPECT_EQ(dragged, QStringList {frm->Memo1->toPlainText()});
}
