// The two views on the real main window, driven as a user would.
#include "Kesl_kurvo.h"
#include "Kesl_math1.h"
#include "Kesl_vector.h"
#include "MessageBox.h"
#include "RadioGroup.h"
#include "mainfrm.h"
#include "qt_printers.h"

#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

class Views : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_old = SetMessageBoxHandler([this](TMsgDlgType, const QString &, const QString &text) { messages << text; });
        frm = std::make_unique<TFrmMain>();
        frm->Model->Generator().SetSeed(20261207);
        frm->show();
    }
    void TearDown() override
    {
        frm.reset();
        SetMessageBoxHandler(m_old);
    }

    void Pick(int item)
    {
        QRadioButton *b = frm->RGDistri->Button(item);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }

    struct Bars
    {
        int count = 0;
        double tallest = 0;
        double area = 0; // sum of heights times the bin width
    };
    Bars HistogramBars() const
    {
        Bars b;
        for (int i = 0; i < frm->RC->ItemCount(); ++i) {
            const TChartItem &it = frm->RC->Item(i);
            EXPECT_EQ(it.Kind, ikLine);
            EXPECT_EQ(it.Color, 0x808080);
            EXPECT_EQ(it.LineWidth, 4);
            EXPECT_EQ(it.X1, it.X2);
            EXPECT_EQ(it.Y1, 0.0);
            ++b.count;
            b.tallest = std::max(b.tallest, it.Y2);
            b.area += it.Y2 * 0.1;
        }
        return b;
    }

    int CountMarks(std::uint8_t shape, TColor color) const
    {
        int n = 0;
        for (int i = 0; i < frm->RC->ItemCount(); ++i)
            n += frm->RC->Item(i).Kind == ikMark && frm->RC->Item(i).Style == shape && frm->RC->Item(i).Color == color;
        return n;
    }

    std::unique_ptr<TFrmMain> frm;
    QStringList messages;

private:
    TMessageBoxHandler m_old;
};

} // namespace

TEST_F(Views, StartUpEndsWithTheHistogramAndItsRangeEndsAtTheTallestBar)
{
    const Bars b = HistogramBars();
    EXPECT_EQ(b.count, 400);
    EXPECT_DOUBLE_EQ(frm->RC->Item(0).X1, -19.9);
    EXPECT_DOUBLE_EQ(frm->RC->Item(399).X1, 20.0);
    EXPECT_DOUBLE_EQ(frm->RC->ScaleY(1)->RangeHigh(), b.tallest);
    EXPECT_DOUBLE_EQ(frm->RC->ScaleY(1)->RangeLow(), 0.0);
    EXPECT_DOUBLE_EQ(frm->RC->ScaleX(1)->RangeLow(), -20.0);
    EXPECT_DOUBLE_EQ(frm->RC->ScaleX(16)->RangeHigh(), 20.0);
    EXPECT_EQ(frm->RC->Scale1X()->Caption(), "x");
    EXPECT_EQ(frm->RC->Scale1Y()->Caption(), "probability");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Views, HistogramShapesFollowTheDistributionAndItsParameters)
{
    struct Case
    {
        int item, location, width;
        double tallest, tolerance, beyond; // share of samples outside [-20, 20)
    } cases[] = {
        {0, 0, 100, 0.3989, 0.015, 0.0},
        {1, 0, 100, 1 / M_PI, 0.015, 0.0317},
        {1, 100, 500, 1 / (5 * M_PI), 0.01, 0.2002},
    };
    for (const Case &c : cases) {
        Pick(c.item);
        frm->SBarLoc->setValue(c.location);
        frm->SBarWid->setValue(c.width);
        const Bars b = HistogramBars();
        EXPECT_EQ(b.count, 400);
        EXPECT_NEAR(b.tallest, c.tallest, c.tolerance) << c.item << " " << c.location;
        EXPECT_DOUBLE_EQ(frm->RC->ScaleY(1)->RangeHigh(), b.tallest);
        // Bars are divided by all N samples, so they are lower by the share not drawn.
        EXPECT_NEAR(1.0 - b.area, c.beyond, 0.006) << c.item << " " << c.location;
    }
}

TEST_F(Views, ParameterChangesRedrawOnlyTheHistogramView)
{
    const double before = frm->RC->Item(200).Y2;
    frm->SBarWid->setValue(50);
    EXPECT_NE(frm->RC->Item(200).Y2, before);

    QTest::mouseClick(frm->SButDrawSamples, Qt::LeftButton);
    for (int i = 0; i < 5; ++i)
        frm->Timer1Timer(nullptr);
    QTest::mouseClick(frm->SButDrawSamples, Qt::LeftButton);
    ASSERT_EQ(frm->RC->ItemCount(), 10);
    frm->SBarLoc->setValue(30);
    frm->SBarWid->setValue(200);
    Pick(0);
    EXPECT_EQ(frm->RC->ItemCount(), 10);

    QTest::mouseClick(frm->SButShowDistri, Qt::LeftButton);
    EXPECT_EQ(frm->RC->ItemCount(), 400);
}

TEST_F(Views, AFullRunShowsFiveHundredSamplesAndMeans)
{
    QTest::mouseClick(frm->SButDrawSamples, Qt::LeftButton);
    EXPECT_EQ(frm->SButDrawSamples->text(), "Stop");
    EXPECT_FALSE(frm->SBarWid->isEnabled());
    EXPECT_EQ(frm->RC->ItemCount(), 0);
    for (int i = 0; i < 500; ++i)
        frm->Timer1Timer(nullptr);
    EXPECT_FALSE(frm->Model->Running());
    EXPECT_EQ(frm->SButDrawSamples->text(), "Calculate Means");
    for (QWidget *w : std::initializer_list<QWidget *> {frm->SButShowDistri, frm->RGDistri, frm->SBarLoc, frm->SBarWid})
        EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(frm->RC->ItemCount(), 1000);
    EXPECT_EQ(CountMarks(7, 0xFF0000), 500);
    EXPECT_EQ(CountMarks(1, 0x808080) + CountMarks(36, 0x0000FF) + CountMarks(34, 0x0000FF), 500);
    EXPECT_DOUBLE_EQ(frm->RC->ScaleX(1)->RangeLow(), 0.0);
    EXPECT_DOUBLE_EQ(frm->RC->ScaleX(1)->RangeHigh(), 500.0);
    EXPECT_EQ(frm->RC->Scale1X()->Caption(), "number of random numbers n");
}

TEST_F(Views, StoppingKeepsThePairsDrawnSoFar)
{
    QTest::mouseClick(frm->SButDrawSamples, Qt::LeftButton);
    for (int i = 0; i < 37; ++i)
        frm->Timer1Timer(nullptr);
    QTest::mouseClick(frm->SButDrawSamples, Qt::LeftButton);
    EXPECT_EQ(frm->RC->ItemCount(), 74);
    QTest::mouseClick(frm->SButDrawSamples, Qt::LeftButton);
    EXPECT_EQ(frm->RC->ItemCount(), 0);
    frm->Timer1Timer(nullptr);
    EXPECT_EQ(frm->RC->ItemCount(), 2);
    // The first mean equals the first sample.
    const TChartItem &sample = frm->RC->Item(0);
    const TChartItem &mean = frm->RC->Item(1);
    EXPECT_EQ(mean.X1, 1.0);
    if (sample.Style == 1) {
        EXPECT_EQ(mean.Y1, sample.Y1);
    }
    frm->SButDrawSamplesClick(frm->SButDrawSamples);
}

TEST_F(Views, ASampleBeyondTheLimitIsARedMarkerAndTheMeanWidensTheRange)
{
    frm->SButDrawSamplesClick(frm->SButDrawSamples);
    frm->Model->RunTimer()->stop();
    frm->Model->Step();
    frm->Model->Samples().SetElem(1, 1000.0);
    frm->DrawView();
    ASSERT_EQ(frm->RC->ItemCount(), 2);
    EXPECT_EQ(frm->RC->Item(0).Style, 36);
    EXPECT_EQ(frm->RC->Item(0).Color, 0x0000FF);
    EXPECT_EQ(frm->RC->Item(0).Y1, 10.0);
    EXPECT_EQ(frm->RC->Item(1).Y1, 1000.0);
    EXPECT_DOUBLE_EQ(frm->RC->ScaleY(1)->RangeLow(), -1001.0);
    EXPECT_DOUBLE_EQ(frm->RC->ScaleY(1)->RangeHigh(), 1001.0);

    frm->Model->Step();
    frm->Model->Samples().SetElem(2, 0.0);
    frm->DrawView();
    ASSERT_EQ(frm->RC->ItemCount(), 4);
    EXPECT_EQ(frm->RC->Item(0).Style, 36); // still the edge marker at 10
    EXPECT_EQ(frm->RC->Item(0).Y1, 10.0);
    EXPECT_EQ(frm->RC->Item(2).Style, 1);
    EXPECT_EQ(frm->RC->Item(3).Y1, 500.0);
    EXPECT_EQ(frm->RC->Item(3).Color, 0xFF0000);

    // Within the limit the range stays at -11 .. 11; a sample equal to the limit is grey.
    frm->Model->Samples().SetElem(1, -10.0);
    frm->Model->Samples().SetElem(2, 10.0);
    frm->DrawView();
    EXPECT_EQ(frm->RC->Item(0).Style, 1);
    EXPECT_EQ(frm->RC->Item(2).Style, 1);
    EXPECT_DOUBLE_EQ(frm->RC->ScaleY(1)->RangeLow(), -11.0);
    EXPECT_DOUBLE_EQ(frm->RC->ScaleY(1)->RangeHigh(), 11.0);
    frm->SButDrawSamplesClick(nullptr);
}

TEST_F(Views, TheChartFillsTheAreaBetweenPanelAndDescription)
{
    EXPECT_EQ(frm->RC->geometry(), frm->ChartArea());
    frm->resize(900, 500);
    EXPECT_EQ(frm->RC->geometry(), QRect(0, 73, 900, 500 - 73 - 88));
}
