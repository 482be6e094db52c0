#pragma once

#include "tools/TreeSettings.h"

#include <QDialog>
#include <QMap>
#include <QVariant>

#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

namespace NimbarSensorPlugin::Core {

// The parameters in which the window and a settings file differ, one row
// each with the file's value to take; a taken row leaves the table. It only
// asks: whoever shows it puts the taken values into the window.
class SettingsCompareDialog : public QDialog
{
    Q_OBJECT
public:
    SettingsCompareDialog(const std::vector<SettingsComparison>& rows, QWidget* parent = nullptr);

    QTableWidget* table() const { return m_table; }

signals:
    // The file's values by id, in the sensor's units and codes.
    void taken(const QMap<QString, QVariant>& values);

private:
    void takeRow(const QString& id);
    void takeAll();
    void showWhetherSame();

    std::vector<SettingsComparison> m_rows;
    QLabel* m_summary;
    QTableWidget* m_table;
    QPushButton* m_takeAll;
};

} // namespace NimbarSensorPlugin::Core
