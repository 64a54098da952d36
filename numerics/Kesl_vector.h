#pragma once

// Resizable 1-based numeric vectors as non-visual components. Both forgive bad
// indices: reads outside 1 … NrOfElem give 0, writes there are ignored.

#include "Component.h"
#include "KeslError.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class EKeslVectorError : public EKeslError
{
public:
    using EKeslError::EKeslError;
};

// Published for sorting; nothing in this program fires it.
using TSortExchgEvent = std::function<void(QObject *Sender, std::uint8_t ExchgWhat, std::int32_t index1,
                                           std::int32_t index2, std::int32_t first, std::int32_t last)>;

// What the two vector classes share: size property, tag, events.
class TCustomVector : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int NrOfElem READ NrOfElem WRITE SetNrOfElem)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)

public:
    // Storage is capped at 2 GiB. A larger size is refused with the
    // out-of-memory error: on a 64-bit machine the allocation itself might
    // succeed and then commit and zero many gigabytes before anything fails.
    static constexpr std::size_t MaxStorageBytes = 0x7FFFFFFF;

    int NrOfElem() const { return m_nrOfElem; }
    // A size of 0 or below, or the current size, changes nothing.
    void SetNrOfElem(int n);

    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }

    // n = NrOfElem: true, nothing changes; n < 1: false, nothing changes.
    // Otherwise keeps the existing values, zeroes new ones, fires OnChange and
    // returns true. Raises EKeslVectorError when the storage cannot be had.
    virtual bool Resize(int n) = 0;
    // Every element := 0, then one OnChange.
    virtual void Clear() = 0;

    // Calls OnChange(this) when a handler is assigned.
    void Changed()
    {
        if (OnChange)
            OnChange(this);
    }

    // Text of the out-of-memory error for a component of that name; during
    // construction it ends in "on heap".
    static std::string OutOfMemoryMessage(const QString &name, bool duringConstruction);

    TNotifyEvent OnChange;
    TSortExchgEvent OnSortExchange;

protected:
    TCustomVector(QObject *owner, const QString &name);
    [[noreturn]] void RaiseOutOfMemory(bool duringConstruction) const;

    int m_nrOfElem = 1;

private:
    int m_tag = 0;
};

template<typename T> class TVectorOf : public TCustomVector
{
public:
    static constexpr int MaxNrOfElem = static_cast<int>(MaxStorageBytes / sizeof(T));

    // Element index (1-based), or 0 outside 1 … NrOfElem.
    T Elem(int index) const { return InRange(index) ? m_data[static_cast<std::size_t>(index) - 1] : T(0); }

    // Stores the value and fires OnChange; outside 1 … NrOfElem nothing happens.
    void SetElem(int index, T value)
    {
        if (!InRange(index))
            return;
        m_data[static_cast<std::size_t>(index) - 1] = value;
        Changed();
    }

    bool Resize(int n) override;
    void Clear() override;

protected:
    TVectorOf(QObject *owner, const QString &name);

    // Unsigned compare: index 0 and negative indices wrap to huge values.
    bool InRange(int index) const { return static_cast<unsigned>(index) - 1u < static_cast<unsigned>(m_nrOfElem); }

    std::vector<T> m_data;
};

extern template class TVectorOf<double>;
extern template class TVectorOf<std::int32_t>;

class TIntVector : public TVectorOf<std::int32_t>
{
    Q_OBJECT

public:
    explicit TIntVector(QObject *owner = nullptr);
    TIntVector(QObject *owner, const QString &name);

private:
    friend class TVector; // counts straight into the bins
};

class TVector : public TVectorOf<double>
{
    Q_OBJECT

public:
    explicit TVector(QObject *owner = nullptr);
    TVector(QObject *owner, const QString &name);

    // Counts elements FirstElem … LastElem into |HighBound − LowBound| / BinWidth
    // bins of Histo (rounded half to even; Histo is resized to that count when
    // it is 1 or more). Bin k holds [LowBound + (k − 1)·BinWidth, LowBound + k·BinWidth).
    // Indices outside the vector count as the value 0. Values below LowBound or
    // unordered (NaN) add to Underflow; values at or above HighBound, and those
    // past the last bin when the bin count was rounded down (or is 0), add to
    // Overflow. MaxCount is the fullest bin. Counts saturate at 2147483647.
    // Returns false, changing nothing, for more than 500 bins, a bin count that
    // is not a number (NaN or infinite bounds), a BinWidth that is not above 0
    // or a null Histo. LastElem < FirstElem clears Histo and returns true.
    bool Histogram(int FirstElem, int LastElem, double LowBound, double HighBound, double BinWidth, TIntVector *Histo,
                   int &Underflow, int &Overflow, int &MaxCount);

    // Mean and variance of elements FirstElem … LastElem, each index clamped
    // into 1 … NrOfElem and the two swapped when reversed. Fewer than three
    // elements give Variance 1.0.
    void MeanVar(int FirstElem, int LastElem, double &Mean, double &Variance) const;
};
