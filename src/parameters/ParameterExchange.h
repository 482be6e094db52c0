#pragma once

#include "ValueCodec.h"
#include "link/RequestFrames.h"

#include <QByteArray>

namespace NimbarSensorPlugin::Core {

class LinkSession;

// The exchanges that read and write one parameter, each held whole and with
// the pauses the sensor needs between its requests.

struct ReadOutcome
{
    QByteArray answer;
    FetchFailure failure = FetchFailure::None;
};

// A read request, a process-data request and the fetch of the value.
// Without the read request the fetch brings whatever was read before: that
// counts as no answer.
ReadOutcome readValue(LinkSession& link, const ParameterAddress& address, bool showRequestWait,
                      bool showWait);

// A fetch that takes a pending read off the sensor, then the write; the
// write's answer.
QByteArray writeValue(LinkSession& link, const ParameterAddress& address, int value, bool showWait);

// A tag is written after its preparation and followed by two process-data
// requests; the answer of the write itself.
QByteArray writeTagText(LinkSession& link, quint8 index, const QByteArray& text, bool showWait);

// The fetch that takes a pending read off the sensor, the restore of its
// factory settings, and two process-data requests; the answer of the restore.
QByteArray restoreFactorySettings(LinkSession& link, bool showWait);

} // namespace NimbarSensorPlugin::Core
