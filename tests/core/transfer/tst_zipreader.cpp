#include "TestFiles.h"
#include "ZipTestArchive.h"
#include "core/transfer/ZipClass.h"
#include "core/transfer/ZipExtractionClass.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

#include <memory>

using namespace tiradex;

using namespace ZipTest;

namespace {
// Everything a reader raised; errors as "number text".
struct Events
{
    QStringList statuses;
    QStringList errors;
    QList<int> percents;
    int cancelAtPercent = -1;

    explicit Events(ZipExtractionClass &reader)
    {
        QObject::connect(&reader, &ZipExtractionClass::Status, &reader,
                         [this](const QString &text) { statuses.append(text); });
        QObject::connect(
            &reader, &ZipExtractionClass::ZipError, &reader,
            [this](int n, const QString &text) { errors.append(QString::number(n) + ' ' + text); });
        QObject::connect(&reader, &ZipExtractionClass::Progress, &reader,
                         [this](int percent, bool *cancel) {
                             percents.append(percent);
                             *cancel = percent == cancelAtPercent;
                         });
    }
};

QByteArray zip(const QList<Member> &members)
{
    return Archive(members).build();
}
} // namespace

class TestZipReader : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_out; // extraction folder, inside m_dir
    QString m_zip;
    std::unique_ptr<ZipExtractionClass> m_reader;
    std::unique_ptr<Events> m_events;

    // Writes `archive` to m_zip (none for "<missing>"), opens it with a fresh
    // reader and extracts it into m_out, whatever the opening gave.
    bool extract(const QByteArray &archive, bool preserve = true, bool overwrite = true)
    {
        m_events.reset();
        m_reader = std::make_unique<ZipExtractionClass>();
        m_events = std::make_unique<Events>(*m_reader);
        if (archive != "<missing>" && !WriteTestFile(m_zip, archive))
            return false;
        m_reader->OpenZip(m_zip);
        return m_reader->Extract(m_out, preserve, overwrite);
    }
    // OUT and ZIP in `texts` stand for the extraction folder and the archive.
    QStringList placed(QStringList texts) const
    {
        return texts.replaceInStrings("OUT", m_out).replaceInStrings("ZIP", m_zip);
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_out = m_dir->filePath(QStringLiteral("out"));
        m_zip = m_dir->filePath(QStringLiteral("archive.zip"));
    }

    // Must run first: the peak memory of the process only ever grows.
    void hugeDeclaredSizeIsNotAllocated()
    {
        // Incompressible, so the declared size is not beyond what the data
        // could inflate to and the member really has to be inflated.
        QByteArray content(2 * 1024 * 1024, '\0');
        QRandomGenerator random(1);
        random.fillRange(reinterpret_cast<quint32 *>(content.data()), content.size() / 4);
        Member m = member("huge.bin", content);
        m.size = quint32((1 << 30) - 1);
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        QVERIFY(extract(zip({m})));
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        QCOMPARE(m_events->errors, placed({"5 Data checksum error in OUT/huge.bin"}));
        QVERIFY2(after.ru_maxrss - before.ru_maxrss < 64 * 1024,
                 qPrintable(QString::number(after.ru_maxrss - before.ru_maxrss) + " kB more"));
    }

    // Large enough for the writer to read and deflate it in several pieces.
    void extractsWriterArchiveByteForByte()
    {
        QByteArray wave(2500000, '\0');
        for (qsizetype i = 0; i < wave.size(); ++i)
            wave[i] = char((i * i) % 253);
        QVERIFY(WriteTestFile(m_dir->filePath("temp.wav"), wave));
        QVERIFY(WriteTestFile(m_dir->filePath("_0057_HUBERT.tsd"), "2,3,17\r\n"));
        ZipClass writer;
        QVERIFY(writer.AddFile(m_dir->filePath("temp.wav")));
        QVERIFY(writer.AddFile(m_dir->filePath("_0057_HUBERT.tsd")));
        QVERIFY(writer.WriteZip(m_zip));

        ZipExtractionClass reader;
        Events events(reader);
        reader.CloseZip(); // nothing open: no status
        QVERIFY(reader.OpenZip(m_zip));
        QVERIFY(reader.OpenZip(m_zip)); // closes the first
        QVERIFY(reader.Extract(m_out, true, true));
        reader.CloseZip();
        QVERIFY(ReadTestFile(m_out + "/temp.wav") == wave);
        QCOMPARE(ReadTestFile(m_out + "/_0057_HUBERT.tsd"), QByteArray("2,3,17\r\n"));
        QCOMPARE(EntriesUnder(m_out), (QStringList{"_0057_HUBERT.tsd", "temp.wav"}));
        QCOMPARE(
            events.statuses,
            (QStringList{"Opening Zip", "Zip Opened", "Opening Zip", "Zip Closed", "Zip Opened",
                         "Extracting Files", "Extracting .../temp.wav",
                         "Extracting .../_0057_HUBERT.tsd", "Extraction Complete", "Zip Closed"}));
        QCOMPARE(events.percents, (QList<int>{50, 100}));
        QVERIFY(events.errors.isEmpty());
    }

    // Hostile, damaged or unreadable archives: the result, every error raised
    // (OUT and ZIP stand for the folder and the archive) and what was written.
    // Nothing may ever appear beside the archive and the extraction folder.
    void extractionOutcome_data()
    {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<bool>("preserve");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QStringList>("errors");
        QTest::addColumn<QStringList>("entries");
        const Member good = member("good.txt", "good");
        const QStringList goodOnly{"good.txt"};
        const QStringList notAZip{"2 The file ZIP is not a Zip file",
                                  "3 There is no Zip File Open"};
        const QStringList badData{"5 Data checksum error in OUT/bad.bin"};
        const auto bad = [&](const char *tag, const Member &m) {
            QTest::newRow(tag) << zip({m, good}) << true << true << badData << goodOnly;
        };
        const QByteArray text = "a line of text, a line of text, a line of text\r\n";
        Member m = member("bad.bin", text);
        m.crc = crcOf(text) ^ 1;
        bad("deflate CRC mismatch", m);
        m.method = 0;
        bad("stored CRC mismatch", m);
        m = member("bad.bin", "abc");
        m.size = 5; // zero padding would pass the CRC of abc\0\0
        m.crc = crcOf(QByteArray("abc\0\0", 5));
        bad("inflates short of declared size", m);
        m = member("bad.bin", text);
        m.size = quint32(text.size() - 1); // cutting would pass the CRC of the rest
        m.crc = crcOf(text.left(text.size() - 1));
        bad("inflates beyond declared size", m);
        m = member("bad.bin", text);
        m.size = 0x40000001;
        bad("declared size beyond 1 GiB", m);
        m.size = 200000;
        bad("declared size beyond what the data can inflate to", m);
        m = member("bad.bin", text, 0);
        m.compressedSize = m.size = 100000;
        bad("stored data past the end of the archive", m);
        m = member("bad.bin", text);
        m.compressedSize = 0xFFFFFF00;
        bad("deflate data past the end of the archive", m);
        m = member("bad.bin", text, 0);
        m.size = quint32(text.size() + 1);
        bad("stored sizes disagree", m);
        m = member("bad.bin", text);
        m.data = rawDeflate(text).left(6);
        bad("deflate stream cut short", m);
        m.data = QByteArray(40, '\xff');
        bad("not deflate data", m);

        QTest::newRow("unsupported method, flattened")
            << zip({member("sub/m12.bin", "xyz", 12)}) << false << true
            << QStringList{"4 The compression Method for m12.bin is unsupported"} << QStringList{};
        QTest::newRow("missing archive")
            << QByteArray("<missing>") << true << false
            << QStringList{"10 The file ZIP doesn't exist", "3 There is no Zip File Open"}
            << QStringList{};
        QTest::newRow("empty file") << QByteArray() << true << false << notAZip << QStringList{};
        QTest::newRow("plain text")
            << QByteArray("2,3,17\r\n") << true << false << notAZip << QStringList{};
        QTest::newRow("signature without room for a record")
            << QByteArray("0123456789PK\x05\x06"
                          "0123456789",
                          24)
            << true << false << notAZip << QStringList{};
        Archive a{{good}};
        a.centralOffset = 0xFFFFFF00;
        QTest::newRow("central directory past the end")
            << a.build() << true << false << QStringList{notAZip.first()} << QStringList{};
        a = Archive{{good}};
        a.entryCount = 5;
        QTest::newRow("more entries than the directory holds")
            << a.build() << true << false << QStringList{notAZip.first()} << goodOnly;
        a = Archive{{member("s.txt", "s")}};
        a.diskNumber = 1;
        QTest::newRow("spanned archive")
            << a.build() << true << false << QStringList{} << QStringList{};
        m = member("lost.txt", "lost");
        m.localOffset = 0xFFFFFFF0;
        QTest::newRow("local header past the end")
            << zip({m, good}) << true << true << QStringList{} << goodOnly;
        m = member("lost.txt", "lost");
        m.localSignature = 0x04034B51;
        QTest::newRow("local header with a wrong signature")
            << zip({m, good}) << true << true << QStringList{} << goodOnly;
        m = member("twin.txt", "good");
        m.localOffset = 0; // the same bytes as good.txt: a "zip bomb" pattern
        QTest::newRow("members sharing data")
            << zip({good, m}) << true << true
            << QStringList{"5 Data checksum error in OUT/twin.txt"} << goodOnly;
        m = member("late.txt", "late");
        m.flags = 8;
        m.zeroLocalSizes = true;
        QTest::newRow("sizes deferred to the central directory")
            << zip({m}) << true << true << QStringList{} << QStringList{"late.txt"};
        const QByteArray longName(300, 'n'); // beyond the file system's name limit
        QTest::newRow("unwritable member stops")
            << zip({member(longName, "long"), member("after.txt", "a")}) << true << false
            << QStringList{"16 Can't write the file OUT/" + longName} << QStringList{};
        QTest::newRow("folders kept") << zip({member("a\\b/c.txt", "deep")}) << true << true
                                      << QStringList{} << QStringList{"a", "a/b", "a/b/c.txt"};
        QTest::newRow("folders flattened") << zip({member("a/b\\c.txt", "deep")}) << false << true
                                           << QStringList{} << QStringList{"c.txt"};
        QTest::newRow("names in UTF-8 and Windows-1252")
            << zip({member("caf\xc3\xa9 \x80.txt", "n")}) << true << true << QStringList{}
            << QStringList{QStringLiteral("caf\u00e9 \u20ac.txt")};
    }
    void extractionOutcome()
    {
        QFETCH(QByteArray, archive);
        QFETCH(bool, preserve);
        QFETCH(bool, result);
        QFETCH(QStringList, errors);
        QFETCH(QStringList, entries);
        QCOMPARE(extract(archive, preserve), result);
        QCOMPARE(m_events->errors, placed(errors));
        QCOMPARE(EntriesUnder(m_out), entries);
        for (const QString &entry : EntriesUnder(m_dir->path()))
            QVERIFY2(entry == "archive.zip" || entry.startsWith("out"), qPrintable(entry));
    }

    // Each unsafe name raises error 14 and is never written; the good member is.
    void unsafeNamesAreNeverWritten_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("preserve");
        // ABSOLUTE stands for a path in the scratch folder, made per row.
        const QList<QByteArray> names{
            "../climb.txt", "a/../../climb.txt", "a/..", "/ABSOLUTE", "\\ABSOLUTE",
            "C:/drive.txt", "c:drive.txt",       "dir/", "a/.",       QByteArray("nul\0.txt", 8)};
        for (const QByteArray &name : names) {
            QTest::newRow(("kept: " + name).constData()) << name << true;
            QTest::newRow(("flat: " + name).constData()) << name << false;
        }
    }
    void unsafeNamesAreNeverWritten()
    {
        QFETCH(QByteArray, name);
        QFETCH(bool, preserve);
        name.replace("/ABSOLUTE", QFile::encodeName(m_dir->filePath("absolute.txt")));
        name.replace("\\ABSOLUTE",
                     "\\" + QFile::encodeName(m_dir->filePath("absolute.txt")).mid(1));
        QVERIFY(extract(zip({member(name, "evil"), member("good.txt", "good")}), preserve));
        QCOMPARE(EntriesUnder(m_dir->path()), (QStringList{"archive.zip", "out", "out/good.txt"}));
        QCOMPARE(m_events->errors.size(), 1);
        QVERIFY(m_events->errors.first().startsWith("14 The name "));
        QVERIFY(m_events->errors.first().endsWith(" is not a file name inside " + m_out));
    }

    // A failed member is removed before it is tried, so a caller that plays
    // the extracted take never plays a stale one.
    void existingFilesFollowOverwrite_data()
    {
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<quint32>("crcFlip");
        QTest::addColumn<QByteArray>("wave");
        QTest::addColumn<QStringList>("errors");
        QTest::newRow("kept with error 11")
            << false << 0u << QByteArray("old take")
            << QStringList{"11 The file OUT/temp.wav already exists"};
        QTest::newRow("replaced") << true << 0u << QByteArray("new take") << QStringList{};
        QTest::newRow("damaged replacement leaves none")
            << true << 1u << QByteArray("<missing>")
            << QStringList{"5 Data checksum error in OUT/temp.wav"};
    }
    void existingFilesFollowOverwrite()
    {
        QFETCH(bool, overwrite);
        QFETCH(quint32, crcFlip);
        QFETCH(QByteArray, wave);
        QFETCH(QStringList, errors);
        QVERIFY(QDir().mkpath(m_out));
        QVERIFY(WriteTestFile(m_out + "/temp.wav", "old take"));
        Member take = member("temp.wav", "new take");
        take.crc = crcOf("new take") ^ crcFlip;
        // A trailing "/" on the folder must not double the separator in texts.
        m_out += '/';
        QVERIFY(extract(zip({take, member("a.tsd", "1,1,2\r\n")}), true, overwrite));
        m_out.chop(1);
        QCOMPARE(m_events->errors, placed(errors));
        QCOMPARE(ReadTestFile(m_out + "/temp.wav"), wave);
        QCOMPARE(ReadTestFile(m_out + "/a.tsd"), QByteArray("1,1,2\r\n"));
    }

    // Zero-length members (and folders) are skipped but counted; halves round
    // to even; a cancel stops after the member it was raised for.
    void progressCountsEveryMemberAndCancelStops()
    {
        Archive archive{{member("empty.txt", "", 0), member("folder/", "", 0)}};
        for (int i = 0; i < 6; ++i)
            archive.members.append(member(QByteArray::number(i) + ".txt", "data"));
        QVERIFY(extract(archive.build()));
        QCOMPARE(m_events->percents, (QList<int>{12, 25, 38, 50, 62, 75, 88, 100}));
        QCOMPARE(EntriesUnder(m_out).size(), 6);
        QVERIFY(!m_events->statuses.contains("Extracting .../empty.txt"));

        ZipExtractionClass reader;
        Events cancelling(reader);
        cancelling.cancelAtPercent = 50;
        QVERIFY(reader.OpenZip(m_zip));
        QVERIFY(!reader.Extract(m_dir->filePath("cancelled"), true, true));
        QCOMPARE(EntriesUnder(m_dir->filePath("cancelled")), (QStringList{"0.txt", "1.txt"}));
        QVERIFY(!cancelling.statuses.contains("Extraction Complete"));
    }

    void endRecordNearestTheEndIsTaken_data()
    {
        QTest::addColumn<bool>("wholeRecordInComment");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("whole record in the comment") << true << QStringList{"first.txt"};
        QTest::newRow("signature too near the end for a record")
            << false << QStringList{"first.txt", "second.txt"};
    }
    void endRecordNearestTheEndIsTaken()
    {
        QFETCH(bool, wholeRecordInComment);
        QFETCH(QStringList, entries);
        Archive archive{{member("first.txt", "1"), member("second.txt", "2")}};
        const QByteArray plain = archive.build();
        // A record in the comment that lists only the first member.
        QByteArray fake("PK\x05\x06", 4);
        for (const quint32 v : {0u, 0u, 1u, 1u})
            put16(fake, v);
        put32(fake, 46 + 9);
        put32(fake, get32(plain, plain.size() - 6));
        put16(fake, 0);
        archive.comment = wholeRecordInComment ? fake + "tail" : "tail" + fake.left(14);
        QVERIFY(extract(archive.build()));
        QCOMPARE(EntriesUnder(m_out), entries);
    }

    void endRecordIsSoughtInTheTailOnly_data()
    {
        QTest::addColumn<int>("trailingBytes");
        QTest::addColumn<bool>("found");
        QTest::newRow("longest comment") << 0 << true;
        QTest::newRow("one byte beyond the longest comment") << 1 << false;
    }
    void endRecordIsSoughtInTheTailOnly()
    {
        QFETCH(int, trailingBytes);
        QFETCH(bool, found);
        Archive archive{{member("t.txt", "t")}};
        archive.comment = QByteArray(65535, 'c');
        QCOMPARE(extract(archive.build() + QByteArray(trailingBytes, 'c')), found);
        QCOMPARE(QFile::exists(m_out + "/t.txt"), found);
    }

    void folderIsCreatedOneLevelOnly_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("created");
        QTest::newRow("one missing level") << "new" << true;
        QTest::newRow("two missing levels") << "new/deeper" << false;
        QTest::newRow("a file in the way") << "archive.zip" << false;
    }
    void folderIsCreatedOneLevelOnly()
    {
        QFETCH(QString, folder);
        QFETCH(bool, created);
        m_out = m_dir->filePath(folder);
        QCOMPARE(extract(zip({member("f.txt", "f")})), created);
        QCOMPARE(QFile::exists(m_out + "/f.txt"), created);
        QCOMPARE(m_events->errors,
                 created ? QStringList{} : placed({"13 Can't create the folder OUT"}));
    }

    void truncatedArchivesNeverEscapeTheFolder()
    {
        Archive archive{{member("a/one.txt", QByteArray(3000, 'x')), member("two.txt", "two")}};
        archive.comment = "comment";
        const QByteArray whole = archive.build();
        for (qsizetype cut = 0; cut < whole.size(); cut += 3) {
            extract(whole.left(cut));
            extract(whole.left(cut) + whole.right(whole.size() - cut - 1));
            for (const QString &entry : EntriesUnder(m_dir->path()))
                QVERIFY2(entry == "archive.zip" || entry.startsWith("out"), qPrintable(entry));
            QDir(m_out).removeRecursively();
        }
    }
};

QTEST_GUILESS_MAIN(TestZipReader)
#include "tst_zipreader.moc"
