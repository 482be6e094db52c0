#pragma once

#include <QElapsedTimer>
#include <QTest>

#include <functional>

// Runs the event loop until done() holds or timeoutMs have passed; true
// when it holds. Nested loops of the window run inside, so one step may take
// longer than asked.
inline bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > timeoutMs)
            return false;
        QTest::qWait(10);
    }
    return true;
}
