#pragma once

// What the seeded walk needs besides the link rig: a user who answers every
// modal dialog with a seeded choice among its buttons, and the comparison of
// the tree's rows with what the simulated sensor holds.

#include <InProcessRig.h>

#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QRandomGenerator>

#include <cmath>

// Answers each modal dialog that comes up: the connection question with the
// button the step asked for, a file dialog with the step's file, a message
// box with a seeded choice among its buttons (or the one the step prefers).
// The updating pop-up is no question and is left alone.
class SeededAnswers : public QObject
{
public:
    explicit SeededAnswers(quint32 seed) : m_random(seed)
    {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, [this] { answer(); });
        m_timer.start();
    }

    // For the next step: the connection question's button by object name
    // (empty: a seeded one), the file a file dialog gets (empty: cancel).
    QString connectionButton;
    QString fileName;
    // What was asked and answered during the current step.
    QStringList asked;
    bool confirmed = false;
    // The user chose to write the edits not yet written.
    bool savedEdits = false;

    void startStep()
    {
        asked.clear();
        confirmed = false;
        savedEdits = false;
    }

private:
    void answer()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->objectName() == "DataFrameSenderUi")
            return;
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (m_fileDialog == dialog)
                return;
            m_fileDialog = dialog;
            asked << "file dialog: " +
                         (fileName.isEmpty() ? QString("cancel") : QFileInfo(fileName).fileName());
            if (fileName.isEmpty()) {
                dialog->reject();
                return;
            }
            if (auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit"))
                edit->setText(fileName);
            else
                dialog->selectFile(fileName);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            return;
        }
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            const QList<QAbstractButton*> buttons = box->buttons();
            if (buttons.isEmpty())
                return;
            QAbstractButton* chosen = buttons.value(int(m_random.bounded(quint32(buttons.size()))));
            const QMessageBox::ButtonRole role = box->buttonRole(chosen);
            confirmed = confirmed || role == QMessageBox::AcceptRole || role == QMessageBox::YesRole;
            savedEdits = savedEdits || chosen->objectName() == "saveEdits";
            asked << QString("\"%1\" -> %2").arg(box->text().section('\n', 0, 0), chosen->text());
            chosen->click();
            return;
        }
        QList<QAbstractButton*> buttons = modal->findChildren<QAbstractButton*>();
        if (buttons.isEmpty())
            return;
        QAbstractButton* chosen = modal->findChild<QAbstractButton*>(connectionButton);
        if (!chosen)
            chosen = buttons.value(int(m_random.bounded(quint32(buttons.size()))));
        asked << QString("%1 -> %2").arg(modal->windowTitle(), chosen->objectName());
        chosen->click();
    }

    QRandomGenerator m_random;
    QTimer m_timer;
    QPointer<QFileDialog> m_fileDialog;
};

// The rows the sensor holds as settings: no buttons, identity texts,
// counters, test-mode rows or rows hidden for the variant.
inline QStringList settingRows(const LinkRig& rig)
{
    QStringList ids;
    const auto& addresses = rig.window->parameterAddressMap();
    for (auto it = addresses.cbegin(); it != addresses.cend(); ++it) {
        const QString& id = it.key();
        QtProperty* p = rig.property(id);
        if (!p || !p->isEnabled() || p->statusTip() == "readOnly" || id.contains("BUTTON") ||
            id.contains("ReadOnly") || id == "CrashCounter" || id.startsWith("Simula") ||
            id.startsWith("Test") || !rig.visible(qPrintable(id)))
            continue;
        if (qobject_cast<QtStringPropertyManager*>(p->propertyManager()) && !id.contains("Tag"))
            continue;
        ids << id;
    }
    return ids;
}

// Every length row follows the window's unit, which the switching point's
// caption names; some length rows have no unit in their caption.
inline bool shownInInches(const LinkRig& rig, const QString& id)
{
    QtProperty* point = rig.property("SwitchingThresholdA1");
    return rig.manager<QtDoublePropertyManager>(id) && point && point->propertyName().endsWith("(inch)");
}

// The whole numbers a number row takes, and the decimals it shows.
struct RowRange
{
    int low;
    int high;
    int decimals;
};

inline RowRange rowRange(const LinkRig& rig, const QString& id)
{
    QtProperty* p = rig.property(id);
    if (auto* doubles = rig.manager<QtDoublePropertyManager>(id))
        return {int(std::ceil(doubles->minimum(p))), int(std::floor(doubles->maximum(p))),
                doubles->decimals(p)};
    auto* ints = rig.manager<QtIntPropertyManager>(id);
    return {ints->minimum(p), ints->maximum(p), 0};
}

inline void triggerAction(QObject& owner, const QString& text)
{
    for (QAction* action : owner.findChildren<QAction*>()) {
        if (action->text() == text)
            action->trigger();
    }
}

// What a row shows and what the sensor holds, in the row's terms: lengths
// in the row's unit to the editor's decimals, enumerations as list positions.
struct RowValues
{
    QString tree;
    QString sensor;
};

inline RowValues rowValues(const LinkRig& rig, const QString& id, const QString& variant)
{
    using namespace NimbarSensorPlugin::Core;
    QtProperty* p = rig.property(id);
    const QVariant held = rig.device->model().parameterValue(id);
    const qlonglong number = held.toLongLong() & 0xFFFF;
    RowValues values;
    if (auto* doubles = rig.manager<QtDoublePropertyManager>(id)) {
        const int decimals = doubles->decimals(p);
        // The sensor's "no limit" shows as the largest far end.
        const double farEnd = qRound(doubles->maximum(p) * (shownInInches(rig, id) ? 25.4 : 1.0));
        const double millimetres = id == "DetectionRangeFar" && number == 30000 ? farEnd : double(number);
        values.tree = QString::number(doubles->value(p), 'f', decimals);
        values.sensor =
            QString::number(shownInInches(rig, id) ? millimetres / 25.4 : millimetres, 'f', decimals);
    } else if (auto* ints = rig.manager<QtIntPropertyManager>(id)) {
        values.tree = QString::number(ints->value(p));
        values.sensor = QString::number(number);
    } else if (auto* bools = rig.manager<QtBoolPropertyManager>(id)) {
        values.tree = bools->value(p) ? "1" : "0";
        values.sensor = number != 0 ? "1" : "0";
    } else if (auto* enums = rig.manager<QtEnumPropertyManager>(id)) {
        values.tree = QString::number(enums->value(p));
        values.sensor = QString::number(id == "TeachLoked" ? teachLockPosition(int(number))
                                                           : enumPositionForCode(id, int(number), variant));
    } else if (auto* strings = rig.manager<QtStringPropertyManager>(id)) {
        values.tree = strings->value(p);
        values.sensor = QString::fromUtf8(held.toByteArray().replace('\0', ""));
    }
    return values;
}

// Rows not marked whose value is not the sensor's, as "id: tree ..., sensor ...".
inline QStringList unmarkedRowsUnlikeTheSensor(const LinkRig& rig, const QString& variant)
{
    QStringList differences;
    for (const QString& id : settingRows(rig)) {
        const RowValues values = rowValues(rig, id, variant);
        if (values.tree != values.sensor && rig.mark(id).isEmpty())
            differences << id + ": tree " + values.tree + ", sensor " + values.sensor;
    }
    return differences;
}

// Every number the sensor holds for the setting rows, by id.
inline QMap<QString, qlonglong> sensorNumbers(const LinkRig& rig)
{
    QMap<QString, qlonglong> numbers;
    for (const QString& id : settingRows(rig)) {
        if (!rig.manager<QtStringPropertyManager>(id))
            numbers.insert(id, rig.simulated(id));
    }
    return numbers;
}
