#include "ConnectionStatus.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>

namespace Utils {

namespace {
constexpr int LampSize = 16;
} // namespace

ConnectionStatus::ConnectionStatus(QWidget* parent)
    : QWidget(parent), m_lamp(new QLabel(this)), m_text(new QLabel(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(4);
    m_lamp->setFixedSize(LampSize, LampSize);
    layout->addWidget(m_lamp);
    layout->addWidget(m_text);
    refresh();
}

void ConnectionStatus::setConnected(bool connected)
{
    if (connected == m_connected)
        return;
    m_connected = connected;
    refresh();
}

void ConnectionStatus::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        refresh();
    QWidget::changeEvent(event);
}

void ConnectionStatus::refresh()
{
    const QString lamp = m_connected ? QStringLiteral(":/newPrefix/icons/led_state_2_1.svg")
                                     : QStringLiteral(":/newPrefix/icons/led_state_1_1.svg");
    m_lamp->setPixmap(QIcon(lamp).pixmap(LampSize, LampSize));
    m_text->setText(m_connected ? tr("Connected") : tr("Not connected"));
    setToolTip(m_connected ? tr("A sensor answers on the selected port") : tr("No sensor connected"));
}

} // namespace Utils
