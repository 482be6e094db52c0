// The parameter tree: its rows built from the description document's
// parameter section, and kept as a view of the parameter model.
#include "ParameterTree.h"

#include "ChoiceTrims.h"
#include "ParameterModel.h"
#include "ParameterNode.h"
#include "PropertyLookup.h"
#include "ValueCodec.h"
#include "catalogue/DescriptionDocument.h"
#include "link/RequestFrames.h"
#include "tools/LengthUnits.h"

#include <utils/widgets/ButtonManager.h>

#include <qtpropertymanager.h>

#include <boost/property_tree/xml_parser.hpp>

#include <cstring>

namespace NimbarSensorPlugin::Core {

namespace pt = boost::property_tree;

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

// Everything the window keeps in the current unit: converted together
// when the unit changes.
const char* const thresholdIds[] = {"LowerThresholdA1", "SwitchingThresholdA1", "UpperThresholdA1",
                                    "LowerThresholdA2", "SwitchingThresholdA2", "UpperThresholdA2"};
const char* const hysteresisIds[] = {"HysteresisA1", "HysteresisA2"};
const char* const unitLimitsOrder[] = {
    "DetectionRangeNear", "DetectionRangeFar", "LowerThresholdA1",          "SwitchingThresholdA1",
    "UpperThresholdA1",   "LowerThresholdA2",  "SwitchingThresholdA2",      "UpperThresholdA2",
    "HysteresisA1",       "HysteresisA2",      "SimulationMeasurementValue"};

} // namespace

bool isTagId(const QString& id)
{
    return id == "FunctionTag" || id == "LocationTag" || id == "AppSpecificTag";
}

ParameterTree::ParameterTree(ParameterModel& model, LengthUnits& units, QObject* parent)
    : QObject(parent), m_model(model), m_units(units)
{
    m_managers.bools = new QtBoolPropertyManager(this);
    m_managers.ints = new QtIntPropertyManager(this);
    m_managers.counters = new QtIntPropertyManager(this);
    m_managers.doubles = new QtDoublePropertyManager(this);
    m_managers.strings = new QtStringPropertyManager(this);
    m_managers.enums = new QtEnumPropertyManager(this);
    m_managers.groups = new QtGroupPropertyManager(this);
    m_managers.buttons = new Utils::ButtonManager(this);
}

void ParameterTree::build(const std::string& path, const QString& rootCaption,
                          const std::string& languageCode)
{
    m_language = languageCode;
    m_root = m_managers.groups->addProperty(rootCaption);
    m_root->setPropertyId("root");
    m_hiddenIds.clear();
    m_problems.clear();
    m_documentIds.clear();
    m_nodeProperties.clear();
    try {
        m_document.clear();
        checkDocumentLimits(path);
        pt::read_xml(path, m_document, pt::xml_parser::no_comments);
        const auto section = m_document.get_child_optional("document.treeGui.default");
        if (!section)
            m_problems.append(tr("It has no parameter section (document.treeGui.default)."));
        else {
            for (const auto& child : *section)
                addNode(child.second, m_root);
        }
    } catch (const pt::ptree_error& error) {
        m_problems.append(QString::fromLocal8Bit(error.what()));
    }
    for (QtProperty* property : properties())
        refreshRowToolTip(property);
}

void ParameterTree::retranslate(const std::string& languageCode)
{
    m_language = languageCode.empty() ? "en" : languageCode;
    if (const auto section = m_document.get_child_optional("document.treeGui.default")) {
        for (const auto& child : *section)
            retranslateNode(child.second);
    }
}

QList<CategoryRow> ParameterTree::categories() const
{
    QList<CategoryRow> rows;
    const auto section = m_document.get_child_optional("document.guiCategory.default");
    if (!section)
        return rows;
    for (const auto& child : *section) {
        const pt::ptree& node = child.second;
        const QString parent = keyText(node, "parent");
        rows.append({keyText(node, "id"), captionOf(node, m_language),
                     parent.isEmpty() ? 0 : parent.right(1).toInt(),
                     keyText(node, "visible", "true") != "true"});
    }
    return rows;
}

QtProperty* ParameterTree::find(const QString& id) const
{
    return findProperty(m_root, id);
}

QList<QtProperty*> ParameterTree::properties() const
{
    return collectProperties(m_root);
}

void ParameterTree::enableEditableRows()
{
    for (QtProperty* property : properties()) {
        if (property->statusTip() != "readOnly")
            property->setEnabled(true);
    }
}

void ParameterTree::addNode(const pt::ptree& node, QtProperty* parent)
{
    if (!parent || !hasChildElements(node))
        return;
    const QString id = keyText(node, "id");
    const QString written = captionOf(node, m_language);
    const QString caption = written.isEmpty() ? id : written;
    const QString type = keyText(node, "type");
    const QString where = parent == m_root ? caption : parent->propertyName() + " › " + caption;

    // Refuse a node before anything of it is built, so that a broken node
    // leaves no half-made row behind.
    if (!isKnownParameterType(type)) {
        m_problems.append(
            tr("Node \"%1\" (id \"%2\") has the unknown type \"%3\"; it is left out.").arg(where, id, type));
        return;
    }
    const QString missing = missingKey(node, m_language);
    if (!missing.isEmpty()) {
        m_problems.append(
            tr("Node \"%1\" (id \"%2\") lacks the key \"%3\"; it is left out.").arg(where, id, missing));
        return;
    }
    // A parameter without an id, or with one an earlier node has, could not
    // be told apart in reads, writes and settings files.
    if (id.isEmpty() && type != "category") {
        m_problems.append(tr("Node \"%1\" has no id; it is left out.").arg(where));
        return;
    }
    if (!id.isEmpty() && m_documentIds.contains(id)) {
        m_problems.append(
            tr("Node \"%1\" has the id \"%2\" of an earlier node; it is left out.").arg(where, id));
        return;
    }
    m_documentIds.insert(id);
    if (written.isEmpty())
        m_problems.append(tr("Node with id \"%1\" has no caption; its id is shown instead.").arg(id));
    const QStringList notNumbers = nonNumericKeys(node);
    for (const QString& key : notNumbers) {
        // Without its address a row can be neither read nor written.
        if (key.startsWith("index") || key.startsWith("subIndex") || key.startsWith("size")) {
            m_problems.append(tr("Node \"%1\" (id \"%2\") has %3, which is no number; it is left out.")
                                  .arg(where, id, key));
            return;
        }
        m_problems.append(
            tr("Node \"%1\" (id \"%2\") has %3, which is no number; 0 is used.").arg(where, id, key));
    }

    const QString readonly = keyText(node, "readonly", "true");
    QtProperty* property = nullptr;
    if (type == "category") {
        property = m_managers.groups->addProperty(caption);
        property->setPropertyId(id);
    } else if (type == "enumerator") {
        property = m_managers.enums->addProperty(caption);
        m_managers.enums->setEnumNames(property, itemCaptions(node, m_language));
        m_managers.enums->setValue(property, node.get<int>("defaultvalue", 0));
    } else if (type == "int") {
        QtIntPropertyManager* manager = id == "CrashCounter" ? m_managers.counters : m_managers.ints;
        property = manager->addProperty(caption);
        manager->setMinimum(property, node.get<int>("min", 0));
        manager->setMaximum(property, node.get<int>("max", 0));
        manager->setValue(property, node.get<int>("defaultvalue", 0));
        if (readonly == "true")
            property->setStatusTip("readOnly");
    } else if (type == "double") {
        property = m_managers.doubles->addProperty(caption);
        m_managers.doubles->setMinimum(property, node.get<double>("min", 0.0));
        m_managers.doubles->setMaximum(property, node.get<double>("max", 0.0));
        m_managers.doubles->setValue(property, node.get<double>("defaultvalue", 0.0));
    } else if (type == "bool") {
        property = m_managers.bools->addProperty(caption);
        m_managers.bools->setValue(property, node.get<int>("defaultvalue", 0) != 0, QString(), QString());
    } else if (type == "action") {
        property = m_managers.buttons->addProperty(caption);
        m_managers.buttons->setValue(property, buttonCaption(node, m_language));
    } else if (type == "string") {
        property = m_managers.strings->addProperty(caption);
        m_managers.strings->setValue(property, keyText(node, "defaultvalue"));
        property->setPropertyId(id);
        if (keyText(node, "isString") != "true") {
            if (readonly == "true")
                property->setStatusTip("readOnly");
            else
                m_choices.insert(id, itemCaptions(node, m_language));
        }
    }

    if (type != "category") {
        m_addresses.insert(id, parameterAddress(node));
        property->setPropertyId(id);
    }
    m_nodeProperties.insert(&node, property);
    property->setEnabled(keyText(node, "readonly", "false") == "false");
    const bool visible = keyText(node, "visible", "true") == "true";
    if (visible)
        parent->addSubProperty(property);
    for (const auto& child : node) {
        if (child.first == "property")
            addNode(child.second, property);
    }
    if (!visible)
        m_hiddenIds.append(id);
}

// Captions follow a language change in place: no property is rebuilt, and
// choices keep their position in the new language.
void ParameterTree::retranslateNode(const pt::ptree& node)
{
    if (!hasChildElements(node))
        return;
    const QString id = keyText(node, "id");
    const QString written = captionOf(node, m_language);
    const QString caption = written.isEmpty() ? id : written;
    const QString type = keyText(node, "type");
    // The row built from this very node: a node left out has none, and one
    // sharing an earlier node's id must not re-caption that node's row.
    QtProperty* property = m_nodeProperties.value(&node);
    if (property)
        property->setPropertyName(caption);

    try {
        if (type == "action" && property) {
            m_managers.buttons->setValue(property, buttonCaption(node, m_language));
        } else if (type == "enumerator" && property) {
            const int index = m_managers.enums->value(property);
            QStringList names = itemCaptions(node, m_language);
            trimChoiceNames(id, names);
            m_managers.enums->setEnumNames(property, names);
            m_managers.enums->setValue(property, index);
        } else if (type == "string" && property && keyText(node, "isString") != "true" &&
                   keyText(node, "readonly", "true") != "true") {
            const QStringList old = m_choices.value(id);
            const int index = property ? old.indexOf(m_managers.strings->value(property)) : -1;
            const QStringList choices = itemCaptions(node, m_language);
            m_choices.insert(id, choices);
            if (index >= 0 && property)
                m_managers.strings->setValue(property, choices.value(index));
        }
    } catch (const pt::ptree_error&) {
        // The node was refused when the tree was built; it has no row to
        // re-caption.
    }
    for (const auto& child : node) {
        if (child.first == "property")
            retranslateNode(child.second);
    }
}

double ParameterTree::doubleValue(const QString& id) const
{
    QtProperty* property = find(id);
    return property ? m_managers.doubles->value(property) : 0.0;
}

int ParameterTree::choice(const QString& id) const
{
    QtProperty* property = find(id);
    return property ? m_managers.enums->value(property) : -1;
}

void ParameterTree::setDoubleRange(const QString& id, double minimum, double maximum)
{
    if (QtProperty* property = find(id)) {
        m_managers.doubles->setRange(property, minimum, maximum);
        refreshRowToolTip(property);
    }
}

void ParameterTree::setDoubleValue(const QString& id, double value)
{
    if (QtProperty* property = find(id))
        m_managers.doubles->setValue(property, value);
}

// Step one of the limits: everything in millimetres.
void ParameterTree::applyMillimetreLimits()
{
    const VariantLimits& variant = m_units.variant();
    for (const char* id : thresholdIds)
        setDoubleRange(id, 0.0, variant.maxRange);
    for (const char* id : hysteresisIds)
        setDoubleRange(id, 0.0, 1000.0);
    setDoubleRange("DetectionRangeNear", 0.0, variant.maxRange);
    setDoubleRange("DetectionRangeFar", 0.0, variant.objMaxRange);
    setDoubleRange("SimulationMeasurementValue", 0.0, variant.maxRange);
}

// The editor limits of the distance parameters in the unit, in an order
// that never clamps a value on the way.
void ParameterTree::applyLimitsOfUnit()
{
    for (const char* id : unitLimitsOrder) {
        const EditorLimits limits = m_units.editorLimits(id);
        setDoubleRange(id, limits.minimum, limits.maximum);
    }
    for (QtProperty* property : properties()) {
        if (property->propertyManager() == m_managers.doubles)
            m_managers.doubles->setDecimals(property, m_units.editorLimits(property->propertyId()).decimals);
    }
}

// The lengths' captions name the unit they are shown in.
void ParameterTree::refreshUnitSuffixes()
{
    static const char* const ids[] = {"LowerThresholdA1", "SwitchingThresholdA1", "UpperThresholdA1",
                                      "HysteresisA1",     "LowerThresholdA2",     "SwitchingThresholdA2",
                                      "UpperThresholdA2", "HysteresisA2"};
    for (const char* id : ids) {
        QtProperty* property = find(id);
        if (!property)
            continue;
        QString name = property->propertyName();
        for (const char* suffix : {" (mm)", " (inch)"}) {
            if (name.endsWith(QLatin1String(suffix)))
                name.chop(int(std::strlen(suffix)));
        }
        property->setPropertyName(name + m_units.captionSuffix());
        refreshRowToolTip(property);
    }
}

// The full choice list of a parameter as the document gives it, so that a
// trim for a sensor variant always starts from the whole list.
QStringList ParameterTree::documentChoiceNames(const QString& id) const
{
    const auto section = m_document.get_child_optional("document.treeGui.default");
    const pt::ptree* node = section ? findNode(*section, id) : nullptr;
    try {
        return node ? itemCaptions(*node, m_language) : QStringList();
    } catch (const pt::ptree_error&) {
        return QStringList();
    }
}

void ParameterTree::trimChoiceNames(const QString& id, QStringList& names) const
{
    if (id == "PinFunctionA1" || id == "PinFunctionA2" || id == "PinFunctionA3")
        trimPinFunctionNames(names, m_crashDetection);
    if (id.contains("ErrorWarning"))
        trimErrorWarningNames(names, m_units.variant().code);
}

QVariant ParameterTree::managerValue(QtProperty* property) const
{
    QtAbstractPropertyManager* manager = property->propertyManager();
    if (manager == m_managers.bools)
        return m_managers.bools->value(property);
    if (manager == m_managers.ints || manager == m_managers.counters)
        return static_cast<QtIntPropertyManager*>(manager)->value(property);
    if (manager == m_managers.doubles)
        return m_managers.doubles->value(property);
    if (manager == m_managers.enums)
        return m_managers.enums->value(property);
    if (manager == m_managers.strings)
        return m_managers.strings->value(property);
    return QVariant();
}

// What the sensor holds (whole millimetres, list codes) as the tree shows it.
QVariant ParameterTree::shownValueOf(QtProperty* property, const QVariant& held) const
{
    const QString id = property->propertyId();
    QtAbstractPropertyManager* manager = property->propertyManager();
    if (manager == m_managers.bools)
        return held.toInt() != 0;
    if (manager == m_managers.doubles) {
        return m_units.isLength(id) ? m_units.shown(id, held.toInt()) : held.toDouble();
    }
    if (manager == m_managers.enums) {
        const int code = held.toInt();
        if (id == "SimulationDistanceValue")
            return code == 65536 ? 0 : 1;
        if (id == "TeachLoked")
            return teachLockPosition(code);
        if (id == "TestMode")
            return code;
        // Before a variant is known the error-source lists are whole.
        if (id.startsWith("ErrorWarning") && m_units.variant().code.isEmpty()) {
            for (int position = 0; position < 17; ++position) {
                if (errorSourceCodeInWholeList(position) == code)
                    return position;
            }
            return code;
        }
        return enumPositionForCode(id, code, m_units.variant().code);
    }
    return held;
}

// What the tree shows as the sensor would hold it.
QVariant ParameterTree::sensorValueOf(QtProperty* property, const QVariant& shown) const
{
    const QString id = property->propertyId();
    QtAbstractPropertyManager* manager = property->propertyManager();
    if (manager == m_managers.bools)
        return shown.toBool() ? 1 : 0;
    if (manager == m_managers.ints || manager == m_managers.counters)
        return shown.toInt();
    if (manager == m_managers.doubles) {
        return m_units.held(id, shown.toDouble());
    }
    if (manager == m_managers.enums) {
        const int position = shown.toInt();
        if (id == "SimulationDistanceValue")
            return position == 0 ? 65536 : 500;
        if (id == "TeachLoked")
            return teachLockValue(m_teachLockWord, position);
        if (id == "TestMode")
            return position;
        if (id.startsWith("ErrorWarning") && m_units.variant().code.isEmpty())
            return errorSourceCodeInWholeList(position);
        return enumCodeForPosition(id, position, m_units.variant().code);
    }
    if (manager == m_managers.strings)
        return shown.toString();
    return QVariant();
}

// The model starts from what the document gives each row.
void ParameterTree::resetModel()
{
    QMap<QString, QVariant> defaults;
    for (QtProperty* property : properties()) {
        const QString id = property->propertyId();
        if (!m_addresses.contains(id) || property->propertyManager() == m_managers.buttons)
            continue;
        defaults.insert(id, sensorValueOf(property, managerValue(property)));
    }
    m_model.reset(defaults);
}

void ParameterTree::showRow(const QString& id)
{
    QtProperty* property = find(id);
    if (!property || !m_model.contains(id))
        return;
    const QVariant held = m_model.shown(id);
    const QVariant shown = shownValueOf(property, held);
    {
        const Quiet quiet(*this);
        QtAbstractPropertyManager* manager = property->propertyManager();
        if (manager == m_managers.bools)
            m_managers.bools->setValue(property, shown.toBool(), QString(), QString());
        else if (manager == m_managers.ints || manager == m_managers.counters)
            static_cast<QtIntPropertyManager*>(manager)->setValue(property, shown.toInt());
        else if (manager == m_managers.doubles)
            m_managers.doubles->setValue(property, shown.toDouble());
        else if (manager == m_managers.enums)
            m_managers.enums->setValue(property, shown.toInt());
        else if (manager == m_managers.strings)
            m_managers.strings->setValue(property, shown.toString());
    }
    checkRowShowsModel(property, held, shown);
    emit rowShown(property);
}

// The editors' limits may be narrower than what the sensor holds: the tree
// then cannot show the sensor's value. Such rows are marked, and nothing is
// sent: only the user decides what the sensor gets.
void ParameterTree::checkRowShowsModel(QtProperty* property, const QVariant& held, const QVariant& shown)
{
    const QString id = property->propertyId();
    QtAbstractPropertyManager* manager = property->propertyManager();
    const RowState state = m_model.state(id);
    if (m_model.hasEdit(id) || (state != RowState::InStep && state != RowState::NotAllowed))
        return;
    QString reason;
    const int position = m_managers.enums->value(property);
    if (manager == m_managers.enums &&
        (position != shown.toInt() || sensorValueOf(property, position).toInt() != held.toInt())) {
        reason = tr("the sensor holds code %1, which this list does not offer").arg(held.toInt());
    } else if (manager == m_managers.doubles || manager == m_managers.ints) {
        const double value = managerValue(property).toDouble();
        if (qAbs(value - shown.toDouble()) > 1e-9 * qMax(1.0, qAbs(shown.toDouble()))) {
            double minimum = 0.0;
            double maximum = 0.0;
            if (manager == m_managers.doubles) {
                minimum = m_managers.doubles->minimum(property);
                maximum = m_managers.doubles->maximum(property);
            } else {
                minimum = m_managers.ints->minimum(property);
                maximum = m_managers.ints->maximum(property);
            }
            reason = tr("the sensor holds %1; allowed %2 to %3")
                         .arg(QString::number(shown.toDouble(), 'g', 6), QString::number(minimum, 'g', 6),
                              QString::number(maximum, 'g', 6));
        }
    }
    if (!reason.isEmpty())
        m_model.setNotAllowed(id, reason);
    else if (state == RowState::NotAllowed)
        m_model.setRead(id, held);
}

void ParameterTree::showAllRows()
{
    for (const QString& id : m_model.ids())
        showRow(id);
}

QString ParameterTree::rowMark(const QString& id) const
{
    if (!m_model.isMarked(id))
        return QString();
    const RowState state = m_model.state(id);
    if (state == RowState::Edited || state == RowState::Writing)
        return tr("Not written to the sensor yet");
    return m_model.reason(id);
}

QStringList ParameterTree::unreadRows() const
{
    QStringList rows;
    for (QtProperty* property : properties()) {
        const QString id = property->propertyId();
        const RowState state = m_model.state(id);
        if (m_model.isMarked(id) && (state == RowState::ReadFailed || state == RowState::NotRead))
            rows << property->propertyName() + ": " + m_model.reason(id);
    }
    return rows;
}

// What an editable number may be, in the unit of its caption, so that the
// user sees the limit before typing past it.
QString ParameterTree::rangeText(QtProperty* property) const
{
    double minimum = 0.0;
    double maximum = 0.0;
    QtAbstractPropertyManager* manager = property->propertyManager();
    if (manager == m_managers.doubles) {
        minimum = m_managers.doubles->minimum(property);
        maximum = m_managers.doubles->maximum(property);
    } else if (manager == m_managers.ints && property->statusTip() != "readOnly") {
        minimum = m_managers.ints->minimum(property);
        maximum = m_managers.ints->maximum(property);
    }
    if (minimum >= maximum)
        return QString();
    const QString unit = splitCaptionUnit(property->propertyName()).unit;
    return tr("Allowed: %1 to %2%3")
        .arg(QString::number(minimum, 'g', 6), QString::number(maximum, 'g', 6),
             unit.isEmpty() ? QString() : " " + unit);
}

// A row's tool tip: why it is marked, if it is, and the range it takes.
void ParameterTree::refreshRowToolTip(QtProperty* property)
{
    QStringList lines;
    const QString mark = rowMark(property->propertyId());
    if (!mark.isEmpty())
        lines << mark;
    const QString range = rangeText(property);
    if (!range.isEmpty())
        lines << range;
    property->setToolTip(lines.join('\n'));
}

// A typed value outside the row's range is not cut into it: the editor

// How many rows a read of everything brought, from the model, so that the
// status bar and the marks agree.
QString ParameterTree::readCountText(const QStringList& rows) const
{
    int notRead = 0;
    for (const QString& id : rows) {
        const RowState state = m_model.state(id);
        notRead += state == RowState::ReadFailed || state == RowState::NotRead ? 1 : 0;
    }
    return tr("Read from the sensor: %1 parameters; not read: %2 (marked in the tree).")
        .arg(rows.size() - notRead)
        .arg(notRead);
}

// The value as the sensor got it, with the unit of its caption.
QString ParameterTree::valueText(QtProperty* property) const
{
    QString value = property->valueText();
    const bool inches = m_units.unit() == 1 && m_units.isLength(property->propertyId());
    if (property->propertyManager() == m_managers.doubles) {
        const double number = m_managers.doubles->value(property);
        value = inches ? QString::number(number, 'f', 2) : QString::number(number, 'g', 10);
    }
    const QString unit = splitCaptionUnit(property->propertyName()).unit;
    value = unit.isEmpty() ? value : value + " " + unit;
    // The sensor holds whole millimetres: the user sees what a typed inch value became.
    if (inches && m_model.contains(property->propertyId()))
        value += tr(" (%1 mm)").arg(m_model.held(property->propertyId()).toInt());
    return value;
}

QString ParameterTree::heldText(QtProperty* property, const QVariant& held) const
{
    QString text = shownText(property, held);
    if (property->propertyManager() == m_managers.strings)
        text = "\"" + text + "\"";
    const QString unit = splitCaptionUnit(property->propertyName()).unit;
    return unit.isEmpty() ? text : text + " " + unit;
}

QString ParameterTree::shownText(QtProperty* property, const QVariant& held) const
{
    const QVariant shown = shownValueOf(property, held);
    QtAbstractPropertyManager* manager = property->propertyManager();
    if (manager == m_managers.enums)
        return m_managers.enums->enumNames(property).value(shown.toInt(), shown.toString());
    if (manager == m_managers.bools)
        return shown.toBool() ? tr("On") : tr("Off");
    if (manager == m_managers.doubles)
        return m_units.unit() == 1 && m_units.isLength(property->propertyId())
                   ? QString::number(shown.toDouble(), 'f', 2)
                   : QString::number(shown.toDouble(), 'g', 10);
    return shown.toString();
}

// The answer's value goes into the model, in the sensor's own units and
// codes; the row then shows it.
void ParameterTree::takeAnswer(const QString& id, const QByteArray& answer, bool identityTexts)
{
    QtProperty* property = find(id);
    if (!property)
        return;
    QtAbstractPropertyManager* manager = property->propertyManager();
    if (manager == m_managers.bools) {
        m_model.setRead(id, answerBool(answer) ? 1 : 0);
    } else if (manager == m_managers.ints || manager == m_managers.counters) {
        m_model.setRead(id, id.contains("CrashCounter") && isErrorAnswer(answer) ? 0 : answerNumber(answer));
    } else if (manager == m_managers.doubles) {
        const int number = answerNumber(answer);
        // 65535 is the sensor's "no value": the shown value stays, marked.
        if (number == 65535)
            m_model.setReadFailed(id, tr("Not read from the sensor: it reports no value"));
        else
            m_model.setRead(id, number);
    } else if (manager == m_managers.enums) {
        const int number = answerNumber(answer);
        if (id == "TeachLoked")
            m_teachLockWord = number;
        m_model.setRead(id, number);
        const int position = shownValueOf(property, number).toInt();
        if (id == "MesurementUnit")
            m_units.setUnit(position);
        emit choiceRead(id, position);
    } else if (manager == m_managers.strings) {
        if (isTagId(id))
            m_model.setRead(id, answerText(answer));
        else if (identityTexts)
            m_model.setRead(id,
                            id.contains("SelfReadOnly") ? answerSelfReadOnly(answer) : answerText(answer));
    }
}

QString ParameterTree::trimPinFunctionLists()
{
    if (m_crashDetection)
        return QString();
    QString message;
    for (const char* id : {"PinFunctionA1", "PinFunctionA2", "PinFunctionA3"}) {
        if (QtProperty* property = find(id)) {
            QStringList names = documentChoiceNames(id);
            trimPinFunctionNames(names, false);
            const QString changed = retrimChoices(property, names);
            message = changed.isEmpty() ? message : changed;
        }
    }
    return message;
}

QString ParameterTree::trimErrorWarningLists()
{
    QString message;
    for (const char* id : {"ErrorWarning1", "ErrorWarning2", "ErrorWarning3", "ErrorWarning4"}) {
        if (QtProperty* property = find(id)) {
            QStringList names = documentChoiceNames(id);
            trimErrorWarningNames(names, m_units.variant().code);
            const QString changed = retrimChoices(property, names);
            message = changed.isEmpty() ? message : changed;
        }
    }
    return message;
}

// The codes behind the positions differ from variant to variant; the model
// keeps the code, so a list cut for another variant shows the same choice.
// A value read from the sensor that the variant lacks is marked; an edit
// the variant lacks becomes its first entry, and the user is told.
QString ParameterTree::retrimChoices(QtProperty* property, const QStringList& names)
{
    QString message;
    const QString id = property->propertyId();
    const QString chosen = m_managers.enums->enumNames(property).value(m_managers.enums->value(property));
    {
        const Quiet quiet(*this);
        m_managers.enums->setEnumNames(property, names);
    }
    if (m_model.hasEdit(id)) {
        const int code = m_model.shown(id).toInt();
        const int position = shownValueOf(property, code).toInt();
        if (position < 0 || position >= names.size() || sensorValueOf(property, position).toInt() != code) {
            m_model.setEdit(id, sensorValueOf(property, 0));
            message = tr("\"%1\" is not available on this sensor; \"%2\" is chosen instead.")
                          .arg(chosen, names.value(0));
        }
    }
    showRow(id);
    return message;
}

} // namespace NimbarSensorPlugin::Core
