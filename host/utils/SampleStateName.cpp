#include "SampleStateName.h"

#include <QCoreApplication>

namespace Utils {

QString sampleStateName(SampleState state)
{
    switch (state) {
    case SampleState::Value:
        break;
    case SampleState::Gap:
        return QCoreApplication::translate("Utils::SampleState", "gap");
    case SampleState::TooClose:
        return QCoreApplication::translate("Utils::SampleState", "too close");
    case SampleState::TooFar:
        return QCoreApplication::translate("Utils::SampleState", "too far");
    case SampleState::NoData:
        return QCoreApplication::translate("Utils::SampleState", "no data");
    }
    return QString();
}

} // namespace Utils
