// A seeded random walk through the sensor window with the real description
// document against the simulated sensor at the wire's speed: typed values,
// lists, units, languages, reads and writes, settings files, teach buttons,
// connecting both ways, going offline and the line going and coming back,
// each through the widgets a user works with. After every step that has
// settled it checks that the window shows what the sensor holds or says why
// not, that nothing was written the user did not ask for, that every read
// went out whole, and that the menus say what the window is doing. A failure
// names its seed and steps; the seed alone repeats them.
#include "WalkSupport.h"

#include <window/SensorWindowForm.h>

#include <tools/SettingsFile.h>

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

using namespace NimbarSensorPlugin::Core;

namespace {

const QString variant = "107";
const QRegularExpression writeCommand("^.. .. 2[34] ");
// Reads of parameters; the status poll's own reads (crash counter, echoes) aside.
const QRegularExpression parameterRead("^05 .. 26 (?!23 13|11 12)");

QString translated(const char* text)
{
    return QCoreApplication::translate("NimbarSensorPlugin::Core::SensorWindow", text);
}

// One step as the walk took it, and what may follow from it.
struct Step
{
    explicit Step(QString text = QString()) : text(std::move(text)) {}

    QString text;
    bool mayWrite = false;
    // Not meant for the port selector: the connection must stay as it is.
    bool stray = false;
    bool readsAll = false;
    bool lineLostDuringRead = false;
    bool waitForOffline = false;
    int minimumMs = 900;
    // How long after its last write the step still reads (a teach's read-back).
    int readsAfterWriteMs = 0;
    // A typed value committed to a row, in the row's unit.
    QString typedId;
    double typed = 0.0;
    // A settings file the user picked, with the numbers it sets.
    bool loadsFile = false;
    QMap<QString, qlonglong> fileNumbers;
};

class Walk
{
public:
    Walk(const PluginLibrary& plugin, const QString& document, const QString& folder, quint32 seed)
        : random(seed), answers(seed ^ 0x5eedu), folder(folder), seed(seed)
    {
        rig = std::make_unique<LinkRig>(plugin, document, folder + "/trace.txt", "UM035/107", "RT5-350-M18",
                                        true, seed);
        rig->workbench.resize(1280, 800);
        rig->workbench.show();
        if (!QTest::qWaitForWindowExposed(&rig->workbench))
            qWarning("the workbench did not show: clicks may miss");
        tree()->expandAll();
        rig->device->model().holdTarget(int(random.bounded(60, 340)));
    }

    // Empty when every step kept the rules; otherwise the failure with the steps.
    QString run(int steps, int* walked)
    {
        for (int n = 1; n <= steps; ++n) {
            *walked = n;
            answers.startStep();
            rig->clearTrace();
            const bool wasConnected = rig->window->isConnected();
            const bool wasWriteMode = modeText() == translated("Mode: write");
            const QMap<QString, qlonglong> before = sensorNumbers(*rig);
            log << QString("%1. ").arg(n);
            Step step = takeStep();
            log.last() += step.text;
            settle(step);
            if (!answers.asked.isEmpty())
                log.last() += " [" + answers.asked.join("; ") + "]";
            if (!rig->window->isConnected())
                treeRead = false;
            else if (step.readsAll && !lineDown)
                treeRead = true;
            const QString failure = check(step, wasConnected, wasWriteMode, before);
            if (!failure.isEmpty())
                return QString("seed %1, step %2: %3\nreplay: IOLINK_WALK_SEEDS=%1 tst_walk\n%4%5")
                    .arg(seed)
                    .arg(n)
                    .arg(failure, log.join('\n'), keptTrace());
        }
        return QString();
    }

private:
    // The failing step's trace, kept where scripts/walk keeps the output.
    QString keptTrace() const
    {
        const QString folder = qEnvironmentVariable("WALK_OUT");
        const QString kept = QString("%1/seed-%2-trace.txt").arg(folder).arg(seed);
        if (folder.isEmpty() || !QFile::copy(rig->traceFile(), kept))
            return QString();
        return "\nthe last step's trace: " + kept;
    }
    QTreeWidget* tree() const
    {
        return rig->window->parameterBrowser()->findChild<QTreeWidget*>("propertyTreeView");
    }
    QString modeText() const { return rig->window->findChild<QLabel*>("modeLabel")->text(); }
    bool popupShown() const
    {
        auto* popup = rig->window->findChild<QWidget*>("DataFrameSenderUi");
        return popup && popup->isVisible();
    }
    template <class T> T pick(const QList<T>& list) { return list.value(int(random.bounded(list.size()))); }
    bool chance(int percent) { return int(random.bounded(100)) < percent; }

    // The row of a parameter, scrolled into view and current; its value cell.
    QTreeWidgetItem* showRow(const QString& id)
    {
        QtBrowserItem* item = rig->window->parameterBrowser()->items(rig->property(id)).value(0);
        if (!item)
            return nullptr;
        rig->window->parameterBrowser()->setCurrentItem(item);
        QTreeWidgetItem* row = tree()->currentItem();
        if (row)
            tree()->scrollToItem(row);
        return row;
    }
    QPoint cell(QTreeWidgetItem* row, int column) const
    {
        const QRect rect = tree()->visualItemRect(row);
        return {tree()->header()->sectionViewportPosition(column) + 8, rect.center().y()};
    }
    // Clicks the row's value and returns the editor that opened, if any.
    QWidget* openEditor(const QString& id)
    {
        QTreeWidgetItem* row = showRow(id);
        if (!row)
            return nullptr;
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, Qt::NoModifier, cell(row, 1));
        return tree()->itemWidget(row, 1);
    }
    // Whether the click meant for a row's value made a check box's row
    // current instead: the click then toggled that check box.
    bool clickedCheckBox() const
    {
        QTreeWidgetItem* hit = tree()->currentItem();
        if (!hit)
            return false;
        for (const QString& id : settingRows(*rig)) {
            QtProperty* property = rig->property(id);
            if (property->propertyName() == hit->text(0) &&
                property->propertyManager() == rig->manager<QtBoolPropertyManager>(id))
                return true;
        }
        return false;
    }
    QList<QString> rowsOf(const std::function<bool(QtAbstractPropertyManager*, const QString&)>& wanted) const
    {
        QList<QString> ids;
        for (const QString& id : settingRows(*rig)) {
            if (wanted(rig->property(id)->propertyManager(), id))
                ids << id;
        }
        return ids;
    }

    // Picks a port in the selector's list as a user does: open it, move to
    // the entry, press Enter.
    void choosePort(int index)
    {
        QComboBox* ports = rig->window->portSelector();
        ports->showPopup();
        QAbstractItemView* view = ports->view();
        view->setCurrentIndex(ports->model()->index(index, 0));
        QTest::keyClick(view, Qt::Key_Return);
    }

    Step takeStep()
    {
        const bool connected = rig->window->isConnected();
        struct Kind
        {
            int weight;
            Step (Walk::*run)();
        };
        QList<Kind> kinds;
        if (lineDown) {
            kinds = {{30, &Walk::lineBack},          {6, &Walk::typeValue},      {3, &Walk::chooseFromList},
                     {3, &Walk::switchUnit},         {2, &Walk::switchLanguage}, {3, &Walk::loadFile},
                     {4, &Walk::strayOnPortSelector}};
        } else if (connected) {
            kinds = {{30, &Walk::typeValue},     {12, &Walk::chooseFromList},
                     {5, &Walk::editTag},        {5, &Walk::switchUnit},
                     {3, &Walk::switchLanguage}, {2, &Walk::readAll},
                     {2, &Walk::writeAll},       {4, &Walk::loadFile},
                     {3, &Walk::teach},          {6, &Walk::strayOnPortSelector},
                     {2, &Walk::disconnect},     {3, &Walk::loseLine},
                     {4, &Walk::moveTarget}};
        } else {
            kinds = {{30, &Walk::connectToSensor},   {6, &Walk::connectAndLoseLine},
                     {8, &Walk::typeValue},          {4, &Walk::chooseFromList},
                     {3, &Walk::switchUnit},         {2, &Walk::switchLanguage},
                     {4, &Walk::loadFile},           {8, &Walk::changeSensorElsewhere},
                     {3, &Walk::strayOnPortSelector}};
        }
        int total = 0;
        for (const Kind& kind : kinds)
            total += kind.weight;
        int chosen = int(random.bounded(total));
        for (const Kind& kind : kinds) {
            chosen -= kind.weight;
            if (chosen < 0)
                return (this->*kind.run)();
        }
        return Step();
    }

    // A number typed into a row's editor, in or out of its range, committed
    // with Enter or by leaving the editor, or abandoned with Esc.
    Step typeValue()
    {
        const QList<QString> ids = rowsOf([this](QtAbstractPropertyManager* m, const QString& id) {
            return id != "MesurementUnit" && (m == rig->manager<QtIntPropertyManager>(id) ||
                                              m == rig->manager<QtDoublePropertyManager>(id));
        });
        const QString id = pick(ids);
        const RowRange range = rowRange(*rig, id);
        const int low = range.low;
        const int high = std::max(low, range.high);
        const int decimals = range.decimals;
        double value = 0;
        switch (random.bounded(5)) {
        case 0:
            value = high + 1 + random.bounded(std::max(1, high));
            break;
        case 1:
            value = low - 1 - random.bounded(20);
            break;
        case 2:
            if (decimals > 0) {
                value = random.bounded(low, high) + (1 + random.bounded(9)) / 10.0;
                break;
            }
            [[fallthrough]];
        default:
            value = random.bounded(low, high + 1);
        }
        const QString text = QString::number(value, 'f', decimals > 0 && value != std::floor(value) ? 1 : 0);
        Step step;
        step.text = QString("type %1 into %2").arg(text, id);
        QWidget* editor = openEditor(id);
        if (!editor) {
            step.text += " (no editor)";
            // A click that landed on a check box instead is the user's write.
            step.mayWrite = clickedCheckBox();
            return step;
        }
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, text);
        const int how = int(random.bounded(4));
        if (how == 3) {
            step.text += ", Esc";
            QTest::keyClick(editor, Qt::Key_Escape);
            return step;
        }
        step.mayWrite = true;
        step.typedId = id;
        step.typed = value;
        if (how == 0 || how == 1) {
            step.text += ", Enter";
            QTest::keyClick(editor, Qt::Key_Return);
        } else {
            step.text += ", leave with Down";
            QTest::keyClick(editor, Qt::Key_Down);
        }
        return step;
    }

    // Another entry of a list row, picked from the row's opened list.
    Step chooseFromList(const QString& only = QString())
    {
        const QList<QString> ids = rowsOf([this](QtAbstractPropertyManager* m, const QString& id) {
            return m == rig->manager<QtEnumPropertyManager>(id) && id != "MesurementUnit" && id != "TestMode";
        });
        const QString id = only.isEmpty() ? pick(ids) : only;
        Step step;
        step.mayWrite = true;
        auto* combo = qobject_cast<QComboBox*>(openEditor(id));
        if (!combo || combo->count() < 2) {
            step.text = "open the list of " + id + " (no list)";
            return step;
        }
        int index = int(random.bounded(combo->count() - 1));
        if (index >= combo->currentIndex())
            ++index;
        step.text = QString("choose \"%1\" for %2").arg(combo->itemText(index), id);
        combo->showPopup();
        combo->view()->setCurrentIndex(combo->model()->index(index, 0));
        QTest::keyClick(combo->view(), Qt::Key_Return);
        if (QWidget* editor = tree()->itemWidget(tree()->currentItem(), 1))
            QTest::keyClick(editor, Qt::Key_Return);
        return step;
    }
    Step chooseFromList() { return chooseFromList(QString()); }
    Step switchUnit() { return chooseFromList("MesurementUnit"); }

    Step editTag()
    {
        const QString id =
            pick(rowsOf([](QtAbstractPropertyManager*, const QString& id) { return id.contains("Tag"); }));
        const QString text = pick(QStringList{"Conveyor 3", "Bay 7", "Pallet", "x"});
        Step step;
        step.text = QString("type \"%1\" into %2, Enter").arg(text, id);
        step.mayWrite = true;
        QWidget* editor = openEditor(id);
        if (!editor)
            return step;
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        if (tree()->itemWidget(tree()->currentItem(), 1) == editor)
            QTest::keyClick(editor, Qt::Key_Escape);
        return step;
    }

    Step switchLanguage()
    {
        const bool german =
            QCoreApplication::translate("NimbarSensorPlugin::Core::SensorWindow", "Offline") != "Offline";
        const QString name = german ? "actionLanguage_en" : "actionLanguage_de";
        if (auto* action = rig->workbench.findChild<QAction*>(name))
            action->trigger();
        return Step{"language " + name.right(2)};
    }

    void clickToolButton(QAction* action)
    {
        QWidget* button = rig->window->form().sensorOperationsToolbar->widgetForAction(action);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    Step readAll()
    {
        Step step{"read (tool bar)"};
        step.readsAll = true;
        clickToolButton(rig->window->form().actionRead);
        return step;
    }
    Step writeAll()
    {
        Step step{"write all (tool bar)"};
        step.mayWrite = true;
        clickToolButton(rig->window->form().actionWritePermanent);
        return step;
    }

    Step teach()
    {
        QList<QString> buttons;
        for (const char* id : {"TEACHBUTTON1", "TEACHBUTTON2"}) {
            if (rig->visible(id))
                buttons << id;
        }
        const QString id = pick(buttons);
        Step step{"teach button " + id};
        step.mayWrite = true;
        step.readsAfterWriteMs = 5500;
        if (auto* button = qobject_cast<QPushButton*>(openEditor(id)))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            step.text += " (no button)";
        return step;
    }

    Step moveTarget()
    {
        const int distance = chance(20) ? 0 : int(random.bounded(60, 340));
        rig->device->model().holdTarget(distance);
        return Step{QString("the object moves to %1 mm").arg(distance)};
    }

    // While offline, another tool changes a few settings on the sensor.
    Step changeSensorElsewhere()
    {
        Step step{"the sensor is changed elsewhere:"};
        const QList<QString> ids = rowsOf([this](QtAbstractPropertyManager* m, const QString& id) {
            return m == rig->manager<QtIntPropertyManager>(id) ||
                   (m == rig->manager<QtDoublePropertyManager>(id) && id != "DetectionRangeFar" &&
                    !shownInInches(*rig, id));
        });
        for (int k = 0; k < 3; ++k) {
            const QString id = pick(ids);
            const RowRange range = rowRange(*rig, id);
            const int value = int(random.bounded(range.low, range.high + 1));
            rig->setOnSensor(id, value);
            step.text += QString(" %1=%2").arg(id).arg(value);
        }
        return step;
    }

    Step connectToSensor()
    {
        const int way = int(random.bounded(10));
        answers.connectionButton = way < 6 ? "sensorToPc" : way < 9 ? "pcToSensor" : "cancel";
        Step step{"choose the port, " + answers.connectionButton};
        step.readsAll = answers.connectionButton == "sensorToPc";
        step.mayWrite = answers.connectionButton == "pcToSensor";
        choosePort(rig->window->portSelector()->findText(rig->port));
        return step;
    }

    // Connecting "Sensor -> PC", and the line goes while everything is read.
    Step connectAndLoseLine()
    {
        const int after = int(random.bounded(2000, 9000));
        const bool unplug = chance(50);
        Step step{QString("choose the port, sensorToPc; the line goes (%1) after %2 ms")
                      .arg(unplug ? "unplugged" : "silent")
                      .arg(after)};
        step.lineLostDuringRead = true;
        step.waitForOffline = true;
        answers.connectionButton = "sensorToPc";
        loseLineAfter(after, unplug);
        choosePort(rig->window->portSelector()->findText(rig->port));
        return step;
    }

    void loseLineAfter(int ms, bool unplug)
    {
        lineDown = true;
        unplugged = unplug;
        QTimer::singleShot(ms, rig->window, [device = rig->device, unplug] {
            if (unplug)
                device->unplug();
            else
                device->faults().setSilent(true);
        });
    }

    Step loseLine()
    {
        const bool unplug = chance(50);
        Step step;
        step.waitForOffline = true;
        if (chance(50)) {
            const int after = int(random.bounded(1000, 8000));
            step.text = QString("read (tool bar); the line goes (%1) after %2 ms")
                            .arg(unplug ? "unplugged" : "silent")
                            .arg(after);
            step.lineLostDuringRead = true;
            loseLineAfter(after, unplug);
            clickToolButton(rig->window->form().actionRead);
        } else {
            step.text = QString("the line goes (%1)").arg(unplug ? "unplugged" : "silent");
            loseLineAfter(0, unplug);
        }
        return step;
    }

    Step lineBack()
    {
        rig->device->faults().setSilent(false);
        if (unplugged)
            rig->device->plugIn();
        lineDown = false;
        return Step{"the line comes back"};
    }

    Step disconnect()
    {
        if (chance(50)) {
            choosePort(0);
            return Step{"choose Offline in the port list"};
        }
        triggerAction(*rig->window, translated("&Disconnect"));
        return Step{"Disconnect (menu)"};
    }

    // A wheel notch or an arrow key that lands on the port selector.
    Step strayOnPortSelector()
    {
        QComboBox* ports = rig->window->portSelector();
        Step step;
        step.stray = true;
        const int up = chance(50) ? 1 : -1;
        if (chance(50)) {
            step.text = QString("wheel notch %1 on the port selector").arg(up > 0 ? "up" : "down");
            const QPoint centre = ports->rect().center();
            QWheelEvent wheel(centre, ports->mapToGlobal(centre), QPoint(), QPoint(0, 120 * up), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(ports, &wheel);
        } else {
            step.text = QString("arrow key %1 on the port selector").arg(up > 0 ? "up" : "down");
            QTest::keyClick(ports, up > 0 ? Qt::Key_Up : Qt::Key_Down);
        }
        return step;
    }

    // A settings file of one of the kinds a user comes across, opened with
    // the workbench's File menu.
    Step loadFile()
    {
        static int files = 0;
        const QString path = QString("%1/settings-%2.kvs").arg(folder).arg(++files);
        const std::string name = rig->window->sensorRecord().name();
        Step step;
        step.loadsFile = true;
        std::vector<SettingsEntry> entries;
        SettingsFileContent content;
        const QString own = folder + "/own.kvs";
        rig->window->saveSettingsTo(own);
        if (readSettingsFile(own, name, &content) == SettingsFileStatus::Loaded)
            entries = parseParameterText(content.propertyTreeData);
        const QList<QString> delays = {"OnDelay1", "OffDelay1", "OnDelay2", "OffDelay2"};
        auto setNumber = [&](const QString& id, qlonglong value) {
            for (SettingsEntry& entry : entries) {
                if (entry.id == id.toStdString())
                    entry.value = settingsIntText(int(value));
            }
            step.fileNumbers.insert(id, value);
        };
        const char* kinds[] = {"good",           "out of range",   "partial",
                               "nothing usable", "foreign sensor", "corrupt"};
        const int kind = int(random.bounded(6));
        for (int k = 0; kind == 0 && k < 2; ++k)
            setNumber(pick(delays), random.bounded(0, 5000));
        if (kind == 1)
            setNumber(pick(delays), 70000 + random.bounded(1000));
        std::string parameters = kind == 3 ? "NoSuchParameter=1;;" : parameterText(entries);
        if (kind == 2) {
            const QString id = pick(delays);
            setNumber(id, random.bounded(0, 5000));
            parameters =
                parameterText({{id.toStdString(), settingsIntText(int(step.fileNumbers.value(id)))}});
        }
        const std::string fileText =
            kind == 5 ? "<root><plugin" : settingsFileText(kind == 4 ? "RT5-6000-M30" : name, parameters, "");
        saveSettingsFile(path, fileText);
        step.text = QString("open settings file %1 (%2").arg(QFileInfo(path).fileName(), kinds[kind]);
        for (auto it = step.fileNumbers.cbegin(); it != step.fileNumbers.cend(); ++it)
            step.text += QString(" %1=%2").arg(it.key()).arg(it.value());
        step.text += ")";
        answers.fileName = path;
        triggerAction(rig->workbench, QCoreApplication::translate("WorkbenchWindow", "Open &settings..."));
        return step;
    }

    // Waits until no dialog is open, the pop-up has gone, and no parameter
    // has been read or written for a while: the write timer has had its turn.
    void settle(const Step& step)
    {
        QElapsedTimer since;
        since.start();
        QElapsedTimer quiet;
        quiet.start();
        int seen = -1;
        int writes = 0;
        QElapsedTimer sinceWrite;
        while (since.elapsed() < 90000) {
            QTest::qWait(50);
            const QWidget* modal = QApplication::activeModalWidget();
            if ((modal && modal->objectName() != "DataFrameSenderUi") || popupShown())
                continue;
            if (step.waitForOffline && rig->window->isConnected() && since.elapsed() < 20000)
                continue;
            const QStringList sent = rig->sent();
            if (sent.filter(writeCommand).size() != writes) {
                writes = int(sent.filter(writeCommand).size());
                sinceWrite.start();
            }
            const int count = int(writes + sent.filter(parameterRead).size());
            if (count != seen) {
                seen = count;
                quiet.restart();
                continue;
            }
            const bool readBackDue = writes > 0 && sinceWrite.elapsed() < step.readsAfterWriteMs;
            if (quiet.elapsed() >= 500 && since.elapsed() >= step.minimumMs && !readBackDue)
                return;
        }
    }

    QString check(const Step& step, bool wasConnected, bool wasWriteMode,
                  const QMap<QString, qlonglong>& before)
    {
        const bool connected = rig->window->isConnected();
        const bool mayWrite = step.mayWrite || (step.loadsFile && answers.confirmed) || answers.savedEdits;
        const QStringList sent = rig->sent();
        if (!mayWrite && !sent.filter(writeCommand).isEmpty())
            return "written without the user's asking: " + sent.filter(writeCommand).join("; ");
        if (!requestsBetweenReadsAndFetches(sent).isEmpty())
            return "requests between a read and its fetch: " +
                   requestsBetweenReadsAndFetches(sent).join("; ");
        if (step.stray && wasConnected && !connected && answers.asked.isEmpty())
            return "a stray input on the port selector disconnected the sensor without asking";

        // The menus and the port selector say what the window is doing.
        const bool selectorSaysConnected = rig->window->portSelector()->currentIndex() > 1;
        QString menuText;
        for (QAction* action : rig->window->findChildren<QAction*>()) {
            if (action->shortcut() == QKeySequence(Qt::CTRL + Qt::Key_K))
                menuText = action->text();
        }
        const bool menuSaysConnected = menuText == translated("&Disconnect");
        if (connected != selectorSaysConnected || connected != menuSaysConnected)
            return QString("connected: %1, port selector shows \"%2\", the menu offers \"%3\"")
                .arg(connected)
                .arg(rig->window->portSelector()->currentText(), menuText);
        if (connected && treeRead && modeText() != translated("Mode: write"))
            return "after a completed read of all the window shows \"" + modeText() + "\"";

        if (connected && treeRead) {
            const QStringList unlike = unmarkedRowsUnlikeTheSensor(*rig, variant);
            if (!unlike.isEmpty())
                return "rows unlike the sensor without a mark: " + unlike.join("; ");
        }
        if (step.lineLostDuringRead && !connected) {
            const QStringList unlike = unmarkedRowsUnlikeTheSensor(*rig, variant);
            if (!unlike.isEmpty())
                return "after the line was lost while reading, rows unlike the sensor without a mark: " +
                       unlike.join("; ");
        }

        // A committed value is what the sensor holds, or the row says why not.
        if (!step.typedId.isEmpty() && wasConnected && connected && wasWriteMode && !lineDown &&
            rig->mark(step.typedId).isEmpty()) {
            const QString& id = step.typedId;
            const qlonglong held = rig->simulated(id);
            const RowValues values = rowValues(*rig, id, variant);
            const bool inches = shownInInches(*rig, id);
            const bool takenAsTyped =
                inches ? std::abs(held - step.typed * 25.4) <= 0.5 : std::abs(held - step.typed) < 1e-9;
            const bool leftAsItWas = held == before.value(id) && values.tree == values.sensor;
            if (!takenAsTyped && !leftAsItWas)
                return QString("typed %1 into %2; the sensor holds %3, the row shows %4 and is not marked")
                    .arg(step.typed)
                    .arg(id)
                    .arg(held)
                    .arg(values.tree);
        }

        // A file changes the sensor only in what it holds, or marks the row.
        if (step.loadsFile && answers.confirmed && wasConnected && connected) {
            const QMap<QString, qlonglong> after = sensorNumbers(*rig);
            QStringList wrong;
            // A value the sensor cannot hold is refused: the sensor keeps its own.
            const bool refusedKind = step.text.contains("out of range");
            for (auto it = after.cbegin(); it != after.cend(); ++it) {
                if (!rig->mark(it.key()).isEmpty())
                    continue;
                if (step.fileNumbers.contains(it.key()) && !refusedKind
                        ? it.value() != step.fileNumbers.value(it.key())
                        : it.value() != before.value(it.key()) && !step.text.contains("good"))
                    wrong << QString("%1: sensor %2, before %3, file %4")
                                 .arg(it.key())
                                 .arg(it.value())
                                 .arg(before.value(it.key()))
                                 .arg(step.fileNumbers.contains(it.key())
                                          ? QString::number(step.fileNumbers.value(it.key()))
                                          : QString("-"));
            }
            if (!wrong.isEmpty())
                return "after loading the file the sensor holds what the file did not say, unmarked: " +
                       wrong.join("; ");
        }

        // Offline, no live value is left: no distance, no output on. The
        // rows the master sends the device are settings, not live values.
        const QStringList shown = liveProcessData();
        everConnected = everConnected || connected;
        if (!connected && everConnected &&
            (shown.value(1) != QString::fromUtf8("–") || shown.join(',').contains(" on")))
            return QString("offline, the process data show %1").arg(shown.join(", "));
        return QString();
    }

    // Before the first connection the list shows its own defaults.
    mutable bool everConnected = false;

    // The measured value and what the device reports, as shown.
    QStringList liveProcessData() const
    {
        QStringList rows;
        QTreeWidget* list = rig->window->processDataTree();
        for (int top = 0; top < qMin(2, list->topLevelItemCount()); ++top) {
            QTreeWidgetItem* section = list->topLevelItem(top);
            rows << section->text(2).trimmed();
            for (int k = 0; k < section->childCount(); ++k)
                rows << section->child(k)->text(2).trimmed() +
                            (section->child(k)->text(3) == translated("On") ? " on" : "");
        }
        return rows;
    }

    QRandomGenerator random;
    SeededAnswers answers;
    QString folder;
    quint32 seed;
    std::unique_ptr<LinkRig> rig;
    QStringList log;
    bool treeRead = false;
    bool lineDown = false;
    bool unplugged = false;
};

QList<quint32> seedsFromEnvironment()
{
    QList<quint32> seeds;
    for (const QString& text : qEnvironmentVariable("IOLINK_WALK_SEEDS").split(',', Qt::SkipEmptyParts))
        seeds << text.trimmed().toUInt();
    const quint32 first = qEnvironmentVariable("IOLINK_WALK_FIRST").toUInt();
    const int count = qEnvironmentVariableIntValue("IOLINK_WALK_COUNT");
    for (int k = 0; first > 0 && k < count; ++k)
        seeds << first + quint32(k);
    return seeds.isEmpty() ? QList<quint32>{1} : seeds;
}

} // namespace

class WalkTest : public QObject
{
    Q_OBJECT

private:
    PluginLibrary plugin;
    QString document;

private slots:
    void initTestCase()
    {
        document = IOLINK_PLUGIN_DIR "/../IoLinkMzRT5family.xml";
        qputenv("IOLINK_DESCRIPTION_DOCUMENT", document.toLocal8Bit());
        QVERIFY2(plugin.load(PluginLibrary::pluginPath(IOLINK_PLUGIN_DIR)), qPrintable(plugin.errorString()));
    }

    void walk_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : seedsFromEnvironment())
            QTest::newRow(qPrintable(QString("seed %1").arg(seed))) << seed;
    }

    void walk()
    {
        QFETCH(quint32, seed);
        const int steps = qEnvironmentVariableIsSet("IOLINK_WALK_STEPS")
                              ? qEnvironmentVariableIntValue("IOLINK_WALK_STEPS")
                              : 60;
        QTemporaryDir folder;
        QElapsedTimer clock;
        clock.start();
        int walked = 0;
        QString failure;
        {
            Walk walk(plugin, document, folder.path(), seed);
            failure = walk.run(steps, &walked);
        }
        qInfo().noquote() << QString("walk seed %1: %2 steps, %3 s, %4")
                                 .arg(seed)
                                 .arg(walked)
                                 .arg(clock.elapsed() / 1000.0, 0, 'f', 1)
                                 .arg(failure.isEmpty() ? "pass" : "FAIL");
        if (!failure.isEmpty())
            QFAIL(qPrintable(failure));
    }
};

QTEST_MAIN(WalkTest)
#include "tst_walk.moc"
