#include "gui/rehearsal/FrmFiltre.h"
#include "gui/rehearsal/Rehearsal.h"

#include "PlayWindowFixture.h"
#include "VoxFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSlider>
#include <QTimer>

using namespace tiradex;

namespace {
const QString Hubert = QStringLiteral("HUBERT"); // the partner
const QString Arthur = QStringLiteral("ARTHUR"); // the actor

// Act 1, scene 1 is P1 A2 P3 A4: replies 1 (HUBERT), 2 (ARTHUR), 3
// (HUBERT), 4 (ARTHUR). Each take's length tells which one a device holds.
const qint64 P1Ms = 2000;
const qint64 A2Ms = 7900; // duration record 7
const qint64 P3Ms = 1500;
const qint64 A4Ms = 900; // duration record 0
} // namespace

// The rehearsal's decisions are the engine's (tst_rehearsalengine); here:
// that the window plays, beeps, counts and shows what the engine decides.
class TestRehearsal : public QObject
{
    Q_OBJECT

private:
    PlayWindowFixture f;
    int m_beeps = 0; // before the test

    // Every reply recorded but those in `unrecorded`; the filter on ARTHUR
    // unless `filter` is false; the scene open on its reply `position`.
    void openScene(int position, const QList<int> &unrecorded = {}, bool filter = true)
    {
        f.setUp({Hubert, Arthur}, {TestPlay::numberedScene(1, 1, 1, 4, {Hubert, Arthur})});
        const std::pair<qint64, QByteArray> takes[] = {
            {P1Ms, "1,1,2\r\n"}, {A2Ms, "1,1,7\r\n"}, {P3Ms, "1,1,1\r\n"}, {A4Ms, "1,1,0\r\n"}};
        for (int n = 1; n <= 4; ++n) {
            if (!unrecorded.contains(n))
                QVERIFY(WriteVox(*f.state, Module1::ReplyBaseName(n, n % 2 ? Hubert : Arthur),
                                 ToneWav(takes[n - 1].first), takes[n - 1].second));
        }
        if (filter)
            f.state->FilterCharacter = Arthur;
        f.openWindow();
        f.openScene(1, 1);
        f.play->ShowReply(position - 1);
        m_beeps = f.sound.beepCount();
    }
    // Enters the rehearsal on reply `position` (1-based).
    void enter(int position = 1, bool nonStop = false)
    {
        openScene(position);
        f.click("CmdRepetition");
        f.control<QCheckBox>("CheckJuskaFinRepetition")->setChecked(nonStop);
    }

    Rehearsal &rehearsal() const { return *f.play->rehearsal(); }
    QTimer *timer() const { return f.control<QTimer>("TimerRepetition"); }
    VirtualMediaDevice &partner() const { return f.device("MMControl3"); }
    VirtualMediaDevice &prompt() const { return f.device("MMControl4"); }
    // The length of the take the partner device plays, 0 when it is closed.
    qint64 partnerTake() const { return partner().isOpen() ? partner().length() : 0; }
    // Runs the clock through the partner take playing now, to its end.
    void finishPartnerTake()
    {
        QVERIFY(partnerTake() > 0);
        f.advance(partnerTake());
    }

    // The window as the rehearsal shows it: the reply position, the shown
    // or enabled panel controls, the cover, the count of beeps.
    QString panel() const
    {
        QStringList on{f.label("LbCompteRepliques")};
        const std::pair<const char *, const char *> shown[] = {
            {"CmdDemarRepetition", "start"}, {"CmdContinuerRepetition", "continue"}};
        for (const auto &[control, name] : shown) {
            if (f.control(control)->isVisible())
                on << QLatin1String(name);
        }
        const std::pair<const char *, const char *> enabled[] = {
            {"CmdStopGlobalRepetition", "stop"},        {"CmdEcouter", "prompt"},
            {"CmdStopLectureRepetition", "promptstop"}, {"CmdVoirTexte", "reveal"},
            {"ComboNumFichierRepetition", "list"},      {"CmdFinRepetition", "leave"}};
        for (const auto &[control, name] : enabled) {
            if (f.control(control)->isVisible() && f.control(control)->isEnabled())
                on << QLatin1String(name);
        }
        if (f.control("Pict_A_Vous")->isVisible())
            on << QStringLiteral("cover");
        on << QStringLiteral("beeps %1").arg(f.sound.beepCount() - m_beeps);
        if (f.state->PlaybackActive)
            on << QStringLiteral("playing");
        return on.join(QLatin1Char(' '));
    }
    // The panels shown, and "tree" when the act/scene tree takes clicks.
    QString panels() const
    {
        QStringList shown;
        for (const char *name : {"Picture1", "Picture2", "PictRepetition", "PictBarRepet"}) {
            if (f.control(name)->isVisible())
                shown << QLatin1String(name);
        }
        if (f.control("TreeView1")->isEnabled())
            shown << QStringLiteral("tree");
        return shown.join(QLatin1Char(' '));
    }

private Q_SLOTS:
    void cleanup() { f.play.reset(); }

    void refusedEntryKeepsTheReplyPanel_data()
    {
        QTest::addColumn<bool>("filter");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing recordings")
            << true
            << "All the Vox files must be present to use the function 'Rehearsal'\r\n"
               "Missing Vox files (ACT 1 - SCENE 1) :\r\n0003-";
        QTest::newRow("no filter: the filter window opens")
            << false << "You have to create a filter before using the function of rehearsal";
    }
    void refusedEntryKeepsTheReplyPanel()
    {
        QFETCH(bool, filter);
        QFETCH(QString, message);
        openScene(1, filter ? QList<int>{3} : QList<int>{}, filter);
        f.click("CmdRepetition");
        QCOMPARE(f.dialogs.texts(), QStringList{message});
        QCOMPARE(panels(), QLatin1String(filter ? "Picture1 Picture2 tree" : "Picture1 Picture2"));
        QCOMPARE(ShownWindow<FrmFiltre>() != nullptr, !filter);
    }

    void enteringOnAnOwnReplyCoversItsText()
    {
        enter(2);
        QCOMPARE(panels(), QStringLiteral("PictRepetition PictBarRepet"));
        QCOMPARE(panel(), QStringLiteral("2/4 start prompt reveal list leave cover beeps 0"));
        QCOMPARE(f.label("LbNumRepliqueRepetition"), QStringLiteral("2/4"));
        QCOMPARE(f.label("Lb_A_Vous"), QStringLiteral("ARTHUR ..."));
        QCOMPARE(f.control("Pict_A_Vous")->geometry(), f.control("RichTextBox1")->geometry());
    }

    void pausingModePlaysPartnersAndWaitsAtOwnReplies()
    {
        enter(1);
        f.click("CmdDemarRepetition");
        QCOMPARE(partnerTake(), P1Ms);
        QCOMPARE(panel(), QStringLiteral("1/4 stop leave beeps 0 playing"));
        f.advance(1200);
        QCOMPARE(f.label("LbEgreneRepetition"), QStringLiteral("1/2 secondes"));
        f.advance(800);
        QCOMPARE(panel(), QStringLiteral("2/4 continue prompt reveal list leave cover beeps 1"));
        QCOMPARE(f.label("LbEgreneRepetition") + f.label("LbNumRepliqueRepetition"),
                 QStringLiteral("2/4"));
        f.advance(5000); // the actor speaks as long as he likes
        f.click("CmdContinuerRepetition");
        QCOMPARE(partnerTake(), P3Ms);
        finishPartnerTake();
        QCOMPARE(panel(), QStringLiteral("4/4 prompt reveal list leave cover beeps 2"));
    }

    // A2's 7.9 s take has the duration record 7: a 7-second gap.
    void nonStopModeCountsTheGapFromTheDurationRecord()
    {
        enter(1, true);
        f.click("CmdDemarRepetition");
        finishPartnerTake();
        QCOMPARE(panel(), QStringLiteral("2/4 stop leave cover beeps 1 playing"));
        QVERIFY(timer()->isActive());
        QCOMPARE(f.label("LbDecompteRepetition"), QStringLiteral("7"));
        rehearsal().TimerRepetitionTick();
        const auto *slider = f.control<QSlider>("Slider2");
        QCOMPARE(QStringLiteral("%1 %2 %3/%4")
                     .arg(f.label("LbEgreneRepetition"), f.label("LbDecompteRepetition"))
                     .arg(slider->value())
                     .arg(slider->maximum()),
                 QStringLiteral("1/7 seconds 6 1/7"));
        for (int second = 2; second <= 7; ++second)
            rehearsal().TimerRepetitionTick();
        QCOMPARE(partnerTake(), P3Ms);
        QVERIFY(!timer()->isActive());
        // A4's take is under one second: a 2-second gap, then the scene's end.
        finishPartnerTake();
        QCOMPARE(f.label("LbDecompteRepetition"), QStringLiteral("2"));
        rehearsal().TimerRepetitionTick();
        rehearsal().TimerRepetitionTick();
        QCOMPARE(panel(), QStringLiteral("4/4 prompt reveal list leave cover beeps 2"));
        QCOMPARE(f.label("LbDecompteRepetition") + f.label("LbEgreneRepetition"), QString());
        QVERIFY(!timer()->isActive());
    }

    // Stop and leave end what plays or counts: nothing goes on stepping
    // behind them (a late tick, the clock running on).
    void stopAndLeaveEndWhatPlaysOrCounts_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("panels");
        QTest::addColumn<QString>("panel");
        const char *rehearsal = "PictRepetition PictBarRepet";
        const char *replies = "Picture1 Picture2 tree";
        QTest::newRow("stop during a partner take")
            << 1 << "CmdStopGlobalRepetition" << rehearsal << "1/4 start prompt list leave beeps 0";
        QTest::newRow("stop during a gap") << 2 << "CmdStopGlobalRepetition" << rehearsal
                                           << "2/4 start prompt reveal list leave cover beeps 1";
        QTest::newRow("leave during a partner take")
            << 1 << "CmdFinRepetition" << replies << "1/4 beeps 0";
        QTest::newRow("leave during a gap") << 2 << "CmdFinRepetition" << replies << "2/4 beeps 1";
    }
    void stopAndLeaveEndWhatPlaysOrCounts()
    {
        QFETCH(int, position);
        QFETCH(QString, button);
        QFETCH(QString, panels);
        QFETCH(QString, panel);
        enter(position, true);
        f.click("CmdDemarRepetition");
        rehearsal().TimerRepetitionTick();
        f.click(qPrintable(button));
        f.advance(10000);
        rehearsal().TimerRepetitionTick(); // a tick already queued
        QCOMPARE(this->panels(), panels);
        QCOMPARE(this->panel(), panel);
        QVERIFY(!partner().isOpen() && !timer()->isActive());
    }

    void startAfterStopPlaysThePartnerTakeFromItsStart()
    {
        enter(1);
        f.click("CmdDemarRepetition");
        f.advance(1500);
        f.click("CmdStopGlobalRepetition");
        partner().clearCommandLog();
        f.click("CmdDemarRepetition");
        QCOMPARE(partner().commandLog(), (QStringList{"Open", "Play"}));
        QCOMPARE(partner().position(), 0);
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
        enter(1);
        f.click("CmdDemarRepetition");
        finishPartnerTake();
        f.click("CmdEcouter");
        QCOMPARE(prompt().isOpen() ? prompt().length() : 0, A2Ms);
        QCOMPARE(panel(), QStringLiteral("2/4 promptstop cover beeps 1 playing"));
        QVERIFY(!f.control("PictBarRepet")->isEnabled());
        f.advance(3100);
        QCOMPARE(f.label("LbEgreneRepetition"), QStringLiteral("3/7 seconds"));
        if (toItsEnd)
            f.advance(A2Ms);
        else
            f.click("CmdStopLectureRepetition");
        QVERIFY(!prompt().isOpen());
        QCOMPARE(panel(), QStringLiteral("2/4 continue prompt reveal list leave cover beeps 1"));
        QCOMPARE(f.label("LbEgreneRepetition"), QString());
    }

    void pickingAnOwnReplyCoversItForTheNextStart()
    {
        enter(1, true);
        PickFromList(f.control<QComboBox>("ComboNumFichierRepetition"), 3); // A4
        QCOMPARE(panel(), QStringLiteral("4/4 start prompt reveal list leave cover beeps 0"));
        QCOMPARE(f.label("LbNumRepliqueRepetition"), QStringLiteral("4/4"));
        f.click("CmdDemarRepetition");
        QCOMPARE(f.label("LbDecompteRepetition"), QStringLiteral("2"));
        QVERIFY(timer()->isActive());
    }

    // As scene listening does, a take that cannot be played is passed over:
    // the rehearsal never waits for an end that cannot come; a prompt that
    // cannot be played says so.
    void unplayableTakes_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("partner take passed over")
            << 1 << "CmdDemarRepetition"
            << "2/4 continue prompt reveal list leave cover beeps 1" << QStringList();
        QTest::newRow("prompt reported")
            << 2 << "CmdEcouter"
            << "2/4 start prompt reveal list leave cover beeps 0"
            << QStringList{"The Vox file number 0002 cannot be played."};
    }
    void unplayableTakes()
    {
        QFETCH(int, position);
        QFETCH(QString, button);
        QFETCH(QString, panel);
        QFETCH(QStringList, messages);
        enter(position);
        TestPlay::write(f.state->VoxPath(Module1::ReplyBaseName(position, f.speaker(position))),
                        "not an archive");
        f.click(qPrintable(button));
        QCOMPARE(this->panel(), panel);
        QCOMPARE(f.dialogs.texts(), messages);
        QVERIFY(!partner().isOpen() && !prompt().isOpen());
    }

    void keyboardRunsTheRehearsal()
    {
        openScene(1);
        f.play->setFocus();
        QTest::keyClick(f.play.get(), Qt::Key_R, Qt::ControlModifier);
        QTest::keyClick(f.play.get(), Qt::Key_Space);
        QCOMPARE(partnerTake(), P1Ms);
        QTest::keyClick(f.play.get(), Qt::Key_Escape);
        QCOMPARE(partnerTake(), 0);
        QTest::keyClick(f.play.get(), Qt::Key_Space);
        finishPartnerTake();
        QTest::keyClick(f.play.get(), Qt::Key_P);
        QVERIFY(prompt().isOpen());
        QTest::keyClick(f.play.get(), Qt::Key_Escape);
        QVERIFY(!prompt().isOpen());
        QTest::keyClick(f.play.get(), Qt::Key_R);
        QTest::keyClick(f.play.get(), Qt::Key_N);
        QCOMPARE(panel(), QStringLiteral("2/4 continue prompt list leave beeps 1"));
        QVERIFY(f.control<QCheckBox>("CheckJuskaFinRepetition")->isChecked());
        QTest::keyClick(f.play.get(), Qt::Key_Space); // Continue
        QCOMPARE(partnerTake(), P3Ms);
        QTest::keyClick(f.play.get(), Qt::Key_E);
        QCOMPARE(panels(), QStringLiteral("Picture1 Picture2 tree"));
    }
};

QTEST_MAIN(TestRehearsal)
#include "tst_rehearsal.moc"
