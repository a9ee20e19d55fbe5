#include "gui/app/FrmEntry.h"
#include "gui/app/MDIMain.h"
#include "gui/play/FrmAvare.h"

#include "FakeDialogs.h"
#include "TestPlay.h"
#include "WidgetDriver.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

class TestMDIMain : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Module1> m_state;
    FakeDialogs m_dialogs;
    std::unique_ptr<MDIMain> m_frame;
    int m_exits = 0;

    // A frame started on a fresh application folder holding a converted play
    // of two characters; the start-up window is closed unless `keepSplash`.
    void startFrame(bool keepSplash = false)
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
        m_frame->setExitHandler([this] { ++m_exits; });
        m_frame->resize(1200, 800);
        m_frame->Load(m_dir.path(), QString());
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
        FrmEntry *splash = m_frame->startUpWindow();
        QVERIFY(splash);
        splash->Timer1->stop(); // the test ticks by hand
        splash->Timer2->stop();
        if (!keepSplash) {
            for (int i = 0; i < FrmEntry::SecondsShown; ++i)
                splash->Timer1Tick();
        }
    }

    void openMerchant()
    {
        m_frame->mnumarchandvenise->trigger();
        QVERIFY(m_frame->playWindow());
    }

    static QStringList captions(const QList<QAction *> &actions)
    {
        QStringList texts;
        for (const QAction *a : actions)
            texts.append(a->isSeparator() ? QStringLiteral("-") : a->text());
        return texts;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_DATA_HOME", m_dir.path().toLocal8Bit());
    }
    void cleanup() { m_frame.reset(); }

    void menusInOrderWithTheirCaptions()
    {
        startFrame();
        QCOMPARE(m_frame->windowTitle(), QStringLiteral("Tiradex"));
        QCOMPARE(captions(m_frame->menuBar()->actions()), (QStringList{"Plays", "?"}));
        QCOMPARE(captions(m_frame->mnupiece->actions()),
                 (QStringList{"The merchant of Venice ...", "The Life and Death of King John ...",
                              "Two Gentlemen of Verona ...", "Import a play ...", "-", "Exit"}));
        QCOMPARE(captions(m_frame->mnupointinterrogation->actions()),
                 (QStringList{"Help ...", "Cryptage ...", "Characters ...", "About ...",
                              "Web site ..."}));
        for (const char *name : {"mnupiece", "mnumarchandvenise", "mnukingjohn", "mnuverona",
                                 "mnuimport", "sep0", "mnuquitter", "mnupointinterrogation",
                                 "mnuaide", "mnucryptage", "mnupersonnages", "mnuabout", "mnuweb"})
            QVERIFY2(m_frame->findChild<QObject *>(QLatin1String(name)), name);
        QVERIFY(!m_frame->mnucryptage->isVisible());
        QVERIFY(!m_frame->mnupersonnages->isVisible());
    }

    void startUpWindowLocksPlaysAndHelpForThreeSeconds()
    {
        startFrame(true);
        FrmEntry *splash = m_frame->startUpWindow();
        QVERIFY(splash->isVisible());
        QCOMPARE(splash->Label3->text(), QStringLiteral("Tiradex"));
        QCOMPARE(splash->Label2->text(), QStringLiteral("Version 1.00"));
        QCOMPARE(splash->Label1->text(), QStringLiteral("  Halvenor"));
        QVERIFY(!m_frame->mnupiece->menuAction()->isEnabled());
        QVERIFY(!m_frame->mnuaide->isEnabled());
        QVERIFY(m_frame->mnuabout->isEnabled());
        QVERIFY(m_frame->mnuweb->isEnabled());

        QCOMPARE(splash->ProgBar->maximum(), 10000);
        QCOMPARE(splash->Timer1->interval(), 1000);
        QCOMPARE(splash->Timer2->interval(), 18);
        // The ticks are driven by hand; on a busy machine the real timer may
        // have ticked a few times before startFrame() stopped it.
        splash->Timer2Tick();
        int previous = splash->ProgBar->value();
        QCOMPARE(previous % 100, 0);
        int ticks = 0;
        while (splash->ProgBar->value() < 10000 && ticks < 200) {
            splash->Timer2Tick();
            QCOMPARE(splash->ProgBar->value(), previous + 100);
            previous = splash->ProgBar->value();
            ++ticks;
        }
        QCOMPARE(splash->ProgBar->value(), 10000); // full, and ticks past it are ignored
        splash->Timer2Tick();
        QCOMPARE(splash->ProgBar->value(), 10000);

        splash->Timer1Tick();
        splash->Timer1Tick();
        QVERIFY(splash->isVisible());
        QVERIFY(!m_frame->mnupiece->menuAction()->isEnabled());
        splash->Timer1Tick();
        QVERIFY(!splash->isVisible());
        QVERIFY(m_frame->mnupiece->menuAction()->isEnabled());
        QVERIFY(m_frame->mnuaide->isEnabled());
    }

    void playMenuOpensPlayWindowAndLocksPlays()
    {
        startFrame();
        openMerchant();
        QCOMPARE(m_state->PlayCode, QStringLiteral("merchantvenice"));
        QCOMPARE(m_state->PlayFolder, m_state->AppFolder + QStringLiteral("merchantvenice"));
        QVERIFY(m_state->KeepLineBreaks);
        QMdiSubWindow *sub = m_frame->playSubWindow();
        QVERIFY(sub->isVisible());
        QCOMPARE(m_frame->playWindow()->windowTitle(), QStringLiteral("The Merchant of Venice"));
        QCOMPARE(sub->geometry(), FrmAvare::PlaceInFrame(m_frame->mdiArea()->viewport()->size()));
        QVERIFY(!m_frame->mnupiece->menuAction()->isEnabled());
        QVERIFY(m_frame->mnupersonnages->isVisible());
        QCOMPARE(Control<QTreeWidget>(m_frame->playWindow(), "TreeView1")->topLevelItemCount(), 1);
        QVERIFY(m_dialogs.shown.isEmpty());
    }

    void charactersMessageListsTheTwoCharacters()
    {
        startFrame();
        openMerchant();
        m_frame->mnupersonnages->trigger();
        QCOMPARE(m_dialogs.texts(), QStringList{"Characters :\r\n\r\nSHYLOCK - a rich Jew\r\n"
                                                "PORTIA - a rich heiress\r\n"});
        QCOMPARE(m_dialogs.shown.at(0).kind, FakeDialogs::Shown::Information);
    }

    void closingPlayWindowFreesThePlaysMenu()
    {
        startFrame();
        openMerchant();
        QVERIFY(m_frame->playSubWindow()->close());
        QVERIFY(m_frame->mnupiece->menuAction()->isEnabled());
        QVERIFY(!m_frame->mnupersonnages->isVisible());
        QVERIFY(!m_frame->playWindow());
        // Another play can be picked at once; it has no files here, so it
        // opens with one message and an empty tree.
        m_frame->mnukingjohn->trigger();
        QVERIFY(m_frame->playWindow());
        QCOMPARE(m_frame->playWindow()->windowTitle(),
                 QStringLiteral("The Life and Death of King John"));
        QCOMPARE(m_dialogs.shown.size(), 1);
        QVERIFY(m_dialogs.shown.at(0).text.contains(QStringLiteral("kingjohn.dat")));
    }

    void frameCloseRefusedWhilePlayingOrRecording_data()
    {
        QTest::addColumn<bool>("playing");
        QTest::addColumn<bool>("recording");
        QTest::addColumn<QString>("message");
        QTest::newRow("scene listening") << true << false << "Stop at first the current reading.";
    }
    void frameCloseRefusedWhilePlayingOrRecording()
    {
        QFETCH(bool, playing);
        QFETCH(bool, recording);
        QFETCH(QString, message);
        startFrame();
        openMerchant();
        m_state->PlaybackActive = playing;
        m_state->RecordingActive = recording;
        QVERIFY(!m_frame->close());
        QCOMPARE(m_dialogs.texts(), QStringList{message}); // once, not again by the play window
        QVERIFY(m_frame->isVisible());
        QVERIFY(m_frame->playWindow());
        QVERIFY(m_frame->mnupersonnages->isVisible());
    }

    void frameCloseRunsPlayWindowCleanUp()
    {
        startFrame();
        openMerchant();
        TestPlay::write(m_state->AppFolder + QStringLiteral("temp.vox"), "x");
        m_state->FilterCharacter = QStringLiteral("PORTIA");
        QVERIFY(m_frame->close());
        QVERIFY(!QFileInfo::exists(m_state->AppFolder + QStringLiteral("temp.vox")));
        QVERIFY(m_state->FilterCharacter.isEmpty());
        QVERIFY(m_dialogs.shown.isEmpty());
        QCOMPARE(m_exits, 0);
    }

    void exitEndsAtOnceEvenWhileRecording()
    {
        startFrame();
        openMerchant();
        TestPlay::write(m_state->AppFolder + QStringLiteral("temp.wav"), "x");
        m_state->RecordingActive = true;
        m_frame->mnuquitter->trigger();
        QCOMPARE(m_exits, 1);
        QVERIFY(m_dialogs.shown.isEmpty());
        QVERIFY(QFileInfo::exists(m_state->AppFolder + QStringLiteral("temp.wav")));
        QVERIFY(m_state->RecordingActive);
    }
};

QTEST_MAIN(TestMDIMain)
#include "tst_mdimain.moc"
