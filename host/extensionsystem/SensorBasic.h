#pragma once

#include <sstream>
#include <string>

namespace ExtensionSystem {

// The host's record of one sensor a plug-in supports: what the host lists
// and hands back when the user opens that sensor.
class SensorBasic
{
public:
    SensorBasic();
    SensorBasic(const SensorBasic& other);
    SensorBasic& operator=(const SensorBasic& other);
    ~SensorBasic();

    const std::string& id() const { return m_id; }
    const std::string& name() const { return m_name; }

    // Parses one catalogue entry (XML whose top-level elements are the
    // entry's keys) from the stream's read position to its end. Accepts
    // every entry that has a "name"; the record is left unchanged otherwise.
    // The stream's state flags are cleared afterwards, so more text can be
    // appended to it and read by the next call.
    bool fromXMLStream(std::stringstream& entryText);

private:
    std::string m_id;
    std::string m_name;
};

} // namespace ExtensionSystem
