#pragma once

#include <cstddef>
#include <vector>

namespace Utils {

// The history of one plot: sample times (x; milliseconds since the epoch on
// time plots) and values (y) in two contiguous arrays, so that drawing,
// export and saving walk plain memory. Samples are appended in time order;
// lookups by time rely on that.
class ValueOverTime
{
public:
    int size() const { return int(m_x.size()); }
    bool isEmpty() const { return m_x.empty(); }
    const double* pxData() const { return m_x.data(); }
    const double* pyData() const { return m_y.data(); }
    double x(int i) const { return m_x[std::size_t(i)]; }
    double y(int i) const { return m_y[std::size_t(i)]; }

    void append(double x, double y);
    void clear();
    void reserve(int samples);
    // Replaces the history with the given samples.
    void assign(std::vector<double> x, std::vector<double> y);

    // Index of the first sample at or after time x (size() when none).
    int lowerBound(double x) const;
    // Index of the first sample after time x (size() when none).
    int upperBound(double x) const;

    // Bytes the history holds, including spare capacity.
    std::size_t memoryBytes() const;

private:
    std::vector<double> m_x;
    std::vector<double> m_y;
};

} // namespace Utils
