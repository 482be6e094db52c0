#include "ValueOverTime.h"

#include <algorithm>

namespace Utils {

void ValueOverTime::append(double x, double y)
{
    // Grow by a quarter rather than the library's doubling: a long recording
    // then wastes at most a fifth of its memory on spare room.
    if (m_x.size() == m_x.capacity()) {
        const std::size_t capacity = m_x.capacity() + m_x.capacity() / 4 + 1024;
        m_x.reserve(capacity);
        m_y.reserve(capacity);
    }
    m_x.push_back(x);
    m_y.push_back(y);
}

void ValueOverTime::clear()
{
    std::vector<double>().swap(m_x);
    std::vector<double>().swap(m_y);
}

void ValueOverTime::reserve(int samples)
{
    m_x.reserve(std::size_t(std::max(samples, 0)));
    m_y.reserve(std::size_t(std::max(samples, 0)));
}

void ValueOverTime::assign(std::vector<double> x, std::vector<double> y)
{
    y.resize(x.size());
    m_x = std::move(x);
    m_y = std::move(y);
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
    return (m_x.capacity() + m_y.capacity()) * sizeof(double);
}

} // namespace Utils
