#include "SampleSource.h"

#include "Kesl_math1.h"

TSampleSource TSampleSource::At(int distribution, int locationPosition, int widthPosition)
{
    return {distribution, locationPosition, widthPosition, LocationOf(locationPosition), WidthOf(widthPosition)};
}

bool TSampleSource::Draw(double &value) const
{
    switch (Distribution) {
    case 0:
        // Extended precision in this order: multiply, divide, add.
        value = static_cast<double>(static_cast<long double>(GaussRandom()) * WidthPosition / 100 +
                                    static_cast<long double>(LocationPosition) / 10);
        return true;
    case 1: value = CauchyRandom(LocationValue, WidthValue); return true;
    default: return false;
    }
}

bool TSampleSource::DrawMeans(int n, int count, std::vector<double> &out) const
{
    out.clear();
    double v = 0;
    if (n < 1 || count < 1 || !Draw(v))
        return false;
    out.resize(static_cast<std::size_t>(count));
    for (double &mean : out) {
        long double sum = 0;
        for (int i = 0; i < n; ++i) {
            sum += v;
            Draw(v);
        }
        mean = static_cast<double>(sum / n);
    }
    return true;
}
