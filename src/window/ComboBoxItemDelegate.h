#pragma once

#include <qteditorfactory.h>

namespace NimbarSensorPlugin::Core {

// The editor of string parameters: a line edit of at most 32 characters
// (the size of the sensor's text parameters) that tells the window about
// every edit instead of writing to the string manager; the window decides
// when the text goes to the sensor.
class ComboBoxItemDelegate : public QtLineEditFactory
{
    Q_OBJECT
public:
    explicit ComboBoxItemDelegate(QObject* parent = nullptr);
    using QtLineEditFactory::createEditor;

signals:
    void textEdited(const QString& text);
    void editingFinished();

protected:
    QWidget* createEditor(QtStringPropertyManager* manager, QtProperty* property, QWidget* parent) override;
};

} // namespace NimbarSensorPlugin::Core
