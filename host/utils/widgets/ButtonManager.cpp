#include "ButtonManager.h"

namespace Utils {

ButtonManager::ButtonManager(QObject* parent) : QtAbstractPropertyManager(parent) {}

ButtonManager::~ButtonManager()
{
    clear();
}

QString ButtonManager::value(const QtProperty* property) const
{
    return m_texts.value(property);
}

void ButtonManager::setValue(QtProperty* property, const QString& text)
{
    const auto it = m_texts.find(property);
    if (it == m_texts.end() || it.value() == text)
        return;
    it.value() = text;
    emit propertyChanged(property);
    emit valueChanged(property, text);
}

QString ButtonManager::valueText(const QtProperty* property) const
{
    return m_texts.value(property);
}

void ButtonManager::initializeProperty(QtProperty* property)
{
    m_texts.insert(property, QString());
}

void ButtonManager::uninitializeProperty(QtProperty* property)
{
    m_texts.remove(property);
}

} // namespace Utils
