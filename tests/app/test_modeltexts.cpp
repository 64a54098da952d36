// What the description, the page heading and the samples file say, read from
// the model, for each view in both shipped languages.
#include "Kesl_math1.h"
#include "Lingwa2000.h"
#include "ModelTexts.h"
#include "Simulation.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

TTextLookup TableLookup(TLingwa2000 &table, bool german)
{
    QFile f(qEnvironmentVariable("CAUCHY_SOURCE_DIR") +
            (german ? "/app/tables/translations/cauchy.itl" : "/app/tables/cauchy.itl"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    table.LoadTable(f.readAll());
    return [&table](const QString &key, const QStringList &args) { return table.LookupText(key, args); };
}

struct Case
{
    TDistribution Distribution;
    TTeachingExtras Extras;
    bool Run;
    QStringList English, German; // phrases the description holds
    QString File; // a comment line of the samples file
    QString Title; // the page's first line in English
};

TEST(ModelTexts, EachViewIsDescribedHeadedAndFiledInBothLanguages)
{
    const Case cases[] = {
        {TDistribution::Cauchy,
         {},
         false,
         {"Histogram of 100000 samples of the Cauchy distribution"},
         {"Histogramm von 100000 Zufallszahlen der Cauchy-Verteilung"},
         "view: distribution",
         "Cauchy Distribution"},
        {TDistribution::Normal,
         {.LogY = true, .CompareOther = true, .MeanOf = 10},
         false,
         {"10000 means of 10 samples each of the normal distribution", "peak 1.262", "bars on a logarithmic y axis",
          "blue density curve of the Cauchy distribution"},
         {"10000 Mittelwerten aus je 10 Zufallszahlen der Normalverteilung", "Balken auf logarithmischer y-Achse"},
         "n: 10",
         "Normal Distribution compared with the Cauchy Distribution"},
        {TDistribution::Normal,
         {.MeanOf = 1},
         false,
         {"means of one sample each"},
         {"je einer Zufallszahl"},
         "each row is the mean of 1 sample",
         "Normal Distribution"},
        {TDistribution::Normal,
         {.RunningMedian = true, .CompareOther = true},
         true,
         {"Running means of 500 of 500 samples of the normal distribution", "green median of all: "},
         {"Laufende Mittelwerte von 500", "grüner Median aller: "},
         "view: means",
         "Normal Distribution"},
    };
    for (const bool german : {false, true}) {
        TLingwa2000 table;
        const TTextLookup text = TableLookup(table, german);
        for (const Case &c : cases) {
            TRandomGenerator generator;
            generator.SetSeed(7);
            TSimulation model(generator);
            model.SetDistribution(c.Distribution);
            model.SetExtras(c.Extras);
            if (c.Run) {
                model.StartRun();
                while (model.Running())
                    model.Step();
            } else {
                model.ShowHistogram();
            }
            const QString said = ChartDescription(model, text);
            for (const QString &phrase : german ? c.German : c.English)
                EXPECT_TRUE(said.contains(phrase)) << said.toStdString();
            EXPECT_TRUE(SamplesContext(model).contains(c.File)) << c.File.toStdString();
            if (!german) {
                EXPECT_EQ(PageTitle(model, text), c.Title);
            }
        }
    }
}

TEST(ModelTexts, TheRuleRefusesWhatAViewCannotShow)
{
    EXPECT_EQ(ForbiddenExtra(TView::RunningMeans, {.LogY = true}), TExtra::LogY);
    EXPECT_EQ(ForbiddenExtra(TView::Histogram, {.RunningMedian = true}), TExtra::RunningMedian);
    EXPECT_EQ(ForbiddenExtra(TView::MeansOfN, {.DensityCurve = true, .LogY = true, .CompareOther = true}),
              std::nullopt);
}

} // namespace
