#include "../transfer/ZipTestArchive.h"
#include "TestFiles.h"
#include "TestPlay.h"
#include "VoxFiles.h"
#include "core/app/Module1.h"
#include "core/transfer/Transfer.h"
#include "core/transfer/TransferTexts.h"
#include "core/transfer/VoxCheck.h"

#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace tiradex;

namespace T = TransferTexts;

namespace {
// Categories from letters: "v" recordings, "n" notes, "p" photos.
std::array<bool, 3> categories(const QString &letters)
{
    return {letters.contains(QLatin1Char('v')), letters.contains(QLatin1Char('n')),
            letters.contains(QLatin1Char('p'))};
}

// The volume query of a test: `free` bytes free of 10^9, or none when negative.
VolumeQuery volume(qint64 free, QStringList *asked = nullptr)
{
    return [free, asked](const QString &path) -> std::optional<VolumeSpace> {
        if (asked)
            asked->append(path);
        if (free < 0)
            return std::nullopt;
        return VolumeSpace{1000000000, free};
    };
}

// Keeps a file-size limit for the life of the object: writes beyond it fail
// half-way through a file, as on a full medium.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_old{};
};
} // namespace

class TestTransfer : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    Module1 m_state;
    QString m_medium;
    QStringList m_messages;
    TransferSpace m_space;
    int m_lastProgress = -1;

    TransferHooks hooks()
    {
        TransferHooks h;
        h.message = [this](const QString &text) { m_messages.append(text); };
        h.space = [this](const TransferSpace &space) { m_space = space; };
        h.progress = [this](int value) { m_lastProgress = value; };
        return h;
    }
    QString play(const QString &folder, const QString &name) const
    {
        return m_state.PlayFolder + QLatin1Char('/') + folder + QLatin1Char('/') + name;
    }
    QString medium(const QString &name) const { return m_medium + QLatin1Char('/') + name; }
    // A packaged take of `wavBytes` bytes of sound, written at `path` with
    // the duration record of the reply that the file's name gives.
    static void writeVox(const QString &path, int wavBytes)
    {
        const QByteArray record = QFileInfo(path).completeBaseName().toLatin1() + ".tsd";
        TestPlay::write(
            path,
            ZipTest::Archive(
                {ZipTest::member("temp.wav", HandMadeWav(1, 8000, 8, QByteArray(wavBytes, 'a'))),
                 ZipTest::member(record, "1,1,1\r\n")})
                .build());
    }
    TransferRequest request(const QString &letters, const QStringList &characters,
                            bool fromMedium) const
    {
        TransferRequest r;
        r.folder = m_medium; // typed without a trailing separator
        r.characters = characters;
        r.categories = categories(letters);
        for (TransferCategory c : TransferCategories)
            r.files[int(c)] = fromMedium ? ListMediumFiles(m_medium, c) : ListPlayFiles(m_state, c);
        return r;
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).removeRecursively();
        m_state = Module1();
        TestPlay testPlay(m_state, m_dir.path() + QStringLiteral("/app"));
        testPlay.writeStore({TestPlay::numberedScene(1, 1, 1, 3, {"HUBERT", "ARTHUR"}),
                             TestPlay::numberedScene(1, 2, 4, 2, {"HUBERT", "ARTHUR"}),
                             TestPlay::numberedScene(10, 1, 6, 1, {"FIRST LORD"})});
        m_medium = m_dir.path() + QStringLiteral("/medium");
        QDir().mkpath(m_medium);
        m_messages.clear();
        m_space = TransferSpace();
        m_lastProgress = -1;
    }

    // Play: HUBERT has recordings 1 (100 B) and 3 (50 B) and note 1 (10 B);
    // ARTHUR recording 2 (1000 B). No photos.
    void exportRunsTheChecksAndCopiesInOrder_data()
    {
        QTest::addColumn<QString>("letters");
        QTest::addColumn<QStringList>("characters");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<qint64>("free"); // negative: the volume cannot be queried
        QTest::addColumn<qint64>("necessary");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("copied");
        QTest::addColumn<QString>("emptied"); // categories whose lists are empty
        const QStringList hubert{"HUBERT"};
        const QStringList bothCopied{"_0001_HUBERT.vox", "_0003_HUBERT.vox"};
        QTest::newRow("blank path") << "v" << hubert << "  " << qint64(1000) << qint64(0)
                                    << QStringList{T::ExportNoPath} << QStringList() << "";
        QTest::newRow("no character") << "v" << QStringList() << "" << qint64(1000) << qint64(0)
                                      << QStringList{T::ExportNoCharacter} << QStringList() << "";
        QTest::newRow("no category") << "" << hubert << "" << qint64(1000) << qint64(0)
                                     << QStringList{T::ExportNoCategory} << QStringList() << "";
        QTest::newRow("volume not queried") << "v" << hubert << "" << qint64(-1) << qint64(150)
                                            << QStringList{T::ExportNoSpace} << QStringList() << "";
        QTest::newRow("necessary equal to free is refused")
            << "v" << hubert << "" << qint64(150) << qint64(150) << QStringList{T::ExportNoSpace}
            << QStringList() << "";
        QTest::newRow("unselected character neither counted nor copied")
            << "v" << hubert << "" << qint64(151) << qint64(150) << QStringList{T::ExportEnded}
            << bothCopied << "";
        QTest::newRow("trailing separator typed")
            << "v" << hubert << "/" << qint64(151) << qint64(150) << QStringList{T::ExportEnded}
            << bothCopied << "";
        QTest::newRow("empty notes said after the recordings")
            << "vn" << QStringList{"ARTHUR"} << "" << qint64(5000) << qint64(1000)
            << QStringList{T::ExportNoNotes, T::ExportEnded} << QStringList{"_0002_ARTHUR.vox"}
            << "n";
        QTest::newRow("every category in order")
            << "vnp" << hubert << "" << qint64(5000) << qint64(160)
            << QStringList{T::ExportNoPhotos, T::ExportEnded}
            << QStringList{"_0001_HUBERT.not", "_0001_HUBERT.vox", "_0003_HUBERT.vox"} << "";
        QTest::newRow("empty recordings, notes not checked")
            << "p" << hubert << "" << qint64(5000) << qint64(0)
            << QStringList{T::ExportNoPhotos, T::ExportNothing} << QStringList() << "";
        QTest::newRow("selected character without files")
            << "v" << QStringList{"FIRST LORD"} << "" << qint64(5000) << qint64(0)
            << QStringList{T::ExportNothing} << QStringList() << "";
        QTest::newRow("all lists empty names no file")
            << "vnp" << hubert << "" << qint64(1000) << qint64(0) << QStringList{T::ExportNoFiles}
            << QStringList() << "vnp";
        QTest::newRow("recording copy into a missing folder")
            << "v" << hubert << "/no/such/folder" << qint64(1000) << qint64(150)
            << QStringList{T::ExportRecordingPathError} << QStringList() << "";
    }
    void exportRunsTheChecksAndCopiesInOrder()
    {
        QFETCH(QString, letters);
        QFETCH(QStringList, characters);
        QFETCH(QString, folder);
        QFETCH(qint64, free);
        QFETCH(qint64, necessary);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, copied);
        QFETCH(QString, emptied);
        TestPlay::write(play("vox", "_0001_HUBERT.vox"), QByteArray(100, 'h'));
        TestPlay::write(play("vox", "_0003_HUBERT.vox"), QByteArray(50, 'h'));
        TestPlay::write(play("vox", "_0002_ARTHUR.vox"), QByteArray(1000, 'a'));
        TestPlay::write(play("notes", "_0001_HUBERT.not"), QByteArray(10, 'n'));
        TransferRequest r = request(letters, characters, false);
        const std::array<bool, 3> empty = categories(emptied);
        for (int c = 0; c < 3; ++c)
            if (empty[c])
                r.files[c].clear();
        r.folder = folder.trimmed().isEmpty() && !folder.isEmpty() ? folder : m_medium + folder;
        QStringList asked;
        const TransferOutcome outcome = ExportFiles(m_state, r, volume(free, &asked), hooks());
        QCOMPARE(m_messages, messages);
        QCOMPARE(QDir(m_medium).entryList(QDir::Files, QDir::Name), copied);
        QCOMPARE(outcome.copied, int(copied.size()));
        QCOMPARE(m_space.necessary, necessary);
        if (!asked.isEmpty())
            QCOMPARE(asked, QStringList{r.folder});
        for (const QString &name : copied)
            QCOMPARE(ReadTestFile(medium(name)),
                     ReadTestFile(play(name.endsWith(".vox") ? "vox" : "notes", name)));
    }

    // Medium: notes 1 (HUBERT, 300 B), 2 (ARTHUR, 600 B), 3 (HUBERT, 100 B);
    // the play holds note 3 already (5000 B).
    void importCountsReplacementsAndSkipsExistingFiles_data()
    {
        QTest::addColumn<QString>("letters");
        QTest::addColumn<QStringList>("characters");
        QTest::addColumn<bool>("replace");
        QTest::addColumn<bool>("onlyTheExisting"); // the medium holds note 3 only
        QTest::addColumn<qint64>("free");
        QTest::addColumn<qint64>("necessary");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("imported");
        const QStringList hubert{"HUBERT"};
        QTest::newRow("no character")
            << "n" << QStringList() << false << false << qint64(1) << qint64(0)
            << QStringList{T::ImportNoCharacter} << QStringList();
        QTest::newRow("no category") << "" << hubert << false << false << qint64(1) << qint64(0)
                                     << QStringList{T::ImportNoCategory} << QStringList();
        QTest::newRow("volume not queried")
            << "n" << hubert << false << false << qint64(-1) << qint64(300)
            << QStringList{T::ImportNoSpace} << QStringList();
        QTest::newRow("necessary equal to free is refused")
            << "n" << hubert << false << false << qint64(300) << qint64(300)
            << QStringList{T::ImportNoSpace} << QStringList();
        QTest::newRow("existing kept without replace")
            << "n" << hubert << false << false << qint64(301) << qint64(300)
            << QStringList{T::ImportEnded} << QStringList{"_0001_HUBERT.not"};
        QTest::newRow("existing replaced with replace")
            << "n" << hubert << true << false << qint64(1) << qint64(300 + 100 - 5000)
            << QStringList{T::ImportEnded} << QStringList{"_0001_HUBERT.not", "_0003_HUBERT.not"};
        QTest::newRow("nothing new to import")
            << "n" << hubert << false << true << qint64(1) << qint64(0)
            << QStringList{T::ImportNothing} << QStringList();
        QTest::newRow("smaller replacement passes with no free space")
            << "n" << hubert << true << true << qint64(0) << qint64(100 - 5000)
            << QStringList{T::ImportEnded} << QStringList{"_0003_HUBERT.not"};
        QTest::newRow("category messages in order")
            << "vnp" << QStringList{"ARTHUR"} << false << false << qint64(601) << qint64(600)
            << QStringList{T::ImportNoRecordings, T::ImportNoPhotos, T::ImportEnded}
            << QStringList{"_0002_ARTHUR.not"};
    }
    void importCountsReplacementsAndSkipsExistingFiles()
    {
        QFETCH(QString, letters);
        QFETCH(QStringList, characters);
        QFETCH(bool, replace);
        QFETCH(bool, onlyTheExisting);
        QFETCH(qint64, free);
        QFETCH(qint64, necessary);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, imported);
        if (!onlyTheExisting) {
            TestPlay::write(medium("_0001_HUBERT.not"), QByteArray(300, '1'));
            TestPlay::write(medium("_0002_ARTHUR.not"), QByteArray(600, '2'));
        }
        TestPlay::write(medium("_0003_HUBERT.not"), QByteArray(100, '3'));
        TestPlay::write(play("notes", "_0003_HUBERT.not"), QByteArray(5000, 'p'));
        TransferRequest r = request(letters, characters, true);
        r.replace = replace;
        QStringList asked;
        const TransferOutcome outcome =
            ImportFiles(m_state, r, volume(free, &asked), CheckMediumVox, hooks());
        QCOMPARE(m_messages, messages);
        QCOMPARE(outcome.copied, int(imported.size()));
        QCOMPARE(m_space.necessary, necessary);
        if (!asked.isEmpty())
            QCOMPARE(asked, QStringList{m_state.AppFolder});
        QStringList expected = imported;
        if (!imported.contains("_0003_HUBERT.not"))
            expected.append("_0003_HUBERT.not");
        expected.sort();
        QCOMPARE(QDir(m_state.NotesFolder()).entryList(QDir::Files, QDir::Name), expected);
        for (const QString &name : imported)
            QCOMPARE(ReadTestFile(play("notes", name)), ReadTestFile(medium(name)));
        if (!imported.contains("_0003_HUBERT.not"))
            QCOMPARE(ReadTestFile(play("notes", "_0003_HUBERT.not")), QByteArray(5000, 'p'));
    }

    void importChecksPathAndEmptyFolderFirst_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("message");
        QTest::newRow("blank path") << " " << T::ImportNoPath;
        QTest::newRow("empty folder") << "empty" << T::ImportNoFiles;
    }
    void importChecksPathAndEmptyFolderFirst()
    {
        QFETCH(QString, folder);
        QFETCH(QString, message);
        TestPlay::write(medium("_0001_HUBERT.not"), "n");
        TransferRequest r = request("vnp", {"HUBERT"}, true);
        r.folder = folder.trimmed().isEmpty() ? folder : m_medium + QLatin1Char('/') + folder;
        if (!folder.trimmed().isEmpty())
            r.files = {};
        ImportFiles(m_state, r, volume(1000), CheckMediumVox, hooks());
        QCOMPARE(m_messages, QStringList{message});
    }

    // Files of another form on the medium are not taken; a forged recording
    // is refused by name and never replaces the play's good one.
    void importTakesOnlyReplyFilesAndPackagedTakes()
    {
        writeVox(medium("_0001_HUBERT.vox"), 300);
        TestPlay::write(medium("_0003_HUBERT.vox"), "RIFF....WAVE not an archive");
        writeVox(play("vox", "_0003_HUBERT.vox"), 200);
        const QByteArray good = ReadTestFile(play("vox", "_0003_HUBERT.vox"));
        for (const char *name : {"_57_HUBERT.vox", "HUBERT.vox", "_0004_HUBERT.VOX", "_0004_.vox",
                                 "_0004_HUBERT.vox.bak", "_00x4_HUBERT.vox"})
            writeVox(medium(QLatin1String(name)), 10);
        TransferRequest r = request("v", {"HUBERT", "57_HUBERT", ""}, true);
        r.replace = true;
        QCOMPARE(r.files[0], (QStringList{"_0001_HUBERT.vox", "_0003_HUBERT.vox"}));
        r.files[0].append("_0004_.vox"); // a list from elsewhere is filtered again
        const TransferOutcome outcome =
            ImportFiles(m_state, r, volume(1000000), CheckMediumVox, hooks());
        QCOMPARE(m_messages.size(), 2);
        QVERIFY2(
            m_messages.at(0).startsWith(
                QStringLiteral("The file %1 is not a recording").arg(medium("_0003_HUBERT.vox"))),
            qPrintable(m_messages.at(0)));
        QVERIFY(!m_messages.at(0).contains(QStringLiteral(".part")));
        QCOMPARE(m_messages.at(1), T::ImportEnded);
        QCOMPARE(outcome.copied, 1);
        QCOMPARE(outcome.refused, 1);
        QCOMPARE(ReadTestFile(play("vox", "_0003_HUBERT.vox")), good);
        QCOMPARE(QDir(m_state.VoxFolder()).entryList(QDir::Files, QDir::Name),
                 (QStringList{"_0001_HUBERT.vox", "_0003_HUBERT.vox"}));
    }

    void forgedRecordingsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("vox");
        QTest::addColumn<QString>("errorPart"); // empty: accepted
        using ZipTest::member;
        const ZipTest::Member take =
            member("temp.wav", HandMadeWav(1, 8000, 8, QByteArray(4000, 'a')));
        const ZipTest::Member record = member("_0001_HUBERT.tsd", "1,1,1\r\n");
        const QByteArray packaged = ZipTest::Archive({take, record}).build();
        ZipTest::Member damaged = take;
        damaged.crc = ZipTest::crcOf(take.content) ^ 1;
        ZipTest::Member inFolder = take;
        inFolder.name = "sub/temp.wav";
        QTest::newRow("packaged take") << packaged << "";
        QTest::newRow("not an archive") << QByteArray("RIFF....WAVEfmt ") << "not a Zip file";
        QTest::newRow("damaged take") << ZipTest::Archive({damaged, record}).build() << "checksum";
        QTest::newRow("truncated archive") << packaged.chopped(30) << "not a Zip file";
        QTest::newRow("archive without take")
            << ZipTest::Archive({record}).build() << "no recording";
        QTest::newRow("take inside a folder")
            << ZipTest::Archive({inFolder, record}).build() << "no recording";
        QTest::newRow("record of another reply")
            << ZipTest::Archive({take, member("_0002_ARTHUR.tsd", "1,1,1\r\n")}).build()
            << "_0001_HUBERT.tsd";
    }
    void forgedRecordingsAreRefused()
    {
        QFETCH(QByteArray, vox);
        QFETCH(QString, errorPart);
        const QString path = medium("_0001_HUBERT.vox");
        TestPlay::write(path, vox);
        QString error;
        QCOMPARE(CheckMediumVox(path, "_0001_HUBERT", &error), errorPart.isEmpty());
        QVERIFY2(error.contains(errorPart), qPrintable(error));
        QCOMPARE(error.isEmpty(), errorPart.isEmpty());
    }

    // A copy that fails half-way through a file (the file-size limit stands
    // for a full medium) leaves no partial file, keeps the good file it would
    // have replaced, and ends the command with the path error.
    void copyFailingHalfWayLeavesNoPartialFile_data()
    {
        QTest::addColumn<bool>("import");
        QTest::newRow("export") << false;
        QTest::newRow("import") << true;
    }
    void copyFailingHalfWayLeavesNoPartialFile()
    {
        QFETCH(bool, import);
        const QString from =
            import ? medium("_0001_HUBERT.not") : play("notes", "_0001_HUBERT.not");
        const QString to = import ? play("notes", "_0001_HUBERT.not") : medium("_0001_HUBERT.not");
        TestPlay::write(from, QByteArray(3 * 65536, 'x'));
        TestPlay::write(to, "good note");
        TestPlay::write(import ? medium("_0003_HUBERT.not") : play("notes", "_0003_HUBERT.not"),
                        "later note");
        TransferRequest r = request("n", {"HUBERT"}, import);
        r.replace = true;
        TransferOutcome outcome;
        {
            const FileSizeLimit limit(65536);
            outcome = import ? ImportFiles(m_state, r, volume(1000000), CheckMediumVox, hooks())
                             : ExportFiles(m_state, r, volume(1000000), hooks());
        }
        QCOMPARE(m_messages, QStringList{import ? T::ImportPathError : T::ExportPathError});
        QVERIFY(outcome.stage == TransferOutcome::Stage::Failed);
        QCOMPARE(ReadTestFile(to), QByteArray("good note"));
        // Nothing left beside it, and the file after the failure not copied.
        QCOMPARE(QFileInfo(to).dir().entryList(QDir::Files | QDir::Hidden, QDir::Name).size(), 1);
        QCOMPARE(m_lastProgress, -1);
    }

    void missingRecordingsListsRepliesWithoutTake_data()
    {
        QTest::addColumn<bool>("onMedium");
        QTest::addColumn<QStringList>("characters");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("play, one character")
            << false << QStringList{"HUBERT"} << QStringList{"Act 1 Scene 2 0004_HUBERT"};
        QTest::newRow("play, two characters")
            << false << QStringList{"ARTHUR", "FIRST LORD"}
            << QStringList{"Act 1 Scene 1 0002_ARTHUR", "Act 1 Scene 2 0005_ARTHUR",
                           "Act 10 Scene 1 0006_FIRST LORD"};
        QTest::newRow("medium") << true << QStringList{"HUBERT"}
                                << QStringList{"Act 1 Scene 1 0001_HUBERT",
                                               "Act 1 Scene 1 0003_HUBERT"};
    }
    void missingRecordingsListsRepliesWithoutTake()
    {
        QFETCH(bool, onMedium);
        QFETCH(QStringList, characters);
        QFETCH(QStringList, items);
        // Scene 1: 1 HUBERT, 2 ARTHUR, 3 HUBERT; scene 2: 4 HUBERT, 5 ARTHUR.
        TestPlay::write(play("vox", "_0001_HUBERT.vox"), "v");
        TestPlay::write(play("vox", "_0003_HUBERT.vox"), "v");
        TestPlay::write(medium("_0004_HUBERT.vox"), "v");
        QCOMPARE(MissingRecordings(m_state, characters, onMedium ? m_medium : m_state.VoxFolder()),
                 items);
    }
};

QTEST_GUILESS_MAIN(TestTransfer)
#include "tst_transfer.moc"
