#pragma once

#include "Frame.h"
#include "SensorModel.h"
#include "TargetMotion.h"

#include <parameters/ValueCodec.h>

#include <gtest/gtest.h>

#include <memory>

namespace SimulatorTest {

using namespace IoLinkSimulator;
// Answers read as the sensor window reads them.
using NimbarSensorPlugin::Core::answerNumber;
using NimbarSensorPlugin::Core::answerText;

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (const int value : values)
        result.append(static_cast<char>(value));
    return result;
}

inline QByteArray readRequest(quint16 index, quint8 subIndex)
{
    return Frame::build(Frame::ReadRequest, bytes({index & 0xFF, index >> 8, subIndex}));
}

inline QByteArray writeRequest(quint16 index, quint8 subIndex, const QByteArray& value)
{
    return Frame::build(Frame::ParameterWrite, bytes({index & 0xFF, index >> 8, subIndex}) + value);
}

// Value bytes by the parameter's size: 6 one byte, 7 two, 9 four (00 00 H L).
inline QByteArray valueBytes(int size, int value)
{
    const QByteArray four = bytes({0, 0, (value >> 8) & 0xFF, value & 0xFF});
    return four.right(size == 6 ? 1 : size == 7 ? 2 : 4);
}

inline const QByteArray connectionCheck = bytes({0x03, 0x51, 0x12, 0x01});
inline const QByteArray processDataRequest = bytes({0x02, 0x70, 0x22});
inline const QByteArray fetchRequest = bytes({0x02, 0x73, 0x27});
inline const QByteArray factoryResetRequest = bytes({0x06, 0x6B, 0x24, 0x02, 0x00, 0x00, 0x82});
inline const QByteArray writeAcknowledgement = bytes({0x02, 0x43, 0x24});
inline const QByteArray indexNotAvailable = bytes({0x04, 0x76, 0xA7, 0x80, 0x11});

// Two models, UM035 with variants 107 and 108 and UK600, and a parameter section of their own.
inline const QString testDocument = QStringLiteral(SIMULATOR_TEST_DOCUMENT);

struct ModelFixture
{
    std::shared_ptr<qint64> now = std::make_shared<qint64>(0);
    std::unique_ptr<SensorModel> model;

    explicit ModelFixture(const QString& variant = QString())
    {
        QString error;
        model = SensorModel::create(testDocument, QStringLiteral("UM035"), variant, 7, &error,
                                    [clock = now] { return *clock; });
        EXPECT_TRUE(model) << error.toStdString();
    }

    // Moves the clock to a moment the target shows this kind of reading.
    void moveTo(TargetMotion::Kind kind, qint64 from = 3000, int low = 0, int high = 0xFFFF)
    {
        const VariantInfo& variant = model->description().variant;
        const TargetMotion target(model->seed(), variant.minRange, variant.maxRange);
        for (*now = from; *now < from + 120000; *now += 50) {
            const TargetMotion::Sample sample = target.at(*now);
            if (sample.kind == kind && sample.distanceMm >= low && sample.distanceMm <= high)
                return;
        }
        ADD_FAILURE() << "no such moment within two minutes";
    }

    QByteArray ask(const QByteArray& request) { return model->answer(request); }

    QByteArray read(quint16 index, quint8 subIndex)
    {
        ask(readRequest(index, subIndex));
        ask(processDataRequest);
        return ask(fetchRequest);
    }

    QByteArray write(const char* id, int value)
    {
        const ParameterSpec* p = model->description().find(QLatin1String(id));
        EXPECT_TRUE(p) << id;
        return p ? ask(writeRequest(p->address.index, p->address.subIndex, valueBytes(p->size, value)))
                 : QByteArray();
    }

    qint64 number(const char* id) const { return model->parameterValue(QLatin1String(id)).toLongLong(); }
};

} // namespace SimulatorTest
