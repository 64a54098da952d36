#include "SampleSource.h"

#include "Kesl_math1.h"

TSampleSource TSampleSource::At(std::optional<TDistribution> distribution, int locationPosition, int widthPosition)
{
    return {distribution, locationPosition, widthPosition, LocationOf(locationPosition), WidthOf(widthPosition)};
}

bool TSampleSource::Draw(TRandomGenerator &generator, double &value) const
{
    if (!Distribution)
        return false;
    if (*Distribution == TDistribution::Normal) {
        // Extended precision in this order: multiply, divide, add.
        value = static_cast<double>(static_cast<long double>(generator.Gauss()) * WidthPosition / 100 +
                                    static_cast<long double>(LocationPosition) / 10);
        return true;
    }
    value = generator.Cauchy(LocationValue, WidthValue);
    return true;
}

bool TSampleSource::DrawMeans(TRandomGenerator &generator, int n, int count, std::vector<double> &out) const
{
    out.clear();
    double v = 0;
    if (n < 1 || count < 1 || !Draw(generator, v))
        return false;
    out.resize(static_cast<std::size_t>(count));
    for (double &mean : out) {
        long double sum = 0;
        for (int i = 0; i < n; ++i) {
            sum += v;
            Draw(generator, v);
        }
        mean = static_cast<double>(sum / n);
    }
    return true;
}
