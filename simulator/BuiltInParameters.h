#pragma once

#include "SensorDescription.h"

namespace IoLinkSimulator {

// Addresses whose behaviour the master link itself depends on.
namespace Address {
constexpr ParameterAddress SingleByteCommit{0x0000, 1};
constexpr ParameterAddress SystemCommand{0x0002, 0};
constexpr ParameterAddress Identity{0x0012, 0};
constexpr ParameterAddress AppSpecificTag{0x0018, 0};
constexpr ParameterAddress FunctionTag{0x0019, 0};
constexpr ParameterAddress LocationTag{0x001A, 0};
constexpr ParameterAddress EchoRecord{0x1211, 0};
constexpr ParameterAddress CrashCounter{0x1323, 0};
} // namespace Address

constexpr quint8 FactoryResetCommand = 0x82;
constexpr quint8 SingleByteCommitValue = 0x98;
constexpr int TagLength = 32;

bool isTagAddress(ParameterAddress address);

// Adds what a sensor always has (identity, tags, echo record, crash
// counter, system command) and the switching parameters with their teach
// buttons, each only when the description names neither its id nor its
// address, so that the link and the switching outputs work without a
// parameter section.
void addBuiltInParameters(SensorDescription* description);

} // namespace IoLinkSimulator
