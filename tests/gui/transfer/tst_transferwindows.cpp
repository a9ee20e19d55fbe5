#include "gui/transfer/FrmExport.h"
#include "gui/transfer/FrmImport.h"

#include "TransferFixture.h"
#include "VoxFiles.h"
#include "core/transfer/TransferTexts.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>

using namespace tiradex;

namespace T = TransferTexts;

// The export and import windows, each opened from the play window's button.
class TestTransferWindows : public QObject
{
    Q_OBJECT

private:
    TransferFixture f;

private Q_SLOTS:
    // The window from the play window's button: the character toggle, the folder dialog, a long
    // export that keeps painting while it takes no input, the missing recordings, and the play
    // window back.
    void exportFromThePlayWindow()
    {
        const TestPlay testPlay = f.setUpPlay(60);
        for (int n = 1; n <= 56; ++n)
            testPlay.addRecording(n, n % 2 ? QStringLiteral("HUBERT") : QStringLiteral("ARTHUR"));
        const QString medium = f.state->AppFolder + QStringLiteral("stick");
        QDir().mkpath(medium);
        f.disk.volumes.insert(medium + QLatin1Char('/'), {1 << 30, 1 << 20});

        auto *window = f.open<FrmExport>("CmdTransfertVox");
        QVERIFY(!f.play->isVisible());
        QVERIFY(window->CheckVox->isChecked() && !window->CheckNotes->isChecked());
        QVERIFY(!window->findChild<QCheckBox *>(QStringLiteral("ChkRemplacer")));

        Click(window, "CmdExport");
        QCOMPARE(f.dialogs.texts(), QStringList{T::ExportNoPath});

        f.dialogs.folders = {medium};
        Click(window, "CmdPathExport");
        QCOMPARE(window->TxtCheminReseau->text(), medium + QLatin1Char('/'));

        Click(window, "CmdCoch");
        QCOMPARE(window->ListPersonnages->selectedItems().size(), 2);
        Click(window, "CmdCoch");
        QVERIFY(window->ListPersonnages->selectedItems().isEmpty());
        window->ListPersonnages->item(0)->setSelected(true); // HUBERT
        window->CheckNotes->setChecked(true);

        f.dialogs.shown.clear();
        TransferWatch watch(window);
        Click(window, "CmdExport");
        QCOMPARE(f.dialogs.texts(), (QStringList{T::ExportNoNotes, T::ExportEnded}));
        QVERIFY(watch.duringTransfer);
        QCOMPARE(watch.values.last(), 55);
        QVERIFY(watch.values.size() > 40);
        QVERIFY(watch.paints > 0);
        QCOMPARE(QDir(medium).entryList(QDir::Files).size(), 28);
        QVERIFY(!window->PictDiskFreeSpace->isVisible() && !window->ProgBar->isVisible());
        QCOMPARE(window->LbEspaceLibre->text(),
                 QStringLiteral("Free space before transfer : 1048576 bytes"));
        QVERIFY(window->CmdTransfer->isEnabled());

        Click(window, "CmdVoxManquants");
        QCOMPARE(window->LstVoxManquants->count(), 2);
        QCOMPARE(window->LstVoxManquants->item(0)->text(),
                 QStringLiteral("Act 1 Scene 1 0057_HUBERT"));

        window->close();
        QTRY_VERIFY(f.play->isVisible());
    }

    // The window from the play window's button: the medium's
    // lists read when its folder is chosen, an import that keeps a good
    // recording from a forged one, the missing recordings on the medium.
    void importFromThePlayWindow()
    {
        f.setUpPlay(6);
        const QString medium = f.state->AppFolder + QStringLiteral("stick");
        // Packaged takes for replies 1 and 3, staged in the play and moved out.
        for (const char *base : {"_0001_HUBERT", "_0003_HUBERT"}) {
            QVERIFY(WriteVox(*f.state, QLatin1String(base), ToneWav(300)));
            QDir().mkpath(medium);
            QVERIFY(QFile::rename(f.state->VoxPath(QLatin1String(base)),
                                  medium + QLatin1Char('/') + QLatin1String(base) + ".vox"));
        }
        TestPlay::write(medium + QStringLiteral("/_0005_HUBERT.vox"), "forged");
        TestPlay::write(medium + QStringLiteral("/_0002_ARTHUR.jp1"), "jpeg");
        TestPlay::write(medium + QStringLiteral("/notes.txt.not"), "stray");
        f.disk.volumes.insert(f.state->AppFolder, {1 << 30, 1 << 20});

        auto *window = f.open<FrmImport>("CmdRecupVox");
        QVERIFY(!f.play->isVisible());
        QVERIFY(window->CheckVox->isChecked() && !window->ChkRemplacer->isChecked());

        Click(window, "CmdVoxManquants");
        QCOMPARE(f.dialogs.texts(), QStringList{T::ImportMissingNoMedium});

        f.dialogs.folders = {medium};
        Click(window, "CmdPathImport");
        QCOMPARE(window->TxtCheminReseau->text(), medium + QLatin1Char('/'));
        QCOMPARE(window->mediumFiles()[0],
                 (QStringList{"_0001_HUBERT.vox", "_0003_HUBERT.vox", "_0005_HUBERT.vox"}));
        QCOMPARE(window->mediumFiles()[1], QStringList());
        QCOMPARE(window->mediumFiles()[2], QStringList{"_0002_ARTHUR.jp1"});

        Click(window, "CmdCoch");
        f.dialogs.shown.clear();
        TransferWatch watch(window);
        Click(window, "CmdImport");
        QCOMPARE(f.dialogs.texts().size(), 2);
        QVERIFY(f.dialogs.texts().at(0).contains(medium + QStringLiteral("/_0005_HUBERT.vox")));
        QCOMPARE(f.dialogs.texts().at(1), T::ImportEnded);
        QVERIFY(watch.duringTransfer);
        QCOMPARE(QDir(f.state->VoxFolder()).entryList(QDir::Files),
                 (QStringList{"_0001_HUBERT.vox", "_0003_HUBERT.vox"}));

        Click(window, "CmdVoxManquants");
        QCOMPARE(window->LstVoxManquants->count(), 3);
        QCOMPARE(window->LstVoxManquants->item(0)->text(),
                 QStringLiteral("Act 1 Scene 1 0002_ARTHUR"));

        window->close();
        QTRY_VERIFY(f.play->isVisible());
    }
};

QTEST_MAIN(TestTransferWindows)
#include "tst_transferwindows.moc"
