#include "gui/rehearsal/RehearsalVoices.h"

#include "core/app/Module1.h"
#include "core/audio/SoundFileWriter.h"
#include "core/play/SceneCursor.h"
#include "core/rehearsal/PracticeTrack.h"
#include "core/speech/SpeechCache.h"
#include "core/speech/SpeechPreparer.h"
#include "core/speech/SpeechSynthesizer.h"
#include "core/speech/SpeechTexts.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>

namespace tiradex {

namespace {
// How many partner replies are prepared ahead of the current one.
constexpr int PrepareAhead = 6;
} // namespace

RehearsalVoices::RehearsalVoices(QWidget *panel, Module1 &state, Dialogs &dialogs,
                                 SpeechSynthesizer *synthesizer)
    : m_state(state), m_dialogs(dialogs), m_synthesizer(synthesizer)
{
    ChkVoix = new QCheckBox(SpeechTexts::VoicesForMissingReplies(), panel);
    ChkVoix->setObjectName(QStringLiteral("ChkVoix"));
    ChkVoix->setToolTip(synthesizer ? QStringLiteral("Partner replies without a recording are "
                                                     "spoken by a synthetic voice")
                                    : QStringLiteral("No speech synthesis on this machine"));
    ChkVoix->setEnabled(synthesizer != nullptr);
    SpinFacteurPause = new QDoubleSpinBox(panel);
    SpinFacteurPause->setObjectName(QStringLiteral("SpinFacteurPause"));
    SpinFacteurPause->setRange(GapTuning::MinFactorPercent / 100.0,
                               GapTuning::MaxFactorPercent / 100.0);
    SpinFacteurPause->setSingleStep(0.1);
    SpinFacteurPause->setDecimals(1);
    SpinFacteurPause->setPrefix(QStringLiteral("× "));
    SpinFacteurPause->setToolTip(QStringLiteral("Every gap of Non Stop times this factor"));
    SpinPausePlus = new QSpinBox(panel);
    SpinPausePlus->setObjectName(QStringLiteral("SpinPausePlus"));
    SpinPausePlus->setRange(GapTuning::MinExtraSeconds, GapTuning::MaxExtraSeconds);
    SpinPausePlus->setPrefix(QStringLiteral("+ "));
    SpinPausePlus->setSuffix(QStringLiteral(" s"));
    SpinPausePlus->setToolTip(QStringLiteral("Seconds added to every gap of Non Stop"));
    auto *label = new QLabel(QStringLiteral("Gap:"), panel);
    CmdPiste = new QPushButton(QStringLiteral("Practice track..."), panel);
    CmdPiste->setObjectName(QStringLiteral("CmdPiste"));
    CmdPiste->setToolTip(QStringLiteral("Write the scene from this reply as a sound file"));
    ChkActeEntier = new QCheckBox(QStringLiteral("Whole act"), panel);
    ChkActeEntier->setObjectName(QStringLiteral("ChkActeEntier"));
    ChkActeEntier->setToolTip(QStringLiteral("The practice track holds every scene of the act"));
    ComboFormatPiste = new QComboBox(panel);
    ComboFormatPiste->setObjectName(QStringLiteral("ComboFormatPiste"));
    ComboFormatPiste->addItems(SoundFileWriter::WritableExtensions());
    ComboFormatPiste->setCurrentText(QStringLiteral("ogg"));

    auto *row = new QHBoxLayout;
    row->addWidget(ChkVoix);
    row->addStretch(1);
    row->addWidget(label);
    row->addWidget(SpinFacteurPause);
    row->addWidget(SpinPausePlus);
    row->addWidget(CmdPiste);
    row->addWidget(ChkActeEntier);
    row->addWidget(ComboFormatPiste);
    if (auto *grid = qobject_cast<QGridLayout *>(panel->layout()))
        grid->addLayout(row, grid->rowCount(), 0, 1, grid->columnCount());
    applyToControls();

    connect(ChkVoix, &QCheckBox::toggled, this, [this](bool on) {
        m_settings.voicesForMissing = on;
        save();
    });
    connect(SpinFacteurPause, &QDoubleSpinBox::valueChanged, this, [this](double factor) {
        m_settings.tuning.factorPercent = int(factor * 100.0 + 0.5);
        save();
    });
    connect(SpinPausePlus, &QSpinBox::valueChanged, this, [this](int extra) {
        m_settings.tuning.extraSeconds = extra;
        save();
    });
}

RehearsalVoices::~RehearsalVoices() = default;

void RehearsalVoices::loadSettings()
{
    if (m_settingsFolder != m_state.PlayFolder) {
        m_preparer.reset();
        m_cache.reset();
    }
    m_settingsFolder = m_state.PlayFolder;
    QString error;
    std::optional<PlaySettings> settings =
        LoadPlaySettings(PlaySettingsPath(m_state.PlayFolder), &error);
    // An unreadable file leaves the defaults: the rehearsal works as without it.
    m_settings = settings.value_or(PlaySettings());
    applyToControls();
}

void RehearsalVoices::applyToControls()
{
    m_applying = true;
    ChkVoix->setChecked(m_settings.voicesForMissing && m_synthesizer);
    SpinFacteurPause->setValue(m_settings.tuning.factorPercent / 100.0);
    SpinPausePlus->setValue(m_settings.tuning.extraSeconds);
    m_applying = false;
}

void RehearsalVoices::save()
{
    if (m_applying || m_settingsFolder.isEmpty())
        return;
    // Another window may have changed the voices since they were read.
    const std::optional<PlaySettings> onDisk =
        LoadPlaySettings(PlaySettingsPath(m_settingsFolder), nullptr);
    if (onDisk)
        m_settings.voices = onDisk->voices;
    QString error;
    if (!SavePlaySettings(PlaySettingsPath(m_settingsFolder), m_settings, &error))
        m_dialogs.information(ChkVoix->window(), SpeechTexts::SettingsNotSaved(error));
}

bool RehearsalVoices::active() const
{
    return m_synthesizer && m_settings.voicesForMissing;
}

bool RehearsalVoices::ensureCache()
{
    if (!m_synthesizer)
        return false;
    if (!m_cache) {
        m_cache = std::make_unique<SpeechCache>(SpeechCache::FolderFor(m_state.PlayFolder),
                                                *m_synthesizer);
        m_preparer = std::make_unique<SpeechPreparer>(*m_cache);
    }
    return true;
}

void RehearsalVoices::enter(const SceneCursor &scene)
{
    if (!active())
        return;
    m_pace = MeasureActorPace(m_state, m_state.FilterCharacter);
    prepareAhead(scene);
}

void RehearsalVoices::prepareAhead(const SceneCursor &scene)
{
    if (!active() || !ensureCache())
        return;
    std::vector<std::pair<QString, QString>> requests;
    for (int k = scene.index(); k < scene.count() && int(requests.size()) < PrepareAhead; ++k) {
        const QString character = scene.character(k);
        if (character == m_state.FilterCharacter || scene.hasRecording(m_state, k))
            continue;
        requests.emplace_back(scene.replyText(m_state, k),
                              m_settings.voiceFor(character, m_synthesizer->voices()));
    }
    m_preparer->prepare(requests);
}

int RehearsalVoices::estimatedSeconds(const SceneCursor &scene, int k) const
{
    return m_pace.secondsFor(QFileInfo(scene.replyTextPath(m_state, k)).size());
}

bool RehearsalVoices::unpackSpeech(const SceneCursor &scene, int k, QString *error)
{
    m_state.DeleteScratchFiles();
    if (!active() || !ensureCache()) {
        if (error)
            *error = QStringLiteral("No speech synthesis");
        return false;
    }
    const QString character = scene.character(k);
    if (character == m_state.FilterCharacter) {
        if (error)
            *error = QStringLiteral("The actor's own replies are never spoken");
        return false;
    }
    // Waits for the worker when it is synthesizing this very reply.
    const std::optional<QString> path =
        m_cache->prepare(scene.replyText(m_state, k),
                         m_settings.voiceFor(character, m_synthesizer->voices()), error);
    if (!path)
        return false;
    // A scratch file, cleared above: a plain copy, no flush to the disk,
    // which would hold up the next reply.
    if (!QFile::copy(*path, m_state.AppFolder + QStringLiteral("temp.wav"))) {
        if (error)
            *error = QStringLiteral("Cannot copy the speech %1").arg(*path);
        return false;
    }
    return true;
}

void RehearsalVoices::exportPracticeTrack(const SceneCursor &scene)
{
    QWidget *owner = CmdPiste->window();
    if (scene.isEmpty() || m_state.FilterCharacter.isEmpty())
        return;
    const QString folder =
        m_dialogs.BrowseForFolder(QStringLiteral("Folder of the practice track"), owner);
    if (folder.isEmpty())
        return;
    PracticeRequest request;
    request.wholeAct = ChkActeEntier->isChecked();
    const QString part = request.wholeAct ? QString()
                                          : QStringLiteral(" scene %1 from %2")
                                                .arg(scene.scene())
                                                .arg(scene.replyNumber(scene.index()));
    const QString path = QDir(folder).filePath(
        QStringLiteral("%1 act %2%3 %4.%5")
            .arg(m_state.PlayCode)
            .arg(scene.act())
            .arg(part, m_state.FilterCharacter, ComboFormatPiste->currentText()));
    request.act = scene.act();
    request.scene = scene.scene();
    request.character = m_state.FilterCharacter;
    request.fromIndex = scene.index();
    request.voices = active() && ensureCache();
    request.tuning = m_settings.tuning;
    if (request.voices)
        m_pace = MeasureActorPace(m_state, m_state.FilterCharacter);
    QString error;
    const std::optional<std::vector<PracticeStep>> steps =
        PlanPracticeTrack(m_state, request, m_cache.get(), m_settings,
                          m_synthesizer ? m_synthesizer->voices() : QStringList(), m_pace, &error);
    if (!steps) {
        m_dialogs.information(owner,
                              QStringLiteral("The practice track cannot be made.\r\n") + error);
        return;
    }
    // A modal progress dialog: its Cancel button works while every other
    // window is closed to input, so nothing re-enters the export.
    QProgressDialog progress(QStringLiteral("Writing the practice track..."),
                             QStringLiteral("Cancel"), 0, int(steps->size()), owner);
    progress.setObjectName(QStringLiteral("ProgressPiste"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    const TrackResult result = WritePracticeTrack(
        path, *steps,
        [&progress](int done, int) {
            progress.setValue(done);
            return !progress.wasCanceled();
        },
        &error);
    progress.reset();
    switch (result) {
    case TrackResult::Done:
        m_dialogs.information(owner, QStringLiteral("The practice track was written:\r\n") + path);
        break;
    case TrackResult::Cancelled:
        break;
    case TrackResult::Failed:
        m_dialogs.information(owner,
                              QStringLiteral("The practice track cannot be made.\r\n") + error);
        break;
    }
}

} // namespace tiradex
