#include "TestFiles.h"
#include "ZipTestArchive.h"
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
    QStringList errors;
    QList<int> percents;
    int cancelAtPercent = -1;

    explicit Events(ZipExtractionClass &reader)
    {
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

// Where an absolute member name points: outside the scratch folders.
QString absolute()
{
    return QDir::tempPath() + "/tiradex-zipreader-absolute.txt";
}

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
    bool extract(const QByteArray &archive, bool preserve = true)
    {
        m_events.reset();
        m_reader = std::make_unique<ZipExtractionClass>();
        m_events = std::make_unique<Events>(*m_reader);
        if (archive != "<missing>" && !WriteTestFile(m_zip, archive))
            return false;
        m_reader->OpenZip(m_zip);
        return m_reader->Extract(m_out, preserve, true);
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
        Member m = member("huge.bin", QByteArray(2 * 1024 * 1024, '\0'));
        QRandomGenerator(1).fillRange(reinterpret_cast<quint32 *>(m.content.data()),
                                      m.content.size() / 4);
        m.size = quint32((1 << 30) - 1);
        rusage before{};
        rusage after{};
        getrusage(RUSAGE_SELF, &before);
        QVERIFY(extract(zip({m})));
        getrusage(RUSAGE_SELF, &after);
        QCOMPARE(m_events->errors, placed({"5 Data checksum error in OUT/huge.bin"}));
        QVERIFY2(after.ru_maxrss - before.ru_maxrss < 64 * 1024,
                 qPrintable(QString::number(after.ru_maxrss - before.ru_maxrss) + " kB more"));
    }

    // Hostile, damaged or unreadable archives: the result, every error raised
    // (OUT and ZIP stand for the folder and the archive) and what was written.
    // Nothing may ever appear beside the archive and the extraction folder.
    // Options: "flat" (folders dropped), "old" (the
    // folder, typed with a trailing separator, holds temp.wav "old take",
    // whose content ends the entries), "into=X" (the folder X instead of out).
    void extractionOutcome_data()
    {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<QString>("options");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QStringList>("errors");
        QTest::addColumn<QStringList>("entries");
        const Member good = member("good.txt", "good");
        const QStringList goodOnly{"good.txt"};
        const QStringList notAZip{"2 The file ZIP is not a Zip file",
                                  "3 There is no Zip File Open"};
        const QStringList badData{"5 Data checksum error in OUT/bad.bin"};
        const auto bad = [&](const char *tag, const Member &m) {
            QTest::newRow(tag) << zip({m, good}) << "" << true << badData << goodOnly;
        };
        const QByteArray text = "a line of text, a line of text, a line of text\r\n";
        Member m = member("bad.bin", text);
        m.crc = crcOf(text) ^ 1;
        bad("deflate CRC mismatch", m);
        m = member("bad.bin", "abc");
        m.size = 5; // zero padding would pass the CRC of abc\0\0
        m.crc = crcOf(QByteArray("abc\0\0", 5));
        bad("inflates short of declared size", m);
        m = member("bad.bin", text);
        m.size = quint32(text.size() - 1); // cutting would pass the CRC of the rest
        m.crc = crcOf(text.left(text.size() - 1));
        bad("inflates beyond declared size", m);
        m = member("bad.bin", text);
        m.size = 200000;
        bad("declared size beyond what the data can inflate to", m);
        m = member("bad.bin", text, 0);
        m.compressedSize = m.size = 100000;
        bad("stored data past the end of the archive", m);
        m = member("bad.bin", text, 0);
        m.size = quint32(text.size() + 1);
        bad("stored sizes disagree", m);
        m = member("bad.bin", text);
        m.data = rawDeflate(text).left(6);
        bad("deflate stream cut short", m);
        m.data = QByteArray(40, '\xff');
        bad("not deflate data", m);

        QTest::newRow("unsupported method, flattened")
            << zip({member("sub/m12.bin", "xyz", 12)}) << "flat" << true
            << QStringList{"4 The compression Method for m12.bin is unsupported"} << QStringList{};
        QTest::newRow("missing archive")
            << QByteArray("<missing>") << "" << false
            << QStringList{"10 The file ZIP doesn't exist", "3 There is no Zip File Open"}
            << QStringList{};
        QTest::newRow("empty file") << QByteArray() << "" << false << notAZip << QStringList{};
        Archive a{{good}};
        a.centralOffset = 0xFFFFFF00;
        QTest::newRow("central directory past the end")
            << a.build() << "" << false << QStringList{notAZip.first()} << QStringList{};
        a = Archive{{good}};
        a.entryCount = 5;
        QTest::newRow("more entries than the directory holds")
            << a.build() << "" << false << QStringList{notAZip.first()} << goodOnly;
        a = Archive{{member("s.txt", "s")}};
        a.diskNumber = 1;
        QTest::newRow("spanned archive")
            << a.build() << "" << false << QStringList{} << QStringList{};
        m = member("lost.txt", "lost");
        m.localOffset = 0xFFFFFFF0;
        QTest::newRow("local header past the end")
            << zip({m, good}) << "" << true << QStringList{} << goodOnly;
        m = member("lost.txt", "lost");
        m.localSignature = 0x04034B51;
        QTest::newRow("local header with a wrong signature")
            << zip({m, good}) << "" << true << QStringList{} << goodOnly;
        m = member("twin.txt", "good");
        m.localOffset = 0; // the same bytes as good.txt: a "zip bomb" pattern
        QTest::newRow("members sharing data")
            << zip({good, m}) << "" << true << QStringList{"5 Data checksum error in OUT/twin.txt"}
            << goodOnly;
        m = member("late.txt", "late");
        m.flags = 8;
        m.zeroLocalSizes = true;
        QTest::newRow("sizes deferred to the central directory")
            << zip({m}) << "" << true << QStringList{} << QStringList{"late.txt"};
        const QByteArray longName(300, 'n'); // beyond the file system's name limit
        QTest::newRow("unwritable member stops")
            << zip({member(longName, "long"), member("after.txt", "a")}) << "" << false
            << QStringList{"16 Can't write the file OUT/" + longName} << QStringList{};
        QTest::newRow("folders kept") << zip({member("a\\b/c.txt", "deep")}) << "" << true
                                      << QStringList{} << QStringList{"a", "a/b", "a/b/c.txt"};
        QTest::newRow("names in UTF-8 and Windows-1252")
            << zip({member("caf\xc3\xa9 \x80.txt", "n")}) << "" << true << QStringList{}
            << QStringList{QStringLiteral("caf\u00e9 \u20ac.txt")};
        // Each unsafe name raises error 14 and is never written, kept or flat.
        const QList<QByteArray> unsafe{
            "../climb.txt", "a/../../climb.txt", "a/..", "/ABSOLUTE", "\\ABSOLUTE",
            "C:/drive.txt", "c:drive.txt",       "dir/", "a/.",       {"nul\0.txt", 8}};
        for (QByteArray name : unsafe) {
            name.replace("ABSOLUTE", QFile::encodeName(absolute()).mid(1));
            const QStringList error{"14 The name " + QString::fromLatin1(name).replace('\\', '/') +
                                    " is not a file name inside OUT"};
            for (const bool preserve : {true, false})
                QTest::newRow((name + (preserve ? " kept" : " flat")).constData())
                    << zip({member(name, "evil"), good}) << (preserve ? "" : "flat") << true
                    << error << goodOnly;
        }
        // An existing file: replaced, or removed before a
        // damaged replacement is tried (a stale take is never played).
        Member take = member("temp.wav", "new take");
        const QList<Member> takes{take, member("a.tsd", "1,1,2\r\n")};
        QTest::newRow("replaced") << zip(takes) << "old" << true << QStringList{}
                                  << QStringList{"a.tsd", "temp.wav", "new take"};
        take.crc = crcOf(take.content) ^ 1;
        QTest::newRow("damaged replacement leaves none")
            << zip({take, takes.at(1)}) << "old" << true
            << QStringList{"5 Data checksum error in OUT/temp.wav"}
            << QStringList{"a.tsd", "<missing>"};
        // The folder is created one level only.
        QTest::newRow("two missing levels")
            << zip({good}) << "into=out/deeper" << false
            << QStringList{"13 Can't create the folder OUT"} << QStringList{};
        QTest::newRow("a file in the way")
            << zip({good}) << "into=archive.zip" << false
            << QStringList{"13 Can't create the folder OUT"} << QStringList{};
        // The end record nearest the end is taken, but only a whole one, and
        // only within the longest comment's reach.
        a = Archive{{member("first.txt", "1"), member("second.txt", "2")}};
        QByteArray fake("PK\x05\x06\0\0\0\0\x01\0\x01\0", 12); // lists first.txt only
        put32(fake, 46 + 9);
        put32(fake, get32(a.build(), a.build().size() - 6));
        put16(fake, 0);
        a.comment = fake + "tail";
        QTest::newRow("whole record in the comment")
            << a.build() << "" << true << QStringList{} << QStringList{"first.txt"};
        a.comment = "tail" + fake.left(14);
        QTest::newRow("signature too near the end for a record")
            << a.build() << "" << true << QStringList{} << QStringList{"first.txt", "second.txt"};
        a = Archive{{good}};
        a.comment = QByteArray(65535, 'c');
        QTest::newRow("longest comment") << a.build() << "" << true << QStringList{} << goodOnly;
        QTest::newRow("one byte beyond the longest comment")
            << a.build() + 'c' << "" << false << notAZip << QStringList{};
    }
    void extractionOutcome()
    {
        QFETCH(QByteArray, archive);
        QFETCH(QString, options);
        QFETCH(bool, result);
        QFETCH(QStringList, errors);
        QFETCH(QStringList, entries);
        if (options.contains("into="))
            m_out = m_dir->filePath(options.section("into=", 1));
        const bool old = options.contains("old");
        QVERIFY(!old || WriteTestFile(m_out + "/temp.wav", "old take"));
        m_out += old ? "/" : "";
        QCOMPARE(extract(archive, !options.contains("flat")), result);
        m_out.chop(old ? 1 : 0);
        QCOMPARE(m_events->errors, placed(errors));
        QCOMPARE(EntriesUnder(m_out) +
                     (old ? QStringList{ReadTestFile(m_out + "/temp.wav")} : QStringList{}),
                 entries);
        for (const QString &entry : EntriesUnder(m_dir->path()))
            QVERIFY2(entry == "archive.zip" || entry.startsWith("out"), qPrintable(entry));
        QVERIFY(!QFile::exists(absolute()));
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

        ZipExtractionClass reader;
        Events cancelling(reader);
        cancelling.cancelAtPercent = 50;
        QVERIFY(reader.OpenZip(m_zip) && !reader.Extract(m_dir->filePath("cancelled"), true, true));
        QCOMPARE(EntriesUnder(m_dir->filePath("cancelled")), (QStringList{"0.txt", "1.txt"}));
    }
};

QTEST_GUILESS_MAIN(TestZipReader)
#include "tst_zipreader.moc"
