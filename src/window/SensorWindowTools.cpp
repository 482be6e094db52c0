// The window's measurement tools: the chart area and the rows and marks of
// the output shown (the chart and its marks are DistanceChart's), and the
// units its lengths are shown in.
#include "SensorWindow.h"

#include "SensorWindowForm.h"
#include "SensorWindowPrivate.h"
#include "parameters/ParameterEditor.h"
#include "parameters/ParameterModel.h"
#include "parameters/ParameterTree.h"
#include "parameters/RowVisibility.h"
#include "parameters/SensorSession.h"
#include "tools/DistanceChart.h"
#include "tools/ThresholdMarks.h"

#include <utils/charts/GenericChart.h>
#include <utils/thresholds/ThresholdWindowWidgetUniversal.h>

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QScrollArea>
#include <QToolBar>

#include <qtpropertybrowser.h>
#include <qttreepropertybrowser.h>

namespace NimbarSensorPlugin::Core {

namespace {

QWidget* toolBarSpacer(QWidget* parent, int width, int height)
{
    auto* spacer = new QWidget(parent);
    spacer->setFixedSize(width, height);
    return spacer;
}

} // namespace

// The chart sits in an inner main window, whose docks hold its plots, inside
// a scroll area: the user can rearrange the plots without touching the
// window's own docks.
void SensorWindow::createChartArea()
{
    ui->outuptsComboToolBar->hide();
    d->outputSelector = new QComboBox(this);
    d->outputSelector->setObjectName("outputSelector");
    d->outputSelector->addItem(tr("Output") + " " + "1");
    d->outputSelector->addItem(tr("Output") + " " + "2");
    d->outputSelector->setCurrentIndex(0);
    connect(d->outputSelector, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &SensorWindow::slotCurrentOutputChanged);
    ui->fileToolBar->addWidget(d->outputSelector);

    ui->fileToolBar->addWidget(toolBarSpacer(this, 5, 12));
    ui->fileToolBar->addAction(ui->actionOpen_Settings);
    ui->fileToolBar->addAction(ui->actionSave_Settings);
    ui->fileToolBar->addAction(d->propertyTreeDock->toggleViewAction());

    auto* plotWindow = new QMainWindow(this);
    plotWindow->setObjectName("chartWindow");
    plotWindow->setWindowFlags(Qt::Widget);
    auto* scrollArea = new QScrollArea(this);
    scrollArea->setObjectName("chartScrollArea");
    scrollArea->setFrameShape(QFrame::NoFrame);
    scrollArea->setWidgetResizable(true);
    scrollArea->setWidget(plotWindow);
    setCentralWidget(scrollArea);
    d->chart = new DistanceChart(plotWindow, *d->tree, d->units, this);

    ui->fileToolBar->addWidget(toolBarSpacer(this, 2, 12));
    QAction* toggle = d->chart->chart()->getDockChartItem(0)->toggleViewAction();
    toggle->setIcon(QIcon(":/icons/icons/Process_data_new-01.svg"));
    ui->fileToolBar->addAction(toggle);
    for (int plot = 0; plot < 2; ++plot)
        connect(d->chart->marks()->marks(plot), &Utils::ThresholdWindowWidgetUniversal::emitValueChanged,
                this, &SensorWindow::chartThresholdChanged);
}

// The switching marks of the selected output, the rows that belong to the
// pin functions and teach modes, and the test rows, from the values in the
// tree.
void SensorWindow::vUpdateOutputView()
{
    enableTreeDataHandling(false);
    applyPinInterlock(*d->tree);
    for (const auto& [id, shown] : outputRowVisibility(*d->tree))
        setParameterVisible(id, shown);
    d->chart->marks()->showOutput(d->outputSelector->currentIndex(), ui->actionRead->isChecked());
    vShowTestModeParameters(d->tree->choice("TestMode") != 0);
    d->chart->marks()->showDetectionRange();
    enableTreeDataHandling(true);
}

void SensorWindow::vShowTestModeParameters(bool show)
{
    for (const auto& [id, shown] : testRowVisibility(*d->tree, show))
        setParameterVisible(id, shown);
}

void SensorWindow::vApplyUnitLimits()
{
    enableTreeDataHandling(false);
    d->tree->applyMillimetreLimits();
    if (d->units.unit() == 0 || d->units.unit() == 1)
        d->tree->applyLimitsOfUnit();
    d->chart->scaleToUnit();
    d->tree->showAllRows();
    enableTreeDataHandling(true);
}

// Only the display changes: every length is shown again from the model in
// the new unit, so switching there and back never changes a value.
void SensorWindow::vSwitchMeasurementUnit()
{
    enableTreeDataHandling(false);
    const ParameterTree::Quiet quiet(*d->tree);
    d->tree->applyMillimetreLimits();
    if (d->units.unit() == 0 || d->units.unit() == 1)
        d->tree->applyLimitsOfUnit();
    d->chart->followUnitSwitch();
    d->tree->refreshUnitSuffixes();
    if (d->units.variant().hasAnalogOutput) {
        for (const char* id : {"analog0V", "analog10V"}) {
            const EditorLimits limits = d->units.editorLimits(id);
            d->tree->setDoubleRange(id, limits.minimum, limits.maximum);
        }
    }
    d->tree->showAllRows();
    if (d->units.variant().hasAnalogOutput)
        vScaleAnalogChart();
}

void SensorWindow::vScaleAnalogChart()
{
    d->chart->showAnalogWindow(d->tree->doubleValue("analog0V"), d->tree->doubleValue("analog10V"));
}

// Every parameter was read: the lengths are shown in the unit the sensor
// holds, within the connected variant's range.
void SensorWindow::showReadValues(int unitBefore)
{
    if (d->units.unit() == 1) {
        vSwitchMeasurementUnit();
    } else if (d->units.unit() == 0) {
        // The connected variant's range, not a fixed 10000 mm: a threshold
        // beyond what the sensor measures cannot be entered.
        d->tree->applyLimitsOfUnit();
        // Back from inches: the captions and the chart name millimetres.
        if (unitBefore == 1) {
            d->tree->refreshUnitSuffixes();
            d->chart->scaleToUnit();
            d->chart->retranslate();
        }
    }
    vUpdateOutputView();
    if (d->units.variant().hasAnalogOutput)
        vScaleAnalogChart();
    d->tree->showAllRows();
}

// The user dragged a mark: the parameter behind it takes the new place, and
// a connected sensor gets it at once, as if it had been typed.
void SensorWindow::chartThresholdChanged(uint mark, double value)
{
    auto* widget = qobject_cast<Utils::ThresholdWindowWidgetUniversal*>(sender());
    const int plot = widget ? widget->getComponentIndex() : -1;
    enableTreeDataHandling(false);
    const MarkEdit edit = d->chart->marks()->move(plot, mark, value, d->outputSelector->currentIndex());
    if (edit.property) {
        // The user takes the row over, as with an edit in the tree.
        d->model->setEdit(edit.property->propertyId(), d->tree->sensorValueOf(edit.property, edit.value));
        for (QtBrowserItem* item : propertyBrowser->topLevelItems()) {
            if (item->property() == edit.property)
                propertyBrowser->setCurrentItem(item);
        }
        d->editor->setPending(edit.property, edit.value);
        if (isConnected())
            d->editor->writeWhenFree();
    }
    enableTreeDataHandling(true);
}

void SensorWindow::slotCurrentOutputChanged(int)
{
    vUpdateOutputView();
}

void SensorWindow::vZommResetForNoiseLine()
{
    if (!d->session->isSettling())
        vUpdateOutputView();
}

} // namespace NimbarSensorPlugin::Core
