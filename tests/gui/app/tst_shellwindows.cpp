#include "gui/app/FrmAbout.h"
#include "gui/app/FrmEntry.h"
#include "gui/app/FrmHlp.h"
#include "gui/app/MDIMain.h"
#include "gui/cipher/FrmCryptage.h"

#include "core/app/Module1.h"

#include "FakeClipboard.h"
#include "FakeDialogs.h"
#include "WidgetDriver.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

// The windows of the frame's "?" menu: About, help note, web site, and the
// hidden encryption tool.
class TestShellWindows : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    Module1 m_state;
    FakeDialogs m_dialogs;
    FakeClipboard m_clipboard;
    std::unique_ptr<MDIMain> m_frame;
    int m_webWindows = 0;

    void startFrame()
    {
        m_dialogs = FakeDialogs();
        m_clipboard = FakeClipboard();
        m_webWindows = 0;
        m_frame = std::make_unique<MDIMain>(m_state, m_dialogs);
        PlatformServices services;
        services.clipboard = &m_clipboard;
        m_frame->setServices(services);
        m_frame->setWebWindowFactory([this](QWidget *parent) {
            ++m_webWindows;
            auto *page = new QWidget(parent);
            page->setObjectName(QStringLiteral("webPage"));
            return page;
        });
        m_frame->resize(1000, 700);
        m_frame->Load(m_dir.path(), QString());
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
        FrmEntry *splash = m_frame->startUpWindow();
        splash->Timer1->stop();
        splash->Timer2->stop();
        splash->close();
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

    void aboutBoxTexts_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("product") << "Label1"
                                 << "Tiradex"
                                 << "";
        QTest::newRow("version") << "Label6"
                                 << "Version 1.00"
                                 << "";
        QTest::newRow("e-mail") << "Label2"
                                << "tiradex@halvenor.example"
                                << "Cliquez pour copier l'adresse e-mail dans le presse-papiers";
        QTest::newRow("web") << "Label8"
                             << "https://www.halvenor.example/"
                             << "Cliquez pour copier l'URL dans le presse-papiers";
    }
    void aboutBoxTexts()
    {
        QFETCH(QString, label);
        QFETCH(QString, text);
        QFETCH(QString, toolTip);
        FrmAbout about(m_dialogs, &m_clipboard);
        const QLabel *shown = Control<QLabel>(&about, label.toLatin1().constData());
        QCOMPARE(shown->text(), text);
        QCOMPARE(shown->toolTip(), toolTip);
        QVERIFY(about.Label7->text().startsWith(QStringLiteral("Halvenor ")));
        QVERIFY(!about.Label5->text().isEmpty());
    }

    // Each row: the label, how it is used, what lands on the clipboard and
    // the message that follows.
    void linkLabelsCopyTheirTextAndSaySo_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<QString>("copied");
        QTest::addColumn<QString>("message");
        const QString mail = "The e-mail was copied in the clipboard.\n"
                             "You can now paste it in your mailing software.";
        const QString url = "The Url was copied in the clipboard.\n"
                            "You can now paste it in your browser.";
        QTest::newRow("e-mail clicked") << "Label2" << false << "tiradex@halvenor.example" << mail;
        QTest::newRow("web clicked") << "Label8" << false << "https://www.halvenor.example/" << url;
        QTest::newRow("e-mail by key") << "Label2" << true << "tiradex@halvenor.example" << mail;
    }
    void linkLabelsCopyTheirTextAndSaySo()
    {
        QFETCH(QString, label);
        QFETCH(bool, byKey);
        QFETCH(QString, copied);
        QFETCH(QString, message);
        m_dialogs = FakeDialogs();
        m_clipboard = FakeClipboard();
        m_clipboard.plain = QStringLiteral("something else");
        FrmAbout about(m_dialogs, &m_clipboard);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QLabel *link = Control<QLabel>(&about, label.toLatin1().constData());
        link->setFocus();
        QTest::keyClick(link, Qt::Key_A); // not a key that activates
        QCOMPARE(m_clipboard.copies, 0);
        if (byKey) {
            link->setFocus();
            QTest::keyClick(link, Qt::Key_Return);
        } else {
            QTest::mouseClick(link, Qt::LeftButton);
        }
        QCOMPARE(m_clipboard.plain, copied);
        QCOMPARE(m_clipboard.copies, 1);
        QCOMPARE(m_dialogs.texts(), QStringList{message});
        QCOMPARE(m_dialogs.shown.first().kind, FakeDialogs::Shown::Information);
        // The other labels copy nothing.
        QTest::mouseClick(about.Label7, Qt::LeftButton);
        QCOMPARE(m_clipboard.copies, 1);
    }

    void aboutOpensFromTheMenuAndClosesWithItsButton()
    {
        startFrame();
        QVERIFY(m_frame->mnuabout->isEnabled());
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
        startFrame();
        m_frame->mnuaide->trigger();
        QMdiSubWindow *sub = subWindow("FrmHlpSubWindow");
        QVERIFY(sub && sub->isVisible());
        QCOMPARE(sub->widget()->windowTitle(), QStringLiteral("Tiradex help file."));
        QCOMPARE(LabelText(sub->widget(), "Label1"),
                 QStringLiteral("The help file of Tiradex is with the Flash format. To open the "
                                "help file in your browser, open the file \"tiradex.htm\" which "
                                "is in the directory of the Tiradex program. "));
        const QPoint centre = QRect(QPoint(), m_frame->mdiArea()->viewport()->size()).center();
        QVERIFY2((sub->geometry().center() - centre).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("note at %1,%2")
                                .arg(sub->geometry().center().x())
                                .arg(sub->geometry().center().y())));
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
        startFrame();
        m_dialogs.answers = {answer};
        m_frame->mnuweb->trigger();
        QCOMPARE(m_dialogs.texts(), QStringList{"You must be connected to Internet. Do you want "
                                                "to continue ?"});
        QCOMPARE(m_dialogs.shown.first().kind, FakeDialogs::Shown::YesNo);
        QCOMPARE(m_webWindows, windows);
        QCOMPARE(bool(subWindow("webPageSubWindow")), windows == 1);
    }

    void cryptageEntryHiddenButOpensTheTool()
    {
        startFrame();
        QVERIFY(!m_frame->mnucryptage->isVisible());
        m_frame->mnucryptage->trigger();
        QMdiSubWindow *sub = subWindow("FrmCryptageSubWindow");
        QVERIFY(sub && sub->isVisible());
        QVERIFY(qobject_cast<FrmCryptage *>(sub->widget()));
        QVERIFY(!m_frame->mnucryptage->isVisible());
    }
};

QTEST_MAIN(TestShellWindows)
#include "tst_shellwindows.moc"
