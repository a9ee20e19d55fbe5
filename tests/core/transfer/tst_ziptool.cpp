#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "ToolRunner.h"

// "tiradex-tool zip" and "tiradex-tool unzip": checks outside the test suite
// rely on their arguments, output lines and exit status.
namespace {
struct Result
{
    int exitCode = -1;
    QStringList out;
    QStringList err;
};

Result tool(const QStringList &args)
{
    const ToolRun run = runTool(args);
    Result result;
    result.exitCode = run.exitCode;
    result.out = QString::fromLocal8Bit(run.out).split('\n', Qt::SkipEmptyParts);
    result.err = QString::fromLocal8Bit(run.err).split('\n', Qt::SkipEmptyParts);
    return result;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
} // namespace

class TestZipTool : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(writeBytes(path("x/temp.wav"), "RIFF take"));
        QVERIFY(writeBytes(path("y/_0001_ANTONIO.tsd"), "1,1,4\r\n"));
        const Result zipped =
            tool({"zip", path("take.vox"), path("x/temp.wav"), path("y/_0001_ANTONIO.tsd")});
        QCOMPARE(zipped.exitCode, 0);
    }

    void zipStoresBareNamesAndUnzipPrintsEachStatus()
    {
        const Result result = tool({"unzip", path("take.vox"), path("out")});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(
            result.out,
            (QStringList{"Opening Zip", "Zip Opened", "Extracting Files", "Extracting .../temp.wav",
                         "Extracting .../_0001_ANTONIO.tsd", "Extraction Complete", "Zip Closed"}));
        QCOMPARE(readBytes(path("out/temp.wav")), QByteArray("RIFF take"));
        QCOMPARE(readBytes(path("out/_0001_ANTONIO.tsd")), QByteArray("1,1,4\r\n"));
    }

    void unzipFailsWhenAnyErrorIsRaised()
    {
        QVERIFY(writeBytes(path("kept/temp.wav"), "mine"));
        const Result kept = tool({"unzip", path("take.vox"), path("kept"), "--no-overwrite"});
        QCOMPARE(kept.exitCode, 1);
        QCOMPARE(kept.err,
                 QStringList{"ZipError 11: The file " + path("kept/temp.wav") + " already exists"});
        QCOMPARE(readBytes(path("kept/temp.wav")), QByteArray("mine"));
        QCOMPARE(readBytes(path("kept/_0001_ANTONIO.tsd")), QByteArray("1,1,4\r\n"));

        const Result missing = tool({"unzip", path("none.vox"), path("kept")});
        QCOMPARE(missing.exitCode, 1);
        QCOMPARE(missing.err,
                 QStringList{"ZipError 10: The file " + path("none.vox") + " doesn't exist"});
    }

    void unzipKeepsFoldersUnlessFlat()
    {
        QVERIFY(writeBytes(path("a/b/c.txt"), "nested"));
        QCOMPARE(tool({"zip", path("nested.zip"), path("a/b/c.txt")}).exitCode, 0);
        // The writer stores bare names; rename the member (same length) to
        // give it a folder.
        QByteArray bytes = readBytes(path("nested.zip"));
        bytes.replace("c.txt", "b/c.t");
        QVERIFY(writeBytes(path("nested.zip"), bytes));
        QCOMPARE(tool({"unzip", path("nested.zip"), path("deep")}).exitCode, 0);
        QCOMPARE(readBytes(path("deep/b/c.t")), QByteArray("nested"));
        QCOMPARE(tool({"unzip", path("nested.zip"), path("flat"), "--flat"}).exitCode, 0);
        QCOMPARE(QDir(path("flat")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"c.t"});
    }

    void badArgumentsExitWithTwo_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("zip without files") << QStringList{"zip", "a.zip"};
        QTest::newRow("unzip without folder") << QStringList{"unzip", "a.zip"};
        QTest::newRow("unzip unknown option") << QStringList{"unzip", "a.zip", "out", "--fast"};
    }
    void badArgumentsExitWithTwo()
    {
        QFETCH(QStringList, args);
        QCOMPARE(tool(args).exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(TestZipTool)
#include "tst_ziptool.moc"
