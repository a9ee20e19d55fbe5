#include "core/transfer/ZipClass.h"
#include "core/transfer/ZipExtractionClass.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "TestFiles.h"

using namespace tiradex;

// Archives we write must satisfy Info-ZIP and Python's zipfile, and archives
// they write must extract byte for byte with our reader. The peers are test
// dependencies (scripts/deps.sh installs them); a missing one is a failure.
namespace {
QByteArray takeLikeBytes(qsizetype size)
{
    QByteArray bytes(size, '\0');
    quint32 noise = 12345;
    for (qsizetype i = 0; i < size; ++i) {
        noise = noise * 1103515245u + 12345u;
        bytes[i] = char(int(40 * ((i / 30) % 5)) + int((noise >> 16) % 9));
    }
    return bytes;
}

// Runs a peer program in `folder`; its exit code, or -1 when it cannot run.
int run(const QString &program, const QStringList &args, const QString &folder,
        QByteArray *output = nullptr)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    if (output)
        *output = process.readAll();
    return process.exitCode();
}

const char *const kPythonWriter = R"(
import sys, zipfile
archive, method, names = sys.argv[1], sys.argv[2], sys.argv[3:]
compression = zipfile.ZIP_STORED if method == 'stored' else zipfile.ZIP_DEFLATED
if method == 'streamed':
    # An unseekable output makes zipfile defer CRC and sizes to data descriptors.
    class Stream:
        def __init__(self, f): self.f = f
        def write(self, b): return self.f.write(b)
        def flush(self): self.f.flush()
    with open(archive, 'wb') as raw, zipfile.ZipFile(Stream(raw), 'w', compression) as z:
        for n in names:
            with open(n, 'rb') as f, z.open(n, 'w') as m: m.write(f.read())
else:
    with zipfile.ZipFile(archive, 'w', compression) as z:
        for n in names: z.write(n)
)";

const char *const kPythonChecker = R"(
import sys, zipfile
z = zipfile.ZipFile(sys.argv[1])
assert z.testzip() is None
for n in sys.argv[2:]:
    assert z.read(n) == open(n, 'rb').read(), n
)";
} // namespace

class TestZipInterop : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_sources; // the files to pack, with a nested one
    // Our writer stores names in Windows-1252, which the peers do not read
    // (Python takes unflagged names as code page 437), so the accented name
    // only goes the other way.
    const QStringList m_asciiNames{"temp.wav", "_0057_HUBERT.tsd", "a/b/c.txt"};
    const QStringList m_names = m_asciiNames + QStringList{QStringLiteral("r\u00e9plique.txt")};

private Q_SLOTS:
    void initTestCase()
    {
        for (const char *peer : {"zip", "unzip", "python3"})
            QVERIFY2(!QStandardPaths::findExecutable(peer).isEmpty(),
                     qPrintable(
                         QStringLiteral("%1 is missing (scripts/deps.sh installs it)").arg(peer)));
        QVERIFY(m_dir.isValid());
        m_sources = m_dir.filePath("sources");
        QVERIFY(WriteTestFile(m_sources + "/temp.wav", takeLikeBytes(400000)));
        QVERIFY(WriteTestFile(m_sources + "/_0057_HUBERT.tsd", "2,3,17\r\n"));
        QVERIFY(WriteTestFile(m_sources + "/a/b/c.txt", "nested"));
        QVERIFY(WriteTestFile(m_sources + QStringLiteral("/r\u00e9plique.txt"), "accent"));
    }

    void peersAcceptOurArchives()
    {
        ZipClass zip;
        for (const QString &name : m_asciiNames)
            QVERIFY(zip.AddFile(m_sources + "/" + name, name, "comment on " + name));
        zip.SetComment(QStringLiteral("archive comment"));
        const QString archive = m_dir.filePath("ours.zip");
        QVERIFY(zip.WriteZip(archive));
        QByteArray output;
        QVERIFY2(run("unzip", {"-t", archive}, m_sources, &output) == 0, output.constData());
        QVERIFY2(run("python3", QStringList{"-c", kPythonChecker, archive} + m_asciiNames,
                     m_sources, &output) == 0,
                 output.constData());
    }

    void ourReaderExtractsPeerArchives_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("args");
        QTest::newRow("Info-ZIP deflate") << "zip" << QStringList{"-q", "-6", "ARCHIVE"};
        QTest::newRow("Info-ZIP stored") << "zip" << QStringList{"-q", "-0", "ARCHIVE"};
        QTest::newRow("Python deflate")
            << "python3" << QStringList{"-c", kPythonWriter, "ARCHIVE", "deflated"};
        QTest::newRow("Python stored")
            << "python3" << QStringList{"-c", kPythonWriter, "ARCHIVE", "stored"};
        QTest::newRow("Python with data descriptors")
            << "python3" << QStringList{"-c", kPythonWriter, "ARCHIVE", "streamed"};
    }
    void ourReaderExtractsPeerArchives()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, args);
        const QString archive = m_dir.filePath(QTest::currentDataTag() + QStringLiteral(".zip"));
        args.replaceInStrings(QStringLiteral("ARCHIVE"), archive);
        QByteArray output;
        QVERIFY2(run(program, args + m_names, m_sources, &output) == 0, output.constData());

        ZipExtractionClass reader;
        QStringList errors;
        connect(&reader, &ZipExtractionClass::ZipError, this,
                [&errors](int, const QString &text) { errors.append(text); });
        const QString out = m_dir.filePath(QTest::currentDataTag() + QStringLiteral(" out"));
        QVERIFY(reader.OpenZip(archive));
        QVERIFY(reader.Extract(out, true, true));
        QCOMPARE(errors, QStringList{});
        for (const QString &name : m_names)
            QVERIFY2(ReadTestFile(out + "/" + name) == ReadTestFile(m_sources + "/" + name),
                     qPrintable(name));
    }
};

QTEST_GUILESS_MAIN(TestZipInterop)
#include "tst_zipinterop.moc"
