#include "ProtocolTrace.h"

#include "FileChecks.h"

#include <QDebug>

namespace ExtensionSystem {

ProtocolTrace::ProtocolTrace(QObject* parent) : QObject(parent)
{
    m_clock.start();
}

bool ProtocolTrace::open(const QString& fileName, QString* error)
{
    m_file.close();
    m_error.clear();
    // A named pipe without a reader would stop the program at its first
    // line; the standard streams are what a terminal or a test reads.
    const bool standardStream =
        fileName == QLatin1String("/dev/stdout") || fileName == QLatin1String("/dev/stderr");
    const QString problem = standardStream ? QString() : outputProblem(fileName);
    if (!problem.isEmpty()) {
        *error = problem;
        return false;
    }
    m_file.setFileName(fileName);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        *error = m_file.errorString();
        return false;
    }
    m_clock.restart();
    return true;
}

QString ProtocolTrace::fileFromEnvironment()
{
    return qEnvironmentVariable("IOLINK_TRACE");
}

void ProtocolTrace::sent(const QString& port, const QByteArray& bytes)
{
    line('>', port, hexBytes(bytes));
}

void ProtocolTrace::received(const QString& port, const QByteArray& bytes)
{
    line('<', port, hexBytes(bytes));
}

void ProtocolTrace::timedOut(const QString& port, const QByteArray& partialBytes)
{
    line('!', port, partialBytes.isEmpty() ? QStringLiteral("timeout") : "timeout " + hexBytes(partialBytes));
}

void ProtocolTrace::event(const QString& port, const QString& text)
{
    line('!', port, text);
}

void ProtocolTrace::line(char direction, const QString& port, const QString& text)
{
    if (!m_file.isOpen())
        return;
    const double ms = m_clock.nsecsElapsed() / 1e6;
    const QByteArray out =
        QString("%1 %2 %3 %4\n").arg(ms, 10, 'f', 3).arg(QLatin1Char(direction)).arg(port, text).toUtf8();
    if (m_file.write(out) == out.size() && m_file.flush())
        return;
    m_error = tr("Cannot write the protocol trace %1: %2").arg(m_file.fileName(), m_file.errorString());
    m_file.close();
    qWarning().noquote() << m_error;
    emit writeFailed(m_error);
}

QString hexBytes(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

} // namespace ExtensionSystem
