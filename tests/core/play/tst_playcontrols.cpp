#include "core/play/PlayControls.h"

#include <QTest>

using namespace tiradex;

Q_DECLARE_METATYPE(PlayWindowState)

namespace {
using Scene = PlayWindowState::Scene;

// The controls that are on (enabled, or shown, or red), by name, so that a
// failing row says which control is wrong.
QStringList on(const PlayControlStates &c)
{
    const bool values[] = {
        c.mainToolBar, c.filter,          c.rehearse,    c.note,       c.photo,        c.printScene,
        c.printAct,    c.sceneTools,      c.tree,        c.navigation, c.replyNumbers, c.record,
        c.listen,      c.deleteRecording, c.listenScene, c.stopReply,  c.stopScene,    c.noteExists,
        c.photoExists, c.rehearsalShown,  c.nameRed};
    const QStringList all =
        QStringLiteral("mainToolBar filter rehearse note photo printScene printAct sceneTools tree "
                       "navigation replyNumbers record listen deleteRecording listenScene "
                       "stopReply stopScene noteExists photoExists rehearsalShown nameRed")
            .split(' ');
    QStringList names;
    for (qsizetype k = 0; k < all.size(); ++k) {
        if (values[k])
            names.append(all[k]);
    }
    return names;
}

// A reply of HUBERT shown, with all its files and a recorded scene.
PlayWindowState replyOfHubert()
{
    PlayWindowState s;
    s.scene = Scene::Reply;
    s.files = {true, true, true};
    s.sceneRecorded = true;
    s.character = QStringLiteral("HUBERT");
    return s;
}
} // namespace

class TestPlayControls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void controlsFollowState_data()
    {
        QTest::addColumn<PlayWindowState>("state");
        QTest::addColumn<QString>("expected");
        auto row = [](const char *name, const PlayWindowState &state, const QString &expected) {
            QTest::newRow(name) << state << expected;
        };
        const QString always = "mainToolBar filter sceneTools replyNumbers ";
        const QString reply = always + "rehearse note photo printScene printAct tree navigation ";
        const QString files = "listen deleteRecording listenScene noteExists photoExists ";

        row("no scene offers nothing that needs a reply", {}, always + "tree");
        PlayWindowState empty;
        empty.scene = Scene::Empty;
        row("empty scene offers only its texts", empty, always + "printScene printAct tree");

        PlayWindowState s = replyOfHubert();
        row("reply with files offers them all", s, reply + "record " + files);
        s.files = {};
        s.sceneRecorded = false;
        row("reply without files offers no file button", s, reply + "record");
        s = replyOfHubert();
        s.files = {false, true, false};
        row("note alone offers only the note", s, reply + "record listenScene noteExists");
        s.files = {false, false, true};
        row("photo alone offers only the photo", s, reply + "record listenScene photoExists");

        s = replyOfHubert();
        s.filterCharacter = QStringLiteral("HUBERT");
        row("filtered character's reply recordable and red", s,
            reply + "record " + files + "nameRed");
        s.filterCharacter = QStringLiteral("hubert");
        row("filter compares case", s, reply + files);
        PlayWindowState noReply;
        noReply.filterCharacter = QStringLiteral("HUBERT");
        noReply.character = QStringLiteral("HUBERT");
        row("no reply shown is never red nor recordable", noReply, always + "tree");

        s = replyOfHubert();
        s.playback = PlayWindowState::Playback::Reply;
        row("reply playback locks navigation tool bar and file buttons", s,
            "filter sceneTools rehearse note photo printScene printAct stopReply");
        s.playback = PlayWindowState::Playback::Scene;
        row("scene listening offers its own stop only", s,
            "filter sceneTools rehearse note photo printScene printAct stopScene");
        s = replyOfHubert();
        s.navigationLocked = true;
        row("recorder locks all but the record button and the tool bar frame", s,
            "mainToolBar record");
        s = replyOfHubert();
        s.rehearsal = true;
        row("rehearsal swaps panels and locks the tree", s,
            always + "rehearse note photo printScene printAct navigation record " + files +
                "rehearsalShown");
    }
    void controlsFollowState()
    {
        QFETCH(PlayWindowState, state);
        QFETCH(QString, expected);
        QStringList want = expected.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        want.sort();
        QStringList got = on(DecidePlayControls(state));
        got.sort();
        QCOMPARE(got, want);
    }
};

QTEST_GUILESS_MAIN(TestPlayControls)
#include "tst_playcontrols.moc"
