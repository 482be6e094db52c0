#include "SettingsFileActions.h"

#include "DistanceChart.h"
#include "LengthUnits.h"
#include "SettingsCompareDialog.h"
#include "SettingsFile.h"
#include "TreeSettings.h"
#include "catalogue/Sensor.h"
#include "link/LinkSession.h"
#include "link/StatusPoll.h"
#include "parameters/ParameterEditor.h"
#include "parameters/ParameterModel.h"
#include "parameters/ParameterTree.h"
#include "parameters/SensorSession.h"

#include <utils/ValueOverTime.h>
#include <utils/charts/GenericChart.h>
#include <utils/charts/HistoryText.h>

#include <QDate>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace NimbarSensorPlugin::Core {

SettingsFileActions::SettingsFileActions(const SettingsFileParts& parts, QWidget* window)
    : QObject(window), m_parts(parts), m_window(window)
{
}

void SettingsFileActions::save()
{
    const QString proposed =
        proposedSettingsFileName(QString::fromStdString(m_parts.sensor.name()), QDate::currentDate());
    const QString fileName = QFileDialog::getSaveFileName(m_window, tr("Save As..."), proposed, "*.kvs");
    if (fileName.isEmpty())
        return;
    // A failure is said rather than passed over: the user believes the
    // settings are kept otherwise.
    const QString problem = saveTo(fileName);
    if (!problem.isEmpty()) {
        QMessageBox::critical(m_window, tr("Saving settings..."),
                              tr("The settings could not be saved to %1: %2").arg(fileName, problem),
                              QMessageBox::Ok);
        return;
    }
    emit message(tr("Settings saved to %1").arg(fileName));
}

QString SettingsFileActions::saveTo(const QString& fileName) const
{
    const TreeSettings settings(m_parts.tree, m_parts.model, m_parts.units);
    const QString problem =
        saveSettingsFile(fileName, settingsFileText(m_parts.sensor.name(), parameterText(settings.entries()),
                                                    m_parts.chart.chart()->dataToString(0)));
    if (problem.isEmpty())
        m_lastFile = fileName;
    return problem;
}

bool SettingsFileActions::open(QString fileName)
{
    if (fileName.isEmpty()) {
        fileName =
            QFileDialog::getOpenFileName(m_window, QString(), QString(), tr("Sensor Settings (*.kvs)"));
        if (fileName.isEmpty())
            return false;
    }
    SensorSession& session = m_parts.session;
    if (session.isConnected() &&
        QMessageBox::information(m_window, tr("Open Settings"),
                                 tr("Loaded settings will override the current project"),
                                 QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Cancel)
        return false;

    SettingsFileContent content;
    QString why;
    const SettingsFileStatus status = TreeSettings::read(fileName, m_parts.sensor.name(), &content, &why);
    if (status != SettingsFileStatus::Loaded) {
        QMessageBox::critical(m_window, tr("Opening settings..."), why, QMessageBox::Ok);
        // Nothing of an unreadable file is applied, but the window's own
        // values get their limits and, when connected, go to the sensor as
        // promised.
        if (status == SettingsFileStatus::Unreadable)
            finish();
        return false;
    }
    if (!content.hasPluginSettings) {
        finish();
        return false;
    }

    const SettingsCheck check = TreeSettings(m_parts.tree, m_parts.model, m_parts.units)
                                    .check(parseParameterText(content.propertyTreeData));
    if (!check.refused.isEmpty() && !acceptRefused(check))
        return false;
    if (content.hasPropertyTreeData && check.usable.isEmpty()) {
        QMessageBox::critical(m_window, tr("Opening settings..."), TreeSettings::noSettingsText(fileName),
                              QMessageBox::Ok);
        return false;
    }
    // Rows the file does not name keep what the sensor holds, and only what
    // differs from it is written: a connected sensor is read first unless
    // what it holds is known.
    if (session.isConnected() && !session.knowsSensor()) {
        if (m_parts.link.held())
            return false;
        session.readAll();
        if (!session.isConnected())
            return false;
    }

    m_parts.editor.listen(false);
    m_parts.poll.setLiveData(false);
    if (m_parts.link.communication())
        m_parts.poll.schedule();
    if (content.hasPropertyTreeData) {
        apply(check);
        m_lastFile = fileName;
        emit loaded(fileName);
    }

    bool historyWhole = false;
    if (content.hasChartData) {
        // A history that does not read back whole leaves the chart's own
        // history in place instead of an empty chart.
        Utils::ValueOverTime history;
        if (Utils::Charts::parseHistory(content.chartData, ';', history)) {
            Utils::Charts::GenericChart* chart = m_parts.chart.chart();
            chart->clear();
            historyWhole = chart->setDataFromString(0, content.chartData, ';');
            emit historyLoaded();
        } else {
            emit message(
                tr("The chart history in %1 could not be read; the chart keeps its own.").arg(fileName));
        }
    }
    finish();
    return content.hasPropertyTreeData && historyWhole;
}

QString SettingsFileActions::problem(const QString& fileName) const
{
    return TreeSettings(m_parts.tree, m_parts.model, m_parts.units).problem(fileName, m_parts.sensor.name());
}

// The parameter entries of a file this sensor can load; none otherwise.
std::optional<std::vector<SettingsEntry>> SettingsFileActions::loadableEntries(const QString& fileName) const
{
    SettingsFileContent content;
    QString message;
    if (TreeSettings::read(fileName, m_parts.sensor.name(), &content, &message) != SettingsFileStatus::Loaded)
        return std::nullopt;
    return parseParameterText(content.propertyTreeData);
}

QStringList SettingsFileActions::differences(const QString& fileName) const
{
    const auto entries = loadableEntries(fileName);
    return entries ? TreeSettings(m_parts.tree, m_parts.model, m_parts.units).differences(*entries)
                   : QStringList();
}

void SettingsFileActions::compare(QString fileName)
{
    const QString title = tr("Compare with settings file");
    if (fileName.isEmpty()) {
        fileName = QFileDialog::getOpenFileName(m_window, title, QString(), tr("Sensor Settings (*.kvs)"));
        if (fileName.isEmpty())
            return;
    }
    SettingsFileContent content;
    QString why;
    if (TreeSettings::read(fileName, m_parts.sensor.name(), &content, &why) != SettingsFileStatus::Loaded) {
        QMessageBox::critical(m_window, title, why, QMessageBox::Ok);
        return;
    }
    if (!content.hasPluginSettings || !content.hasPropertyTreeData) {
        QMessageBox::critical(m_window, title,
                              tr("The settings file %1 holds no parameter values.").arg(fileName),
                              QMessageBox::Ok);
        return;
    }
    const std::vector<SettingsComparison> rows = TreeSettings(m_parts.tree, m_parts.model, m_parts.units)
                                                     .compare(parseParameterText(content.propertyTreeData));
    auto* dialog = new SettingsCompareDialog(rows, m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &SettingsCompareDialog::taken, this, &SettingsFileActions::take);
    dialog->open();
}

// The user sees every value the sensor cannot take and decides whether the
// others are applied; Cancel, the default, applies nothing.
bool SettingsFileActions::acceptRefused(const SettingsCheck& check)
{
    QMessageBox box(QMessageBox::Warning, tr("Opening settings..."),
                    tr("%n value(s) in the file cannot be taken by this sensor and are left out:", nullptr,
                       int(check.refused.size())),
                    QMessageBox::Cancel, m_window);
    box.setInformativeText(check.refused.mid(0, 10).join('\n'));
    if (check.refused.size() > 10)
        box.setDetailedText(check.refused.join('\n'));
    QPushButton* apply = box.addButton(tr("Apply the others"), QMessageBox::AcceptRole);
    apply->setObjectName("applyOthers");
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    return box.clickedButton() == apply;
}

// The file's values become the user's edits over what the sensor holds; the
// unit the file was written in becomes the window's.
void SettingsFileActions::apply(const SettingsCheck& check)
{
    const ParameterTree::Quiet quiet(m_parts.tree);
    m_parts.units.setUnit(check.unit);
    for (auto it = check.usable.cbegin(); it != check.usable.cend(); ++it)
        m_parts.model.setEdit(it.key(), it.value());
}

// Taken values are marked as edits and stay in the window, as in its
// window-only mode; the window shows what follows from them.
void SettingsFileActions::take(const QMap<QString, QVariant>& values)
{
    {
        const ParameterTree::Quiet quiet(m_parts.tree);
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            m_parts.model.setEdit(it.key(), it.value());
    }
    emit valuesApplied();
}

// The end of every load that got past the file checks: what follows from
// the values is shown, and a connected sensor gets the window's values.
void SettingsFileActions::finish()
{
    emit valuesApplied();
    m_parts.editor.listen(true);
    if (m_parts.session.isConnected())
        m_parts.link.whenFree([this] { m_parts.session.writeLoadedSettings(); });
}

QMap<QString, QString> SettingsFileActions::differingValues(const QString& fileName) const
{
    const auto entries = loadableEntries(fileName);
    return entries ? TreeSettings(m_parts.tree, m_parts.model, m_parts.units).differingFileValues(*entries)
                   : QMap<QString, QString>();
}

} // namespace NimbarSensorPlugin::Core
