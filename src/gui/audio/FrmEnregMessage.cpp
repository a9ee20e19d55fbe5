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
#include "platform/audio/WavePlayback.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace tiradex {

FrmEnregMessage::FrmEnregMessage(Module1 &state, Dialogs &dialogs, SoundSystem &sound,
                                 PlayWindowHost &host, QWidget *parent)
    : QWidget(parent), m_state(state), m_dialogs(dialogs), m_sound(sound), m_host(host),
      m_reply(host.currentReply()), m_device(sound.createMediaDevice()),
      m_input(sound.createSoundInput()), m_meter(std::make_unique<SoundMeter>(*m_input)),
      m_scopeSamples(SoundMeter::CopyAreaLength, char(0))
{
    m_ui.setupUi(this);
    const QList<QPair<QPushButton *, void (FrmEnregMessage::*)()>> clicks = {
        {m_ui.CmdRecord, &FrmEnregMessage::CmdRecordClick},
        {m_ui.CmdPauseRec, &FrmEnregMessage::CmdPauseRecClick},
        {m_ui.cmdResumeRec, &FrmEnregMessage::cmdResumeRecClick},
        {m_ui.cmdStopRecord, &FrmEnregMessage::cmdStopRecordClick},
        {m_ui.CmdPlay, &FrmEnregMessage::CmdPlayClick},
        {m_ui.cmdPause, &FrmEnregMessage::cmdPauseClick},
        {m_ui.cmdResumePlay, &FrmEnregMessage::cmdResumePlayClick},
        {m_ui.cmdDelWave, &FrmEnregMessage::cmdDelWaveClick},
        {m_ui.CmdEnreg, &FrmEnregMessage::CmdEnregClick},
        {m_ui.CmdCancel, &FrmEnregMessage::CmdCancelClick},
        {m_ui.CmdStartVolume, &FrmEnregMessage::CmdStartVolumeClick},
        {m_ui.CmdStopVolume, &FrmEnregMessage::CmdStopVolumeClick}};
    for (const auto &[button, handler] : clicks)
        connect(button, &QPushButton::clicked, this, handler);
    connect(m_ui.TimerTempo, &QTimer::timeout, this, &FrmEnregMessage::TimerTempoTimer);
    connect(m_ui.Timer1, &QTimer::timeout, this, &FrmEnregMessage::Timer1Timer);
    connect(m_device.get(), &MediaDevice::statusUpdate, this,
            &FrmEnregMessage::MMControl1StatusUpdate);
    connect(m_ui.Slider1, &QSlider::valueChanged, this, &FrmEnregMessage::Slider1Change);
    applyState();
}

FrmEnregMessage::~FrmEnregMessage()
{
    if (m_packaging)
        m_packaging->wait();
}

QWidget *FrmEnregMessage::container()
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        return frame;
    return this;
}

QString FrmEnregMessage::appFile(const char *name) const
{
    return m_state.AppFolder + QLatin1String(name);
}

void FrmEnregMessage::applyState()
{
    const RecorderControls c = m_engine.controls();
    const std::pair<QWidget *, bool> enabled[] = {{m_ui.CmdRecord, c.record},
                                                  {m_ui.CmdPauseRec, c.pauseRecording},
                                                  {m_ui.cmdResumeRec, c.resumeRecording},
                                                  {m_ui.cmdStopRecord, c.stopRecording},
                                                  {m_ui.CmdPlay, c.play},
                                                  {m_ui.cmdPause, c.pausePlayback},
                                                  {m_ui.cmdResumePlay, c.resumePlayback},
                                                  {m_ui.cmdDelWave, c.deleteTake},
                                                  {m_ui.CmdEnreg, c.save},
                                                  {m_ui.CheckDiagramme, c.scopeBox}};
    for (const auto &[control, on] : enabled)
        control->setEnabled(on);
    // A running finishing second is not started again: it keeps its end.
    if (!c.finishTimer)
        m_ui.TimerTempo->stop();
    else if (!m_ui.TimerTempo->isActive())
        m_ui.TimerTempo->start();
    m_state.RecordingActive = m_engine.takeStarted();
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
    m_state.RecorderOpen = true;

    setWindowTitle(Module1::ReplyNumberOf(m_reply.fileName));
}

void FrmEnregMessage::CmdRecordClick()
{
    waitForPackaging();
    if (!m_engine.record())
        return;
    applyState();
    // Media and file errors are ignored from here on.
    m_device->sendCommand(QStringLiteral("Close"));
    QFile::remove(appFile("temp.wav"));
    QFile::remove(appFile("temp.vox"));
    if (m_ui.CheckDiagramme->isChecked())
        CmdStartVolumeClick();
    OpenWaveFile(*m_device, appFile("temp.wav"));
    const int maximum = m_ui.lbSliderLen->text().toInt() * MaxTakeMs;
    m_ui.Slider1->setValue(1);
    m_ui.Slider1->setMaximum(maximum);
    m_savedCaption = windowTitle();
    setWindowTitle(QStringLiteral("0/%1 secondes").arg(maximum / 1000));
    if (!m_device->sendCommand(QStringLiteral("Record"))) {
        // Without a sound input the user is told once why nothing records.
        const QString notice = m_sound.missingDevicesNotice();
        if (!notice.isEmpty())
            m_dialogs.information(this, notice);
    }
}

void FrmEnregMessage::CmdPauseRecClick()
{
    if (!m_engine.pauseRecording())
        return;
    m_device->sendCommand(QStringLiteral("Pause"));
    if (m_ui.CheckDiagramme->isChecked())
        CmdStopVolumeClick();
    applyState();
}

void FrmEnregMessage::cmdResumeRecClick()
{
    if (!m_engine.resumeRecording())
        return;
    m_device->sendCommand(QStringLiteral("Record"));
    if (m_ui.CheckDiagramme->isChecked())
        CmdStartVolumeClick();
    applyState();
}

void FrmEnregMessage::cmdStopRecordClick()
{
    // The device is not stopped here: the take goes on for the second the
    // finishing timer waits, so its last word is not cut.
    if (m_engine.stop())
        applyState();
}

void FrmEnregMessage::TimerTempoTimer()
{
    if (!m_engine.finishTick())
        return;
    applyState();
    m_device->sendCommand(QStringLiteral("Stop"));
    m_device->sendCommand(QStringLiteral("Save"));
    const qint64 lengthMs = m_device->length();
    const int act = m_reply.act;
    const int scene = m_reply.scene;
    const QString baseName = m_reply.baseName;
    // The take is in its file: the device and the scope can go before the
    // archive is written.
    m_device->sendCommand(QStringLiteral("Close"));
    if (m_ui.CheckDiagramme->isChecked())
        CmdStopVolumeClick();
    const QString appFolder = m_state.AppFolder;
    m_packaging.reset(QThread::create([appFolder, baseName, act, scene, lengthMs] {
        PackageTake(appFolder, baseName, act, scene, lengthMs, nullptr);
    }));
    connect(m_packaging.get(), &QThread::finished, this, &FrmEnregMessage::finishTake,
            Qt::QueuedConnection);
    m_packaging->start();
}

void FrmEnregMessage::waitForPackaging()
{
    finishTake();
}

void FrmEnregMessage::finishTake()
{
    if (!m_packaging)
        return;
    m_packaging->wait();
    m_packaging.reset();
    // Save is offered only for a packaged take (none when nothing was recorded).
    m_engine.packaged(QFileInfo::exists(appFile("temp.vox")));
    applyState();
    setWindowTitle(m_savedCaption);
    m_ui.Slider1->setValue(1);
}

void FrmEnregMessage::CmdPlayClick()
{
    waitForPackaging();
    // With no packaged take nothing happens. After the end of a playback
    // the finishing second is called off: it would only package the same
    // take again, and its "Close" would cut this playback short.
    if (!m_engine.play())
        return;
    applyState();
    OpenWaveFile(*m_device, appFile("temp.wav"));
    m_ui.Slider1->setValue(1);
    m_ui.Slider1->setMaximum(int(m_device->length()));
    m_device->sendCommand(QStringLiteral("Play"));
}

void FrmEnregMessage::cmdPauseClick()
{
    if (!m_engine.pausePlayback())
        return;
    m_device->sendCommand(QStringLiteral("Pause"));
    applyState();
}

void FrmEnregMessage::cmdResumePlayClick()
{
    if (!m_engine.resumePlayback())
        return;
    applyState();
    m_device->sendCommand(QStringLiteral("Play"));
}

void FrmEnregMessage::MMControl1StatusUpdate()
{
    if (m_engine.hidePosition())
        return;
    m_ui.Slider1->setValue(int(std::min<qint64>(m_device->position(), INT_MAX)));
    if (!m_engine.controls().stopRecording && m_ui.Slider1->value() == 1)
        return;
    setWindowTitle(QStringLiteral("%1/%2 seconds")
                       .arg(m_ui.Slider1->value() / 1000)
                       .arg(m_ui.Slider1->maximum() / 1000));
}

void FrmEnregMessage::Slider1Change()
{
    m_ui.Slider1->setSelectionLength(int(m_device->position()) - m_ui.Slider1->selectionStart());
    if (m_ui.Slider1->value() < m_ui.Slider1->maximum() - EndMarginMs)
        return;
    // The end of the range: a recording of the longest take stops itself,
    // and the end of a playback finishes the take again.
    if (!m_engine.endOfRange())
        return;
    applyState();
    setWindowTitle(m_savedCaption);
}

void FrmEnregMessage::cmdDelWaveClick()
{
    waitForPackaging();
    if (!m_engine.controls().deleteTake)
        return;
    if (m_dialogs.askYesNoCancel(this, AudioTexts::DeleteTakeQuestion()) != Dialogs::Answer::Yes)
        return;
    // A finish step still pending would save and package the deleted take
    // (or write over the deletion sound): the engine calls it off.
    m_engine.deleteTake();
    applyState();
    if (m_meter->MeterRunning())
        CmdStopVolumeClick();
    m_device->sendCommand(QStringLiteral("Close"));
    m_state.DeleteScratchFiles();
    OpenWaveFile(*m_device, appFile("del.wav"));
    m_device->sendCommand(QStringLiteral("Play"));
    setWindowTitle(m_savedCaption);
    m_ui.Slider1->setValue(1);
}

void FrmEnregMessage::CmdEnregClick()
{
    waitForPackaging();
    // A take still being recorded, or none packaged, is never dropped by a
    // silent close: the window stays and says why.
    if (!m_engine.saveRequested()) {
        m_dialogs.information(this, AudioTexts::TakeNotSaved(AudioTexts::NoFinishedTake()));
        return;
    }
    m_device->sendCommand(QStringLiteral("Close"));
    const QString voxPath = m_state.VoxPath(m_reply.baseName);
    QDir().mkpath(QFileInfo(voxPath).absolutePath());
    QString error;
    if (!SavePackagedTake(m_state.AppFolder, voxPath, &error)) {
        // The take stays in place so that Save can be tried again; the
        // reply's previous recording is untouched.
        m_dialogs.information(this, AudioTexts::TakeNotSaved(error));
        return;
    }
    m_state.DeleteScratchFiles();
    m_engine.saved();
    applyState();
    m_closingByCommand = true;
    container()->close();
}

void FrmEnregMessage::CmdCancelClick()
{
    discardTake();
    m_engine.cancel();
    applyState();
    m_closingByCommand = true;
    container()->close();
}

void FrmEnregMessage::discardTake()
{
    waitForPackaging();
    m_ui.TimerTempo->stop();
    if (m_meter->MeterRunning())
        CmdStopVolumeClick();
    m_device->sendCommand(QStringLiteral("Close"));
    m_state.DeleteScratchFiles();
}

void FrmEnregMessage::CmdStartVolumeClick()
{
    QString error;
    if (m_meter->StartMeter(&error))
        m_ui.Timer1->start();
    else
        m_dialogs.information(this, error);
}

void FrmEnregMessage::CmdStopVolumeClick()
{
    m_ui.Timer1->stop();
    m_meter->StopMeter();
    m_ui.scopeBox->clear();
}

void FrmEnregMessage::Timer1Timer()
{
    if (!m_meter->MeterRunning())
        return;
    // No block completed since the last refresh: the drawing stays.
    if (m_meter->ReadMeter())
        DrawScope();
}

void FrmEnregMessage::DrawScope()
{
    const QByteArray &copied = m_meter->copyArea();
    std::copy_n(copied.constData(), SoundMeter::ScopeLength, m_scopeSamples.data());
    m_ui.scopeBox->plot(m_scopeSamples.left(SoundMeter::ScopeLength));
}

void FrmEnregMessage::closeEvent(QCloseEvent *event)
{
    waitForPackaging();
    if (!m_closingByCommand) {
        switch (m_engine.closeRequested()) {
        case RecorderEngine::CloseAnswer::Refuse:
            m_dialogs.information(this, AudioTexts::StopRecordingFirst());
            event->ignore();
            return;
        case RecorderEngine::CloseAnswer::Discard:
            // A take that was not saved cannot be reached once the window
            // is gone: it is discarded as Cancel discards it, so nothing is
            // left holding the play window open.
            discardTake();
            break;
        case RecorderEngine::CloseAnswer::Close:
            break;
        }
        applyState();
    }
    m_ui.TimerTempo->stop();
    CmdStopVolumeClick();
    m_device->sendCommand(QStringLiteral("Close"));
    m_state.RecorderOpen = false;
    event->accept();
}

} // namespace tiradex
