#include <utils/widgets/ProgressBarUi.h>

#include <QPointer>
#include <QTimer>
#include <QtTest>

using Utils::ProgressBarUi;

// A wrongly ended wait shows as a failed check; a wait that never ends fails by the time-out.
class ProgressBarUiTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void endsOnlyForItsOwnId();
    void exitBeforeExecEndsItAtOnceButOnlyOnce();
    void hiddenWaitStillWaits();
    void destructionEndsTheWait();
};

void ProgressBarUiTest::endsOnlyForItsOwnId()
{
    ProgressBarUi progress(nullptr);
    progress.exit(4);
    bool ownExitSent = false;
    QTimer::singleShot(0, &progress, [&] {
        progress.exit(6);
        // Runs only when the wait survived the foreign ids.
        QTimer::singleShot(0, &progress, [&] {
            ownExitSent = true;
            progress.exit(5);
        });
    });
    QCOMPARE(progress.exec(5), 1);
    QVERIFY(ownExitSent);
}

void ProgressBarUiTest::exitBeforeExecEndsItAtOnceButOnlyOnce()
{
    ProgressBarUi progress(nullptr);
    progress.exit(3);
    bool guardFired = false;
    QTimer guard;
    connect(&guard, &QTimer::timeout, &progress, [&] {
        guardFired = true;
        guard.stop();
        progress.exit(3);
    });
    guard.start(0);
    QCOMPARE(progress.exec(3), 1);
    QVERIFY(!guardFired);
    QCOMPARE(progress.exec(3), 1);
    QVERIFY(guardFired);
}

void ProgressBarUiTest::hiddenWaitStillWaits()
{
    QWidget window;
    window.show();
    auto* progress = new ProgressBarUi(&window);
    progress->setModal(true);
    progress->setShowUi(false);
    bool visible = true;
    QTimer::singleShot(0, progress, [&] {
        visible = progress->isVisible();
        progress->exit(11);
    });
    QCOMPARE(progress->exec(11), 1);
    QVERIFY(!visible);
}

void ProgressBarUiTest::destructionEndsTheWait()
{
    QWidget window;
    QPointer<ProgressBarUi> progress = new ProgressBarUi(&window);
    QTimer::singleShot(0, progress, [&] { progress->deleteLater(); });
    QCOMPARE(progress->exec(8), 0);
    QVERIFY(progress.isNull());
}

QTEST_MAIN(ProgressBarUiTest)
#include "tst_utils_progressbarui.moc"
