#pragma once

/// @file
/// The simulation's one uniform pseudo-random generator and the normal and
/// Cauchy variates built on it. Single-threaded: every call comes from the
/// user-interface thread.

#include <cstdint>
#include <functional>

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

/// Source of the UTC time of day; SeedFromClock asks it. Tests install a fixed one.
using TUtcClock = std::function<TUtcTimeOfDay()>;

/// Installs the clock that SeedFromClock reads; an empty function restores the system clock.
void SetUtcClock(TUtcClock clock);

/// Reads the system clock (UTC).
TUtcTimeOfDay SystemUtcTimeOfDay();

/// GeneratorSeed := milliseconds since midnight UTC (0 … 86399999). Fields out
/// of their range (a faulty clock source) are clamped into it first.
void SeedFromTimeOfDay(const TUtcTimeOfDay &time);

/// Seeds from the installed clock (the system clock unless replaced).
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
