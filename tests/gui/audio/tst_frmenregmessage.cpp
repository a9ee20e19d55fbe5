#include "gui/audio/FrmEnregMessage.h"
#include "gui/audio/ScopeBox.h"
#include "gui/audio/SelectionSlider.h"

#include "PlayWindowFixture.h"
#include "TestFiles.h"
#include "VirtualSoundInput.h"
#include "core/audio/Tones.h"
#include "core/audio/WavFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QTest>
#include <QTimer>

using namespace tiradex;

namespace {
const char *const Scratch[] = {"temp.wav", "temp.vox", "_0057_HUBERT.tsd"};
const char *const Modes[] = {"not open", "stopped", "recording", "playing", "paused"};

// The recorder's controls that take clicks.
const char *const Commands[] = {"CmdRecord", "CmdPauseRec", "cmdResumeRec",  "cmdStopRecord",
                                "CmdPlay",   "cmdPause",    "cmdResumePlay", "cmdDelWave",
                                "CmdEnreg",  "CmdCancel",   "CheckDiagramme"};

// The rows of `box`'s picture that hold a scope point, top first.
QString plottedRows(QWidget *box)
{
    const QImage image = box->grab().toImage();
    QStringList rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == ScopeBox::foreground()) {
                rows << QString::number(y);
                break;
            }
        }
    }
    return rows.join(QLatin1Char(','));
}
} // namespace

class TestFrmEnregMessage : public QObject
{
    Q_OBJECT

private:
    PlayWindowFixture f;
    QPointer<FrmEnregMessage> m_recorder;

    // The play window on replies 57 (HUBERT, shown), 58 (ARTHUR) and 59
    // (HUBERT); the application folder holds del.wav. The recorder is opened
    // with the play window's record button.
    void openRecorder()
    {
        f.freshPlay(57, 3);
        QVERIFY(WriteWavFile(appFile("del.wav"), DeletionSound(), nullptr));
        f.sound.setInputAvailable(true);
        f.openScene();
        reopen();
    }

    // Its timers are given intervals no test reaches: the tests run their ticks.
    void reopen()
    {
        Click(f.play.get(), "CmdRecordShow");
        m_recorder = f.play->recorder();
        QVERIFY(m_recorder);
        m_recorder->controls().TimerTempo->setInterval(24 * 3600 * 1000);
        m_recorder->controls().Timer1->setInterval(24 * 3600 * 1000);
    }

    QString appFile(const char *name) const { return f.state->AppFolder + QLatin1String(name); }
    QString voxFile() const { return f.state->VoxPath(QStringLiteral("_0057_HUBERT")); }
    bool finishing() const { return m_recorder->controls().TimerTempo->isActive(); }

    QString enabledCommands() const
    {
        QStringList names;
        for (const char *name : Commands) {
            if (IsEnabled(m_recorder, name))
                names.append(QLatin1String(name));
        }
        names.sort();
        return names.join(QLatin1Char(' '));
    }

    // Runs steps: a control's name clicks it (it must be enabled), "advance
    // N" moves the clock, "tick" runs the finishing timer's tick (its
    // archive still being written), "finish" runs it to the end, "take N"
    // records, stops and finishes N ms, "delete" and "keep" click Delete and
    // answer Yes or Cancel, "close" uses the window's own close control.
    void run(const QString &steps)
    {
        for (const QString &step : steps.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QString verb = step.section(QLatin1Char(' '), 0, 0);
            const qint64 ms = step.section(QLatin1Char(' '), 1).toLongLong();
            if (verb == "advance") {
                f.sound.clock().advance(ms);
            } else if (verb == "take") {
                run(QStringLiteral("CmdRecord,advance %1,cmdStopRecord,advance 1000,finish")
                        .arg(ms - 1000));
            } else if (verb == "tick" || verb == "finish") {
                m_recorder->TimerTempoTimer();
                QVERIFY(verb == "finish" || m_recorder->packaging());
                if (verb == "finish")
                    m_recorder->waitForPackaging();
            } else if (verb == "delete" || verb == "keep") {
                f.dialogs.answers.append(verb == "delete" ? Dialogs::Answer::Yes
                                                          : Dialogs::Answer::Cancel);
                Click(m_recorder, "cmdDelWave");
            } else if (verb == "close") {
                m_recorder->close();
            } else if (verb == "reopen") {
                reopen();
            } else if (verb == "saveAnyway") { // reached however Save is offered
                m_recorder->CmdEnregClick();
            } else if (verb == "dropVox") {
                QVERIFY(QFile::remove(appFile("temp.vox")));
            } else if (verb == "checkScope") {
                Control<QCheckBox>(m_recorder, "CheckDiagramme")->setChecked(true);
            } else {
                QVERIFY2(IsEnabled(m_recorder, qPrintable(verb)), qPrintable(step));
                Click(m_recorder, qPrintable(verb));
            }
        }
    }

    // The scratch files and the record, the reply's recording, the flags,
    // the open window's title, device and finishing timer, and every message.
    QString outcome() const
    {
        QStringList parts;
        for (const char *name : Scratch) {
            if (QFile::exists(appFile(name)))
                parts << QLatin1String(name);
        }
        if (QFile::exists(appFile("_0057_HUBERT.tsd")))
            parts << QString::fromLatin1(ReadTestFile(appFile("_0057_HUBERT.tsd")).trimmed());
        const QByteArray vox = ReadTestFile(voxFile());
        parts << (vox == "<missing>" ? "no vox" : vox.startsWith("PK") ? "new vox" : "old vox");
        if (f.state->RecorderOpen)
            parts << "open";
        if (f.state->RecordingActive)
            parts << "active";
        if (!IsEnabled(f.play.get(), "CmdPlus"))
            parts << "play locked";
        if (IsEnabled(f.play.get(), "CmdLecture"))
            parts << "listen";
        const QWidgetList widgets = QApplication::allWidgets();
        if (std::count_if(widgets.begin(), widgets.end(), [](QWidget *w) {
                return qobject_cast<FrmEnregMessage *>(w) && w->isVisible();
            }) > 1)
            parts << "two recorders";
        if (m_recorder && m_recorder->isVisible()) {
            m_recorder->waitForPackaging();
            const SelectionSlider *slider = m_recorder->controls().Slider1;
            const auto &device = static_cast<VirtualMediaDevice &>(m_recorder->MMControl1());
            parts << m_recorder->windowTitle() << Modes[int(device.mode())]
                  << QString::asprintf("%d/%d %d", slider->value(), slider->maximum(),
                                       slider->selectionLength());
            if (device.isOpen())
                parts << QFileInfo(device.fileName()).fileName();
            if (finishing())
                parts << "finishing";
        }
        parts << f.dialogs.texts().replaceInStrings(f.state->AppFolder, "");
        return parts.join(" | ");
    }

private Q_SLOTS:
    void cleanup() { f.play.reset(); }

    // One take through every state: the window shows the engine's controls
    // on the right buttons, and the devices' ends of range reach it.
    void buttonsFollowTheTake()
    {
        openRecorder();
        QVERIFY(m_recorder->x() == 0 &&
                !Control<QCheckBox>(m_recorder, "CheckDiagramme")->isChecked());
        const QList<std::pair<const char *, const char *>> route = {
            {"", "CheckDiagramme CmdCancel CmdRecord"},
            {"CmdRecord,advance 500", "CmdCancel CmdPauseRec cmdStopRecord"},
            {"CmdPauseRec", "CheckDiagramme CmdCancel cmdResumeRec cmdStopRecord"},
            {"cmdResumeRec,advance 500,cmdStopRecord", "CmdCancel"},
            {"advance 1000,finish", "CmdCancel CmdEnreg CmdPlay cmdDelWave"},
            {"CmdPlay,advance 300", "CmdCancel CmdEnreg cmdPause"},
            {"cmdPause", "CmdCancel CmdEnreg CmdPlay cmdDelWave cmdResumePlay"},
            {"cmdResumePlay,advance 2000", "CmdCancel CmdEnreg CmdPlay cmdDelWave"},
            {"delete", "CheckDiagramme CmdCancel CmdRecord"}};
        for (const auto &[steps, enabled] : route) {
            run(QString::fromLatin1(steps));
            QCOMPARE(enabledCommands(), QString::fromLatin1(enabled));
            // Only the end of the playback and Stop arm the finishing second.
            QCOMPARE(finishing(), QByteArray(steps).endsWith("cmdStopRecord") ||
                                      QByteArray(steps).endsWith("2000"));
        }
    }

    // What a run leaves: files, flags, the window and the messages. An "old"
    // setup starts with an older recording of the reply.
    void runsLeaveTheirOutcome_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("outcome");
        const auto row = [](const char *name, const char *setup, const char *steps,
                            const QString &outcome) {
            QTest::newRow(name) << QString::fromLatin1(setup) << QString::fromLatin1(steps)
                                << outcome;
        };
        const QString ready = "temp.wav | temp.vox | _0057_HUBERT.tsd | ";
        const QString open = "open | active | play locked | ";
        const QString failed = "The recording could not be saved. ";
        row("opening", "", "", "no vox | open | play locked | 0057 | not open | 0/99 0");
        row("opening twice brings the same window", "", "reopen",
            "no vox | open | play locked | 0057 | not open | 0/99 0");
        row("save replaces an older recording", "old", "take 2000,CmdEnreg", "new vox | listen");
        row("cancel keeps the older recording", "old", "take 2000,CmdPlay,CmdCancel",
            "old vox | listen");
        row("close control while the take plays discards it", "old", "take 2000,CmdPlay,close",
            "old vox | listen");
        row("cancel while the archive is written", "",
            "CmdRecord,advance 5000,cmdStopRecord,advance 1000,tick,CmdCancel", "no vox");
        row("close control in the finishing second after Pause is refused", "",
            "CmdRecord,CmdPauseRec,cmdStopRecord,close",
            "no vox | " + open +
                "0/180 secondes | paused | 1/180000 0 | temp.wav | finishing | Stop at first the "
                "current recording.");
        row("failed save keeps the take and tells why", "blocked", "take 2000,CmdEnreg",
            ready + "1,1,2 | no vox | " + open + "0057 | not open | 1/180000 0 | " + failed +
                "Cannot write the file kingjohn/vox/_0057_HUBERT.vox: Not a directory");
        row("save without a finished take keeps the window", "",
            "take 2000,delete,CmdRecord,cmdStopRecord,saveAnyway",
            "no vox | " + open +
                "0/180 secondes | recording | 1/180000 0 | temp.wav | finishing | " +
                "Delete ? | " + failed + "No finished take is ready.");
        row("...and saves it once finished", "",
            "take 2000,delete,CmdRecord,cmdStopRecord,saveAnyway,advance 1000,finish,CmdEnreg",
            "new vox | listen | Delete ? | " + failed + "No finished take is ready.");
        row("delete answered Cancel changes nothing", "", "take 2000,keep",
            ready + "1,1,2 | no vox | " + open + "0057 | not open | 1/180000 0 | Delete ?");
        row("delete in the finishing second calls it off", "",
            "take 1500,CmdPlay,advance 2000,delete,finish",
            "no vox | open | play locked | 0057 | playing | 1/1500 0 | del.wav | Delete ?");
        row("end of playback packages the same take again", "",
            "take 2000,dropVox,CmdPlay,advance 2100,advance 1000,finish",
            ready + "1,1,2 | no vox | " + open + "0057 | not open | 1/2000 0");
        row("longest take stops itself, recording through its finishing second", "",
            "CmdRecord,advance 180000",
            "no vox | " + open +
                "180/180 seconds | recording | 180000/180000 180000 | temp.wav | finishing");
        row("longest take's record and position while it plays", "",
            "CmdRecord,advance 180000,advance 1000,finish,CmdPlay,advance 3200",
            ready + "1,1,181 | no vox | " + open +
                "3/181 seconds | playing | 3200/181000 3200 | temp.wav");
        // Told once per run why nothing records; no take, so Play does nothing.
        row("missing input is told once and leaves no take", "no input",
            "checkScope,take 3000,CmdPlay,CmdCancel,reopen,take 2000",
            "_0057_HUBERT.tsd | 1,1,0 | no vox | " + open + "0057 | not open | 1/180000 0 | " +
                AudioTexts::NoSoundInputDevice() +
                " | No sound input device (microphone) was found: replies cannot be "
                "recorded.\nTiradex works on without it. Connect a device and start Tiradex "
                "again to use it.");
    }
    void runsLeaveTheirOutcome()
    {
        QFETCH(QString, setup);
        QFETCH(QString, steps);
        QFETCH(QString, outcome);
        openRecorder();
        if (setup == "old")
            TestPlay::write(voxFile(), "an older recording of this reply");
        if (setup == "blocked") { // a file where the vox folder should be
            QVERIFY(QDir(QFileInfo(voxFile()).absolutePath()).removeRecursively());
            TestPlay::write(QFileInfo(voxFile()).absolutePath(), "x");
        }
        f.sound.setInputAvailable(setup != "no input");
        const QByteArray deletionSound = ReadTestFile(appFile("del.wav"));
        run(steps);
        QTRY_VERIFY(!m_recorder || m_recorder->isVisible()); // a closed one is deleted
        QCOMPARE(this->outcome(), outcome);
        QCOMPARE(ReadTestFile(appFile("del.wav")), deletionSound);
    }

    // The scope draws the input's blocks while recording, from the first
    // sample on: here the top (255), the bottom (0), then the middle (128)
    // rows of its box. Its input is open only while the take records.
    void scopeFollowsRecordingAndReleasesInput()
    {
        openRecorder();
        VirtualSoundInput *input = f.sound.soundInputs().last();
        input->setGenerator([](qint64 i) { return quint8(i == 0 ? 255 : i == 1 ? 0 : 128); });
        QStringList seen;
        for (const char *steps :
             {"checkScope,CmdRecord", "advance 600", "CmdPauseRec", "cmdResumeRec", "CmdCancel"}) {
            run(QString::fromLatin1(steps));
            const bool drawing = m_recorder && m_recorder->controls().Timer1->isActive();
            if (drawing)
                m_recorder->Timer1Timer();
            seen << QStringLiteral("%1 %2 %3")
                        .arg(f.sound.soundInputs().contains(input) && input->isOpen())
                        .arg(drawing)
                        .arg(m_recorder ? plottedRows(m_recorder->controls().scopeBox) : "");
        }
        QCOMPARE(seen, QStringList({"1 1 ", "1 1 0,22,44", "0 0 ", "1 1 ", "0 0 "}));
    }
};

QTEST_MAIN(TestFrmEnregMessage)
#include "tst_frmenregmessage.moc"
