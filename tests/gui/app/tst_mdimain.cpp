#include "core/app/AppTexts.h"
#include "core/audio/AudioTexts.h"
#include "gui/app/FrmAbout.h"
#include "gui/app/FrmEntry.h"
#include "gui/app/FrmImportPlay.h"
#include "gui/app/MDIMain.h"
#include "gui/play/FrmAvare.h"

#include "FakeClipboard.h"
#include "FakeDialogs.h"
#include "TestFiles.h"
#include "TestPlay.h"
#include "WidgetDriver.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <memory>

using namespace tiradex;

namespace {

const QString TwoFaults = QStringLiteral(TIRADEX_TEST_DATA_DIR "/playimport/twofaults.txt");

QStringList Rows(const QTreeWidget *list)
{
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << list->topLevelItem(i)->text(0) + QLatin1Char(':') + list->topLevelItem(i)->text(1);
    return rows;
}

} // namespace

// The frame: its menus, the start-up window, the play window in it, closing
// and exit, the windows of the "?" menu, and the import of a play.
class TestMDIMain : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    Module1 m_state;
    FakeDialogs m_dialogs;
    FakeClipboard m_clipboard;
    std::unique_ptr<MDIMain> m_frame;
    int m_exits = 0;

    // A frame started on a fresh application folder holding a converted play
    // of two characters, its start-up window ticked away unless `keepSplash`.
    void startFrame(bool keepSplash = false)
    {
        m_frame.reset();
        m_state = Module1();
        QDir(m_dir.path()).removeRecursively();
        TestPlay play(m_state, m_dir.path());
        play.writeCharacters({{QStringLiteral("SHYLOCK"), QStringLiteral("a rich Jew")},
                              {QStringLiteral("PORTIA"), QStringLiteral("a rich heiress")}});
        play.writeStore({TestPlay::numberedScene(
            1, 1, 1, 3, {QStringLiteral("SHYLOCK"), QStringLiteral("PORTIA")})});
        m_frame = std::make_unique<MDIMain>(m_state, m_dialogs);
        m_frame->setExitHandler([this] { ++m_exits; });
        PlatformServices services;
        services.clipboard = &m_clipboard;
        m_frame->setServices(services);
        m_frame->setWebWindowFactory([](QWidget *parent) {
            auto *page = new QWidget(parent);
            page->setObjectName(QStringLiteral("webPage"));
            return page;
        });
        m_frame->resize(1200, 800);
        m_frame->Load(m_dir.path(), QString());
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
        FrmEntry *splash = m_frame->startUpWindow();
        splash->Timer1->stop(); // the test ticks by hand
        splash->Timer2->stop();
        for (int i = 0; !keepSplash && i < FrmEntry::SecondsShown; ++i)
            splash->Timer1Tick();
    }
    QString appFolder() const { return m_dir.filePath(QStringLiteral("app")); }

    // Picks the row (none when -1), types the name, clicks "Rename".
    void renameRow(FrmImportPlay &window, int row, const QString &name)
    {
        window.LstCharacters->clearSelection();
        window.LstCharacters->setCurrentItem(window.LstCharacters->topLevelItem(row));
        QVERIFY(row < 0 ||
                window.TxtName->text() == window.LstCharacters->topLevelItem(row)->text(0));
        window.TxtName->setText(name);
        QTest::mouseClick(window.CmdRename, Qt::LeftButton);
    }

    QMdiSubWindow *subWindow(const QString &name) const
    {
        return m_frame->findChild<QMdiSubWindow *>(name);
    }

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_DATA_HOME", m_dir.path().toLocal8Bit()); }
    void init()
    {
        QDir(appFolder()).removeRecursively();
        QVERIFY(QDir().mkpath(appFolder()));
    }
    void cleanup()
    {
        m_frame.reset();
        m_dialogs = FakeDialogs();
        m_clipboard = FakeClipboard();
    }

    void startUpWindowLocksPlaysAndHelpForThreeSeconds()
    {
        startFrame(true);
        FrmEntry *splash = m_frame->startUpWindow();
        const auto unlocked = [this] {
            return m_frame->mnupiece->menuAction()->isEnabled() && m_frame->mnuaide->isEnabled();
        };
        // The bar fills by steps of 100 and stops at its maximum.
        splash->Timer2Tick();
        const int first = splash->ProgBar->value();
        splash->Timer2Tick();
        QCOMPARE(splash->ProgBar->value() - first, 100);
        for (int ticks = 0; ticks < 200; ++ticks)
            splash->Timer2Tick();
        QCOMPARE(splash->ProgBar->value(), 10000);
        splash->Timer1Tick();
        splash->Timer1Tick();
        QVERIFY(splash->isVisible() && !unlocked() && m_frame->mnuabout->isEnabled());
        splash->Timer1Tick();
        QVERIFY(!splash->isVisible() && unlocked());
    }

    void playMenuOpensPlayWindowLockingPlaysUntilItCloses()
    {
        startFrame();
        QVERIFY(!m_frame->mnupersonnages->isVisible() && !m_frame->mnucryptage->isVisible());
        m_frame->mnumarchandvenise->trigger();
        QMdiSubWindow *sub = m_frame->playSubWindow();
        QCOMPARE(m_frame->playWindow()->windowTitle(), QStringLiteral("The Merchant of Venice"));
        QCOMPARE(sub->geometry(), FrmAvare::PlaceInFrame(m_frame->mdiArea()->viewport()->size()));
        QVERIFY(!m_frame->mnupiece->menuAction()->isEnabled());
        QVERIFY(m_frame->mnupersonnages->isVisible());
        m_frame->mnupersonnages->trigger();
        QCOMPARE(m_dialogs.texts(), QStringList{CharactersMessage(
                                        {"SHYLOCK", "PORTIA"}, {"a rich Jew", "a rich heiress"})});

        QVERIFY(sub->close());
        QVERIFY(m_frame->mnupiece->menuAction()->isEnabled() &&
                !m_frame->mnupersonnages->isVisible() && !m_frame->playWindow());
    }

    // Closing is refused while a reading runs, said once (not again by the
    // play window); afterwards the play window's clean-up runs. Exit ends at
    // once, even while recording.
    void frameCloseRefusedWhilePlayingExitNever()
    {
        startFrame();
        m_frame->mnumarchandvenise->trigger();
        const QString vox = m_state.AppFolder + QStringLiteral("temp.vox");
        TestPlay::write(vox, "x");
        m_state.FilterCharacter = QStringLiteral("PORTIA");
        m_state.PlaybackActive = true;
        QVERIFY(!m_frame->close());
        QCOMPARE(m_dialogs.texts(), QStringList{AudioTexts::StopReadingFirst()});
        m_state.RecordingActive = true;
        m_frame->mnuquitter->trigger();
        QVERIFY(m_frame->playWindow() && QFileInfo::exists(vox) && m_exits == 1);
        m_state.PlaybackActive = m_state.RecordingActive = false;
        QVERIFY(m_frame->close());
        QVERIFY(!QFileInfo::exists(vox) && m_state.FilterCharacter.isEmpty());
        QCOMPARE(m_dialogs.shown.size(), 1);
    }

    // The e-mail label by key, the web one by a click: each copies its text
    // and says so; other keys and labels copy nothing.
    void linkLabelsCopyTheirTextAndSaySo()
    {
        FrmAbout about(m_dialogs, &m_clipboard);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        about.Label2->setFocus();
        QTest::keyClick(about.Label2, Qt::Key_A);
        QTest::mouseClick(about.Label7, Qt::LeftButton);
        QCOMPARE(m_clipboard.copies, 0);
        QTest::keyClick(about.Label2, Qt::Key_Return);
        const QStringList email{m_clipboard.plain, about.Label2->toolTip()};
        QTest::mouseClick(about.Label8, Qt::LeftButton);
        const QStringList said = email + QStringList{m_clipboard.plain, about.Label8->toolTip()};
        QCOMPARE(
            said + m_dialogs.texts(),
            (QStringList{AppTexts::email(), AppTexts::emailToolTip(), AppTexts::webAddress(),
                         AppTexts::webToolTip(), AppTexts::emailCopied(), AppTexts::webCopied()}));
        QCOMPARE(m_clipboard.copies, 2);
    }

    void aboutOpensOnceCentredAndClosesWithItsButton()
    {
        startFrame();
        m_frame->mnuabout->trigger();
        m_frame->mnuabout->trigger(); // brought forward, not opened twice
        QCOMPARE(m_frame->findChildren<FrmAbout *>().size(), 1);
        auto *about = m_frame->findChild<FrmAbout *>();
        const QPoint screenCentre = about->screen()->geometry().center();
        QVERIFY((about->frameGeometry().center() - screenCentre).manhattanLength() <= 4);
        QTest::mouseClick(about->Command1, Qt::LeftButton);
        QTRY_VERIFY(!m_frame->findChild<FrmAbout *>());
    }

    // The entry, the answer to a question, the window it opens in the frame
    // ("" for none) and the messages.
    void helpEntriesOpenTheirWindows_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("help") << "mnuaide" << Dialogs::Answer::No << "FrmHlp" << QStringList{};
        QTest::newRow("hidden cipher entry")
            << "mnucryptage" << Dialogs::Answer::No << "FrmCryptage" << QStringList{};
        QTest::newRow("web site declined")
            << "mnuweb" << Dialogs::Answer::No << "" << QStringList{AppTexts::webQuestion()};
        QTest::newRow("web site") << "mnuweb" << Dialogs::Answer::Yes << "webPage"
                                  << QStringList{AppTexts::webQuestion()};
    }
    void helpEntriesOpenTheirWindows()
    {
        QFETCH(QString, entry);
        QFETCH(Dialogs::Answer, answer);
        QFETCH(QString, window);
        QFETCH(QStringList, texts);
        startFrame();
        m_dialogs.answers = {answer};
        m_frame->findChild<QAction *>(entry)->trigger();
        QCOMPARE(m_dialogs.texts(), texts);
        QVERIFY(!subWindow("webPageSubWindow") || window == QLatin1String("webPage"));
        QMdiSubWindow *sub = subWindow(window + "SubWindow");
        QVERIFY(window.isEmpty() || (sub && sub->isVisible()));
        if (window != QLatin1String("FrmHlp"))
            return;
        // The help note, centred in the frame.
        QCOMPARE(sub->widget()->windowTitle() + LabelText(sub->widget(), "Label1"),
                 AppTexts::helpCaption() + AppTexts::helpNote());
        const QPoint centre = QRect(QPoint(), m_frame->mdiArea()->viewport()->size()).center();
        QVERIFY((sub->geometry().center() - centre).manhattanLength() <= 2);
    }

    // The window shows the core's report and asks before merging two
    // characters; nothing is stored on cancel.
    void windowRenamesMergesAndCancelStoresNothing()
    {
        FrmImportPlay window(PlayImport::fromFile(TwoFaults), TwoFaults, appFolder(), m_dialogs);
        window.show();
        QCOMPARE(window.TxtTitle->text() + " " + Rows(window.LstCharacters).join(' '),
                 QStringLiteral("The Tailor of Ghent MARTEN:2 JOOST:2 JOST:1 MARTEN-JOOST:1"));
        QCOMPARE(window.TxtReport->toPlainText(), PlayImport::fromFile(TwoFaults).reportText());
        QVERIFY(window.CmdAccept->isEnabled());

        renameRow(window, 2, QStringLiteral("JOOST")); // unscripted: No
        m_dialogs.answers = {Dialogs::Answer::Yes};
        renameRow(window, 2, QStringLiteral("JOOST"));
        renameRow(window, 0, QStringLiteral("SCENE/SHIFTER")); // the first row too
        renameRow(window, -1, QStringLiteral("NOBODY"));
        QCOMPARE(Rows(window.LstCharacters),
                 (QStringList{"MARTEN:2", "JOOST:3", "MARTEN-JOOST:1"}));
        QVERIFY(m_dialogs.shown.size() == 4 &&
                m_dialogs.shown.at(0).kind == FakeDialogs::Shown::YesNo);
        QVERIFY(m_dialogs.shown.at(2).text.contains(QStringLiteral("cannot be used")));
        QCOMPARE(m_dialogs.texts().last(), QStringLiteral("Choose the character to rename first."));

        QTest::mouseClick(window.CmdCancel, Qt::LeftButton);
        QVERIFY(!window.storedPlay());
        QCOMPARE(EntriesUnder(appFolder()), QStringList{});
    }

    void reportWithErrorsCannotBeAccepted()
    {
        const QString path = m_dir.filePath(QStringLiteral("binary.txt"));
        QVERIFY(WriteTestFile(path, QByteArray("\x7f"
                                               "ELF\0\0\0\x02",
                                               8)));
        FrmImportPlay window(PlayImport::fromFile(path), path, appFolder(), m_dialogs);
        QVERIFY(!window.CmdAccept->isEnabled());
        window.TxtTitle->setText(QString());
        window.CmdAcceptClick();
        QCOMPARE(m_dialogs.texts(), QStringList{"The play needs a title."});
        QCOMPARE(EntriesUnder(appFolder()), QStringList{});
    }

    // Two plays imported through the menu are listed by title between the
    // shipped plays and "Import a play ...", and open like a shipped play.
    void menuListsImportedPlaysAndOpensThem()
    {
        qputenv("XDG_DATA_HOME", m_dir.path().toLocal8Bit());
        Module1 state;
        MDIMain frame(state, m_dialogs);
        frame.Load(appFolder(), QString());
        frame.show();
        frame.startUpWindow()->close();
        m_dialogs.fileNames = {TwoFaults, TwoFaults}; // then a cancelled file dialog
        for (const QString title : {"Zebra", "Apes & Co", ""}) {
            frame.mnuimport->trigger();
            auto *window = frame.findChild<FrmImportPlay *>();
            QVERIFY(title.isEmpty() == !window);
            if (window) {
                window->TxtTitle->setText(title);
                QTest::mouseClick(window->CmdAccept, Qt::LeftButton);
                QTRY_VERIFY(!frame.findChild<FrmImportPlay *>());
            }
        }
        QCOMPARE(MenuCaptions(frame.mnupiece),
                 (QStringList{"The merchant of Venice ...", "The Life and Death of King John ...",
                              "Two Gentlemen of Verona ...", "Apes && Co ...", "Zebra ...",
                              "Import a play ...", "-", "Exit"}));
        QCOMPARE(m_dialogs.texts().last(),
                 QStringLiteral("\"Apes & Co\" is now in the Plays menu."));

        frame.findChild<QAction *>(QStringLiteral("mnuimported_zebra"))->trigger();
        QCOMPARE(frame.playWindow()->windowTitle() + " " +
                     frame.playWindow()->characters().names.join(' '),
                 QStringLiteral("Zebra MARTEN JOOST JOST MARTEN-JOOST"));
        QCOMPARE(state.PlayFolder, appFolder() + QStringLiteral("/zebra"));
        QVERIFY(QFileInfo::exists(state.SceneFolder(1, 2)));
    }

    // "The merchant of Venice ..." as the build ships it, opened from the menu
    // of a frame started on an empty application folder, then once more from
    // the scene store the first opening left.
    void shippedMerchantOpensReadsAndOpensAgain()
    {
        if (!QFileInfo::exists(QStringLiteral(TIRADEX_SHIPPED_DATA_DIR "/merchantvenice.txt")))
            QSKIP("The build has no XML edition of the plays: no shipped play to open.");
        QTemporaryDir dir;
        Module1 state;
        FakeDialogs dialogs;
        for (int opening = 0; opening < 2; ++opening) {
            MDIMain frame(state, dialogs);
            frame.setExitHandler([] {});
            frame.resize(1366, 740);
            frame.Load(dir.path(), QStringLiteral(TIRADEX_SHIPPED_DATA_DIR));
            frame.show();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));
            frame.startUpWindow()->close();
            frame.mnumarchandvenise->trigger();
            FrmAvare *play = frame.playWindow();
            auto *tree = Control<QTreeWidget>(play, "TreeView1");
            QCOMPARE(tree->topLevelItemCount() * 10 + tree->topLevelItem(0)->childCount(), 53);
            ClickNode(tree, TreeNode(tree, QStringLiteral("ACT 1"), QStringLiteral("SCENE 1")));
            Click(play, "CmdPlus");
            Click(play, "CmdPlus");
            QVERIFY(LabelText(play, "LbEntete").startsWith(QStringLiteral("ACT 1 - SCENE I.")));
            QCOMPARE(LabelText(play, "LbNom"), QStringLiteral("SALANIO"));
            QVERIFY(Control<QTextEdit>(play, "RichTextBox1")
                        ->toPlainText()
                        .startsWith(QStringLiteral("Believe me, sir")));
            QVERIFY2(dialogs.shown.isEmpty(), qPrintable(dialogs.texts().join('|')));
            QVERIFY(frame.close());
        }
    }
};

QTEST_MAIN(TestMDIMain)
#include "tst_mdimain.moc"
