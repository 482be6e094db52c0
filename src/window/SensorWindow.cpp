#include "SensorWindow.h"

#include "SensorWindowPrivate.h"
#include "catalogue/SensorCatalogue.h"

#include <extensionsystem/Globals.h>
#include <extensionsystem/SensorBasic.h>

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

namespace NimbarSensorPlugin::Core {

namespace {

const QColor groupBackground(0, 97, 158, 250);

QTreeWidgetItem* addGroupItem(QTreeWidget* tree, const QString& text)
{
    auto* item = new QTreeWidgetItem(tree, QStringList(text));
    for (int column = 0; column < 4; ++column) {
        item->setBackground(column, groupBackground);
        item->setForeground(column, Qt::white);
    }
    QFont font("Segoe UI", 12);
    font.setWeight(QFont::Light);
    item->setFont(0, font);
    item->setTextAlignment(0, Qt::AlignHCenter);
    item->setExpanded(true);
    return item;
}

} // namespace

SensorWindow::SensorWindow(const ExtensionSystem::SensorBasic& hostRecord)
    : QMainWindow(nullptr), d(new SensorWindowPrivate)
{
    if (objectName().isEmpty())
        setObjectName("SensorWindow");
    resize(648, 625);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setDockNestingEnabled(false);

    auto* frame = new QFrame(this);
    frame->setObjectName("frame");
    frame->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Raised);
    setCentralWidget(frame);
    setStatusBar(new QStatusBar(this));

    createConnectionToolBar();

    d->languageCode = sensor.languageCode();
    sensor = findSensorDescription(hostRecord.name());

    createPropertyTreeDock();
    setWindowFlags(Qt::Widget);
    createObservationDock();
    createProcessDataDock();
    setMinimumHeight(500);
    setMinimumWidth(850);

    updateWindowTitle();
    applyPresentationMode(ExtensionSystem::Globals::getPresentationMode());
}

SensorWindow::~SensorWindow()
{
    delete d;
}

void SensorWindow::createConnectionToolBar()
{
    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName("connectionToolBar");
    toolBar->setWindowTitle(tr("toolBar"));
    toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    toolBar->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    toolBar->setFloatable(false);
    addToolBar(Qt::TopToolBarArea, toolBar);

    d->portSelector = new QComboBox(this);
    d->portSelector->setObjectName("portSelector");
    d->portSelector->addItem(tr("Offline"));
    d->portSelector->insertSeparator(1);
    toolBar->addWidget(d->portSelector);
}

void SensorWindow::createPropertyTreeDock()
{
    d->propertyTreeDock = new QDockWidget(tr("Property tree"), this);
    d->propertyTreeDock->setObjectName("propertyTree");
    d->propertyTreeDock->setAllowedAreas(Qt::AllDockWidgetAreas);
    d->propertyTreeDock->toggleViewAction()->setIcon(QIcon(":/newPrefix/icons/Menuebaum.svg"));
    addDockWidget(Qt::LeftDockWidgetArea, d->propertyTreeDock);
}

QDockWidget* SensorWindow::createListDock(const QString& title, const QString& objectName, QTreeWidget** tree)
{
    auto* dock = new QDockWidget(title, this);
    dock->setObjectName(objectName);
    dock->setAllowedAreas(Qt::AllDockWidgetAreas);
    dock->setStyleSheet("QWidget {border: 1px solid lightgray;}");

    auto* content = new QWidget(dock);
    auto* layout = new QGridLayout(content);
    layout->setContentsMargins(0, 0, 1, 0);
    *tree = new QTreeWidget(content);
    (*tree)->setAlternatingRowColors(true);
    (*tree)->setColumnCount(4);
    (*tree)->setHeaderHidden(true);
    (*tree)->setIconSize(QSize(32, 32));
    (*tree)->setFrameShadow(QFrame::Plain);
    (*tree)->setSelectionMode(QAbstractItemView::NoSelection);
    (*tree)->setItemsExpandable(true);
    for (int column = 0; column < 3; ++column)
        (*tree)->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    (*tree)->header()->setSectionResizeMode(3, QHeaderView::Stretch);
    layout->addWidget(*tree, 0, 0, 1, 4);
    dock->setWidget(content);
    dock->setMinimumWidth(370);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    return dock;
}

void SensorWindow::createObservationDock()
{
    d->observationDock = createListDock(tr("Observation"), "observation", &d->observationTree);
    d->observationDock->toggleViewAction()->setIcon(QIcon(":/newPrefix/icons/Connection_image_new-01.svg"));
}

void SensorWindow::createProcessDataDock()
{
    d->processDataDock = createListDock(tr(" Process data"), "processdata", &d->processDataTree);
    d->processDataDock->toggleViewAction()->setIcon(QIcon(":/newPrefix/icons/Sensorenliste.svg"));

    d->measurementValueItem = addGroupItem(d->processDataTree, tr("Measurement Value"));
    d->deviceToMasterItem = addGroupItem(d->processDataTree, tr("Device to Master"));
    d->masterToDeviceItem = addGroupItem(d->processDataTree, tr("Master to Device"));
    d->objectInformationItem = addGroupItem(d->processDataTree, tr("Object information"));
    for (int k = 0; k < 4; ++k) {
        d->objectItems[k] =
            new QTreeWidgetItem(d->objectInformationItem, QStringList(tr("Object %1").arg(k + 1)));
        d->objectItems[k]->setSizeHint(2, QSize(32, 32));
    }
    d->objectItems[0]->setExpanded(true);
}

ExtensionSystem::CommunicationInterface* SensorWindow::communication() const
{
    return d->communication;
}

void SensorWindow::setCommunication(ExtensionSystem::CommunicationInterface* communication)
{
    d->communication = communication;
}

void SensorWindow::vSetCompleteName(QString str)
{
    d->completeName = str;
}

QString SensorWindow::completeName() const
{
    return d->completeName;
}

QComboBox* SensorWindow::portSelector() const
{
    return d->portSelector;
}

QDockWidget* SensorWindow::propertyTreeDock() const
{
    return d->propertyTreeDock;
}

QDockWidget* SensorWindow::processDataDock() const
{
    return d->processDataDock;
}

QDockWidget* SensorWindow::observationDock() const
{
    return d->observationDock;
}

void SensorWindow::updateComPortList(const QStringList& ports)
{
    const QString selected = d->portSelector->currentText();
    d->portSelector->clear();
    d->portSelector->insertItem(0, tr("Offline"));
    d->portSelector->insertSeparator(1);
    d->portSelector->insertItems(2, ports);
    // Nothing selected before means nothing selected after; the separator's
    // empty text must not count as a match.
    const int index = selected.isEmpty()
                          ? -1
                          : d->portSelector->findText(selected, Qt::MatchExactly | Qt::MatchCaseSensitive);
    d->portSelector->setCurrentIndex(index);
}

void SensorWindow::vSensorUpdate(const QVariant& value)
{
    applyPresentationMode(value.toBool());
}

// Presentation mode leaves what an audience watches: the parameter and
// observation docks go, the process data stay.
void SensorWindow::applyPresentationMode(bool hide)
{
    d->propertyTreeDock->setHidden(hide);
    d->observationDock->setHidden(hide);
    d->measurementValueItem->setExpanded(true);
    d->deviceToMasterItem->setExpanded(!hide);
    d->masterToDeviceItem->setExpanded(!hide);
    d->objectInformationItem->setExpanded(!hide);
}

void SensorWindow::updateWindowTitle()
{
    const QString title = QString::fromStdString(sensor.name()) + " (" + d->portSelector->currentText() + ")";
    setWindowTitle(title);
    statusBar()->showMessage(title);
}

void SensorWindow::closeEvent(QCloseEvent* event)
{
    d->liveDataRunning = false;
    vDisconnect();
    d->showProgressUi = false;
    emit vAboutToClose();
    QMainWindow::closeEvent(event);
}

} // namespace NimbarSensorPlugin::Core
