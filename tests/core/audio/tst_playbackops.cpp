#include "../transfer/ZipTestArchive.h"
#include "VoxFiles.h"
#include "core/audio/PlaybackOps.h"
#include "core/audio/TakePackage.h"
#include "core/transfer/ZipExtractionClass.h"

#include <QTest>

#include "TestFiles.h"

#include <map>

using namespace tiradex;

namespace {
// The member names of a ZIP archive, in the order of its directory.
QStringList MemberNames(const QString &zipPath)
{
    ZipExtractionClass reader;
    QStringList names;
    if (reader.OpenZip(zipPath)) {
        for (const ZipCentralEntry &entry :
             reader.ReadDirectory().value_or(QList<ZipCentralEntry>()))
            names << entry.name;
    }
    return names;
}
} // namespace

class TestPlaybackOps : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    Module1 m_state;
    const QString m_base = QStringLiteral("_0057_HUBERT");

    // Every entry under the application folder with its content.
    std::map<QString, QByteArray> folder() const
    {
        std::map<QString, QByteArray> files;
        for (const QString &entry : EntriesUnder(m_dir.path()))
            files[entry] = ReadTestFile(m_dir.filePath(entry));
        return files;
    }

private Q_SLOTS:
    void init()
    {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        m_state.StartUp(m_dir.path());
        m_state.PlayFolder = m_state.AppFolder + QStringLiteral("kingjohn");
    }

    // A forged member ("^": before the take) of each kind of file a vox
    // file must not reach.
    void forgedVoxChangesNothingButTheTwoScratchFiles_data()
    {
        QTest::addColumn<QByteArray>("forged");
        QTest::newRow("another reply's vox") << QByteArray("kingjohn/vox/_0003_ARTHUR.vox");
        QTest::newRow("characters file") << QByteArray("^kingjohn.dat");
        QTest::newRow("deletion sound") << QByteArray("del.wav");
        QTest::newRow("another reply's note") << QByteArray("^kingjohn\\notes\\_0003_ARTHUR.not");
        QTest::newRow("another reply's record") << QByteArray("_0003_ARTHUR.tsd");
        QTest::newRow("take in a folder") << QByteArray("^kingjohn/temp.wav");
        QTest::newRow("climbing out") << QByteArray("../x");
        QTest::newRow("absolute path") << QByteArray("/tmp/tiradex-forged");
    }
    void forgedVoxChangesNothingButTheTwoScratchFiles()
    {
        QFETCH(QByteArray, forged);
        WriteTestFile(m_state.VoxPath("_0003_ARTHUR"), "arthur's take");
        WriteTestFile(m_state.NotePath("_0003_ARTHUR"), "arthur's note");
        WriteTestFile(m_state.AppFolder + "kingjohn.dat", "characters");
        WriteTestFile(m_state.AppFolder + "del.wav", "deletion sound");
        WriteTestFile(m_state.AppFolder + "kingjohn/temp.wav", "not a take");
        const QByteArray wav = ToneWav(100);
        const QByteArray record("2,3,1\r\n");
        using ZipTest::member;
        QList<ZipTest::Member> members{member("temp.wav", wav),
                                       member(m_base.toLatin1() + ".tsd", record)};
        const bool first = forged.startsWith('^');
        members.insert(first ? 0 : 1, member(forged.mid(first ? 1 : 0), "FORGED"));
        WriteTestFile(m_state.VoxPath(m_base), ZipTest::Archive(members).build());
        std::map<QString, QByteArray> expected = folder();
        expected["temp.wav"] = wav;
        expected[m_base + ".tsd"] = record;

        QString error;
        QVERIFY2(UnpackVox(m_state, m_base, &error), qPrintable(error));
        QVERIFY(folder() == expected);
        QVERIFY(!QFile::exists("/tmp/tiradex-forged"));
        QCOMPARE(ReadReplyDuration(m_state, m_base), 1);
        expected.erase("temp.wav");
        expected.erase(m_base + ".tsd");
        QVERIFY(folder() == expected);
    }

    void failedUnpackingLeavesNoEarlierTake_data()
    {
        QTest::addColumn<QByteArray>("voxBytes"); // empty: no vox file at all
        QTest::addColumn<QString>("errorPart");
        QTest::newRow("vox file gone") << QByteArray() << "doesn't exist";
        QTest::newRow("not an archive") << QByteArray("RIFF but not a zip") << "not a Zip file";
        ZipTest::Archive damaged;
        damaged.entryCount = 2; // a directory that lists more than it holds
        QTest::newRow("damaged directory") << damaged.build() << "not a Zip file";
        QTest::newRow("no take in it")
            << ZipTest::Archive({ZipTest::member("x.tsd", "1,1,1\r\n")}).build()
            << "holds no recording";
        QTest::newRow("empty take")
            << ZipTest::Archive({ZipTest::member("temp.wav", "")}).build() << "holds no recording";
    }
    void failedUnpackingLeavesNoEarlierTake()
    {
        QFETCH(QByteArray, voxBytes);
        QFETCH(QString, errorPart);
        // The previous reply's take and record, and a packaged take.
        WriteTestFile(m_state.AppFolder + "temp.wav", ToneWav(500));
        WriteTestFile(m_state.AppFolder + "_0056_ARTHUR.tsd", "1,1,4\r\n");
        WriteTestFile(m_state.AppFolder + "temp.vox", "zip");
        if (!voxBytes.isEmpty())
            QVERIFY(WriteTestFile(m_state.VoxPath(m_base), voxBytes));
        QString error;
        QVERIFY(!UnpackVox(m_state, m_base, &error));
        QVERIFY2(error.contains(errorPart), qPrintable(error));
        QCOMPARE(ScratchFiles(m_state), QStringList());
    }

    void durationIsTheRecordsThirdValue_data()
    {
        QTest::addColumn<QByteArray>("record"); // "<none>": no record, "<novox>": no vox file
        QTest::addColumn<int>("seconds");
        QTest::newRow("2,3,17") << QByteArray("2,3,17\r\n") << 17;
        QTest::newRow("0.9 s take") << QByteArray("1,1,0\r\n") << 0;
        QTest::newRow("no duration record") << QByteArray("<none>") << 0;
        QTest::newRow("no vox file") << QByteArray("<novox>") << 0;
        QTest::newRow("short line") << QByteArray("2,3\r\n") << 0;
        QTest::newRow("values over lines") << QByteArray("2\r\n3\r\n12\r\n") << 12;
        QTest::newRow("blanks and no line end") << QByteArray("2, 3, 9") << 9;
        QTest::newRow("beyond 16 bits") << QByteArray("2,3,40000\r\n") << 0;
        QTest::newRow("not a number") << QByteArray("2,3,abc\r\n") << 0;
    }
    void durationIsTheRecordsThirdValue()
    {
        QFETCH(QByteArray, record);
        QFETCH(int, seconds);
        const std::optional<QByteArray> stored =
            record == "<none>" ? std::nullopt : std::optional<QByteArray>(record);
        if (record != "<novox>")
            QVERIFY(WriteVox(m_state, m_base, ToneWav(300), stored));
        // Scratch files of an earlier unpacking, this reply's record among
        // them, must be neither read nor left.
        WriteTestFile(m_state.AppFolder + m_base + ".tsd", "2,3,21\r\n");
        WriteTestFile(m_state.AppFolder + "_0001_LEWIS.tsd", "1,1,5\r\n");
        WriteTestFile(m_state.AppFolder + "temp.wav", ToneWav(100));
        QCOMPARE(ReadReplyDuration(m_state, m_base), seconds);
        QCOMPARE(ScratchFiles(m_state), QStringList());
        QCOMPARE(QFile::exists(m_state.VoxPath(m_base)), record != "<novox>");
    }

    void durationRecordHoldsWholeSeconds_data()
    {
        QTest::addColumn<QList<qint64>>("actSceneMs");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("17.9 s take") << QList<qint64>{2, 3, 17900} << QByteArray("2,3,17\r\n");
        QTest::newRow("under one second") << QList<qint64>{1, 1, 999} << QByteArray("1,1,0\r\n");
        QTest::newRow("longest take and its second")
            << QList<qint64>{5, 12, 181000} << QByteArray("5,12,181\r\n");
        QTest::newRow("beyond 16 bits is held at the largest value")
            << QList<qint64>{1, 1, 40000000} << QByteArray("1,1,32767\r\n");
    }
    void durationRecordHoldsWholeSeconds()
    {
        QFETCH(QList<qint64>, actSceneMs);
        QFETCH(QByteArray, line);
        QCOMPARE(DurationRecordLine(int(actSceneMs[0]), int(actSceneMs[1]), actSceneMs[2]), line);
    }

    // The record is written whatever the take; the package only with a take,
    // holding the WAV file then the record under their bare names.
    void packageHoldsWavThenDurationRecord_data()
    {
        QTest::addColumn<QByteArray>("take"); // "<none>": no temp.wav
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("members");
        QTest::newRow("take") << QByteArray("RIFF....WAVE") + QByteArray(5000, 'x')
                              << int(PackageResult::Packaged)
                              << QStringList({"temp.wav", "_0057_HUBERT.tsd"});
        QTest::newRow("no temp.wav")
            << QByteArray("<none>") << int(PackageResult::NoTake) << QStringList();
        QTest::newRow("empty temp.wav")
            << QByteArray() << int(PackageResult::NoTake) << QStringList();
    }
    void packageHoldsWavThenDurationRecord()
    {
        QFETCH(QByteArray, take);
        QFETCH(int, result);
        QFETCH(QStringList, members);
        if (take != "<none>")
            WriteTestFile(m_state.AppFolder + QStringLiteral("temp.wav"), take);
        WriteTestFile(m_state.AppFolder + QStringLiteral("temp.vox"), "an earlier package");
        QString error;
        QCOMPARE(int(PackageTake(m_state.AppFolder, QStringLiteral("_0057_HUBERT"), 2, 3, 17900,
                                 &error)),
                 result);
        QCOMPARE(ReadTestFile(m_state.AppFolder + QStringLiteral("_0057_HUBERT.tsd")),
                 QByteArray("2,3,17\r\n"));
        QCOMPARE(MemberNames(m_state.AppFolder + QStringLiteral("temp.vox")), members);
    }

    // A failed save leaves the reply's previous recording as it was and no
    // other vox file beside it.
    void saveCopiesThePackageOrNothing_data()
    {
        QTest::addColumn<QString>("package"); // "<none>": no temp.vox, "<folder>": unreadable
        QTest::addColumn<bool>("saved");
        QTest::newRow("package replaces a longer recording") << "new package" << true;
        QTest::newRow("no package") << "<none>" << false;
        QTest::newRow("unreadable package") << "<folder>" << false;
    }
    void saveCopiesThePackageOrNothing()
    {
        QFETCH(QString, package);
        QFETCH(bool, saved);
        const QString vox = m_state.AppFolder + QStringLiteral("_0057_HUBERT.vox");
        const QByteArray previous("the previous recording, which is longer than the new one");
        WriteTestFile(vox, previous);
        if (package == "<folder>")
            QDir().mkpath(m_state.AppFolder + QStringLiteral("temp.vox"));
        else if (package != "<none>")
            WriteTestFile(m_state.AppFolder + QStringLiteral("temp.vox"), package.toLatin1());
        QString error;
        QCOMPARE(SavePackagedTake(m_state.AppFolder, vox, &error), saved);
        QCOMPARE(error.isEmpty(), saved);
        QCOMPARE(ReadTestFile(vox), saved ? package.toLatin1() : previous);
        QCOMPARE(QDir(m_state.AppFolder)
                     .entryList({QStringLiteral("*.vox")}, QDir::Files | QDir::Hidden),
                 QStringList({"_0057_HUBERT.vox", "temp.vox"}).mid(0, saved ? 2 : 1));
    }
};

QTEST_GUILESS_MAIN(TestPlaybackOps)
#include "tst_playbackops.moc"
