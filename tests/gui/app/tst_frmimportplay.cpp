// The import window and the "Plays" menu with imported plays.

#include "gui/app/FrmEntry.h"
#include "gui/app/FrmImportPlay.h"
#include "gui/app/MDIMain.h"
#include "gui/play/FrmAvare.h"

#include "core/app/ImportedPlays.h"
#include "core/app/Module1.h"

#include "FakeDialogs.h"
#include "WidgetDriver.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

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
        QCOMPARE(window.TxtTitle->text(), QStringLiteral("The Tailor of Ghent"));
        QCOMPARE(Rows(window.LstCharacters),
                 (QStringList{"MARTEN:2", "JOOST:2", "JOST:1", "MARTEN-JOOST:1"}));
        QVERIFY(window.TxtReport->toPlainText().contains(QStringLiteral("line 27: the name")));
        QVERIFY(window.CmdAccept->isEnabled());

        renameRow(window, 2, QStringLiteral("JOOST")); // unscripted: No
        QCOMPARE(m_dialogs.shown.size(), 1);
        QCOMPARE(m_dialogs.shown.at(0).kind, FakeDialogs::Shown::YesNo);
        QCOMPARE(Rows(window.LstCharacters).size(), 4);
        m_dialogs.answers = {Dialogs::Answer::Yes};
        renameRow(window, 2, QStringLiteral("JOOST"));
        QCOMPARE(Rows(window.LstCharacters),
                 (QStringList{"MARTEN:2", "JOOST:3", "MARTEN-JOOST:1"}));

        renameRow(window, 0, QStringLiteral("SCENE/SHIFTER")); // the first row too
        QVERIFY(m_dialogs.shown.last().text.contains(QStringLiteral("cannot be used")));
        QCOMPARE(Rows(window.LstCharacters).size(), 3);

        QTest::mouseClick(window.CmdCancel, Qt::LeftButton);
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
        frame.Load(appFolder(), QString());
        frame.show();
        frame.startUpWindow()->close();

        for (const QString &title : {QStringLiteral("Zebra"), QStringLiteral("Apes & Co")}) {
            m_dialogs.fileNames = {TwoFaults};
            frame.mnuimport->trigger();
            auto *window = frame.findChild<FrmImportPlay *>();
            QVERIFY(window);
            window->TxtTitle->setText(title);
            QTest::mouseClick(window->CmdAccept, Qt::LeftButton);
            QTRY_VERIFY(!frame.findChild<FrmImportPlay *>());
        }
        QCOMPARE(MenuCaptions(frame.mnupiece),
                 (QStringList{"The merchant of Venice ...", "The Life and Death of King John ...",
                              "Two Gentlemen of Verona ...", "Apes && Co ...", "Zebra ...",
                              "Import a play ...", "-", "Exit"}));
        QCOMPARE(m_dialogs.texts().last(),
                 QStringLiteral("\"Apes & Co\" is now in the Plays menu."));

        m_dialogs.fileNames.clear(); // a cancelled file dialog opens no window
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
    }
};

QTEST_MAIN(TestFrmImportPlay)
#include "tst_frmimportplay.moc"
