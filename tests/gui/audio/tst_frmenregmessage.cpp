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

#include <QCheckBox>
#include <QGroupBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {
const QString Hubert = QStringLiteral("HUBERT");
const QString Arthur = QStringLiteral("ARTHUR");

// The recorder's controls that take clicks.
const char *const Commands[] = {"CmdRecord", "CmdPauseRec", "cmdResumeRec",  "cmdStopRecord",
                                "CmdPlay",   "cmdPause",    "cmdResumePlay", "cmdDelWave",
                                "CmdEnreg",  "CmdCancel",   "CheckDiagramme"};

QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestFrmEnregMessage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<Module1> state_;
    FakeDialogs dialogs_;
    std::unique_ptr<VirtualSoundSystem> sound_;
    std::unique_ptr<FrmAvare> play_;

    // The play window on act 1, scene 2: replies 57 (HUBERT, shown), 58
    // (ARTHUR) and 59 (HUBERT); the application folder holds del.wav.
    void openPlay(bool inMdiArea = false)
    {
        play_.reset();
        QDir(dir_.path()).removeRecursively();
        QDir().mkpath(dir_.path());
        state_ = std::make_unique<Module1>();
        dialogs_ = FakeDialogs();
        sound_ = std::make_unique<VirtualSoundSystem>();
        TestPlay play(*state_, dir_.path());
        play.writeCharacters(
            {{Hubert, QStringLiteral("a chamberlain")}, {Arthur, QStringLiteral("a prince")}});
        play.writeStore({TestPlay::numberedScene(1, 1, 55, 2, {Arthur, Hubert}),
                         TestPlay::numberedScene(1, 2, 57, 3, {Hubert, Arthur})});
        QVERIFY(WriteWavFile(appFile("del.wav"), DeletionSound(), nullptr));
        play_ = std::make_unique<FrmAvare>(*state_, dialogs_);
        play_->setSoundSystem(sound_.get());
        QVERIFY(play_->Load());
        if (inMdiArea) {
            auto *area = new QMdiArea;
            area->resize(1000, 700);
            area->addSubWindow(play_.get());
            area->show();
            connect(play_.get(), &QObject::destroyed, area, &QObject::deleteLater);
        } else {
            play_->resize(1000, 650);
            play_->show();
        }
        QVERIFY(QTest::qWaitForWindowExposed(play_->window()));
        QTreeWidget *tree = Control<QTreeWidget>(play_.get(), "TreeView1");
        play_->OpenScene(TreeNode(tree, QStringLiteral("ACT 1"), QStringLiteral("SCENE 2")));
    }

    // Opens the recorder with the play window's record button. Its timers
    // are given intervals no test reaches: the tests run their ticks.
    FrmEnregMessage *openRecorder()
    {
        Click(play_.get(), "CmdRecordShow");
        FrmEnregMessage *recorder = play_->recorder();
        if (!recorder)
            qFatal("the record button opened no recorder (enabled: %d)",
                   int(IsEnabled(play_.get(), "CmdRecordShow")));
        recorder->controls().TimerTempo->setInterval(24 * 3600 * 1000);
        recorder->controls().Timer1->setInterval(24 * 3600 * 1000);
        return recorder;
    }

    QString appFile(const char *name) const { return state_->AppFolder + QLatin1String(name); }
    QString voxFile() const { return state_->VoxPath(QStringLiteral("_0057_HUBERT")); }
    static VirtualMediaDevice &device(FrmEnregMessage *recorder)
    {
        return static_cast<VirtualMediaDevice &>(recorder->MMControl1());
    }
    void advance(qint64 ms) { sound_->clock().advance(ms); }

    static QStringList enabledCommands(FrmEnregMessage *recorder)
    {
        QStringList names;
        for (const char *name : Commands)
            if (IsEnabled(recorder, name))
                names.append(QLatin1String(name));
        names.sort();
        return names;
    }

    // Runs steps such as "record", "advance 500", "stop", "finish" (the
    // finishing timer's tick), "play", "pause", "resumePlay", "delete" (answered Yes).
    void run(FrmEnregMessage *recorder, const QStringList &steps)
    {
        for (const QString &step : steps) {
            const QStringList words = step.split(QLatin1Char(' '));
            const QString verb = words.first();
            if (verb == QLatin1String("advance")) {
                advance(words.at(1).toLongLong());
            } else if (verb == QLatin1String("finish")) {
                QVERIFY(recorder->controls().TimerTempo->isActive());
                recorder->TimerTempoTimer();
                recorder->waitForPackaging();
            } else if (verb == QLatin1String("delete")) {
                dialogs_.answers.append(Dialogs::Answer::Yes);
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
        run(recorder,
            {QStringLiteral("record"), QStringLiteral("advance %1").arg(ms - 1000),
             QStringLiteral("stop"), QStringLiteral("advance 1000"), QStringLiteral("finish")});
    }

    // The rows of `box`'s picture that hold a scope point.
    static QList<int> plottedRows(ScopeBox *box)
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

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        qputenv("XDG_DATA_HOME", dir_.path().toLocal8Bit());
    }
    void cleanup() { play_.reset(); }

    void controlsCarryTheirCaptionsAndPlaces()
    {
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        QCOMPARE(recorder->size(), QSize(585, 165));
        const QList<std::tuple<const char *, QString, QRect>> expected = {
            {"CmdRecord", QStringLiteral("Record"), QRect(4, 32, 133, 21)},
            {"cmdResumeRec", QStringLiteral("Resume"), QRect(4, 56, 133, 21)},
            {"cmdDelWave", QStringLiteral("Delete"), QRect(4, 80, 133, 21)},
            {"CmdCancel", QStringLiteral("Cancel"), QRect(4, 104, 133, 21)},
            {"CmdPauseRec", QStringLiteral("Pause"), QRect(144, 32, 133, 21)},
            {"cmdStopRecord", QStringLiteral("Stop"), QRect(284, 32, 129, 21)},
            {"CmdPlay", QStringLiteral("Play"), QRect(420, 32, 129, 21)},
            {"cmdPause", QStringLiteral("Pause"), QRect(420, 56, 129, 21)},
            {"cmdResumePlay", QStringLiteral("Resume"), QRect(420, 80, 129, 21)},
            {"CmdEnreg", QStringLiteral("Save"), QRect(420, 104, 129, 21)},
            {"CheckDiagramme", QStringLiteral("Scope"), QRect(252, 104, 93, 21)}};
        for (const auto &[name, caption, place] : expected) {
            auto *button = Control<QAbstractButton>(recorder, name);
            QCOMPARE(button->text(), caption);
            QCOMPARE(button->geometry(), place);
        }
        QCOMPARE(Control<QWidget>(recorder, "scopeBox")->geometry(), QRect(144, 60, 269, 45));
        QCOMPARE(Control<QWidget>(recorder, "Slider1")->geometry(), QRect(4, 4, 545, 21));
        QCOMPARE(Control<QGroupBox>(recorder, "FrameEnreg")->title(), QStringLiteral("Recording "));
        QCOMPARE(LabelText(recorder, "lbSliderLen"), QStringLiteral("1"));
        QCOMPARE(Control<QAbstractButton>(recorder, "CmdStartVolume")->text(),
                 QStringLiteral("Start"));
        QCOMPARE(Control<QAbstractButton>(recorder, "CmdStopVolume")->text(),
                 QStringLiteral("StopVolume"));
        QVERIFY(!Control<QCheckBox>(recorder, "CheckDiagramme")->isChecked());
        QCOMPARE(recorder->windowTitle(), QStringLiteral("0057"));
        QCOMPARE(recorder->x(), 0);
        QVERIFY(state_->RecorderOpen);
    }

    void stateTableEnablesTheListedControls_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("enabled");
        const QString ready = QStringLiteral("record,advance 1000,stop,advance 1000,finish");
        auto row = [](const char *name, const QString &steps, const char *enabled) {
            QTest::newRow(name) << (steps.isEmpty() ? QStringList() : steps.split(QLatin1Char(',')))
                                << QString::fromLatin1(enabled).split(QLatin1Char(' '));
        };
        row("empty at opening", QString(), "CheckDiagramme CmdCancel CmdRecord");
        row("recording", QStringLiteral("record,advance 500"),
            "CmdCancel CmdPauseRec cmdStopRecord");
        row("recording paused", QStringLiteral("record,advance 500,pauseRec"),
            "CheckDiagramme CmdCancel cmdResumeRec cmdStopRecord");
        row("recording resumed", QStringLiteral("record,pauseRec,resumeRec"),
            "CmdCancel CmdPauseRec cmdStopRecord");
        row("finishing after Stop", QStringLiteral("record,advance 500,stop"), "CmdCancel");
        row("take ready", ready, "CmdCancel CmdEnreg CmdPlay cmdDelWave");
        row("playing", ready + QStringLiteral(",play,advance 300"), "CmdCancel CmdEnreg cmdPause");
        row("playback paused", ready + QStringLiteral(",play,advance 300,pause"),
            "CmdCancel CmdEnreg CmdPlay cmdDelWave cmdResumePlay");
        row("playback resumed", ready + QStringLiteral(",play,pause,resumePlay"),
            "CmdCancel CmdEnreg cmdPause");
        row("finishing after the end of a playback", ready + QStringLiteral(",play,advance 2500"),
            "CmdCancel CmdEnreg CmdPlay cmdDelWave");
        row("finishing at the end of the longest take", QStringLiteral("record,advance 180000"),
            "CmdCancel CmdPlay cmdDelWave");
        // Save offered with no packaged take lost the next take silently.
        row("no Save after Delete", ready + QStringLiteral(",delete"),
            "CheckDiagramme CmdCancel CmdRecord");
        row("no Save while recording after Delete", ready + QStringLiteral(",delete,record"),
            "CmdCancel CmdPauseRec cmdStopRecord");
        row("no Save while finishing after Delete", ready + QStringLiteral(",delete,record,stop"),
            "CmdCancel");
        row("Save again once the new take is ready", ready + QStringLiteral(",delete,") + ready,
            "CmdCancel CmdEnreg CmdPlay cmdDelWave");
    }
    void stateTableEnablesTheListedControls()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, enabled);
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        run(recorder, steps);
        enabled.sort();
        QCOMPARE(enabledCommands(recorder), enabled);
    }

    void finishStepPackagesTakeWithItsDurationRecord_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("17.9 s take")
            << QStringList{QStringLiteral("record"), QStringLiteral("advance 16900"),
                           QStringLiteral("stop"), QStringLiteral("advance 1000")}
            << QByteArray("1,2,17\r\n");
        QTest::newRow("take under one second")
            << QStringList{QStringLiteral("record"), QStringLiteral("stop"),
                           QStringLiteral("advance 900")}
            << QByteArray("1,2,0\r\n");
        QTest::newRow("longest take stops itself")
            << QStringList{QStringLiteral("record"), QStringLiteral("advance 180000"),
                           QStringLiteral("advance 1000")}
            << QByteArray("1,2,181\r\n");
    }
    void finishStepPackagesTakeWithItsDurationRecord()
    {
        QFETCH(QStringList, steps);
        QFETCH(QByteArray, record);
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        run(recorder, steps);
        run(recorder, {QStringLiteral("finish")});
        QVERIFY(!recorder->controls().TimerTempo->isActive());
        QVERIFY(!device(recorder).isOpen());
        QCOMPARE(recorder->windowTitle(), QStringLiteral("0057"));

        const QByteArray archive = read(appFile("temp.vox"));
        QCOMPARE(LocalHeaderNames(archive),
                 (QStringList{QStringLiteral("temp.wav"), QStringLiteral("_0057_HUBERT.tsd")}));
        const QString unpacked = dir_.filePath(QStringLiteral("unpacked"));
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
        run(recorder, {QStringLiteral("record"), QStringLiteral("advance 5000"),
                       QStringLiteral("stop"), QStringLiteral("advance 1000")});
        recorder->TimerTempoTimer();
        QVERIFY(recorder->packaging()); // written away from the window's thread
        QCOMPARE(enabledCommands(recorder), QStringList{QStringLiteral("CmdCancel")});
        Click(recorder, "CmdCancel");
        for (const char *name : {"temp.wav", "temp.vox", "_0057_HUBERT.tsd"})
            QVERIFY2(!QFile::exists(appFile(name)), name);
    }

    void longestTakeStopsItselfAtItsLastMilliseconds()
    {
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        run(recorder, {QStringLiteral("record")});
        QCOMPARE(recorder->windowTitle(), QStringLiteral("0/180 secondes"));
        advance(179900);
        QCOMPARE(recorder->windowTitle(), QStringLiteral("179/180 seconds"));
        QVERIFY(IsEnabled(recorder, "cmdStopRecord"));
        QVERIFY(!recorder->controls().TimerTempo->isActive());
        advance(100);
        QVERIFY(recorder->controls().TimerTempo->isActive());
        QVERIFY(!IsEnabled(recorder, "cmdStopRecord"));
        QCOMPARE(device(recorder).mode(), MediaDevice::Mode::Recording); // on for one second
        QCOMPARE(recorder->controls().Slider1->selectionLength(), 180000);
    }

    void positionDisplayWhilePlaying()
    {
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        recordTake(recorder, 17900);
        run(recorder, {QStringLiteral("play"), QStringLiteral("advance 3200")});
        QCOMPARE(recorder->windowTitle(), QStringLiteral("3/17 seconds"));
        QCOMPARE(recorder->controls().Slider1->value(), 3200);
        QCOMPARE(recorder->controls().Slider1->maximum(), 17900);
    }

    void saveReplacesExistingVoxAndRestoresPlayWindow()
    {
        openPlay();
        TestPlay::write(voxFile(), "an older recording of this reply");
        TestPlay::write(state_->NotePath(QStringLiteral("_0057_HUBERT")), "{\\rtf1 note}");
        FrmEnregMessage *recorder = openRecorder();
        for (const char *name : {"CmdLecture", "CmdNoteExiste", "TreeView1", "CmdPlus",
                                 "ComboNumFichier", "CmdRepetition", "CmdFiltres", "CmdDelVox"})
            QVERIFY2(!IsEnabled(play_.get(), name), name);
        recordTake(recorder, 2000);
        QVERIFY(state_->RecordingActive);
        const QByteArray packaged = read(appFile("temp.vox"));
        QVERIFY(!packaged.isEmpty());
        Click(recorder, "CmdEnreg");
        QCOMPARE(read(voxFile()), packaged);
        for (const char *name : {"temp.wav", "temp.vox", "_0057_HUBERT.tsd"})
            QVERIFY2(!QFile::exists(appFile(name)), name);
        QVERIFY(!state_->RecordingActive);
        QVERIFY(!state_->RecorderOpen);
        for (const char *name : {"CmdLecture", "CmdNoteExiste", "TreeView1", "CmdPlus",
                                 "ComboNumFichier", "CmdRepetition", "CmdFiltres", "CmdDelVox"})
            QVERIFY2(IsEnabled(play_.get(), name), name);
        QVERIFY(!IsEnabled(play_.get(), "CmdPhotoExiste")); // no photo for this reply
    }

    void cancelDiscardsTakeAndKeepsExistingVox()
    {
        openPlay();
        TestPlay::write(voxFile(), "kept");
        FrmEnregMessage *recorder = openRecorder();
        recordTake(recorder, 2000);
        Click(recorder, "CmdCancel");
        QCOMPARE(read(voxFile()), QByteArray("kept"));
        QVERIFY(!QFile::exists(appFile("temp.vox")));
        QVERIFY(!state_->RecordingActive);
        QVERIFY(!state_->RecorderOpen);
    }

    void takeThatCouldNotBeRecordedLeavesNoVox()
    {
        openPlay();
        sound_->setInputAvailable(false);
        FrmEnregMessage *recorder = openRecorder();
        recordTake(recorder, 3000);
        QCOMPARE(dialogs_.shown.size(), 1);
        QVERIFY(dialogs_.texts().first().contains(QStringLiteral("cannot be recorded")));
        QVERIFY(!QFile::exists(appFile("temp.wav")));
        QVERIFY(!QFile::exists(appFile("temp.vox")));
        Click(recorder, "CmdPlay"); // no packaged take: nothing happens
        QVERIFY(!device(recorder).isOpen());
        QVERIFY(IsEnabled(recorder, "CmdPlay"));
        QVERIFY(!IsEnabled(recorder, "CmdEnreg"));
        Click(recorder, "CmdCancel");
        QVERIFY(!QFile::exists(voxFile()));
        QVERIFY(!state_->RecorderOpen);
        QVERIFY(!state_->RecordingActive);

        recorder = openRecorder(); // told once per run only
        recordTake(recorder, 2000);
        QCOMPARE(dialogs_.shown.size(), 1);
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
        QCOMPARE(dialogs_.shown.size(), 1);
        QVERIFY(dialogs_.texts().first().startsWith(
            QStringLiteral("The recording could not be saved.")));
        QVERIFY(QFile::exists(appFile("temp.vox")));
        QVERIFY(state_->RecorderOpen);
        QVERIFY(state_->RecordingActive);
        QVERIFY(IsEnabled(recorder, "CmdEnreg"));
    }

    void saveWithoutFinishedTakeKeepsWindowAndTake_data()
    {
        QTest::addColumn<QStringList>("steps");
        const QStringList ready = {"record", "advance 1000", "stop", "advance 1000", "finish"};
        QTest::newRow("recording after Delete")
            << ready + QStringList{"delete", "record", "advance 500"};
        QTest::newRow("finishing after Delete") << ready + QStringList{"delete", "record", "stop"};
    }
    void saveWithoutFinishedTakeKeepsWindowAndTake()
    {
        QFETCH(QStringList, steps);
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        run(recorder, steps);
        recorder->CmdEnregClick(); // reached however Save is offered
        QCOMPARE(dialogs_.texts().last(),
                 QStringLiteral("The recording could not be saved. No finished take is ready."));
        QVERIFY(state_->RecorderOpen);
        QVERIFY(state_->RecordingActive);
        QCOMPARE(device(recorder).mode(), MediaDevice::Mode::Recording);
        if (IsEnabled(recorder, "cmdStopRecord"))
            run(recorder, {"stop"});
        run(recorder, {"advance 1000", "finish"});
        Click(recorder, "CmdEnreg");
        QVERIFY(QFile::exists(voxFile()));
        QVERIFY(!state_->RecorderOpen);
    }

    void deleteAnsweredNoOrCancelChangesNothing_data()
    {
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::newRow("No") << Dialogs::Answer::No;
        QTest::newRow("Cancel") << Dialogs::Answer::Cancel;
    }
    void deleteAnsweredNoOrCancelChangesNothing()
    {
        QFETCH(Dialogs::Answer, answer);
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        recordTake(recorder, 2000);
        const QStringList before = enabledCommands(recorder);
        const QByteArray packaged = read(appFile("temp.vox"));
        device(recorder).clearCommandLog();
        dialogs_.answers.append(answer);
        Click(recorder, "cmdDelWave");
        QCOMPARE(dialogs_.shown.last().kind, FakeDialogs::Shown::YesNoCancel);
        QCOMPARE(dialogs_.shown.last().text, QStringLiteral("Delete ?"));
        QCOMPARE(enabledCommands(recorder), before);
        QCOMPARE(read(appFile("temp.vox")), packaged);
        QVERIFY(state_->RecordingActive);
        QVERIFY(device(recorder).commandLog().isEmpty());
    }

    void deleteCallsOffPendingFinishAndPlaysDeletionSound()
    {
        openPlay();
        const QByteArray deletionSound = read(appFile("del.wav"));
        FrmEnregMessage *recorder = openRecorder();
        recordTake(recorder, 1500);
        run(recorder, {QStringLiteral("play"), QStringLiteral("advance 2000")}); // end: finishing
        QVERIFY(recorder->controls().TimerTempo->isActive());
        run(recorder, {QStringLiteral("delete")});
        QVERIFY(!recorder->controls().TimerTempo->isActive());
        QCOMPARE(device(recorder).fileName(), appFile("del.wav"));
        QCOMPARE(device(recorder).mode(), MediaDevice::Mode::Playing);
        QVERIFY(recorder->HidePosition());
        advance(3000);
        if (recorder->controls().TimerTempo->isActive())
            recorder->TimerTempoTimer(); // as the armed timer would
        recorder->waitForPackaging();
        for (const char *name : {"temp.wav", "temp.vox", "_0057_HUBERT.tsd"})
            QVERIFY2(!QFile::exists(appFile(name)), name);
        QCOMPARE(read(appFile("del.wav")), deletionSound);
        QVERIFY(!state_->RecordingActive);
        QCOMPARE(recorder->windowTitle(), QStringLiteral("0057"));
    }

    void endOfPlaybackPackagesSameTakeAgain()
    {
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        recordTake(recorder, 2000);
        const QByteArray take = read(appFile("temp.wav"));
        run(recorder, {QStringLiteral("play"), QStringLiteral("advance 2100"),
                       QStringLiteral("advance 1000"), QStringLiteral("finish")});
        QCOMPARE(read(appFile("temp.wav")), take);
        QCOMPARE(read(appFile("_0057_HUBERT.tsd")), QByteArray("1,2,2\r\n"));
        QCOMPARE(LocalHeaderNames(read(appFile("temp.vox"))).size(), 2);
    }

    void playRightAfterPlaybackEndIsNotCutShort()
    {
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        recordTake(recorder, 3000);
        run(recorder, {QStringLiteral("play"), QStringLiteral("advance 3100"),
                       QStringLiteral("play"), QStringLiteral("advance 1500")});
        QVERIFY(!recorder->controls().TimerTempo->isActive());
        QCOMPARE(device(recorder).mode(), MediaDevice::Mode::Playing);
        QCOMPARE(device(recorder).position(), qint64(1500));
    }

    void openingTwiceBringsWindowToFront()
    {
        openPlay();
        FrmEnregMessage *first = openRecorder();
        first->lower();
        Click(play_.get(), "CmdRecordShow");
        QCOMPARE(play_->recorder(), first);
        QCOMPARE(play_->findChildren<FrmEnregMessage *>().size(), 1);
        QVERIFY(first->isVisible());
    }

    void closeControlDuringTakeIsRefused_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("recording")
            << QStringList{QStringLiteral("record"), QStringLiteral("advance 500")};
        QTest::newRow("recording paused")
            << QStringList{QStringLiteral("record"), QStringLiteral("pauseRec")};
        QTest::newRow("finishing second")
            << QStringList{QStringLiteral("record"), QStringLiteral("stop")};
        QTest::newRow("finishing second after Pause") << QStringList{
            QStringLiteral("record"), QStringLiteral("pauseRec"), QStringLiteral("stop")};
    }
    void closeControlDuringTakeIsRefused()
    {
        QFETCH(QStringList, steps);
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        run(recorder, steps);
        const MediaDevice::Mode mode = device(recorder).mode();
        QVERIFY(!recorder->close());
        QCOMPARE(dialogs_.texts(),
                 QStringList{QStringLiteral("Stop at first the current recording.")});
        QVERIFY(recorder->isVisible());
        QVERIFY(state_->RecorderOpen);
        QCOMPARE(device(recorder).mode(), mode);
    }

    void closeControlWithTakeReadyDiscardsIt()
    {
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        recordTake(recorder, 2000);
        run(recorder, {QStringLiteral("play")});
        QVERIFY(recorder->close());
        QVERIFY(!state_->RecordingActive);
        QVERIFY(!state_->RecorderOpen);
        QVERIFY(!QFile::exists(appFile("temp.vox")));
        QVERIFY(!QFile::exists(voxFile()));
        QVERIFY(sound_->mediaDevices().isEmpty() || !sound_->mediaDevices().last()->isOpen());
        QVERIFY(play_->close()); // nothing holds the play window open
    }

    void closingPlayWindowClosesRecorder()
    {
        openPlay();
        QPointer<FrmEnregMessage> recorder = openRecorder();
        QVERIFY(play_->close());
        QVERIFY(!state_->RecorderOpen);
        QVERIFY(!recorder || !recorder->isVisible());
    }

    void scopePlotsSampleValuesFromBottomToTop_data()
    {
        QTest::addColumn<int>("sample");
        QTest::addColumn<int>("row"); // in a box 45 pixels high
        QTest::newRow("silence across the middle") << 128 << 22;
        QTest::newRow("0 on the bottom edge") << 0 << 44;
        QTest::newRow("255 on the top edge") << 255 << 0;
    }
    void scopePlotsSampleValuesFromBottomToTop()
    {
        QFETCH(int, sample);
        QFETCH(int, row);
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        sound_->soundInputs().last()->setGenerator([sample](qint64) { return quint8(sample); });
        Control<QCheckBox>(recorder, "CheckDiagramme")->setChecked(true);
        run(recorder, {QStringLiteral("record")});
        QVERIFY(recorder->controls().Timer1->isActive());
        recorder->Timer1Timer();
        QVERIFY(plottedRows(recorder->controls().scopeBox).isEmpty()); // no block yet
        advance(600);
        recorder->Timer1Timer();
        QCOMPARE(plottedRows(recorder->controls().scopeBox), QList<int>{row});
        QCOMPARE(quint8(recorder->ScopeSamples().at(SoundMeter::ScopeLength - 1)), quint8(sample));
    }

    void scopeInputFollowsRecordingAndIsReleasedOnClose()
    {
        openPlay();
        FrmEnregMessage *recorder = openRecorder();
        VirtualSoundInput *input = sound_->soundInputs().last();
        Control<QCheckBox>(recorder, "CheckDiagramme")->setChecked(true);
        run(recorder, {QStringLiteral("record"), QStringLiteral("advance 600")});
        QVERIFY(input->isOpen());
        run(recorder, {QStringLiteral("pauseRec")});
        QVERIFY(!input->isOpen());
        QVERIFY(!recorder->controls().Timer1->isActive());
        QVERIFY(plottedRows(recorder->controls().scopeBox).isEmpty());
        run(recorder, {QStringLiteral("resumeRec")});
        QVERIFY(input->isOpen());
        Click(recorder, "CmdCancel");
        QVERIFY(sound_->soundInputs().isEmpty() || !input->isOpen());
    }

    void scopeWithoutInputTellsAndStaysBlank()
    {
        openPlay();
        sound_->setInputAvailable(false);
        FrmEnregMessage *recorder = openRecorder();
        Control<QCheckBox>(recorder, "CheckDiagramme")->setChecked(true);
        run(recorder, {QStringLiteral("record")});
        QVERIFY(dialogs_.texts().contains(VirtualSoundInput::unavailableText()));
        QVERIFY(!recorder->controls().Timer1->isActive());
        advance(1000);
        QVERIFY(plottedRows(recorder->controls().scopeBox).isEmpty());
    }

    void recorderInFrameIsSubWindowThatClosesWithItsControl()
    {
        openPlay(true);
        FrmEnregMessage *recorder = openRecorder();
        auto *frame = qobject_cast<QMdiSubWindow *>(recorder->parentWidget());
        QVERIFY(frame);
        QCOMPARE(frame->x(), 0);
        run(recorder, {QStringLiteral("record")});
        QVERIFY(!frame->close()); // the sub-window's close button asks the recorder
        QVERIFY(state_->RecorderOpen);
        run(recorder, {QStringLiteral("advance 1000"), QStringLiteral("stop"),
                       QStringLiteral("advance 1000"), QStringLiteral("finish")});
        QPointer<QMdiSubWindow> closed = frame;
        QVERIFY(frame->close());
        QVERIFY(!state_->RecorderOpen);
        QVERIFY(!state_->RecordingActive);
        QTRY_VERIFY(!closed); // deleted with its recorder
    }
};

QTEST_MAIN(TestFrmEnregMessage)
#include "tst_frmenregmessage.moc"
