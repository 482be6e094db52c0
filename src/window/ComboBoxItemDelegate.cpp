#include "ComboBoxItemDelegate.h"

#include <qtpropertymanager.h>

#include <QLineEdit>

namespace NimbarSensorPlugin::Core {

ComboBoxItemDelegate::ComboBoxItemDelegate(QObject* parent) : QtLineEditFactory(parent) {}

QWidget* ComboBoxItemDelegate::createEditor(QtStringPropertyManager*, QtProperty* property, QWidget* parent)
{
    auto* editor = new QLineEdit(parent);
    editor->setMaxLength(32);
    editor->setText(property->valueText());
    connect(editor, &QLineEdit::textChanged, this, &ComboBoxItemDelegate::textEdited, Qt::DirectConnection);
    connect(editor, &QLineEdit::editingFinished, this, &ComboBoxItemDelegate::editingFinished,
            Qt::DirectConnection);
    return editor;
}

} // namespace NimbarSensorPlugin::Core
