#include "gui/rehearsal/FrmFiltre.h"
#include "gui/rehearsal/Rehearsal.h"
#include "gui/rehearsal/RehearsalVoices.h"

#include "FakeSpeechSynthesizer.h"
#include "PlayWindowFixture.h"
#include "VoxFiles.h"
#include "core/audio/Tones.h"
#include "core/audio/WavFile.h"
#include "core/speech/PlaySettings.h"
#include "core/speech/SpokenText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

using namespace tiradex;

namespace {
const QString Hubert = QStringLiteral("HUBERT"); // the partner
const QString Arthur = QStringLiteral("ARTHUR"); // the actor
} // namespace

// Act 1, scene 1 is P1 A2 P3 A4: replies 1 (HUBERT), 2 (ARTHUR), 3 (HUBERT),
// 4 (ARTHUR). Only A2 (7.9 s, record 7) and P3 (1.5 s) are recorded.
class TestRehearsalVoices : public QObject
{
    Q_OBJECT

private:
    PlayWindowFixture f;
    FakeSpeechSynthesizer m_fake;

    void setUpPlay(bool voicesForMissing, const GapTuning &tuning = {},
                   const QString &hubertVoice = {})
    {
        f.setUp({Hubert, Arthur}, {TestPlay::numberedScene(1, 1, 1, 4, {Hubert, Arthur})});
        QVERIFY(WriteVox(*f.state, Module1::ReplyBaseName(2, Arthur), ToneWav(7900), "1,1,7\r\n"));
        QVERIFY(WriteVox(*f.state, Module1::ReplyBaseName(3, Hubert), ToneWav(1500), "1,1,1\r\n"));
        PlaySettings settings;
        settings.voicesForMissing = voicesForMissing;
        settings.tuning = tuning;
        if (!hubertVoice.isEmpty())
            settings.voices.insert(Hubert, hubertVoice);
        QVERIFY(SavePlaySettings(PlaySettingsPath(f.state->PlayFolder), settings, nullptr));
        f.state->FilterCharacter = Arthur;
        m_fake.calls.clear();
        f.speech = &m_fake;
        f.openScene();
    }
    RehearsalVoices &voices() const { return f.play->rehearsal()->voices(); }
    VirtualMediaDevice &partner() const { return f.device("MMControl3"); }
    // A4's gap: estimated at the pace of A2's record over its text.
    int estimatedGap() const
    {
        const auto bytes = [this](int number) {
            return QFileInfo(f.state->ReplyTextPath(1, 1, Module1::ReplyBaseName(number, Arthur)))
                .size();
        };
        return GapTuning{150, 1}.apply(
            SpeakingPace::FromRecordings(7, bytes(2)).secondsFor(bytes(4)));
    }

private Q_SLOTS:
    void cleanup() { f.play.reset(); }

    // Non-stop with the gaps tuned 1.5 times plus 1 s: the missing partner
    // reply is spoken on the partner device; the recorded own reply's gap is
    // tuned; the missing own reply's gap is estimated at the actor's pace.
    void missingPartnerIsSpokenAndMissingOwnGapIsEstimated()
    {
        setUpPlay(true, {150, 1}, "gamma");
        f.click("CmdRepetition");
        QVERIFY(voices().ChkVoix->isChecked() && f.dialogs.texts().isEmpty());
        QCOMPARE(voices().SpinFacteurPause->value(), 1.5);
        QCOMPARE(voices().SpinPausePlus->value(), 1);
        // A4 has no recording and is never spoken: the cue has nothing to play.
        f.play->rehearsal()->ComboNumFichierRepetitionPick(3);
        QVERIFY(!f.control("CmdEcouter")->isEnabled() && voices().CmdPiste->isEnabled());
        f.play->rehearsal()->ComboNumFichierRepetitionPick(0);
        f.control<QCheckBox>("CheckJuskaFinRepetition")->setChecked(true);
        f.click("CmdDemarRepetition");
        // "Text of reply 1." at 10 ms a letter, in the chosen voice.
        QCOMPARE(partner().isOpen() ? partner().length() : 0, qint64(160));
        QVERIFY(!voices().CmdPiste->isEnabled());
        QCOMPARE(m_fake.calls, QStringList{"gamma:Text of reply 1."});
        f.advance(160);
        QCOMPARE(f.label("LbDecompteRepetition"), QStringLiteral("12")); // 7 * 1.5 + 1
        for (int i = 0; i < 12; ++i)
            f.play->rehearsal()->TimerRepetitionTick();
        QCOMPARE(partner().length(), qint64(1500)); // P3's own take
        f.advance(1500);
        QCOMPARE(f.label("LbCompteRepliques"), QStringLiteral("4/4"));
        QCOMPARE(f.label("LbDecompteRepetition"), QString::number(estimatedGap()));

        // Changed on the panel, the choices are kept for the play.
        voices().SpinFacteurPause->setValue(0.5);
        voices().SpinPausePlus->setValue(3);
        voices().ChkVoix->setChecked(false);
        const std::optional<PlaySettings> saved =
            LoadPlaySettings(PlaySettingsPath(f.state->PlayFolder), nullptr);
        QVERIFY(saved && !saved->voicesForMissing);
        QCOMPARE(saved->tuning, (GapTuning{50, 3}));
        QCOMPARE(saved->voices.value(Hubert), QStringLiteral("gamma"));
    }

    // The actor ticks the voices and picks a partner's voice in the filter
    // window, before any rehearsal; the rehearsal then enters and uses them.
    void filterWindowTicksVoicesAndChoosesAVoice()
    {
        setUpPlay(false);
        FrmFiltre *filter = f.play->CmdFiltresClick();
        QVERIFY(filter && filter->ComboVoix->isVisibleTo(filter));
        QCOMPARE(filter->ComboVoix->count(), 3);
        filter->LstFiltre->setCurrentRow(0); // HUBERT
        QCOMPARE(filter->ComboVoix->currentText(), DefaultVoice(Hubert, m_fake.voices()));
        const QString other = DefaultVoice(Hubert, m_fake.voices()) == "beta" ? "alpha" : "beta";
        filter->ComboVoix->setCurrentText(other);
        filter->ComboVoix->activated(filter->ComboVoix->currentIndex());
        filter->ChkVoixFiltre->setChecked(true);
        filter->close();
        QTRY_VERIFY(f.play->isEnabled()); // once the closed window is gone
        f.click("CmdRepetition");
        f.click("CmdDemarRepetition");
        QCOMPARE(m_fake.calls, QStringList{other + ":Text of reply 1."});
        QCOMPARE(LoadPlaySettings(PlaySettingsPath(f.state->PlayFolder), nullptr)->voices,
                 (QMap<QString, QString>{{Hubert, other}}));
    }

    // From the rehearsal panel, on reply 2 of 4: A2's beep and 12-second
    // tuned gap, P3's take, A4's beep and estimated gap, in a WAV file.
    void practiceTrackIsWrittenFromTheCurrentReply()
    {
        setUpPlay(true, {150, 1});
        f.play->ShowReply(1);
        f.click("CmdRepetition");
        QTemporaryDir out;
        f.dialogs.folders << out.path();
        voices().ComboFormatPiste->setCurrentText("wav");
        f.click("CmdPiste");
        const QString path = out.filePath("merchantvenice act 1 scene 1 from 0002 ARTHUR.wav");
        QCOMPARE(f.dialogs.texts(),
                 QStringList{QStringLiteral("The practice track was written:\r\n") + path});
        QString error;
        const std::optional<PcmAudio> track = ReadWavFile(path, &error);
        QVERIFY2(track, qPrintable(error));
        const qint64 rate = track->sampleRate;
        QCOMPARE(track->frames(), 2 * qint64(BeepSound().samples.size()) +
                                      (12 + estimatedGap()) * rate +
                                      PcmAudio::MsToFrames(1500, int(rate)));
        QVERIFY(m_fake.calls.isEmpty()); // the actor's own replies are never spoken
    }
};

QTEST_MAIN(TestRehearsalVoices)
#include "tst_rehearsalvoices.moc"
