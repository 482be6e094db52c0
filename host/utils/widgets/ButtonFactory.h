#pragma once

#include "ButtonManager.h"

#include <QHash>

class QPushButton;

namespace Utils {

// Gives each property of its ButtonManagers a push button as editor. The button shows the
// property's text, follows its enabled state, and a click makes the manager emit
// buttonClicked(property).
class ButtonFactory : public QtAbstractEditorFactory<ButtonManager>
{
    Q_OBJECT
public:
    explicit ButtonFactory(QObject* parent = nullptr);
    ~ButtonFactory() override;

protected:
    void connectPropertyManager(ButtonManager* manager) override;
    QWidget* createEditor(ButtonManager* manager, QtProperty* property, QWidget* parent) override;
    void disconnectPropertyManager(ButtonManager* manager) override;

private:
    void updateButtons(QtProperty* property);
    void forgetProperty(QtProperty* property);
    void forgetButton(QObject* button);
    void click(QObject* button);

    QHash<QtProperty*, QList<QPushButton*>> m_buttons;
    QHash<QObject*, QtProperty*> m_properties;
};

} // namespace Utils
