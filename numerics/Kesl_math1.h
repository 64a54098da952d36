#pragma once

/// @file
/// The simulation's one uniform pseudo-random generator and the normal and
/// Cauchy variates built on it. Single-threaded: every call comes from the
/// user-interface thread.

#include <cstdint>
#include <functional>
#include <utility>

/// Whole state of the uniform generator; 0 before any seeding.
extern std::uint32_t GeneratorSeed;

/// Time of day in UTC as the clock reports it.
struct TUtcTimeOfDay
{
    /// Hour, 0..23.
    int Hour = 0;
    /// Minute, 0..59.
    int Minute = 0;
    /// Second, 0..59.
    int Second = 0;
    /// Millisecond, 0..999.
    int Millisecond = 0;
};

/// Source of the UTC time of day, handed to a TRandomGenerator.
using TUtcClock = std::function<TUtcTimeOfDay()>;

/// Reads the system clock (UTC).
TUtcTimeOfDay SystemUtcTimeOfDay();

/// GeneratorSeed := milliseconds since midnight UTC (0 … 86399999). Fields out
/// of their range (a faulty clock source) are clamped into it first.
void SeedFromTimeOfDay(const TUtcTimeOfDay &time);

/// Seeds from the system clock.
void SeedFromClock();

/// Advances the state and returns it times 2^-32: a value in [0, 1).
long double UniformRandom();

/// Advances the state and returns the upper 32 bits of state × n, a value in
/// [0, n). For n ≤ 0 the state still advances and the result is 0.
std::int32_t UniformIndex(std::int32_t n);

/// Standard normal variate by the polar method; every second call returns the
/// value cached by the call before and draws nothing.
double GaussRandom();

/// Cauchy variate with the given location and width (inverse distribution
/// function, no clipping).
double CauchyRandom(double location, double width);

/// Forgets a cached normal value. Reseeding deliberately does not do this.
void ClearNormalCache();

/// Whether GaussRandom holds a cached value for its next call.
bool NormalValueCached();

/// Start-up of the numerics: seeds from the clock and clears the normal cache.
/// The program calls it once before its main window is shown.
void InitRandomVariates();

/// A generator of its own: the same sequence and variates as the functions
/// above, with its own state, normal cache and clock, for a caller that hands
/// its generator to whoever draws instead of sharing the process-wide one.
/// Not thread-safe: one thread draws from one generator.
class TRandomGenerator
{
public:
    /// Without a clock, SeedFromClock reads the system clock. The state starts at 0.
    explicit TRandomGenerator(TUtcClock clock = {}) : m_clock(std::move(clock)) { }

    /// The whole state of the generator.
    std::uint32_t Seed() const { return m_state; }
    /// Sets the state; like reseeding the shared generator, keeps a cached normal value.
    void SetSeed(std::uint32_t seed) { m_state = seed; }
    /// The state := milliseconds since midnight UTC of the clock (0 … 86399999).
    void SeedFromClock();

    /// As UniformRandom: a value in [0, 1).
    long double Uniform();
    /// As GaussRandom: a standard normal value, every second one cached.
    double Gauss();
    /// As CauchyRandom: a Cauchy value with the given location and width.
    double Cauchy(double location, double width);
    /// As ClearNormalCache.
    void ClearNormalCache();
    /// Whether Gauss holds a cached value for its next call.
    bool NormalValueCached() const { return m_normalCached; }

private:
    std::uint32_t Next();
    std::uint32_t m_state = 0;
    bool m_normalCached = false;
    double m_normalValue = 0.0;
    TUtcClock m_clock;
};
