#include "ProgressBarUi.h"

#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

namespace Utils {

namespace {
// Most frames take a few milliseconds; showing a dialog for each would only flicker.
constexpr int ShowDelayMs = 300;
} // namespace

ProgressBarUi::ProgressBarUi(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_showDelay(new QTimer(this))
{
    setWindowTitle(tr("Please wait"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(tr("Communicating with the sensor..."), this);
    auto* bar = new QProgressBar(this);
    // Minimum and maximum 0: a busy bar, since a frame's duration is unknown.
    bar->setRange(0, 0);
    bar->setTextVisible(false);
    layout->addWidget(label);
    layout->addWidget(bar);
    setMinimumWidth(260);

    m_showDelay->setSingleShot(true);
    m_showDelay->setInterval(ShowDelayMs);
    connect(m_showDelay, &QTimer::timeout, this, [this] {
        if (m_loop && m_showUi)
            show();
    });
}

ProgressBarUi::~ProgressBarUi()
{
    // Destroyed inside its own exec (deferred deletion, or its parent went away): let exec
    // return instead of waiting for a frame nobody can report any more.
    if (m_loop)
        m_loop->exit(0);
}

void ProgressBarUi::setShowUi(bool show)
{
    m_showUi = show;
    if (!show)
        hide();
}

int ProgressBarUi::exec(int id)
{
    const auto frameId = static_cast<unsigned int>(id);
    if (m_finishedIds.remove(frameId))
        return 1;

    QEventLoop loop;
    m_loop = &loop;
    m_waitingId = frameId;
    if (m_showUi)
        m_showDelay->start();
    const QPointer<ProgressBarUi> alive(this);
    const int result = loop.exec();
    if (!alive)
        return 0;
    m_loop = nullptr;
    m_showDelay->stop();
    hide();
    return result;
}

void ProgressBarUi::exit(unsigned int id)
{
    if (m_loop && id == m_waitingId) {
        m_loop->exit(1);
        return;
    }
    if (m_finishedIds.size() >= MaxRememberedIds)
        m_finishedIds.clear();
    m_finishedIds.insert(id);
}

void ProgressBarUi::reject() {}

} // namespace Utils
