// Theory beside the samples: the density curve, the share outside the
// histogram, the running median, the chart's context menu and their switches.
#include "ChartMenu.h"
#include "CommandLine.h"
#include "Kesl_kurvo.h"
#include "Kesl_math1.h"
#include "Kesl_vector.h"
#include "Lingwa2000.h"
#include "QuarvisDemon.h"
#include "RadioGroup.h"
#include "mainfrm.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <numbers>

namespace {

class Teach : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GeneratorSeed = 20261208;
        frm.show();
    }
    // Chart items of one colour, in drawing order.
    std::vector<TChartItem> Items(TColor color) const
    {
        std::vector<TChartItem> out;
        for (int i = 0; i < frm.RC->ItemCount(); ++i)
            if (frm.RC->Item(i).Color == color)
                out.push_back(frm.RC->Item(i));
        return out;
    }
    // The highest point of the red curve, in pixels.
    QPoint CurvePeak() const
    {
        QPoint peak(0, 1 << 30);
        for (const TChartItem &it : Items(clRed))
            if (const QPoint p = frm.RC->DataToPixel(1, it.X1, it.Y1); p.y() < peak.y())
                peak = p;
        return peak;
    }
    TFrmMain frm {nullptr, false};
};

TEST_F(Teach, CurveAndShareMeetTheHistogramOfTheSameSamples)
{
    const std::vector<TChartItem> before = Items(0x808080);
    frm.SetExtras({true, true, false});
    std::vector<TChartItem> bars = Items(0x808080);
    ASSERT_EQ(bars.size(), 400u);
    for (std::size_t i = 0; i < bars.size(); ++i)
        ASSERT_EQ(bars[i].Y2, before[i].Y2); // the same samples, counted again
    const double tallest = std::max_element(bars.begin(), bars.end(), [](auto &a, auto &b) { return a.Y2 < b.Y2; })->Y2;
    EXPECT_NEAR(tallest, 1 / std::numbers::pi, 0.05 / std::numbers::pi);
    // One point per pixel column from -20 to 20; the peak row is that of 1/pi.
    const int columns = frm.RC->DataToPixel(1, 20, 0).x() - frm.RC->DataToPixel(1, -20, 0).x() + 1;
    EXPECT_EQ(int(Items(clRed).size()), columns);
    EXPECT_NEAR(CurvePeak().y(), frm.RC->DataToPixel(1, 0, 1 / std::numbers::pi).y(), 1);
    EXPECT_EQ(frm.RC->DataColor(), 0x808080);
    EXPECT_EQ(frm.RC->LineWidth(), 4);

    // Counted within three standard errors of the exact share.
    const TTextLabel *note = frm.RC->TextLabel(1);
    ASSERT_TRUE(note->Visible());
    const QRegularExpressionMatch m =
        QRegularExpression(QString::fromUtf8("^outside \u2212"
                                             "20 … 20: (\\d+\\.\\d\\d) % \\(theory 3\\.18 %\\)$"))
            .match(note->Caption());
    ASSERT_TRUE(m.hasMatch()) << note->Caption().toStdString();
    EXPECT_NEAR(m.captured(1).toDouble(), 3.1805, 0.17);

    // A scroll-bar step draws the curve anew at the new location.
    frm.SBarLoc->setValue(50);
    EXPECT_NEAR(CurvePeak().x(), frm.RC->DataToPixel(1, 5, 0).x(), 1);
    frm.SetExtras({});
    EXPECT_TRUE(Items(clRed).empty());
    EXPECT_FALSE(note->Visible());
}

TEST_F(Teach, RunningMedianOfNormalSamplesSettlesAtTheLocation)
{
    frm.RGDistri->SetItemIndex(0);
    frm.SBarLoc->setValue(30);
    frm.DistriShown = false;
    frm.NrOfSamples = 500;
    for (int i = 1; i <= 500; ++i) {
        double v = 0;
        ASSERT_TRUE(frm.DrawSample(v));
        frm.Vec1->SetElem(i, v);
    }
    frm.SetExtras({false, false, true});
    const std::vector<TChartItem> median = Items(0x008000);
    ASSERT_EQ(median.size(), 500u);
    EXPECT_EQ(median.back().X1, 500);
    EXPECT_NEAR(median.back().Y1, 3.0, 0.2);
    EXPECT_TRUE(frm.RC->Scale1Y()->Caption().contains("median (green)"));
    frm.SetExtras({});
    EXPECT_TRUE(Items(0x008000).empty());
}

TEST_F(Teach, TheChartMenuSwitchesExtrasAndCopiesThePicture)
{
    QFile table(qEnvironmentVariable("CAUCHY_SOURCE_DIR") + "/app/tables/translations/cauchy.itl");
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    frm.cliDemon->Lingwa().LoadTable(table);
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(100, 50), frm.RC->mapToGlobal(QPoint(100, 50)));
    QCoreApplication::sendEvent(frm.RC, &click);
    auto *menu = frm.RC->findChild<QMenu *>("ChartMenu");
    ASSERT_NE(menu, nullptr);
    auto *outside = menu->findChild<QAction *>("ActShareOutside");
    ASSERT_NE(outside, nullptr);
    EXPECT_EQ(outside->text(), QString::fromUtf8("Anteil außerhalb des Fensters"));
    outside->trigger();
    EXPECT_TRUE(frm.Extras.ShareOutside);
    EXPECT_TRUE(frm.RC->TextLabel(1)->Caption().startsWith(QString::fromUtf8("außerhalb \u2212"
                                                                             "20 … 20: ")));
    menu->findChild<QAction *>("ActCopyPicture2")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), frm.RC->size() * 2);
    menu->close();
}

TEST(TeachSwitches, SwitchOnTheExtrasAndTakeNoValue)
{
    const TParseResult r = ParseCommandLine({"cauchy", "--median", "--theory"});
    ASSERT_TRUE(r.Error.isEmpty());
    EXPECT_EQ(r.Options.Extras, (TTeachingExtras {true, false, true}));
    EXPECT_TRUE(ParseCommandLine({"cauchy", "--outside"}).Options.Extras.ShareOutside);
    EXPECT_FALSE(ParseCommandLine({"cauchy", "--theory=yes"}).Error.isEmpty());
    EXPECT_TRUE(HelpText().contains("--outside"));
}

} // namespace
