#pragma once

#include <extensionsystem/SensorBasic.h>

#include <QCoreApplication>
#include <QStringList>

#include <boost/property_tree/ptree.hpp>

#include <optional>
#include <sstream>
#include <string>

namespace NimbarSensorPlugin::Core {

// What the catalogue says of one variant of a sensor; a key it lacks reads
// as 0.
struct SensorVariant
{
    int maxRange = 0;
    int minRange = 0;
    int objMaxRange = 0;
    int objMinRange = 0;
    bool analogOutput = false;
    // The second pin is no switching output of its own.
    bool singleSwitchingOutput = false;
    bool accelerationSensor = true;
};

// The window's record of its sensor: the host's record plus the whole
// catalogue entry, so the window can read the entry's own keys (port
// timing, chart settings, variants).
class Sensor : public ExtensionSystem::SensorBasic
{
    Q_DECLARE_TR_FUNCTIONS(Sensor)
public:
    Sensor();
    // Copies give an independent tree.
    Sensor(const Sensor& other);
    Sensor& operator=(const Sensor& other);
    virtual ~Sensor();

    // Keeps the entry's tree (a malformed text leaves it as it was) and
    // returns whether the host accepts the record.
    bool fromXMLStream(std::stringstream& entryText);

    // Port delays in milliseconds, kept to 0 to longestDelayMs: a document
    // with more would stall every exchange, and a negative delay would wrap
    // the time-outs to nothing.
    static constexpr int longestDelayMs = 10000;
    int characterDelay() const;
    int lineDelay() const;
    // One line per delay the entry gives that is no whole number or lies
    // outside the limits, saying what is used instead.
    QStringList delayProblems() const;
    bool thresholdsReadOnly() const;
    // The entry's variants; throws the tree's bad-path error when missing.
    boost::property_tree::ptree& sensorsNode();
    // The variant whose three-digit code is code; empty when the entry has
    // none such.
    std::optional<SensorVariant> variant(const std::string& code) const;
    std::string languageCode() const;

    boost::property_tree::ptree tree;
    std::string language;

private:
    // The delay as the entry gives it (absent: 0); empty when the text is no
    // whole number.
    std::optional<long long> documentDelay(const char* key) const;
};

} // namespace NimbarSensorPlugin::Core
