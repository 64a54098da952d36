// The distribution the samples come from, and a batch of them drawn ahead on
// another thread.
#pragma once

#include "Kesl_math1.h"

#include <thread>
#include <vector>

class TVector;

// The panel's settings when the window opens: the Cauchy distribution,
// location position 0 (0.0) and width position 100 (1.0).
inline constexpr int kStartDistribution = 1;
inline constexpr int kStartLocationPosition = 0;
inline constexpr int kStartWidthPosition = 100;

// The selected distribution and its parameters as the scroll bars give them.
struct TSampleSource
{
    int Distribution; // 0 normal, 1 Cauchy, anything else: none
    int LocationPosition;
    int WidthPosition;
    double LocationValue;
    double WidthValue;

    static TSampleSource At(int distribution, int locationPosition, int widthPosition);
    static double LocationOf(int position) { return position / 10.0; }
    static double WidthOf(int position) { return position / 100.0; }

    // One sample from State; false (and nothing drawn) when no distribution is selected.
    bool Draw(TRandomState &state, double &value) const;
    // The same from the shared generator.
    bool Draw(double &value) const;

    bool operator==(const TSampleSource &) const = default;
};

// Count samples of Source, drawn on a thread of their own from a copy of the
// shared generator's state, while the caller goes on (the window being built).
// Whoever takes them gets exactly what drawing them then would have given.
class TSampleBatch
{
public:
    TSampleBatch(const TSampleSource &source, int count);
    ~TSampleBatch();
    TSampleBatch(const TSampleBatch &) = delete;
    TSampleBatch &operator=(const TSampleBatch &) = delete;

    // Waits for the thread. When Source and Into's length are the batch's and
    // the shared generator is where the batch started, fills Into with the
    // samples, moves the generator past them and returns true; otherwise
    // (or a second time) leaves both alone and returns false.
    bool Take(const TSampleSource &source, TVector &into);

private:
    void Draw();
    void Wait();

    TSampleSource m_source;
    TRandomState m_start;
    TRandomState m_end;
    std::vector<double> m_values;
    std::jthread m_thread;
    bool m_taken = false;
};
