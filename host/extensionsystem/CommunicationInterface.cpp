#include "CommunicationInterface.h"

namespace ExtensionSystem {

CommunicationInterface::CommunicationInterface(QObject* parent) : QObject(parent) {}

CommunicationInterface::~CommunicationInterface() = default;

} // namespace ExtensionSystem
