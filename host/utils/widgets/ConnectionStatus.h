#pragma once

#include <QWidget>

class QLabel;

namespace Utils {

// A status-bar indicator of the sensor connection: a lamp (green when connected, grey when not)
// beside a short text.
class ConnectionStatus : public QWidget
{
    Q_OBJECT
public:
    explicit ConnectionStatus(QWidget* parent = nullptr);

    bool isConnected() const { return m_connected; }

public Q_SLOTS:
    void setConnected(bool connected);

protected:
    void changeEvent(QEvent* event) override;

private:
    void refresh();

    bool m_connected = false;
    QLabel* m_lamp;
    QLabel* m_text;
};

} // namespace Utils
