#include "gui/transfer/FrmExport.h"

#include "TransferFixture.h"
#include "core/transfer/TransferTexts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>

namespace T = TransferTexts;

class TestFrmExport : public QObject
{
    Q_OBJECT

private:
    TransferFixture f;

private Q_SLOTS:
    // The window from the play window's button: captions, the character
    // toggle, the folder dialog, a long export that keeps painting while it
    // takes no input, the missing recordings, and the play window back.
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
        QCOMPARE(window->windowTitle(), QStringLiteral("Export"));
        QCOMPARE(window->Frame1->title(), QStringLiteral("Chemin d'accès au support de transfert"));
        QCOMPARE(window->Frame2->title(), QStringLiteral("Options d'export"));
        QCOMPARE(window->CheckVox->text(), QStringLiteral("Exporter les fichiers Vox"));
        QVERIFY(window->CheckVox->isChecked());
        QVERIFY(!window->CheckNotes->isChecked() && !window->CheckPhotos->isChecked());
        QVERIFY(!window->findChild<QCheckBox *>(QStringLiteral("ChkRemplacer")));
        QVERIFY(!window->PictDiskFreeSpace->isVisible() && !window->ProgBar->isVisible());

        Click(window, "CmdExport");
        QCOMPARE(f.dialogs.texts(), QStringList{T::ExportNoPath});

        f.dialogs.folders = {medium};
        Click(window, "CmdPathExport");
        QCOMPARE(window->TxtCheminReseau->text(), medium + QLatin1Char('/'));

        Click(window, "CmdCoch");
        QCOMPARE(window->ListPersonnages->selectedItems().size(), 2);
        QCOMPARE(window->CmdCoch->text(), QStringLiteral("Reset"));
        Click(window, "CmdCoch");
        QVERIFY(window->ListPersonnages->selectedItems().isEmpty());
        QCOMPARE(window->CmdCoch->text(), QStringLiteral("Select all"));
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
        QVERIFY(window->LbNecessaire->text().startsWith(QStringLiteral("Necessary space : ")));
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
};

QTEST_MAIN(TestFrmExport)
#include "tst_frmexport.moc"
