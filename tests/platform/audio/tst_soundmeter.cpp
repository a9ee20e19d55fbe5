#include "FakeDialogs.h"
#include "platform/audio/SoundMeter.h"
#include "platform/audio/VirtualClock.h"
#include "platform/audio/VirtualSoundInput.h"

#include <QTest>

class TestSoundMeter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unavailableInputShowsPlatformTextAndStaysStopped()
    {
        VirtualClock clock;
        VirtualSoundInput input(clock);
        input.setAvailable(false);
        FakeDialogs dialogs;
        SoundMeter meter(input, dialogs);
        QVERIFY(!meter.StartMeter(nullptr));
        QVERIFY(!meter.MeterRunning());
        QCOMPARE(dialogs.texts(), QStringList{VirtualSoundInput::unavailableText()});
        QCOMPARE(dialogs.shown.first().kind, FakeDialogs::Shown::Information);
        clock.advance(1000);
        QVERIFY(!meter.ReadMeter());
    }

    void readMeterTakesLatestBlockWithoutWaiting()
    {
        VirtualClock clock;
        VirtualSoundInput input(clock);
        input.setGenerator([](qint64 i) { return quint8(i % 251); });
        FakeDialogs dialogs;
        SoundMeter meter(input, dialogs);
        QVERIFY(meter.StartMeter(nullptr));
        QVERIFY(!meter.ReadMeter()); // nothing recorded yet: returns at once
        QCOMPARE(meter.copyArea().at(0), char(128));
        clock.advance(600); // 4800 samples: the first block (0 .. 4034) is done
        QVERIFY(meter.ReadMeter());
        QCOMPARE(meter.copyArea().size(), SoundMeter::CopyAreaLength);
        for (int i : {0, 1, 4034})
            QCOMPARE(quint8(meter.copyArea().at(i)), quint8(i % 251));
        QVERIFY(!meter.ReadMeter()); // the block was queued again
        QVERIFY(dialogs.shown.isEmpty());
    }

    void stoppingTwiceIsHarmlessAndStartingTwiceOpensOnce()
    {
        VirtualClock clock;
        VirtualSoundInput input(clock);
        FakeDialogs dialogs;
        SoundMeter meter(input, dialogs);
        QVERIFY(meter.StartMeter(nullptr));
        QVERIFY(meter.StartMeter(nullptr));
        QCOMPARE(input.openCount(), 1);
        meter.StopMeter();
        QVERIFY(!input.isOpen());
        meter.StopMeter();
        QVERIFY(!meter.MeterRunning());
        QVERIFY(meter.StartMeter(nullptr));
        QCOMPARE(input.openCount(), 2);
    }

    void destroyingMeterReleasesInput()
    {
        VirtualClock clock;
        VirtualSoundInput input(clock);
        FakeDialogs dialogs;
        {
            SoundMeter meter(input, dialogs);
            QVERIFY(meter.StartMeter(nullptr));
        }
        QVERIFY(!input.isOpen());
    }
};

QTEST_GUILESS_MAIN(TestSoundMeter)
#include "tst_soundmeter.moc"
