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
    const std::pair<bool, const char *> flags[] = {{c.record, "record"},
                                                   {c.pauseRecording, "pauseRec"},
                                                   {c.resumeRecording, "resumeRec"},
                                                   {c.stopRecording, "stop"},
                                                   {c.play, "play"},
                                                   {c.pausePlayback, "pausePlay"},
                                                   {c.resumePlayback, "resumePlay"},
                                                   {c.deleteTake, "delete"},
                                                   {c.save, "save"},
                                                   {c.scopeBox, "scope"},
                                                   {c.finishTimer, "timer"},
                                                   {e.takeStarted(), "started"},
                                                   {e.takeBeingRecorded(), "recording"},
                                                   {e.hidePosition(), "hidden"}};
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
    // Each route is run from a fresh engine; every event of it is accepted.
    void routesReachTheirControlsAndAnswers_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("saveable");
        QTest::addColumn<Answer>("close");
        auto row = [](const char *name, const QString &route, const char *shown, bool saveable,
                      Answer close) {
            QTest::newRow(name) << route << QString::fromLatin1(shown) << saveable << close;
        };
        const QString r = Ready + QLatin1Char(' ');
        row("opening", QString(), "record scope", false, Answer::Close);
        row("recording", "record", "pauseRec stop started recording", false, Answer::Refuse);
        row("recording paused", "record pauseRec", "resumeRec stop scope started recording", false,
            Answer::Refuse);
        row("recording resumed", "record pauseRec resumeRec", "pauseRec stop started recording",
            false, Answer::Refuse);
        row("finishing after Stop", "record stop", "timer started recording", false,
            Answer::Refuse);
        // The device holds the paused take until the finish step saves it.
        row("finishing after Pause then Stop", "record pauseRec stop", "timer started recording",
            false, Answer::Refuse);
        row("packaging", "record stop tick", "started", false, Answer::Discard);
        row("take ready", Ready, "play delete save started", true, Answer::Discard);
        // Play stays offered and plays nothing; Save is not offered.
        row("take not written", "record stop tick unwritten", "play delete started", false,
            Answer::Discard);
        row("playing", r + "play", "pausePlay save started", true, Answer::Discard);
        row("playback paused", r + "play pausePlay", "play resumePlay delete save started", true,
            Answer::Discard);
        row("playback resumed", r + "play pausePlay resumePlay", "pausePlay save started", true,
            Answer::Discard);
        row("end of playback", r + "play end", "play delete save timer started", true,
            Answer::Discard);
        row("take packaged again after the end of playback", r + "play end tick packaged",
            "play delete save started", true, Answer::Discard);
        row("play after the end of playback calls off the finish", r + "play end play",
            "pausePlay save started", true, Answer::Discard);
        row("longest take stops itself", "record end", "play delete timer started recording", false,
            Answer::Refuse);
        row("end of range in the finishing second", "record stop end",
            "play delete timer started recording", false, Answer::Refuse);
        row("end of range while paused", "record pauseRec end",
            "play delete timer started recording", false, Answer::Refuse);
        row("finish after the longest take", "record end tick packaged", "play delete save started",
            true, Answer::Discard);
        row("delete", r + "delete", "record scope hidden", false, Answer::Close);
        row("delete calls off the finish after playback", r + "play end delete",
            "record scope hidden", false, Answer::Close);
        row("delete in the finishing second of the longest take", "record end delete",
            "record scope hidden", false, Answer::Close);
        // Save offered with no packaged take lost the next take silently.
        row("recording after Delete", r + "delete record", "pauseRec stop started recording", false,
            Answer::Refuse);
        row("finishing after Delete", r + "delete record stop", "timer started recording", false,
            Answer::Refuse);
        row("new take ready after Delete", r + "delete " + Ready, "play delete save started", true,
            Answer::Discard);
        row("saved", r + "saved", "", false, Answer::Close);
        row("cancelled while recording", "record cancel", "", false, Answer::Close);
    }
    void routesReachTheirControlsAndAnswers()
    {
        QFETCH(QString, route);
        QFETCH(QString, shown);
        QFETCH(bool, saveable);
        QFETCH(Answer, close);
        RecorderEngine engine;
        for (const QString &event : route.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            QVERIFY2(Send(engine, event), qPrintable(event));
        QCOMPARE(Describe(engine), shown);
        QCOMPARE(engine.saveRequested(), saveable);

        const QString before = Describe(engine);
        QCOMPARE(engine.closeRequested(), close);
        if (close == Answer::Refuse) {
            QCOMPARE(Describe(engine), before);
        } else {
            // Closed: nothing is offered and a second close finds nothing to keep.
            QVERIFY(engine.controls() == RecorderControls());
            QVERIFY(!engine.takeStarted() && !engine.takeBeingRecorded());
            QCOMPARE(engine.closeRequested(), Answer::Close);
        }
    }

    // An event whose control is disabled (or, for Play, with no packaged take)
    // is refused and changes nothing, on every route.
    void eventsNotOfferedAreRefused_data() { routesReachTheirControlsAndAnswers_data(); }
    void eventsNotOfferedAreRefused()
    {
        QFETCH(QString, route);
        RecorderEngine engine;
        for (const QString &event : route.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            Send(engine, event);
        for (const Event &event : Events()) {
            if (!event.offeredBy)
                continue;
            const bool offered =
                engine.controls().*event.offeredBy && !engine.packaging() &&
                (QLatin1String(event.name) != QLatin1String("play") || engine.takeReady());
            if (offered)
                continue;
            RecorderEngine copy = engine;
            QVERIFY2(!event.send(copy), event.name);
            QCOMPARE(Describe(copy), Describe(engine));
            QCOMPARE(copy.state(), engine.state());
        }
    }

    // The packaging result and the end of range come from the devices: they
    // are ignored where no take is being finished or played.
    void deviceEventsOutOfPlaceAreIgnored_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("event");
        QTest::newRow("packaged with nothing packaging") << Ready << "packaged";
        QTest::newRow("end of range with no take") << QString() << "end";
        QTest::newRow("end of range with the take ready") << Ready << "end";
        QTest::newRow("end of range while packaging") << "record stop tick"
                                                      << "end";
        QTest::newRow("end of range with playback paused") << Ready + " play pausePlay"
                                                           << "end";
    }
    void deviceEventsOutOfPlaceAreIgnored()
    {
        QFETCH(QString, route);
        QFETCH(QString, event);
        RecorderEngine engine;
        for (const QString &step : route.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            QVERIFY(Send(engine, step));
        const QString before = Describe(engine);
        QVERIFY(!Send(engine, event));
        QCOMPARE(Describe(engine), before);
    }
};

QTEST_APPLESS_MAIN(TestRecorderEngine)
#include "tst_recorderengine.moc"
