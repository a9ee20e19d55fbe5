#include "core/audio/RecorderEngine.h"

#include <QStringList>
#include <QTest>

#include <functional>

using namespace tiradex;

namespace {
using Answer = RecorderEngine::CloseAnswer;

// The engine's events by the short names the routes use, each with the
// control that offers it (nothing for events no control offers).
struct Event
{
    const char *name;
    bool RecorderControls::*offeredBy;
    std::function<bool(RecorderEngine &)> send;
};
const QList<Event> &Events()
{
    static const QList<Event> events = {
        {"record", &RecorderControls::record, &RecorderEngine::record},
        {"pauseRec", &RecorderControls::pauseRecording, &RecorderEngine::pauseRecording},
        {"resumeRec", &RecorderControls::resumeRecording, &RecorderEngine::resumeRecording},
        {"stop", &RecorderControls::stopRecording, &RecorderEngine::stop},
        {"tick", &RecorderControls::finishTimer, &RecorderEngine::finishTick},
        {"play", &RecorderControls::play, &RecorderEngine::play},
        {"pausePlay", &RecorderControls::pausePlayback, &RecorderEngine::pausePlayback},
        {"resumePlay", &RecorderControls::resumePlayback, &RecorderEngine::resumePlayback},
        {"delete", &RecorderControls::deleteTake, &RecorderEngine::deleteTake},
        {"end", nullptr, &RecorderEngine::endOfRange},
        {"packaged", nullptr, [](RecorderEngine &e) { return e.packaged(true); }},
        {"unwritten", nullptr, [](RecorderEngine &e) { return e.packaged(false); }},
        {"saved", nullptr, [](RecorderEngine &e) { return e.saved(), true; }},
        {"cancel", nullptr, [](RecorderEngine &e) { return e.cancel(), true; }},
    };
    return events;
}

// What the engine shows: the enabled controls and its flags, by short names.
QString Describe(const RecorderEngine &e)
{
    const RecorderControls c = e.controls();
    QStringList on;
    for (const Event &event : Events()) {
        if (event.offeredBy && c.*event.offeredBy)
            on.append(QLatin1String(event.name));
    }
    const std::pair<bool, const char *> flags[] = {{c.save, "save"},
                                                   {c.scopeBox, "scope"},
                                                   {e.takeStarted(), "started"},
                                                   {e.takeBeingRecorded(), "recording"},
                                                   {e.hidePosition(), "hidden"},
                                                   {e.saveRequested(), "saveable"}};
    for (const auto &[set, name] : flags) {
        if (set)
            on.append(QLatin1String(name));
    }
    return on.join(QLatin1Char(' '));
}

bool Send(RecorderEngine &engine, const QString &name)
{
    for (const Event &event : Events()) {
        if (name == QLatin1String(event.name))
            return event.send(engine);
    }
    qFatal("no event %s", qPrintable(name));
}

const QString Ready = QStringLiteral("record stop tick packaged");
} // namespace

class TestRecorderEngine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each route is run from a fresh engine; every event of it is accepted,
    // but those marked "!", device events out of place, which are ignored.
    // Shown: the controls and flags, "saveable" when Save would save, and
    // the answer to a close.
    void routesReachTheirControlsAndAnswers_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("shown");
        auto row = [](const char *name, const QString &route, const char *shown) {
            QTest::newRow(name) << route << QString::fromLatin1(shown);
        };
        const QString r = Ready + QLatin1Char(' ');
        const char *ready = "play delete save started saveable > discard";
        const char *over = "tick play delete started recording > refuse";
        const char *deleted = "record scope hidden > close";
        const char *recording = "pauseRec stop started recording > refuse";
        const char *finishing = "tick started recording > refuse";
        const char *playing = "pausePlay save started saveable > discard";
        const char *paused = "play resumePlay delete save started saveable > discard";
        row("opening", QString(), "record scope > close");
        row("recording", "record", recording);
        row("recording paused", "record pauseRec",
            "resumeRec stop scope started recording > refuse");
        row("recording resumed", "record pauseRec resumeRec", recording);
        row("finishing after Stop", "record stop", finishing);
        // The device holds the paused take until the finish step saves it.
        row("finishing after Pause, Stop", "record pauseRec stop", finishing);
        row("packaging", "record stop tick", "started > discard");
        row("take ready", Ready, ready);
        // Play stays offered and plays nothing; Save is not offered.
        row("take not written", "record stop tick unwritten", "play delete started > discard");
        row("playing", r + "play", playing);
        row("playback paused", r + "play pausePlay", paused);
        row("playback resumed", r + "play pausePlay resumePlay", playing);
        row("end of playback", r + "play end", "tick play delete save started saveable > discard");
        row("packaged again after the end of playback", r + "play end tick packaged", ready);
        row("play after the end of playback calls off the finish", r + "play end play", playing);
        row("longest take stops itself", "record end", over);
        row("end of range in the finishing second", "record stop end", over);
        row("end of range while paused", "record pauseRec end", over);
        row("finish after the longest take", "record end tick packaged", ready);
        row("delete", r + "delete", deleted);
        row("delete calls off the finish after playback", r + "play end delete", deleted);
        row("delete in the finishing second of the longest take", "record end delete", deleted);
        // Save offered with no packaged take lost the next take silently.
        row("recording after Delete", r + "delete record", recording);
        row("finishing after Delete", r + "delete record stop", finishing);
        row("new take ready after Delete", r + "delete " + Ready, ready);
        row("saved", r + "saved", " > close");
        row("cancelled while recording", "record cancel", " > close");
        row("packaged with nothing packaging", r + "!packaged", ready);
        row("end of range with no take", "!end", "record scope > close");
        row("end of range with the take ready", r + "!end", ready);
        row("end of range while packaging", "record stop tick !end", "started > discard");
        row("end of range with playback paused", r + "play pausePlay !end", paused);
    }
    void routesReachTheirControlsAndAnswers()
    {
        QFETCH(QString, route);
        QFETCH(QString, shown);
        RecorderEngine engine;
        for (const QString &event : route.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const bool ignored = event.startsWith(QLatin1Char('!'));
            const QString before = Describe(engine);
            QVERIFY2(Send(engine, event.mid(ignored ? 1 : 0)) != ignored, qPrintable(event));
            QVERIFY(!ignored || Describe(engine) == before);
        }
        const QString before = Describe(engine);
        const Answer close = engine.closeRequested();
        const char *answers[] = {" > refuse", " > discard", " > close"};
        QCOMPARE(before + QLatin1String(answers[int(close)]), shown);
        // Refused, nothing changes; closed, nothing is offered and a second
        // close finds nothing to keep.
        if (close == Answer::Refuse)
            QCOMPARE(Describe(engine), before);
        else
            QVERIFY(engine.controls() == RecorderControls() && !engine.takeStarted() &&
                    !engine.takeBeingRecorded() && engine.closeRequested() == Answer::Close);
    }

    // An event whose control is disabled (or, for Play, with no packaged take)
    // is refused and changes nothing, on every route.
    void eventsNotOfferedAreRefused_data() { routesReachTheirControlsAndAnswers_data(); }
    void eventsNotOfferedAreRefused()
    {
        QFETCH(QString, route);
        RecorderEngine engine;
        for (const QString &event : route.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            Send(engine, event.mid(event.startsWith(QLatin1Char('!')) ? 1 : 0));
        for (const Event &event : Events()) {
            const bool offered =
                !event.offeredBy ||
                (engine.controls().*event.offeredBy && !engine.packaging() &&
                 (QLatin1String(event.name) != QLatin1String("play") || engine.takeReady()));
            if (offered)
                continue;
            RecorderEngine copy = engine;
            QVERIFY2(!event.send(copy), event.name);
            QCOMPARE(Describe(copy), Describe(engine));
            QCOMPARE(copy.state(), engine.state());
        }
    }
};

QTEST_APPLESS_MAIN(TestRecorderEngine)
#include "tst_recorderengine.moc"
