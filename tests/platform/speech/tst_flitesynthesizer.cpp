#include "platform/speech/FliteSynthesizer.h"

#include <QTest>

#include <cmath>

using namespace tiradex;

class TestFliteSynthesizer : public QObject
{
    Q_OBJECT

private:
    FliteSynthesizer m_flite;

private Q_SLOTS:
    // Four words take about a second, seventeen three to six, and are heard.
    void everyVoiceSpeaksAudibleSpeechOfPlausibleLength_data()
    {
        QTest::addColumn<QString>("voice");
        QVERIFY(m_flite.voices().contains("cmu_us_kal") && m_flite.voices().contains("cmu_us_slt"));
        for (const QString &voice : m_flite.voices())
            QTest::newRow(qPrintable(voice)) << voice;
    }
    void everyVoiceSpeaksAudibleSpeechOfPlausibleLength()
    {
        QFETCH(QString, voice);
        QString error;
        const std::optional<PcmAudio> a =
            m_flite.synthesize("Good morrow, my lord.", voice, &error);
        const std::optional<PcmAudio> b = m_flite.synthesize(
            "In sooth, I know not why I am so sad. It wearies me; you say it wearies you.", voice,
            &error);
        QVERIFY2(a && b, qPrintable(error));
        QVERIFY(a->channels == 1 && a->sampleRate >= 8000);
        double energy = 0;
        for (const qint16 s : a->samples)
            energy += double(s) * s;
        const double rms = std::sqrt(energy / double(a->samples.size()));
        const QString measured = QStringLiteral("%1 ms, %2 ms, rms %3")
                                     .arg(a->durationMs())
                                     .arg(b->durationMs())
                                     .arg(rms);
        QVERIFY2(a->durationMs() > 600 && a->durationMs() < 3500 && b->durationMs() > 2500 &&
                     b->durationMs() < 9000 && rms > 300,
                 qPrintable(measured));
    }

    void unknownVoiceIsRefused()
    {
        QString error;
        QVERIFY(!m_flite.synthesize("Hello", "cmu_us_nobody", &error));
        QVERIFY(error.contains("cmu_us_nobody"));
    }
};

QTEST_GUILESS_MAIN(TestFliteSynthesizer)
#include "tst_flitesynthesizer.moc"
