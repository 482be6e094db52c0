#pragma once

#include "SampleState.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Utils {

// Min/max summaries of a history at several resolutions: an entry of level 1
// summarises 32 samples, an entry of each level above four entries of the
// level below. A chart reads a long stretch of samples from a few entries
// instead of the samples themselves, and the stretch's ends from a few more.
// Only whole blocks are summarised; the samples after the last whole block of
// a level are read from the level below. An entry holds its extremes' values
// beside their indices, so comparing blocks never reaches into the samples,
// which lie far apart in memory; entries cost 32 bytes per 24 samples.
// Four parts an entry rather than two halve the levels, and with them the
// places in memory a stretch's ends are read from.
class HistorySummary
{
public:
    static constexpr int firstLevelBits = 5;
    static constexpr int levelBits = 2;
    // Samples per entry stay within an int.
    static constexpr int maxLevel = 13;

    struct Entry
    {
        // The lowest and the highest of the block's values and the indices
        // of their first samples; only meaningful when the block holds a value.
        double low;
        double high;
        std::uint32_t min;
        std::uint32_t max;
        // The states of the block's samples, one bit each (stateBit).
        std::uint8_t states;
    };

    static unsigned stateBit(SampleState state) { return 1u << unsigned(state); }
    static int samplesPerEntry(int level) { return 1 << (firstLevelBits + levelBits * (level - 1)); }
    // Entries (or, on level 1, samples) one entry summarises.
    static int partsPerEntry(int level) { return 1 << (level == 1 ? firstLevelBits : levelBits); }
    // The highest level whose blocks may start at sample `index` (above 0);
    // 0 when no block does.
    static int levelStartingAt(int index)
    {
        const int zeros = __builtin_ctz(unsigned(index));
        return zeros < firstLevelBits ? 0 : (zeros - firstLevelBits) / levelBits + 1;
    }

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
