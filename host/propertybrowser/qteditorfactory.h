#pragma once

// Editor factories for the value managers. An editor writes to its manager only when the user
// finishes an edit (Enter, leaving the editor, or a choice that is an action in itself such as a
// click on a check box), never while the user types or steps through values; it follows the
// manager when the value changes elsewhere. A factory deletes the editors it created when it is
// deleted itself.

#include "qtpropertymanager.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;
template <class Editor> class QtEditorRegistry;

// A check box that carries the state's text; commits each toggle the user clicks or presses.
class QtCheckBoxFactory : public QtAbstractEditorFactory<QtBoolPropertyManager>
{
    Q_OBJECT
public:
    explicit QtCheckBoxFactory(QObject* parent = nullptr);
    ~QtCheckBoxFactory() override;

protected:
    void connectPropertyManager(QtBoolPropertyManager* manager) override;
    QWidget* createEditor(QtBoolPropertyManager* manager, QtProperty* property, QWidget* parent) override;
    void disconnectPropertyManager(QtBoolPropertyManager* manager) override;

private:
    std::unique_ptr<QtEditorRegistry<QCheckBox>> m_editors;
};

// A spin box with the property's step; commits when editing finishes a value within the
// property's range and refuses (valueRefused) one outside it.
class QtSpinBoxFactory : public QtAbstractEditorFactory<QtIntPropertyManager>
{
    Q_OBJECT
public:
    explicit QtSpinBoxFactory(QObject* parent = nullptr);
    ~QtSpinBoxFactory() override;

signals:
    // The user committed a value outside the property's range: it was not set.
    void valueRefused(QtProperty* property, int value);

protected:
    void connectPropertyManager(QtIntPropertyManager* manager) override;
    QWidget* createEditor(QtIntPropertyManager* manager, QtProperty* property, QWidget* parent) override;
    void disconnectPropertyManager(QtIntPropertyManager* manager) override;

private:
    std::unique_ptr<QtEditorRegistry<QSpinBox>> m_editors;
};

// A double spin box with the property's step and decimals; commits a value the user changed
// when editing finishes, within the property's range, and refuses (valueRefused) one outside it.
class QtDoubleSpinBoxFactory : public QtAbstractEditorFactory<QtDoublePropertyManager>
{
    Q_OBJECT
public:
    explicit QtDoubleSpinBoxFactory(QObject* parent = nullptr);
    ~QtDoubleSpinBoxFactory() override;

signals:
    // The user committed a value outside the property's range: it was not set.
    void valueRefused(QtProperty* property, double value);

protected:
    void connectPropertyManager(QtDoublePropertyManager* manager) override;
    QWidget* createEditor(QtDoublePropertyManager* manager, QtProperty* property, QWidget* parent) override;
    void disconnectPropertyManager(QtDoublePropertyManager* manager) override;

private:
    std::unique_ptr<QtEditorRegistry<QDoubleSpinBox>> m_editors;
};

// A line edit, validated by the property's pattern; commits the text when editing finishes.
// Subclasses may override createEditor(), call it here and wire the returned QLineEdit further.
class QtLineEditFactory : public QtAbstractEditorFactory<QtStringPropertyManager>
{
    Q_OBJECT
public:
    explicit QtLineEditFactory(QObject* parent = nullptr);
    ~QtLineEditFactory() override;

protected:
    void connectPropertyManager(QtStringPropertyManager* manager) override;
    QWidget* createEditor(QtStringPropertyManager* manager, QtProperty* property, QWidget* parent) override;
    void disconnectPropertyManager(QtStringPropertyManager* manager) override;

private:
    std::unique_ptr<QtEditorRegistry<QLineEdit>> m_editors;
};

// A combo box with the names and icons; commits an entry chosen from its list at once, one
// reached with keys on the closed box when editing finishes.
class QtEnumEditorFactory : public QtAbstractEditorFactory<QtEnumPropertyManager>
{
    Q_OBJECT
public:
    explicit QtEnumEditorFactory(QObject* parent = nullptr);
    ~QtEnumEditorFactory() override;

protected:
    void connectPropertyManager(QtEnumPropertyManager* manager) override;
    QWidget* createEditor(QtEnumPropertyManager* manager, QtProperty* property, QWidget* parent) override;
    void disconnectPropertyManager(QtEnumPropertyManager* manager) override;

private:
    std::unique_ptr<QtEditorRegistry<QComboBox>> m_editors;
};
