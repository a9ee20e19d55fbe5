#pragma once

// A play window on the virtual sound system, with a scene whose replies can
// be given recordings, for the playback tests. No real time passes: the
// tests move the virtual clock.

#include "gui/play/FrmAvare.h"

#include "FakeDialogs.h"
#include "TestPlay.h"
#include "VoxFiles.h"
#include "WidgetDriver.h"
#include "platform/audio/VirtualMediaDevice.h"
#include "platform/audio/VirtualSoundSystem.h"

#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class PlaybackFixture
{
public:
    static inline const QString Hubert = QStringLiteral("HUBERT");
    static inline const QString Arthur = QStringLiteral("ARTHUR");

    QTemporaryDir dir;
    std::unique_ptr<Module1> state;
    FakeDialogs dialogs;
    VirtualSoundSystem sound;
    std::unique_ptr<FrmAvare> play;

    // A fresh play whose act 1 scene 1 holds `count` replies numbered from
    // `first`, spoken in turn by HUBERT and ARTHUR, and no recording.
    void freshPlay(int first, int count)
    {
        play.reset();
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        state = std::make_unique<Module1>();
        dialogs = FakeDialogs();
        TestPlay testPlay(*state, dir.path(), 1);
        testPlay.writeCharacters(
            {{Hubert, QStringLiteral("a chamberlain")}, {Arthur, QStringLiteral("a duke")}});
        testPlay.writeStore({TestPlay::numberedScene(1, 1, first, count, {Hubert, Arthur})});
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

    // Shows the play window and opens act 1 scene 1 on reply `number`.
    void openScene(int number = -1)
    {
        play = std::make_unique<FrmAvare>(*state, dialogs);
        play->setSoundSystem(&sound);
        play->resize(1000, 650);
        QVERIFY(play->Load());
        play->show();
        QVERIFY(QTest::qWaitForWindowExposed(play.get()));
        auto *tree = Control<QTreeWidget>(play.get(), "TreeView1");
        QTreeWidgetItem *node = TreeNode(tree, QStringLiteral("ACT 1"), QStringLiteral("SCENE 1"));
        QVERIFY(node);
        ClickNode(tree, node);
        if (number >= 0)
            play->ShowReply(number - m_first);
    }

    VirtualMediaDevice &device(const char *name) const
    {
        for (VirtualMediaDevice *d : sound.mediaDevices()) {
            if (d->objectName() == QLatin1String(name))
                return *d;
        }
        qFatal("no media device %s", name);
    }

    void click(const char *name) const { Click(play.get(), name); }
    bool enabled(const char *name) const { return IsEnabled(play.get(), name); }
    QString label(const char *name) const { return LabelText(play.get(), name); }
    QSlider *slider() const { return Control<QSlider>(play.get(), "Slider1"); }
    QColor nameColour() const
    {
        return Control<QLabel>(play.get(), "LbNom")->palette().color(QPalette::WindowText);
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

private:
    int m_first = 1;
};
