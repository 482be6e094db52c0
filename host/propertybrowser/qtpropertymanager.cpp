#include "qtpropertymanager.h"

#include <QApplication>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace {

// Puts reversed bounds in order and stores them; true when they changed.
template <class Data, class Value> bool storeBounds(Data& data, Value minimum, Value maximum)
{
    if (minimum > maximum)
        std::swap(minimum, maximum);
    if (data.minimum == minimum && data.maximum == maximum)
        return false;
    data.minimum = minimum;
    data.maximum = maximum;
    return true;
}

// Moves the value into the bounds; true when it moved.
template <class Data> bool clampIntoBounds(Data& data)
{
    const auto clamped = std::min(std::max(data.value, data.minimum), data.maximum);
    if (clamped == data.value)
        return false;
    data.value = clamped;
    return true;
}

// The style's own check-box indicator, so that an unedited bool row looks like its editor.
QIcon checkIndicator(bool checked)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return QIcon();
    const QStyle* style = QApplication::style();
    QStyleOptionButton option;
    option.state = QStyle::State_Enabled | (checked ? QStyle::State_On : QStyle::State_Off);
    option.rect = QRect(0, 0, style->pixelMetric(QStyle::PM_IndicatorWidth, &option),
                        style->pixelMetric(QStyle::PM_IndicatorHeight, &option));
    QPixmap pixmap(option.rect.size());
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter);
    painter.end();
    return QIcon(pixmap);
}

} // namespace

QtGroupPropertyManager::QtGroupPropertyManager(QObject* parent) : QtAbstractPropertyManager(parent) {}

QtGroupPropertyManager::~QtGroupPropertyManager()
{
    clear();
}

bool QtGroupPropertyManager::hasValue(const QtProperty*) const
{
    return false;
}

void QtGroupPropertyManager::initializeProperty(QtProperty*) {}

QtBoolPropertyManager::QtBoolPropertyManager(QObject* parent) : QtAbstractPropertyManager(parent) {}

QtBoolPropertyManager::~QtBoolPropertyManager()
{
    clear();
}

bool QtBoolPropertyManager::value(const QtProperty* property) const
{
    return m_values.value(property).value;
}

void QtBoolPropertyManager::setValue(QtProperty* property, bool value)
{
    auto data = m_values.find(property);
    if (data == m_values.end() || data->value == value)
        return;
    data->value = value;
    emit propertyChanged(property);
    emit valueChanged(property, value);
}

void QtBoolPropertyManager::setValue(QtProperty* property, bool value, const QString& trueText,
                                     const QString& falseText)
{
    auto data = m_values.find(property);
    if (data == m_values.end())
        return;
    const bool textsChanged = data->trueText != trueText || data->falseText != falseText;
    data->trueText = trueText;
    data->falseText = falseText;
    if (data->value != value)
        setValue(property, value);
    else if (textsChanged)
        emit propertyChanged(property);
}

QString QtBoolPropertyManager::valueText(const QtProperty* property) const
{
    const auto data = m_values.constFind(property);
    if (data == m_values.cend())
        return QString();
    if (data->value)
        return data->trueText.isEmpty() ? tr("True") : data->trueText;
    return data->falseText.isEmpty() ? tr("False") : data->falseText;
}

QIcon QtBoolPropertyManager::valueIcon(const QtProperty* property) const
{
    if (!m_values.contains(property))
        return QIcon();
    QIcon& icon = value(property) ? m_checkedIcon : m_uncheckedIcon;
    if (icon.isNull())
        icon = checkIndicator(value(property));
    return icon;
}

void QtBoolPropertyManager::initializeProperty(QtProperty* property)
{
    m_values.insert(property, Data());
}

void QtBoolPropertyManager::uninitializeProperty(QtProperty* property)
{
    m_values.remove(property);
}

QtIntPropertyManager::QtIntPropertyManager(QObject* parent) : QtAbstractPropertyManager(parent) {}

QtIntPropertyManager::~QtIntPropertyManager()
{
    clear();
}

int QtIntPropertyManager::value(const QtProperty* property) const
{
    return m_values.value(property).value;
}

int QtIntPropertyManager::minimum(const QtProperty* property) const
{
    return m_values.value(property).minimum;
}

int QtIntPropertyManager::maximum(const QtProperty* property) const
{
    return m_values.value(property).maximum;
}

int QtIntPropertyManager::singleStep(const QtProperty* property) const
{
    return m_values.value(property).singleStep;
}

void QtIntPropertyManager::setValue(QtProperty* property, int value)
{
    auto data = m_values.find(property);
    if (data == m_values.end())
        return;
    value = std::min(std::max(value, data->minimum), data->maximum);
    if (data->value == value)
        return;
    data->value = value;
    emit propertyChanged(property);
    emit valueChanged(property, value);
}

void QtIntPropertyManager::setMinimum(QtProperty* property, int minimum)
{
    if (m_values.contains(property))
        applyRange(property, minimum, std::max(minimum, maximum(property)));
}

void QtIntPropertyManager::setMaximum(QtProperty* property, int maximum)
{
    if (m_values.contains(property))
        applyRange(property, std::min(minimum(property), maximum), maximum);
}

void QtIntPropertyManager::setRange(QtProperty* property, int minimum, int maximum)
{
    if (m_values.contains(property))
        applyRange(property, minimum, maximum);
}

void QtIntPropertyManager::applyRange(QtProperty* property, int minimum, int maximum)
{
    Data& data = m_values[property];
    if (!storeBounds(data, minimum, maximum))
        return;
    emit rangeChanged(property, data.minimum, data.maximum);
    if (!clampIntoBounds(data))
        return;
    emit propertyChanged(property);
    emit valueChanged(property, data.value);
}

void QtIntPropertyManager::setSingleStep(QtProperty* property, int step)
{
    auto data = m_values.find(property);
    step = std::max(step, 0);
    if (data == m_values.end() || data->singleStep == step)
        return;
    data->singleStep = step;
    emit singleStepChanged(property, step);
}

QString QtIntPropertyManager::valueText(const QtProperty* property) const
{
    return m_values.contains(property) ? QString::number(value(property)) : QString();
}

void QtIntPropertyManager::initializeProperty(QtProperty* property)
{
    m_values.insert(property, Data());
}

void QtIntPropertyManager::uninitializeProperty(QtProperty* property)
{
    m_values.remove(property);
}

QtDoublePropertyManager::QtDoublePropertyManager(QObject* parent) : QtAbstractPropertyManager(parent) {}

QtDoublePropertyManager::~QtDoublePropertyManager()
{
    clear();
}

double QtDoublePropertyManager::value(const QtProperty* property) const
{
    return m_values.value(property).value;
}

double QtDoublePropertyManager::minimum(const QtProperty* property) const
{
    return m_values.value(property).minimum;
}

double QtDoublePropertyManager::maximum(const QtProperty* property) const
{
    return m_values.value(property).maximum;
}

double QtDoublePropertyManager::singleStep(const QtProperty* property) const
{
    return m_values.value(property).singleStep;
}

int QtDoublePropertyManager::decimals(const QtProperty* property) const
{
    return m_values.value(property).decimals;
}

void QtDoublePropertyManager::setValue(QtProperty* property, double value)
{
    auto data = m_values.find(property);
    if (data == m_values.end())
        return;
    value = std::min(std::max(value, data->minimum), data->maximum);
    if (data->value == value)
        return;
    data->value = value;
    emit propertyChanged(property);
    emit valueChanged(property, value);
}

void QtDoublePropertyManager::setMinimum(QtProperty* property, double minimum)
{
    if (m_values.contains(property))
        applyRange(property, minimum, std::max(minimum, maximum(property)));
}

void QtDoublePropertyManager::setMaximum(QtProperty* property, double maximum)
{
    if (m_values.contains(property))
        applyRange(property, std::min(minimum(property), maximum), maximum);
}

void QtDoublePropertyManager::setRange(QtProperty* property, double minimum, double maximum)
{
    if (m_values.contains(property))
        applyRange(property, minimum, maximum);
}

void QtDoublePropertyManager::applyRange(QtProperty* property, double minimum, double maximum)
{
    Data& data = m_values[property];
    if (!storeBounds(data, minimum, maximum))
        return;
    emit rangeChanged(property, data.minimum, data.maximum);
    if (!clampIntoBounds(data))
        return;
    emit propertyChanged(property);
    emit valueChanged(property, data.value);
}

void QtDoublePropertyManager::setSingleStep(QtProperty* property, double step)
{
    auto data = m_values.find(property);
    step = std::max(step, 0.0);
    if (data == m_values.end() || data->singleStep == step)
        return;
    data->singleStep = step;
    emit singleStepChanged(property, step);
}

void QtDoublePropertyManager::setDecimals(QtProperty* property, int decimals)
{
    auto data = m_values.find(property);
    decimals = std::min(std::max(decimals, 0), 13);
    if (data == m_values.end() || data->decimals == decimals)
        return;
    data->decimals = decimals;
    emit decimalsChanged(property, decimals);
    emit propertyChanged(property);
}

QString QtDoublePropertyManager::valueText(const QtProperty* property) const
{
    const auto data = m_values.constFind(property);
    if (data == m_values.cend())
        return QString();
    // Same notation as the spin box that edits it.
    return QLocale().toString(data->value, 'f', data->decimals);
}

void QtDoublePropertyManager::initializeProperty(QtProperty* property)
{
    m_values.insert(property, Data());
}

void QtDoublePropertyManager::uninitializeProperty(QtProperty* property)
{
    m_values.remove(property);
}

QtStringPropertyManager::QtStringPropertyManager(QObject* parent) : QtAbstractPropertyManager(parent) {}

QtStringPropertyManager::~QtStringPropertyManager()
{
    clear();
}

QString QtStringPropertyManager::value(const QtProperty* property) const
{
    return m_values.value(property).value;
}

QRegExp QtStringPropertyManager::regExp(const QtProperty* property) const
{
    return m_values.value(property).regExp;
}

void QtStringPropertyManager::setValue(QtProperty* property, const QString& value)
{
    auto data = m_values.find(property);
    if (data == m_values.end() || data->value == value)
        return;
    if (!data->regExp.isEmpty() && data->regExp.isValid() && !data->regExp.exactMatch(value))
        return;
    data->value = value;
    emit propertyChanged(property);
    emit valueChanged(property, value);
}

void QtStringPropertyManager::setRegExp(QtProperty* property, const QRegExp& regExp)
{
    auto data = m_values.find(property);
    if (data == m_values.end() || data->regExp == regExp)
        return;
    data->regExp = regExp;
    emit regExpChanged(property, regExp);
}

QString QtStringPropertyManager::valueText(const QtProperty* property) const
{
    return value(property);
}

void QtStringPropertyManager::initializeProperty(QtProperty* property)
{
    m_values.insert(property, Data());
}

void QtStringPropertyManager::uninitializeProperty(QtProperty* property)
{
    m_values.remove(property);
}

QtEnumPropertyManager::QtEnumPropertyManager(QObject* parent) : QtAbstractPropertyManager(parent) {}

QtEnumPropertyManager::~QtEnumPropertyManager()
{
    clear();
}

int QtEnumPropertyManager::value(const QtProperty* property) const
{
    return m_values.value(property).value;
}

QStringList QtEnumPropertyManager::enumNames(const QtProperty* property) const
{
    return m_values.value(property).names;
}

QMap<int, QIcon> QtEnumPropertyManager::enumIcons(const QtProperty* property) const
{
    return m_values.value(property).icons;
}

void QtEnumPropertyManager::setValue(QtProperty* property, int value)
{
    auto data = m_values.find(property);
    if (data == m_values.end() || value < 0 || value >= data->names.size() || data->value == value)
        return;
    data->value = value;
    emit propertyChanged(property);
    emit valueChanged(property, value);
}

void QtEnumPropertyManager::setEnumNames(QtProperty* property, const QStringList& names)
{
    auto data = m_values.find(property);
    if (data == m_values.end() || data->names == names)
        return;
    data->names = names;
    data->value = names.isEmpty() ? -1 : 0;
    emit enumNamesChanged(property, names);
    emit propertyChanged(property);
}

void QtEnumPropertyManager::setEnumIcons(QtProperty* property, const QMap<int, QIcon>& icons)
{
    auto data = m_values.find(property);
    if (data == m_values.end())
        return;
    // Icons have no equality; the same keys with the same cached images count as unchanged.
    const auto sameIcon = [](const QIcon& a, const QIcon& b) { return a.cacheKey() == b.cacheKey(); };
    if (data->icons.keys() == icons.keys() &&
        std::equal(data->icons.cbegin(), data->icons.cend(), icons.cbegin(), sameIcon))
        return;
    data->icons = icons;
    emit enumIconsChanged(property, icons);
    emit propertyChanged(property);
}

QString QtEnumPropertyManager::valueText(const QtProperty* property) const
{
    const Data data = m_values.value(property);
    return data.names.value(data.value);
}

QIcon QtEnumPropertyManager::valueIcon(const QtProperty* property) const
{
    const Data data = m_values.value(property);
    return data.icons.value(data.value);
}

void QtEnumPropertyManager::initializeProperty(QtProperty* property)
{
    m_values.insert(property, Data());
}

void QtEnumPropertyManager::uninitializeProperty(QtProperty* property)
{
    m_values.remove(property);
}
