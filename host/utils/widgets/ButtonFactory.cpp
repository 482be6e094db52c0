#include "ButtonFactory.h"

#include <QPushButton>

#include <algorithm>

namespace Utils {

ButtonFactory::ButtonFactory(QObject* parent) : QtAbstractEditorFactory<ButtonManager>(parent) {}

ButtonFactory::~ButtonFactory()
{
    // The buttons could no longer follow their properties.
    const QList<QObject*> buttons = m_properties.keys();
    m_properties.clear();
    m_buttons.clear();
    qDeleteAll(buttons);
}

void ButtonFactory::connectPropertyManager(ButtonManager* manager)
{
    // propertyChanged covers the text as well as the enabled state.
    connect(manager, &QtAbstractPropertyManager::propertyChanged, this, &ButtonFactory::updateButtons);
    connect(manager, &QtAbstractPropertyManager::propertyDestroyed, this, &ButtonFactory::forgetProperty);
}

QWidget* ButtonFactory::createEditor(ButtonManager* manager, QtProperty* property, QWidget* parent)
{
    auto* button = new QPushButton(manager->value(property), parent);
    button->setEnabled(property->isEnabled());
    m_buttons[property].append(button);
    m_properties.insert(button, property);
    connect(button, &QObject::destroyed, this, &ButtonFactory::forgetButton);
    connect(button, &QPushButton::clicked, this, [this, button] { click(button); });
    return button;
}

void ButtonFactory::disconnectPropertyManager(ButtonManager* manager)
{
    disconnect(manager, nullptr, this, nullptr);
}

void ButtonFactory::updateButtons(QtProperty* property)
{
    const QList<QPushButton*> buttons = m_buttons.value(property);
    for (QPushButton* button : buttons) {
        button->setText(property->valueText());
        button->setEnabled(property->isEnabled());
    }
}

void ButtonFactory::forgetProperty(QtProperty* property)
{
    // The buttons stay until their view drops them, but must not reach the deleted property.
    const QList<QPushButton*> buttons = m_buttons.take(property);
    for (QPushButton* button : buttons) {
        m_properties.remove(button);
        button->setEnabled(false);
    }
}

void ButtonFactory::forgetButton(QObject* button)
{
    QtProperty* property = m_properties.take(button);
    if (!property)
        return;
    // The button is half destroyed: compare addresses only.
    auto it = m_buttons.find(property);
    it->erase(std::remove_if(it->begin(), it->end(),
                             [button](QPushButton* known) { return static_cast<QObject*>(known) == button; }),
              it->end());
    if (it->isEmpty())
        m_buttons.erase(it);
}

void ButtonFactory::click(QObject* button)
{
    QtProperty* property = m_properties.value(button);
    if (ButtonManager* manager = propertyManager(property))
        emit manager->buttonClicked(property);
}

} // namespace Utils
