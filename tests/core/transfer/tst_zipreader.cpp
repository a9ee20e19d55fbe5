#include "ZipTestArchive.h"
#include "core/transfer/ZipClass.h"
#include "core/transfer/ZipExtractionClass.h"

#include <QDirIterator>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

#include <memory>

using namespace ZipTest;

Q_DECLARE_METATYPE(ZipTest::Member)
Q_DECLARE_METATYPE(ZipTest::Archive)

namespace {
using Error = QPair<int, QString>;

// Everything the reader raised.
struct Events
{
    QStringList statuses;
    QList<Error> errors;
    QList<int> percents;
    int cancelAtPercent = -1;

    explicit Events(ZipExtractionClass &reader)
    {
        QObject::connect(&reader, &ZipExtractionClass::Status, &reader,
                         [this](const QString &text) { statuses.append(text); });
        QObject::connect(&reader, &ZipExtractionClass::ZipError, &reader,
                         [this](int n, const QString &text) {
                             errors.append({n, text});
                         });
        QObject::connect(&reader, &ZipExtractionClass::Progress, &reader,
                         [this](int percent, bool *cancel) {
                             percents.append(percent);
                             *cancel = percent == cancelAtPercent;
                         });
    }
};

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Every entry under `root` (hidden ones too), relative and sorted.
QStringList entriesUnder(const QString &root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries.append(QDir(root).relativeFilePath(it.next()));
    entries.sort();
    return entries;
}

Member member(const QByteArray &name, const QByteArray &content, quint16 method = 8)
{
    Member m;
    m.name = name;
    m.content = content;
    m.method = method;
    return m;
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

    // Opens `archive` (written to m_zip) with a fresh reader and extracts it
    // into m_out; *events receives what that reader raised.
    bool extract(const QByteArray &archive, Events **events, bool preserve = true,
                 bool overwrite = true)
    {
        m_events.reset();
        m_reader = std::make_unique<ZipExtractionClass>();
        m_events = std::make_unique<Events>(*m_reader);
        *events = m_events.get();
        if (!writeBytes(m_zip, archive) || !m_reader->OpenZip(m_zip))
            return false;
        return m_reader->Extract(m_out, preserve, overwrite);
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
        const QByteArray archive = Archive{{m}}.build();
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        Events *events = nullptr;
        QVERIFY(extract(archive, &events));
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        QCOMPARE(events->errors,
                 QList<Error>{Error(5, "Data checksum error in " + m_out + "/huge.bin")});
        QVERIFY2(after.ru_maxrss - before.ru_maxrss < 64 * 1024,
                 qPrintable(QString::number(after.ru_maxrss - before.ru_maxrss) + " kB more"));
    }

    void extractsWriterArchiveByteForByte()
    {
        QByteArray wave(300000, '\0');
        for (qsizetype i = 0; i < wave.size(); ++i)
            wave[i] = char((i * i) % 253);
        QVERIFY(writeBytes(m_dir->filePath("temp.wav"), wave));
        QVERIFY(writeBytes(m_dir->filePath("_0057_HUBERT.tsd"), "2,3,17\r\n"));
        ZipClass writer;
        QVERIFY(writer.AddFile(m_dir->filePath("temp.wav")));
        QVERIFY(writer.AddFile(m_dir->filePath("_0057_HUBERT.tsd")));
        QVERIFY(writer.WriteZip(m_zip));

        ZipExtractionClass reader;
        Events events(reader);
        QVERIFY(reader.OpenZip(m_zip));
        QVERIFY(reader.Extract(m_out, true, true));
        reader.CloseZip();
        QCOMPARE(readBytes(m_out + "/temp.wav"), wave);
        QCOMPARE(readBytes(m_out + "/_0057_HUBERT.tsd"), QByteArray("2,3,17\r\n"));
        QCOMPARE(entriesUnder(m_out), (QStringList{"_0057_HUBERT.tsd", "temp.wav"}));
        QCOMPARE(
            events.statuses,
            (QStringList{"Opening Zip", "Zip Opened", "Extracting Files", "Extracting .../temp.wav",
                         "Extracting .../_0057_HUBERT.tsd", "Extraction Complete", "Zip Closed"}));
        QCOMPARE(events.percents, (QList<int>{50, 100}));
        QVERIFY(events.errors.isEmpty());
    }

    void existingFilesFollowOverwrite_data()
    {
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<QByteArray>("wave");
        QTest::addColumn<QList<Error>>("errors");
        QTest::newRow("kept with error 11")
            << false << QByteArray("old take")
            << QList<Error>{Error(11, "The file %1/temp.wav already exists")};
        QTest::newRow("replaced") << true << QByteArray("new take") << QList<Error>{};
    }
    void existingFilesFollowOverwrite()
    {
        QFETCH(bool, overwrite);
        QFETCH(QByteArray, wave);
        QFETCH(QList<Error>, errors);
        QVERIFY(QDir().mkpath(m_out));
        QVERIFY(writeBytes(m_out + "/temp.wav", "old take"));
        Events *events = nullptr;
        const Archive archive{{member("temp.wav", "new take"), member("a.tsd", "1,1,2\r\n")}};
        // A trailing "/" on the folder must not double the separator in texts.
        m_out += '/';
        QVERIFY(extract(archive.build(), &events, true, overwrite));
        m_out.chop(1);
        for (Error &e : errors)
            e.second = e.second.arg(m_out);
        QCOMPARE(events->errors, errors);
        QCOMPARE(readBytes(m_out + "/temp.wav"), wave);
        QCOMPARE(readBytes(m_out + "/a.tsd"), QByteArray("1,1,2\r\n"));
    }

    // Each row forges one bad member before a good one: error 5, no file for
    // it (no temporary file either), the good one extracted, result true.
    void badMemberDataRaiseError5AndLeaveNoFile_data()
    {
        QTest::addColumn<Member>("bad");
        const QByteArray text = "a line of text, a line of text, a line of text\r\n";
        Member m = member("bad.bin", text);
        m.crc = crcOf(text) ^ 1;
        QTest::newRow("deflate CRC mismatch") << m;
        m.method = 0;
        QTest::newRow("stored CRC mismatch") << m;
        m = member("bad.bin", "abc");
        m.size = 5; // zero padding would pass the CRC of abc\0\0
        m.crc = crcOf(QByteArray("abc\0\0", 5));
        QTest::newRow("inflates short of declared size") << m;
        m = member("bad.bin", text);
        m.size = quint32(text.size() - 1); // cutting would pass the CRC of the rest
        m.crc = crcOf(text.left(text.size() - 1));
        QTest::newRow("inflates beyond declared size") << m;
        m = member("bad.bin", text);
        m.size = 0x40000001;
        QTest::newRow("declared size beyond 1 GiB") << m;
        m.size = 200000;
        QTest::newRow("declared size beyond what the data can inflate to") << m;
        m = member("bad.bin", text, 0);
        m.compressedSize = m.size = 100000;
        QTest::newRow("stored data past the end of the archive") << m;
        m = member("bad.bin", text);
        m.compressedSize = 0xFFFFFF00;
        QTest::newRow("deflate data past the end of the archive") << m;
        m = member("bad.bin", text, 0);
        m.size = quint32(text.size() + 1);
        QTest::newRow("stored sizes disagree") << m;
        m = member("bad.bin", text);
        m.data = rawDeflate(text).left(6);
        QTest::newRow("deflate stream cut short") << m;
        m.data = QByteArray(40, '\xff');
        QTest::newRow("not deflate data") << m;
    }
    void badMemberDataRaiseError5AndLeaveNoFile()
    {
        QFETCH(Member, bad);
        Events *events = nullptr;
        QVERIFY(extract(Archive{{bad, member("good.txt", "good")}}.build(), &events));
        QCOMPARE(events->errors,
                 QList<Error>{Error(5, "Data checksum error in " + m_out + "/bad.bin")});
        QCOMPARE(entriesUnder(m_out), QStringList{"good.txt"});
    }

    // The previous file is removed before the member is tried, so a caller
    // that plays the extracted take never plays a stale one.
    void failedMemberWithOverwriteLeavesNoStaleFile()
    {
        QVERIFY(QDir().mkpath(m_out));
        QVERIFY(writeBytes(m_out + "/temp.wav", "previous reply"));
        Member bad = member("temp.wav", "this take");
        bad.crc = 0;
        Events *events = nullptr;
        QVERIFY(extract(Archive{{bad}}.build(), &events));
        QCOMPARE(events->errors.size(), 1);
        QVERIFY(!QFile::exists(m_out + "/temp.wav"));
    }

    void unsupportedMethodRaisesError4()
    {
        Events *events = nullptr;
        QVERIFY(extract(Archive{{member("sub/m12.bin", "xyz", 12)}}.build(), &events, false));
        QCOMPARE(events->errors,
                 QList<Error>{Error(4, "The compression Method for m12.bin is unsupported")});
        QCOMPARE(entriesUnder(m_out), QStringList{});
    }

    void notAZipRaisesError2ThenExtractError3_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("plain text") << QByteArray("2,3,17\r\n");
        QTest::newRow("signature without room for a record") << QByteArray("0123456789PK\x05\x06"
                                                                           "0123456789",
                                                                           24);
    }
    void notAZipRaisesError2ThenExtractError3()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(writeBytes(m_zip, bytes));
        ZipExtractionClass reader;
        Events events(reader);
        QVERIFY(!reader.OpenZip(m_zip));
        QVERIFY(!reader.Extract(m_out, true, true));
        QCOMPARE(events.errors, (QList<Error>{Error(2, "The file " + m_zip + " is not a Zip file"),
                                              Error(3, "There is no Zip File Open")}));
        QCOMPARE(events.statuses, (QStringList{"Opening Zip", "Extracting Files"}));
    }

    void missingArchiveRaisesError10()
    {
        ZipExtractionClass reader;
        Events events(reader);
        QVERIFY(!reader.OpenZip(m_zip));
        QCOMPARE(events.errors, QList<Error>{Error(10, "The file " + m_zip + " doesn't exist")});
    }

    void memberFoldersFollowPreservePath_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("preserve");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("status");
        const QStringList nested{"a", "a/b", "a/b/c.txt"};
        QTest::newRow("kept") << QByteArray("a/b/c.txt") << true << nested
                              << "Extracting .../a/b/c.txt";
        QTest::newRow("flattened")
            << QByteArray("a/b/c.txt") << false << QStringList{"c.txt"} << "Extracting .../c.txt";
        QTest::newRow("backslashes separate too")
            << QByteArray("a\\b\\c.txt") << true << nested << "Extracting .../a/b/c.txt";
    }
    void memberFoldersFollowPreservePath()
    {
        QFETCH(QByteArray, name);
        QFETCH(bool, preserve);
        QFETCH(QStringList, entries);
        QFETCH(QString, status);
        Events *events = nullptr;
        QVERIFY(extract(Archive{{member(name, "deep")}}.build(), &events, preserve));
        QCOMPARE(entriesUnder(m_out), entries);
        QCOMPARE(readBytes(m_out + "/" + entries.last()), QByteArray("deep"));
        QVERIFY(events->statuses.contains(status));
    }

    void namesReadAsUtf8OrWindows1252_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Windows-1252 bytes")
            << QByteArray("\xe9t\xe9 \x80.txt") << QStringLiteral("\u00e9t\u00e9 \u20ac.txt");
        QTest::newRow("UTF-8 sequences")
            << QByteArray("caf\xc3\xa9.txt") << QStringLiteral("caf\u00e9.txt");
        QTest::newRow("both in one name")
            << QByteArray("caf\xc3\xa9 \x80.txt") << QStringLiteral("caf\u00e9 \u20ac.txt");
    }
    void namesReadAsUtf8OrWindows1252()
    {
        QFETCH(QByteArray, name);
        QFETCH(QString, expected);
        Events *events = nullptr;
        QVERIFY(extract(Archive{{member(name, "name")}}.build(), &events));
        QCOMPARE(entriesUnder(m_out), QStringList{expected});
    }

    void zeroLengthMembersAreSkippedAndProgressRounds()
    {
        Events *events = nullptr;
        const Archive archive{
            {member("empty.txt", "", 0), member("folder/", "", 0), member("x.txt", "x")}};
        QVERIFY(extract(archive.build(), &events));
        QCOMPARE(entriesUnder(m_out), QStringList{"x.txt"});
        QCOMPARE(events->percents, (QList<int>{33, 67, 100}));
        QVERIFY(!events->statuses.contains("Extracting .../empty.txt"));
    }

    void progressHalvesRoundToEvenAndCancelStops()
    {
        Archive archive;
        for (int i = 0; i < 8; ++i)
            archive.members.append(member(QByteArray::number(i) + ".txt", "data"));
        Events *events = nullptr;
        QVERIFY(extract(archive.build(), &events));
        QCOMPARE(events->percents, (QList<int>{12, 25, 38, 50, 62, 75, 88, 100}));

        ZipExtractionClass reader;
        Events cancelling(reader);
        cancelling.cancelAtPercent = 25;
        QVERIFY(reader.OpenZip(m_zip));
        QVERIFY(!reader.Extract(m_dir->filePath("cancelled"), true, true));
        QCOMPARE(entriesUnder(m_dir->filePath("cancelled")), (QStringList{"0.txt", "1.txt"}));
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
        const quint32 centralOffset = get32(plain, plain.size() - 6);
        // A record in the comment that lists only the first member.
        QByteArray fake("PK\x05\x06", 4);
        put16(fake, 0);
        put16(fake, 0);
        put16(fake, 1);
        put16(fake, 1);
        put32(fake, 46 + 9);
        put32(fake, centralOffset);
        put16(fake, 0);
        archive.comment = wholeRecordInComment ? fake + "tail" : "tail" + fake.left(14);
        Events *events = nullptr;
        QVERIFY(extract(archive.build(), &events));
        QCOMPARE(entriesUnder(m_out), entries);
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
        QVERIFY(writeBytes(m_zip, archive.build() + QByteArray(trailingBytes, 'c')));
        ZipExtractionClass reader;
        QCOMPARE(reader.OpenZip(m_zip), found);
        QCOMPARE(reader.Extract(m_out, true, true), found);
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
        QVERIFY(writeBytes(m_zip, Archive{{member("f.txt", "f")}}.build()));
        ZipExtractionClass reader;
        Events events(reader);
        QVERIFY(reader.OpenZip(m_zip));
        QCOMPARE(reader.Extract(m_dir->filePath(folder), true, true), created);
        QCOMPARE(QFile::exists(m_dir->filePath(folder) + "/f.txt"), created);
        if (!created)
            QCOMPARE(events.errors,
                     QList<Error>{Error(13, "Can't create the folder " + m_dir->filePath(folder))});
    }

    void spannedArchiveCompletesWithoutExtracting()
    {
        Archive archive{{member("s.txt", "s")}};
        archive.diskNumber = 1;
        Events *events = nullptr;
        QVERIFY(!extract(archive.build(), &events));
        QCOMPARE(events->statuses.last(), QStringLiteral("Extraction Complete"));
        QCOMPARE(entriesUnder(m_out), QStringList{});
    }

    // Nothing may appear anywhere but the good member in the folder.
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
        Events *events = nullptr;
        QVERIFY(extract(Archive{{member(name, "evil"), member("good.txt", "good")}}.build(),
                        &events, preserve));
        QCOMPARE(entriesUnder(m_dir->path()), (QStringList{"archive.zip", "out", "out/good.txt"}));
        QCOMPARE(events->errors.size(), 1);
        QCOMPARE(events->errors.first().first, 14);
        QVERIFY(events->errors.first().second.endsWith(" is not a file name inside " + m_out));
    }

    // Damaged structure: no crash, no read outside the file, a clear outcome.
    void damagedStructureIsReported_data()
    {
        QTest::addColumn<Archive>("archive");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QList<int>>("errors");
        QTest::addColumn<QStringList>("entries");
        const Member good = member("good.txt", "good");
        Archive a{{good}};
        a.centralOffset = 0xFFFFFF00;
        QTest::newRow("central directory past the end")
            << a << false << QList<int>{2} << QStringList{};
        a = Archive{{good}};
        a.entryCount = 5;
        QTest::newRow("more entries than the directory holds")
            << a << false << QList<int>{2} << QStringList{"good.txt"};
        Member m = member("lost.txt", "lost");
        m.localOffset = 0xFFFFFFF0;
        QTest::newRow("local header past the end")
            << Archive{{m, good}} << true << QList<int>{} << QStringList{"good.txt"};
        m = member("lost.txt", "lost");
        m.localSignature = 0x04034B51;
        QTest::newRow("local header with a wrong signature")
            << Archive{{m, good}} << true << QList<int>{} << QStringList{"good.txt"};
        m = member("twin.txt", "good");
        m.localOffset = 0; // the same bytes as good.txt: a "zip bomb" pattern
        QTest::newRow("members sharing data")
            << Archive{{good, m}} << true << QList<int>{5} << QStringList{"good.txt"};
        m = member("late.txt", "late");
        m.flags = 8;
        m.zeroLocalSizes = true;
        QTest::newRow("sizes deferred to the central directory")
            << Archive{{m}} << true << QList<int>{} << QStringList{"late.txt"};
    }
    void damagedStructureIsReported()
    {
        QFETCH(Archive, archive);
        QFETCH(bool, result);
        QFETCH(QList<int>, errors);
        QFETCH(QStringList, entries);
        Events *events = nullptr;
        QCOMPARE(extract(archive.build(), &events), result);
        QList<int> numbers;
        for (const Error &e : events->errors)
            numbers.append(e.first);
        QCOMPARE(numbers, errors);
        QCOMPARE(entriesUnder(m_out), entries);
    }

    void truncatedArchivesNeverEscapeTheFolder()
    {
        Archive archive{{member("a/one.txt", QByteArray(3000, 'x')), member("two.txt", "two")}};
        archive.comment = "comment";
        const QByteArray whole = archive.build();
        for (qsizetype cut = 0; cut < whole.size(); cut += 3) {
            Events *events = nullptr;
            extract(whole.left(cut), &events);
            extract(whole.left(cut) + whole.right(whole.size() - cut - 1), &events);
            for (const QString &entry : entriesUnder(m_dir->path()))
                QVERIFY2(entry == "archive.zip" || entry.startsWith("out"), qPrintable(entry));
            QDir(m_out).removeRecursively();
        }
    }

    void unwritableMemberStopsExtractionWithError16()
    {
        const QByteArray longName(300, 'n'); // beyond the file system's name limit
        Events *events = nullptr;
        QVERIFY(!extract(Archive{{member(longName, "long"), member("after.txt", "a")}}.build(),
                         &events));
        QCOMPARE(events->errors,
                 QList<Error>{Error(16, "Can't write the file " + m_out + "/" + longName)});
        QCOMPARE(entriesUnder(m_out), QStringList{});
    }

    void reopeningClosesTheFirstArchive()
    {
        QVERIFY(writeBytes(m_zip, Archive{{member("l.txt", "l")}}.build()));
        ZipExtractionClass reader;
        Events events(reader);
        reader.CloseZip(); // nothing open: no status
        QVERIFY(reader.OpenZip(m_zip));
        QVERIFY(reader.OpenZip(m_zip));
        QCOMPARE(events.statuses, (QStringList{"Opening Zip", "Zip Opened", "Opening Zip",
                                               "Zip Closed", "Zip Opened"}));
    }
};

QTEST_GUILESS_MAIN(TestZipReader)
#include "tst_zipreader.moc"
