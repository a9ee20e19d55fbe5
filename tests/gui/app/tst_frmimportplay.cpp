// The import window and the "Plays" menu with imported plays.

#include "gui/app/FrmEntry.h"
#include "gui/app/FrmImportPlay.h"
#include "gui/app/MDIMain.h"
#include "gui/play/FrmAvare.h"

#include "FakeDialogs.h"
#include "TestFiles.h"
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

private Q_SLOTS:
    void init()
    {
        QDir(appFolder()).removeRecursively();
        QVERIFY(QDir().mkpath(appFolder()));
        m_dialogs = FakeDialogs();
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
        QCOMPARE(m_dialogs.shown.size(), 4);
        QCOMPARE(m_dialogs.shown.at(0).kind, FakeDialogs::Shown::YesNo);
        QVERIFY(m_dialogs.shown.at(2).text.contains(QStringLiteral("cannot be used")));
        QCOMPARE(m_dialogs.shown.at(3).text,
                 QStringLiteral("Choose the character to rename first."));

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
};

QTEST_MAIN(TestFrmImportPlay)
#include "tst_frmimportplay.moc"
