#pragma once

#include "SampleState.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Utils {

// Min/max summaries of a history at several resolutions: an entry of level 1
// summarises 16 samples, an entry of each level above two entries of the
// level below. A chart reads a long stretch of samples from a few entries
// instead of the samples themselves, and the stretch's ends from a few more.
// Only whole blocks are summarised; the samples after the last whole block of
// a level are read from the level below. Entries name their samples by index
// and cost 12 bytes per 8 samples.
class HistorySummary
{
public:
    static constexpr int firstLevelBits = 4;
    // Samples per entry stay within an int.
    static constexpr int maxLevel = 26;

    struct Entry
    {
        // Indices of the first lowest and the first highest value among the
        // block's values; only meaningful when the block holds a value.
        std::uint32_t min;
        std::uint32_t max;
        // The states of the block's samples, one bit each (stateBit).
        std::uint8_t states;
    };

    static unsigned stateBit(SampleState state) { return 1u << unsigned(state); }
    static int samplesPerEntry(int level) { return 1 << (firstLevelBits + level - 1); }
    // Entries (or, on level 1, samples) one entry summarises.
    static int partsPerEntry(int level) { return level == 1 ? 1 << firstLevelBits : 2; }

    // Levels from 1 to levels() exist.
    int levels() const { return int(m_levels.size()); }
    int size(int level) const { return int(m_levels[std::size_t(level - 1)].size()); }
    const Entry& entry(int level, int index) const
    {
        return m_levels[std::size_t(level - 1)][std::size_t(index)];
    }

    // The history grew by one sample to `size` samples.
    void appended(const double* y, const SampleState* states, int size);
    // Summarises the history anew, after it was replaced or trimmed.
    void rebuild(const double* y, const SampleState* states, int size);
    void clear();
    std::size_t memoryBytes() const;

private:
    // Closes the block of level `level` that ends at entry or sample `end`
    // of the level below.
    void summariseBlock(int level, int end, const double* y, const SampleState* states);

    std::vector<std::vector<Entry>> m_levels;
};

} // namespace Utils
