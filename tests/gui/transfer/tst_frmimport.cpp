#include "gui/transfer/FrmImport.h"

#include "TransferFixture.h"
#include "VoxFiles.h"
#include "core/transfer/TransferTexts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>

namespace T = TransferTexts;

class TestFrmImport : public QObject
{
    Q_OBJECT

private:
    TransferFixture f;

private Q_SLOTS:
    // The window from the play window's button: captions, the medium's
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
        QCOMPARE(window->windowTitle(), QStringLiteral("Importer"));
        QCOMPARE(window->Frame1->title(), QStringLiteral("Chemin d'accès au périphérique"));
        QCOMPARE(window->Frame2->title(), QStringLiteral("Options d'import"));
        QCOMPARE(window->CmdTransfer->text(), QStringLiteral("Importer"));
        QCOMPARE(window->CmdVoxManquants->text(),
                 QStringLiteral("Vérifier les fichiers Vox manquants"));
        QCOMPARE(window->ChkRemplacer->text(), QStringLiteral("Remplacer les fichiers existants"));
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

QTEST_MAIN(TestFrmImport)
#include "tst_frmimport.moc"
