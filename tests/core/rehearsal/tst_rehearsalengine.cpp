#include "core/rehearsal/RehearsalEngine.h"

#include <QHash>
#include <QStringList>
#include <QTest>

using namespace tiradex;

namespace {
using State = RehearsalState;
using After = RehearsalEngine::After;

// The controls that are shown or enabled, by short names, in a fixed order.
QString Describe(const RehearsalControls &c)
{
    QStringList on;
    const std::pair<bool, const char *> flags[] = {
        {c.panelShown, "panel"},         {c.startShown, "start"},
        {c.continueShown, "continue"},   {c.stopEnabled, "stop"},
        {c.promptEnabled, "prompt"},     {c.promptStopEnabled, "promptstop"},
        {c.revealEnabled, "reveal"},     {c.replyListEnabled, "list"},
        {c.barEnabled, "bar"},           {c.coverShown, "cover"},
        {c.countdownShown, "countdown"}, {c.playbackActive, "playing"},
        {c.timerRunning, "timer"},       {c.practiceTrackEnabled, "track"}};
    for (const auto &[set, name] : flags) {
        if (set)
            on.append(QLatin1String(name));
    }
    return on.join(QLatin1Char(' '));
}

// Sends one event ("step:O", "gap:5", "stop"...) to the engine; false when
// it is refused. Replies: P partner, O own, LP and LO the last reply, SO an
// own reply with no sound; "nonstop" is a step in non-stop mode.
bool Send(RehearsalEngine &e, const QString &event)
{
    static const QHash<QString, RehearsalReply> replies{{"P", {false, false}},
                                                        {"O", {true, false}},
                                                        {"LP", {false, true}},
                                                        {"LO", {true, true}},
                                                        {"SO", {true, false, false}}};
    const QString name = event.section(QLatin1Char(':'), 0, 0);
    const QString arg = event.section(QLatin1Char(':'), 1);
    const RehearsalReply r = replies.value(arg);
    if (name == QLatin1String("gap"))
        e.startGap(arg.toInt());
    return name == QLatin1String("gap")           ? true
           : name == QLatin1String("enter")       ? e.enter(r)
           : name == QLatin1String("step")        ? e.step(r, false).has_value()
           : name == QLatin1String("nonstop")     ? e.step(r, true).has_value()
           : name == QLatin1String("tick")        ? e.gapTick().has_value()
           : name == QLatin1String("partnerDone") ? e.partnerDone().has_value()
           : name == QLatin1String("continue")    ? e.continueTurn()
           : name == QLatin1String("stop")        ? e.stop()
           : name == QLatin1String("prompt")      ? e.prompt()
           : name == QLatin1String("endPrompt")   ? e.endPrompt()
           : name == QLatin1String("reveal")      ? e.reveal()
           : name == QLatin1String("choose")      ? e.chooseReply(r)
           : name == QLatin1String("leave")       ? e.leave()
                                                  : (qFatal("unknown event"), false);
}

// An engine brought to a state by the events of `route`, each accepted.
RehearsalEngine Reach(const QString &route)
{
    RehearsalEngine e;
    for (const QString &event : route.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!Send(e, event))
            qFatal("refused on the way: %s", qPrintable(event));
    }
    return e;
}
} // namespace

class TestRehearsalEngine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachStateShowsItsControls_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("controls");
        auto row = [](const char *name, const char *route, State state, const char *controls) {
            QTest::newRow(name) << QString::fromLatin1(route) << int(state)
                                << QString::fromLatin1(controls);
        };
        row("turn on the last reply", "enter:LO step:LO", State::Turn,
            "panel prompt reveal list bar cover track");
        // A cue with nothing to play is not offered (an own reply not recorded).
        row("turn with no sound", "enter:SO step:SO", State::Turn,
            "panel continue reveal list bar cover track");
        row("prompt at a turn", "enter:O step:O prompt", State::Prompt,
            "panel promptstop cover playing");
        row("scene end after a partner", "enter:LP step:LP partnerDone", State::SceneEnd,
            "panel prompt list bar track");
        row("ready after a partner", "enter:P step:P partnerDone", State::Ready,
            "panel start list bar track");
        row("ready after continue", "enter:O step:O continue", State::Ready,
            "panel start prompt reveal list bar cover track");
        // The prompt is an interlude: Start, Continue or nothing comes back as
        // before it, so Continue never appears on the last reply or at the end.
        row("prompt ended when ready", "enter:O prompt endPrompt", State::Ready,
            "panel start prompt reveal list bar cover track");
        row("prompt ended at the last turn", "enter:LO step:LO prompt endPrompt", State::Turn,
            "panel prompt reveal list bar cover track");
        row("prompt ended at the scene end", "enter:LO nonstop:LO gap:1 tick prompt endPrompt",
            State::SceneEnd, "panel prompt reveal list bar cover track");
        row("prompt ended after stopping a partner", "enter:P step:P stop prompt endPrompt",
            State::Ready, "panel start prompt list bar track");
        row("off after leaving", "enter:O leave", State::Off, "");
    }
    void eachStateShowsItsControls()
    {
        QFETCH(QString, route);
        QFETCH(int, state);
        QFETCH(QString, controls);
        const RehearsalEngine e = Reach(route);
        QCOMPARE(std::pair(int(e.state()), Describe(e.controls())), std::pair(state, controls));
    }

    // Countdown, progress and slider after each second; the last second's
    // progress stays until the next step, and the scene's end clears it.
    void gapCountsTheRecordedSeconds_data()
    {
        QTest::addColumn<int>("recorded");
        QTest::addColumn<bool>("last");
        QTest::addColumn<QString>("trace");
        QTest::newRow("take under one second")
            << 0 << false << "2 _ 1|1 1/2 seconds 1|Advance 2/2 seconds 2";
        QTest::newRow("unreadable record")
            << -5 << false << "2 _ 1|1 1/2 seconds 1|Advance 2/2 seconds 2";
        QTest::newRow("one second") << 1 << false << "1 _ 1|Advance 1/1 seconds 1";
        QTest::newRow("three seconds on the last reply")
            << 3 << true << "3 _ 1|2 1/3 seconds 1|1 2/3 seconds 2|SceneEnd _ 1";
    }
    void gapCountsTheRecordedSeconds()
    {
        QFETCH(int, recorded);
        QFETCH(bool, last);
        QFETCH(QString, trace);
        const QString reply = last ? "LO" : "O";
        RehearsalEngine e = Reach("enter:" + reply + " nonstop:" + reply);
        e.startGap(recorded);
        const auto show = [&e](const QString &head) {
            const QString progress = e.progressText();
            return QStringLiteral("%1 %2 %3")
                .arg(head.isEmpty() ? "_" : head, progress.isEmpty() ? "_" : progress)
                .arg(e.sliderValue());
        };
        QStringList seen{show(e.countdownText())};
        std::optional<After> after;
        while (!after && seen.size() < 10) {
            after = e.gapTick();
            seen << show(!after                      ? e.countdownText()
                         : *after == After::SceneEnd ? "SceneEnd"
                                                     : "Advance");
        }
        QCOMPARE(seen.join(QLatin1Char('|')), trace);
    }

    // What a disabled or hidden control offers cannot happen through the
    // engine either (keys, late status updates, late ticks).
    void eventsTheStateDoesNotOfferAreRefused_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("event");
        auto row = [](const char *name, const char *route, const char *event) {
            QTest::newRow(name) << QString::fromLatin1(route) << QString::fromLatin1(event);
        };
        row("stop when ready", "enter:P", "stop");
        row("continue on the last turn", "enter:LO step:LO", "continue");
        row("start while a partner plays", "enter:P step:P", "step:O");
        row("prompt during a gap", "enter:O nonstop:O gap:5", "prompt");
        row("cue on entering at a partner reply", "enter:P", "prompt");
        row("reveal without a cover", "enter:P", "reveal");
        row("choose while a partner plays", "enter:P step:P", "choose:O");
        row("leave while the prompt plays", "enter:O step:O prompt", "leave");
        row("prompt end without a prompt", "enter:O step:O", "endPrompt");
        row("entering twice", "enter:O step:O", "enter:P");
        row("step after leaving", "enter:O leave", "step:O");
        row("start at the scene end", "enter:LP step:LP partnerDone", "step:O");
    }
    void eventsTheStateDoesNotOfferAreRefused()
    {
        QFETCH(QString, route);
        QFETCH(QString, event);
        RehearsalEngine e = Reach(route);
        const QString before = Describe(e.controls()) + QString::number(int(e.state()));
        QVERIFY(!Send(e, event));
        QCOMPARE(Describe(e.controls()) + QString::number(int(e.state())), before);
    }
};

QTEST_GUILESS_MAIN(TestRehearsalEngine)
#include "tst_rehearsalengine.moc"
