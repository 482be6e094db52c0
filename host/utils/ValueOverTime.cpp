#include "ValueOverTime.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Utils {

void ValueOverTime::grow()
{
    // Grow by a quarter rather than the library's doubling: a long recording
    // then wastes at most a fifth of its memory on spare room.
    if (m_x.size() == m_x.capacity()) {
        const std::size_t capacity = m_x.capacity() + m_x.capacity() / 4 + 1024;
        m_x.reserve(capacity);
        m_y.reserve(capacity);
        m_states.reserve(capacity);
    }
}

void ValueOverTime::append(double x, double y)
{
    grow();
    m_x.push_back(x);
    m_y.push_back(y);
    m_states.push_back(std::isnan(y) ? SampleState::Gap : SampleState::Value);
    m_summary.appended(m_y.data(), m_states.data(), size());
}

void ValueOverTime::appendState(double x, SampleState state)
{
    grow();
    m_x.push_back(x);
    m_y.push_back(std::numeric_limits<double>::quiet_NaN());
    m_states.push_back(state == SampleState::Value ? SampleState::Gap : state);
    m_summary.appended(m_y.data(), m_states.data(), size());
}

void ValueOverTime::clear()
{
    std::vector<double>().swap(m_x);
    std::vector<double>().swap(m_y);
    std::vector<SampleState>().swap(m_states);
    m_summary.clear();
}

void ValueOverTime::reserve(int samples)
{
    const std::size_t count = std::size_t(std::max(samples, 0));
    m_x.reserve(count);
    m_y.reserve(count);
    m_states.reserve(count);
}

void ValueOverTime::assign(std::vector<double> x, std::vector<double> y, std::vector<SampleState> states)
{
    y.resize(x.size(), std::numeric_limits<double>::quiet_NaN());
    states.resize(x.size(), SampleState::Value);
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (states[i] != SampleState::Value)
            y[i] = std::numeric_limits<double>::quiet_NaN();
        else if (std::isnan(y[i]))
            states[i] = SampleState::Gap;
    }
    m_x = std::move(x);
    m_y = std::move(y);
    m_states = std::move(states);
    m_summary.rebuild(m_y.data(), m_states.data(), size());
}

void ValueOverTime::dropOldest(int count)
{
    const auto from = std::ptrdiff_t(std::clamp(count, 0, size()));
    // Copies rather than erasing in place, so that the spare room goes too.
    assign(std::vector<double>(m_x.begin() + from, m_x.end()),
           std::vector<double>(m_y.begin() + from, m_y.end()),
           std::vector<SampleState>(m_states.begin() + from, m_states.end()));
}

int ValueOverTime::lowerBound(double x) const
{
    return int(std::lower_bound(m_x.begin(), m_x.end(), x) - m_x.begin());
}

int ValueOverTime::upperBound(double x) const
{
    return int(std::upper_bound(m_x.begin(), m_x.end(), x) - m_x.begin());
}

std::size_t ValueOverTime::memoryBytes() const
{
    return (m_x.capacity() + m_y.capacity()) * sizeof(double) + m_states.capacity() * sizeof(SampleState) +
           m_summary.memoryBytes();
}

} // namespace Utils
