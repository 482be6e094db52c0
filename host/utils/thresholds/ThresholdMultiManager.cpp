#include "ThresholdMultiManager.h"

#include <algorithm>

namespace Utils {

ThresholdMultiManager::ThresholdMultiManager(int outputs, QObject* parent) : QObject(parent)
{
    setOutputs(outputs);
}

void ThresholdMultiManager::setOutputs(int outputs)
{
    m_outputs.resize(std::max(0, outputs));
}

void ThresholdMultiManager::setLow(unsigned output, int component, const double& value)
{
    store(output, component, &Values::low, 0, value);
}

void ThresholdMultiManager::setHigh(unsigned output, int component, const double& value)
{
    store(output, component, &Values::high, 1, value);
}

void ThresholdMultiManager::setMiddle(unsigned output, int component, const double& value)
{
    store(output, component, &Values::middle, 2, value);
}

double ThresholdMultiManager::low(unsigned output, int component) const
{
    const Values* values = find(output, component);
    return values ? values->low : 0.0;
}

double ThresholdMultiManager::high(unsigned output, int component) const
{
    const Values* values = find(output, component);
    return values ? values->high : 0.0;
}

double ThresholdMultiManager::middle(unsigned output, int component) const
{
    const Values* values = find(output, component);
    return values ? values->middle : 0.0;
}

const ThresholdMultiManager::Values* ThresholdMultiManager::find(unsigned output, int component) const
{
    if (output < 1 || output > unsigned(m_outputs.size()) || component < 0)
        return nullptr;
    const QVector<Values>& components = m_outputs[int(output) - 1];
    return component < components.size() ? &components[component] : nullptr;
}

void ThresholdMultiManager::store(unsigned output, int component, double Values::*field, unsigned int mark,
                                  double value)
{
    if (output < 1 || output > unsigned(m_outputs.size()) || component < 0)
        return;
    QVector<Values>& components = m_outputs[int(output) - 1];
    if (components.size() <= component)
        components.resize(component + 1);
    double& stored = components[component].*field;
    if (stored == value)
        return;
    stored = value;
    emit emitValueChanged(mark, value);
}

} // namespace Utils
