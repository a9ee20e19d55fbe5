#include "gui/rehearsal/FrmFiltre.h"

#include "gui/app/PlayWindowHost.h"

#include "core/app/Module1.h"
#include "core/play/CharactersFile.h"
#include "core/speech/PlaySettings.h"
#include "core/speech/SpeechSynthesizer.h"
#include "core/speech/SpeechTexts.h"
#include "platform/Dialogs.h"
#include "platform/PlatformServices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace tiradex {

FrmFiltre::FrmFiltre(Module1 &state, const PlatformServices &services, PlayWindowHost &play,
                     QWidget *parent)
    : QWidget(parent), m_state(state), m_services(services), m_play(play)
{
    setObjectName(QStringLiteral("FrmFiltre"));
    setWindowTitle(QStringLiteral("Filter"));

    Label1 = new QLabel(QStringLiteral("Filtred character :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    LbFiltre = new QLabel(this);
    LbFiltre->setObjectName(QStringLiteral("LbFiltre"));
    QFont nameFont = LbFiltre->font();
    nameFont.setBold(true);
    LbFiltre->setFont(nameFont);
    LstFiltre = new QListWidget(this);
    LstFiltre->setObjectName(QStringLiteral("LstFiltre"));
    CmdDelFiltre = new QPushButton(QStringLiteral("Suppress the filter"), this);
    CmdDelFiltre->setObjectName(QStringLiteral("CmdDelFiltre"));
    CmdDelFiltre->setAutoDefault(false);
    CmdDelFiltre->setEnabled(false);

    auto *column = new QVBoxLayout(this);
    column->addWidget(Label1);
    column->addWidget(LbFiltre);
    column->addWidget(LstFiltre, 1);
    column->addWidget(CmdDelFiltre);
    ChkVoixFiltre = new QCheckBox(SpeechTexts::VoicesForMissingReplies(), this);
    ChkVoixFiltre->setObjectName(QStringLiteral("ChkVoixFiltre"));
    ComboVoix = new QComboBox(this);
    ComboVoix->setObjectName(QStringLiteral("ComboVoix"));
    ComboVoix->setToolTip(QStringLiteral("The synthetic voice of the selected character"));
    column->addWidget(ChkVoixFiltre);
    column->addWidget(ComboVoix);
    const SpeechSynthesizer *speech = m_services.speech;
    ChkVoixFiltre->setVisible(speech != nullptr);
    ComboVoix->setVisible(speech != nullptr);
    if (speech)
        ComboVoix->addItems(speech->voices());
    connect(ChkVoixFiltre, &QCheckBox::toggled, this, [this](bool on) {
        changeSettings([on](PlaySettings &s) { s.voicesForMissing = on; });
    });
    connect(ComboVoix, &QComboBox::activated, this, [this](int) {
        const QListWidgetItem *item = LstFiltre->currentItem();
        if (!item)
            return;
        const QString character = item->text();
        const QString voice = ComboVoix->currentText();
        changeSettings([&](PlaySettings &s) { s.voices.insert(character, voice); });
    });
    connect(LstFiltre, &QListWidget::currentRowChanged, this, [this] { showVoice(); });

    connect(LstFiltre, &QListWidget::itemDoubleClicked, this, &FrmFiltre::LstFiltreDblClick);
    // Return chooses the line with the keyboard as a double click does.
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *choose = new QShortcut(QKeySequence(key), LstFiltre);
        choose->setContext(Qt::WidgetShortcut);
        connect(choose, &QShortcut::activated, this,
                [this] { LstFiltreDblClick(LstFiltre->currentItem()); });
    }
    connect(CmdDelFiltre, &QPushButton::clicked, this, &FrmFiltre::CmdDelFiltreClick);
    Form_Load();
}

QSize FrmFiltre::SizeInFrame(const QSize &frame)
{
    return QSize(qMax(260, frame.width() / 4), qMax(300, frame.height() / 2));
}

void FrmFiltre::Form_Load()
{
    LbFiltre->setText(m_state.FilterCharacter);
    LstFiltre->addItems(m_play.characters().names);
    if (LstFiltre->count() > 0)
        LstFiltre->setCurrentRow(0);
    CmdDelFiltre->setEnabled(!m_state.FilterCharacter.isEmpty());
    if (ChkVoixFiltre->isVisibleTo(this)) {
        const std::optional<PlaySettings> settings =
            LoadPlaySettings(PlaySettingsPath(m_state.PlayFolder), nullptr);
        const QSignalBlocker quiet(ChkVoixFiltre);
        ChkVoixFiltre->setChecked(settings && settings->voicesForMissing);
        showVoice();
    }
}

void FrmFiltre::showVoice()
{
    const QListWidgetItem *item = LstFiltre->currentItem();
    const SpeechSynthesizer *speech = m_services.speech;
    ComboVoix->setEnabled(item && speech);
    if (!item || !speech)
        return;
    const PlaySettings settings =
        LoadPlaySettings(PlaySettingsPath(m_state.PlayFolder), nullptr).value_or(PlaySettings());
    ComboVoix->setCurrentText(settings.voiceFor(item->text(), speech->voices()));
}

template <typename Change> void FrmFiltre::changeSettings(Change change)
{
    const QString path = PlaySettingsPath(m_state.PlayFolder);
    QString error;
    std::optional<PlaySettings> settings = LoadPlaySettings(path, &error);
    if (settings) {
        change(*settings);
        if (SavePlaySettings(path, *settings, &error))
            return;
    }
    if (m_services.dialogs)
        m_services.dialogs->information(this, SpeechTexts::SettingsNotSaved(error));
}

void FrmFiltre::LstFiltreDblClick(QListWidgetItem *item)
{
    if (!item)
        return;
    m_state.FilterCharacter = item->text();
    LbFiltre->setText(m_state.FilterCharacter);
    CmdDelFiltre->setEnabled(true);
    m_play.filterChanged();
}

void FrmFiltre::CmdDelFiltreClick()
{
    LbFiltre->clear();
    m_state.FilterCharacter.clear();
    m_play.filterChanged();
    // The list takes the focus the button gives up as it is disabled.
    LstFiltre->setFocus();
    CmdDelFiltre->setEnabled(false);
}

} // namespace tiradex
