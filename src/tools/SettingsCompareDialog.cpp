#include "SettingsCompareDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace NimbarSensorPlugin::Core {

namespace {

enum Column
{
    Caption,
    Window,
    File,
    Unit,
    Take,
    Columns
};

} // namespace

SettingsCompareDialog::SettingsCompareDialog(const std::vector<SettingsComparison>& rows, QWidget* parent)
    : QDialog(parent), m_rows(rows), m_summary(new QLabel(this)), m_table(new QTableWidget(this)),
      m_takeAll(new QPushButton(tr("Take all"), this))
{
    setWindowTitle(tr("Compare with settings file"));
    m_table->setObjectName("differences");
    m_takeAll->setObjectName("takeAll");
    m_table->setColumnCount(Columns);
    m_table->setHorizontalHeaderLabels({tr("Parameter"), tr("Sensor"), tr("File"), tr("Unit"), QString()});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->verticalHeader()->hide();
    m_table->setRowCount(int(m_rows.size()));
    for (int row = 0; row < int(m_rows.size()); ++row) {
        const SettingsComparison& difference = m_rows[std::size_t(row)];
        const QStringList texts{difference.caption, difference.windowValue, difference.fileValue,
                                difference.unit};
        for (int column = Caption; column < Take; ++column)
            m_table->setItem(row, column, new QTableWidgetItem(texts.at(column)));
        auto* take = new QPushButton(tr("Take the file's value"), m_table);
        take->setObjectName("take:" + difference.id);
        if (!difference.fileSensorValue.isValid()) {
            take->setEnabled(false);
            take->setToolTip(tr("This sensor cannot take the file's value."));
        }
        const QString id = difference.id;
        connect(take, &QPushButton::clicked, this, [this, id] { takeRow(id); });
        m_table->setCellWidget(row, Take, take);
    }
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setStretchLastSection(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(m_takeAll, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_takeAll, &QPushButton::clicked, this, &SettingsCompareDialog::takeAll);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    resize(720, 420);
    showWhetherSame();
}

void SettingsCompareDialog::takeRow(const QString& id)
{
    const auto found = std::find_if(m_rows.begin(), m_rows.end(),
                                    [&id](const SettingsComparison& row) { return row.id == id; });
    if (found == m_rows.end())
        return;
    const QVariant value = found->fileSensorValue;
    m_table->removeRow(int(found - m_rows.begin()));
    m_rows.erase(found);
    showWhetherSame();
    emit taken({{id, value}});
}

// Values this sensor cannot take stay in the table, so the user sees what
// is still different.
void SettingsCompareDialog::takeAll()
{
    QMap<QString, QVariant> values;
    for (int row = int(m_rows.size()) - 1; row >= 0; --row) {
        const SettingsComparison& difference = m_rows[std::size_t(row)];
        if (!difference.fileSensorValue.isValid())
            continue;
        values.insert(difference.id, difference.fileSensorValue);
        m_table->removeRow(row);
        m_rows.erase(m_rows.begin() + row);
    }
    showWhetherSame();
    if (!values.isEmpty())
        emit taken(values);
}

void SettingsCompareDialog::showWhetherSame()
{
    const bool same = m_rows.empty();
    m_summary->setText(same ? tr("The sensor window and the file hold the same values.")
                            : tr("%n parameter(s) differ:", nullptr, int(m_rows.size())));
    m_table->setVisible(!same);
    m_takeAll->setEnabled(std::any_of(m_rows.cbegin(), m_rows.cend(), [](const SettingsComparison& row) {
        return row.fileSensorValue.isValid();
    }));
}

} // namespace NimbarSensorPlugin::Core
