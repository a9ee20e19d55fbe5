#include "gui/cipher/FrmCryptage.h"

#include "core/app/Module1.h"

#include "FakeDialogs.h"
#include "WidgetDriver.h"

#include <QFile>
#include <QFileInfo>
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

    QString path(const QString &name) const { return m_dir.filePath(name); }
    static QByteArray read(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void write(const QString &file, const QByteArray &bytes)
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    // Two 1024-byte buffers and a tail that is not a whole block.
    static QByteArray clearText() { return QByteArray(2 * 1024 + 13, 'q'); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_state.StartUp(m_dir.path());
    }
    void init()
    {
        m_dialogs = FakeDialogs();
        write(path("merchantvenice.dat"), clearText());
        write(path("verone.dat"), clearText());
        write(path("notes.txt"), "not a data file");
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
        const qint64 size = failed ? 300LL * 1024 * 1024 : clearText().size();
        if (failed) {
            QFile huge(path(picked));
            QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(size));
        }
        FrmCryptage tool(m_state, m_dialogs);
        tool.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tool));
        QCOMPARE(tool.File1->count(), failed ? 3 : 2); // the data files only
        QVERIFY(!tool.Command1->isEnabled());
        Click(&tool, "Command2"); // nothing picked: nothing done, nothing said
        QVERIFY(m_dialogs.shown.isEmpty());

        QListWidgetItem *item = tool.File1->findItems(picked, Qt::MatchExactly)[0];
        QTest::mouseClick(tool.File1->viewport(), Qt::LeftButton, {},
                          tool.File1->visualItemRect(item).center());
        QCOMPARE(tool.Label1->text(), picked);
        QVERIFY(tool.Command1->isEnabled());
        for (const QString &name : clicks)
            Click(&tool, name.toLatin1().constData());
        QCOMPARE(QFileInfo(path(picked)).size(), size);
        if (!failed)
            QCOMPARE(read(path(picked)) == clearText(), clear);
        QCOMPARE(read(path("verone.dat")), clearText());
        QCOMPARE(m_dialogs.shown.size(), clicks.size());
        for (const QString &told : m_dialogs.texts()) {
            if (failed)
                QVERIFY2(told != QStringLiteral("OK") && told.contains(picked), qPrintable(told));
            else
                QCOMPARE(told, QStringLiteral("OK"));
        }
        QCOMPARE(m_state.CipherMode, 0);
    }
};

QTEST_MAIN(TestFrmCryptage)
#include "tst_frmcryptage.moc"
