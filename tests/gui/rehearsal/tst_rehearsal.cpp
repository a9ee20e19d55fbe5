#include "core/rehearsal/RehearsalEntry.h"
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

// The rehearsal panel's controls, by the short names of steps and views.
const std::pair<const char *, const char *> Controls[] = {
    {"CmdDemarRepetition", "start"},
    {"CmdContinuerRepetition", "continue"},
    {"CmdStopGlobalRepetition", "stop"},
    {"CmdEcouter", "prompt"},
    {"CmdStopLectureRepetition", "promptstop"},
    {"CmdVoirTexte", "reveal"},
    {"ComboNumFichierRepetition", "list"},
    {"CmdFinRepetition", "leave"}};
} // namespace

// The rehearsal's decisions are the engine's (tst_rehearsalengine); here:
// that the window plays, beeps, counts and shows what the engine decides.
// Act 1, scene 1 is P1 A2 P3 A4: replies 1 (HUBERT, 2 s), 2 (ARTHUR, 7.9 s
// with the duration record 7), 3 (HUBERT, 1.5 s), 4 (ARTHUR, 0.9 s with the
// record 0); the filter is on ARTHUR.
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
            {2000, "1,1,2\r\n"}, {7900, "1,1,7\r\n"}, {1500, "1,1,1\r\n"}, {900, "1,1,0\r\n"}};
        for (int n = 1; n <= 4; ++n) {
            if (!unrecorded.contains(n))
                QVERIFY(WriteVox(*f.state, Module1::ReplyBaseName(n, f.speaker(n)),
                                 ToneWav(takes[n - 1].first), takes[n - 1].second));
        }
        if (filter)
            f.state->FilterCharacter = Arthur;
        f.openWindow();
        f.openScene(1, 1);
        f.play->ShowReply(position - 1);
        m_beeps = f.sound.beepCount();
    }

    VirtualMediaDevice &partner() const { return f.device("MMControl3"); }
    VirtualMediaDevice &prompt() const { return f.device("MMControl4"); }
    QTimer *timer() const { return f.control<QTimer>("TimerRepetition"); }

    // One step of the user or of time: "scene:2" (the scene on reply 2),
    // "enter:2" (and the rehearsal entered), "nonstop", a button of
    // Controls ("Start"), "end" (the partner take plays to its end),
    // "wait:ms", "tick:n" (n seconds of the gap clock), "pick:3" (the
    // rehearsal list's entry 3), "key:Ctrl+R" (a key sequence), "broken:2"
    // (reply 2's recording made unplayable).
    void act(const QString &action)
    {
        const QString name = action.section(QLatin1Char(':'), 0, 0);
        const int n = action.section(QLatin1Char(':'), 1).toInt();
        if (name == QLatin1String("scene") || name == QLatin1String("enter")) {
            openScene(n);
            f.play->setFocus();
            if (name == QLatin1String("enter"))
                f.click("CmdRepetition");
        } else if (name == QLatin1String("nonstop")) {
            f.control<QCheckBox>("CheckJuskaFinRepetition")->setChecked(true);
        } else if (name == QLatin1String("end")) {
            f.advance(partner().length());
        } else if (name == QLatin1String("wait")) {
            f.advance(n);
        } else if (name == QLatin1String("tick")) {
            for (int i = 0; i < n; ++i)
                f.play->rehearsal()->TimerRepetitionTick();
        } else if (name == QLatin1String("pick")) {
            PickFromList(f.control<QComboBox>("ComboNumFichierRepetition"), n);
        } else if (name == QLatin1String("key")) {
            const QKeyCombination key = QKeySequence(action.section(QLatin1Char(':'), 1))[0];
            QTest::keyClick(f.play.get(), key.key(), key.keyboardModifiers());
        } else if (name == QLatin1String("broken")) {
            TestPlay::write(f.state->VoxPath(Module1::ReplyBaseName(n, f.speaker(n))), "nothing");
        } else {
            const auto *button =
                std::find_if(std::begin(Controls), std::end(Controls), [&name](const auto &c) {
                    return name.compare(c.second, Qt::CaseInsensitive) == 0;
                });
            if (button == std::end(Controls))
                qFatal("unknown action %s", qPrintable(action));
            f.click(button->first);
        }
    }

    // The window as the rehearsal shows it: "replies" when the reply panel
    // is back, the reply position, the buttons shown and enabled, the cover
    // and its text, the beeps, the sound playing (the take a device holds,
    // by its length), the countdown, the progress, the slider and clock
    // of a gap, Non Stop, and the messages.
    QString shown() const
    {
        QStringList on;
        if (f.control("Picture1")->isVisible() && f.control("Picture2")->isVisible() &&
            !f.control("PictBarRepet")->isVisible())
            on << QStringLiteral("replies");
        on << f.label("LbCompteRepliques");
        for (const auto &[control, name] : Controls) {
            if (f.control(control)->isVisible() && f.control(control)->isEnabled())
                on << QLatin1String(name);
        }
        if (f.control("Pict_A_Vous")->isVisible())
            on << QStringLiteral("cover(%1)").arg(f.label("Lb_A_Vous"));
        on << QStringLiteral("beeps %1").arg(f.sound.beepCount() - m_beeps);
        if (f.state->PlaybackActive)
            on << QStringLiteral("playing");
        if (partner().isOpen())
            on << QStringLiteral("partner %1").arg(partner().length());
        if (prompt().isOpen())
            on << QStringLiteral("prompt %1").arg(prompt().length());
        const auto visible = [this](const char *name) {
            return f.control(name)->isVisible() ? f.label(name) : QString();
        };
        if (!visible("LbDecompteRepetition").isEmpty())
            on << QStringLiteral("count %1").arg(f.label("LbDecompteRepetition"));
        if (!visible("LbEgreneRepetition").isEmpty())
            on << f.label("LbEgreneRepetition");
        if (timer()->isActive()) {
            const auto *slider = f.control<QSlider>("Slider2");
            on << QStringLiteral("clock %1/%2").arg(slider->value()).arg(slider->maximum());
        }
        if (f.control<QCheckBox>("CheckJuskaFinRepetition")->isChecked())
            on << QStringLiteral("nonstop");
        return (on + f.dialogs.texts()).join(QLatin1Char(' '));
    }

private Q_SLOTS:
    void cleanup() { f.play.reset(); }

    void refusedEntryKeepsTheReplyPanel_data()
    {
        QTest::addColumn<bool>("filter");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing recordings")
            << true << MissingRecordingsMessage("ACT 1", "SCENE 1", "0003-");
        QTest::newRow("no filter: the filter window opens") << false << NoFilterMessage();
    }
    void refusedEntryKeepsTheReplyPanel()
    {
        QFETCH(bool, filter);
        QFETCH(QString, message);
        openScene(1, filter ? QList<int>{3} : QList<int>{}, filter);
        f.click("CmdRepetition");
        QCOMPARE(f.dialogs.texts(), QStringList{message});
        QVERIFY(!f.control("PictRepetition")->isVisible() && f.control("Picture1")->isVisible());
        QCOMPARE(f.play->isEnabled(), filter);
        QCOMPARE(ShownWindow<FrmFiltre>() != nullptr, !filter);
    }

    void rehearsalRuns_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char *name, const char *actions, const char *shown) {
            QTest::newRow(name) << QString::fromLatin1(actions) << QString::fromLatin1(shown);
        };
        const char *turn = "2/4 continue prompt reveal list leave cover(ARTHUR ...) beeps 1";
        row("entering on a partner reply: no cue", "enter:1", "1/4 start list leave beeps 0");
        // Pausing mode.
        row("its end beeps and waits at the own reply", "enter:1 Start end", turn);
        row("continue plays the next partner take", "enter:1 Start end wait:5000 Continue",
            "3/4 stop leave beeps 1 playing partner 1500");
        // Non-stop mode: A2's gap lasts its record's 7 seconds, A4's take
        // under one second 2 seconds.
        row("a second of the gap", "enter:1 nonstop Start end tick:1",
            "2/4 stop leave cover(ARTHUR ...) beeps 1 playing count 6 1/7 seconds clock 1/7 "
            "nonstop");
        row("the gap's end plays the next take", "enter:1 nonstop Start end tick:7 wait:1000",
            "3/4 stop leave beeps 1 playing partner 1500 1/1 secondes nonstop");
        row("the scene's end", "enter:1 nonstop Start end tick:7 end tick:2",
            "4/4 prompt reveal list leave cover(ARTHUR ...) beeps 2 nonstop");
        // Stop and leave end what plays or counts, late ticks included.
        row("stop during a partner take", "enter:1 Start wait:1500 Stop tick:1 wait:9000",
            "1/4 start prompt list leave beeps 0");
        row("stop during a gap", "enter:2 nonstop Start tick:1 Stop tick:1",
            "2/4 start prompt reveal list leave cover(ARTHUR ...) beeps 1 nonstop");
        row("leave during a gap", "enter:2 nonstop Start tick:1 Leave tick:1 wait:9000",
            "replies 2/4 beeps 1 nonstop");
        // The prompt plays the own take and comes back to the turn.
        row("prompt at a turn", "enter:1 Start end Prompt wait:3100",
            "2/4 promptstop cover(ARTHUR ...) beeps 1 playing prompt 7900 3/7 seconds");
        row("prompt played to its end", "enter:1 Start end Prompt wait:8000", turn);
        row("reveal takes the cover away", "enter:1 Start end Reveal",
            "2/4 continue prompt list leave beeps 1");
        row("a picked own reply starts with its gap", "enter:1 nonstop pick:3 Start",
            "4/4 stop leave cover(ARTHUR ...) beeps 1 playing count 2 clock 1/2 nonstop");
        // A take that cannot be played is passed over, as scene listening
        // does: the rehearsal never waits for an end that cannot come.
        row("unplayable partner take", "enter:1 broken:1 Start", turn);
        row("unplayable prompt", "enter:2 broken:2 Prompt",
            "2/4 start prompt reveal list leave cover(ARTHUR ...) beeps 0 The Vox file number "
            "0002 cannot be played.");
        // The keyboard: ctrl+R enters, space starts or continues.
        row("escape stops", "scene:1 key:Ctrl+R key:Space key:Esc",
            "1/4 start prompt list leave beeps 0");
        row("P prompts, escape stops it", "scene:1 key:Ctrl+R key:Space end key:P key:Esc", turn);
        row("R reveals, N ticks non-stop, space continues",
            "scene:1 key:Ctrl+R key:Space end key:R key:N key:Space",
            "3/4 stop leave beeps 1 playing partner 1500 nonstop");
        row("E leaves", "scene:1 key:Ctrl+R key:Space key:E", "replies 1/4 beeps 0");
    }
    void rehearsalRuns()
    {
        QFETCH(QString, actions);
        QFETCH(QString, shown);
        for (const QString &action : actions.split(QLatin1Char(' ')))
            act(action);
        QCOMPARE(this->shown(), shown);
    }

    void coverLiesOverTheText()
    {
        act("enter:2");
        QCOMPARE(f.control("Pict_A_Vous")->geometry(), f.control("RichTextBox1")->geometry());
        QVERIFY(!f.control("TreeView1")->isEnabled());
    }

    void startAfterStopPlaysThePartnerTakeFromItsStart()
    {
        for (const char *action : {"enter:1", "Start", "wait:1500", "Stop"})
            act(QLatin1String(action));
        partner().clearCommandLog();
        act("Start");
        QCOMPARE(partner().commandLog(), (QStringList{"Open", "Play"}));
        QCOMPARE(partner().position(), 0);
    }
};

QTEST_MAIN(TestRehearsal)
#include "tst_rehearsal.moc"
