#include "ParameterReader.h"

#include "ParameterExchange.h"
#include "ParameterModel.h"
#include "ParameterTree.h"
#include "link/LinkSession.h"

#include <qtpropertymanager.h>

namespace NimbarSensorPlugin::Core {

ParameterReader::ParameterReader(LinkSession& link, ParameterTree& tree, ParameterModel& model,
                                 QObject* parent)
    : QObject(parent), m_link(link), m_tree(tree), m_model(model)
{
}

QString ParameterReader::failureText(FetchFailure failure, const QByteArray& answer)
{
    switch (failure) {
    case FetchFailure::IndexNotAvailable:
        return tr("index not available");
    case FetchFailure::ServiceUnavailable:
        return tr("service temporarily not available");
    case FetchFailure::Refused:
        return tr("refused by the sensor (error 0x%1)").arg(fetchErrorCode(answer), 4, 16, QChar('0'));
    case FetchFailure::NoAnswer:
    case FetchFailure::None:
        break;
    }
    return tr("no answer");
}

bool ParameterReader::read(const QString& id, bool showRequestWait, const Options& options)
{
    if (id.contains("BUTTON"))
        return true;
    const std::optional<ParameterAddress> address = parseParameterAddress(m_tree.addresses().value(id));
    if (!m_tree.find(id) || !address)
        return false;
    const LinkSession::Hold hold(m_link);
    const ParameterTree::Quiet quiet(m_tree);
    const ReadOutcome read = readValue(m_link, *address, showRequestWait, options.showWait);
    FetchFailure failure = read.failure;
    // Variants without the acceleration sensor have no counter: it reads as 0.
    if (id.contains("CrashCounter") && isErrorAnswer(read.answer))
        failure = FetchFailure::None;
    bool taken = false;
    if (failure == FetchFailure::None) {
        m_tree.takeAnswer(id, read.answer, options.identityTexts);
        taken = m_model.state(id) == RowState::InStep || !m_model.contains(id);
    } else {
        m_model.setReadFailed(id, tr("Not read from the sensor: %1").arg(failureText(failure, read.answer)));
    }
    if (isTagId(id) && isRefusedTagAnswer(read.answer))
        m_retry.append(id);
    return taken;
}

QStringList ParameterReader::readAll(const Options& options, const std::function<bool()>& mayGoOn,
                                     const std::function<void(int done, int total)>& progress)
{
    const QMap<QString, QString>& addresses = m_tree.addresses();
    QStringList rows;
    for (auto it = addresses.cbegin(); it != addresses.cend(); ++it) {
        QtProperty* property = m_tree.find(it.key());
        const bool identityText = property && property->propertyManager() == m_tree.managers().strings &&
                                  !it.key().endsWith("Tag") && !options.identityTexts;
        if (!it.key().contains("BUTTON") && property && !identityText)
            rows << it.key();
    }
    // Every row counts as not read until its read comes back: a lost line
    // leaves the rest marked.
    m_model.setInDoubt(rows, tr("Not read from the sensor: the read of all parameters stopped first"));
    int done = 0;
    for (auto it = addresses.cbegin(); it != addresses.cend(); ++it) {
        if (!mayGoOn())
            break;
        progress(++done, int(addresses.size()));
        m_link.pause(5);
        read(it.key(), false, options);
    }
    if (mayGoOn()) {
        for (int k = m_retry.size() - 1; k >= 0; --k) {
            const QString id = m_retry[k];
            read(id, false, options);
            m_link.pause(5);
        }
    }
    m_retry.clear();
    return rows;
}

void ParameterReader::readIdentityTexts(const Options& options)
{
    m_link.pause(180);
    read("FirmwareRevisionReadOnly", false, options);
    m_link.pause(180);
    read("SensorNumberReadOnly", false, options);
    m_link.pause(180);
    read("SerialNumberReadOnly", false, options);
    m_link.pause(200);
    read("HardwareRevisionReadOnly", false, options);
}

bool ParameterReader::readTaughtThresholds(const QString& output, const Options& options,
                                           const std::function<bool()>& mayGoOn)
{
    m_link.pause(250);
    for (const char* name : {"SwitchingThreshold", "UpperThreshold", "LowerThreshold"}) {
        if (!mayGoOn())
            return false;
        m_link.pause(150);
        read(name + output, false, options);
    }
    m_link.pause(150);
    return true;
}

} // namespace NimbarSensorPlugin::Core
