#include "VirtualClock.h"
#include "VirtualSoundInput.h"
#include "platform/audio/SoundMeter.h"

#include <QTest>

using namespace tiradex;

class TestSoundMeter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readMeterTakesLatestBlockWithoutWaiting()
    {
        VirtualClock clock;
        VirtualSoundInput input(clock);
        input.setGenerator([](qint64 i) { return quint8(i % 251); });
        SoundMeter meter(input);
        QVERIFY(meter.StartMeter(nullptr));
        QVERIFY(!meter.ReadMeter()); // nothing recorded yet: returns at once
        QCOMPARE(meter.copyArea().at(0), char(128));
        clock.advance(600); // 4800 samples: the first block (0 .. 4034) is done
        QVERIFY(meter.ReadMeter());
        QCOMPARE(meter.copyArea().size(), SoundMeter::CopyAreaLength);
        for (int i : {0, 1, 4034})
            QCOMPARE(quint8(meter.copyArea().at(i)), quint8(i % 251));
        QVERIFY(!meter.ReadMeter()); // the block was queued again
    }

    // Starting twice opens once, stopping twice is harmless, and the
    // meter's end releases the input.
    void inputIsOpenedOnceAndReleased()
    {
        VirtualClock clock;
        VirtualSoundInput input(clock);
        {
            SoundMeter meter(input);
            QVERIFY(meter.StartMeter(nullptr) && meter.StartMeter(nullptr));
            meter.StopMeter();
            QVERIFY(!input.isOpen());
            meter.StopMeter();
            QVERIFY(!meter.MeterRunning());
            QVERIFY(meter.StartMeter(nullptr));
            QCOMPARE(input.openCount(), 2);
        }
        QVERIFY(!input.isOpen());
    }
};

QTEST_GUILESS_MAIN(TestSoundMeter)
#include "tst_soundmeter.moc"
