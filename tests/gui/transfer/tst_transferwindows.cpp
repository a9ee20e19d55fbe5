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

// The export and import windows apply the core's transfer: the decisions
// are the core test's; here what reaches the user and the play window.
class TestTransferWindows : public QObject
{
    Q_OBJECT

private:
    TransferFixture f;

private Q_SLOTS:
    // The folder dialog, a long export that keeps painting while it takes no
    // input, and the play window back.
    void exportFromThePlayWindow()
    {
        f.setUpPlay(60);
        for (int n = 1; n <= 56; ++n)
            f.putBytesAsVox(n, "vox");
        const QString medium = f.state->AppFolder + QStringLiteral("stick");
        QDir().mkpath(medium);
        f.disk.volumes.insert(medium + '/', {1 << 30, 1 << 20});
        auto *window = f.open<FrmExport>("CmdTransfertVox");
        QVERIFY(!f.play->isVisible() && window->CheckVox->isChecked());
        QVERIFY(!window->findChild<QCheckBox *>("ChkRemplacer"));
        f.dialogs.folders = {medium};
        Click(window, "CmdPathExport");
        QCOMPARE(window->TxtCheminReseau->text(), medium + '/');
        window->ListPersonnages->item(0)->setSelected(true); // HUBERT
        window->CheckNotes->setChecked(true);

        TransferWatch watch(window);
        Click(window, "CmdExport");
        QCOMPARE(f.dialogs.texts(), (QStringList{T::ExportNoNotes, T::ExportEnded}));
        QVERIFY(watch.duringTransfer && watch.values.size() > 40 && watch.paints > 0);
        QCOMPARE(watch.values.last(), 55);
        QCOMPARE(QDir(medium).entryList(QDir::Files).size(), 28);
        QVERIFY(!window->PictDiskFreeSpace->isVisible() && !window->ProgBar->isVisible() &&
                window->CmdTransfer->isEnabled());
        QCOMPARE(window->LbEspaceLibre->text(),
                 QStringLiteral("Free space before transfer : 1048576 bytes"));
        window->close();
        QTRY_VERIFY(f.play->isVisible());
    }

    // The medium's lists read when its folder is chosen, an import that
    // keeps a good recording from a forged one, the missing recordings on
    // the medium.
    void importFromThePlayWindow()
    {
        f.setUpPlay(6);
        const QString medium = f.state->AppFolder + QStringLiteral("stick");
        // Packaged takes for replies 1 and 3, staged in the play and moved out.
        QDir().mkpath(medium);
        for (const int n : {1, 3}) {
            f.record(n, ToneWav(300));
            QVERIFY(QFile::rename(f.state->VoxPath(f.baseName(n)),
                                  medium + '/' + f.baseName(n) + ".vox"));
        }
        TestPlay::write(medium + QStringLiteral("/_0005_HUBERT.vox"), "forged");
        TestPlay::write(medium + QStringLiteral("/_0002_ARTHUR.jp1"), "jpeg");
        TestPlay::write(medium + QStringLiteral("/notes.txt.not"), "stray");
        f.disk.volumes.insert(f.state->AppFolder, {1 << 30, 1 << 20});
        auto *window = f.open<FrmImport>("CmdRecupVox");
        QVERIFY(!f.play->isVisible() && window->CheckVox->isChecked());

        Click(window, "CmdVoxManquants");
        f.dialogs.folders = {medium};
        Click(window, "CmdPathImport");
        QCOMPARE(window->TxtCheminReseau->text(), medium + '/');
        QCOMPARE(window->mediumFiles()[2], QStringList{"_0002_ARTHUR.jp1"});

        Click(window, "CmdCoch");
        TransferWatch watch(window);
        Click(window, "CmdImport");
        const QStringList told = f.dialogs.texts();
        QCOMPARE(told.size(), 3);
        QCOMPARE(told.at(0), T::ImportMissingNoMedium);
        QVERIFY2(told.at(1).contains(medium + "/_0005_HUBERT.vox"), qPrintable(told.at(1)));
        QCOMPARE(told.at(2), T::ImportEnded);
        QVERIFY(watch.duringTransfer);
        QCOMPARE(QDir(f.state->VoxFolder()).entryList(QDir::Files),
                 (QStringList{"_0001_HUBERT.vox", "_0003_HUBERT.vox"}));

        Click(window, "CmdVoxManquants");
        QCOMPARE(window->LstVoxManquants->count(), 3);
        window->close();
        QTRY_VERIFY(f.play->isVisible());
    }
};

QTEST_MAIN(TestTransferWindows)
#include "tst_transferwindows.moc"
