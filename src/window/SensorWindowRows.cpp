// The parameter tree as a view of the parameter model: every row shows the
// model's value in the unit and list of the moment, and its mark says why it
// does not show what the sensor holds. The user's edits go into the model
// first; nothing here talks to the sensor.
#include "SensorWindow.h"

#include "SensorWindowForm.h"
#include "SensorWindowPrivate.h"
#include "parameters/ParameterModel.h"
#include "parameters/ValueCodec.h"

#include <utils/widgets/ButtonManager.h>

#include <qteditorfactory.h>
#include <qtpropertymanager.h>
#include <qttreepropertybrowser.h>

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidgetItem>

namespace NimbarSensorPlugin::Core {

QVariant SensorWindow::managerValue(QtProperty* property) const
{
    QtAbstractPropertyManager* manager = property->propertyManager();
    if (manager == d->managers.bools)
        return d->managers.bools->value(property);
    if (manager == d->managers.ints || manager == d->managers.counters)
        return static_cast<QtIntPropertyManager*>(manager)->value(property);
    if (manager == d->managers.doubles)
        return d->managers.doubles->value(property);
    if (manager == d->managers.enums)
        return d->managers.enums->value(property);
    if (manager == d->managers.strings)
        return d->managers.strings->value(property);
    return QVariant();
}

// What the sensor holds (whole millimetres, list codes) as the tree shows it.
QVariant SensorWindow::shownValueOf(QtProperty* property, const QVariant& held) const
{
    const QString id = property->propertyId();
    QtAbstractPropertyManager* manager = property->propertyManager();
    if (manager == d->managers.bools)
        return held.toInt() != 0;
    if (manager == d->managers.doubles) {
        return d->units.isLength(id) ? d->units.shown(id, held.toInt()) : held.toDouble();
    }
    if (manager == d->managers.enums) {
        const int code = held.toInt();
        if (id == "SimulationDistanceValue")
            return code == 65536 ? 0 : 1;
        if (id == "TeachLoked")
            return teachLockPosition(code);
        if (id == "TestMode")
            return code;
        // Before a variant is known the error-source lists are whole.
        if (id.startsWith("ErrorWarning") && d->units.variant().code.isEmpty()) {
            for (int position = 0; position < 17; ++position) {
                if (errorSourceCodeInWholeList(position) == code)
                    return position;
            }
            return code;
        }
        return enumPositionForCode(id, code, d->units.variant().code);
    }
    return held;
}

// What the tree shows as the sensor would hold it.
QVariant SensorWindow::sensorValueOf(QtProperty* property, const QVariant& shown) const
{
    const QString id = property->propertyId();
    QtAbstractPropertyManager* manager = property->propertyManager();
    if (manager == d->managers.bools)
        return shown.toBool() ? 1 : 0;
    if (manager == d->managers.ints || manager == d->managers.counters)
        return shown.toInt();
    if (manager == d->managers.doubles) {
        return d->units.held(id, shown.toDouble());
    }
    if (manager == d->managers.enums) {
        const int position = shown.toInt();
        if (id == "SimulationDistanceValue")
            return position == 0 ? 65536 : 500;
        if (id == "TeachLoked")
            return teachLockValue(d->teachLockWord, position);
        if (id == "TestMode")
            return position;
        if (id.startsWith("ErrorWarning") && d->units.variant().code.isEmpty())
            return errorSourceCodeInWholeList(position);
        return enumCodeForPosition(id, position, d->units.variant().code);
    }
    if (manager == d->managers.strings)
        return shown.toString();
    return QVariant();
}

// The model starts from what the document gives each row.
void SensorWindow::resetParameterModel()
{
    QMap<QString, QVariant> defaults;
    for (QtProperty* property : collectProperties(d->rootProperty)) {
        const QString id = property->propertyId();
        if (!parameterAddresses.contains(id) || property->propertyManager() == d->managers.buttons)
            continue;
        defaults.insert(id, sensorValueOf(property, managerValue(property)));
    }
    d->model->reset(defaults);
}

ParameterModel& SensorWindow::parameterModel() const
{
    return *d->model;
}

void SensorWindow::showRow(const QString& id)
{
    QtProperty* property = findProperty(d->rootProperty, id);
    if (!property || !d->model->contains(id))
        return;
    const QVariant held = d->model->shown(id);
    const QVariant shown = shownValueOf(property, held);
    {
        const QuietChanges quiet(this);
        QtAbstractPropertyManager* manager = property->propertyManager();
        if (manager == d->managers.bools)
            d->managers.bools->setValue(property, shown.toBool(), QString(), QString());
        else if (manager == d->managers.ints || manager == d->managers.counters)
            static_cast<QtIntPropertyManager*>(manager)->setValue(property, shown.toInt());
        else if (manager == d->managers.doubles)
            d->managers.doubles->setValue(property, shown.toDouble());
        else if (manager == d->managers.enums)
            d->managers.enums->setValue(property, shown.toInt());
        else if (manager == d->managers.strings)
            d->managers.strings->setValue(property, shown.toString());
    }
    checkRowShowsModel(property, held, shown);
    showRowMark(property);
}

// The editors' limits may be narrower than what the sensor holds: the tree
// then cannot show the sensor's value. Such rows are marked, and nothing is
// sent: only the user decides what the sensor gets.
void SensorWindow::checkRowShowsModel(QtProperty* property, const QVariant& held, const QVariant& shown)
{
    const QString id = property->propertyId();
    QtAbstractPropertyManager* manager = property->propertyManager();
    const RowState state = d->model->state(id);
    if (d->model->hasEdit(id) || (state != RowState::InStep && state != RowState::NotAllowed))
        return;
    QString reason;
    const int position = d->managers.enums->value(property);
    if (manager == d->managers.enums &&
        (position != shown.toInt() || sensorValueOf(property, position).toInt() != held.toInt())) {
        reason = tr("the sensor holds code %1, which this list does not offer").arg(held.toInt());
    } else if (manager == d->managers.doubles || manager == d->managers.ints) {
        const double value = managerValue(property).toDouble();
        if (qAbs(value - shown.toDouble()) > 1e-9 * qMax(1.0, qAbs(shown.toDouble()))) {
            double minimum = 0.0;
            double maximum = 0.0;
            if (manager == d->managers.doubles) {
                minimum = d->managers.doubles->minimum(property);
                maximum = d->managers.doubles->maximum(property);
            } else {
                minimum = d->managers.ints->minimum(property);
                maximum = d->managers.ints->maximum(property);
            }
            reason = tr("the sensor holds %1; allowed %2 to %3")
                         .arg(QString::number(shown.toDouble(), 'g', 6), QString::number(minimum, 'g', 6),
                              QString::number(maximum, 'g', 6));
        }
    }
    if (!reason.isEmpty())
        d->model->setNotAllowed(id, reason);
    else if (state == RowState::NotAllowed)
        d->model->setRead(id, held);
}

void SensorWindow::showAllRows()
{
    for (const QString& id : d->model->ids())
        showRow(id);
}

void SensorWindow::showRowMark(QtProperty* property)
{
    const QString id = property->propertyId();
    const bool edited = d->model->hasEdit(id) && d->model->state(id) != RowState::Refused;
    QIcon icon;
    if (edited)
        icon = QIcon(":/newPrefix/icons/pencil.svg");
    else if (d->model->isMarked(id))
        icon = QIcon(":/newPrefix/icons/!_galben_cerc_negru.svg");
    for (QtBrowserItem* item : propertyBrowser->items(property)) {
        propertyBrowser->setItemIcon(item, icon);
        propertyBrowser->setValueBold(item, d->model->hasEdit(id));
    }
    refreshRowToolTip(property);
}

QString SensorWindow::rowMark(const QString& id) const
{
    if (!d->model->isMarked(id))
        return QString();
    const RowState state = d->model->state(id);
    if (state == RowState::Edited || state == RowState::Writing)
        return tr("Not written to the sensor yet");
    return d->model->reason(id);
}

QStringList SensorWindow::unreadRows() const
{
    QStringList rows;
    for (QtProperty* property : collectProperties(d->rootProperty)) {
        const QString id = property->propertyId();
        const RowState state = d->model->state(id);
        if (d->model->isMarked(id) && (state == RowState::ReadFailed || state == RowState::NotRead))
            rows << property->propertyName() + ": " + d->model->reason(id);
    }
    return rows;
}

// What an editable number may be, in the unit of its caption, so that the
// user sees the limit before typing past it.
QString SensorWindow::rangeText(QtProperty* property) const
{
    double minimum = 0.0;
    double maximum = 0.0;
    QtAbstractPropertyManager* manager = property->propertyManager();
    if (manager == d->managers.doubles) {
        minimum = d->managers.doubles->minimum(property);
        maximum = d->managers.doubles->maximum(property);
    } else if (manager == d->managers.ints && property->statusTip() != "readOnly") {
        minimum = d->managers.ints->minimum(property);
        maximum = d->managers.ints->maximum(property);
    }
    if (minimum >= maximum)
        return QString();
    const QString unit = splitCaptionUnit(property->propertyName()).unit;
    return tr("Allowed: %1 to %2%3")
        .arg(QString::number(minimum, 'g', 6), QString::number(maximum, 'g', 6),
             unit.isEmpty() ? QString() : " " + unit);
}

// A row's tool tip: why it is marked, if it is, and the range it takes.
void SensorWindow::refreshRowToolTip(QtProperty* property)
{
    QStringList lines;
    const QString mark = d->model ? rowMark(property->propertyId()) : QString();
    if (!mark.isEmpty())
        lines << mark;
    const QString range = rangeText(property);
    if (!range.isEmpty())
        lines << range;
    property->setToolTip(lines.join('\n'));
}

// A typed value outside the row's range is not cut into it: the editor
// keeps the old value, and the user learns why.
void SensorWindow::refuseTypedValue(QtProperty* property, double value)
{
    const CaptionParts caption = splitCaptionUnit(property->propertyName());
    statusBar()->showMessage(tr("%1: %2 is not allowed and was not written. %3")
                                 .arg(caption.name, QString::number(value, 'g', 10), rangeText(property)));
}

void SensorWindow::createRowMenu()
{
    propertyBrowser->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(propertyBrowser, &QWidget::customContextMenuRequested, this, [this](const QPoint& where) {
        QtBrowserItem* item = propertyBrowser->currentItem();
        if (!item)
            return;
        const QString id = item->property()->propertyId();
        QMenu menu(this);
        QAction* revert = menu.addAction(tr("Use the sensor's value"));
        revert->setEnabled(d->model->hasEdit(id));
        connect(revert, &QAction::triggered, this, [this, id] { d->model->dropEdit(id); });
        menu.addAction(d->discardAction);
        menu.exec(propertyBrowser->mapToGlobal(where));
    });
    d->discardAction = new QAction(this);
    d->discardAction->setObjectName("discardChanges");
    connect(d->discardAction, &QAction::triggered, this, [this] { d->model->dropAllEdits(); });
    connect(d->model, &ParameterModel::rowChanged, this, [this] { showEditCount(); });
    showEditCount();
}

void SensorWindow::showEditCount()
{
    const int edits = d->model->editedIds().size();
    d->discardAction->setText(tr("Discard all changes (%1)").arg(edits));
    d->discardAction->setEnabled(edits > 0);
}

// Edits not written yet would be lost without a word: the user says what
// becomes of them. False when the user stays.
bool SensorWindow::settleEdits()
{
    writeDelayTimer.stop();
    const int edits = d->model->editedIds().size();
    if (edits == 0)
        return true;
    QMessageBox box(QMessageBox::Question, tr("Changes not written"),
                    tr("%n parameter(s) have changes that were not written to the sensor.", nullptr, edits),
                    QMessageBox::NoButton, this);
    QPushButton* save =
        connected ? box.addButton(tr("Save to the sensor"), QMessageBox::AcceptRole) : nullptr;
    if (save)
        save->setObjectName("saveEdits");
    box.addButton(QMessageBox::Discard)->setObjectName("discardEdits");
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(cancel);
    box.exec();
    if (box.clickedButton() == cancel || !box.clickedButton())
        return false;
    if (save && box.clickedButton() == save) {
        writeEditedRows();
        return d->model->editedIds().isEmpty();
    }
    d->model->dropAllEdits();
    return true;
}

// Writes every row with an edit, one after another, as if each had just
// been typed.
void SensorWindow::writeEditedRows()
{
    const bool writeMode = ui->actionWritePermanent->isChecked();
    const bool readMode = ui->actionRead->isChecked();
    {
        const QSignalBlocker write(ui->actionWritePermanent);
        const QSignalBlocker read(ui->actionRead);
        ui->actionWritePermanent->setChecked(true);
        ui->actionRead->setChecked(false);
    }
    for (const QString& id : d->model->editedIds()) {
        QtProperty* property = findProperty(d->rootProperty, id);
        if (!property || !connected)
            continue;
        currentProperty = property;
        pendingValue = managerValue(property);
        if (property->propertyManager() == d->managers.strings) {
            editedText = pendingValue.toString();
            textEditPending = true;
            tagBeingWritten = property;
            writeTag();
            tagBeingWritten = nullptr;
        } else {
            writeCurrentProperty();
        }
    }
    const QSignalBlocker write(ui->actionWritePermanent);
    const QSignalBlocker read(ui->actionRead);
    ui->actionWritePermanent->setChecked(writeMode);
    ui->actionRead->setChecked(readMode);
}

// How many rows a read of everything brought, from the model, so that the
// status bar and the marks agree.
QString SensorWindow::readCountText(const QStringList& rows) const
{
    int notRead = 0;
    for (const QString& id : rows) {
        const RowState state = d->model->state(id);
        notRead += state == RowState::ReadFailed || state == RowState::NotRead ? 1 : 0;
    }
    return tr("Read from the sensor: %1 parameters; not read: %2 (marked in the tree).")
        .arg(rows.size() - notRead)
        .arg(notRead);
}

} // namespace NimbarSensorPlugin::Core
