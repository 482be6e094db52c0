// The window's parameter tree: built from the description document's
// parameter section, addressed by parameter id.
#include "SensorWindow.h"

#include "ProcessDataView.h"
#include "SensorWindowPrivate.h"
#include "catalogue/DescriptionDocument.h"
#include "parameters/ChoiceTrims.h"
#include "parameters/ParameterNode.h"
#include "parameters/PropertyLookup.h"

#include <utils/widgets/ButtonManager.h>

#include <qtpropertymanager.h>
#include <qttreepropertybrowser.h>

#include <QDockWidget>
#include <QLabel>
#include <QStatusBar>
#include <QTreeWidgetItem>
#include <QVBoxLayout>

#include <boost/property_tree/xml_parser.hpp>

namespace NimbarSensorPlugin::Core {

namespace pt = boost::property_tree;

SensorWindow::TreeLock::TreeLock(SensorWindow* window)
    : window(window), wasEnabled(window->propertyBrowser->isEnabled()),
      hadFocus(window->focusWidget() == window->propertyBrowser ||
               window->propertyBrowser->isAncestorOf(window->focusWidget()))
{
    window->propertyBrowser->setEnabled(false);
}

SensorWindow::TreeLock::~TreeLock()
{
    window->propertyBrowser->setEnabled(wasEnabled);
    if (hadFocus && wasEnabled)
        window->propertyBrowser->setFocus();
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
    d->rootProperty = d->managers.groups->addProperty(windowTitle());
    d->rootProperty->setPropertyId("root");
    d->hiddenParameterIds.clear();
    documentProblems.clear();
    documentIds.clear();
    nodeProperties.clear();

    const std::string path = descriptionDocumentPath();
    try {
        documentTree.clear();
        checkDocumentLimits(path);
        pt::read_xml(path, documentTree, pt::xml_parser::no_comments);
        const auto section = documentTree.get_child_optional("document.treeGui.default");
        if (!section)
            documentProblems.append(tr("It has no parameter section (document.treeGui.default)."));
        else {
            for (const auto& child : *section)
                addParameterNode(child.second, d->rootProperty);
        }
    } catch (const pt::ptree_error& error) {
        documentProblems.append(QString::fromLocal8Bit(error.what()));
    }

    for (QtProperty* property : collectProperties(d->rootProperty))
        refreshRowToolTip(property);
    propertyBrowser->addProperty(d->rootProperty);
    propertyBrowser->setRootIsDecorated(true);
    propertyBrowser->show();
    propertyBrowser->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    d->propertyTreeDock->setWidget(propertyBrowser);
    d->propertyTreeDock->setMinimumWidth(350);
    addDockWidget(Qt::LeftDockWidgetArea, d->propertyTreeDock);
    // Wide enough for the value column beside most captions, and narrow
    // enough that the chart keeps the larger part of the window.
    resizeDocks({d->propertyTreeDock}, {390}, Qt::Horizontal);
    for (const char* key : {"characterdelay", "linedelay"}) {
        const std::optional<long long> delay = sensor.documentDelay(key);
        if (!delay)
            documentProblems.append(
                tr("The port setting %1 is no whole number of milliseconds; 0 is used.").arg(key));
        else if (*delay < 0 || *delay > Sensor::longestDelayMs)
            documentProblems.append(tr("The port setting %1 of %2 ms lies outside 0 to %3 ms; %4 ms is used.")
                                        .arg(key)
                                        .arg(*delay)
                                        .arg(Sensor::longestDelayMs)
                                        .arg(std::clamp(*delay, 0LL, (long long)Sensor::longestDelayMs)));
    }
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

void SensorWindow::addParameterNode(const pt::ptree& node, QtProperty* parent)
{
    if (!parent || !hasChildElements(node))
        return;
    const QString id = keyText(node, "id");
    const QString written = captionOf(node, d->languageCode);
    const QString caption = written.isEmpty() ? id : written;
    const QString type = keyText(node, "type");
    const QString where = parent == d->rootProperty ? caption : parent->propertyName() + " › " + caption;

    // Refuse a node before anything of it is built, so that a broken node
    // leaves no half-made row behind.
    if (!isKnownParameterType(type)) {
        documentProblems.append(
            tr("Node \"%1\" (id \"%2\") has the unknown type \"%3\"; it is left out.").arg(where, id, type));
        return;
    }
    const QString missing = missingKey(node, d->languageCode);
    if (!missing.isEmpty()) {
        documentProblems.append(
            tr("Node \"%1\" (id \"%2\") lacks the key \"%3\"; it is left out.").arg(where, id, missing));
        return;
    }
    // A parameter without an id, or with one an earlier node has, could not
    // be told apart in reads, writes and settings files.
    if (id.isEmpty() && type != "category") {
        documentProblems.append(tr("Node \"%1\" has no id; it is left out.").arg(where));
        return;
    }
    if (!id.isEmpty() && documentIds.contains(id)) {
        documentProblems.append(
            tr("Node \"%1\" has the id \"%2\" of an earlier node; it is left out.").arg(where, id));
        return;
    }
    documentIds.insert(id);
    if (written.isEmpty())
        documentProblems.append(tr("Node with id \"%1\" has no caption; its id is shown instead.").arg(id));
    const QStringList notNumbers = nonNumericKeys(node);
    for (const QString& key : notNumbers) {
        // Without its address a row can be neither read nor written.
        if (key.startsWith("index") || key.startsWith("subIndex") || key.startsWith("size")) {
            documentProblems.append(tr("Node \"%1\" (id \"%2\") has %3, which is no number; it is left out.")
                                        .arg(where, id, key));
            return;
        }
        documentProblems.append(
            tr("Node \"%1\" (id \"%2\") has %3, which is no number; 0 is used.").arg(where, id, key));
    }

    const QString readonly = keyText(node, "readonly", "true");
    QtProperty* property = nullptr;
    if (type == "category") {
        property = d->managers.groups->addProperty(caption);
        property->setPropertyId(id);
    } else if (type == "enumerator") {
        property = d->managers.enums->addProperty(caption);
        d->managers.enums->setEnumNames(property, itemCaptions(node, d->languageCode));
        d->managers.enums->setValue(property, node.get<int>("defaultvalue", 0));
    } else if (type == "int") {
        QtIntPropertyManager* manager = id == "CrashCounter" ? d->managers.counters : d->managers.ints;
        property = manager->addProperty(caption);
        manager->setMinimum(property, node.get<int>("min", 0));
        manager->setMaximum(property, node.get<int>("max", 0));
        manager->setValue(property, node.get<int>("defaultvalue", 0));
        if (readonly == "true")
            property->setStatusTip("readOnly");
    } else if (type == "double") {
        property = d->managers.doubles->addProperty(caption);
        d->managers.doubles->setMinimum(property, node.get<double>("min", 0.0));
        d->managers.doubles->setMaximum(property, node.get<double>("max", 0.0));
        d->managers.doubles->setValue(property, node.get<double>("defaultvalue", 0.0));
    } else if (type == "bool") {
        property = d->managers.bools->addProperty(caption);
        d->managers.bools->setValue(property, node.get<int>("defaultvalue", 0) != 0, QString(), QString());
    } else if (type == "action") {
        property = d->managers.buttons->addProperty(caption);
        d->managers.buttons->setValue(property, buttonCaption(node, d->languageCode));
    } else if (type == "string") {
        property = d->managers.strings->addProperty(caption);
        d->managers.strings->setValue(property, keyText(node, "defaultvalue"));
        property->setPropertyId(id);
        if (keyText(node, "isString") != "true") {
            if (readonly == "true")
                property->setStatusTip("readOnly");
            else
                stringChoices.insert(id, itemCaptions(node, d->languageCode));
        }
    }

    if (type != "category") {
        parameterAddresses.insert(id, parameterAddress(node));
        property->setPropertyId(id);
    }
    nodeProperties.insert(&node, property);
    property->setEnabled(keyText(node, "readonly", "false") == "false");
    const bool visible = keyText(node, "visible", "true") == "true";
    if (visible)
        parent->addSubProperty(property);
    for (const auto& child : node) {
        if (child.first == "property")
            addParameterNode(child.second, property);
    }
    if (!visible)
        d->hiddenParameterIds.append(id);
}

void SensorWindow::addCategoryCaption(const pt::ptree& node, int row)
{
    if (d->languageCode.empty())
        d->languageCode = "en";
    categoryCaptions.append(captionOf(node, d->languageCode));
    if (row >= 0)
        categoryRows.insert(keyText(node, "id"), row);
}

// Captions follow a language change in place: no property is rebuilt, and
// choices keep their position in the new language.
void SensorWindow::retranslateParameterNode(const pt::ptree& node)
{
    if (!hasChildElements(node))
        return;
    const QString id = keyText(node, "id");
    const QString written = captionOf(node, d->languageCode);
    const QString caption = written.isEmpty() ? id : written;
    const QString type = keyText(node, "type");
    // The row built from this very node: a node left out has none, and one
    // sharing an earlier node's id must not re-caption that node's row.
    QtProperty* property = nodeProperties.value(&node);
    if (property)
        property->setPropertyName(caption);

    try {
        if (type == "action" && property) {
            d->managers.buttons->setValue(property, buttonCaption(node, d->languageCode));
        } else if (type == "enumerator" && property) {
            const int index = d->managers.enums->value(property);
            QStringList names = itemCaptions(node, d->languageCode);
            trimChoiceNames(id, names);
            d->managers.enums->setEnumNames(property, names);
            d->managers.enums->setValue(property, index);
            const int row = id.startsWith("ErrorWarning") ? 5 + id.mid(12).toInt() : -1;
            if (row >= 6 && row <= 9)
                d->processData->setRowToolTip(row, names.value(index));
        } else if (type == "string" && property && keyText(node, "isString") != "true" &&
                   keyText(node, "readonly", "true") != "true") {
            const QStringList old = stringChoices.value(id);
            const int index = property ? old.indexOf(d->managers.strings->value(property)) : -1;
            const QStringList choices = itemCaptions(node, d->languageCode);
            stringChoices.insert(id, choices);
            if (index >= 0 && property)
                d->managers.strings->setValue(property, choices.value(index));
        }
    } catch (const pt::ptree_error&) {
        // The node was refused when the tree was built; it has no row to
        // re-caption.
    }
    for (const auto& child : node) {
        if (child.first == "property")
            retranslateParameterNode(child.second);
    }
}

namespace {

const pt::ptree* findNode(const pt::ptree& parent, const QString& id)
{
    for (const auto& child : parent) {
        if (!hasChildElements(child.second))
            continue;
        if (keyText(child.second, "id") == id)
            return &child.second;
        if (const pt::ptree* found = findNode(child.second, id))
            return found;
    }
    return nullptr;
}

} // namespace

// The full choice list of a parameter as the document gives it, so that a
// trim for a sensor variant always starts from the whole list.
QStringList SensorWindow::documentChoiceNames(const QString& id) const
{
    const auto section = documentTree.get_child_optional("document.treeGui.default");
    const pt::ptree* node = section ? findNode(*section, id) : nullptr;
    try {
        return node ? itemCaptions(*node, d->languageCode) : QStringList();
    } catch (const pt::ptree_error&) {
        return QStringList();
    }
}

void SensorWindow::trimChoiceNames(const QString& id, QStringList& names) const
{
    if (id == "PinFunctionA1" || id == "PinFunctionA2" || id == "PinFunctionA3")
        trimPinFunctionNames(names, d->crashDetectionAvailable);
    if (id.contains("ErrorWarning"))
        trimErrorWarningNames(names, d->units.variant().code);
}

QtProperty* SensorWindow::findProperty(QtProperty* parent, const QString& id) const
{
    return Core::findProperty(parent, id);
}

QList<QtProperty*> SensorWindow::collectProperties(QtProperty* parent) const
{
    return Core::collectProperties(parent);
}

void SensorWindow::setParameterVisible(const QString& id, bool visible)
{
    QtProperty* property = findProperty(d->rootProperty, id);
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
    for (QtProperty* property : collectProperties(d->rootProperty)) {
        if (property->statusTip() != "readOnly")
            property->setEnabled(true);
    }
}

QtProperty* SensorWindow::rootProperty() const
{
    return d->rootProperty;
}

} // namespace NimbarSensorPlugin::Core
