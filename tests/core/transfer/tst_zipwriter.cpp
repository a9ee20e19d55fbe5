#include "TestFiles.h"
#include "ZipTestArchive.h"
#include "core/transfer/ZipClass.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QTest>

using namespace tiradex;

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

// The offset of the central directory, read from the end record.
quint32 centralOffset(const QByteArray &zip)
{
    return get32(zip, zip.lastIndexOf(QByteArray("PK\x05\x06", 4)) + 16);
}

// The names the central directory lists, joined by ",".
QByteArray centralNames(const QByteArray &zip)
{
    QList<QByteArray> names;
    const qsizetype end = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
    for (qsizetype at = centralOffset(zip), i = 0; i < get16(zip, end + 10); ++i) {
        names.append(zip.mid(at + 46, get16(zip, at + 28)));
        at += 46 + get16(zip, at + 28) + get16(zip, at + 30) + get16(zip, at + 32);
    }
    return names.join(',');
}
} // namespace

class TestZipWriter : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void writesHandWrittenGoldenBytes()
    {
        const QDateTime modified(QDate(2004, 3, 5), QTime(13, 45, 27), Qt::LocalTime);
        ZipClass zip;
        QVERIFY(zip.AddFile(writeFile(path("_0057_HUBERT.tsd"), "2,3,17\r\n", modified), QString(),
                            "two"));
        zip.SetComment("vox");
        QVERIFY(zip.WriteZip(path("golden.zip")));
        QCOMPARE(
            ReadTestFile(path("golden.zip")).toHex(' '),
            parseHexListing(ReadTestFile(TIRADEX_TEST_DATA_DIR "/zip/tsd-member.hex")).toHex(' '));
    }

    // Each row: the file's local modification time and the name given; the
    // name, time and date stored in both headers.
    void headersHoldNameTimeAndDate_data()
    {
        QTest::addColumn<QDateTime>("modified");
        QTest::addColumn<QString>("givenName");
        QTest::addColumn<QByteArray>("stored");
        const auto local = [](int y, int mo, int d, int h, int mi, int s) {
            return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::LocalTime);
        };
        const QDateTime t = local(2004, 3, 5, 13, 45, 27);
        QTest::newRow("last second of a year")
            << local(2019, 12, 31, 23, 59, 59) << "" << QByteArray("take.wav bf7d 4f9f");
        QTest::newRow("before 1980 clamps to its first day")
            << local(1975, 6, 1, 10, 0, 0) << "" << QByteArray("take.wav 0 21");
        QTest::newRow("after 2107 clamps to its last second")
            << local(2110, 1, 1, 0, 0, 0) << "" << QByteArray("take.wav bf7d ff9f");
        QTest::newRow("given name stored as given")
            << t << "sub/other.wav" << QByteArray("sub/other.wav 6dad 3065");
        QTest::newRow("accented name in Windows-1252")
            << t << QStringLiteral("r\u00e9plique \u20ac.txt")
            << QByteArray("r\xe9plique \x80.txt 6dad 3065");
        QTest::newRow("character outside the code page becomes ?")
            << t << QStringLiteral("\u4e00.txt") << QByteArray("?.txt 6dad 3065");
    }
    void headersHoldNameTimeAndDate()
    {
        QFETCH(QDateTime, modified);
        QFETCH(QString, givenName);
        QFETCH(QByteArray, stored);
        ZipClass zip;
        QVERIFY2(zip.AddFile(writeFile(path("take.wav"), "data", modified), givenName) &&
                     zip.WriteZip(path("named.zip"), true),
                 qPrintable(zip.errorString()));
        const QByteArray bytes = ReadTestFile(path("named.zip"));
        const auto header = [&bytes](qsizetype at, qsizetype name, qsizetype time) {
            return bytes.mid(name, get16(bytes, at)) + ' ' +
                   QByteArray::number(get16(bytes, time), 16) + ' ' +
                   QByteArray::number(get16(bytes, time + 2), 16);
        };
        const quint32 c = centralOffset(bytes);
        QCOMPARE(header(26, 30, 10) + " | " + header(c + 28, c + 46, c + 12),
                 stored + " | " + stored);
    }

    // A refused source or name adds no member; a refused write leaves the
    // target as it was (or absent). The error names the file or the field.
    void refusedAddsAndWritesChangeNothing_data()
    {
        QTest::addColumn<QString>("source"); // added after good.txt
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("commentLength");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QByteArray>("left"); // the target's members, or its bytes
        QTest::newRow("missing source") << "nothing-here.wav" << true << "refused.zip" << 0
                                        << "nothing-here.wav" << QByteArray("good.txt");
        QTest::newRow("empty source")
            << "empty.wav" << true << "refused.zip" << 0 << "empty.wav" << QByteArray("good.txt");
        QTest::newRow("folder as source")
            << "a-folder" << true << "refused.zip" << 0 << "a-folder" << QByteArray("good.txt");
        QTest::newRow("overlong name")
            << "good.txt" << true << "refused.zip" << 0 << "good.txt" << QByteArray("good.txt");
        QTest::newRow("existing target without overwrite")
            << "" << false << "existing.vox" << 0 << "existing.vox" << QByteArray("previous take");
        QTest::newRow("existing target with overwrite")
            << "" << true << "existing.vox" << 0 << "" << QByteArray("good.txt");
        QTest::newRow("target in a missing folder")
            << "" << true << "no-such-folder/out.zip" << 0 << "out.zip" << QByteArray("<missing>");
        QTest::newRow("overlong comment")
            << "" << true << "comment.zip" << 70000 << "comment" << QByteArray("<missing>");
    }
    void refusedAddsAndWritesChangeNothing()
    {
        QFETCH(QString, source);
        QFETCH(bool, overwrite);
        QFETCH(QString, target);
        QFETCH(int, commentLength);
        QFETCH(QString, error);
        QFETCH(QByteArray, left);
        writeFile(path("empty.wav"), QByteArray());
        writeFile(path("existing.vox"), "previous take");
        QDir(m_dir.path()).mkpath("a-folder");
        ZipClass zip;
        QVERIFY(zip.AddFile(writeFile(path("good.txt"), "good")));
        zip.SetComment(QString(commentLength, 'x'));
        QString errors;
        if (!source.isEmpty() &&
            !zip.AddFile(path(source), source == "good.txt" ? QString(70000, 'n') : QString()))
            errors += zip.errorString();
        if (!zip.WriteZip(path(target), overwrite))
            errors += zip.errorString();
        const QByteArray after = ReadTestFile(path(target));
        QCOMPARE(after.startsWith("PK") ? centralNames(after) : after, left);
        QVERIFY2(error.isEmpty() ? errors.isEmpty() : errors.contains(error), qPrintable(errors));
    }
};

QTEST_GUILESS_MAIN(TestZipWriter)
#include "tst_zipwriter.moc"
