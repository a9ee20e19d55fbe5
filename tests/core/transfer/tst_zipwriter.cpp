#include "ZipTestArchive.h"
#include "core/transfer/ZipClass.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace ZipTest;

namespace {
QString writeFile(const QString &path, const QByteArray &bytes, const QDateTime &modified = {})
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    // Flushed first: a later flush would set the modification time again.
    if (modified.isValid() &&
        !(file.flush() && file.setFileTime(modified, QFileDevice::FileModificationTime)))
        return QString();
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Something that compresses somewhat, like a take: a wave with noise.
QByteArray takeLikeBytes(qsizetype size)
{
    QRandomGenerator random(42);
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i % 97) * 2 + int(random.bounded(7)));
    return bytes;
}

// Offsets of the parts of an archive, read by walking it from its end record.
struct Layout
{
    quint32 centralOffset = 0;
    quint32 centralSize = 0;
    quint16 entries = 0;
    QList<QByteArray> names;
    QList<quint32> localOffsets;
};

Layout walk(const QByteArray &zip)
{
    Layout layout;
    const qsizetype end = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
    layout.entries = get16(zip, end + 10);
    layout.centralSize = get32(zip, end + 12);
    layout.centralOffset = get32(zip, end + 16);
    qsizetype at = layout.centralOffset;
    for (int i = 0; i < layout.entries; ++i) {
        const quint16 nameLength = get16(zip, at + 28);
        layout.names.append(zip.mid(at + 46, nameLength));
        layout.localOffsets.append(get32(zip, at + 42));
        at += 46 + nameLength + get16(zip, at + 30) + get16(zip, at + 32);
    }
    return layout;
}
} // namespace

class TestZipWriter : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void writesHandWrittenGoldenBytes()
    {
        const QDateTime modified(QDate(2004, 3, 5), QTime(13, 45, 27), Qt::LocalTime);
        const QString source = writeFile(path("_0057_HUBERT.tsd"), "2,3,17\r\n", modified);
        ZipClass zip;
        QVERIFY(zip.AddFile(source, QString(), QStringLiteral("two")));
        zip.SetComment(QStringLiteral("vox"));
        QVERIFY(zip.WriteZip(path("golden.zip")));
        QFile golden(QStringLiteral(TIRADEX_TEST_DATA_DIR "/zip/tsd-member.hex"));
        QVERIFY(golden.open(QIODevice::ReadOnly));
        QCOMPARE(readFile(path("golden.zip")).toHex(' '),
                 parseHexListing(golden.readAll()).toHex(' '));
    }

    void centralDirectoryListsMembersInOrderWithTheirOffsets()
    {
        const QString first = writeFile(path("temp.wav"), takeLikeBytes(5000));
        const QString second = writeFile(path("_0001_ANTONIO.tsd"), "1,1,4\r\n");
        ZipClass zip;
        QVERIFY(zip.AddFile(first));
        QVERIFY(zip.AddFile(second, QString(), QStringLiteral("a member comment")));
        QCOMPARE(zip.FileCount(), 2);
        QVERIFY(zip.WriteZip(path("two.zip")));
        const QByteArray bytes = readFile(path("two.zip"));
        const Layout layout = walk(bytes);

        QCOMPARE(layout.entries, quint16(2));
        QCOMPARE(layout.names, (QList<QByteArray>{"temp.wav", "_0001_ANTONIO.tsd"}));
        qint64 localTotal = 0;
        for (int i = 0; i < 2; ++i) {
            const quint32 at = layout.localOffsets.at(i);
            QCOMPARE(get32(bytes, at), quint32(0x04034B50));
            QCOMPARE(bytes.mid(at + 30, get16(bytes, at + 26)), layout.names.at(i));
            localTotal += 30 + get16(bytes, at + 26) + get32(bytes, at + 18);
        }
        QCOMPARE(qint64(layout.centralOffset), localTotal);
        const qsizetype namesLength = layout.names.at(0).size() + layout.names.at(1).size();
        QCOMPARE(qint64(layout.centralSize), 46 * 2 + namesLength + qsizetype(16));
    }

    // The data are deflated in pieces; they must still be exactly the bytes
    // that zlib's one-call compress() yields, and inflate to the source.
    void memberDataAreCompressOutputWithoutHeaderAndTrailer()
    {
        const QByteArray source = takeLikeBytes(3 * 1024 * 1024 + 123);
        ZipClass zip;
        QVERIFY(zip.AddFile(writeFile(path("big.wav"), source)));
        QVERIFY(zip.WriteZip(path("big.zip"), true));
        const QByteArray bytes = readFile(path("big.zip"));
        const quint32 compressedSize = get32(bytes, 18);
        const QByteArray data = bytes.mid(30 + get16(bytes, 26), compressedSize);

        uLongf capacity = compressBound(uLong(source.size()));
        QByteArray reference(qsizetype(capacity), '\0');
        QCOMPARE(compress(reinterpret_cast<Bytef *>(reference.data()), &capacity,
                          reinterpret_cast<const Bytef *>(source.constData()),
                          uLong(source.size())),
                 Z_OK);
        reference.resize(qsizetype(capacity));
        QCOMPARE(data.size(), reference.size() - 6);
        QVERIFY(data == reference.mid(2, reference.size() - 6));
        QVERIFY(rawInflate(data, source.size()) == source);
        QCOMPARE(get32(bytes, 22), quint32(source.size()));
        QCOMPARE(get32(bytes, 14), crcOf(source));
    }

    void dosTimeAndDateComeFromLocalModificationTime_data()
    {
        QTest::addColumn<QDateTime>("modified");
        QTest::addColumn<quint16>("time");
        QTest::addColumn<quint16>("date");
        const auto local = [](int y, int mo, int d, int h, int mi, int s) {
            return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::LocalTime);
        };
        QTest::newRow("5 March 2004 13:45:27")
            << local(2004, 3, 5, 13, 45, 27) << quint16(0x6DAD) << quint16(0x3065);
        QTest::newRow("even second kept")
            << local(2004, 3, 5, 13, 45, 26) << quint16(0x6DAD) << quint16(0x3065);
        QTest::newRow("last second of a year")
            << local(2019, 12, 31, 23, 59, 59) << quint16(0xBF7D) << quint16(0x4F9F);
        QTest::newRow("before 1980 clamps to its first day")
            << local(1975, 6, 1, 10, 0, 0) << quint16(0) << quint16(0x0021);
        QTest::newRow("after 2107 clamps to its last second")
            << local(2110, 1, 1, 0, 0, 0) << quint16(0xBF7D) << quint16(0xFF9F);
    }
    void dosTimeAndDateComeFromLocalModificationTime()
    {
        QFETCH(QDateTime, modified);
        QFETCH(quint16, time);
        QFETCH(quint16, date);
        ZipClass zip;
        QVERIFY(zip.AddFile(writeFile(path("dated.txt"), "x", modified)));
        QVERIFY(zip.WriteZip(path("dated.zip"), true));
        const QByteArray bytes = readFile(path("dated.zip"));
        QCOMPARE(get16(bytes, 10), time);
        QCOMPARE(get16(bytes, 12), date);
        const quint32 central = walk(bytes).centralOffset;
        QCOMPARE(get16(bytes, central + 12), time);
        QCOMPARE(get16(bytes, central + 14), date);
    }

    void storedNameFollowsPathOrGivenName_data()
    {
        QTest::addColumn<QString>("fileName");  // created in the scratch folder
        QTest::addColumn<bool>("relativePath"); // add it by bare name from there
        QTest::addColumn<QString>("givenName");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("full path stores the last part")
            << "take.wav" << false << "" << QByteArray("take.wav");
        QTest::newRow("path without separator stored whole")
            << "plain.txt" << true << "" << QByteArray("plain.txt");
        QTest::newRow("given name stored as given")
            << "take.wav" << false << "sub/other.wav" << QByteArray("sub/other.wav");
        QTest::newRow("accented name in Windows-1252")
            << "take.wav" << false << QStringLiteral("r\u00e9plique \u20ac.txt")
            << QByteArray("r\xe9plique \x80.txt");
        QTest::newRow("character outside the code page becomes ?")
            << "take.wav" << false << QStringLiteral("\u4e00.txt") << QByteArray("?.txt");
    }
    void storedNameFollowsPathOrGivenName()
    {
        QFETCH(QString, fileName);
        QFETCH(bool, relativePath);
        QFETCH(QString, givenName);
        QFETCH(QByteArray, stored);
        writeFile(path(fileName), "data");
        const QString previous = QDir::currentPath();
        if (relativePath)
            QDir::setCurrent(m_dir.path());
        ZipClass zip;
        const bool added = zip.AddFile(relativePath ? fileName : path(fileName), givenName);
        QDir::setCurrent(previous);
        QVERIFY2(added, qPrintable(zip.errorString()));
        QVERIFY(zip.WriteZip(path("named.zip"), true));
        const QByteArray bytes = readFile(path("named.zip"));
        QCOMPARE(bytes.mid(30, get16(bytes, 26)), stored);
        QCOMPARE(walk(bytes).names, QList<QByteArray>{stored});
    }

    void refusedSourcesAddNoMember_data()
    {
        QTest::addColumn<QString>("source");
        QTest::newRow("missing file") << "nothing-here.wav";
        QTest::newRow("empty file") << "empty.wav";
        QTest::newRow("folder") << "a-folder";
    }
    void refusedSourcesAddNoMember()
    {
        QFETCH(QString, source);
        writeFile(path("empty.wav"), QByteArray());
        QDir(m_dir.path()).mkpath("a-folder");
        ZipClass zip;
        QVERIFY(zip.AddFile(writeFile(path("good.txt"), "good")));
        QVERIFY(!zip.AddFile(path(source)));
        QVERIFY(zip.errorString().contains(path(source)));
        QCOMPARE(zip.FileCount(), 1);
        QVERIFY(zip.WriteZip(path("refused.zip"), true));
        QCOMPARE(walk(readFile(path("refused.zip"))).names, QList<QByteArray>{"good.txt"});
    }

    void existingTargetIsKeptWithoutOverwrite()
    {
        const QString target = writeFile(path("existing.vox"), "previous take");
        ZipClass zip;
        QVERIFY(zip.AddFile(writeFile(path("new.txt"), "new")));
        QVERIFY(!zip.WriteZip(target));
        QVERIFY(!zip.WriteZip(target, false));
        QCOMPARE(readFile(target), QByteArray("previous take"));
        QVERIFY(zip.WriteZip(target, true));
        QCOMPARE(walk(readFile(target)).names, QList<QByteArray>{"new.txt"});
    }

    void unwritableTargetFailsAndLeavesNothing()
    {
        ZipClass zip;
        QVERIFY(zip.AddFile(writeFile(path("lost.txt"), "x")));
        const QString target = path("no-such-folder/out.zip");
        QVERIFY(!zip.WriteZip(target, true));
        QVERIFY(zip.errorString().contains(target));
        QVERIFY(!QFile::exists(target));
    }

    void overlongCommentIsRefused()
    {
        ZipClass zip;
        QVERIFY(zip.AddFile(writeFile(path("c.txt"), "c")));
        zip.SetComment(QString(70000, QLatin1Char('x')));
        QVERIFY(!zip.WriteZip(path("comment.zip"), true));
        QVERIFY(!QFile::exists(path("comment.zip")));
        QVERIFY(!zip.AddFile(path("c.txt"), QString(70000, QLatin1Char('n'))));
        QCOMPARE(zip.FileCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestZipWriter)
#include "tst_zipwriter.moc"
