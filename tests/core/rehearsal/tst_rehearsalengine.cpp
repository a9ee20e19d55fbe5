#include "core/rehearsal/RehearsalEngine.h"

#include <QStringList>
#include <QTest>

#include <functional>

using namespace tiradex;

namespace {
using State = RehearsalState;
using After = RehearsalEngine::After;

constexpr RehearsalReply Partner{false, false};
constexpr RehearsalReply Own{true, false};
constexpr RehearsalReply LastPartner{false, true};
constexpr RehearsalReply LastOwn{true, true};
constexpr RehearsalReply SilentOwn{true, false, false};
constexpr bool Pausing = false;
constexpr bool NonStop = true;

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

// Routes to the states of a rehearsal, each from a fresh engine.
using Route = std::function<void(RehearsalEngine &)>;
const QList<std::pair<const char *, Route>> &Routes()
{
    static const QList<std::pair<const char *, Route>> routes = {
        {"ready on a partner reply", [](RehearsalEngine &e) { e.enter(Partner); }},
        {"ready on an own reply", [](RehearsalEngine &e) { e.enter(Own); }},
        {"turn on an own reply with no sound",
         [](RehearsalEngine &e) {
             e.enter(SilentOwn);
             e.step(SilentOwn, Pausing);
         }},
        {"partner playing",
         [](RehearsalEngine &e) {
             e.enter(Partner);
             e.step(Partner, Pausing);
         }},
        {"turn",
         [](RehearsalEngine &e) {
             e.enter(Own);
             e.step(Own, Pausing);
         }},
        {"turn on the last reply",
         [](RehearsalEngine &e) {
             e.enter(LastOwn);
             e.step(LastOwn, Pausing);
         }},
        {"turn revealed",
         [](RehearsalEngine &e) {
             e.enter(Own);
             e.step(Own, Pausing);
             e.reveal();
         }},
        {"gap",
         [](RehearsalEngine &e) {
             e.enter(Own);
             e.step(Own, NonStop);
             e.startGap(5);
         }},
        {"prompt at a turn",
         [](RehearsalEngine &e) {
             e.enter(Own);
             e.step(Own, Pausing);
             e.prompt();
         }},
        {"scene end after a partner",
         [](RehearsalEngine &e) {
             e.enter(LastPartner);
             e.step(LastPartner, Pausing);
             e.partnerDone();
         }},
        {"scene end after a gap",
         [](RehearsalEngine &e) {
             e.enter(LastOwn);
             e.step(LastOwn, NonStop);
             e.startGap(1);
             e.gapTick();
         }},
        {"ready after stopping a gap",
         [](RehearsalEngine &e) {
             e.enter(Own);
             e.step(Own, NonStop);
             e.startGap(4);
             e.stop();
         }},
        {"ready after stopping a partner",
         [](RehearsalEngine &e) {
             e.enter(Partner);
             e.step(Partner, Pausing);
             e.stop();
         }},
        {"ready after picking a partner reply",
         [](RehearsalEngine &e) {
             e.enter(Own);
             e.chooseReply(Partner);
         }},
        {"off after leaving",
         [](RehearsalEngine &e) {
             e.enter(Own);
             e.leave();
         }},
    };
    return routes;
}

RehearsalEngine Reach(const QString &route)
{
    RehearsalEngine engine;
    for (const auto &[name, go] : Routes()) {
        if (route == QLatin1String(name)) {
            go(engine);
            return engine;
        }
    }
    qFatal("unknown route");
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
        auto row = [](const char *route, State state, const char *controls) {
            QTest::newRow(route) << QString::fromLatin1(route) << int(state)
                                 << QString::fromLatin1(controls);
        };
        // A cue offered on a partner reply played the partner's take.
        row("ready on a partner reply", State::Ready, "panel start list bar track");
        row("ready on an own reply", State::Ready,
            "panel start prompt reveal list bar cover track");
        row("partner playing", State::Partner, "panel stop bar playing");
        row("turn", State::Turn, "panel continue prompt reveal list bar cover track");
        row("turn on the last reply", State::Turn, "panel prompt reveal list bar cover track");
        // A cue with nothing to play is not offered (an own reply not recorded).
        row("turn on an own reply with no sound", State::Turn,
            "panel continue reveal list bar cover track");
        row("turn revealed", State::Turn, "panel continue prompt list bar track");
        row("gap", State::Gap, "panel stop bar cover countdown playing timer");
        row("prompt at a turn", State::Prompt, "panel promptstop cover playing");
        row("scene end after a partner", State::SceneEnd, "panel prompt list bar track");
        row("scene end after a gap", State::SceneEnd, "panel prompt reveal list bar cover track");
        row("ready after stopping a gap", State::Ready,
            "panel start prompt reveal list bar cover track");
        row("ready after stopping a partner", State::Ready, "panel start prompt list bar track");
        row("ready after picking a partner reply", State::Ready, "panel start list bar track");
        row("off after leaving", State::Off, "");
    }
    void eachStateShowsItsControls()
    {
        QFETCH(QString, route);
        QFETCH(int, state);
        QFETCH(QString, controls);
        const RehearsalEngine engine = Reach(route);
        QCOMPARE(int(engine.state()), state);
        QCOMPARE(Describe(engine.controls()), controls);
    }

    void gapLengthComesFromTheRecordedSeconds_data()
    {
        QTest::addColumn<int>("recorded");
        QTest::addColumn<int>("ticks");
        QTest::newRow("take under one second") << 0 << 2;
        QTest::newRow("unreadable record") << -5 << 2;
        QTest::newRow("one second") << 1 << 1;
        QTest::newRow("three seconds") << 3 << 3;
    }
    void gapLengthComesFromTheRecordedSeconds()
    {
        QFETCH(int, recorded);
        QFETCH(int, ticks);
        RehearsalEngine e;
        e.enter(Own);
        e.step(Own, NonStop);
        e.startGap(recorded);
        QCOMPARE(e.gapLength(), ticks);
        QCOMPARE(e.countdownText(), QString::number(ticks));
        for (int t = 1; t < ticks; ++t)
            QCOMPARE(e.gapTick(), std::nullopt);
        QCOMPARE(e.gapTick(), After::Advance);
    }

    // The prompt is an interlude: Start, Continue or nothing comes back as
    // before it, so Continue never appears on the last reply or at the end.
    void promptEndsWhereItWasAsked_data()
    {
        QTest::addColumn<QString>("route");
        QTest::newRow("ready") << "ready on an own reply";
        QTest::newRow("turn") << "turn";
        QTest::newRow("turn on the last reply") << "turn on the last reply";
        QTest::newRow("scene end") << "scene end after a gap";
        QTest::newRow("ready after stopping a partner") << "ready after stopping a partner";
    }
    void promptEndsWhereItWasAsked()
    {
        QFETCH(QString, route);
        RehearsalEngine e = Reach(route);
        const State before = e.state();
        const QString controls = Describe(e.controls());
        QVERIFY(e.prompt());
        QCOMPARE(e.state(), State::Prompt);
        QVERIFY(!e.controls().barEnabled);
        QVERIFY(e.endPrompt());
        QCOMPARE(e.state(), before);
        QCOMPARE(Describe(e.controls()), controls);
    }

    // What a disabled or hidden control offers cannot happen through the
    // engine either (keys, late status updates, late ticks).
    void eventsTheStateDoesNotOfferAreRefused_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("event");
        QTest::newRow("stop when ready") << "ready on a partner reply"
                                         << "stop";
        QTest::newRow("continue on the last turn") << "turn on the last reply"
                                                   << "continue";
        QTest::newRow("start while a partner plays") << "partner playing"
                                                     << "step";
        QTest::newRow("prompt during a gap") << "gap"
                                             << "prompt";
        QTest::newRow("cue on entering at a partner reply") << "ready on a partner reply"
                                                            << "prompt";
        QTest::newRow("reveal without a cover") << "ready on a partner reply"
                                                << "reveal";
        QTest::newRow("choose while a partner plays") << "partner playing"
                                                      << "choose";
        QTest::newRow("leave while the prompt plays") << "prompt at a turn"
                                                      << "leave";
        QTest::newRow("late partner end after stop") << "ready after stopping a partner"
                                                     << "partnerDone";
        QTest::newRow("late tick after stop") << "ready after stopping a gap"
                                              << "tick";
        QTest::newRow("prompt end without a prompt") << "turn"
                                                     << "endPrompt";
        QTest::newRow("entering twice") << "turn"
                                        << "enter";
        QTest::newRow("step after leaving") << "off after leaving"
                                            << "step";
        QTest::newRow("start at the scene end") << "scene end after a partner"
                                                << "step";
    }
    void eventsTheStateDoesNotOfferAreRefused()
    {
        QFETCH(QString, route);
        QFETCH(QString, event);
        RehearsalEngine e = Reach(route);
        const State state = e.state();
        const QString controls = Describe(e.controls());
        bool accepted = true;
        if (event == QLatin1String("stop"))
            accepted = e.stop();
        else if (event == QLatin1String("continue"))
            accepted = e.continueTurn();
        else if (event == QLatin1String("step"))
            accepted = e.step(Own, Pausing).has_value();
        else if (event == QLatin1String("prompt"))
            accepted = e.prompt();
        else if (event == QLatin1String("reveal"))
            accepted = e.reveal();
        else if (event == QLatin1String("choose"))
            accepted = e.chooseReply(Own);
        else if (event == QLatin1String("leave"))
            accepted = e.leave();
        else if (event == QLatin1String("partnerDone"))
            accepted = e.partnerDone().has_value();
        else if (event == QLatin1String("tick"))
            accepted = e.gapTick().has_value();
        else if (event == QLatin1String("endPrompt"))
            accepted = e.endPrompt();
        else if (event == QLatin1String("enter"))
            accepted = e.enter(Partner);
        QVERIFY(!accepted);
        QCOMPARE(e.state(), state);
        QCOMPARE(Describe(e.controls()), controls);
    }
};

QTEST_GUILESS_MAIN(TestRehearsalEngine)
#include "tst_rehearsalengine.moc"
