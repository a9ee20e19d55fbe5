#pragma once

// A play window on a test play in a temporary application folder, for the
// widget tests of the rehearsal windows.

#include "gui/play/FrmAvare.h"

#include "FakeDialogs.h"
#include "TestPlay.h"
#include "WidgetDriver.h"
#include "platform/audio/VirtualMediaDevice.h"
#include "platform/audio/VirtualSoundSystem.h"

#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class PlayWindowFixture
{
public:
    PlayWindowFixture()
    {
        if (!m_dir.isValid())
            qFatal("no temporary folder");
        qputenv("XDG_DATA_HOME", m_dir.path().toLocal8Bit());
    }

    // A fresh application folder with the characters file `characters`
    // and the scene store `scenes`.
    TestPlay setUp(const QStringList &characters, const QList<TestPlay::Scene> &scenes)
    {
        play.reset();
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        state = std::make_unique<Module1>();
        dialogs = FakeDialogs();
        TestPlay testPlay(*state, m_dir.path());
        QList<QPair<QString, QString>> list;
        for (const QString &name : characters)
            list.append({name, QStringLiteral("a part")});
        testPlay.writeCharacters(list);
        testPlay.writeStore(scenes);
        return testPlay;
    }

    // Opens the play window on the play set up, shown and loaded.
    FrmAvare *openWindow()
    {
        play = std::make_unique<FrmAvare>(*state, dialogs);
        play->setSoundSystem(&sound);
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

    QString label(const char *name) const { return LabelText(play.get(), name); }
    bool enabled(const char *name) const { return IsEnabled(play.get(), name); }
    // Enabled as soon as the play window is enabled again.
    bool enabledInPlayWindow(const char *name) const
    {
        return Control<QWidget>(play.get(), name)->isEnabledTo(play.get());
    }
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

    std::unique_ptr<Module1> state;
    FakeDialogs dialogs;
    VirtualSoundSystem sound;
    std::unique_ptr<FrmAvare> play;

private:
    QTemporaryDir m_dir;
};
