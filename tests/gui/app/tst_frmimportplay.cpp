// The import window and the "Plays" menu with imported plays.

#include "gui/app/FrmEntry.h"
#include "gui/app/FrmImportPlay.h"
#include "gui/app/MDIMain.h"
#include "gui/play/FrmAvare.h"

#include "core/app/ImportedPlays.h"
#include "core/app/Module1.h"

#include "FakeDialogs.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

namespace {

const QString TwoFaults = QStringLiteral(TIRADEX_TEST_DATA_DIR "/playimport/twofaults.txt");

QStringList Rows(const QTreeWidget *list)
{
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << list->topLevelItem(i)->text(0) + QLatin1Char(':') + list->topLevelItem(i)->text(1);
    return rows;
}

QStringList Captions(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *a : menu->actions())
        texts.append(a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
}

} // namespace

class TestFrmImportPlay : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    FakeDialogs m_dialogs;

    QString appFolder() const { return m_dir.filePath(QStringLiteral("app")); }

    void renameRow(FrmImportPlay &window, int row, const QString &name)
    {
        window.LstCharacters->clearSelection();
        window.LstCharacters->setCurrentItem(window.LstCharacters->topLevelItem(row));
        QCOMPARE(window.TxtName->text(), window.LstCharacters->topLevelItem(row)->text(0));
        window.TxtName->setText(name);
        QTest::mouseClick(window.CmdRename, Qt::LeftButton);
    }

private Q_SLOTS:
    void init()
    {
        QDir(appFolder()).removeRecursively();
        QVERIFY(QDir().mkpath(appFolder()));
        m_dialogs = FakeDialogs();
    }

    void windowRenamesMergesAndCancelStoresNothing()
    {
        FrmImportPlay window(PlayImport::fromFile(TwoFaults), TwoFaults, appFolder(), m_dialogs);
        window.show();
        QCOMPARE(window.LbSource->text(), QStringLiteral("twofaults.txt"));
        QCOMPARE(window.TxtTitle->text(), QStringLiteral("The Tailor of Ghent"));
        QCOMPARE(Rows(window.LstCharacters),
                 (QStringList{"MARTEN:2", "JOOST:2", "JOST:1", "MARTEN-JOOST:1"}));
        QVERIFY(window.TxtReport->toPlainText().contains(QStringLiteral("line 27: the name")));
        QVERIFY(window.CmdAccept->isEnabled());

        m_dialogs.answers = {Dialogs::Answer::No};
        renameRow(window, 2, QStringLiteral("JOOST"));
        QCOMPARE(m_dialogs.shown.size(), 1);
        QCOMPARE(m_dialogs.shown.at(0).kind, FakeDialogs::Shown::YesNo);
        QCOMPARE(Rows(window.LstCharacters).size(), 4);

        m_dialogs.answers = {Dialogs::Answer::Yes};
        renameRow(window, 2, QStringLiteral("JOOST"));
        QCOMPARE(Rows(window.LstCharacters),
                 (QStringList{"MARTEN:2", "JOOST:3", "MARTEN-JOOST:1"}));

        renameRow(window, 2, QStringLiteral("SCENE/SHIFTER"));
        QCOMPARE(m_dialogs.shown.last().kind, FakeDialogs::Shown::Information);
        QVERIFY(m_dialogs.shown.last().text.contains(QStringLiteral("cannot be used")));
        QCOMPARE(Rows(window.LstCharacters).size(), 3);

        QTest::mouseClick(window.CmdCancel, Qt::LeftButton);
        QCOMPARE(window.result(), int(QDialog::Rejected));
        QVERIFY(!window.storedPlay());
        QCOMPARE(QDir(appFolder()).entryList(QDir::Files), QStringList{});
    }

    void reportWithErrorsCannotBeAccepted()
    {
        const QString path = m_dir.filePath(QStringLiteral("binary.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\x7f"
                              "ELF\0\0\0\x02",
                              8));
        file.close();
        FrmImportPlay window(PlayImport::fromFile(path), path, appFolder(), m_dialogs);
        QVERIFY(!window.CmdAccept->isEnabled());
        QVERIFY(window.TxtReport->toPlainText().contains(QStringLiteral("binary data")));
        window.TxtTitle->setText(QString());
        window.CmdAcceptClick();
        QCOMPARE(m_dialogs.texts(), QStringList{"The play needs a title."});
        QCOMPARE(QDir(appFolder()).entryList(QDir::Files), QStringList{});
    }

    // Two plays imported through the menu are listed by title between the
    // shipped plays and "Import a play ...", and open like a shipped play.
    void menuListsImportedPlaysAndOpensThem()
    {
        qputenv("XDG_DATA_HOME", m_dir.path().toLocal8Bit());
        Module1 state;
        MDIMain frame(state, m_dialogs);
        frame.resize(1000, 700);
        frame.Load(appFolder(), QString());
        frame.show();
        FrmEntry *splash = frame.startUpWindow();
        splash->Timer1->stop();
        splash->Timer2->stop();
        QVERIFY(!frame.mnupiece->menuAction()->isEnabled());
        for (int i = 0; i < FrmEntry::SecondsShown; ++i)
            splash->Timer1Tick();
        QVERIFY(frame.mnupiece->menuAction()->isEnabled());

        for (const QString &title : {QStringLiteral("Zebra"), QStringLiteral("Apes & Co")}) {
            m_dialogs.fileNames = {TwoFaults};
            frame.mnuimport->trigger();
            auto *window = frame.findChild<FrmImportPlay *>();
            QVERIFY(window);
            window->TxtTitle->setText(title);
            QTest::mouseClick(window->CmdAccept, Qt::LeftButton);
            QVERIFY(window->storedPlay());
            QTRY_VERIFY(!frame.findChild<FrmImportPlay *>());
        }
        QCOMPARE(Captions(frame.mnupiece),
                 (QStringList{"The merchant of Venice ...", "The Life and Death of King John ...",
                              "Two Gentlemen of Verona ...", "Apes && Co ...", "Zebra ...",
                              "Import a play ...", "-", "Exit"}));
        QCOMPARE(m_dialogs.texts().last(),
                 QStringLiteral("\"Apes & Co\" is now in the Plays menu."));

        // A cancelled file dialog opens no window.
        m_dialogs.fileNames.clear();
        frame.mnuimport->trigger();
        QVERIFY(!frame.findChild<FrmImportPlay *>());

        frame.findChild<QAction *>(QStringLiteral("mnuimported_zebra"))->trigger();
        FrmAvare *play = frame.playWindow();
        QVERIFY(play);
        QCOMPARE(play->windowTitle(), QStringLiteral("Zebra"));
        QCOMPARE(state.PlayFolder, appFolder() + QStringLiteral("/zebra"));
        QCOMPARE(play->characters().names,
                 (QStringList{"MARTEN", "JOOST", "JOST", "MARTEN-JOOST"}));
        QVERIFY(QFileInfo::exists(state.SceneFolder(1, 2)));
        QVERIFY(!frame.mnupiece->menuAction()->isEnabled());
    }
};

QTEST_MAIN(TestFrmImportPlay)
#include "tst_frmimportplay.moc"
