#include "gui/audio/FrmEnregMessage.h"

#include "gui/app/PlayWindowHost.h"
#include "gui/audio/ScopeBox.h"
#include "gui/audio/SelectionSlider.h"

#include "core/app/Module1.h"
#include "core/audio/AudioTexts.h"
#include "core/audio/TakePackage.h"
#include "platform/Dialogs.h"
#include "platform/audio/MediaDevice.h"
#include "platform/audio/SoundInput.h"
#include "platform/audio/SoundMeter.h"
#include "platform/audio/SoundSystem.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>

namespace {
void setControlsEnabled(const QList<QWidget *> &controls, bool enabled)
{
    for (QWidget *control : controls)
        control->setEnabled(enabled);
}
} // namespace

FrmEnregMessage::FrmEnregMessage(Module1 &state, Dialogs &dialogs, SoundSystem &sound,
                                 PlayWindowHost &host, QWidget *parent)
    : QWidget(parent), state_(state), dialogs_(dialogs), sound_(sound), host_(host),
      reply_(host.currentReply()), device_(sound.createMediaDevice()),
      input_(sound.createSoundInput()), meter_(std::make_unique<SoundMeter>(*input_)),
      scopeSamples_(SoundMeter::CopyAreaLength, char(0))
{
    ui.setupUi(this);
    const QList<QPair<QPushButton *, void (FrmEnregMessage::*)()>> clicks = {
        {ui.CmdRecord, &FrmEnregMessage::CmdRecordClick},
        {ui.CmdPauseRec, &FrmEnregMessage::CmdPauseRecClick},
        {ui.cmdResumeRec, &FrmEnregMessage::cmdResumeRecClick},
        {ui.cmdStopRecord, &FrmEnregMessage::cmdStopRecordClick},
        {ui.CmdPlay, &FrmEnregMessage::CmdPlayClick},
        {ui.cmdPause, &FrmEnregMessage::cmdPauseClick},
        {ui.cmdResumePlay, &FrmEnregMessage::cmdResumePlayClick},
        {ui.cmdDelWave, &FrmEnregMessage::cmdDelWaveClick},
        {ui.CmdEnreg, &FrmEnregMessage::CmdEnregClick},
        {ui.CmdCancel, &FrmEnregMessage::CmdCancelClick},
        {ui.CmdStartVolume, &FrmEnregMessage::CmdStartVolumeClick},
        {ui.CmdStopVolume, &FrmEnregMessage::CmdStopVolumeClick}};
    for (const auto &[button, handler] : clicks)
        connect(button, &QPushButton::clicked, this, handler);
    connect(ui.TimerTempo, &QTimer::timeout, this, &FrmEnregMessage::TimerTempoTimer);
    connect(ui.Timer1, &QTimer::timeout, this, &FrmEnregMessage::Timer1Timer);
    connect(device_.get(), &MediaDevice::statusUpdate, this,
            &FrmEnregMessage::MMControl1StatusUpdate);
    connect(ui.Slider1, &QSlider::valueChanged, this, &FrmEnregMessage::Slider1Change);
}

FrmEnregMessage::~FrmEnregMessage()
{
    if (packaging_)
        packaging_->wait();
}

QWidget *FrmEnregMessage::container()
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        return frame;
    return this;
}

QString FrmEnregMessage::appFile(const char *name) const
{
    return state_.AppFolder + QLatin1String(name);
}

void FrmEnregMessage::Load()
{
    QWidget *frame = container();
    int areaHeight = frame->height();
    if (frame->parentWidget())
        areaHeight = frame->parentWidget()->height();
    else if (const QScreen *where = screen())
        areaHeight = where->availableGeometry().height();
    frame->move(0, std::max(0, (areaHeight - frame->height()) / 2));
    state_.RecorderOpen = true;

    setWindowTitle(Module1::ReplyNumberOf(reply_.fileName));
}

void FrmEnregMessage::openDeviceOn(const QString &file)
{
    device_->sendCommand(QStringLiteral("Close"));
    device_->setNotify(false);
    device_->setWait(true);
    device_->setShareable(false);
    device_->setTimeFormat(QStringLiteral("milliseconds"));
    device_->setDeviceType(QStringLiteral("WaveAudio"));
    device_->setFileName(file);
    device_->sendCommand(QStringLiteral("Open"));
}

void FrmEnregMessage::CmdRecordClick()
{
    waitForPackaging();
    state_.RecordingActive = true;
    hidePosition_ = false;
    // "temp.vox" goes below: until this take is packaged there is nothing
    // that Save could save.
    setControlsEnabled({ui.CmdPlay, ui.cmdPause, ui.cmdResumePlay, ui.CheckDiagramme, ui.CmdEnreg},
                       false);
    // Media and file errors are ignored from here on.
    device_->sendCommand(QStringLiteral("Close"));
    QFile::remove(appFile("temp.wav"));
    QFile::remove(appFile("temp.vox"));
    if (ui.CheckDiagramme->isChecked())
        CmdStartVolumeClick();
    openDeviceOn(appFile("temp.wav"));
    const int maximum = ui.lbSliderLen->text().toInt() * MaxTakeMs;
    ui.Slider1->setValue(1);
    ui.Slider1->setMaximum(maximum);
    savedCaption_ = windowTitle();
    setWindowTitle(QStringLiteral("0/%1 secondes").arg(maximum / 1000));
    if (!device_->sendCommand(QStringLiteral("Record"))) {
        // Without a sound input the user is told once why nothing records.
        const QString notice = sound_.missingDevicesNotice();
        if (!notice.isEmpty())
            dialogs_.information(this, notice);
    }
    ui.CmdRecord->setEnabled(false);
    setControlsEnabled({ui.CmdPauseRec, ui.cmdStopRecord}, true);
}

void FrmEnregMessage::CmdPauseRecClick()
{
    device_->sendCommand(QStringLiteral("Pause"));
    ui.cmdResumeRec->setEnabled(true);
    ui.CmdPauseRec->setEnabled(false);
    if (ui.CheckDiagramme->isChecked())
        CmdStopVolumeClick();
    ui.CheckDiagramme->setEnabled(true);
}

void FrmEnregMessage::cmdResumeRecClick()
{
    device_->sendCommand(QStringLiteral("Record"));
    if (ui.CheckDiagramme->isChecked())
        CmdStartVolumeClick();
    ui.CmdPauseRec->setEnabled(true);
    ui.cmdResumeRec->setEnabled(false);
    ui.cmdStopRecord->setEnabled(true);
    ui.CheckDiagramme->setEnabled(false);
}

void FrmEnregMessage::cmdStopRecordClick()
{
    // The device is not stopped here: the take goes on for the second the
    // finishing timer waits, so its last word is not cut.
    stopTicks_ = 0;
    setControlsEnabled({ui.CmdPauseRec, ui.cmdResumeRec, ui.cmdStopRecord}, false);
    if (!ui.TimerTempo->isActive())
        ui.TimerTempo->start();
    ui.CheckDiagramme->setEnabled(false);
}

void FrmEnregMessage::TimerTempoTimer()
{
    ++stopTicks_;
    if (stopTicks_ < 1)
        return;
    ui.TimerTempo->stop();
    device_->sendCommand(QStringLiteral("Stop"));
    device_->sendCommand(QStringLiteral("Save"));
    const qint64 lengthMs = device_->length();
    const int act = reply_.act;
    const int scene = reply_.scene;
    const QString baseName = reply_.baseName;
    // The take is in its file: the device and the scope can go before the
    // archive is written.
    device_->sendCommand(QStringLiteral("Close"));
    if (ui.CheckDiagramme->isChecked())
        CmdStopVolumeClick();
    const QString appFolder = state_.AppFolder;
    packaging_.reset(QThread::create([appFolder, baseName, act, scene, lengthMs] {
        PackageTake(appFolder, baseName, act, scene, lengthMs, nullptr);
    }));
    connect(packaging_.get(), &QThread::finished, this, &FrmEnregMessage::finishTake,
            Qt::QueuedConnection);
    packaging_->start();
}

void FrmEnregMessage::waitForPackaging()
{
    finishTake();
}

void FrmEnregMessage::finishTake()
{
    if (!packaging_)
        return;
    packaging_->wait();
    packaging_.reset();
    setControlsEnabled({ui.cmdDelWave, ui.CmdPlay}, true);
    // Save is offered only for a packaged take (none when nothing was recorded).
    ui.CmdEnreg->setEnabled(QFileInfo::exists(appFile("temp.vox")));
    setWindowTitle(savedCaption_);
    ui.Slider1->setValue(1);
}

void FrmEnregMessage::CmdPlayClick()
{
    waitForPackaging();
    if (!QFileInfo::exists(appFile("temp.vox")))
        return;
    // After the end of a playback the finishing second would only package
    // the same take again, and its "Close" would cut this playback short.
    const MediaDevice::Mode mode = device_->mode();
    if (mode != MediaDevice::Mode::Recording && mode != MediaDevice::Mode::Paused)
        ui.TimerTempo->stop();
    setControlsEnabled({ui.CmdRecord, ui.cmdDelWave}, false);
    openDeviceOn(appFile("temp.wav"));
    ui.Slider1->setValue(1);
    ui.Slider1->setMaximum(int(device_->length()));
    ui.cmdPause->setEnabled(true);
    setControlsEnabled({ui.CmdPlay, ui.cmdResumePlay}, false);
    device_->sendCommand(QStringLiteral("Play"));
}

void FrmEnregMessage::cmdPauseClick()
{
    device_->sendCommand(QStringLiteral("Pause"));
    ui.cmdResumePlay->setEnabled(true);
    ui.cmdPause->setEnabled(false);
    setControlsEnabled({ui.CmdPlay, ui.cmdDelWave}, true);
}

void FrmEnregMessage::cmdResumePlayClick()
{
    ui.cmdResumePlay->setEnabled(false);
    ui.cmdPause->setEnabled(true);
    setControlsEnabled({ui.CmdPlay, ui.CmdRecord, ui.cmdDelWave}, false);
    device_->sendCommand(QStringLiteral("Play"));
}

void FrmEnregMessage::MMControl1StatusUpdate()
{
    if (hidePosition_)
        return;
    ui.Slider1->setValue(int(std::min<qint64>(device_->position(), INT_MAX)));
    if (!ui.cmdStopRecord->isEnabled() && ui.Slider1->value() == 1)
        return;
    setWindowTitle(QStringLiteral("%1/%2 seconds")
                       .arg(ui.Slider1->value() / 1000)
                       .arg(ui.Slider1->maximum() / 1000));
}

void FrmEnregMessage::Slider1Change()
{
    ui.Slider1->setSelectionLength(int(device_->position()) - ui.Slider1->selectionStart());
    if (ui.Slider1->value() < ui.Slider1->maximum() - EndMarginMs)
        return;
    // The end of the range: a recording of the longest take stops itself,
    // and the end of a playback finishes the take again.
    cmdStopRecordClick();
    ui.cmdPause->setEnabled(false);
    setControlsEnabled({ui.CmdPlay, ui.cmdDelWave}, true);
    setWindowTitle(savedCaption_);
}

void FrmEnregMessage::cmdDelWaveClick()
{
    waitForPackaging();
    if (dialogs_.askYesNoCancel(this, AudioTexts::DeleteTakeQuestion()) != Dialogs::Answer::Yes)
        return;
    hidePosition_ = true;
    // A finish step still pending would save and package the deleted take
    // (or write over the deletion sound): it is called off.
    ui.TimerTempo->stop();
    if (meter_->MeterRunning())
        CmdStopVolumeClick();
    device_->sendCommand(QStringLiteral("Close"));
    state_.DeleteScratchFiles();
    ui.CmdRecord->setEnabled(true);
    setControlsEnabled({ui.cmdStopRecord, ui.CmdPauseRec, ui.cmdResumeRec, ui.cmdDelWave}, false);
    ui.CheckDiagramme->setEnabled(true);
    // The packaged take is gone: Save stays off until the next one is ready.
    setControlsEnabled({ui.CmdPlay, ui.cmdPause, ui.cmdResumePlay, ui.CmdEnreg}, false);
    openDeviceOn(appFile("del.wav"));
    device_->sendCommand(QStringLiteral("Play"));
    setWindowTitle(savedCaption_);
    ui.Slider1->setValue(1);
    state_.RecordingActive = false;
}

void FrmEnregMessage::CmdEnregClick()
{
    waitForPackaging();
    // A take still being recorded, or none packaged, is never dropped by a
    // silent close: the window stays and says why.
    if (takeBeingRecorded() || !QFileInfo::exists(appFile("temp.vox"))) {
        dialogs_.information(this, AudioTexts::TakeNotSaved(AudioTexts::NoFinishedTake()));
        return;
    }
    device_->sendCommand(QStringLiteral("Close"));
    const QString voxPath = state_.VoxPath(reply_.baseName);
    QDir().mkpath(QFileInfo(voxPath).absolutePath());
    QString error;
    if (!SavePackagedTake(state_.AppFolder, voxPath, &error)) {
        // The take stays in place so that Save can be tried again; the
        // reply's previous recording is untouched.
        dialogs_.information(this, AudioTexts::TakeNotSaved(error));
        return;
    }
    state_.DeleteScratchFiles();
    state_.RecordingActive = false;
    closingByCommand_ = true;
    container()->close();
}

void FrmEnregMessage::CmdCancelClick()
{
    discardTake();
    closingByCommand_ = true;
    container()->close();
}

void FrmEnregMessage::discardTake()
{
    waitForPackaging();
    ui.TimerTempo->stop();
    if (meter_->MeterRunning())
        CmdStopVolumeClick();
    device_->sendCommand(QStringLiteral("Close"));
    state_.DeleteScratchFiles();
    state_.RecordingActive = false;
}

void FrmEnregMessage::CmdStartVolumeClick()
{
    QString error;
    if (meter_->StartMeter(&error))
        ui.Timer1->start();
    else
        dialogs_.information(this, error);
}

void FrmEnregMessage::CmdStopVolumeClick()
{
    ui.Timer1->stop();
    meter_->StopMeter();
    ui.scopeBox->clear();
}

void FrmEnregMessage::Timer1Timer()
{
    if (!meter_->MeterRunning())
        return;
    // No block completed since the last refresh: the drawing stays.
    if (meter_->ReadMeter())
        DrawScope();
}

void FrmEnregMessage::DrawScope()
{
    const QByteArray &copied = meter_->copyArea();
    std::copy_n(copied.constData(), SoundMeter::ScopeLength, scopeSamples_.data());
    ui.scopeBox->plot(scopeSamples_.left(SoundMeter::ScopeLength));
}

bool FrmEnregMessage::takeBeingRecorded() const
{
    // Recording or paused with Stop still offered, or the second after Stop
    // during which the device goes on recording (or holds a paused
    // recording) until the finish step saves it.
    const MediaDevice::Mode mode = device_->mode();
    return ui.cmdStopRecord->isEnabled() ||
           (ui.TimerTempo->isActive() &&
            (mode == MediaDevice::Mode::Recording || mode == MediaDevice::Mode::Paused));
}

void FrmEnregMessage::closeEvent(QCloseEvent *event)
{
    waitForPackaging();
    if (!closingByCommand_) {
        if (takeBeingRecorded()) {
            dialogs_.information(this, AudioTexts::StopRecordingFirst());
            event->ignore();
            return;
        }
        // A take that was not saved cannot be reached once the window is
        // gone: it is discarded as Cancel discards it, so nothing is left
        // holding the play window open.
        if (state_.RecordingActive)
            discardTake();
    }
    ui.TimerTempo->stop();
    CmdStopVolumeClick();
    device_->sendCommand(QStringLiteral("Close"));
    state_.RecorderOpen = false;
    event->accept();
}
