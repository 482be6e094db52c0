// The parameter tree in the window: its browser, what the description
// document lacked, and the tree's rows as the host and tools ask for them.
#include "SensorWindow.h"

#include "SensorWindowPrivate.h"
#include "catalogue/DescriptionDocument.h"
#include "parameters/ParameterTree.h"
#include "parameters/PropertyLookup.h"

#include <qttreepropertybrowser.h>

#include <QDockWidget>
#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>

namespace NimbarSensorPlugin::Core {

TreeLock::TreeLock(QWidget* window, QWidget* tree)
    : tree(tree), wasEnabled(tree->isEnabled()),
      hadFocus(window->focusWidget() == tree || tree->isAncestorOf(window->focusWidget()))
{
    tree->setEnabled(false);
}

TreeLock::~TreeLock()
{
    tree->setEnabled(wasEnabled);
    if (hadFocus && wasEnabled)
        tree->setFocus();
}

// Detaches, deepest first; the properties themselves live on.
void SensorWindow::removeSubProperties(QtProperty* property)
{
    if (!property)
        return;
    for (QtProperty* child : property->subProperties()) {
        removeSubProperties(child);
        property->removeSubProperty(child);
    }
}

bool SensorWindow::buildParameterTree()
{
    const std::string path = descriptionDocumentPath();
    d->tree->build(path, windowTitle(), sensor.languageCode());
    propertyBrowser->addProperty(d->tree->root());
    propertyBrowser->setRootIsDecorated(true);
    propertyBrowser->show();
    propertyBrowser->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    d->propertyTreeDock->setWidget(propertyBrowser);
    d->propertyTreeDock->setMinimumWidth(350);
    addDockWidget(Qt::LeftDockWidgetArea, d->propertyTreeDock);
    // Wide enough for the value column beside most captions, and narrow
    // enough that the chart keeps the larger part of the window.
    resizeDocks({d->propertyTreeDock}, {390}, Qt::Horizontal);
    documentProblems = d->tree->problems() + sensor.delayProblems();
    if (!documentProblems.isEmpty())
        showDocumentProblems(QString::fromLocal8Bit(path.c_str()));
    return true;
}

// The user sees what the window could not build, and which file and node to
// mend, above what it could build.
void SensorWindow::showDocumentProblems(const QString& path)
{
    const QString text =
        tr("The description document %1 is broken; parameters are missing from this window:").arg(path) +
        "\n• " + documentProblems.join("\n• ");
    auto* container = new QWidget(d->propertyTreeDock);
    auto* layout = new QVBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* notice = new QLabel(text, container);
    notice->setObjectName("documentProblems");
    notice->setWordWrap(true);
    notice->setTextInteractionFlags(Qt::TextSelectableByMouse);
    notice->setStyleSheet("QLabel { color: #b00020; padding: 4px; }");
    layout->addWidget(notice);
    layout->addWidget(propertyBrowser, 1);
    d->propertyTreeDock->setWidget(container);
    statusBar()->showMessage(tr("The description document %1 is broken.").arg(path));
    qWarning("%s", qPrintable(text));
}

void SensorWindow::setParameterVisible(const QString& id, bool visible)
{
    QtProperty* property = d->tree->find(id);
    if (!property)
        return;
    QList<QtBrowserItem*> pending = propertyBrowser->topLevelItems();
    while (!pending.isEmpty()) {
        QtBrowserItem* item = pending.takeFirst();
        if (item->property() == property)
            propertyBrowser->setItemVisible(item, visible);
        pending.append(item->children());
    }
}

void SensorWindow::enableEditableProperties()
{
    d->tree->enableEditableRows();
}

QtProperty* SensorWindow::rootProperty() const
{
    return d->tree->root();
}

QtProperty* SensorWindow::findProperty(QtProperty* parent, const QString& id) const
{
    return Core::findProperty(parent, id);
}

QList<QtProperty*> SensorWindow::collectProperties(QtProperty* parent) const
{
    return Core::collectProperties(parent);
}

const QMap<QString, QString>& SensorWindow::parameterAddressMap() const
{
    return d->tree->addresses();
}

const QMap<QString, QStringList>& SensorWindow::choiceLists() const
{
    return d->tree->choiceLists();
}

QString SensorWindow::rowMark(const QString& id) const
{
    return d->tree->rowMark(id);
}

} // namespace NimbarSensorPlugin::Core
