#include "gui/play/FrmAvare.h"

#include "FakeDialogs.h"
#include "TestPlay.h"
#include "WidgetDriver.h"

#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <memory>

using namespace tiradex;

namespace {
const QString Hamlet = QStringLiteral("HAMLET");
const QString Horatio = QStringLiteral("HORATIO");
const QString Marcellus = QStringLiteral("MARCELLUS");
const QString Ghost = QStringLiteral("GHOST"); // listed, never speaks

// Records the names of the windows that were shown.
class ShowSpy : public QObject
{
public:
    QStringList shown;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->isWindow())
            shown.append(watched->objectName());
        return false;
    }
};

// Every command that acts on a reply.
const char *const ReplyCommands[] = {"CmdMoins",       "CmdPlus",       "CmdDebut",
                                     "CmdFin",         "CmdRecordShow", "CmdEcouteGlobalScene",
                                     "CmdLecture",     "CmdDelVox",     "CmdPrintScene",
                                     "CmdPrintActe",   "CmdPhoto",      "CmdCommentaire",
                                     "CmdPhotoExiste", "CmdNoteExiste", "CmdRepetition"};
} // namespace

// Which control is enabled when is decided by the control table
// (tst_playcontrols) and the scene by SceneCursor; here: that the window
// shows the tree, the reply and the table's decisions.
class TestFrmAvare : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Module1> m_state;
    FakeDialogs m_dialogs;
    std::unique_ptr<FrmAvare> m_play;

    // A fresh application folder holding the characters file of the test play.
    TestPlay freshPlay()
    {
        m_play.reset();
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        m_state = std::make_unique<Module1>();
        m_dialogs = FakeDialogs();
        TestPlay play(*m_state, m_dir.path());
        play.writeCharacters({{Hamlet, QStringLiteral("Prince of Denmark")},
                              {Horatio, QStringLiteral("friend to Hamlet")},
                              {Marcellus, QStringLiteral("an officer")},
                              {Ghost, QStringLiteral("of Hamlet's father")}});
        return play;
    }

    // The test play, already converted: act 1 with a scene of 41 replies, a
    // scene of 4 (a note and a photo on 43, a recording of 44) and a scene
    // without replies; act 2 with one scene of 3.
    TestPlay standardPlay()
    {
        TestPlay play = freshPlay();
        TestPlay::Scene empty{1, 3, QStringLiteral("SCENE III. Nobody speaks."), {}};
        play.writeStore({TestPlay::numberedScene(1, 1, 1, 41, {Hamlet, Horatio}),
                         TestPlay::numberedScene(1, 2, 42, 4, {Hamlet, Horatio, Marcellus}), empty,
                         TestPlay::numberedScene(2, 1, 46, 3, {Marcellus, Horatio})});
        // No heading record for act 2 scene 1: no heading shown, none left over.
        TestPlay::write(m_state->PlayFolder + "/head.ini",
                        "1,1,\"SCENE 1. Somewhere.\"\r\n1,2,\"SCENE 2. Somewhere.\"\r\n"
                        "1,3,\"SCENE III. Nobody speaks.\"\r\n");
        play.addNote(43, Horatio);
        play.addPhoto(43, Horatio);
        play.addRecording(44, Marcellus);
        return play;
    }

    FrmAvare *openWindow()
    {
        m_play = std::make_unique<FrmAvare>(*m_state, m_dialogs);
        m_play->resize(1000, 650);
        m_play->Load();
        m_play->show();
        if (!QTest::qWaitForWindowExposed(m_play.get()))
            qFatal("the play window was not shown");
        return m_play.get();
    }

    QTreeWidget *tree() const { return Control<QTreeWidget>(m_play.get(), "TreeView1"); }
    QComboBox *numberBox() const { return Control<QComboBox>(m_play.get(), "ComboNumFichier"); }
    QString label(const char *name) const { return LabelText(m_play.get(), name); }
    QString shownText() const
    {
        return Control<QTextEdit>(m_play.get(), "RichTextBox1")->toPlainText();
    }

    // One user action: "scene:1.2", "act:2" (its node), "pick:4" (entry 4
    // of the number list), "type:0007" (and Down, End in the list),
    // "key:Down" or "key:Return" in the tree, or a button ("Plus").
    void act(const QString &action)
    {
        const QString name = action.section(QLatin1Char(':'), 0, 0);
        const QString arg = action.section(QLatin1Char(':'), 1);
        if (name == QLatin1String("scene") || name == QLatin1String("act")) {
            QTreeWidgetItem *node = name == QLatin1String("act")
                                        ? TreeNode(tree(), "ACT " + arg)
                                        : TreeNode(tree(), "ACT " + arg.section('.', 0, 0),
                                                   "SCENE " + arg.section('.', 1));
            QVERIFY(node);
            ClickNode(tree(), node);
        } else if (name == QLatin1String("pick")) {
            PickFromList(numberBox(), arg.toInt());
        } else if (name == QLatin1String("type")) {
            numberBox()->setFocus();
            QTest::keyClicks(numberBox(), arg);
            QTest::keyClick(numberBox(), Qt::Key_Down);
            QTest::keyClick(numberBox(), Qt::Key_End);
        } else if (name == QLatin1String("key")) {
            tree()->setFocus();
            QTest::keyClick(tree(), arg == QLatin1String("Down") ? Qt::Key_Down : Qt::Key_Return);
        } else {
            Click(m_play.get(), qPrintable("Cmd" + name));
        }
    }

    // The reply panel: act, scene, heading, speaker, position, offset,
    // text, the number list's entry and count, the rehearsal list's entry.
    QString view() const
    {
        QStringList parts;
        for (const char *name :
             {"LbNumActe", "LbNumScene", "LbEntete", "LbNom", "LbCompteRepliques", "LbIncrem"})
            parts << label(name);
        const auto *rehearsal = Control<QComboBox>(m_play.get(), "ComboNumFichierRepetition");
        parts << shownText().trimmed() << numberBox()->currentText()
              << QString::number(numberBox()->count()) << rehearsal->currentText();
        return parts.join(QLatin1Char('|'));
    }
    // The enabled reply commands, "Cmd" left out.
    QString enabledCommands() const
    {
        QStringList on;
        for (const char *name : ReplyCommands) {
            if (IsEnabled(m_play.get(), name))
                on << QLatin1String(name).mid(3);
        }
        return on.join(QLatin1Char(' '));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_DATA_HOME", m_dir.path().toLocal8Bit());
    }
    void cleanup() { m_play.reset(); }

    void treeHoldsActsAndScenesFromTreeview()
    {
        standardPlay();
        openWindow();
        QStringList nodes;
        for (int a = 0; a < tree()->topLevelItemCount(); ++a) {
            const QTreeWidgetItem *act = tree()->topLevelItem(a);
            QStringList scenes;
            for (int s = 0; s < act->childCount(); ++s)
                scenes << act->child(s)->text(0) + ' ' +
                              act->child(s)->data(0, FrmAvare::ImageRole).toString();
            nodes << QStringLiteral("%1 %2 %3 (%4)")
                         .arg(act->text(0), act->data(0, FrmAvare::KeyRole).toString(),
                              act->data(0, FrmAvare::ImageRole).toString(), scenes.join(", "));
            QVERIFY(!act->icon(0).isNull());
        }
        QCOMPARE(nodes,
                 (QStringList{"ACT 1 A1 kclose (SCENE 1 kfile, SCENE 2 kfile, SCENE 3 kfile)",
                              "ACT 2 A2 kclose (SCENE 1 kfile)"}));
        QVERIFY(tree()->selectedItems().isEmpty());
        QCOMPARE(enabledCommands(), QString());
        QCOMPARE(view(), QStringLiteral("|||||0|||0|"));
        QVERIFY(m_dialogs.shown.isEmpty());
    }

    void navigationShowsTheReply_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("view");
        const QString first = "ACT 1|SCENE 1|ACT 1 - SCENE 1. Somewhere.|";
        const QString second = "ACT 1|SCENE 2|ACT 1 - SCENE 2. Somewhere.|";
        QTest::newRow("a scene opens on its first reply")
            << "scene:1.2" << second + "HAMLET|1/4|0|Text of reply 42.|0042|4|0042";
        QTest::newRow("no wrap before the first")
            << "scene:1.1 Moins" << first + "HAMLET|1/41|0|Text of reply 1.|0001|41|0001";
        QTest::newRow("last") << "scene:1.1 Fin"
                              << first + "HAMLET|41/41|40|Text of reply 41.|0041|41|0041";
        QTest::newRow("no wrap past the last")
            << "scene:1.1 Fin Plus" << first + "HAMLET|41/41|40|Text of reply 41.|0041|41|0041";
        QTest::newRow("back from the last")
            << "scene:1.1 Fin Moins" << first + "HORATIO|40/41|39|Text of reply 40.|0040|41|0040";
        QTest::newRow("first") << "scene:1.1 Fin Debut"
                               << first + "HAMLET|1/41|0|Text of reply 1.|0001|41|0001";
        QTest::newRow("next") << "scene:1.1 Plus"
                              << first + "HORATIO|2/41|1|Text of reply 2.|0002|41|0002";
        QTest::newRow("a pick leaves the rehearsal list alone")
            << "scene:1.1 Plus pick:4" << first + "HAMLET|5/41|4|Text of reply 5.|0005|41|0002";
        QTest::newRow("the next move brings both lists into step")
            << "scene:1.1 Plus pick:4 Plus"
            << first + "HORATIO|6/41|5|Text of reply 6.|0006|41|0006";
        QTest::newRow("typed digits do nothing")
            << "scene:1.1 type:0007" << first + "HAMLET|1/41|0|Text of reply 1.|0001|41|0001";
        QTest::newRow("keyboard in the tree opens the next scene")
            << "scene:1.1 key:Down" << second + "HAMLET|1/4|0|Text of reply 42.|0042|4|0042";
        QTest::newRow("return opens the scene again from its start")
            << "scene:1.2 Plus key:Return" << second + "HAMLET|1/4|0|Text of reply 42.|0042|4|0042";
        QTest::newRow("an act node clears the view") << "scene:1.2 Plus act:2"
                                                     << "|||||0|||0|";
        QTest::newRow("a scene opens again after an act node")
            << "scene:1.2 act:2 scene:2.1"
            << "ACT 2|SCENE 1||MARCELLUS|1/3|0|Text of reply "
               "46.|0046|3|0046";
        QTest::newRow("a scene without replies opens empty")
            << "scene:1.1 Fin scene:1.3"
            << "ACT 1|SCENE 3|ACT 1 - SCENE III. Nobody speaks.||0/0|0|||0|";
    }
    void navigationShowsTheReply()
    {
        QFETCH(QString, actions);
        QFETCH(QString, view);
        standardPlay();
        openWindow();
        for (const QString &action : actions.split(QLatin1Char(' ')))
            act(action);
        QCOMPARE(this->view(), view);
        QVERIFY(m_dialogs.shown.isEmpty());
    }

    void buttonsApplyTheControlTable_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("enabled");
        const QString reply = "Moins Plus Debut Fin RecordShow EcouteGlobalScene ";
        const QString tools = "PrintScene PrintActe Photo Commentaire ";
        QTest::newRow("reply without files") << "scene:1.2" << reply + tools + "Repetition";
        QTest::newRow("reply with a note and a photo")
            << "scene:1.2 Plus" << reply + tools + "PhotoExiste NoteExiste Repetition";
        QTest::newRow("reply with a recording")
            << "scene:1.2 Plus Plus"
            << "Moins Plus Debut Fin RecordShow EcouteGlobalScene Lecture DelVox " + tools +
                   "Repetition";
        QTest::newRow("an act node") << "scene:1.2 Plus Plus act:2"
                                     << "";
        QTest::newRow("a scene without replies") << "scene:1.3"
                                                 << "PrintScene PrintActe";
    }
    void buttonsApplyTheControlTable()
    {
        QFETCH(QString, actions);
        QFETCH(QString, enabled);
        standardPlay();
        openWindow();
        for (const QString &action : actions.split(QLatin1Char(' ')))
            act(action);
        QCOMPARE(enabledCommands(), enabled);
        QCOMPARE(m_play->currentReply().isValid(),
                 !enabled.startsWith("Print") && !enabled.isEmpty());
    }

    // What a scene player calls on an empty scene does nothing.
    void callsOnAnEmptySceneDoNothing()
    {
        standardPlay();
        openWindow();
        act("scene:1.3");
        m_play->CmdPlusClick();
        m_play->CmdFinClick();
        m_play->ShowReply(0);
        QCOMPARE(label("LbCompteRepliques"), QStringLiteral("0/0"));
        QVERIFY(!m_play->currentReply().isValid());
    }

    void currentReplyNamesTheShownOne()
    {
        standardPlay();
        openWindow();
        act("scene:1.2");
        const CurrentReply reply = m_play->currentReply();
        QCOMPARE(QStringLiteral("%1 %2 %3.%4")
                     .arg(reply.baseName, reply.number)
                     .arg(reply.act)
                     .arg(reply.scene),
                 QStringLiteral("_0042_HAMLET 0042 1.2"));
        QCOMPARE(
            TreeNode(tree(), "ACT 1", "SCENE 2")->data(0, FrmAvare::SelectedImageRole).toString(),
            QStringLiteral("kopen"));
    }

    void vanishedReplyFileShowsEmptyText()
    {
        standardPlay();
        openWindow();
        act("scene:1.2");
        QVERIFY(QFile::remove(m_state->ReplyTextPath(1, 2, QStringLiteral("_0043_HORATIO"))));
        act("Plus");
        QCOMPARE(label("LbNom") + label("LbCompteRepliques") + shownText(), "HORATIO2/4");
        act("Plus");
        QCOMPARE(shownText(), QStringLiteral("Text of reply 44.\n"));
        QVERIFY(m_dialogs.shown.isEmpty());
    }

    void brokenPlayGivesOneMessageAndEmptyTree()
    {
        TestPlay play = freshPlay();
        play.writeStore({TestPlay::numberedScene(1, 1, 1, 2, {Hamlet})});
        QVERIFY(QFile::remove(m_state->PlayFolder + "/treeview.ini"));
        openWindow();
        QCOMPARE(m_dialogs.shown.size(), 1);
        QVERIFY2(m_dialogs.texts().at(0).contains("treeview.ini"),
                 qPrintable(m_dialogs.texts().at(0)));
        QCOMPARE(tree()->topLevelItemCount(), 0);
        QCOMPARE(enabledCommands(), QString());
        QVERIFY(m_play->close()); // the window stays usable
    }

    void firstOpeningConvertsWithProgressWindow()
    {
        TestPlay play = freshPlay();
        play.writePlayText("PREFACE\r\nACT I.\r\nSCENE I. Elsinore.\r\nhamlet\r\nWho's there?\r\n"
                           "HORATIO\r\nFriends.\r\nACT II.\r\nSCENE I. A plain.\r\n"
                           "GHOST\r\nRemember me.\r\n");
        QFile dat(m_state->AppFolder + m_state->CharactersFileName());
        QVERIFY(dat.open(QIODevice::ReadOnly));
        const QByteArray enciphered = dat.readAll();
        dat.close();
        ShowSpy spy;
        qApp->installEventFilter(&spy);
        openWindow();
        qApp->removeEventFilter(&spy);
        QVERIFY2(spy.shown.contains(QStringLiteral("FrmProg")), qPrintable(spy.shown.join(',')));
        QVERIFY(!qApp->findChild<QWidget *>(QStringLiteral("FrmProg")));
        QCOMPARE(tree()->topLevelItemCount(), 2);
        act("scene:1.1");
        QCOMPARE(label("LbNom") + ' ' + shownText(), QStringLiteral("HAMLET Who's there?\n"));
        QVERIFY(dat.open(QIODevice::ReadOnly));
        QCOMPARE(dat.readAll(), enciphered);
        QCOMPARE(m_play->characters().names, (QStringList{Hamlet, Horatio, Marcellus, Ghost}));
    }

    void closeEndsThePlayUnlessARecordingRuns_data()
    {
        QTest::addColumn<bool>("recording");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("left"); // the filter, the tool window, the files
        QTest::newRow("recording: refused, everything kept")
            << true << QStringList{"Stop at first the current recording."}
            << "HAMLET shown _0042_HAMLET.tsd a.tsd merchantvenice.dat temp.vox temp.wav";
        QTest::newRow("closed: filter, tool windows and scratch files gone")
            << false << QStringList() << "merchantvenice.dat";
    }
    void closeEndsThePlayUnlessARecordingRuns()
    {
        QFETCH(bool, recording);
        QFETCH(QStringList, messages);
        QFETCH(QString, left);
        standardPlay();
        openWindow();
        for (const char *name : {"temp.wav", "temp.vox", "_0042_HAMLET.tsd", "a.tsd"})
            TestPlay::write(m_state->AppFolder + name, "x");
        m_state->FilterCharacter = Hamlet;
        m_state->RecordingActive = recording;
        QWidget recorder;
        recorder.show();
        m_play->adoptToolWindow(&recorder);
        QSignalSpy closing(m_play.get(), &FrmAvare::closing);
        QCOMPARE(m_play->close(), !recording);
        QCOMPARE(closing.count(), recording ? 0 : 1);
        QCOMPARE(m_dialogs.texts(), messages);
        QStringList still{m_state->FilterCharacter, recorder.isVisible() ? "shown" : ""};
        still << QDir(m_state->AppFolder).entryList(QDir::Files);
        still.removeAll(QString());
        QCOMPARE(still.join(' '), left);
    }

    void hiddenCheckButtonReportsSuspectLines()
    {
        TestPlay play = standardPlay();
        play.writePlayText("ACT I.\r\nSCENE I. Elsinore.\r\nHORATIO, aside\r\nWell.\r\n");
        openWindow();
        QPushButton *check = Control<QPushButton>(m_play.get(), "Command2");
        QVERIFY(!check->isVisible());
        check->click();
        QCOMPARE(shownText(), QStringLiteral("ACT 01\nSCENE 01\nHORATIO, aside\n\n"));
    }

    void placedAtTopCentredThreeQuarters()
    {
        QCOMPARE(FrmAvare::PlaceInFrame(QSize(1200, 800)), QRect(150, 0, 900, 600));
        QCOMPARE(FrmAvare::PlaceInFrame(QSize(1366, 700)), QRect(171, 0, 1024, 525));
    }
};

QTEST_MAIN(TestFrmAvare)
#include "tst_frmavare.moc"
