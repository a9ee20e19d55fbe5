#pragma once

// A play window on a test play in a temporary application folder, on the
// virtual sound system. No real time passes: the tests move the virtual clock.

#include "gui/play/FrmAvare.h"
#include "platform/PlatformServices.h"

#include "FakeDialogs.h"
#include "TestPlay.h"
#include "VirtualMediaDevice.h"
#include "VirtualSoundSystem.h"
#include "VoxFiles.h"
#include "WidgetDriver.h"

#include <QDir>
#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace tiradex {

class PlayWindowFixture
{
public:
    static inline const QString Hubert = QStringLiteral("HUBERT");
    static inline const QString Arthur = QStringLiteral("ARTHUR");

    PlayWindowFixture()
    {
        if (!m_dir.isValid())
            qFatal("no temporary folder");
        qputenv("XDG_DATA_HOME", m_dir.path().toLocal8Bit());
    }

    // A fresh application folder with the characters file `characters`
    // and the scene store `scenes`, for play `playIndex` of the catalogue.
    TestPlay setUp(const QStringList &characters, const QList<TestPlay::Scene> &scenes,
                   int playIndex = 0)
    {
        play.reset();
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        state = std::make_unique<Module1>();
        dialogs = FakeDialogs();
        TestPlay testPlay(*state, m_dir.path(), playIndex);
        QList<QPair<QString, QString>> list;
        for (const QString &name : characters)
            list.append({name, QStringLiteral("a part")});
        testPlay.writeCharacters(list);
        testPlay.writeStore(scenes);
        return testPlay;
    }

    // A fresh play whose act 1 scene 1 holds `count` replies numbered from
    // `first`, spoken in turn by HUBERT and ARTHUR, and no recording.
    void freshPlay(int first, int count)
    {
        setUp({Hubert, Arthur}, {TestPlay::numberedScene(1, 1, first, count, {Hubert, Arthur})}, 1);
        m_first = first;
    }
    QString baseName(int number) const { return Module1::ReplyBaseName(number, speaker(number)); }
    QString speaker(int number) const { return (number - m_first) % 2 == 0 ? Hubert : Arthur; }
    void record(int number, const QByteArray &wav) const
    {
        QVERIFY(WriteVox(*state, baseName(number), wav));
    }
    void putBytesAsVox(int number, const QByteArray &bytes) const
    {
        TestPlay::write(state->VoxPath(baseName(number)), bytes);
    }

    // Opens the play window on the play set up, shown and loaded.
    FrmAvare *openWindow()
    {
        play = std::make_unique<FrmAvare>(*state, dialogs);
        PlatformServices services = play->services();
        services.sound = &sound;
        services.speech = speech;
        play->setServices(services);
        play->resize(1000, 650);
        if (!play->Load())
            qWarning("the play did not load: %s", qPrintable(dialogs.texts().join(u'|')));
        play->show();
        if (!QTest::qWaitForWindowExposed(play.get()))
            qFatal("the play window was not shown");
        return play.get();
    }

    // Opens scene `scene` of act `act` by a click in the tree.
    void openScene(int act, int scene) const
    {
        auto *tree = Control<QTreeWidget>(play.get(), "TreeView1");
        QTreeWidgetItem *node = TreeNode(tree, QStringLiteral("ACT %1").arg(act),
                                         QStringLiteral("SCENE %1").arg(scene));
        if (!node)
            qFatal("no such scene node");
        ClickNode(tree, node);
    }
    // The window on act 1 scene 1 of the fresh play, on reply `number`.
    void openScene(int number = -1)
    {
        openWindow();
        openScene(1, 1);
        if (number >= 0)
            play->ShowReply(number - m_first);
    }

    QString folder() const { return m_dir.path(); }
    // The play window's control named `name`.
    template <class T = QWidget> T *control(const char *name) const
    {
        return Control<T>(play.get(), name);
    }
    void click(const char *name) const { Click(play.get(), name); }
    QString label(const char *name) const { return LabelText(play.get(), name); }
    bool enabled(const char *name) const { return IsEnabled(play.get(), name); }
    // Enabled as soon as the play window is enabled again.
    bool enabledInPlayWindow(const char *name) const
    {
        return Control<QWidget>(play.get(), name)->isEnabledTo(play.get());
    }
    QSlider *slider() const { return Control<QSlider>(play.get(), "Slider1"); }
    QColor nameColour() const
    {
        return Control<QLabel>(play.get(), "LbNom")->palette().color(QPalette::WindowText);
    }

    VirtualMediaDevice &device(const char *name) const
    {
        for (VirtualMediaDevice *d : sound.mediaDevices()) {
            if (d->objectName() == QLatin1String(name))
                return *d;
        }
        qFatal("no media device %s", name);
    }
    void advance(qint64 ms) { sound.clock().advance(ms); }

    // How the reply panel differs from Idle ("" when it is Idle).
    QString idleDifferences(const char *device) const
    {
        QStringList differences;
        if (this->device(device).isOpen())
            differences << QStringLiteral("device open");
        if (slider()->value() != 1)
            differences << QStringLiteral("slider at %1").arg(slider()->value());
        if (!label("LbEgrene").isEmpty())
            differences << QStringLiteral("label \"%1\"").arg(label("LbEgrene"));
        if (state->PlaybackActive)
            differences << QStringLiteral("PlaybackActive");
        for (const char *stop : {"CmdStopLecture", "CmdStopEcouteScene"}) {
            if (enabled(stop))
                differences << QLatin1String(stop);
        }
        for (const char *free : {"TreeView1", "CmdDebut", "CmdFin", "CmdMoins", "CmdPlus",
                                 "ComboNumFichier", "Picture2"}) {
            if (!enabled(free))
                differences << QStringLiteral("%1 locked").arg(QLatin1String(free));
        }
        return differences.join(QStringLiteral(", "));
    }

    // The controls that a playback locks and that are enabled now.
    QStringList unlockedDuringPlayback() const
    {
        QStringList open;
        for (const char *name :
             {"Picture2", "TreeView1", "CmdDebut", "CmdFin", "CmdMoins", "CmdPlus", "CmdLecture",
              "CmdRecordShow", "ComboNumFichier", "CmdEcouteGlobalScene", "CmdDelVox",
              "CmdNoteExiste", "CmdPhotoExiste"}) {
            if (enabled(name))
                open << QLatin1String(name);
        }
        return open;
    }

    std::unique_ptr<Module1> state;
    FakeDialogs dialogs;
    VirtualSoundSystem sound;
    SpeechSynthesizer *speech = nullptr; // none: no voices for missing replies
    std::unique_ptr<FrmAvare> play;

private:
    QTemporaryDir m_dir;
    int m_first = 1;
};

} // namespace tiradex
