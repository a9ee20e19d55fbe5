#include "gui/audio/FrmEnregMessage.h"
#include "gui/audio/ScopeBox.h"
#include "gui/audio/SelectionSlider.h"
#include "gui/play/FrmAvare.h"

#include "ArchiveChecks.h"
#include "FakeDialogs.h"
#include "TestPlay.h"
#include "VirtualMediaDevice.h"
#include "VirtualSoundInput.h"
#include "VirtualSoundSystem.h"
#include "WidgetDriver.h"
#include "core/audio/Tones.h"
#include "core/audio/WavFile.h"
#include "core/transfer/ZipExtractionClass.h"
#include "platform/audio/SoundMeter.h"

#include <QApplication>
#include <QCheckBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

using namespace tiradex;

namespace {
const QString Hubert = QStringLiteral("HUBERT");
const QString Arthur = QStringLiteral("ARTHUR");
const char *const Scratch[] = {"temp.wav", "temp.vox", "_0057_HUBERT.tsd"};

// The recorder's controls that take clicks.
const char *const Commands[] = {"CmdRecord", "CmdPauseRec", "cmdResumeRec",  "cmdStopRecord",
                                "CmdPlay",   "cmdPause",    "cmdResumePlay", "cmdDelWave",
                                "CmdEnreg",  "CmdCancel",   "CheckDiagramme"};

QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The rows of `box`'s picture that hold a scope point.
QList<int> plottedRows(QWidget *box)
{
    const QImage image = box->grab().toImage();
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == ScopeBox::foreground()) {
                rows.append(y);
                break;
            }
    return rows;
}
} // namespace

class TestFrmEnregMessage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Module1> m_state;
    FakeDialogs m_dialogs;
    std::unique_ptr<VirtualSoundSystem> m_sound;
    std::unique_ptr<FrmAvare> m_play;

    // The play window on act 1, scene 2: replies 57 (HUBERT, shown), 58
    // (ARTHUR) and 59 (HUBERT); the application folder holds del.wav.
    void openPlay(bool inMdiArea = false)
    {
        m_play.reset();
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        m_state = std::make_unique<Module1>();
        m_dialogs = FakeDialogs();
        m_sound = std::make_unique<VirtualSoundSystem>();
        TestPlay play(*m_state, m_dir.path());
        play.writeCharacters(
            {{Hubert, QStringLiteral("a chamberlain")}, {Arthur, QStringLiteral("a prince")}});
        play.writeStore({TestPlay::numberedScene(1, 1, 55, 2, {Arthur, Hubert}),
                         TestPlay::numberedScene(1, 2, 57, 3, {Hubert, Arthur})});
        QVERIFY(WriteWavFile(appFile("del.wav"), DeletionSound(), nullptr));
        m_play = std::make_unique<FrmAvare>(*m_state, m_dialogs);
        m_play->setSoundSystem(m_sound.get());
        QVERIFY(m_play->Load());
        if (inMdiArea) {
            auto *area = new QMdiArea;
            area->resize(1000, 700);
            area->addSubWindow(m_play.get());
            area->show();
            connect(m_play.get(), &QObject::destroyed, area, &QObject::deleteLater);
        } else {
            m_play->resize(1000, 650);
            m_play->show();
        }
        QVERIFY(QTest::qWaitForWindowExposed(m_play->window()));
        QTreeWidget *tree = Control<QTreeWidget>(m_play.get(), "TreeView1");
        m_play->OpenScene(TreeNode(tree, QStringLiteral("ACT 1"), QStringLiteral("SCENE 2")));
    }

    // Opens the recorder with the play window's record button. Its timers
    // are given intervals no test reaches: the tests run their ticks.
    FrmEnregMessage *openRecorder()
    {
        Click(m_play.get(), "CmdRecordShow");
        FrmEnregMessage *recorder = m_play->recorder();
        if (!recorder)
            qFatal("the record button opened no recorder");
        recorder->controls().TimerTempo->setInterval(24 * 3600 * 1000);
        recorder->controls().Timer1->setInterval(24 * 3600 * 1000);
        return recorder;
    }

    QString appFile(const char *name) const { return m_state->AppFolder + QLatin1String(name); }
    QString voxFile() const { return m_state->VoxPath(QStringLiteral("_0057_HUBERT")); }
    static VirtualMediaDevice &device(FrmEnregMessage *recorder)
    {
        return static_cast<VirtualMediaDevice &>(recorder->MMControl1());
    }
    void advance(qint64 ms) { m_sound->clock().advance(ms); }
    bool finishing(FrmEnregMessage *recorder) const
    {
        return recorder->controls().TimerTempo->isActive();
    }

    static QString enabledCommands(FrmEnregMessage *recorder)
    {
        QStringList names;
        for (const char *name : Commands)
            if (IsEnabled(recorder, name))
                names.append(QLatin1String(name));
        names.sort();
        return names.join(QLatin1Char(' '));
    }

    // Runs steps such as "record", "advance 500", "stop", "finish" (the
    // finishing timer's tick), "play", "pause", "resumePlay", "delete" (answered Yes).
    void run(FrmEnregMessage *recorder, const QString &steps)
    {
        for (const QString &step : steps.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QStringList words = step.split(QLatin1Char(' '));
            const QString verb = words.first();
            if (verb == QLatin1String("advance")) {
                advance(words.at(1).toLongLong());
            } else if (verb == QLatin1String("finish")) {
                QVERIFY(finishing(recorder));
                recorder->TimerTempoTimer();
                recorder->waitForPackaging();
            } else if (verb == QLatin1String("delete")) {
                m_dialogs.answers.append(Dialogs::Answer::Yes);
                Click(recorder, "cmdDelWave");
            } else {
                static const QHash<QString, const char *> buttons = {
                    {QStringLiteral("record"), "CmdRecord"},
                    {QStringLiteral("pauseRec"), "CmdPauseRec"},
                    {QStringLiteral("resumeRec"), "cmdResumeRec"},
                    {QStringLiteral("stop"), "cmdStopRecord"},
                    {QStringLiteral("play"), "CmdPlay"},
                    {QStringLiteral("pause"), "cmdPause"},
                    {QStringLiteral("resumePlay"), "cmdResumePlay"}};
                QVERIFY2(buttons.contains(verb), qPrintable(step));
                QVERIFY2(IsEnabled(recorder, buttons.value(verb)), qPrintable(step));
                Click(recorder, buttons.value(verb));
            }
        }
    }

    // Records a take of `ms` (the finishing second included) and finishes it.
    void recordTake(FrmEnregMessage *recorder, qint64 ms)
    {
        run(recorder, QStringLiteral("record,advance %1,stop,advance 1000,finish").arg(ms - 1000));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_DATA_HOME", m_dir.path().toLocal8Bit());
    }
    void cleanup() { m_play.reset(); }

    void openingTitlesAndPlacesTheWindow()
    {
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        QCOMPARE(recorder->windowTitle(), QStringLiteral("0057"));
        QCOMPARE(recorder->x(), 0);
        QVERIFY(m_state->RecorderOpen);
        QVERIFY(!IsEnabled(m_play.get(), "TreeView1"));
        QVERIFY(!Control<QCheckBox>(recorder, "CheckDiagramme")->isChecked());
    }

    // One take through every state: the window shows the engine's controls
    // on the right buttons, and the devices' ends of range reach it.
    void buttonsFollowTheTake()
    {
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        const QList<std::pair<const char *, const char *>> route = {
            {"", "CheckDiagramme CmdCancel CmdRecord"},
            {"record,advance 500", "CmdCancel CmdPauseRec cmdStopRecord"},
            {"pauseRec", "CheckDiagramme CmdCancel cmdResumeRec cmdStopRecord"},
            {"resumeRec,advance 500,stop", "CmdCancel"},
            {"advance 1000,finish", "CmdCancel CmdEnreg CmdPlay cmdDelWave"},
            {"play,advance 300", "CmdCancel CmdEnreg cmdPause"},
            {"pause", "CmdCancel CmdEnreg CmdPlay cmdDelWave cmdResumePlay"},
            {"resumePlay,advance 2000", "CmdCancel CmdEnreg CmdPlay cmdDelWave"},
            {"delete", "CheckDiagramme CmdCancel CmdRecord"}};
        for (const auto &[steps, enabled] : route) {
            run(recorder, QString::fromLatin1(steps));
            QCOMPARE(enabledCommands(recorder), QString::fromLatin1(enabled));
            // Only the end of the playback and Stop arm the finishing second.
            QCOMPARE(finishing(recorder),
                     QByteArray(steps).endsWith("stop") || QByteArray(steps).endsWith("2000"));
        }
    }

    void finishStepPackagesTakeWithItsDurationRecord()
    {
        const QByteArray record("1,2,17\r\n");
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        run(recorder, QStringLiteral("record,advance 16900,stop,advance 1000,finish"));
        QVERIFY(!finishing(recorder));
        QVERIFY(!device(recorder).isOpen());
        QCOMPARE(recorder->windowTitle(), QStringLiteral("0057"));

        const QByteArray archive = read(appFile("temp.vox"));
        QCOMPARE(LocalHeaderNames(archive),
                 (QStringList{QStringLiteral("temp.wav"), QStringLiteral("_0057_HUBERT.tsd")}));
        const QString unpacked = m_dir.filePath(QStringLiteral("unpacked"));
        ZipExtractionClass reader;
        QVERIFY(reader.OpenZip(appFile("temp.vox")));
        QVERIFY(reader.Extract(unpacked, true, true));
        reader.CloseZip();
        QCOMPARE(read(unpacked + QStringLiteral("/_0057_HUBERT.tsd")), record);
        QCOMPARE(read(unpacked + QStringLiteral("/temp.wav")), read(appFile("temp.wav")));
        const std::optional<PcmAudio> take = ReadWavFile(appFile("temp.wav"), nullptr);
        QVERIFY(take);
        QCOMPARE(QByteArray::number(take->durationMs() / 1000) + "\r\n",
                 record.mid(record.lastIndexOf(',') + 1));
    }

    void cancelWhileArchiveIsWrittenLeavesNoScratch()
    {
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        run(recorder, QStringLiteral("record,advance 5000,stop,advance 1000"));
        recorder->TimerTempoTimer();
        QVERIFY(recorder->packaging()); // written away from the window's thread
        Click(recorder, "CmdCancel");
        for (const char *name : Scratch)
            QVERIFY2(!QFile::exists(appFile(name)), name);
    }

    void longestTakeStopsItselfAndPositionShows()
    {
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        run(recorder, QStringLiteral("record"));
        QCOMPARE(recorder->windowTitle(), QStringLiteral("0/180 secondes"));
        advance(179900);
        QCOMPARE(recorder->windowTitle(), QStringLiteral("179/180 seconds"));
        QVERIFY(!finishing(recorder));
        advance(100);
        QVERIFY(finishing(recorder));
        QCOMPARE(device(recorder).mode(), MediaDevice::Mode::Recording); // on for one second
        QCOMPARE(recorder->controls().Slider1->selectionLength(), 180000);
        run(recorder, QStringLiteral("advance 1000,finish"));
        QCOMPARE(read(appFile("_0057_HUBERT.tsd")), QByteArray("1,2,181\r\n"));
        run(recorder, QStringLiteral("play,advance 3200"));
        QCOMPARE(recorder->windowTitle(), QStringLiteral("3/181 seconds"));
        QCOMPARE(recorder->controls().Slider1->value(), 3200);
        QCOMPARE(recorder->controls().Slider1->maximum(), 181000);
    }

    void saveReplacesExistingVoxAndGivesPlayWindowBack()
    {
        openPlay();
        TestPlay::write(voxFile(), "an older recording of this reply");
        FrmEnregMessage *recorder = openRecorder();
        QVERIFY(!IsEnabled(m_play.get(), "CmdPlus"));
        recordTake(recorder, 2000);
        QVERIFY(m_state->RecordingActive);
        const QByteArray packaged = read(appFile("temp.vox"));
        QVERIFY(!packaged.isEmpty());
        Click(recorder, "CmdEnreg");
        QCOMPARE(read(voxFile()), packaged);
        for (const char *name : Scratch)
            QVERIFY2(!QFile::exists(appFile(name)), name);
        QVERIFY(!m_state->RecordingActive);
        QVERIFY(!m_state->RecorderOpen);
        QTRY_VERIFY(!m_play->recorder());
        QVERIFY(IsEnabled(m_play.get(), "CmdPlus"));
        QVERIFY(IsEnabled(m_play.get(), "CmdLecture"));
    }

    // Cancel, and the window's own close control once nothing records: the
    // take goes, the reply's recording stays, nothing holds the play window.
    void discardingKeepsExistingVox_data()
    {
        QTest::addColumn<bool>("byCancel");
        QTest::newRow("Cancel") << true;
        QTest::newRow("close control while the take plays") << false;
    }
    void discardingKeepsExistingVox()
    {
        QFETCH(bool, byCancel);
        openPlay();
        TestPlay::write(voxFile(), "kept");
        FrmEnregMessage *recorder = openRecorder();
        recordTake(recorder, 2000);
        run(recorder, QStringLiteral("play"));
        if (byCancel)
            Click(recorder, "CmdCancel");
        else
            QVERIFY(recorder->close());
        QCOMPARE(read(voxFile()), QByteArray("kept"));
        for (const char *name : Scratch)
            QVERIFY2(!QFile::exists(appFile(name)), name);
        QVERIFY(!m_state->RecordingActive);
        QVERIFY(!m_state->RecorderOpen);
        QVERIFY(m_sound->mediaDevices().isEmpty() || !m_sound->mediaDevices().last()->isOpen());
        QVERIFY(m_play->close());
    }

    // Without a sound input: told once per run why nothing records, and
    // why the scope stays blank; no take, so Play does nothing and no Save.
    void missingInputIsToldAndLeavesNoTake()
    {
        openPlay();
        m_sound->setInputAvailable(false);
        FrmEnregMessage *recorder = openRecorder();
        Control<QCheckBox>(recorder, "CheckDiagramme")->setChecked(true);
        recordTake(recorder, 3000);
        QCOMPARE(m_dialogs.shown.size(), 2);
        QCOMPARE(m_dialogs.texts().first(), VirtualSoundInput::unavailableText());
        QVERIFY(m_dialogs.texts().last().contains(QStringLiteral("cannot be recorded")));
        QVERIFY(!recorder->controls().Timer1->isActive());
        QVERIFY(plottedRows(recorder->controls().scopeBox).isEmpty());
        QVERIFY(!QFile::exists(appFile("temp.wav")));
        QVERIFY(!QFile::exists(appFile("temp.vox")));
        Click(recorder, "CmdPlay");
        QVERIFY(!device(recorder).isOpen());
        QVERIFY(!IsEnabled(recorder, "CmdEnreg"));
        Click(recorder, "CmdCancel");
        QVERIFY(!QFile::exists(voxFile()));

        recorder = openRecorder();
        recordTake(recorder, 2000);
        QCOMPARE(m_dialogs.shown.size(), 2);
    }

    void failedSaveKeepsTakeAndTellsWhy()
    {
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        recordTake(recorder, 2000);
        const QString voxFolder = QFileInfo(voxFile()).absolutePath();
        QDir(voxFolder).removeRecursively();
        TestPlay::write(voxFolder, "a file where the vox folder should be");
        Click(recorder, "CmdEnreg");
        QCOMPARE(m_dialogs.shown.size(), 1);
        QVERIFY(m_dialogs.texts().first().startsWith(
            QStringLiteral("The recording could not be saved.")));
        QVERIFY(QFile::exists(appFile("temp.vox")));
        QVERIFY(m_state->RecorderOpen);
        QVERIFY(m_state->RecordingActive);
        QVERIFY(IsEnabled(recorder, "CmdEnreg"));
    }

    void saveWithoutFinishedTakeKeepsWindowAndTake()
    {
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        recordTake(recorder, 2000);
        run(recorder, QStringLiteral("delete,record,stop"));
        recorder->CmdEnregClick(); // reached however Save is offered
        QCOMPARE(m_dialogs.texts().last(),
                 QStringLiteral("The recording could not be saved. No finished take is ready."));
        QVERIFY(m_state->RecorderOpen);
        QVERIFY(m_state->RecordingActive);
        QCOMPARE(device(recorder).mode(), MediaDevice::Mode::Recording);
        run(recorder, QStringLiteral("advance 1000,finish"));
        Click(recorder, "CmdEnreg");
        QVERIFY(QFile::exists(voxFile()));
        QVERIFY(!m_state->RecorderOpen);
    }

    void deleteAnsweredCancelChangesNothing()
    {
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        recordTake(recorder, 2000);
        const QString before = enabledCommands(recorder);
        const QByteArray packaged = read(appFile("temp.vox"));
        device(recorder).clearCommandLog();
        m_dialogs.answers.append(Dialogs::Answer::Cancel);
        Click(recorder, "cmdDelWave");
        QCOMPARE(m_dialogs.shown.last().kind, FakeDialogs::Shown::YesNoCancel);
        QCOMPARE(m_dialogs.shown.last().text, QStringLiteral("Delete ?"));
        QCOMPARE(enabledCommands(recorder), before);
        QCOMPARE(read(appFile("temp.vox")), packaged);
        QVERIFY(m_state->RecordingActive);
        QVERIFY(device(recorder).commandLog().isEmpty());
    }

    void deleteCallsOffPendingFinishAndPlaysDeletionSound()
    {
        openPlay();
        const QByteArray deletionSound = read(appFile("del.wav"));
        FrmEnregMessage *recorder = openRecorder();
        recordTake(recorder, 1500);
        run(recorder, QStringLiteral("play,advance 2000,delete")); // in the finishing second
        QVERIFY(!finishing(recorder));
        QCOMPARE(device(recorder).fileName(), appFile("del.wav"));
        QCOMPARE(device(recorder).mode(), MediaDevice::Mode::Playing);
        QVERIFY(recorder->HidePosition());
        advance(3000);
        recorder->TimerTempoTimer(); // as a timer tick would, had it stayed armed
        recorder->waitForPackaging();
        for (const char *name : Scratch)
            QVERIFY2(!QFile::exists(appFile(name)), name);
        QCOMPARE(read(appFile("del.wav")), deletionSound);
        QVERIFY(!m_state->RecordingActive);
        QCOMPARE(recorder->windowTitle(), QStringLiteral("0057"));
    }

    void endOfPlaybackPackagesSameTakeAgain()
    {
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        recordTake(recorder, 2000);
        const QByteArray take = read(appFile("temp.wav"));
        QFile::remove(appFile("temp.vox"));
        run(recorder, QStringLiteral("play,advance 2100,advance 1000,finish"));
        QCOMPARE(read(appFile("temp.wav")), take);
        QCOMPARE(read(appFile("_0057_HUBERT.tsd")), QByteArray("1,2,2\r\n"));
        QCOMPARE(LocalHeaderNames(read(appFile("temp.vox"))).size(), 2);
    }

    void openingTwiceBringsWindowToFront()
    {
        openPlay();
        FrmEnregMessage *first = openRecorder();
        first->lower();
        Click(m_play.get(), "CmdRecordShow");
        QCOMPARE(m_play->recorder(), first);
        const QWidgetList widgets = QApplication::allWidgets();
        QCOMPARE(std::count_if(widgets.begin(), widgets.end(),
                               [](QWidget *w) { return qobject_cast<FrmEnregMessage *>(w); }),
                 1);
    }

    // The device holds the paused take through the finishing second.
    void closeControlInFinishingSecondAfterPauseIsRefused()
    {
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        run(recorder, QStringLiteral("record,pauseRec,stop"));
        QVERIFY(!recorder->close());
        QCOMPARE(m_dialogs.texts(),
                 QStringList{QStringLiteral("Stop at first the current recording.")});
        QVERIFY(recorder->isVisible());
        QVERIFY(m_state->RecorderOpen);
        QCOMPARE(device(recorder).mode(), MediaDevice::Mode::Paused);
        QVERIFY(finishing(recorder));
    }

    void closingPlayWindowClosesRecorder()
    {
        openPlay();
        QPointer<FrmEnregMessage> recorder = openRecorder();
        QVERIFY(m_play->close());
        QVERIFY(!m_state->RecorderOpen);
        QVERIFY(!recorder || !recorder->isVisible());
    }

    void scopePlotsSampleValuesFromBottomToTop_data()
    {
        QTest::addColumn<int>("sample");
        QTest::addColumn<QList<int>>("rows"); // in a box 45 pixels high
        QTest::newRow("silence across the middle") << 128 << QList<int>{22};
        QTest::newRow("0 on the bottom edge") << 0 << QList<int>{44};
        // The first sample is drawn too: a peak there and silence after it.
        QTest::newRow("255 on the top edge") << 255 << QList<int>{0, 22};
    }
    void scopePlotsSampleValuesFromBottomToTop()
    {
        QFETCH(int, sample);
        QFETCH(QList<int>, rows);
        ScopeBox box;
        box.resize(269, 45);
        QByteArray samples(SoundMeter::ScopeLength, char(sample == 255 ? 128 : sample));
        samples[0] = char(sample);
        box.plot(samples);
        QCOMPARE(plottedRows(&box), rows);
        box.clear();
        QVERIFY(plottedRows(&box).isEmpty());
    }

    // The scope draws the input's blocks while recording, and its input is
    // open only while the take records.
    void scopeFollowsRecordingAndReleasesInput()
    {
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        VirtualSoundInput *input = m_sound->soundInputs().last();
        input->setGenerator([](qint64) { return quint8(255); });
        Control<QCheckBox>(recorder, "CheckDiagramme")->setChecked(true);
        run(recorder, QStringLiteral("record"));
        QVERIFY(recorder->controls().Timer1->isActive());
        recorder->Timer1Timer();
        QVERIFY(plottedRows(recorder->controls().scopeBox).isEmpty()); // no block yet
        advance(600);
        recorder->Timer1Timer();
        QCOMPARE(plottedRows(recorder->controls().scopeBox), QList<int>{0});
        QCOMPARE(quint8(recorder->ScopeSamples().at(SoundMeter::ScopeLength - 1)), quint8(255));
        run(recorder, QStringLiteral("pauseRec"));
        QVERIFY(!input->isOpen());
        QVERIFY(!recorder->controls().Timer1->isActive());
        QVERIFY(plottedRows(recorder->controls().scopeBox).isEmpty());
        run(recorder, QStringLiteral("resumeRec"));
        QVERIFY(input->isOpen());
        Click(recorder, "CmdCancel");
        QVERIFY(m_sound->soundInputs().isEmpty() || !input->isOpen());
    }

    void recorderInFrameIsSubWindowThatClosesWithItsControl()
    {
        openPlay(true);
        FrmEnregMessage *recorder = openRecorder();
        auto *frame = qobject_cast<QMdiSubWindow *>(recorder->parentWidget());
        QVERIFY(frame);
        QCOMPARE(frame->x(), 0);
        run(recorder, QStringLiteral("record"));
        QVERIFY(!frame->close()); // the sub-window's close button asks the recorder
        QVERIFY(m_state->RecorderOpen);
        run(recorder, QStringLiteral("advance 1000,stop,advance 1000,finish"));
        QPointer<QMdiSubWindow> closed = frame;
        QVERIFY(frame->close());
        QVERIFY(!m_state->RecorderOpen);
        QVERIFY(!m_state->RecordingActive);
        QTRY_VERIFY(!closed); // deleted with its recorder
    }
};

QTEST_MAIN(TestFrmEnregMessage)
#include "tst_frmenregmessage.moc"
