// The chart's notes and legend cover no bar and no curve, in every view, language and size.
#include "Kesl_kurvo.h"
#include "Kesl_math1.h"
#include "Lingwa2000.h"
#include "MainChartDesign.h"
#include "Simulation.h"
#include "SimulationChart.h"

#include <QFile>
#include <QPainter>
#include <gtest/gtest.h>

// Pixels in one label's box not blank without the labels, in two boxes, or outside all changed by them.
static int WrongPixels(TKurvo &rc)
{
    QImage bare(rc.size(), QImage::Format_RGB32), labelled(rc.size(), QImage::Format_RGB32);
    std::vector<std::pair<int, QRect>> shown; // label and box
    for (int i = 1; i <= TKurvo::kTextLabels; ++i)
        if (rc.TextLabel(i)->Visible())
            shown.emplace_back(i, LabelBox(rc, i)), rc.TextLabel(i)->SetVisible(false);
    const auto render = [&rc](QImage &image) {
        QPainter painter(&image);
        rc.Render(painter, QRectF(QPointF(), QSizeF(rc.size())));
    };
    render(bare);
    for (const auto &label : shown)
        rc.TextLabel(label.first)->SetVisible(true);
    render(labelled);
    int wrong = 0;
    for (int y = 0; y < bare.height(); ++y)
        for (int x = 0; x < bare.width(); ++x) {
            const auto in = std::count_if(shown.begin(), shown.end(), [&](auto &l) { return l.second.contains(x, y); });
            wrong += in == 0 ? bare.pixel(x, y) != labelled.pixel(x, y) : in > 1 || bare.pixel(x, y) != 0xFFFFFFFF;
        }
    return wrong;
}

TEST(Notes, CoverNoBarOrCurve)
{
    TLingwa2000 german;
    QFile table(qEnvironmentVariable("CAUCHY_SOURCE_DIR") + "/app/tables/translations/cauchy.itl");
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    german.LoadTable(table);
    const TTextLookup languages[] = {{},
                                     [&](const QString &k, const QStringList &a) { return german.LookupText(k, a); }};
    TRandomGenerator generator; // its state from the start, not from the clock
    TSimulation model(generator);
    TKurvo rc;
    ApplyMainChartDesign(rc);
    model.ShowHistogram();
    const TTeachingExtras extras[] = {{.ShareOutside = true}, {.CompareOther = true}, {true, true, false, true, true}};
    for (const auto &[distribution, location, width] :
         {std::tuple {0, 0, 100}, {1, 0, 100}, {0, 100, 500}, {1, 100, 500}})
        for (const int n : {0, 1, 2, 10, 100})
            for (TTeachingExtras e : extras)
                for (int language = 0; language < 2; ++language) {
                    model.SetDistribution(TDistribution(distribution));
                    model.SetLocationPosition(location), model.SetWidthPosition(width);
                    e.MeanOf = n;
                    model.SetExtras(e);
                    DrawSimulation(rc, model, languages[language]); // at the last size, then placed again
                    for (const QSize size : {QSize(752, 223), QSize(752, 200)}) {
                        rc.SetBounds(0, 0, size.width(), size.height()), PlaceCornerNote(rc);
                        EXPECT_EQ(WrongPixels(rc), 0) << distribution << ' ' << location << ' ' << width << " n " << n
                                                      << ' ' << language << ' ' << size.width() << 'x' << size.height();
                    }
                }
}
