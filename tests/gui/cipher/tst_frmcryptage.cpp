#include "gui/cipher/FrmCryptage.h"

#include "core/app/Module1.h"

#include "FakeDialogs.h"
#include "WidgetDriver.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// The encryption tool, opened directly: its menu entry is never shown.
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
    // A clear file with a whole number of 1024-byte buffers and a tail that
    // is not a whole block.
    static QByteArray clearText()
    {
        QByteArray bytes;
        for (int i = 0; i < 2 * 1024 + 13; ++i)
            bytes.append(char('"' + i % 61));
        return bytes;
    }
    void pick(FrmCryptage &tool, const QString &name)
    {
        const QList<QListWidgetItem *> items = tool.File1->findItems(name, Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        const QRect where = tool.File1->visualItemRect(items.first());
        QTest::mouseClick(tool.File1->viewport(), Qt::LeftButton, {}, where.center());
        QCOMPARE(tool.Label1->text(), name);
    }

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

    void opensOnTheDataFilesWithCrypterDisabled()
    {
        FrmCryptage tool(m_state, m_dialogs);
        QCOMPARE(tool.windowTitle(), QStringLiteral("Cryptage"));
        QCOMPARE(tool.Command1->text(), QStringLiteral("Crypter"));
        QCOMPARE(tool.Command2->text(), QStringLiteral("D\u00E9crypter"));
        QStringList listed;
        for (int i = 0; i < tool.File1->count(); ++i)
            listed.append(tool.File1->item(i)->text());
        QCOMPARE(listed, (QStringList{"merchantvenice.dat", "verone.dat"}));
        QVERIFY(tool.Label1->text().isEmpty());
        QVERIFY(!tool.Command1->isEnabled());
        QVERIFY(tool.Command2->isEnabled());
    }

    // Each row: the buttons clicked in order after picking merchantvenice.dat,
    // and whether the file is then back to its clear bytes.
    void buttonsTransformOnlyThePickedFile_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<bool>("clear");
        QTest::newRow("encipher then decipher") << QStringList{"Command1", "Command2"} << true;
        QTest::newRow("encipher only") << QStringList{"Command1"} << false;
        QTest::newRow("twice enciphered, one deciphering")
            << QStringList{"Command1", "Command1", "Command2"} << false;
        QTest::newRow("twice enciphered, two decipherings")
            << QStringList{"Command1", "Command1", "Command2", "Command2"} << true;
    }
    void buttonsTransformOnlyThePickedFile()
    {
        QFETCH(QStringList, clicks);
        QFETCH(bool, clear);
        FrmCryptage tool(m_state, m_dialogs);
        tool.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tool));
        pick(tool, QStringLiteral("merchantvenice.dat"));
        QVERIFY(tool.Command1->isEnabled());
        QByteArray previous = read(path("merchantvenice.dat"));
        for (const QString &name : clicks) {
            Click(&tool, name.toLatin1().constData());
            const QByteArray now = read(path("merchantvenice.dat"));
            QVERIFY2(now != previous, qPrintable(name + " left the file unchanged"));
            QCOMPARE(now.size(), clearText().size());
            previous = now;
        }
        QCOMPARE(read(path("merchantvenice.dat")) == clearText(), clear);
        QCOMPARE(read(path("verone.dat")), clearText());
        QCOMPARE(m_dialogs.texts(), QStringList(clicks.size(), QStringLiteral("OK")));
        QCOMPARE(m_state.CipherMode, 0);
    }

    void decrypterWithoutAPickDoesNothing()
    {
        FrmCryptage tool(m_state, m_dialogs);
        tool.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tool));
        Click(&tool, "Command2");
        Click(&tool, "Command1"); // disabled: ignored
        QCOMPARE(read(path("merchantvenice.dat")), clearText());
        QCOMPARE(read(path("verone.dat")), clearText());
        QVERIFY(m_dialogs.shown.isEmpty());
    }

    void skippedShortFileStillEndsWithOk()
    {
        write(path("short.dat"), "1234567");
        FrmCryptage tool(m_state, m_dialogs);
        tool.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tool));
        pick(tool, QStringLiteral("short.dat"));
        Click(&tool, "Command1");
        QCOMPARE(read(path("short.dat")), QByteArray("1234567"));
        QCOMPARE(m_dialogs.texts(), QStringList{"OK"});
        QFile::remove(path("short.dat"));
    }
};

QTEST_MAIN(TestFrmCryptage)
#include "tst_frmcryptage.moc"
