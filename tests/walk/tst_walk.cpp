// A seeded random walk through the sensor window's widgets against the simulated sensor at the wire's speed.
// After each settled step the window shows what the sensor holds or says why not, nothing was written
// unasked, every read went out whole and the menus say what the window does.
#include <InProcessRig.h>

#include <tools/SettingsFile.h>
#include <window/SensorWindowForm.h>

#include <QAbstractItemView>
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QToolBar>
#include <QTreeWidget>

#include <cmath>

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

void triggerAction(QObject& owner, const QString& text)
{
    for (QAction* action : owner.findChildren<QAction*>())
        if (action->text() == text)
            action->trigger();
}

// One step as the walk took it, and what may follow from it.
struct Step
{
    explicit Step(QString text = {}, bool mayWrite = false) : text(std::move(text)), mayWrite(mayWrite) {}

    QString text;
    bool mayWrite = false, readsAll = false, lineLostDuringRead = false, stray = false, loadsFile = false;
    // How long after its last write the step still reads (a teach's read-back).
    int readsAfterWriteMs = 0;
    // A value committed to a row in the row's unit; the numbers a settings file sets.
    QString typedId;
    double typed = 0.0;
    QMap<QString, qlonglong> fileNumbers;
};

class Walk
{
public:
    Walk(const PluginLibrary& plugin, const QString& document, const QString& folder, quint32 seed)
        : random(seed), answerRandom(seed ^ 0x5eedu), folder(folder), seed(seed),
          rig(plugin, document, folder + "/trace.txt", "UM035/107", "RT5-350-M18", true, seed)
    {
        rig.workbench.resize(1280, 800);
        rig.workbench.show();
        if (!QTest::qWaitForWindowExposed(&rig.workbench))
            qWarning("the workbench did not show: clicks may miss");
        tree()->expandAll();
        rig.device->model().holdTarget(int(random.bounded(60, 340)));
        QObject::connect(&answering, &QTimer::timeout, [this] { answer(); });
        answering.start(10);
    }

    // Empty when every step kept the rules; otherwise the failure with the steps.
    QString run(int steps, int* walked)
    {
        for (int n = 1; n <= steps; ++n) {
            *walked = n;
            asked.clear();
            confirmed = savedEdits = false;
            rig.clearTrace();
            const bool wasConnected = rig.window->isConnected();
            const bool wasWriteMode = modeText() == translated("Mode: write");
            const QMap<QString, qlonglong> before = sensorNumbers();
            const Step step = takeStep();
            log << QString("%1. ").arg(n) + step.text;
            settle(step);
            if (!asked.isEmpty())
                log.last() += " [" + asked.join("; ") + "]";
            treeRead = rig.window->isConnected() && (treeRead || (step.readsAll && !lineDown));
            const QString failure = check(step, wasConnected, wasWriteMode, before);
            if (!failure.isEmpty())
                return QString("seed %1, step %2: %3\nreplay: IOLINK_WALK_SEEDS=%1 tst_walk\n%4")
                    .arg(QString::number(seed), QString::number(n), failure, log.join('\n'));
        }
        return QString();
    }

private:
    QTreeWidget* tree() const
    {
        return rig.window->parameterBrowser()->findChild<QTreeWidget*>("propertyTreeView");
    }
    QString modeText() const { return rig.window->findChild<QLabel*>("modeLabel")->text(); }
    template <class T> T pick(const QList<T>& list) { return list.value(int(random.bounded(list.size()))); }
    bool chance(int percent) { return int(random.bounded(100)) < percent; }

    // Wanted rows the sensor holds as settings: no buttons, identity texts, counters, test or hidden rows.
    QStringList settingRows(const std::function<bool(const QString&)>& wanted = {}) const
    {
        QStringList ids;
        for (const QString& id : rig.window->parameterAddressMap().keys()) {
            QtProperty* p = rig.property(id);
            if (!p || !p->isEnabled() || p->statusTip() == "readOnly" || id.contains("BUTTON") ||
                id.contains("ReadOnly") || id == "CrashCounter" || id.startsWith("Simula") ||
                id.startsWith("Test") || !rig.visible(qPrintable(id)) ||
                (rig.manager<QtStringPropertyManager>(id) && !id.contains("Tag")) || (wanted && !wanted(id)))
                continue;
            ids << id;
        }
        return ids;
    }
    QMap<QString, qlonglong> sensorNumbers() const
    {
        QMap<QString, qlonglong> numbers;
        for (const QString& id : settingRows())
            numbers.insert(id, rig.simulated(id));
        return numbers;
    }
    bool shownInInches(const QString& id) const { return ::shownInInches(rig, id); }
    std::tuple<int, int, int> rowRange(const QString& id) const
    {
        QtProperty* p = rig.property(id);
        if (auto* doubles = rig.manager<QtDoublePropertyManager>(id))
            return {int(std::ceil(doubles->minimum(p))), int(std::floor(doubles->maximum(p))),
                    doubles->decimals(p)};
        auto* ints = rig.manager<QtIntPropertyManager>(id);
        return {ints->minimum(p), ints->maximum(p), 0};
    }

    // The connection question gets the step's button, a file dialog the step's file, a box a seeded button.
    void answer()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->objectName() == "DataFrameSenderUi")
            return;
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (fileDialog == dialog)
                return;
            fileDialog = dialog;
            asked << "file dialog: " + QFileInfo(fileName).fileName();
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(fileName);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            return;
        }
        auto* box = qobject_cast<QMessageBox*>(modal);
        const QList<QAbstractButton*> buttons =
            box ? box->buttons() : modal->findChildren<QAbstractButton*>();
        if (buttons.isEmpty())
            return;
        QAbstractButton* chosen = box ? nullptr : modal->findChild<QAbstractButton*>(connectionButton);
        if (!chosen)
            chosen = buttons.value(int(answerRandom.bounded(quint32(buttons.size()))));
        const QMessageBox::ButtonRole role = box ? box->buttonRole(chosen) : QMessageBox::InvalidRole;
        confirmed = confirmed || role == QMessageBox::AcceptRole || role == QMessageBox::YesRole;
        savedEdits = savedEdits || (box && chosen->objectName() == "saveEdits");
        asked << (box ? QString("\"%1\" -> %2").arg(box->text().section('\n', 0, 0), chosen->text())
                      : QString("%1 -> %2").arg(modal->windowTitle(), chosen->objectName()));
        chosen->click();
    }

    QWidget* openEditor(const QString& id)
    {
        QtBrowserItem* item = rig.window->parameterBrowser()->items(rig.property(id)).value(0);
        if (!item)
            return nullptr;
        rig.window->parameterBrowser()->setCurrentItem(item);
        QTreeWidgetItem* row = tree()->currentItem();
        if (!row)
            return nullptr;
        tree()->scrollToItem(row);
        const QPoint cell(tree()->header()->sectionViewportPosition(1) + 8,
                          tree()->visualItemRect(row).center().y());
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
        return tree()->itemWidget(row, 1);
    }
    QWidget* typeInto(const QString& id, const QString& text)
    {
        QWidget* editor = openEditor(id);
        if (editor) {
            QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(editor, text);
        }
        return editor;
    }
    // Opens the port list, moves to the entry (default: the sensor's) and presses Enter.
    void choosePort(int index = -1)
    {
        QComboBox* ports = rig.window->portSelector();
        ports->showPopup();
        ports->view()->setCurrentIndex(
            ports->model()->index(index < 0 ? ports->findText(rig.port) : index, 0));
        QTest::keyClick(ports->view(), Qt::Key_Return);
    }

    Step takeStep()
    {
        // The weight of each kind of step while the line is down, connected, offline.
        static const std::pair<std::array<int, 3>, Step (Walk::*)()> kinds[] = {
            {{30, 0, 0}, &Walk::lineBack},
            {{0, 0, 30}, &Walk::connectToSensor},
            {{0, 0, 6}, &Walk::connectAndLoseLine},
            {{6, 30, 8}, &Walk::typeValue},
            {{3, 12, 4}, &Walk::chooseFromList},
            {{0, 5, 0}, &Walk::editTag},
            {{3, 5, 3}, &Walk::switchUnit},
            {{2, 3, 2}, &Walk::switchLanguage},
            {{0, 2, 0}, &Walk::readAll},
            {{0, 2, 0}, &Walk::writeAll},
            {{3, 4, 4}, &Walk::loadFile},
            {{0, 3, 0}, &Walk::teach},
            {{0, 0, 8}, &Walk::changeElsewhere},
            {{4, 6, 3}, &Walk::strayInput},
            {{0, 2, 0}, &Walk::disconnect},
            {{0, 3, 0}, &Walk::loseLine},
            {{0, 4, 0}, &Walk::moveTarget}};
        const int state = lineDown ? 0 : rig.window->isConnected() ? 1 : 2;
        int total = 0;
        for (const auto& [weights, run] : kinds)
            total += weights[state];
        int chosen = int(random.bounded(total));
        for (const auto& [weights, run] : kinds) {
            chosen -= weights[state];
            if (chosen < 0)
                return (this->*run)();
        }
        return Step();
    }

    Step typeValue()
    {
        const QString id = pick(settingRows([this](const QString& id) {
            return id != "MesurementUnit" &&
                   (rig.manager<QtIntPropertyManager>(id) || rig.manager<QtDoublePropertyManager>(id));
        }));
        const auto [low, top, decimals] = rowRange(id);
        const int high = std::max(low, top);
        double value = 0;
        const int way = int(random.bounded(5));
        if (way == 0)
            value = high + 1 + random.bounded(std::max(1, high));
        else if (way == 1)
            value = low - 1 - random.bounded(20);
        else if (way == 2 && decimals > 0)
            value = random.bounded(low, high) + (1 + random.bounded(9)) / 10.0;
        else
            value = random.bounded(low, high + 1);
        const QString text = QString::number(value, 'f', decimals > 0 && value != std::floor(value) ? 1 : 0);
        Step step(QString("type %1 into %2").arg(text, id));
        QWidget* editor = typeInto(id, text);
        if (!editor) {
            step.text += " (no editor)";
            // A click that landed on a check box instead is the user's write.
            QTreeWidgetItem* hit = tree()->currentItem();
            step.mayWrite = hit && !settingRows([this, hit](const QString& id) {
                                        return rig.property(id)->propertyName() == hit->text(0) &&
                                               rig.manager<QtBoolPropertyManager>(id);
                                    }).isEmpty();
            return step;
        }
        const int how = int(random.bounded(4));
        step.text += how == 3 ? ", Esc" : how == 2 ? ", leave with Down" : ", Enter";
        QTest::keyClick(editor, how == 3 ? Qt::Key_Escape : how == 2 ? Qt::Key_Down : Qt::Key_Return);
        step.mayWrite = how != 3;
        step.typedId = how != 3 ? id : QString();
        step.typed = value;
        return step;
    }

    Step chooseFromList(const QString& only)
    {
        const QStringList ids = settingRows([this](const QString& id) {
            return rig.manager<QtEnumPropertyManager>(id) && id != "MesurementUnit" && id != "TestMode";
        });
        const QString id = only.isEmpty() ? pick(ids) : only;
        Step step("open the list of " + id + " (no list)", true);
        auto* combo = qobject_cast<QComboBox*>(openEditor(id));
        if (!combo || combo->count() < 2)
            return step;
        const int drawn = int(random.bounded(combo->count() - 1));
        const int index = drawn >= combo->currentIndex() ? drawn + 1 : drawn;
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
        const QString id = pick(settingRows([](const QString& id) { return id.contains("Tag"); }));
        const QString text = pick(QStringList{"Conveyor 3", "Bay 7", "Pallet", "x"});
        const Step step(QString("type \"%1\" into %2, Enter").arg(text, id), true);
        if (QWidget* editor = typeInto(id, text)) {
            QTest::keyClick(editor, Qt::Key_Return);
            if (tree()->itemWidget(tree()->currentItem(), 1) == editor)
                QTest::keyClick(editor, Qt::Key_Escape);
        }
        return step;
    }

    Step switchLanguage()
    {
        const QString name = translated("Offline") != "Offline" ? "actionLanguage_en" : "actionLanguage_de";
        if (auto* action = rig.workbench.findChild<QAction*>(name))
            action->trigger();
        return Step("language " + name.right(2));
    }

    void clickToolButton(QAction* action)
    {
        QTest::mouseClick(rig.window->form().sensorOperationsToolbar->widgetForAction(action),
                          Qt::LeftButton);
    }
    Step readAll()
    {
        clickToolButton(rig.window->form().actionRead);
        Step step("read (tool bar)");
        step.readsAll = true;
        return step;
    }
    Step writeAll()
    {
        clickToolButton(rig.window->form().actionWritePermanent);
        return Step("write all (tool bar)", true);
    }

    Step teach()
    {
        QStringList buttons;
        for (const char* id : {"TEACHBUTTON1", "TEACHBUTTON2"})
            buttons << (rig.visible(id) ? QStringList{id} : QStringList());
        const QString id = pick(buttons);
        Step step("teach button " + id, true);
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
        rig.device->model().holdTarget(distance);
        return Step(QString("the object moves to %1 mm").arg(distance));
    }

    // While offline, another tool changes a few settings on the sensor.
    Step changeElsewhere()
    {
        Step step("the sensor is changed elsewhere:");
        const QStringList ids = settingRows([this](const QString& id) {
            return rig.manager<QtIntPropertyManager>(id) || (rig.manager<QtDoublePropertyManager>(id) &&
                                                             id != "DetectionRangeFar" && !shownInInches(id));
        });
        for (int k = 0; k < 3; ++k) {
            const QString id = pick(ids);
            const auto [low, high, decimals] = rowRange(id);
            const int value = int(random.bounded(low, high + 1));
            rig.setOnSensor(id, value);
            step.text += QString(" %1=%2").arg(id).arg(value);
        }
        return step;
    }

    Step connectToSensor()
    {
        const int way = int(random.bounded(10));
        connectionButton = way < 6 ? "sensorToPc" : way < 9 ? "pcToSensor" : "cancel";
        Step step("choose the port, " + connectionButton, connectionButton == "pcToSensor");
        step.readsAll = connectionButton == "sensorToPc";
        choosePort();
        return step;
    }

    Step loseLineAfter(int ms, bool unplug, const QString& during)
    {
        lineDown = true;
        unplugged = unplug;
        QTimer::singleShot(ms, rig.window, [device = rig.device, unplug] {
            if (unplug)
                device->unplug();
            else
                device->faults().setSilent(true);
        });
        Step step(QString("%1the line goes (%2)").arg(during, unplug ? "unplugged" : "silent"));
        if (!during.isEmpty())
            step.text += QString(" after %1 ms").arg(ms);
        step.lineLostDuringRead = !during.isEmpty();
        return step;
    }

    Step connectAndLoseLine()
    {
        const int after = int(random.bounded(2000, 9000));
        const bool unplug = chance(50);
        connectionButton = "sensorToPc";
        const Step step = loseLineAfter(after, unplug, "choose the port, sensorToPc; ");
        choosePort();
        return step;
    }

    Step loseLine()
    {
        const bool unplug = chance(50);
        if (!chance(50))
            return loseLineAfter(0, unplug, QString());
        const Step step = loseLineAfter(int(random.bounded(1000, 8000)), unplug, "read (tool bar); ");
        clickToolButton(rig.window->form().actionRead);
        return step;
    }

    Step lineBack()
    {
        rig.device->faults().setSilent(false);
        if (unplugged)
            rig.device->plugIn();
        lineDown = false;
        return Step("the line comes back");
    }

    Step disconnect()
    {
        const bool fromList = chance(50);
        if (fromList)
            choosePort(0);
        else
            triggerAction(*rig.window, translated("&Disconnect"));
        return Step(fromList ? "choose Offline in the port list" : "Disconnect (menu)");
    }

    Step strayInput()
    {
        QComboBox* ports = rig.window->portSelector();
        const int up = chance(50) ? 1 : -1;
        const bool wheel = chance(50);
        Step step(QString("%1 %2 on the port selector")
                      .arg(wheel ? "wheel notch" : "arrow key", up > 0 ? "up" : "down"));
        step.stray = true;
        if (wheel) {
            const QPoint centre = ports->rect().center();
            QWheelEvent event(centre, ports->mapToGlobal(centre), QPoint(), QPoint(0, 120 * up), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(ports, &event);
        } else {
            QTest::keyClick(ports, up > 0 ? Qt::Key_Up : Qt::Key_Down);
        }
        return step;
    }

    Step loadFile()
    {
        static int files = 0;
        const QString path = QString("%1/settings-%2.kvs").arg(folder).arg(++files);
        const std::string name = rig.window->sensorRecord().name();
        Step step;
        step.loadsFile = true;
        std::vector<SettingsEntry> entries;
        SettingsFileContent content;
        rig.window->saveSettingsTo(folder + "/own.kvs");
        if (readSettingsFile(folder + "/own.kvs", name, &content) == SettingsFileStatus::Loaded)
            entries = parseParameterText(content.propertyTreeData);
        const QStringList delays = {"OnDelay1", "OffDelay1", "OnDelay2", "OffDelay2"};
        auto setNumber = [&](const QString& id, qlonglong value) {
            for (SettingsEntry& entry : entries) {
                if (entry.id == id.toStdString())
                    entry.value = settingsIntText(int(value));
            }
            step.fileNumbers.insert(id, value);
            step.text += QString(" %1=%2").arg(id).arg(value);
        };
        const char* kinds[] = {"good",           "out of range",   "partial",
                               "nothing usable", "foreign sensor", "corrupt"};
        const int kind = int(random.bounded(6));
        step.text = QString("open settings file %1 (%2").arg(QFileInfo(path).fileName(), kinds[kind]);
        for (int k = 0; kind == 0 && k < 2; ++k)
            setNumber(pick(delays), random.bounded(0, 5000));
        if (kind == 1)
            setNumber(pick(delays), 70000 + random.bounded(1000));
        if (kind == 2) {
            const QString id = pick(delays);
            entries = {SettingsEntry{id.toStdString(), {}}};
            setNumber(id, random.bounded(0, 5000));
        }
        const std::string parameters = kind == 3 ? "NoSuchParameter=1;;" : parameterText(entries);
        const std::string fileText =
            kind == 5 ? "<root><plugin" : settingsFileText(kind == 4 ? "RT5-6000-M30" : name, parameters, "");
        saveSettingsFile(path, fileText);
        step.text += ")";
        fileName = path;
        triggerAction(rig.workbench, QCoreApplication::translate("WorkbenchWindow", "Open &settings..."));
        return step;
    }

    // Waits until no dialog or pop-up is open and nothing was read or written for a while.
    void settle(const Step& step)
    {
        QElapsedTimer since, quiet, sinceWrite;
        since.start();
        quiet.start();
        int seen = -1, writes = 0;
        while (since.elapsed() < 90000) {
            QTest::qWait(50);
            const QWidget* modal = QApplication::activeModalWidget();
            const auto* popup = rig.window->findChild<QWidget*>("DataFrameSenderUi");
            if ((modal && modal->objectName() != "DataFrameSenderUi") || (popup && popup->isVisible()) ||
                (lineDown && rig.window->isConnected() && since.elapsed() < 20000))
                continue;
            const QStringList sent = rig.sent();
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
            if (quiet.elapsed() >= 500 && since.elapsed() >= 900 && !readBackDue)
                return;
        }
    }

    QString check(const Step& step, bool wasConnected, bool wasWriteMode,
                  const QMap<QString, qlonglong>& before)
    {
        const bool connected = rig.window->isConnected();
        const bool mayWrite = step.mayWrite || (step.loadsFile && confirmed) || savedEdits;
        const QStringList sent = rig.sent();
        if (!mayWrite && !sent.filter(writeCommand).isEmpty())
            return "written without the user's asking: " + sent.filter(writeCommand).join("; ");
        if (const QStringList split = requestsBetweenReadsAndFetches(sent); !split.isEmpty())
            return "requests between a read and its fetch: " + split.join("; ");
        if (step.stray && wasConnected && !connected && asked.isEmpty())
            return "a stray input on the port selector disconnected the sensor without asking";

        // The menus and the port selector say what the window is doing.
        QString menuText;
        for (QAction* action : rig.window->findChildren<QAction*>())
            if (action->shortcut() == QKeySequence(Qt::CTRL + Qt::Key_K))
                menuText = action->text();
        if (connected != (rig.window->portSelector()->currentIndex() > 1) ||
            connected != (menuText == translated("&Disconnect")))
            return QString("connected: %1, port selector shows \"%2\", the menu offers \"%3\"")
                .arg(QString::number(connected), rig.window->portSelector()->currentText(), menuText);
        if (connected && treeRead && modeText() != translated("Mode: write"))
            return "after a completed read of all the window shows \"" + modeText() + "\"";

        // After a full read or a line lost while reading, a row shows what the sensor holds or is marked.
        if ((connected && treeRead) || (step.lineLostDuringRead && !connected)) {
            QStringList unlike;
            for (const QString& id : settingRows()) {
                const auto [shows, holds] = rowAndSensor(rig, id, variant);
                if (shows != holds && rig.mark(id).isEmpty())
                    unlike << id + ": tree " + shows + ", sensor " + holds;
            }
            if (!unlike.isEmpty())
                return (connected ? "" : "after the line was lost while reading, ") +
                       ("rows unlike the sensor without a mark: " + unlike.join("; "));
        }

        // A committed value is what the sensor holds, or the row says why not.
        const QString& id = step.typedId;
        if (!id.isEmpty() && wasConnected && connected && wasWriteMode && !lineDown &&
            rig.mark(id).isEmpty()) {
            const qlonglong held = rig.simulated(id);
            const auto [shows, holds] = rowAndSensor(rig, id, variant);
            const bool takenAsTyped = shownInInches(id) ? std::abs(held - step.typed * 25.4) <= 0.5
                                                        : std::abs(held - step.typed) < 1e-9;
            const bool leftAsItWas = held == before.value(id) && shows == holds;
            if (!takenAsTyped && !leftAsItWas)
                return "typed " + QString::number(step.typed) + " into " + id + "; the sensor holds " +
                       QString::number(held) + ", the row shows " + shows + " and is not marked";
        }

        // A file changes the sensor only in what it holds, or marks the row;
        // a value the sensor cannot hold is refused: the sensor keeps its own.
        if (step.loadsFile && confirmed && wasConnected && connected) {
            const QMap<QString, qlonglong> after = sensorNumbers();
            const bool refused = step.text.contains("out of range");
            QStringList wrong;
            for (const QString& id : after.keys()) {
                const bool fromFile = step.fileNumbers.contains(id) && !refused;
                const bool right = fromFile ? after[id] == step.fileNumbers[id]
                                            : after[id] == before[id] || step.text.contains("good");
                if (!right && rig.mark(id).isEmpty())
                    wrong << id + ": sensor " + QString::number(after[id]) + ", before " +
                                 QString::number(before[id]);
            }
            if (!wrong.isEmpty())
                return "after loading the file the sensor holds what the file did not say, unmarked: " +
                       wrong.join("; ");
        }

        // Offline, no live value is left: no distance, no output on. The
        // rows the master sends the device are settings, not live values.
        QStringList shown;
        QTreeWidget* list = rig.window->processDataTree();
        for (int top = 0; top < qMin(2, list->topLevelItemCount()); ++top) {
            QTreeWidgetItem* section = list->topLevelItem(top);
            shown << section->text(2).trimmed();
            for (int k = 0; k < section->childCount(); ++k)
                shown << section->child(k)->text(2).trimmed() +
                             (section->child(k)->text(3) == translated("On") ? " on" : "");
        }
        everConnected = everConnected || connected;
        if (!connected && everConnected &&
            (shown.value(1) != QString::fromUtf8("–") || shown.join(',').contains(" on")))
            return QString("offline, the process data show %1").arg(shown.join(", "));
        return QString();
    }

    QRandomGenerator random, answerRandom;
    // The connection question's button (empty: a seeded one), the file a file dialog gets.
    QString connectionButton, fileName;
    // What was asked and answered in the step; whether the user agreed; whether they saved pending edits.
    QStringList asked;
    bool confirmed = false, savedEdits = false;
    QTimer answering;
    QPointer<QFileDialog> fileDialog;
    QString folder;
    quint32 seed;
    LinkRig rig;
    QStringList log;
    // Before the first connection the process data show their own defaults.
    bool treeRead = false, lineDown = false, unplugged = false, everConnected = false;
};

} // namespace

class WalkTest : public QObject
{
    Q_OBJECT

private:
    PluginLibrary plugin;
    const QString document = IOLINK_PLUGIN_DIR "/../IoLinkMzRT5family.xml";

private slots:
    void initTestCase()
    {
        qputenv("IOLINK_DESCRIPTION_DOCUMENT", document.toLocal8Bit());
        QVERIFY2(plugin.load(PluginLibrary::pluginPath(IOLINK_PLUGIN_DIR)), qPrintable(plugin.errorString()));
    }

    void walk_data()
    {
        QTest::addColumn<quint32>("seed");
        for (const QString& text : qEnvironmentVariable("IOLINK_WALK_SEEDS", "1").split(','))
            QTest::newRow(qPrintable("seed " + text.trimmed())) << text.trimmed().toUInt();
    }

    void walk()
    {
        QFETCH(quint32, seed);
        QTemporaryDir folder;
        QElapsedTimer clock;
        clock.start();
        int walked = 0;
        const QString failure = Walk(plugin, document, folder.path(), seed).run(60, &walked);
        qInfo("walk seed %u: %d steps, %.1f s, %s", seed, walked, clock.elapsed() / 1000.0,
              failure.isEmpty() ? "pass" : "FAIL");
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }
};

QTEST_MAIN(WalkTest)
#include "tst_walk.moc"
