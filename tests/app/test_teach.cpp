// Theory beside the samples on the main window's chart, its menu and switches.
#include "ChartPrint.h"
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
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <numbers>

class Teach : public ::testing::Test
{
protected:
    void SetUp() override { frm.Model->Generator().SetSeed(20261208), frm.show(); }
    std::vector<TChartItem> Items(TColor color) const
    {
        std::vector<TChartItem> out;
        for (int i = 0; i < frm.RC->ItemCount(); ++i)
            if (frm.RC->Item(i).Color == color)
                out.push_back(frm.RC->Item(i));
        return out;
    }
    QPoint CurvePeak() const // in pixels
    {
        const std::vector<TChartItem> c = Items(clRed);
        const auto top = std::max_element(c.begin(), c.end(), [](auto &a, auto &b) { return a.Y1 < b.Y1; });
        return frm.RC->DataToPixel(1, top->X1, top->Y1);
    }
    TFrmMain frm {nullptr, false};
};

TEST_F(Teach, CurveAndShareMeetTheHistogramOfTheSameSamples)
{
    frm.Model->SetExtras({true, true, false});
    // One point per pixel column from -20 to 20, the peak in the row of 1/pi.
    EXPECT_EQ(int(Items(clRed).size()), frm.RC->DataToPixel(1, 20, 0).x() - frm.RC->DataToPixel(1, -20, 0).x() + 1);
    EXPECT_NEAR(CurvePeak().y(), frm.RC->DataToPixel(1, 0, 1 / std::numbers::pi).y(), 1);
    // Counted within three standard errors of the exact share.
    const QString note = frm.RC->TextLabel(1)->Caption();
    EXPECT_TRUE(note.startsWith(QString::fromUtf8("outside \u2212"
                                                  "20 … 20: ")) &&
                note.endsWith("(theory 3.18 %)"));
    EXPECT_NEAR(note.section(": ", 1).section(' ', 0, 0).toDouble(), 3.1805, 0.17);
    frm.SBarLoc->setValue(50); // a scroll step draws the curve anew
    EXPECT_NEAR(CurvePeak().x(), frm.RC->DataToPixel(1, 5, 0).x(), 1);
    frm.Model->SetExtras({});
    EXPECT_TRUE(Items(clRed).empty() && !frm.RC->TextLabel(1)->Visible());
}

TEST_F(Teach, TheLogAxisShowsTheFilledBinsFromOneSampleUp)
{
    frm.Model->SetExtras({true, false, false, true});
    const int n = frm.Model->Samples().NrOfElem();
    std::vector<int> counts(400);
    for (int i = 1; i <= n; ++i)
        if (const double bin = std::floor((frm.Model->Samples().Elem(i) + 20) / 0.1); bin >= 0 && bin < 400)
            ++counts[std::size_t(bin)];
    std::erase(counts, 0);
    const auto [fewest, most] = std::minmax_element(counts.begin(), counts.end());
    const std::vector<TChartItem> bars = Items(0x808080);
    ASSERT_EQ(bars.size(), counts.size());
    const auto [lowest, tallest] =
        std::minmax_element(bars.begin(), bars.end(), [](auto &a, auto &b) { return a.Y2 < b.Y2; });
    EXPECT_DOUBLE_EQ(tallest->Y2, *most / (n * 0.1));
    EXPECT_DOUBLE_EQ(lowest->Y2, *fewest / (n * 0.1));
    // One sample in a bin stands above the axis' lower end, on which every bar and the curve's tails rest.
    EXPECT_TRUE(frm.RC->Scale1Y()->Logarithmic());
    EXPECT_DOUBLE_EQ(frm.RC->Scale1Y()->RangeLow(), 0.5 / (n * 0.1));
    EXPECT_TRUE(std::all_of(bars.begin(), bars.end(), [&](auto &b) { return b.Y1 == frm.RC->Scale1Y()->RangeLow(); }));
    const std::vector<TChartItem> curve = Items(clRed);
    EXPECT_TRUE(!curve.empty() && std::all_of(curve.begin(), curve.end(), [&](auto &c) {
        return c.Y1 >= frm.RC->Scale1Y()->RangeLow();
    }));
    frm.Model->SetExtras({});
    EXPECT_FALSE(frm.RC->Scale1Y()->Logarithmic());
    EXPECT_EQ(Items(0x808080).size(), 400u);
}

TEST_F(Teach, MeansOfNormalSamplesNarrowAndMeansOfCauchySamplesDoNot)
{
    const auto means = [&](int distribution, int n) {
        frm.Model->SetDistribution(TDistribution(distribution));
        frm.Model->SetExtras({.MeanOf = n});
        const std::vector<double> m = frm.Model->ShownValues();
        EXPECT_EQ(m.size(), 10000u);
        return m;
    };
    // The spread of 10000 means estimated within five of its standard errors.
    const std::vector<double> normal = means(0, 100);
    double sum = 0, squares = 0;
    for (const double m : normal)
        sum += m, squares += m * m;
    EXPECT_NEAR(std::sqrt(squares / 1e4 - sum * sum / 1e8), 0.1, 0.004);
    EXPECT_TRUE(frm.RC->accessibleDescription().contains("; 0.0 % outside"))
        << frm.RC->accessibleDescription().toStdString();
    // The exact share beyond -20 ... 20 is 3.18 % for every n; counted within
    // five standard errors (0.18 %) of it.
    for (const int n : {1, 100}) {
        const std::vector<double> cauchy = means(1, n);
        const auto outside = std::count_if(cauchy.begin(), cauchy.end(), [](double m) { return std::fabs(m) > 20; });
        EXPECT_NEAR(outside / 1e4, 0.0318, 0.009) << n;
        EXPECT_TRUE(frm.RC->TextLabel(1)->Caption().startsWith(
            (n == 1 ? QString("means of 1 sample") : QString("means of %1 samples").arg(n)) + ", outside \u221220"));
    }
    EXPECT_FALSE(Items(clRed).empty()); // the mean's density, without asking for the curve
}

TEST_F(Teach, TheOtherDistributionIsDrawnWholeAndNamedInTheLegend)
{
    const auto peak = [&](TColor color) {
        const std::vector<TChartItem> c = Items(color);
        return std::max_element(c.begin(), c.end(), [](auto &a, auto &b) { return a.Y1 < b.Y1; })->Y1;
    };
    frm.Model->SetExtras({.CompareOther = true});
    EXPECT_EQ(Items(clBlue).size(), Items(clRed).size());
    EXPECT_NEAR(peak(clBlue), 1 / std::sqrt(2 * std::numbers::pi), 1e-3); // the normal's, above the Cauchy's
    EXPECT_GE(frm.RC->Scale1Y()->RangeHigh(), peak(clBlue));
    EXPECT_EQ(frm.RC->TextLabel(2)->Caption(), "red: Cauchy density, blue: normal density");
    // Means of 100 normal samples beside the Cauchy, which is the same for every n.
    frm.Model->SetDistribution(TDistribution::Normal);
    frm.Model->SetExtras({.CompareOther = true, .MeanOf = 100});
    EXPECT_NEAR(peak(clBlue), 1 / std::numbers::pi, 1e-3);
    EXPECT_NEAR(peak(clRed), 10 / std::sqrt(2 * std::numbers::pi), 1e-2);
    frm.Model->SetExtras({});
    EXPECT_TRUE(Items(clBlue).empty() && !frm.RC->TextLabel(2)->Visible());
}

TEST_F(Teach, TheRunningMedianOfNormalSamplesSettlesAtTheLocation)
{
    frm.Model->SetDistribution(TDistribution::Normal);
    frm.SBarLoc->setValue(30);
    frm.Model->StartRun();
    while (frm.Model->Running())
        frm.Model->Step();
    frm.Model->SetExtras({false, false, true});
    ASSERT_EQ(Items(0x008000).size(), 500u);
    EXPECT_NEAR(Items(0x008000).back().Y1, 3.0, 0.2);
    EXPECT_TRUE(frm.RC->Scale1Y()->Caption().contains("median (green)"));
}

TEST_F(Teach, TheChartMenuSpeaksTheTablesLanguageSwitchesAndCopies)
{
    QFile table(qEnvironmentVariable("CAUCHY_SOURCE_DIR") + "/app/tables/translations/cauchy.itl");
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    frm.cliDemon->Lingwa().LoadTable(table);
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(9, 9), frm.RC->mapToGlobal(QPoint(9, 9)));
    QCoreApplication::sendEvent(frm.RC, &click);
    const auto *menu = frm.RC->findChild<QMenu *>("ChartMenu");
    ASSERT_NE(menu, nullptr);
    QAction *outside = menu->findChild<QAction *>("ActShareOutside");
    EXPECT_EQ(outside->text(), QString::fromUtf8("Anteil außerhalb des Fensters"));
    outside->trigger();
    EXPECT_TRUE(frm.RC->TextLabel(1)->Caption().startsWith(QString::fromUtf8("außerhalb \u2212"
                                                                             "20 … 20: ")));
    menu->findChild<QAction *>("ActCompare")->trigger();
    EXPECT_EQ(frm.RC->TextLabel(2)->Caption(),
              QString::fromUtf8("rot: Cauchy-Dichte, blau: Dichte der Normalverteilung"));
    menu->findChild<QAction *>("ActMeanOf10")->trigger();
    EXPECT_TRUE(frm.RC->TextLabel(1)->Caption().startsWith(QString::fromUtf8("Mittelwerte von 10 Zufallszahlen")));
    EXPECT_TRUE(menu->findChild<QAction *>("ActPrint")->text().startsWith(QString::fromUtf8("Drucken…\t")));
    menu->findChild<QAction *>("ActCopyPicture2")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), frm.RC->size() * 2);
}

TEST_F(Teach, PrintingPutsTheChartAndWhatItShowsOnOnePage)
{
    frm.SBarLoc->setValue(15);
    frm.Model->Generator().SetSeed(77);
    frm.ShowDistri();
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("no/p.pdf"));
    EXPECT_EQ(PrintChart(frm, &printer), "The chart could not be printed.");
    printer.setOutputFileName(dir.filePath("p.pdf"));
    ASSERT_EQ(PrintChart(frm, &printer), QString());
    const auto run = [](const char *tool, const QStringList &args) {
        QProcess p;
        p.start(QStandardPaths::findExecutable(QString::fromLatin1(tool)), args);
        return p.waitForFinished() ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
    };
    const QString info = run("pdfinfo", {dir.filePath("p.pdf")});
    if (info.isEmpty())
        GTEST_SKIP() << "poppler-utils not installed";
    EXPECT_TRUE(info.simplified().contains("Pages: 1 ")) << info.toStdString();
    const QString text = run("pdftotext", {dir.filePath("p.pdf"), "-"}).simplified();
    EXPECT_TRUE(text.contains("Cauchy Distribution Cauchy Distribution, location 1.50, width 1.00, " +
                              QString::number(frm.Model->ShownCount()) + " samples, seed 77"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("probability") && text.contains("-20.0")) << text.toStdString(); // the chart as text
}

TEST(TeachSwitches, SwitchOnTheExtrasAndTakeNoValue)
{
    EXPECT_EQ(ParseCommandLine({"cauchy", "--theory", "--outside"}).Options.Extras, (TTeachingExtras {true, true}));
    EXPECT_TRUE(ParseCommandLine({"cauchy", "--view", "means", "--median"}).Options.Extras.RunningMedian);
    EXPECT_TRUE(ParseCommandLine({"cauchy", "--outside"}).Options.Extras.ShareOutside);
    EXPECT_TRUE(ParseCommandLine({"cauchy", "--log-y", "--compare"}).Options.Extras.LogY);
    EXPECT_TRUE(ParseCommandLine({"cauchy", "--compare"}).Options.Extras.CompareOther);
    EXPECT_EQ(ParseCommandLine({"cauchy", "--view", "mean-of-n", "--n", "100"}).Options.MeanOf, 100);
    for (const QStringList &bad : {QStringList {"--n", "2"}, {"--view", "mean-of-n"}, {"--view=mean-of-n", "--n=101"}})
        EXPECT_FALSE(ParseCommandLine(QStringList {"cauchy"} + bad).Error.isEmpty()) << bad.join(' ').toStdString();
    EXPECT_EQ(ParseCommandLine({"cauchy", "--theory=yes"}).Error, "--theory takes no value");
}
