#include "gui/cipher/FrmCryptage.h"

#include "core/app/Module1.h"

#include "FakeDialogs.h"
#include "TestFiles.h"
#include "WidgetDriver.h"

#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

using namespace tiradex;

// The encryption tool, opened directly: its menu entry is never shown. The
// cipher itself is the core's; here, which file it is applied to and what
// the user is told.
class TestFrmCryptage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    Module1 m_state;
    FakeDialogs m_dialogs;
    // Two 1024-byte buffers and a tail that is not a whole block.
    const QByteArray m_clear = QByteArray(2 * 1024 + 13, 'q');

    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase() { m_state.StartUp(m_dir.path()); }
    void init()
    {
        m_dialogs = FakeDialogs();
        QVERIFY(WriteTestFile(path("merchantvenice.dat"), m_clear) &&
                WriteTestFile(path("verone.dat"), m_clear) &&
                WriteTestFile(path("notes.txt"), "not a data file"));
    }
    void cleanup() { QFile::remove(path("huge.dat")); }

    // Each row: the file picked, the buttons clicked in order, whether the
    // file is then back to its clear bytes, and whether the cipher fails
    // (its error must be shown, never the "done" message).
    void buttonsTransformOnlyThePickedFile_data()
    {
        QTest::addColumn<QString>("picked");
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<bool>("clear");
        QTest::addColumn<bool>("failed");
        QTest::newRow("encipher then decipher")
            << "merchantvenice.dat" << QStringList{"Command1", "Command2"} << true << false;
        QTest::newRow("encipher only")
            << "merchantvenice.dat" << QStringList{"Command1"} << false << false;
        // Over the cipher's size cap (sparse: no disk used), so it is refused.
        QTest::newRow("a failure is told, not reported as done")
            << "huge.dat" << QStringList{"Command1"} << false << true;
    }
    void buttonsTransformOnlyThePickedFile()
    {
        QFETCH(QString, picked);
        QFETCH(QStringList, clicks);
        QFETCH(bool, clear);
        QFETCH(bool, failed);
        QFile huge(path("huge.dat"));
        QVERIFY(!failed || (huge.open(QIODevice::WriteOnly) && huge.resize(300LL << 20)));
        FrmCryptage tool(m_state, m_dialogs);
        tool.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tool));
        QCOMPARE(tool.File1->count(), failed ? 3 : 2); // the data files only
        QVERIFY(!tool.Command1->isEnabled());
        Click(&tool, "Command2"); // nothing picked: nothing done, nothing said
        QVERIFY(m_dialogs.shown.isEmpty());

        QListWidgetItem *item = tool.File1->findItems(picked, Qt::MatchExactly).value(0);
        QTest::mouseClick(tool.File1->viewport(), Qt::LeftButton, {},
                          tool.File1->visualItemRect(item).center());
        for (const QString &name : clicks)
            Click(&tool, name.toLatin1().constData());
        QCOMPARE(QFileInfo(path(picked)).size(), failed ? 300LL << 20 : m_clear.size());
        if (!failed)
            QCOMPARE(ReadTestFile(path(picked)) == m_clear, clear);
        QCOMPARE(ReadTestFile(path("verone.dat")), m_clear);
        QCOMPARE(m_dialogs.shown.size(), clicks.size());
        for (const QString &told : m_dialogs.texts())
            QVERIFY2(failed ? told != "OK" && told.contains(picked) : told == "OK",
                     qPrintable(told));
        QCOMPARE(m_state.CipherMode, 0);
    }
};

QTEST_MAIN(TestFrmCryptage)
#include "tst_frmcryptage.moc"
