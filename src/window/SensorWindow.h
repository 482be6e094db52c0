#pragma once

#include "catalogue/Sensor.h"

#include <extensionsystem/CommunicationInterface.h>

#include <QMainWindow>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <string>

class QComboBox;
class QDockWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QtBrowserItem;
class QtProperty;
class QtTreePropertyBrowser;

namespace ExtensionSystem {
class SensorBasic;
}

namespace Utils::Charts {
class GenericChart;
}

namespace NimbarSensorPlugin::Core {

class ComboBoxItemDelegate;
struct EchoRecord;
enum class FetchFailure;
class StateOfDeviceMyDelegate;
struct SensorVariant;
struct SensorWindowForm;
struct SensorWindowPrivate;

// The main window of one opened sensor: port selector, parameter tree,
// process-data and observation lists, chart area and tool bars.
class SensorWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit SensorWindow(const ExtensionSystem::SensorBasic& sensor);
    ~SensorWindow() override;

    // The catalogue record this window shows.
    const Sensor& sensorRecord() const { return sensor; }

    // The host's communication interface for the registered port, or null.
    ExtensionSystem::CommunicationInterface* communication() const;
    void setCommunication(ExtensionSystem::CommunicationInterface* communication);

    bool isConnected() const;
    // True while the sensor settles after connecting: edits stay in the window meanwhile.
    bool isSettling() const;

    QComboBox* portSelector() const;
    QComboBox* outputSelector() const;
    QDockWidget* propertyTreeDock() const;
    QDockWidget* processDataDock() const;
    QDockWidget* observationDock() const;
    QTreeWidget* processDataTree() const;
    QtTreePropertyBrowser* parameterBrowser() const { return propertyBrowser; }
    Utils::Charts::GenericChart* chart() const;
    const SensorWindowForm& form() const { return *ui; }

    // The parameter tree and its sensor addresses.
    QtProperty* rootProperty() const;
    QtProperty* findProperty(QtProperty* parent, const QString& id) const;
    QList<QtProperty*> collectProperties(QtProperty* parent) const;
    void setParameterVisible(const QString& id, bool visible);
    void enableEditableProperties();
    // "index;subIndex;size" of every parameter, by id.
    const QMap<QString, QString>& parameterAddressMap() const;
    const QMap<QString, QStringList>& choiceLists() const;
    // Why a row is marked (edited, not read, not written, not as the sensor
    // holds it); empty when it shows what the sensor holds.
    QString rowMark(const QString& id) const;
    // What the description document lacked, as shown to the user; empty when
    // the whole tree could be built.
    QStringList descriptionProblems() const { return documentProblems; }
    // Saves the tree and the distance history to fileName without asking;
    // empty on success, otherwise the reason.
    QString saveSettingsTo(const QString& fileName) const;
    // Why fileName cannot be loaded into this window (missing, corrupted,
    // for another sensor, no parameter values), as the user is told; empty
    // when it can.
    QString settingsFileProblem(const QString& fileName) const;
    // One line per parameter whose value in fileName is not the window's:
    // caption, file value, window value and unit, separated by tabs, in the
    // window's language. Read-only rows and counters are left out: they
    // describe one sensor, not its settings.
    QStringList settingsDifferences(const QString& fileName) const;
    // Watches port for the sensor's return and connects again, reading it,
    // when it is back.
    void waitForPort(const QString& port);
    // Writes the commissioning report to the PDF file fileName without
    // asking; empty on success, otherwise the reason.
    QString writeReport(const QString& fileName) const;

    // Signals and slots keep the order of the window's slot table: hosts and
    // tools address them by index.
signals:
    void vAboutToClose();
    // Raw text for the sensor; the interface sends it as it is.
    void vSendData(const QString& text);
    void vSendFrame(ExtensionSystem::CommunicationInterface::DataFrame frame);
    // The port the host is to register; an empty text releases it.
    void vComPortSelected(const QString& port);
    void vUpdateChart(double value);
    void sendQuery();

public slots:
    void vOpenManual();
    void updateChart();
    void updateComPortList(const QStringList& ports);
    void vRestoreFactorySettings();
    void vExportChartData();
    void vClearHistory();
    void vPrintDocument();
    void setWindowActive(bool active);
    void vAutoConnect(QString ComPort);
    void vSensorUpdate(const QVariant& value);
    void vSetCompleteName(QString str);
    void vSaveSettings();
    bool bOpenSettings(QString fileName);
    bool bOpenSettings();

private slots:
    void independentPlotZoomedSlot(int chart);
    void resetIndependentPlotSlot(int chart);
    void resizeIndependentPlotSlot(int chart);

protected slots:
    void updateCheckState(QTreeWidgetItem* it, int col);
    void textEdited(QString text);
    void vTextEditFinished();
    void vLoadSettings();
    void updateWindowTitle();
    void vConnectToPort(QString port);
    void vDisconnect();
    void enableStatusChecking(bool enable);
    void removeSubProperties(QtProperty* property);
    void queryStatusData(uint index);
    void queryStatusData();
    void queryChartData();
    void slotContinousDataTimeout();
    bool bCheckConnection();
    bool bConnectToSensor();
    void itemSelected(QtBrowserItem* item);
    void intValueChanged(QtProperty* property, int value);
    void doubleValueChanged(QtProperty* property, double value);
    void boolValueChanged(QtProperty* property, bool value);
    void stringValueChanged(QtProperty* property, QString value);
    void enumValueChanged(QtProperty* property, int value);
    void buttonClicked(QtProperty* property);
    void sendDataFrame(ExtensionSystem::CommunicationInterface::DataFrame* frame, bool showUi);
    void sendDataFrame(ExtensionSystem::CommunicationInterface::DataFrame* frame);
    void slotCurrentOutputChanged(int index);
    void chartThresholdChanged(uint mark, double value);
    void enableTreeDataHandling(bool enable);
    void enableStringManagerHandling(bool enabled);
    void actionEnableLiveData();
    void actionConnectSensor(int state);
    void sendDelayValue();
    void vUpdateProgressBar();
    void vWriteAllSettings(bool);
    void writeAllSettings();
    void vRadAllSettings(bool);
    void signalWriteModeIcon(bool signalIcon);
    void signalWriteModeIcon();
    void vZommResetForNoiseLine();
    void comboIndexChangedString(QString text);
    void comboIndexChangedInt(int index);
    void slotUpdatingTeachValues();

    // After the slot table, whose indices hosts rely on.
public slots:
    // Shows where a settings file differs from the window and lets the user
    // take the file's values as edits; never writes to the sensor.
    void compareWithSettingsFile();
    // Without asking for the file.
    void compareWithSettingsFile(const QString& fileName);
    // Asks for a PDF file name and writes the commissioning report there.
    void printReport();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createListDocks();
    QDockWidget* createListDock(const QString& title, const QString& objectName, QTreeWidget** tree);
    void createProcessDataRows();
    void createPropertyBrowser();
    void createChartArea();
    void retranslateLists();
    void retranslateWindow();
    void applyPresentationMode(bool hide);
    void foldListsWhenNarrow(int width);
    void createFileMenu();
    void createViewMenu();
    void retranslateFileMenu();
    void createSensorMenu();
    void retranslateSensorMenu();
    void showLiveDataState();
    void setSensorOperationsEnabled(bool enabled);
    void connectOrDisconnect();
    void showWindowMode();
    void showEchoPlot();

    void goOfflineSensorLost();
    void reconnectSensor(const QString& port);
    bool bSendCommand(const QByteArray& request, bool useUiSetting);
    QByteArray queryAnswer(const QByteArray& request, const QString& expectedAnswer);
    std::string bCheckConnectionRequest() const;
    void showConnectFailure(const QString& whatHappened);
    bool requestChosenPort();
    bool startConnecting();
    void connectingFailed();
    void connectSensorToPc();
    void readConnectedSensor();
    bool connectPcToSensor();
    void showIdentifiedSensor();
    void showConnectedVariant(const QString& code, const SensorVariant& variant);
    bool mayLeaveConnectedPort(int index);

    // The status poll.
    void showProcessData(const QByteArray& answer);
    void showEchoes(const EchoRecord& echoes);
    void clearEchoDisplay();
    void showCrashCounter(int count);
    void clearLiveValues();

    // Parameter values.
    void createEditor();
    void createSession();
    void followChoiceWritten(const QString& id, int position);
    void followWrite(const QString& id);
    void reportWriteAll();
    void showRowMark(QtProperty* property);
    void refuseTypedValue(QtProperty* property, double value);
    void createRowMenu();
    void showEditCount();
    bool settleEdits();
    void writeEditedRows();
    void enterWriteMode();
    void trimPinFunctionLists();
    void trimErrorWarningLists();
    void followChoiceRead(const QString& id, int position);
    void showErrorSource(const QString& id, int position);

    // Outputs, marks and units.
    void vUpdateOutputView();
    void vShowTestModeParameters(bool show);
    void vApplyUnitLimits();
    void vSwitchMeasurementUnit();
    void vScaleAnalogChart();
    void showReadValues(int unitBefore);
    void vConnectWindowTimers();
    // What the window shows once a settings file's values are in the tree.
    void finishLoadingSettings();

    bool buildParameterTree();
    void showDocumentProblems(const QString& path);

    SensorWindowPrivate* d;
    std::unique_ptr<SensorWindowForm> ui;
    QtTreePropertyBrowser* propertyBrowser = nullptr;
    Sensor sensor;
    QtProperty* selectedProperty = nullptr;
    ComboBoxItemDelegate* editNotifyFactory = nullptr;
    StateOfDeviceMyDelegate* stateDelegate = nullptr;
    QStringList documentProblems;
};

} // namespace NimbarSensorPlugin::Core
