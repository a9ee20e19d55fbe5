#include "core/transfer/ZipClass.h"
#include "core/transfer/ZipExtractionClass.h"

#include <QTemporaryDir>
#include <QTest>

#include "TestFiles.h"
#include "ToolRunner.h"
#include "VoxFiles.h"

using namespace tiradex;

// Archives we write must extract byte for byte with Info-ZIP and Python's
// zipfile, and archives they write with our reader. The peers are test
// dependencies (scripts/deps.sh installs them); a missing one fails its rows.
namespace {
// Runs a peer's `command` in `folder`; a failure with its output.
QString failureOf(const QStringList &command, const QString &folder)
{
    RunOptions options;
    options.folder = folder;
    const ToolRun run = runProgram(command.first(), command.mid(1), options);
    return run.exitCode == 0 ? QString()
                             : QString::fromLocal8Bit(run.out + run.err) + " (exit code " +
                                   QString::number(run.exitCode) + ")";
}

const char *const kPythonWriter = R"(
import sys, zipfile
archive, method, names = sys.argv[1], sys.argv[2], sys.argv[3:]
class Stream:  # unseekable: zipfile defers CRC and sizes to data descriptors
    def __init__(self, f): self.f = f
    def write(self, b): return self.f.write(b)
    def flush(self): self.f.flush()
with open(archive, 'wb') as raw, zipfile.ZipFile(
        Stream(raw) if method == 'streamed' else raw, 'w',
        zipfile.ZIP_STORED if method == 'stored' else zipfile.ZIP_DEFLATED) as z:
    for n in names: z.writestr(n, open(n, 'rb').read())
)";
} // namespace

class TestZipInterop : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_sources; // the files to pack, with a nested one and a 400 kB take
    // Our writer stores names in Windows-1252, which the peers do not read
    // (Python takes unflagged names as code page 437), so the accented name
    // only goes from the peers to us.
    const QStringList m_asciiNames{"temp.wav", "_0057_HUBERT.tsd", "a/b/c.txt"};
    const QStringList m_names = m_asciiNames + QStringList{QStringLiteral("r\u00e9plique.txt")};

private Q_SLOTS:
    void initTestCase()
    {
        m_sources = m_dir.filePath("sources");
        QVERIFY(WriteTestFile(m_sources + "/temp.wav", ToneWav(25000)) &&
                WriteTestFile(m_sources + "/_0057_HUBERT.tsd", "2,3,17\r\n") &&
                WriteTestFile(m_sources + "/a/b/c.txt", "nested") &&
                WriteTestFile(m_sources + QStringLiteral("/r\u00e9plique.txt"), "accent"));
    }

    // The command that writes the archive and the one that extracts it;
    // "ours" for our classes. ARCHIVE and OUT stand for the archive and the
    // extraction folder.
    void archivesCrossBetweenUsAndPeers_data()
    {
        QTest::addColumn<QStringList>("writer");
        QTest::addColumn<QStringList>("reader");
        const QStringList ours{"ours"};
        QTest::newRow("ours to Info-ZIP") << ours << QStringList{"unzip", "ARCHIVE", "-d", "OUT"};
        QTest::newRow("ours to Python")
            << ours << QStringList{"python3", "-m", "zipfile", "-e", "ARCHIVE", "OUT"};
        QTest::newRow("Info-ZIP deflate") << QStringList{"zip", "-q", "-6", "ARCHIVE"} << ours;
        for (const char *method : {"deflated", "stored", "streamed"})
            QTest::addRow("Python %s", method)
                << QStringList{"python3", "-c", kPythonWriter, "ARCHIVE", method} << ours;
    }
    void archivesCrossBetweenUsAndPeers()
    {
        QFETCH(QStringList, writer);
        QFETCH(QStringList, reader);
        const QString archive = m_dir.filePath(QTest::currentDataTag() + QStringLiteral(".zip"));
        const QString out = m_dir.filePath(QTest::currentDataTag() + QStringLiteral(" out"));
        const bool ourWriter = writer.first() == "ours";
        const QStringList names = ourWriter ? m_asciiNames : m_names;
        if (ourWriter) {
            ZipClass zip;
            for (const QString &name : names)
                QVERIFY(zip.AddFile(m_sources + "/" + name, name, "comment on " + name));
            zip.SetComment(QStringLiteral("archive comment"));
            QVERIFY(zip.WriteZip(archive));
        } else {
            QCOMPARE(failureOf(writer.replaceInStrings("ARCHIVE", archive) + names, m_sources),
                     QString());
        }
        if (reader.first() == "ours") {
            ZipExtractionClass ourReader;
            QStringList errors;
            connect(&ourReader, &ZipExtractionClass::ZipError, this,
                    [&errors](int, const QString &text) { errors.append(text); });
            QVERIFY(ourReader.OpenZip(archive) && ourReader.Extract(out, true, true));
            QCOMPARE(errors, QStringList{});
        } else {
            reader.replaceInStrings("ARCHIVE", archive).replaceInStrings("OUT", out);
            QCOMPARE(failureOf(reader, m_sources), QString());
        }
        for (const QString &name : names)
            QVERIFY2(ReadTestFile(out + "/" + name) == ReadTestFile(m_sources + "/" + name),
                     qPrintable(name));
    }
};

QTEST_GUILESS_MAIN(TestZipInterop)
#include "tst_zipinterop.moc"
