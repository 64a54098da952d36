#include "SampleSource.h"

#include "HelperThread.h"
#include "Kesl_vector.h"

TSampleSource TSampleSource::At(int distribution, int locationPosition, int widthPosition)
{
    return {distribution, locationPosition, widthPosition, LocationOf(locationPosition), WidthOf(widthPosition)};
}

bool TSampleSource::Draw(TRandomState &state, double &value) const
{
    switch (Distribution) {
    case 0:
        // Extended precision in this order: multiply, divide, add.
        value = static_cast<double>(static_cast<long double>(GaussRandom(state)) * WidthPosition / 100 +
                                    static_cast<long double>(LocationPosition) / 10);
        return true;
    case 1: value = CauchyRandom(state, LocationValue, WidthValue); return true;
    default: return false;
    }
}

bool TSampleSource::Draw(double &value) const
{
    TRandomState state = SaveRandomState();
    const bool drawn = Draw(state, value);
    RestoreRandomState(state);
    return drawn;
}

TSampleBatch::TSampleBatch(const TSampleSource &source, int count)
    : m_source(source), m_start(SaveRandomState()), m_end(m_start)
{
    if (count <= 0 || (source.Distribution != 0 && source.Distribution != 1))
        return;
    m_values.resize(static_cast<std::size_t>(count));
    m_thread = StartHelperThread([this] { Draw(); });
    if (!m_thread.joinable())
        m_values.clear(); // no thread to spare: the samples are drawn when needed
}

TSampleBatch::~TSampleBatch()
{
    Wait();
}

void TSampleBatch::Draw()
{
    TRandomState state = m_start;
    for (double &value : m_values)
        m_source.Draw(state, value);
    m_end = state;
}

void TSampleBatch::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

bool TSampleBatch::Take(const TSampleSource &source, TVector &into)
{
    Wait();
    const bool fits = !m_taken && !m_values.empty() && source == m_source &&
        static_cast<std::size_t>(into.NrOfElem()) == m_values.size() && SaveRandomState() == m_start;
    m_taken = true;
    if (!fits)
        return false;
    for (std::size_t i = 0; i < m_values.size(); ++i)
        into.SetElem(static_cast<int>(i) + 1, m_values[i]);
    RestoreRandomState(m_end);
    std::vector<double>().swap(m_values);
    return true;
}
