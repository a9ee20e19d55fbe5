#include "platform/speech/FliteSynthesizer.h"

#include <QTest>

#include <cmath>

using namespace tiradex;

class TestFliteSynthesizer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyVoiceSpeaksAudibleSpeechOfPlausibleLength_data();
    void everyVoiceSpeaksAudibleSpeechOfPlausibleLength();
    void unknownVoiceIsRefused();

private:
    FliteSynthesizer m_flite;
};

void TestFliteSynthesizer::everyVoiceSpeaksAudibleSpeechOfPlausibleLength_data()
{
    QTest::addColumn<QString>("voice");
    const QStringList voices = m_flite.voices();
    QVERIFY(voices.contains("cmu_us_kal") && voices.contains("cmu_us_slt"));
    for (const QString &voice : voices)
        QTest::newRow(qPrintable(voice)) << voice;
}

void TestFliteSynthesizer::everyVoiceSpeaksAudibleSpeechOfPlausibleLength()
{
    QFETCH(QString, voice);
    const QString shortText = QStringLiteral("Good morrow, my lord.");
    const QString longText = QStringLiteral(
        "In sooth, I know not why I am so sad. It wearies me; you say it wearies you.");
    QString error;
    const std::optional<PcmAudio> a = m_flite.synthesize(shortText, voice, &error);
    const std::optional<PcmAudio> b = m_flite.synthesize(longText, voice, &error);
    QVERIFY2(a && b, qPrintable(error));
    QCOMPARE(a->channels, 1);
    QVERIFY(a->sampleRate >= 8000);
    // Four words take about a second; seventeen three to six.
    QVERIFY2(a->durationMs() > 600 && a->durationMs() < 3500,
             qPrintable(QString::number(a->durationMs())));
    QVERIFY2(b->durationMs() > 2500 && b->durationMs() < 9000,
             qPrintable(QString::number(b->durationMs())));
    double energy = 0;
    for (const qint16 s : a->samples)
        energy += double(s) * s;
    const double rms = std::sqrt(energy / double(a->samples.size()));
    QVERIFY2(rms > 300, qPrintable(QString::number(rms)));
}

void TestFliteSynthesizer::unknownVoiceIsRefused()
{
    QString error;
    QVERIFY(!m_flite.synthesize("Hello", "cmu_us_nobody", &error));
    QVERIFY(error.contains("cmu_us_nobody"));
}

QTEST_GUILESS_MAIN(TestFliteSynthesizer)
#include "tst_flitesynthesizer.moc"
