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
