// The rows' marks in the browser, the row menu, and what becomes of edits not
// written yet. The rows show the model through the parameter tree.
#include "SensorWindow.h"

#include "SensorWindowForm.h"
#include "SensorWindowPrivate.h"
#include "parameters/ParameterEditor.h"
#include "parameters/ParameterModel.h"
#include "parameters/ParameterTree.h"
#include "parameters/ValueCodec.h"

#include <qttreepropertybrowser.h>

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>

namespace NimbarSensorPlugin::Core {

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
    d->tree->refreshRowToolTip(property);
}

// A typed value outside the row's range is not cut into it: the editor
// keeps the old value, and the user learns why.
void SensorWindow::refuseTypedValue(QtProperty* property, double value)
{
    const CaptionParts caption = splitCaptionUnit(property->propertyName());
    statusBar()->showMessage(
        tr("%1: %2 is not allowed and was not written. %3")
            .arg(caption.name, QString::number(value, 'g', 10), d->tree->rangeText(property)));
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
    d->editor->cancelPending();
    const int edits = d->model->editedIds().size();
    if (edits == 0)
        return true;
    QMessageBox box(QMessageBox::Question, tr("Changes not written"),
                    tr("%n parameter(s) have changes that were not written to the sensor.", nullptr, edits),
                    QMessageBox::NoButton, this);
    QPushButton* save =
        isConnected() ? box.addButton(tr("Save to the sensor"), QMessageBox::AcceptRole) : nullptr;
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
    d->editor->writeEdits(d->model->editedIds());
    const QSignalBlocker write(ui->actionWritePermanent);
    const QSignalBlocker read(ui->actionRead);
    ui->actionWritePermanent->setChecked(writeMode);
    ui->actionRead->setChecked(readMode);
}

} // namespace NimbarSensorPlugin::Core
