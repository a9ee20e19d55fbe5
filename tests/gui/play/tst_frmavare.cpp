#include "PlayWindowFixture.h"

#include <QSignalSpy>
#include <QTextEdit>

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
    PlayWindowFixture f;

    // The test play, already converted: act 1 with a scene of 41 replies, a
    // scene of 4 (a note and a photo on 43, a recording of 44) and a scene
    // without replies; act 2 with one scene of 3, without a heading record.
    void openPlay()
    {
        TestPlay play = f.setUp({Hamlet, Horatio, Marcellus, Ghost},
                                {TestPlay::numberedScene(1, 1, 1, 41, {Hamlet, Horatio}),
                                 TestPlay::numberedScene(1, 2, 42, 4, {Hamlet, Horatio, Marcellus}),
                                 {1, 3, QStringLiteral("SCENE III. Nobody speaks."), {}},
                                 TestPlay::numberedScene(2, 1, 46, 3, {Marcellus, Horatio})});
        TestPlay::write(f.state->PlayFolder + "/head.ini",
                        "1,1,\"SCENE 1. Somewhere.\"\r\n1,2,\"SCENE 2. Somewhere.\"\r\n"
                        "1,3,\"SCENE III. Nobody speaks.\"\r\n");
        play.addNote(43, Horatio);
        play.addPhoto(43, Horatio);
        play.addRecording(44, Marcellus);
        f.openWindow();
    }

    QTreeWidget *tree() const { return f.control<QTreeWidget>("TreeView1"); }
    QComboBox *numberBox() const { return f.control<QComboBox>("ComboNumFichier"); }
    QString shownText() const { return f.control<QTextEdit>("RichTextBox1")->toPlainText(); }

    // One user action: "scene:1.2", "act:2" (its node), "pick:4" (entry 4
    // of the number list), "type:0007" (and Down, End in the list),
    // "key:Down" or "key:Return" in the tree, "calls" (what a scene player
    // calls: next, last, show the first), "rm:43" (reply 43's text file
    // removed), or a button ("Plus").
    void act(const QString &action)
    {
        const QString name = action.section(QLatin1Char(':'), 0, 0);
        const QString arg = action.section(QLatin1Char(':'), 1);
        if (name == QLatin1String("scene")) {
            f.openScene(arg.section('.', 0, 0).toInt(), arg.section('.', 1).toInt());
        } else if (name == QLatin1String("act")) {
            ClickNode(tree(), TreeNode(tree(), "ACT " + arg));
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
        } else if (name == QLatin1String("calls")) {
            f.play->CmdPlusClick();
            f.play->CmdFinClick();
            f.play->ShowReply(0);
        } else if (name == QLatin1String("rm")) {
            QVERIFY(QFile::remove(f.state->ReplyTextPath(1, 2, "_0043_HORATIO")));
        } else {
            f.click(qPrintable("Cmd" + name));
        }
    }

    // The reply panel: act, scene, heading, speaker, position, offset,
    // text, the number list's entry and count, the rehearsal list's entry.
    QString view() const
    {
        QStringList parts;
        for (const char *name :
             {"LbNumActe", "LbNumScene", "LbEntete", "LbNom", "LbCompteRepliques", "LbIncrem"})
            parts << f.label(name);
        parts << shownText().trimmed() << numberBox()->currentText()
              << QString::number(numberBox()->count())
              << f.control<QComboBox>("ComboNumFichierRepetition")->currentText();
        return parts.join(QLatin1Char('|'));
    }
    // The reply the window names to tool windows, and its enabled reply
    // commands ("Cmd" left out).
    QString commands() const
    {
        QStringList on{f.play->currentReply().baseName + ':'};
        for (const char *name : ReplyCommands) {
            if (f.enabled(name))
                on << QLatin1String(name).mid(3);
        }
        return on.join(QLatin1Char(' '));
    }

private Q_SLOTS:
    void cleanup() { f.play.reset(); }

    void treeHoldsActsAndScenesFromTreeview()
    {
        openPlay();
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
        QCOMPARE(commands() + view(), QStringLiteral(":|||||0|||0|"));
    }

    void navigationShowsTheReply_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("view");
        const QString first = "ACT 1|SCENE 1|ACT 1 - SCENE 1. Somewhere.|";
        const QString second = "ACT 1|SCENE 2|ACT 1 - SCENE 2. Somewhere.|";
        const QString firstOfOne = first + "HAMLET|1/41|0|Text of reply 1.|0001|41|0001";
        const QString firstOfTwo = second + "HAMLET|1/4|0|Text of reply 42.|0042|4|0042";
        auto row = [](const char *name, const char *actions, const QString &view) {
            QTest::newRow(name) << QString::fromLatin1(actions) << view;
        };
        row("no wrap before the first", "scene:1.1 Moins", firstOfOne);
        row("no wrap past the last", "scene:1.1 Fin Plus",
            first + "HAMLET|41/41|40|Text of reply 41.|0041|41|0041");
        row("back from the last", "scene:1.1 Fin Moins",
            first + "HORATIO|40/41|39|Text of reply 40.|0040|41|0040");
        row("first", "scene:1.1 Fin Debut", firstOfOne);
        row("a pick leaves the rehearsal list alone", "scene:1.1 Plus pick:4",
            first + "HAMLET|5/41|4|Text of reply 5.|0005|41|0002");
        row("the next move brings both lists into step", "scene:1.1 Plus pick:4 Plus",
            first + "HORATIO|6/41|5|Text of reply 6.|0006|41|0006");
        row("typed digits do nothing", "scene:1.1 type:0007", firstOfOne);
        row("keyboard in the tree opens the next scene", "scene:1.1 key:Down", firstOfTwo);
        row("return opens the scene again from its start", "scene:1.2 Plus key:Return", firstOfTwo);
        row("a vanished reply file shows no text", "scene:1.2 rm Plus",
            second + "HORATIO|2/4|1||0043|4|0043");
        row("an act node clears the view", "scene:1.2 Plus act:2", "|||||0|||0|");
        row("no heading record, no heading left over", "scene:1.2 act:2 scene:2.1",
            "ACT 2|SCENE 1||MARCELLUS|1/3|0|Text of reply 46.|0046|3|0046");
        row("a scene without replies opens empty and stays so", "scene:1.1 Fin scene:1.3 calls",
            "ACT 1|SCENE 3|ACT 1 - SCENE III. Nobody speaks.||0/0|0|||0|");
    }
    void navigationShowsTheReply()
    {
        QFETCH(QString, actions);
        QFETCH(QString, view);
        openPlay();
        for (const QString &action : actions.split(QLatin1Char(' ')))
            act(action);
        QCOMPARE(this->view(), view);
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void buttonsApplyTheControlTable_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("commands");
        const QString moves = "Moins Plus Debut Fin RecordShow EcouteGlobalScene ";
        const QString tools = "PrintScene PrintActe Photo Commentaire ";
        QTest::newRow("reply with a note and a photo")
            << "scene:1.2 Plus"
            << "_0043_HORATIO: " + moves + tools + "PhotoExiste NoteExiste Repetition";
        QTest::newRow("reply with a recording")
            << "scene:1.2 Plus Plus"
            << "_0044_MARCELLUS: " + moves + "Lecture DelVox " + tools + "Repetition";
        QTest::newRow("an act node") << "scene:1.2 Plus Plus act:2"
                                     << ":";
    }
    void buttonsApplyTheControlTable()
    {
        QFETCH(QString, actions);
        QFETCH(QString, commands);
        openPlay();
        for (const QString &action : actions.split(QLatin1Char(' ')))
            act(action);
        QCOMPARE(this->commands(), commands);
    }

    void brokenPlayGivesOneMessageAndEmptyTree()
    {
        f.setUp({Hamlet}, {TestPlay::numberedScene(1, 1, 1, 2, {Hamlet})});
        QVERIFY(QFile::remove(f.state->PlayFolder + "/treeview.ini"));
        f.openWindow();
        QVERIFY2(f.dialogs.texts().size() == 1 && f.dialogs.texts()[0].contains("treeview.ini"),
                 qPrintable(f.dialogs.texts().join('|')));
        QCOMPARE(commands() + QString::number(tree()->topLevelItemCount()), QStringLiteral(":0"));
        QVERIFY(f.play->close()); // the window stays usable
    }

    void firstOpeningConvertsWithProgressWindow()
    {
        TestPlay play = f.setUp({Hamlet, Horatio, Marcellus, Ghost}, {});
        QVERIFY(QDir(f.state->PlayFolder).removeRecursively());
        play.writePlayText("PREFACE\r\nACT I.\r\nSCENE I. Elsinore.\r\nhamlet\r\nWho's there?\r\n"
                           "HORATIO\r\nFriends.\r\nACT II.\r\nSCENE I. A plain.\r\n"
                           "GHOST\r\nRemember me.\r\n");
        const auto readDat = [this] {
            QFile dat(f.state->AppFolder + f.state->CharactersFileName());
            return dat.open(QIODevice::ReadOnly) ? dat.readAll() : QByteArray();
        };
        const QByteArray enciphered = readDat();
        ShowSpy spy;
        qApp->installEventFilter(&spy);
        f.openWindow();
        qApp->removeEventFilter(&spy);
        QVERIFY2(spy.shown.contains(QStringLiteral("FrmProg")), qPrintable(spy.shown.join(',')));
        QVERIFY(!qApp->findChild<QWidget *>(QStringLiteral("FrmProg")));
        QCOMPARE(tree()->topLevelItemCount(), 2);
        act("scene:1.1");
        QCOMPARE(f.label("LbNom") + ' ' + shownText(), QStringLiteral("HAMLET Who's there?\n"));
        QCOMPARE(readDat(), enciphered);
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
        openPlay();
        for (const char *name : {"temp.wav", "temp.vox", "_0042_HAMLET.tsd", "a.tsd"})
            TestPlay::write(f.state->AppFolder + name, "x");
        f.state->FilterCharacter = Hamlet;
        f.state->RecordingActive = recording;
        QWidget recorder;
        recorder.show();
        f.play->adoptToolWindow(&recorder);
        QSignalSpy closing(f.play.get(), &FrmAvare::closing);
        QCOMPARE(f.play->close(), !recording);
        QCOMPARE(closing.count(), recording ? 0 : 1);
        QCOMPARE(f.dialogs.texts(), messages);
        QStringList still{f.state->FilterCharacter, recorder.isVisible() ? "shown" : ""};
        still << QDir(f.state->AppFolder).entryList(QDir::Files);
        still.removeAll(QString());
        QCOMPARE(still.join(' '), left);
    }

    void placedAtTopCentredThreeQuarters()
    {
        QCOMPARE(FrmAvare::PlaceInFrame(QSize(1366, 700)), QRect(171, 0, 1024, 525));
    }
};

QTEST_MAIN(TestFrmAvare)
#include "tst_frmavare.moc"
