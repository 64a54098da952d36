#pragma once

/// @file
/// Resizable 1-based numeric vectors as non-visual components. Both forgive bad
/// indices: reads outside 1 … NrOfElem give 0, writes there are ignored.

#include "Component.h"
#include "KeslError.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

/// Error of a vector: storage that cannot be had.
class EKeslVectorError : public EKeslError
{
public:
    using EKeslError::EKeslError;
};

/// Published for sorting; nothing in this program fires it.
using TSortExchgEvent = std::function<void(QObject *Sender, std::uint8_t ExchgWhat, std::int32_t index1,
                                           std::int32_t index2, std::int32_t first, std::int32_t last)>;

/// What the two vector classes share: size property, tag, events.
class TCustomVector : public QObject
{
    Q_OBJECT
    /// Number of elements, 1 … MaxNrOfElem (default 1); see SetNrOfElem().
    Q_PROPERTY(int NrOfElem READ NrOfElem WRITE SetNrOfElem)
    /// A number for the caller's own use (default 0); the vector never reads it.
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)

public:
    /// Storage is capped at 2 GiB. A larger size is refused with the
    /// out-of-memory error: on a 64-bit machine the allocation itself might
    /// succeed and then commit and zero many gigabytes before anything fails.
    static constexpr std::size_t MaxStorageBytes = 0x7FFFFFFF;

    /// Number of elements (default 1).
    int NrOfElem() const { return m_nrOfElem; }
    /// Resizes as Resize() does, OnChange included. A size of 0 or below, or
    /// the current size, changes nothing.
    void SetNrOfElem(int n);

    /// The caller's number (default 0).
    int Tag() const { return m_tag; }
    /// Stores the caller's number; does not notify.
    void SetTag(int tag) { m_tag = tag; }

    /// n = NrOfElem: true, nothing changes; n < 1: false, nothing changes.
    /// Otherwise keeps the existing values, zeroes new ones, fires OnChange and
    /// returns true. Raises EKeslVectorError when the storage cannot be had.
    virtual bool Resize(int n) = 0;
    /// Every element := 0, then one OnChange.
    virtual void Clear() = 0;

    /// Calls OnChange(this) when a handler is assigned.
    void Changed()
    {
        if (OnChange)
            OnChange(this);
    }

    /// Text of the out-of-memory error for a component of that name; during
    /// construction it ends in "on heap".
    static std::string OutOfMemoryMessage(const QString &name, bool duringConstruction);

    /// Raised after every change of size or of an element.
    TNotifyEvent OnChange;
    /// Raised for each exchange of a sort; nothing raises it yet.
    TSortExchgEvent OnSortExchange;

protected:
    /// A vector named name (its objectName) owned by owner.
    TCustomVector(QObject *owner, const QString &name);
    /// Raises EKeslVectorError with OutOfMemoryMessage().
    [[noreturn]] void RaiseOutOfMemory(bool duringConstruction) const;

    /// Number of elements.
    int m_nrOfElem = 1;

private:
    int m_tag = 0;
};

/// A vector of elements of type T, 1-based, with storage for NrOfElem of them.
template<typename T> class TVectorOf : public TCustomVector
{
public:
    /// The largest size the storage cap allows.
    static constexpr int MaxNrOfElem = static_cast<int>(MaxStorageBytes / sizeof(T));

    /// Element index (1-based), or 0 outside 1 … NrOfElem.
    T Elem(int index) const { return InRange(index) ? m_data[static_cast<std::size_t>(index) - 1] : T(0); }

    /// Stores the value and fires OnChange; outside 1 … NrOfElem nothing happens.
    void SetElem(int index, T value)
    {
        if (!InRange(index))
            return;
        m_data[static_cast<std::size_t>(index) - 1] = value;
        Changed();
    }

    /// See TCustomVector::Resize().
    bool Resize(int n) override;
    /// See TCustomVector::Clear().
    void Clear() override;

protected:
    /// A vector of one element, 0, named name and owned by owner.
    TVectorOf(QObject *owner, const QString &name);

    /// Unsigned compare: index 0 and negative indices wrap to huge values.
    bool InRange(int index) const { return static_cast<unsigned>(index) - 1u < static_cast<unsigned>(m_nrOfElem); }

    /// The elements; element i is m_data[i - 1].
    std::vector<T> m_data;
};

extern template class TVectorOf<double>;
extern template class TVectorOf<std::int32_t>;

/// A vector of 32-bit integers, such as the bins of a histogram.
class TIntVector : public TVectorOf<std::int32_t>
{
    Q_OBJECT

public:
    /// An unnamed vector of one element owned by owner.
    explicit TIntVector(QObject *owner = nullptr);
    /// A vector of one element named name and owned by owner.
    TIntVector(QObject *owner, const QString &name);

private:
    friend class TVector; // counts straight into the bins
};

/// A vector of doubles with histogram, mean and variance.
class TVector : public TVectorOf<double>
{
    Q_OBJECT

public:
    /// An unnamed vector of one element owned by owner.
    explicit TVector(QObject *owner = nullptr);
    /// A vector of one element named name and owned by owner.
    TVector(QObject *owner, const QString &name);

    /// Counts elements FirstElem … LastElem into |HighBound − LowBound| / BinWidth
    /// bins of Histo (rounded half to even; Histo is resized to that count when
    /// it is 1 or more). Bin k holds [LowBound + (k − 1)·BinWidth, LowBound + k·BinWidth).
    /// Indices outside the vector count as the value 0. Values below LowBound or
    /// unordered (NaN) add to Underflow; values at or above HighBound, and those
    /// past the last bin when the bin count was rounded down (or is 0), add to
    /// Overflow. MaxCount is the fullest bin. Counts saturate at 2147483647.
    /// Returns false, changing nothing, for more than 500 bins, a bin count that
    /// is not a number (NaN or infinite bounds), a BinWidth that is not above 0
    /// or a null Histo. LastElem < FirstElem clears Histo and returns true.
    bool Histogram(int FirstElem, int LastElem, double LowBound, double HighBound, double BinWidth, TIntVector *Histo,
                   int &Underflow, int &Overflow, int &MaxCount);

    /// Mean and variance of elements FirstElem … LastElem, each index clamped
    /// into 1 … NrOfElem and the two swapped when reversed. Fewer than three
    /// elements give Variance 1.0.
    void MeanVar(int FirstElem, int LastElem, double &Mean, double &Variance) const;
};
