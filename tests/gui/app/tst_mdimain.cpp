#include "gui/app/FrmAbout.h"
#include "gui/app/FrmEntry.h"
#include "gui/app/MDIMain.h"
#include "gui/cipher/FrmCryptage.h"
#include "gui/play/FrmAvare.h"

#include "FakeClipboard.h"
#include "FakeDialogs.h"
#include "TestPlay.h"
#include "WidgetDriver.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace tiradex;

// The frame: its menus, the start-up window, the play window in it, closing
// and exit, and the windows of the "?" menu.
class TestMDIMain : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Module1> m_state;
    FakeDialogs m_dialogs;
    FakeClipboard m_clipboard;
    std::unique_ptr<MDIMain> m_frame;
    int m_exits = 0;
    int m_webWindows = 0;

    enum class Start
    {
        KeepSplash,
        Frame,
        Play
    };

    // A frame started on a fresh application folder holding a converted play
    // of two characters; the start-up window is closed, and the play opened
    // with `Start::Play`.
    void startFrame(Start start = Start::Play)
    {
        m_frame.reset();
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        m_state = std::make_unique<Module1>();
        m_dialogs = FakeDialogs();
        TestPlay play(*m_state, m_dir.path());
        play.writeCharacters({{QStringLiteral("SHYLOCK"), QStringLiteral("a rich Jew")},
                              {QStringLiteral("PORTIA"), QStringLiteral("a rich heiress")}});
        play.writeStore({TestPlay::numberedScene(
            1, 1, 1, 3, {QStringLiteral("SHYLOCK"), QStringLiteral("PORTIA")})});
        m_frame = std::make_unique<MDIMain>(*m_state, m_dialogs);
        m_exits = 0;
        m_webWindows = 0;
        m_frame->setExitHandler([this] { ++m_exits; });
        PlatformServices services;
        services.clipboard = &m_clipboard;
        m_frame->setServices(services);
        m_frame->setWebWindowFactory([this](QWidget *parent) {
            ++m_webWindows;
            auto *page = new QWidget(parent);
            page->setObjectName(QStringLiteral("webPage"));
            return page;
        });
        m_frame->resize(1200, 800);
        m_frame->Load(m_dir.path(), QString());
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
        FrmEntry *splash = m_frame->startUpWindow();
        QVERIFY(splash);
        splash->Timer1->stop(); // the test ticks by hand
        splash->Timer2->stop();
        if (start == Start::KeepSplash)
            return;
        for (int i = 0; i < FrmEntry::SecondsShown; ++i)
            splash->Timer1Tick();
        if (start == Start::Play) {
            m_frame->mnumarchandvenise->trigger();
            QVERIFY(m_frame->playWindow());
        }
    }
    QMdiSubWindow *subWindow(const char *name) const
    {
        return m_frame->findChild<QMdiSubWindow *>(QLatin1String(name));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_DATA_HOME", m_dir.path().toLocal8Bit());
    }
    void cleanup() { m_frame.reset(); }

    void startUpWindowLocksPlaysAndHelpForThreeSeconds()
    {
        startFrame(Start::KeepSplash);
        QCOMPARE(MenuCaptions(m_frame->mnupointinterrogation),
                 (QStringList{"Help ...", "Cryptage ...", "Characters ...", "About ...",
                              "Web site ..."}));
        QVERIFY(!m_frame->mnucryptage->isVisible() && !m_frame->mnupersonnages->isVisible());
        FrmEntry *splash = m_frame->startUpWindow();
        QVERIFY(!m_frame->mnupiece->menuAction()->isEnabled());
        QVERIFY(!m_frame->mnuaide->isEnabled());
        QVERIFY(m_frame->mnuabout->isEnabled());
        // The bar fills by steps of 100 and stops at its maximum.
        splash->Timer2Tick();
        int previous = splash->ProgBar->value();
        for (int ticks = 0; ticks < 200; ++ticks) {
            splash->Timer2Tick();
            QCOMPARE(splash->ProgBar->value(), qMin(previous + 100, 10000));
            previous = splash->ProgBar->value();
        }
        splash->Timer1Tick();
        splash->Timer1Tick();
        QVERIFY(splash->isVisible());
        QVERIFY(!m_frame->mnupiece->menuAction()->isEnabled());
        splash->Timer1Tick();
        QVERIFY(!splash->isVisible());
        QVERIFY(m_frame->mnupiece->menuAction()->isEnabled());
        QVERIFY(m_frame->mnuaide->isEnabled());
    }

    void playMenuOpensPlayWindowLockingPlaysUntilItCloses()
    {
        startFrame();
        QCOMPARE(m_state->PlayFolder, m_state->AppFolder + QStringLiteral("merchantvenice"));
        QVERIFY(m_state->KeepLineBreaks);
        QMdiSubWindow *sub = m_frame->playSubWindow();
        QCOMPARE(m_frame->playWindow()->windowTitle(), QStringLiteral("The Merchant of Venice"));
        QCOMPARE(sub->geometry(), FrmAvare::PlaceInFrame(m_frame->mdiArea()->viewport()->size()));
        QVERIFY(!m_frame->mnupiece->menuAction()->isEnabled());
        QCOMPARE(Control<QTreeWidget>(m_frame->playWindow(), "TreeView1")->topLevelItemCount(), 1);

        QVERIFY(m_frame->mnupersonnages->isVisible());
        m_frame->mnupersonnages->trigger();
        QCOMPARE(m_dialogs.texts(), QStringList{"Characters :\r\n\r\nSHYLOCK - a rich Jew\r\n"
                                                "PORTIA - a rich heiress\r\n"});

        m_dialogs.shown.clear();
        QVERIFY(sub->close());
        QVERIFY(m_frame->mnupiece->menuAction()->isEnabled());
        QVERIFY(!m_frame->mnupersonnages->isVisible());
        QVERIFY(!m_frame->playWindow());
        // Another play can be picked at once; it has no files here, so it
        // opens with one message.
        m_frame->mnukingjohn->trigger();
        QCOMPARE(m_frame->playWindow()->windowTitle(),
                 QStringLiteral("The Life and Death of King John"));
        QCOMPARE(m_dialogs.shown.size(), 1);
        QVERIFY(m_dialogs.shown.at(0).text.contains(QStringLiteral("kingjohn.dat")));
    }

    // Refused while a reading runs, said once (not again by the play window);
    // afterwards the play window's clean-up runs.
    void frameCloseRefusedWhilePlayingThenCleansUp()
    {
        startFrame();
        TestPlay::write(m_state->AppFolder + QStringLiteral("temp.vox"), "x");
        m_state->FilterCharacter = QStringLiteral("PORTIA");
        m_state->PlaybackActive = true;
        QVERIFY(!m_frame->close());
        QCOMPARE(m_dialogs.texts(), QStringList{"Stop at first the current reading."});
        QVERIFY(m_frame->playWindow());
        QVERIFY(QFileInfo::exists(m_state->AppFolder + QStringLiteral("temp.vox")));
        m_state->PlaybackActive = false;
        QVERIFY(m_frame->close());
        QVERIFY(!QFileInfo::exists(m_state->AppFolder + QStringLiteral("temp.vox")));
        QVERIFY(m_state->FilterCharacter.isEmpty());
        QCOMPARE(m_exits, 0);
    }

    void exitEndsAtOnceEvenWhileRecording()
    {
        startFrame();
        TestPlay::write(m_state->AppFolder + QStringLiteral("temp.wav"), "x");
        m_state->RecordingActive = true;
        m_frame->mnuquitter->trigger();
        QCOMPARE(m_exits, 1);
        QVERIFY(m_dialogs.shown.isEmpty());
        QVERIFY(QFileInfo::exists(m_state->AppFolder + QStringLiteral("temp.wav")));
    }

    // Each row: the label, how it is used, what lands on the clipboard, its
    // tool tip and the message that follows.
    void linkLabelsCopyTheirTextAndSaySo_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<QString>("copied");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<QString>("message");
        QTest::newRow("e-mail by key")
            << "Label2" << true << "tiradex@halvenor.example"
            << "Cliquez pour copier l'adresse e-mail dans le presse-papiers"
            << "The e-mail was copied in the clipboard.\n"
               "You can now paste it in your mailing software.";
        QTest::newRow("web clicked") << "Label8" << false << "https://www.halvenor.example/"
                                     << "Cliquez pour copier l'URL dans le presse-papiers"
                                     << "The Url was copied in the clipboard.\n"
                                        "You can now paste it in your browser.";
    }
    void linkLabelsCopyTheirTextAndSaySo()
    {
        QFETCH(QString, label);
        QFETCH(bool, byKey);
        QFETCH(QString, copied);
        QFETCH(QString, toolTip);
        QFETCH(QString, message);
        m_dialogs = FakeDialogs();
        m_clipboard = FakeClipboard();
        FrmAbout about(m_dialogs, &m_clipboard);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QLabel *link = Control<QLabel>(&about, label.toLatin1().constData());
        QCOMPARE(link->toolTip(), toolTip);
        link->setFocus();
        QTest::keyClick(link, Qt::Key_A);                // not a key that activates
        QTest::mouseClick(about.Label7, Qt::LeftButton); // not a link
        QCOMPARE(m_clipboard.copies, 0);
        if (byKey)
            QTest::keyClick(link, Qt::Key_Return);
        else
            QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(m_clipboard.plain, copied);
        QCOMPARE(m_clipboard.copies, 1);
        QCOMPARE(m_dialogs.texts(), QStringList{message});
    }

    void aboutOpensOnceCentredAndClosesWithItsButton()
    {
        startFrame(Start::Frame);
        m_frame->mnuabout->trigger();
        auto *about = m_frame->findChild<FrmAbout *>();
        QVERIFY(about && about->isVisible());
        const QPoint screenCentre = about->screen()->geometry().center();
        QVERIFY((about->frameGeometry().center() - screenCentre).manhattanLength() <= 4);
        m_frame->mnuabout->trigger(); // brought forward, not opened twice
        QCOMPARE(m_frame->findChildren<FrmAbout *>().size(), 1);
        QTest::mouseClick(about->Command1, Qt::LeftButton);
        QTRY_VERIFY(!m_frame->findChild<FrmAbout *>());
    }

    void helpNoteCentredInTheFrame()
    {
        startFrame(Start::Frame);
        m_frame->mnuaide->trigger();
        QMdiSubWindow *sub = subWindow("FrmHlpSubWindow");
        QVERIFY(sub && sub->isVisible());
        QCOMPARE(sub->widget()->windowTitle(), QStringLiteral("Tiradex help file."));
        QCOMPARE(LabelText(sub->widget(), "Label1"),
                 QStringLiteral("The help file of Tiradex is with the Flash format. To open the "
                                "help file in your browser, open the file \"tiradex.htm\" which "
                                "is in the directory of the Tiradex program. "));
        const QPoint centre = QRect(QPoint(), m_frame->mdiArea()->viewport()->size()).center();
        QVERIFY((sub->geometry().center() - centre).manhattanLength() <= 2);
    }

    void webSiteAsksBeforeOpening_data()
    {
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::addColumn<int>("windows");
        QTest::newRow("no") << Dialogs::Answer::No << 0;
        QTest::newRow("yes") << Dialogs::Answer::Yes << 1;
    }
    void webSiteAsksBeforeOpening()
    {
        QFETCH(Dialogs::Answer, answer);
        QFETCH(int, windows);
        startFrame(Start::Frame);
        m_dialogs.answers = {answer};
        m_frame->mnuweb->trigger();
        QCOMPARE(m_dialogs.texts(), QStringList{"You must be connected to Internet. Do you want "
                                                "to continue ?"});
        QCOMPARE(m_webWindows, windows);
        QCOMPARE(bool(subWindow("webPageSubWindow")), windows == 1);
    }

    void cryptageEntryHiddenButOpensTheTool()
    {
        startFrame(Start::Frame);
        m_frame->mnucryptage->trigger();
        QMdiSubWindow *sub = subWindow("FrmCryptageSubWindow");
        QVERIFY(sub && qobject_cast<FrmCryptage *>(sub->widget()));
        QVERIFY(!m_frame->mnucryptage->isVisible());
    }
};

QTEST_MAIN(TestMDIMain)
#include "tst_mdimain.moc"
