#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "TestFiles.h"
#include "ToolRunner.h"

using namespace tiradex;

// "tiradex-tool zip" and "tiradex-tool unzip": checks outside the test suite
// rely on their arguments, output lines and exit status.
namespace {
QStringList lines(const QByteArray &text)
{
    return QString::fromLocal8Bit(text).split('\n', Qt::SkipEmptyParts);
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
        QVERIFY(WriteTestFile(path("x/temp.wav"), "RIFF take"));
        QVERIFY(WriteTestFile(path("y/_0001_ANTONIO.tsd"), "1,1,4\r\n"));
        QCOMPARE(runTool({"zip", path("take.vox"), path("x/temp.wav"), path("y/_0001_ANTONIO.tsd")})
                     .exitCode,
                 0);
        // The writer stores bare names; renaming the member (same length)
        // gives it a folder.
        QVERIFY(WriteTestFile(path("a/b/c.txt"), "nested"));
        QCOMPARE(runTool({"zip", path("nested.zip"), path("a/b/c.txt")}).exitCode, 0);
        QVERIFY(WriteTestFile(path("nested.zip"),
                              ReadTestFile(path("nested.zip")).replace("c.txt", "b/c.t")));
        QVERIFY(WriteTestFile(path("kept/temp.wav"), "mine"));
    }

    // D/ in arguments, texts and files stands for the scratch folder;
    // `files` holds "path=content" after the run; an empty `out` is not checked.
    void commandsTellTheirOutcome_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("out");
        QTest::addColumn<QStringList>("err");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("unzip prints each status")
            << QStringList{"unzip", "D/take.vox", "D/out"} << 0
            << QStringList{"Opening Zip",
                           "Zip Opened",
                           "Extracting Files",
                           "Extracting .../temp.wav",
                           "Extracting .../_0001_ANTONIO.tsd",
                           "Extraction Complete",
                           "Zip Closed"}
            << QStringList{}
            << QStringList{"D/out/temp.wav=RIFF take", "D/out/_0001_ANTONIO.tsd=1,1,4\r\n"};
        QTest::newRow("unzip fails on any error")
            << QStringList{"unzip", "D/take.vox", "D/kept", "--no-overwrite"} << 1 << QStringList{}
            << QStringList{"ZipError 11: The file D/kept/temp.wav already exists"}
            << QStringList{"D/kept/temp.wav=mine", "D/kept/_0001_ANTONIO.tsd=1,1,4\r\n"};
        QTest::newRow("unzip of a missing archive")
            << QStringList{"unzip", "D/none.vox", "D/kept"} << 1 << QStringList{}
            << QStringList{"ZipError 10: The file D/none.vox doesn't exist"} << QStringList{};
        QTest::newRow("unzip keeps folders")
            << QStringList{"unzip", "D/nested.zip", "D/deep"} << 0 << QStringList{} << QStringList{}
            << QStringList{"D/deep/b/c.t=nested"};
        QTest::newRow("unzip flat")
            << QStringList{"unzip", "D/nested.zip", "D/flat", "--flat"} << 0 << QStringList{}
            << QStringList{} << QStringList{"D/flat/c.t=nested"};
        QTest::newRow("zip without files")
            << QStringList{"zip", "a.zip"} << 2 << QStringList{} << QStringList{} << QStringList{};
        QTest::newRow("unzip without folder") << QStringList{"unzip", "a.zip"} << 2 << QStringList{}
                                              << QStringList{} << QStringList{};
        QTest::newRow("unzip unknown option") << QStringList{"unzip", "a.zip", "out", "--fast"} << 2
                                              << QStringList{} << QStringList{} << QStringList{};
    }
    void commandsTellTheirOutcome()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QStringList, out);
        QFETCH(QStringList, err);
        QFETCH(QStringList, files);
        const QString root = m_dir.path() + '/';
        const ToolRun run = runTool(args.replaceInStrings("D/", root));
        QCOMPARE(run.exitCode, exitCode);
        if (exitCode == 2)
            return;
        if (!out.isEmpty())
            QCOMPARE(lines(run.out), out);
        QCOMPARE(lines(run.err), err.replaceInStrings("D/", root));
        for (const QString &file : files.replaceInStrings("D/", root)) {
            const qsizetype equals = file.indexOf('=');
            QCOMPARE(ReadTestFile(file.left(equals)), file.mid(equals + 1).toUtf8());
        }
    }
};

QTEST_GUILESS_MAIN(TestZipTool)
#include "tst_ziptool.moc"
