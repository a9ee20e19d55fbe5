#include "TestFiles.h"
#include "ZipTestArchive.h"
#include "core/transfer/ZipClass.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
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

// The central directory of an archive, read by walking it from its end record.
struct Layout
{
    quint32 centralOffset = 0;
    QList<QByteArray> names;
};

Layout walk(const QByteArray &zip)
{
    Layout layout;
    const qsizetype end = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
    layout.centralOffset = get32(zip, end + 16);
    qsizetype at = layout.centralOffset;
    for (int i = 0; i < get16(zip, end + 10); ++i) {
        const quint16 nameLength = get16(zip, at + 28);
        layout.names.append(zip.mid(at + 46, nameLength));
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
        QCOMPARE(ReadTestFile(path("golden.zip")).toHex(' '),
                 parseHexListing(golden.readAll()).toHex(' '));
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
        const QByteArray bytes = ReadTestFile(path("dated.zip"));
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
        const QByteArray bytes = ReadTestFile(path("named.zip"));
        QCOMPARE(bytes.mid(30, get16(bytes, 26)), stored);
        QCOMPARE(walk(bytes).names, QList<QByteArray>{stored});
    }

    // A refused source adds no member; a refused write leaves the target as
    // it was (or absent) and the error names it.
    void refusedAddsAndWritesChangeNothing_data()
    {
        QTest::addColumn<QString>("source"); // added after good.txt
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<int>("commentLength");
        QTest::addColumn<QByteArray>("left"); // the target afterwards
        const QByteArray none("<missing>");
        QTest::newRow("missing source") << "nothing-here.wav"
                                        << "" << true << 0 << none;
        QTest::newRow("empty source") << "empty.wav"
                                      << "" << true << 0 << none;
        QTest::newRow("folder as source") << "a-folder"
                                          << "" << true << 0 << none;
        QTest::newRow("existing target without overwrite")
            << ""
            << "existing.vox" << false << 0 << QByteArray("previous take");
        QTest::newRow("target in a missing folder")
            << ""
            << "no-such-folder/out.zip" << true << 0 << none;
        QTest::newRow("overlong comment") << ""
                                          << "comment.zip" << true << 70000 << none;
    }
    void refusedAddsAndWritesChangeNothing()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(bool, overwrite);
        QFETCH(int, commentLength);
        QFETCH(QByteArray, left);
        writeFile(path("empty.wav"), QByteArray());
        writeFile(path("existing.vox"), "previous take");
        QDir(m_dir.path()).mkpath("a-folder");
        ZipClass zip;
        QVERIFY(zip.AddFile(writeFile(path("good.txt"), "good")));
        zip.SetComment(QString(commentLength, QLatin1Char('x')));
        if (!source.isEmpty()) {
            QVERIFY(!zip.AddFile(path(source)));
            QVERIFY(zip.errorString().contains(path(source)));
            QCOMPARE(zip.FileCount(), 1);
            QVERIFY(zip.WriteZip(path("refused.zip"), true));
            QCOMPARE(walk(ReadTestFile(path("refused.zip"))).names, QList<QByteArray>{"good.txt"});
            return;
        }
        QVERIFY(!zip.AddFile(path("good.txt"), QString(70000, QLatin1Char('n'))));
        QCOMPARE(zip.FileCount(), 1);
        QVERIFY(!zip.WriteZip(path(target), overwrite));
        QVERIFY(zip.errorString().contains(commentLength ? QString("comment") : path(target)));
        QCOMPARE(ReadTestFile(path(target)), left);
        if (!overwrite) {
            QVERIFY(zip.WriteZip(path(target), true));
            QCOMPARE(walk(ReadTestFile(path(target))).names, QList<QByteArray>{"good.txt"});
        }
    }
};

QTEST_GUILESS_MAIN(TestZipWriter)
#include "tst_zipwriter.moc"
