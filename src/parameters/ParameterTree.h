#pragma once

#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <boost/property_tree/ptree.hpp>

#include <string>

class QtBoolPropertyManager;
class QtDoublePropertyManager;
class QtEnumPropertyManager;
class QtGroupPropertyManager;
class QtIntPropertyManager;
class QtProperty;
class QtStringPropertyManager;

namespace Utils {
class ButtonManager;
}

namespace NimbarSensorPlugin::Core {

class LengthUnits;
class ParameterModel;

// The managers of the tree's rows, one per kind of value.
struct PropertyManagers
{
    QtBoolPropertyManager* bools = nullptr;
    QtIntPropertyManager* ints = nullptr;
    // The crash counter's own manager: its changes are never written back.
    QtIntPropertyManager* counters = nullptr;
    QtDoublePropertyManager* doubles = nullptr;
    QtStringPropertyManager* strings = nullptr;
    QtEnumPropertyManager* enums = nullptr;
    QtGroupPropertyManager* groups = nullptr;
    Utils::ButtonManager* buttons = nullptr;
};

// One row of the document's caption section: the process-data list's rows.
struct CategoryRow
{
    QString id;
    QString caption;
    int parent = 0;
    bool hidden = false;
};

// The user's texts on the sensor: written whole, read again when refused.
bool isTagId(const QString& id);

// The parameter tree's rows, built from the description document, as a view
// of the parameter model: every row shows the model's value in the unit and
// choice list of the moment. It knows each parameter's address and kind; it
// never talks to the sensor and owns no widget.
class ParameterTree : public QObject
{
    Q_OBJECT
public:
    ParameterTree(ParameterModel& model, LengthUnits& units, QObject* parent = nullptr);

    const PropertyManagers& managers() const { return m_managers; }
    const LengthUnits& units() const { return m_units; }

    // Builds the rows from the document at path below a root captioned
    // rootCaption. What the document lacks is collected in problems(); the
    // rest of the tree is built regardless.
    void build(const std::string& path, const QString& rootCaption, const std::string& languageCode);
    QStringList problems() const { return m_problems; }
    // Re-captions every row in place: choices keep their positions.
    void retranslate(const std::string& languageCode);
    QList<CategoryRow> categories() const;

    QtProperty* root() const { return m_root; }
    QtProperty* find(const QString& id) const;
    QList<QtProperty*> properties() const;
    // "index;subIndex;size" of every parameter, by id, in the order the
    // sensor gets them in a read or write of everything.
    const QMap<QString, QString>& addresses() const { return m_addresses; }
    const QMap<QString, QStringList>& choiceLists() const { return m_choices; }
    QStringList hiddenIds() const { return m_hiddenIds; }
    void enableEditableRows();

    // The full choice list as the document gives it, so that a trim for a
    // variant always starts from the whole list.
    QStringList documentChoiceNames(const QString& id) const;
    // Variants without the acceleration sensor lack its pin function.
    void setCrashDetectionAvailable(bool available) { m_crashDetection = available; }
    bool crashDetectionAvailable() const { return m_crashDetection; }
    // Cuts the lists to what the connected variant offers; a message for the
    // user when an edit had to change, else empty.
    QString trimPinFunctionLists();
    QString trimErrorWarningLists();

    // Single rows by id; a row the document lacks reads as 0 (a choice as
    // -1) and takes no change.
    double doubleValue(const QString& id) const;
    int choice(const QString& id) const;
    void setDoubleRange(const QString& id, double minimum, double maximum);
    void setDoubleValue(const QString& id, double value);
    // The editors' limits of the lengths: first everything in millimetres
    // from the variant's ranges, then in the unit.
    void applyMillimetreLimits();
    void applyLimitsOfUnit();
    void refreshUnitSuffixes();

    QVariant managerValue(QtProperty* property) const;
    // What the sensor holds (whole millimetres, list codes) as the row shows it.
    QVariant shownValueOf(QtProperty* property, const QVariant& held) const;
    // What the row shows as the sensor would hold it.
    QVariant sensorValueOf(QtProperty* property, const QVariant& shown) const;
    // The model starts from what the document gives each row.
    void resetModel();
    void showRow(const QString& id);
    void showAllRows();
    // The answer to a read of id goes into the model, in the sensor's units
    // and codes. Identity texts are taken only when identityTexts is set.
    void takeAnswer(const QString& id, const QByteArray& answer, bool identityTexts);

    // Why a row is marked; empty when it shows what the sensor holds.
    QString rowMark(const QString& id) const;
    // "Caption: why" of every row whose last read failed, in the tree's order.
    QStringList unreadRows() const;
    QString readCountText(const QStringList& ids) const;
    // The row's value with the unit of its caption, and in whole
    // millimetres what a length in inches became.
    QString valueText(QtProperty* property) const;
    // A value in the sensor's units and codes as the row would show it, with its unit.
    QString heldText(QtProperty* property, const QVariant& held) const;
    // The same without the unit: a choice by its name, a switch as on or off.
    QString shownText(QtProperty* property, const QVariant& held) const;
    // The row's range in the unit of its caption; empty for rows without one.
    QString rangeText(QtProperty* property) const;
    void refreshRowToolTip(QtProperty* property);

    // Value changes the tree makes while one of these lives are never taken
    // as the user's, whatever the state of the managers' signals.
    class Quiet
    {
    public:
        explicit Quiet(ParameterTree& tree) : m_tree(tree) { ++m_tree.m_quiet; }
        ~Quiet() { --m_tree.m_quiet; }
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;

    private:
        ParameterTree& m_tree;
    };
    bool isQuiet() const { return m_quiet > 0; }

signals:
    // A row shows its value and state anew: its mark follows.
    void rowShown(QtProperty* property);
    // A choice row took a value from the sensor, at this list position.
    void choiceRead(const QString& id, int position);

private:
    void addNode(const boost::property_tree::ptree& node, QtProperty* parent);
    void retranslateNode(const boost::property_tree::ptree& node);
    void trimChoiceNames(const QString& id, QStringList& names) const;
    QString retrimChoices(QtProperty* property, const QStringList& names);
    void checkRowShowsModel(QtProperty* property, const QVariant& held, const QVariant& shown);

    ParameterModel& m_model;
    LengthUnits& m_units;
    PropertyManagers m_managers;
    QtProperty* m_root = nullptr;
    std::string m_language = "en";
    boost::property_tree::ptree m_document;
    QStringList m_problems;
    QSet<QString> m_documentIds;
    QHash<const boost::property_tree::ptree*, QtProperty*> m_nodeProperties;
    QMap<QString, QString> m_addresses;
    QMap<QString, QStringList> m_choices;
    QStringList m_hiddenIds;
    bool m_crashDetection = true;
    // The teach lock's whole word: the list shows one bit of it.
    int m_teachLockWord = 0;
    int m_quiet = 0;
};

} // namespace NimbarSensorPlugin::Core
