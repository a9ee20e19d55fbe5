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
#include <QTimer>
#include <QToolButton>

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
    // scene of 4 and a scene without replies; act 2 with one scene of 3.
    TestPlay standardPlay()
    {
        TestPlay play = freshPlay();
        TestPlay::Scene empty{1, 3, QStringLiteral("SCENE III. Nobody speaks."), {}};
        play.writeStore({TestPlay::numberedScene(1, 1, 1, 41, {Hamlet, Horatio}),
                         TestPlay::numberedScene(1, 2, 42, 4, {Hamlet, Horatio, Marcellus}), empty,
                         TestPlay::numberedScene(2, 1, 46, 3, {Marcellus, Horatio})});
        return play;
    }

    FrmAvare *openWindow(bool expectLoaded = true)
    {
        m_play = std::make_unique<FrmAvare>(*m_state, m_dialogs);
        m_play->resize(1000, 650);
        const bool loaded = m_play->Load();
        m_play->show();
        if (!QTest::qWaitForWindowExposed(m_play.get()))
            qFatal("the play window was not shown");
        if (loaded != expectLoaded)
            qWarning("unexpected load result; messages: %s",
                     qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
        return m_play.get();
    }

    QTreeWidget *tree() const { return Control<QTreeWidget>(m_play.get(), "TreeView1"); }

    void openScene(const char *act, const char *scene)
    {
        QTreeWidgetItem *node = TreeNode(tree(), QLatin1String(act), QLatin1String(scene));
        QVERIFY(node);
        ClickNode(tree(), node);
    }

    QString position() const { return LabelText(m_play.get(), "LbCompteRepliques"); }
    QString shownText() const
    {
        return Control<QTextEdit>(m_play.get(), "RichTextBox1")->toPlainText();
    }
    QComboBox *numberBox() const { return Control<QComboBox>(m_play.get(), "ComboNumFichier"); }
    QComboBox *rehearsalBox() const
    {
        return Control<QComboBox>(m_play.get(), "ComboNumFichierRepetition");
    }
    QColor nameColour() const
    {
        return Control<QLabel>(m_play.get(), "LbNom")->palette().color(QPalette::WindowText);
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
        QCOMPARE(tree()->topLevelItemCount(), 2);
        QTreeWidgetItem *act1 = tree()->topLevelItem(0);
        QCOMPARE(act1->text(0), QStringLiteral("ACT 1"));
        QCOMPARE(act1->data(0, FrmAvare::KeyRole).toString(), QStringLiteral("A1"));
        QCOMPARE(act1->data(0, FrmAvare::ImageRole).toString(), QStringLiteral("kclose"));
        QCOMPARE(act1->childCount(), 3);
        QCOMPARE(act1->child(2)->text(0), QStringLiteral("SCENE 3"));
        QCOMPARE(act1->child(0)->data(0, FrmAvare::ImageRole).toString(), QStringLiteral("kfile"));
        QVERIFY(!act1->icon(0).isNull());
        QCOMPARE(tree()->topLevelItem(1)->data(0, FrmAvare::KeyRole).toString(),
                 QStringLiteral("A2"));
        // Nothing is open yet.
        QVERIFY(tree()->selectedItems().isEmpty());
        for (const char *name : ReplyCommands)
            QVERIFY2(!IsEnabled(m_play.get(), name), name);
        QVERIFY(shownText().isEmpty());
        QVERIFY(m_dialogs.shown.isEmpty());
    }

    void openingSceneShowsFirstReplyAndHeading()
    {
        standardPlay();
        openWindow();
        openScene("ACT 1", "SCENE 2");
        QCOMPARE(LabelText(m_play.get(), "LbNumActe"), QStringLiteral("ACT 1"));
        QCOMPARE(LabelText(m_play.get(), "LbNumScene"), QStringLiteral("SCENE 2"));
        QCOMPARE(LabelText(m_play.get(), "LbEntete"),
                 QStringLiteral("ACT 1 - SCENE 2. Somewhere."));
        QCOMPARE(LabelText(m_play.get(), "LbNom"), Hamlet);
        QCOMPARE(position(), QStringLiteral("1/4"));
        QCOMPARE(LabelText(m_play.get(), "LbIncrem"), QStringLiteral("0"));
        QCOMPARE(shownText(), QStringLiteral("Text of reply 42.\n"));
        QCOMPARE(numberBox()->count(), 4);
        QCOMPARE(numberBox()->itemText(3), QStringLiteral("0045"));
        QCOMPARE(numberBox()->currentText(), QStringLiteral("0042"));
        QCOMPARE(rehearsalBox()->currentText(), QStringLiteral("0042"));
        QTreeWidgetItem *node =
            TreeNode(tree(), QStringLiteral("ACT 1"), QStringLiteral("SCENE 2"));
        QCOMPARE(node->data(0, FrmAvare::SelectedImageRole).toString(), QStringLiteral("kopen"));
        QVERIFY(IsEnabled(m_play.get(), "CmdPlus"));
        QVERIFY(!IsEnabled(m_play.get(), "CmdLecture"));
        const CurrentReply reply = m_play->currentReply();
        QCOMPARE(reply.baseName, QStringLiteral("_0042_HAMLET"));
        QCOMPARE(reply.number, QStringLiteral("0042"));
        QCOMPARE(reply.act, 1);
        QCOMPARE(reply.scene, 2);
    }

    void firstLastAndNoWrapIn41ReplyScene()
    {
        standardPlay();
        openWindow();
        openScene("ACT 1", "SCENE 1");
        QCOMPARE(position(), QStringLiteral("1/41"));
        Click(m_play.get(), "CmdMoins"); // at the first reply: nothing
        QCOMPARE(position(), QStringLiteral("1/41"));
        Click(m_play.get(), "CmdFin");
        QCOMPARE(position(), QStringLiteral("41/41"));
        QCOMPARE(shownText(), QStringLiteral("Text of reply 41.\n"));
        QCOMPARE(numberBox()->currentText(), QStringLiteral("0041"));
        QCOMPARE(rehearsalBox()->currentText(), QStringLiteral("0041"));
        QCOMPARE(LabelText(m_play.get(), "LbIncrem"), QStringLiteral("40"));
        Click(m_play.get(), "CmdPlus"); // at the last reply: no wrap
        QCOMPARE(position(), QStringLiteral("41/41"));
        QCOMPARE(LabelText(m_play.get(), "LbIncrem"), QStringLiteral("40"));
        Click(m_play.get(), "CmdMoins");
        QCOMPARE(position(), QStringLiteral("40/41"));
        QCOMPARE(LabelText(m_play.get(), "LbNom"), Horatio);
        Click(m_play.get(), "CmdDebut");
        QCOMPARE(position(), QStringLiteral("1/41"));
        QCOMPARE(shownText(), QStringLiteral("Text of reply 1.\n"));
        Click(m_play.get(), "CmdPlus");
        QCOMPARE(position(), QStringLiteral("2/41"));
        QCOMPARE(LabelText(m_play.get(), "LbNumRepliqueRepetition"), QStringLiteral("2/41"));
    }

    void keyboardInTreeOpensScenes()
    {
        standardPlay();
        openWindow();
        openScene("ACT 1", "SCENE 1");
        tree()->setFocus();
        QTest::keyClick(tree(), Qt::Key_Down);
        QCOMPARE(LabelText(m_play.get(), "LbNumScene"), QStringLiteral("SCENE 2"));
        QCOMPARE(position(), QStringLiteral("1/4"));
        Click(m_play.get(), "CmdPlus");
        QTest::keyClick(tree(), Qt::Key_Return); // opens the same scene again from its start
        QCOMPARE(position(), QStringLiteral("1/4"));
    }

    void comboPickLeavesRehearsalBoxAlone()
    {
        standardPlay();
        openWindow();
        openScene("ACT 1", "SCENE 1");
        Click(m_play.get(), "CmdPlus");
        QCOMPARE(rehearsalBox()->currentText(), QStringLiteral("0002"));
        PickFromList(numberBox(), 4);
        QCOMPARE(position(), QStringLiteral("5/41"));
        QCOMPARE(shownText(), QStringLiteral("Text of reply 5.\n"));
        QCOMPARE(numberBox()->currentText(), QStringLiteral("0005"));
        QCOMPARE(LabelText(m_play.get(), "LbIncrem"), QStringLiteral("4"));
        QCOMPARE(rehearsalBox()->currentText(), QStringLiteral("0002"));
        // The next move brings both boxes into step again.
        Click(m_play.get(), "CmdPlus");
        QCOMPARE(rehearsalBox()->currentText(), QStringLiteral("0006"));
    }

    void typedDigitsDoNothing()
    {
        standardPlay();
        openWindow();
        openScene("ACT 1", "SCENE 1");
        numberBox()->setFocus();
        QTest::keyClicks(numberBox(), QStringLiteral("0007"));
        QTest::keyClick(numberBox(), Qt::Key_Down);
        QTest::keyClick(numberBox(), Qt::Key_End);
        QCOMPARE(numberBox()->currentText(), QStringLiteral("0001"));
        QCOMPARE(position(), QStringLiteral("1/41"));
        QCOMPARE(shownText(), QStringLiteral("Text of reply 1.\n"));
    }

    void recordingNoteAndPhotoEnableTheirButtons()
    {
        TestPlay play = standardPlay();
        play.addRecording(44, Marcellus);
        play.addNote(43, Horatio);
        play.addPhoto(43, Horatio);
        openWindow();
        openScene("ACT 1", "SCENE 2");
        QVERIFY(IsEnabled(m_play.get(), "CmdEcouteGlobalScene"));
        Click(m_play.get(), "CmdPlus");
        QVERIFY(IsEnabled(m_play.get(), "CmdNoteExiste"));
        QVERIFY(IsEnabled(m_play.get(), "CmdPhotoExiste"));
        Click(m_play.get(), "CmdPlus");
        QVERIFY(IsEnabled(m_play.get(), "CmdLecture"));
        QVERIFY(!IsEnabled(m_play.get(), "CmdNoteExiste"));
    }

    void actNodeClearsViewAndDisablesEverything()
    {
        TestPlay play = standardPlay();
        play.addRecording(42, Hamlet);
        play.addNote(42, Hamlet);
        play.addPhoto(42, Hamlet);
        openWindow();
        openScene("ACT 1", "SCENE 2");
        QVERIFY(IsEnabled(m_play.get(), "CmdLecture"));
        ClickNode(tree(), TreeNode(tree(), QStringLiteral("ACT 2")));
        for (const char *name : ReplyCommands)
            QVERIFY2(!IsEnabled(m_play.get(), name), name);
        for (const char *name :
             {"LbNumActe", "LbNumScene", "LbNom", "LbCompteRepliques", "LbEntete"})
            QVERIFY2(LabelText(m_play.get(), name).isEmpty(), name);
        QCOMPARE(LabelText(m_play.get(), "LbIncrem"), QStringLiteral("0"));
        QVERIFY(shownText().isEmpty());
        QCOMPARE(numberBox()->count(), 0);
        QVERIFY(!m_play->currentReply().isValid());
        // A scene opens again normally.
        openScene("ACT 2", "SCENE 1");
        QCOMPARE(position(), QStringLiteral("1/3"));
    }

    void sceneWithoutRepliesOpensEmpty()
    {
        standardPlay();
        openWindow();
        openScene("ACT 1", "SCENE 1");
        Click(m_play.get(), "CmdFin");
        openScene("ACT 1", "SCENE 3");
        QCOMPARE(LabelText(m_play.get(), "LbEntete"),
                 QStringLiteral("ACT 1 - SCENE III. Nobody speaks."));
        QVERIFY(shownText().isEmpty());
        QVERIFY(LabelText(m_play.get(), "LbNom").isEmpty());
        QCOMPARE(position(), QStringLiteral("0/0"));
        QCOMPARE(numberBox()->count(), 0);
        QVERIFY(!IsEnabled(m_play.get(), "CmdPlus"));
        QVERIFY(IsEnabled(m_play.get(), "CmdPrintScene"));
        m_play->CmdPlusClick(); // what a scene player would call: nothing happens
        m_play->CmdFinClick();
        m_play->ShowReply(0);
        QCOMPARE(position(), QStringLiteral("0/0"));
        QVERIFY(!m_play->currentReply().isValid());
    }

    void vanishedReplyFileShowsEmptyText()
    {
        standardPlay();
        openWindow();
        openScene("ACT 1", "SCENE 2");
        QVERIFY(QFile::remove(m_state->ReplyTextPath(1, 2, QStringLiteral("_0043_HORATIO"))));
        Click(m_play.get(), "CmdPlus");
        QCOMPARE(position(), QStringLiteral("2/4"));
        QCOMPARE(LabelText(m_play.get(), "LbNom"), Horatio);
        QVERIFY(shownText().isEmpty());
        Click(m_play.get(), "CmdPlus");
        QCOMPARE(shownText(), QStringLiteral("Text of reply 44.\n"));
        QVERIFY(m_dialogs.shown.isEmpty());
    }

    void sceneWithoutHeadingRecordShowsNoStaleHeading()
    {
        standardPlay();
        TestPlay::write(m_state->PlayFolder + QStringLiteral("/head.ini"),
                        "1,1,\"SCENE I. Elsinore.\"\r\n");
        openWindow();
        openScene("ACT 1", "SCENE 1");
        QCOMPARE(LabelText(m_play.get(), "LbEntete"), QStringLiteral("ACT 1 - SCENE I. Elsinore."));
        openScene("ACT 2", "SCENE 1");
        QVERIFY(LabelText(m_play.get(), "LbEntete").isEmpty());
        QCOMPARE(position(), QStringLiteral("1/3"));
    }

    void brokenPlayGivesOneMessageAndEmptyTree_data()
    {
        QTest::addColumn<QString>("broken");
        QTest::addColumn<QString>("named");
        QTest::newRow("characters file missing") << "dat"
                                                 << "merchantvenice.dat";
        QTest::newRow("treeview.ini missing") << "treeview"
                                              << "treeview.ini";
    }
    void brokenPlayGivesOneMessageAndEmptyTree()
    {
        QFETCH(QString, broken);
        QFETCH(QString, named);
        TestPlay play = freshPlay();
        const QString dat = m_state->AppFolder + m_state->CharactersFileName();
        if (broken == QLatin1String("dat")) {
            QVERIFY(QFile::remove(dat));
            play.writeStore({TestPlay::numberedScene(1, 1, 1, 2, {Hamlet})});
        } else if (broken == QLatin1String("treeview")) {
            play.writeStore({TestPlay::numberedScene(1, 1, 1, 2, {Hamlet})});
            QVERIFY(QFile::remove(m_state->PlayFolder + QStringLiteral("/treeview.ini")));
        }
        openWindow(false);
        QCOMPARE(m_dialogs.shown.size(), 1);
        QVERIFY2(m_dialogs.shown.at(0).text.contains(named),
                 qPrintable(m_dialogs.shown.at(0).text));
        QCOMPARE(tree()->topLevelItemCount(), 0);
        for (const char *name : ReplyCommands)
            QVERIFY2(!IsEnabled(m_play.get(), name), name);
        // The window stays usable: it closes normally.
        QVERIFY(m_play->close());
    }

    void firstOpeningConvertsWithProgressWindow()
    {
        TestPlay play = freshPlay();
        play.writePlayText("PREFACE\r\nACT I.\r\nSCENE I. Elsinore.\r\nhamlet\r\nWho's there?\r\n"
                           "HORATIO\r\nFriends.\r\nACT II.\r\nSCENE I. A plain.\r\n"
                           "GHOST\r\nRemember me.\r\n");
        const QByteArray enciphered = [&] {
            QFile f(m_state->AppFolder + m_state->CharactersFileName());
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        ShowSpy spy;
        qApp->installEventFilter(&spy);
        openWindow();
        qApp->removeEventFilter(&spy);
        QVERIFY2(spy.shown.contains(QStringLiteral("FrmProg")), qPrintable(spy.shown.join(',')));
        QVERIFY(!qApp->findChild<QWidget *>(QStringLiteral("FrmProg")));
        QCOMPARE(tree()->topLevelItemCount(), 2);
        openScene("ACT 1", "SCENE 1");
        QCOMPARE(LabelText(m_play.get(), "LbNom"), Hamlet);
        QCOMPARE(shownText(), QStringLiteral("Who's there?\n"));
        QFile datFile(m_state->AppFolder + m_state->CharactersFileName());
        QVERIFY(datFile.open(QIODevice::ReadOnly));
        QCOMPARE(datFile.readAll(), enciphered);
        QCOMPARE(m_play->characters().names, (QStringList{Hamlet, Horatio, Marcellus, Ghost}));
    }

    void closeRefusedWhileRecordingKeepsEverything()
    {
        standardPlay();
        openWindow();
        openScene("ACT 1", "SCENE 2");
        TestPlay::write(m_state->AppFolder + QStringLiteral("temp.wav"), "RIFF");
        m_state->RecordingActive = true;
        m_state->FilterCharacter = Hamlet;
        QSignalSpy closing(m_play.get(), &FrmAvare::closing);
        QVERIFY(!m_play->close());
        QCOMPARE(m_dialogs.texts(), QStringList{"Stop at first the current recording."});
        QVERIFY(m_play->isVisible());
        QCOMPARE(closing.count(), 0);
        QCOMPARE(m_state->FilterCharacter, Hamlet);
        QVERIFY(QFileInfo::exists(m_state->AppFolder + QStringLiteral("temp.wav")));
    }

    void closeCleansUpAndClosesToolWindows()
    {
        standardPlay();
        openWindow();
        const QStringList scratch{QStringLiteral("temp.wav"), QStringLiteral("temp.vox"),
                                  QStringLiteral("_0042_HAMLET.tsd"), QStringLiteral("a.tsd")};
        for (const QString &name : scratch)
            TestPlay::write(m_state->AppFolder + name, "x");
        m_state->FilterCharacter = Hamlet;
        QWidget recorder;
        recorder.show();
        m_play->adoptToolWindow(&recorder);
        QSignalSpy closing(m_play.get(), &FrmAvare::closing);
        QVERIFY(m_play->close());
        QCOMPARE(closing.count(), 1);
        QVERIFY(!recorder.isVisible());
        QVERIFY(m_state->FilterCharacter.isEmpty());
        QVERIFY(!m_state->RecordingActive);
        for (const QString &name : scratch)
            QVERIFY2(!QFileInfo::exists(m_state->AppFolder + name), qPrintable(name));
        QVERIFY(QFileInfo::exists(m_state->AppFolder + m_state->CharactersFileName()));
        QVERIFY(m_dialogs.shown.isEmpty());
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
        QFile::remove(m_state->AppFolder + m_state->PlayTextFile);
        check->click();
        QCOMPARE(m_dialogs.shown.size(), 1);
        QVERIFY(m_dialogs.shown.at(0).text.contains(QStringLiteral("merchantvenice.txt")));
    }

    void placedAtTopCentredThreeQuarters()
    {
        QCOMPARE(FrmAvare::PlaceInFrame(QSize(1200, 800)), QRect(150, 0, 900, 600));
        QCOMPARE(FrmAvare::PlaceInFrame(QSize(1366, 700)), QRect(171, 0, 1024, 525));
    }
};

QTEST_MAIN(TestFrmAvare)
#include "tst_frmavare.moc"
