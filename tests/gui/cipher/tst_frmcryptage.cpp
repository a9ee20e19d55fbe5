#include "gui/cipher/FrmCryptage.h"

#include "core/app/Module1.h"

#include "FakeDialogs.h"
#include "WidgetDriver.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

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

    // Each row: the buttons clicked in order after picking merchantvenice.dat,
    // and whether the file is then back to its clear bytes.
    void buttonsTransformOnlyThePickedFile_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<bool>("clear");
        QTest::newRow("encipher then decipher") << QStringList{"Command1", "Command2"} << true;
        QTest::newRow("encipher only") << QStringList{"Command1"} << false;
    }
    void buttonsTransformOnlyThePickedFile()
    {
        QFETCH(QStringList, clicks);
        QFETCH(bool, clear);
        FrmCryptage tool(m_state, m_dialogs);
        tool.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tool));
        QCOMPARE(tool.File1->count(), 2); // the data files only
        QVERIFY(!tool.Command1->isEnabled());
        Click(&tool, "Command2"); // nothing picked: nothing done, nothing said
        QVERIFY(m_dialogs.shown.isEmpty());

        QListWidgetItem *merchant =
            tool.File1->findItems("merchantvenice.dat", Qt::MatchExactly)[0];
        QTest::mouseClick(tool.File1->viewport(), Qt::LeftButton, {},
                          tool.File1->visualItemRect(merchant).center());
        QCOMPARE(tool.Label1->text(), QStringLiteral("merchantvenice.dat"));
        QVERIFY(tool.Command1->isEnabled());
        for (const QString &name : clicks)
            Click(&tool, name.toLatin1().constData());
        QCOMPARE(read(path("merchantvenice.dat")) == clearText(), clear);
        QCOMPARE(read(path("merchantvenice.dat")).size(), clearText().size());
        QCOMPARE(read(path("verone.dat")), clearText());
        QCOMPARE(m_dialogs.texts(), QStringList(clicks.size(), QStringLiteral("OK")));
        QCOMPARE(m_state.CipherMode, 0);
    }
};

QTEST_MAIN(TestFrmCryptage)
#include "tst_frmcryptage.moc"
