#include "HistorySummary.h"

namespace Utils {

void HistorySummary::summariseBlock(int level, int end, const double* y, const SampleState* states)
{
    Entry entry{0.0, 0.0, 0, 0, 0};
    bool hasValue = false;
    const auto take = [&](const Entry& part) {
        if (part.states & stateBit(SampleState::Value)) {
            // Strict comparisons keep the first of equal extremes, as a scan does.
            if (!hasValue || part.low < entry.low) {
                entry.low = part.low;
                entry.min = part.min;
            }
            if (!hasValue || part.high > entry.high) {
                entry.high = part.high;
                entry.max = part.max;
            }
            hasValue = true;
        }
        entry.states = std::uint8_t(entry.states | part.states);
    };
    for (int i = end - partsPerEntry(level); i < end; ++i) {
        if (level == 1)
            take(Entry{y[i], y[i], std::uint32_t(i), std::uint32_t(i), std::uint8_t(stateBit(states[i]))});
        else
            take(m_levels[std::size_t(level - 2)][std::size_t(i)]);
    }
    if (int(m_levels.size()) < level)
        m_levels.emplace_back();
    std::vector<Entry>& entries = m_levels[std::size_t(level - 1)];
    // Grows by a quarter, as the history does.
    if (entries.size() == entries.capacity())
        entries.reserve(entries.capacity() + entries.capacity() / 4 + 64);
    entries.push_back(entry);
}

void HistorySummary::appended(const double* y, const SampleState* states, int size)
{
    // Each whole block closes one entry of the level above; on average an
    // append summarises about one sample.
    int count = size;
    for (int level = 1; level <= maxLevel && count % partsPerEntry(level) == 0; ++level) {
        summariseBlock(level, count, y, states);
        count = HistorySummary::size(level);
    }
}

void HistorySummary::rebuild(const double* y, const SampleState* states, int size)
{
    clear();
    const int block = partsPerEntry(1);
    for (int count = block; count <= size; count += block)
        appended(y, states, count);
}

void HistorySummary::clear()
{
    std::vector<std::vector<Entry>>().swap(m_levels);
}

std::size_t HistorySummary::memoryBytes() const
{
    std::size_t bytes = 0;
    for (const std::vector<Entry>& level : m_levels)
        bytes += level.capacity() * sizeof(Entry);
    return bytes;
}

} // namespace Utils
