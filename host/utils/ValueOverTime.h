#pragma once

#include "HistorySummary.h"
#include "SampleState.h"

#include <cstddef>
#include <vector>

namespace Utils {

// The history of one plot: sample times (x; milliseconds since the epoch on
// time plots), values (y) and states in contiguous arrays, so that drawing,
// export and saving walk plain memory. Every sample that is no value has a
// NaN value, so that code reading only the values never takes a state for a
// distance. Samples are appended in time order; lookups by time rely on that.
// The history keeps its summaries (HistorySummary) up to date as it changes.
class ValueOverTime
{
public:
    int size() const { return int(m_x.size()); }
    bool isEmpty() const { return m_x.empty(); }
    const double* pxData() const { return m_x.data(); }
    const double* pyData() const { return m_y.data(); }
    const SampleState* stateData() const { return m_states.data(); }
    double x(int i) const { return m_x[std::size_t(i)]; }
    double y(int i) const { return m_y[std::size_t(i)]; }
    SampleState state(int i) const { return m_states[std::size_t(i)]; }
    const HistorySummary& summary() const { return m_summary; }

    // A NaN value appends a gap.
    void append(double x, double y);
    // Appends a sample without a value: a gap or a state.
    void appendState(double x, SampleState state);
    void clear();
    void reserve(int samples);
    // Replaces the history with the given samples. Missing states are
    // values; a sample whose state is no value gets a NaN value, and a NaN
    // value with the state of a value becomes a gap.
    void assign(std::vector<double> x, std::vector<double> y, std::vector<SampleState> states = {});
    // Drops the oldest `count` samples.
    void dropOldest(int count);

    // Index of the first sample at or after time x (size() when none).
    int lowerBound(double x) const;
    // Index of the first sample after time x (size() when none).
    int upperBound(double x) const;

    // Bytes the history holds, including spare capacity and the summaries.
    std::size_t memoryBytes() const;

private:
    void grow();

    std::vector<double> m_x;
    std::vector<double> m_y;
    // One byte per sample rather than a sparse list of state samples: the
    // cost stays fixed (17 bytes a sample in all) however often the states
    // alternate, and drawing and export read a sample's state directly.
    std::vector<SampleState> m_states;
    HistorySummary m_summary;
};

} // namespace Utils
