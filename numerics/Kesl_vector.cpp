#include "Kesl_vector.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>

// ---- TCustomVector ---------------------------------------------------------

TCustomVector::TCustomVector(QObject *owner, const QString &name) : QObject(owner)
{
    setObjectName(name);
}

void TCustomVector::SetNrOfElem(int n)
{
    if (n > 0 && n != m_nrOfElem)
        Resize(n);
}

std::string TCustomVector::OutOfMemoryMessage(const QString &name, bool duringConstruction)
{
    std::string message = "Component \"" + name.toStdString() + "\": not enough memory";
    if (duringConstruction)
        message += " on heap";
    return message;
}

void TCustomVector::RaiseOutOfMemory(bool duringConstruction) const
{
    throw EKeslVectorError(OutOfMemoryMessage(objectName(), duringConstruction));
}

// ---- TVectorOf -------------------------------------------------------------

template<typename T> TVectorOf<T>::TVectorOf(QObject *owner, const QString &name) : TCustomVector(owner, name)
{
    try {
        m_data.assign(1, T(0));
    } catch (const std::bad_alloc &) {
        RaiseOutOfMemory(true);
    }
}

template<typename T> bool TVectorOf<T>::Resize(int n)
{
    if (n == m_nrOfElem)
        return true;
    if (n < 1)
        return false;
    if (n > MaxNrOfElem)
        RaiseOutOfMemory(false);
    try {
        // vector::resize keeps the old contents when it throws.
        m_data.resize(static_cast<std::size_t>(n), T(0));
    } catch (const std::bad_alloc &) {
        RaiseOutOfMemory(false);
    } catch (const std::length_error &) {
        RaiseOutOfMemory(false);
    }
    if (m_data.capacity() > 2 * m_data.size()) {
        // Give back most of a large block after shrinking; failing to do so is harmless.
        try {
            m_data.shrink_to_fit();
        } catch (const std::bad_alloc &) {
        }
    }
    m_nrOfElem = n;
    Changed();
    return true;
}

template<typename T> void TVectorOf<T>::Clear()
{
    std::fill(m_data.begin(), m_data.end(), T(0));
    Changed();
}

template class TVectorOf<double>;
template class TVectorOf<std::int32_t>;

// ---- TIntVector ------------------------------------------------------------

TIntVector::TIntVector(QObject *owner) : TVectorOf<std::int32_t>(owner, QString()) { }

TIntVector::TIntVector(QObject *owner, const QString &name) : TVectorOf<std::int32_t>(owner, name) { }

// ---- TVector ---------------------------------------------------------------

TVector::TVector(QObject *owner) : TVectorOf<double>(owner, QString()) { }

TVector::TVector(QObject *owner, const QString &name) : TVectorOf<double>(owner, name) { }

namespace {

constexpr int kMaxBins = 500;
constexpr std::int64_t kIntMax = 2147483647;

int Saturated(std::int64_t count)
{
    return static_cast<int>(std::min(count, kIntMax));
}

// The bin count for [LowBound, HighBound) in steps of BinWidth, or -1 when
// there is no sensible one. NaN or infinite bounds give a bin count that is no
// number; it fails like too many bins.
int BinCountFor(double LowBound, double HighBound, double BinWidth)
{
    if (!(BinWidth > 0.0))
        return -1;
    const long double bins = std::nearbyint(std::fabs(static_cast<long double>(HighBound) - LowBound) / BinWidth);
    if (!(bins <= kMaxBins))
        return -1;
    return static_cast<int>(bins);
}

// Running counts of one histogram pass.
struct BinTally
{
    TIntVector *histo;
    double low;
    double high;
    double width;
    // The bins cover [low, low + binCount * width). When the bin count was
    // rounded down, a value between that end and high lies beyond the last bin:
    // it counts as overflow rather than vanishing.
    double binLimit;
    std::int64_t under = 0;
    std::int64_t over = 0;
    int maxCount = 0;

    // Counts one value, 'times' times, through the forgiving Elem of histo.
    // A value in [low, high) gives 0 <= q < about 501 because the bin count
    // passed the check. A handler that shrank histo meanwhile makes the write
    // land outside it, where Elem ignores it.
    void Count(double value, std::int64_t times)
    {
        if (!(value >= low)) {
            under += times;
        } else if (value < high) {
            const double q = (value - low) / width;
            if (!(q < binLimit)) {
                over += times;
                return;
            }
            const int k = static_cast<int>(q) + 1;
            if (k > histo->NrOfElem())
                return;
            histo->SetElem(k, Saturated(static_cast<std::int64_t>(histo->Elem(k)) + times));
            maxCount = std::max(maxCount, histo->Elem(k));
        } else {
            over += times;
        }
    }

    // Counts n values straight into the storage of bins 1..binCount; nothing
    // can run between increments. The sums live in locals so that the stores
    // into the bins cannot be taken to change them.
    void CountDirect(const double *values, std::int64_t n, std::int32_t *binData)
    {
        const double lo = low;
        const double hi = high;
        const double w = width;
        const double limit = binLimit;
        std::int64_t u = 0;
        std::int64_t o = 0;
        int m = maxCount;
        for (std::int64_t i = 0; i < n; ++i) {
            const double value = values[i];
            if (!(value >= lo)) {
                ++u;
            } else if (value < hi) {
                const double q = (value - lo) / w;
                if (q < limit) {
                    const std::int32_t c = ++binData[static_cast<int>(q)];
                    if (c > m)
                        m = c;
                } else {
                    ++o;
                }
            } else {
                ++o;
            }
        }
        under += u;
        over += o;
        maxCount = m;
    }
};

} // namespace

bool TVector::Histogram(int FirstElem, int LastElem, double LowBound, double HighBound, double BinWidth,
                        TIntVector *Histo, int &Underflow, int &Overflow, int &MaxCount)
{
    const int binCount = BinCountFor(LowBound, HighBound, BinWidth);
    if (Histo == nullptr || binCount < 0)
        return false;

    // Finite bounds from here on. A request for 0 bins is refused by Resize and Histo keeps its length.
    if (binCount != Histo->NrOfElem())
        Histo->Resize(binCount);
    Histo->Clear();
    Underflow = 0;
    Overflow = 0;
    MaxCount = 0;
    if (LastElem < FirstElem)
        return true;

    // With zero bins Histo keeps its old length, but none of those stale bins
    // belongs to this count.
    BinTally tally {Histo, LowBound, HighBound, BinWidth, static_cast<double>(binCount)};

    // Indices outside the vector all read 0: they are counted in one step
    // instead of walking what may be billions of them.
    const std::int64_t first = FirstElem;
    const std::int64_t last = LastElem;
    const std::int64_t lo = std::max<std::int64_t>(first, 1);
    const std::int64_t hi = std::min<std::int64_t>(last, m_nrOfElem);
    const std::int64_t inside = hi >= lo ? hi - lo + 1 : 0;
    const std::int64_t outside = (last - first + 1) - inside;

    if (inside > 0) {
        // The direct loop writes bins 1..binCount of the storage, so it also needs
        // Histo to have exactly that length (a handler run by Resize or Clear may
        // have changed it and then removed itself).
        if (Histo->OnChange || (binCount > 0 && Histo->NrOfElem() != binCount)) {
            // A handler sees every increment and may change either vector, so go through Elem.
            for (std::int64_t i = lo; i <= hi; ++i)
                tally.Count(Elem(static_cast<int>(i)), 1);
        } else {
            tally.CountDirect(m_data.data() + (lo - 1), inside, Histo->m_data.data());
        }
    }

    // After the loop, so that the in-range counts start from empty bins and
    // only this step can reach the saturation limit.
    if (outside > 0)
        tally.Count(0.0, outside);

    Underflow = Saturated(tally.under);
    Overflow = Saturated(tally.over);
    MaxCount = tally.maxCount;
    return true;
}

void TVector::MeanVar(int FirstElem, int LastElem, double &Mean, double &Variance) const
{
    if (m_data.empty())
        return;
    int first = std::clamp(FirstElem, 1, m_nrOfElem);
    int last = std::clamp(LastElem, 1, m_nrOfElem);
    if (first > last)
        std::swap(first, last);

    // Running sums in extended precision, each rounded to double after its step.
    double sum = 0.0;
    double sumSq = 0.0;
    for (int i = first; i <= last; ++i) {
        const long double x = m_data[static_cast<std::size_t>(i) - 1];
        sum = static_cast<double>(sum + x);
        sumSq = static_cast<double>(sumSq + x * x);
    }
    const long double m = last - first + 1;
    Variance = 1.0;
    Mean = static_cast<double>(sum / m);
    if (m >= 3)
        Variance = static_cast<double>((sumSq - static_cast<long double>(sum) * sum / m) / (m - 1));
}
