#include "gui/transfer/FrmExport.h"
#include "gui/transfer/FrmImport.h"

#include "FakeDiskSpace.h"
#include "PlayWindowFixture.h"
#include "VoxFiles.h"
#include "core/transfer/TransferTexts.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

using namespace tiradex;

namespace T = TransferTexts;

namespace {
// The play window of a test play with the fake disk space, and the export or
// import window opened from its button.
class TransferFixture : public PlayWindowFixture
{
public:
    FakeDiskSpace disk;

    // HUBERT and ARTHUR speak the `replies` replies of act 1 scene 1 in turn.
    void setUpPlay(int replies)
    {
        setUp({Hubert, Arthur}, {TestPlay::numberedScene(1, 1, 1, replies, {Hubert, Arthur})});
        openWindow();
        PlatformServices services;
        services.sound = &sound;
        services.diskSpace = &disk;
        play->setServices(services);
    }

    // Clicks the play window's button `button`; the window of type W it opens.
    template <class W> W *open(const char *button)
    {
        Click(play.get(), button);
        W *window = ShownWindow<W>();
        if (!window)
            qFatal("the transfer window did not open");
        return window;
    }
};

// Watches a transfer window while its transfer runs, from the progress
// bar's changes: what the user could see and do at those moments.
class TransferWatch : public QObject
{
public:
    explicit TransferWatch(TransferWindow *window) : m_window(window)
    {
        QObject::connect(window->ProgBar, &QProgressBar::valueChanged, this, [this](int value) {
            values.append(value);
            maximum = m_window->ProgBar->maximum();
            duringTransfer =
                duringTransfer && m_window->isTransferring() &&
                !m_window->CmdTransfer->isEnabled() && !m_window->ListPersonnages->isEnabled() &&
                m_window->PictDiskFreeSpace->isVisible() && QApplication::overrideCursor() &&
                !m_window->close(); // refused while it runs
        });
        window->ProgBar->installEventFilter(this);
    }

    QList<int> values;
    int maximum = 0;
    bool duringTransfer = true;
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint && m_window->isTransferring();
        return false;
    }

private:
    TransferWindow *m_window;
};
} // namespace

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
        QCOMPARE(QList<int>({watch.values.last(), watch.maximum}), QList<int>({55, 55}));
        QCOMPARE(QDir(medium).entryList(QDir::Files).size(), 28);
        QVERIFY(!window->PictDiskFreeSpace->isVisible() && !window->ProgBar->isVisible() &&
                window->CmdTransfer->isEnabled());
        QCOMPARE(window->LbEspaceLibre->text(),
                 QStringLiteral("Free space before transfer : 1048576 bytes"));
        window->close();
        QTRY_VERIFY(f.play->isVisible());
    }

    // The medium chosen, an import that keeps a good recording from a forged
    // one, the missing recordings on the medium.
    void importFromThePlayWindow()
    {
        f.setUpPlay(6);
        const QString medium = f.state->AppFolder + QStringLiteral("stick");
        // A packaged take for reply 1, staged in the play and moved out.
        f.record(1, ToneWav(300));
        TestPlay::write(medium + "/_0005_HUBERT.vox", "forged");
        QVERIFY(QFile::rename(f.state->VoxPath(f.baseName(1)), medium + "/_0001_HUBERT.vox"));
        f.disk.volumes.insert(f.state->AppFolder, {1 << 30, 1 << 20});
        auto *window = f.open<FrmImport>("CmdRecupVox");
        QVERIFY(!f.play->isVisible() && window->CheckVox->isChecked());

        Click(window, "CmdVoxManquants");
        f.dialogs.folders = {medium};
        Click(window, "CmdPathImport");
        QCOMPARE(window->TxtCheminReseau->text(), medium + '/');

        Click(window, "CmdCoch");
        TransferWatch watch(window);
        Click(window, "CmdImport");
        const QStringList told = f.dialogs.texts();
        QVERIFY2(told.size() == 3 && told.at(0) == T::ImportMissingNoMedium &&
                     told.at(1).contains(medium + "/_0005_HUBERT.vox") &&
                     told.at(2) == T::ImportEnded && watch.duringTransfer && watch.maximum == 1,
                 qPrintable(told.join('\n')));
        QCOMPARE(QDir(f.state->VoxFolder()).entryList(QDir::Files),
                 QStringList{"_0001_HUBERT.vox"});

        Click(window, "CmdVoxManquants");
        QCOMPARE(window->LstVoxManquants->count(), 4);
        window->close();
        QTRY_VERIFY(f.play->isVisible());
    }
};

QTEST_MAIN(TestTransferWindows)
#include "tst_transferwindows.moc"
