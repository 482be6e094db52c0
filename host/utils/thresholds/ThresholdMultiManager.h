#pragma once

#include <QObject>
#include <QVector>

namespace Utils {

// The threshold values of a device's switching outputs: per output (numbered
// from 1, as the outputs are labelled on the device) and per component (the
// index of the threshold widget the value was dragged on), a low, a high and a
// middle value. The owner tells it the values an output got from a dragged
// mark; others can follow the changes through emitValueChanged().
class ThresholdMultiManager : public QObject
{
    Q_OBJECT

public:
    explicit ThresholdMultiManager(int outputs, QObject* parent = nullptr);

    // Outputs beyond the new count are dropped; new ones start with 0 values.
    void setOutputs(int outputs);
    int outputs() const { return m_outputs.size(); }

    // Values of outputs outside 1..outputs() or of negative components are
    // ignored; components grow on demand.
    void setLow(unsigned output, int component, const double& value);
    void setHigh(unsigned output, int component, const double& value);
    void setMiddle(unsigned output, int component, const double& value);

    // 0 for values never set or outside the outputs.
    double low(unsigned output, int component) const;
    double high(unsigned output, int component) const;
    double middle(unsigned output, int component) const;

signals:
    // A value changed: mark 0 low, 1 high, 2 middle (the numbers of the
    // threshold widget's marks).
    void emitValueChanged(unsigned int mark, const double value);

private:
    struct Values
    {
        double low = 0.0;
        double high = 0.0;
        double middle = 0.0;
    };

    const Values* find(unsigned output, int component) const;
    void store(unsigned output, int component, double Values::*field, unsigned int mark, double value);

    QVector<QVector<Values>> m_outputs;
};

} // namespace Utils
