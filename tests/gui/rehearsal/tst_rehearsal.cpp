#include "gui/rehearsal/FrmFiltre.h"
#include "gui/rehearsal/Rehearsal.h"

#include "PlayWindowFixture.h"
#include "VoxFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSlider>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

using namespace tiradex;

namespace {
const QString Hubert = QStringLiteral("HUBERT"); // the partner
const QString Arthur = QStringLiteral("ARTHUR"); // the actor

// Act 2, scene 1 is P1 A2 P3 A4: replies 9 (HUBERT), 10 (ARTHUR), 11
// (HUBERT), 12 (ARTHUR). Each take's length tells which one a device holds.
const qint64 P1Ms = 2000;
const qint64 A2Ms = 7900; // duration record 7
const qint64 P3Ms = 1500;
const qint64 A4Ms = 900; // duration record 0
} // namespace

class TestRehearsal : public QObject
{
    Q_OBJECT

private:
    PlayWindowFixture f;
    int m_beepsBefore = 0;

    // The play: act 1 scene 1 (replies 1, 2), act 1 scene 2 (3 to 8), act 2
    // scene 1 (9 to 12), HUBERT and ARTHUR in turn. Every reply recorded
    // but those in `unrecorded`; the filter on ARTHUR unless `filter` is false.
    void setUpPlay(const QList<int> &unrecorded = {}, bool filter = true)
    {
        const QList<TestPlay::Scene> scenes = {
            TestPlay::numberedScene(1, 1, 1, 2, {Hubert, Arthur}),
            TestPlay::numberedScene(1, 2, 3, 6, {Hubert, Arthur}),
            TestPlay::numberedScene(2, 1, 9, 4, {Hubert, Arthur})};
        f.setUp({Hubert, Arthur}, scenes);
        for (const TestPlay::Scene &scene : scenes) {
            for (const TestPlay::Reply &r : scene.replies) {
                if (!unrecorded.contains(r.number))
                    record(r.number, 1000, "1,1,1\r\n");
            }
        }
        record(9, P1Ms, "2,1,2\r\n");
        record(10, A2Ms, "2,1,7\r\n");
        record(11, P3Ms, "2,1,1\r\n");
        record(12, A4Ms, "2,1,0\r\n");
        if (filter)
            f.state->FilterCharacter = Arthur;
        f.openWindow();
        m_beepsBefore = f.sound.beepCount();
    }
    void record(int number, qint64 ms, const QByteArray &durationRecord) const
    {
        const QString character = number % 2 ? Hubert : Arthur;
        QVERIFY(WriteVox(*f.state, Module1::ReplyBaseName(number, character), ToneWav(ms),
                         durationRecord));
    }

    // Enters the rehearsal of act 2 scene 1 on its reply `position` (1-based).
    void enterScene(int position = 1, bool nonStop = false)
    {
        setUpPlay();
        f.openScene(2, 1);
        f.play->ShowReply(position - 1);
        Click(f.play.get(), "CmdRepetition");
        QVERIFY(f.control("PictRepetition")->isVisible());
        f.control<QCheckBox>("CheckJuskaFinRepetition")->setChecked(nonStop);
    }

    Rehearsal &rehearsal() const { return *f.play->rehearsal(); }
    QTimer *timer() const { return f.control<QTimer>("TimerRepetition"); }
    VirtualMediaDevice &partner() const { return f.device("MMControl3"); }
    VirtualMediaDevice &prompt() const { return f.device("MMControl4"); }
    // The length of the take the partner device plays, 0 when it is closed.
    qint64 partnerTake() const { return partner().isOpen() ? partner().length() : 0; }
    // The beeps since the rehearsal was entered.
    int beeps() const { return f.sound.beepCount() - m_beepsBefore; }
    QString position() const { return f.label("LbCompteRepliques"); }
    bool coverUp() const { return f.control("Pict_A_Vous")->isVisible(); }
    // Runs the clock through the partner take playing now, to its end.
    void finishPartnerTake()
    {
        const qint64 length = partnerTake();
        QVERIFY(length > 0);
        f.advance(length);
    }

    // The rehearsal panel's controls that are shown or enabled now.
    QString panel() const
    {
        QStringList on;
        const std::pair<QWidget *, const char *> shown[] = {
            {f.control("CmdDemarRepetition"), "start"},
            {f.control("CmdContinuerRepetition"), "continue"}};
        for (const auto &[control, name] : shown) {
            if (control->isVisible())
                on << QLatin1String(name);
        }
        const std::pair<QWidget *, const char *> enabled[] = {
            {f.control("CmdStopGlobalRepetition"), "stop"},
            {f.control("CmdEcouter"), "prompt"},
            {f.control("CmdStopLectureRepetition"), "promptstop"},
            {f.control("CmdVoirTexte"), "reveal"},
            {f.control<QComboBox>("ComboNumFichierRepetition"), "list"},
            {f.control("CmdFinRepetition"), "leave"}};
        for (const auto &[control, name] : enabled) {
            if (control->isEnabled())
                on << QLatin1String(name);
        }
        if (coverUp())
            on << QStringLiteral("cover");
        return on.join(QLatin1Char(' '));
    }

private Q_SLOTS:
    void cleanup() { f.play.reset(); }

    void missingRecordingsAreListedAndNothingChanges()
    {
        setUpPlay({3, 7});
        f.openScene(1, 2);
        Click(f.play.get(), "CmdRepetition");
        QCOMPARE(f.dialogs.shown.size(), 1);
        QVERIFY(
            f.dialogs.texts().at(0).endsWith(QStringLiteral("(ACT 1 - SCENE 2) :\r\n0003-0007-")));
        QVERIFY(f.control("Picture1")->isVisible());
        QVERIFY(!f.control("PictRepetition")->isVisible());
        QVERIFY(f.control("TreeView1")->isEnabled());
    }

    void noFilterSaysSoAndOpensTheFilterWindow()
    {
        setUpPlay({}, false);
        f.openScene(2, 1);
        Click(f.play.get(), "CmdRepetition");
        QCOMPARE(f.dialogs.shown.size(), 1);
        FrmFiltre *filterWindow = nullptr;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *w = qobject_cast<FrmFiltre *>(window); w && w->isVisible())
                filterWindow = w;
        }
        QVERIFY(filterWindow);
        QVERIFY(!f.play->isEnabled());
        QVERIFY(!f.control("PictRepetition")->isVisibleTo(f.play.get()));
    }

    void enteringSwapsThePanelsAndCoversAnOwnReply_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("controls");
        QTest::newRow("on a partner reply, no cue") << 1 << "start list leave";
        QTest::newRow("on an own reply") << 2 << "start prompt reveal list leave cover";
    }
    void enteringSwapsThePanelsAndCoversAnOwnReply()
    {
        QFETCH(int, position);
        QFETCH(QString, controls);
        enterScene(position);
        QVERIFY(!f.control("Picture1")->isVisible());
        QVERIFY(!f.control("Picture2")->isVisible());
        QVERIFY(f.control("PictBarRepet")->isVisible());
        QVERIFY(!f.control("TreeView1")->isEnabled());
        QCOMPARE(f.label("LbNumRepliqueRepetition"), QStringLiteral("%1/4").arg(position));
        QCOMPARE(panel(), controls);
        if (position == 2) {
            QCOMPARE(f.label("Lb_A_Vous"), QStringLiteral("ARTHUR ..."));
            QCOMPARE(f.control("Pict_A_Vous")->geometry(), f.control("RichTextBox1")->geometry());
        }
        QVERIFY(!f.state->PlaybackActive);
        QCOMPARE(beeps(), 0);
    }

    // P1 A2 P3 A4 in pausing mode, started at P1.
    void pausingModePlaysPartnersAndWaitsAtOwnReplies()
    {
        enterScene(1);
        Click(f.play.get(), "CmdDemarRepetition");
        QCOMPARE(partnerTake(), P1Ms);
        QCOMPARE(panel(), QStringLiteral("stop leave"));
        QVERIFY(f.state->PlaybackActive);
        f.advance(1200);
        QCOMPARE(f.label("LbEgreneRepetition"), QStringLiteral("1/2 secondes"));
        f.advance(800);
        QCOMPARE(position(), QStringLiteral("2/4"));
        QCOMPARE(f.label("LbNumRepliqueRepetition"), QStringLiteral("2/4"));
        QVERIFY(!partner().isOpen());
        QCOMPARE(f.label("Lb_A_Vous"), QStringLiteral("ARTHUR ..."));
        QCOMPARE(panel(), QStringLiteral("continue prompt reveal list leave cover"));
        QCOMPARE(beeps(), 1);
        QVERIFY(!f.state->PlaybackActive);
        QCOMPARE(f.label("LbEgreneRepetition"), QString());
        QCOMPARE(f.control<QSlider>("Slider2")->value(), 1);

        f.advance(5000); // the actor speaks as long as he likes
        QCOMPARE(position(), QStringLiteral("2/4"));
        Click(f.play.get(), "CmdContinuerRepetition");
        QCOMPARE(position(), QStringLiteral("3/4"));
        QCOMPARE(partnerTake(), P3Ms);
        QVERIFY(!coverUp());
        finishPartnerTake();
        QCOMPARE(position(), QStringLiteral("4/4"));
        QCOMPARE(panel(), QStringLiteral("prompt reveal list leave cover"));
        QCOMPARE(beeps(), 2);
    }

    // The same scene in non-stop mode: A2's 7.9 s take gives a 7-second gap.
    void nonStopModeCountsTheGapFromTheDurationRecord()
    {
        enterScene(1, true);
        Click(f.play.get(), "CmdDemarRepetition");
        finishPartnerTake();
        QCOMPARE(position(), QStringLiteral("2/4"));
        QCOMPARE(beeps(), 1);
        QCOMPARE(f.label("Lb_A_Vous"), QStringLiteral("ARTHUR ..."));
        QCOMPARE(f.label("LbDecompteRepetition"), QStringLiteral("7"));
        QCOMPARE(panel(), QStringLiteral("stop leave cover"));
        QVERIFY(timer()->isActive());
        QVERIFY(f.state->PlaybackActive);
        QCOMPARE(ScratchFiles(*f.state), QStringList());
        for (int second = 1; second <= 6; ++second) {
            rehearsal().TimerRepetitionTick();
            QCOMPARE(f.label("LbEgreneRepetition"), QStringLiteral("%1/7 seconds").arg(second));
            QCOMPARE(f.label("LbDecompteRepetition"), QString::number(7 - second));
            QCOMPARE(f.control<QSlider>("Slider2")->value(), second);
            QCOMPARE(f.control<QSlider>("Slider2")->maximum(), 7);
            QCOMPARE(partnerTake(), 0);
        }
        rehearsal().TimerRepetitionTick();
        QCOMPARE(position(), QStringLiteral("3/4"));
        QCOMPARE(partnerTake(), P3Ms);
        QVERIFY(!timer()->isActive());
        QVERIFY(!coverUp());

        // A4's take is under one second: a 2-second gap, then the scene's end.
        finishPartnerTake();
        QCOMPARE(position(), QStringLiteral("4/4"));
        QCOMPARE(f.label("LbDecompteRepetition"), QStringLiteral("2"));
        QCOMPARE(beeps(), 2);
        rehearsal().TimerRepetitionTick();
        QCOMPARE(f.label("LbEgreneRepetition"), QStringLiteral("1/2 seconds"));
        rehearsal().TimerRepetitionTick();
        QCOMPARE(f.label("LbDecompteRepetition"), QString());
        QCOMPARE(f.label("LbEgreneRepetition"), QString());
        QCOMPARE(panel(), QStringLiteral("prompt reveal list leave cover"));
        QVERIFY(!timer()->isActive());
        QVERIFY(!f.state->PlaybackActive);
    }

    void stopDuringAPartnerTakeAndStartPlaysItAgainFromItsStart()
    {
        enterScene(1);
        Click(f.play.get(), "CmdDemarRepetition");
        f.advance(1500);
        Click(f.play.get(), "CmdStopGlobalRepetition");
        QVERIFY(!partner().isOpen());
        QCOMPARE(panel(), QStringLiteral("start prompt list leave"));
        QCOMPARE(f.label("LbEgreneRepetition"), QString());
        QCOMPARE(f.control<QSlider>("Slider2")->value(), 1);
        QVERIFY(!f.state->PlaybackActive);
        f.advance(1000);
        QCOMPARE(position(), QStringLiteral("1/4"));
        partner().clearCommandLog();
        Click(f.play.get(), "CmdDemarRepetition");
        QCOMPARE(partner().commandLog(), (QStringList{"Open", "Play"}));
        QCOMPARE(partner().position(), 0);
        QCOMPARE(partnerTake(), P1Ms);
        finishPartnerTake();
        QCOMPARE(position(), QStringLiteral("2/4"));
    }

    void stopDuringAGapKeepsTheCover()
    {
        enterScene(2, true);
        Click(f.play.get(), "CmdDemarRepetition");
        rehearsal().TimerRepetitionTick();
        Click(f.play.get(), "CmdStopGlobalRepetition");
        QVERIFY(!timer()->isActive());
        QCOMPARE(panel(), QStringLiteral("start prompt reveal list leave cover"));
        QCOMPARE(f.label("LbDecompteRepetition"), QString());
        QCOMPARE(f.label("LbEgreneRepetition"), QString());
        QCOMPARE(position(), QStringLiteral("2/4"));
    }

    void promptAtATurnComesBackToTheTurn_data()
    {
        QTest::addColumn<bool>("toItsEnd");
        QTest::newRow("played to its end") << true;
        QTest::newRow("stopped early") << false;
    }
    void promptAtATurnComesBackToTheTurn()
    {
        QFETCH(bool, toItsEnd);
        enterScene(1);
        Click(f.play.get(), "CmdDemarRepetition");
        finishPartnerTake();
        Click(f.play.get(), "CmdEcouter");
        QVERIFY(prompt().isOpen());
        QCOMPARE(prompt().length(), A2Ms);
        QCOMPARE(panel(), QStringLiteral("promptstop cover"));
        QVERIFY(!f.control("PictBarRepet")->isEnabled());
        QVERIFY(f.state->PlaybackActive);
        f.advance(3100);
        QCOMPARE(f.label("LbEgreneRepetition"), QStringLiteral("3/7 seconds"));
        if (toItsEnd)
            f.advance(A2Ms);
        else
            Click(f.play.get(), "CmdStopLectureRepetition");
        QVERIFY(!prompt().isOpen());
        QCOMPARE(panel(), QStringLiteral("continue prompt reveal list leave cover"));
        QCOMPARE(f.label("LbEgreneRepetition"), QString());
        QVERIFY(!f.state->PlaybackActive);
        QCOMPARE(position(), QStringLiteral("2/4"));
    }

    void choosingAnOwnReplyCoversItForTheNextStart_data()
    {
        QTest::addColumn<bool>("nonStop");
        QTest::newRow("non-stop mode: a gap") << true;
    }
    void choosingAnOwnReplyCoversItForTheNextStart()
    {
        QFETCH(bool, nonStop);
        enterScene(1, nonStop);
        PickFromList(f.control<QComboBox>("ComboNumFichierRepetition"), 3); // A4
        QCOMPARE(position(), QStringLiteral("4/4"));
        QCOMPARE(f.label("LbNumRepliqueRepetition"), QStringLiteral("4/4"));
        QCOMPARE(panel(), QStringLiteral("start prompt reveal list leave cover"));
        QCOMPARE(f.label("Lb_A_Vous"), QStringLiteral("ARTHUR ..."));
        Click(f.play.get(), "CmdDemarRepetition");
        QCOMPARE(beeps(), 1);
        QCOMPARE(timer()->isActive(), nonStop);
        QCOMPARE(f.label("LbDecompteRepetition"), nonStop ? QStringLiteral("2") : QString());
        QVERIFY(coverUp());
    }

    // Nothing goes on stepping behind the restored reply panel.
    void leavingStopsWhatPlaysOrCounts_data()
    {
        QTest::addColumn<bool>("nonStop");
        QTest::newRow("during a partner take") << false;
        QTest::newRow("during a gap") << true;
    }
    void leavingStopsWhatPlaysOrCounts()
    {
        QFETCH(bool, nonStop);
        enterScene(nonStop ? 2 : 1, nonStop);
        Click(f.play.get(), "CmdDemarRepetition");
        Click(f.play.get(), "CmdFinRepetition");
        QVERIFY(!partner().isOpen());
        QVERIFY(!timer()->isActive());
        QVERIFY(!f.state->PlaybackActive);
        QVERIFY(f.control("Picture1")->isVisible());
        QVERIFY(f.control("Picture2")->isVisible());
        QVERIFY(!f.control("PictRepetition")->isVisible());
        QVERIFY(!f.control("PictBarRepet")->isVisible());
        QVERIFY(f.control("TreeView1")->isEnabled());
        QVERIFY(!coverUp());
        const QString before = position();
        f.advance(10000);
        rehearsal().TimerRepetitionTick(); // a tick already queued
        QCOMPARE(position(), before);
        QVERIFY(!partner().isOpen());
        QVERIFY(f.enabled("CmdLecture"));
        QVERIFY(f.enabled("CmdPlus"));
    }

    // As scene listening does, a take that cannot be played is passed over:
    // the rehearsal never waits for an end that cannot come.
    void unplayablePartnerTakeIsPassedOver()
    {
        enterScene(1);
        TestPlay::write(f.state->VoxPath(QStringLiteral("_0009_HUBERT")), "not an archive");
        Click(f.play.get(), "CmdDemarRepetition");
        QCOMPARE(position(), QStringLiteral("2/4"));
        QCOMPARE(panel(), QStringLiteral("continue prompt reveal list leave cover"));
        QVERIFY(!partner().isOpen());
        QCOMPARE(beeps(), 1);
    }

    void unplayablePromptIsReportedAndEnds()
    {
        enterScene(2);
        TestPlay::write(f.state->VoxPath(QStringLiteral("_0010_ARTHUR")), "not an archive");
        Click(f.play.get(), "CmdEcouter");
        QCOMPARE(f.dialogs.texts(),
                 QStringList(QStringLiteral("The Vox file number 0010 cannot be played.")));
        QVERIFY(!prompt().isOpen());
        QCOMPARE(panel(), QStringLiteral("start prompt reveal list leave cover"));
        QVERIFY(!f.state->PlaybackActive);
    }

    void keyboardRunsTheRehearsal()
    {
        setUpPlay();
        f.openScene(2, 1);
        f.play->setFocus();
        QTest::keyClick(f.play.get(), Qt::Key_R, Qt::ControlModifier);
        QVERIFY(f.control("PictRepetition")->isVisible());
        QTest::keyClick(f.play.get(), Qt::Key_Space);
        QCOMPARE(partnerTake(), P1Ms);
        QTest::keyClick(f.play.get(), Qt::Key_Escape);
        QVERIFY(!partner().isOpen());
        QTest::keyClick(f.play.get(), Qt::Key_Space);
        finishPartnerTake();
        QCOMPARE(position(), QStringLiteral("2/4"));
        QTest::keyClick(f.play.get(), Qt::Key_P);
        QVERIFY(prompt().isOpen());
        QTest::keyClick(f.play.get(), Qt::Key_Escape);
        QVERIFY(!prompt().isOpen());
        QTest::keyClick(f.play.get(), Qt::Key_R);
        QVERIFY(!coverUp());
        QTest::keyClick(f.play.get(), Qt::Key_N);
        QVERIFY(f.control<QCheckBox>("CheckJuskaFinRepetition")->isChecked());
        QTest::keyClick(f.play.get(), Qt::Key_Space); // Continue
        QCOMPARE(partnerTake(), P3Ms);
        QTest::keyClick(f.play.get(), Qt::Key_E);
        QVERIFY(f.control("Picture1")->isVisible());
        QVERIFY(!partner().isOpen());
    }
};

QTEST_MAIN(TestRehearsal)
#include "tst_rehearsal.moc"
