#pragma once

#include <QDialog>
#include <QSet>

class QEventLoop;
class QTimer;

namespace Utils {

// Waits for one frame of the communication interface while the GUI keeps running: exec(id)
// spins a local event loop until exit(id) is called for that frame id. An exit may come before
// exec is entered (the finished signal is connected after the frame was submitted), so ids
// nobody waits for yet are remembered. With the indicator switched on, a busy bar appears when
// the wait lasts long enough to be noticed.
class ProgressBarUi : public QDialog
{
    Q_OBJECT
public:
    explicit ProgressBarUi(QWidget* parent = nullptr);
    ~ProgressBarUi() override;

    // Whether exec shows the busy indicator; the wait is the same either way.
    void setShowUi(bool show);
    bool showUi() const { return m_showUi; }

    // Blocks in a local event loop until exit(id) for this id; returns at once when that exit
    // came earlier. Returns 1 when the frame finished, 0 when the wait was abandoned because
    // this object was destroyed meanwhile (then no member may be touched by the caller).
    int exec(int id);

public Q_SLOTS:
    void exit(unsigned int id);

protected:
    // The frame belongs to the host until it finishes, so the user cannot dismiss the wait.
    void reject() override;

private:
    // Bounds the memory of finished ids that nobody waits for (frames of other windows on the
    // same port finish through the same signal).
    static constexpr int MaxRememberedIds = 64;

    bool m_showUi = true;
    QEventLoop* m_loop = nullptr;
    unsigned int m_waitingId = 0;
    QSet<unsigned int> m_finishedIds;
    QTimer* m_showDelay;
};

} // namespace Utils
