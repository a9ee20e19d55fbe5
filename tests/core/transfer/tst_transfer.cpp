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
// The volume query of a test: `free` bytes free of 10^9, or none when negative.
VolumeQuery volume(qint64 free, QStringList *asked = nullptr)
{
    return [free, asked](const QString &path) -> std::optional<VolumeSpace> {
        if (asked)
            asked->append(path);
        return free < 0 ? std::nullopt : std::optional<VolumeSpace>({1000000000, free});
    };
}

// "name:size" of each file in `folder`, in name order.
QString listing(const QString &folder)
{
    QStringList files;
    for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name))
        files.append(file.fileName() + ':' + QString::number(file.size()));
    return files.join(' ');
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
        return m_state.PlayFolder + '/' + folder + '/' + name;
    }
    QString medium(const QString &name) const { return m_medium + '/' + name; }
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
    // Runs the transfer `request` ("letters|characters|folder|free": letters
    // as for make(), characters separated by commas, free bytes of the volume,
    // negative when it cannot be queried). The messages, the files in the
    // destination, the space necessary and the files copied.
    QStringList transfer(const QString &request, bool import)
    {
        const QStringList part = request.split('|');
        const TransferRequest r =
            make(part[0], part[1].split(',', Qt::SkipEmptyParts), import, part[2]);
        QStringList asked;
        const TransferOutcome done =
            import
                ? ImportFiles(m_state, r, volume(part[3].toInt(), &asked), CheckMediumVox, hooks())
                : ExportFiles(m_state, r, volume(part[3].toInt(), &asked), hooks());
        if (!asked.isEmpty() && asked != QStringList{import ? m_state.AppFolder : r.folder})
            m_messages.append("volume asked for " + asked.join(", "));
        return m_messages +
               QStringList{listing(import ? m_state.NotesFolder() : m_medium),
                           QStringLiteral("%1 %2").arg(m_space.necessary).arg(done.copied)};
    }
    // Letters: v recordings, n notes, p photos checked (a capital: checked
    // with an empty list), r replace. `folder` is appended to the medium's
    // path unless it is blank.
    TransferRequest make(const QString &letters, const QStringList &characters, bool fromMedium,
                         const QString &folder = QString()) const
    {
        TransferRequest r;
        r.folder = folder.isEmpty() || !folder.trimmed().isEmpty() ? m_medium + folder : folder;
        r.characters = characters;
        r.replace = letters.contains('r');
        for (TransferCategory c : TransferCategories) {
            const QChar letter = QLatin1Char("vnp"[int(c)]);
            r.categories[int(c)] = letters.contains(letter, Qt::CaseInsensitive);
            if (!letters.contains(letter.toUpper()))
                r.files[int(c)] =
                    fromMedium ? ListMediumFiles(r.folder, c) : ListPlayFiles(m_state, c);
        }
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

    // The play: HUBERT has recordings 1
    // (100 B) and 3 (50 B) and note 1 (10 B); ARTHUR recording 2 (1000 B); no
    // photos. The files listed are the medium's.
    void exportRunsTheChecksAndCopiesInOrder_data()
    {
        QTest::addColumn<QString>("request");
        QTest::addColumn<QStringList>("outcome");
        const QString both = "_0001_HUBERT.vox:100 _0003_HUBERT.vox:50";
        QTest::newRow("blank path")
            << "v|HUBERT|  |1000" << QStringList{T::ExportNoPath, "", "0 0"};
        QTest::newRow("no character") << "v|||1000" << QStringList{T::ExportNoCharacter, "", "0 0"};
        QTest::newRow("no category")
            << "|HUBERT||1000" << QStringList{T::ExportNoCategory, "", "0 0"};
        QTest::newRow("volume not queried")
            << "v|HUBERT||-1" << QStringList{T::ExportNoSpace, "", "150 0"};
        QTest::newRow("necessary equal to free is refused")
            << "v|HUBERT||150" << QStringList{T::ExportNoSpace, "", "150 0"};
        QTest::newRow("unselected character neither counted nor copied")
            << "v|HUBERT||151" << QStringList{T::ExportEnded, both, "150 2"};
        QTest::newRow("trailing separator typed")
            << "v|HUBERT|/|151" << QStringList{T::ExportEnded, both, "150 2"};
        QTest::newRow("empty notes said after the recordings")
            << "vN|ARTHUR||5000"
            << QStringList{T::ExportNoNotes, T::ExportEnded, "_0002_ARTHUR.vox:1000", "1000 1"};
        QTest::newRow("every category in order")
            << "vnp|HUBERT||5000"
            << QStringList{T::ExportNoPhotos, T::ExportEnded, "_0001_HUBERT.not:10 " + both,
                           "160 3"};
        QTest::newRow("selected character without files")
            << "v|FIRST LORD||5000" << QStringList{T::ExportNothing, "", "0 0"};
        QTest::newRow("all lists empty names no file")
            << "VNP|HUBERT||1000" << QStringList{T::ExportNoFiles, "", "0 0"};
        QTest::newRow("recording copy into a missing folder")
            << "v|HUBERT|/no/such/folder|1000"
            << QStringList{T::ExportRecordingPathError, "", "150 0"};
    }
    void exportRunsTheChecksAndCopiesInOrder()
    {
        QFETCH(QString, request);
        QFETCH(QStringList, outcome);
        TestPlay::write(play("vox", "_0001_HUBERT.vox"), QByteArray(100, 'h'));
        TestPlay::write(play("vox", "_0003_HUBERT.vox"), QByteArray(50, 'h'));
        TestPlay::write(play("vox", "_0002_ARTHUR.vox"), QByteArray(1000, 'a'));
        TestPlay::write(play("notes", "_0001_HUBERT.not"), QByteArray(10, 'n'));
        QCOMPARE(transfer(request, false), outcome);
    }

    // The medium: notes 1 (HUBERT, 300 B), 2 (ARTHUR, 600 B), 3 (HUBERT,
    // 100 B); the play holds note 3 already (5000 B). Letter o: the medium
    // holds note 3 only. The files listed are the play's
    // notes.
    void importCountsReplacementsAndSkipsExistingFiles_data()
    {
        QTest::addColumn<QString>("request");
        QTest::addColumn<QStringList>("outcome");
        const QString kept = "_0003_HUBERT.not:5000";
        QTest::newRow("blank path")
            << "vnp|HUBERT| |1000" << QStringList{T::ImportNoPath, kept, "0 0"};
        QTest::newRow("empty folder")
            << "vnp|HUBERT|/empty|1000" << QStringList{T::ImportNoFiles, kept, "0 0"};
        QTest::newRow("no character") << "n|||1" << QStringList{T::ImportNoCharacter, kept, "0 0"};
        QTest::newRow("no category")
            << "|HUBERT||1" << QStringList{T::ImportNoCategory, kept, "0 0"};
        QTest::newRow("volume not queried")
            << "n|HUBERT||-1" << QStringList{T::ImportNoSpace, kept, "300 0"};
        QTest::newRow("necessary equal to free is refused")
            << "n|HUBERT||300" << QStringList{T::ImportNoSpace, kept, "300 0"};
        QTest::newRow("existing kept without replace")
            << "n|HUBERT||301"
            << QStringList{T::ImportEnded, "_0001_HUBERT.not:300 " + kept, "300 1"};
        QTest::newRow("existing replaced with replace")
            << "nr|HUBERT||1"
            << QStringList{T::ImportEnded, "_0001_HUBERT.not:300 _0003_HUBERT.not:100", "-4600 2"};
        QTest::newRow("nothing new to import")
            << "no|HUBERT||1" << QStringList{T::ImportNothing, kept, "0 0"};
        QTest::newRow("smaller replacement passes with no free space")
            << "nro|HUBERT||0" << QStringList{T::ImportEnded, "_0003_HUBERT.not:100", "-4900 1"};
        QTest::newRow("category messages in order")
            << "vnp|ARTHUR||601"
            << QStringList{T::ImportNoRecordings, T::ImportNoPhotos, T::ImportEnded,
                           "_0002_ARTHUR.not:600 " + kept, "600 1"};
    }
    void importCountsReplacementsAndSkipsExistingFiles()
    {
        QFETCH(QString, request);
        QFETCH(QStringList, outcome);
        if (!request.contains('o')) {
            TestPlay::write(medium("_0001_HUBERT.not"), QByteArray(300, '1'));
            TestPlay::write(medium("_0002_ARTHUR.not"), QByteArray(600, '2'));
        }
        TestPlay::write(medium("_0003_HUBERT.not"), QByteArray(100, '3'));
        TestPlay::write(play("notes", "_0003_HUBERT.not"), QByteArray(5000, 'p'));
        QCOMPARE(transfer(request, true), outcome);
    }

    // Files of another form on the medium are not taken; a forged recording
    // is refused by name and never replaces the play's good one.
    void importTakesOnlyReplyFilesAndPackagedTakes()
    {
        writeVox(medium("_0001_HUBERT.vox"), 300);
        TestPlay::write(medium("_0003_HUBERT.vox"), "RIFF....WAVE not an archive");
        writeVox(play("vox", "_0003_HUBERT.vox"), 200);
        const QString before = listing(m_state.VoxFolder());
        for (const char *name : {"_57_HUBERT.vox", "HUBERT.vox", "_0004_HUBERT.VOX", "_0004_.vox",
                                 "_0004_HUBERT.vox.bak", "_00x4_HUBERT.vox"})
            writeVox(medium(QLatin1String(name)), 10);
        TransferRequest r = make("vr", {"HUBERT", "57_HUBERT", ""}, true);
        QCOMPARE(r.files[0], (QStringList{"_0001_HUBERT.vox", "_0003_HUBERT.vox"}));
        r.files[0].append("_0004_.vox"); // a list from elsewhere is filtered again
        const TransferOutcome done =
            ImportFiles(m_state, r, volume(1000000), CheckMediumVox, hooks());
        QVERIFY2(m_messages.size() == 2 &&
                     m_messages.at(0).startsWith(QStringLiteral("The file %1 is not a recording")
                                                     .arg(medium("_0003_HUBERT.vox"))) &&
                     !m_messages.at(0).contains(".part") && m_messages.at(1) == T::ImportEnded,
                 qPrintable(m_messages.join('\n')));
        QCOMPARE(QStringLiteral("%1 %2 ").arg(done.copied).arg(done.refused) +
                     listing(m_state.VoxFolder()),
                 QStringLiteral("1 1 _0001_HUBERT.vox:%1 ")
                         .arg(QFileInfo(medium("_0001_HUBERT.vox")).size()) +
                     before);
    }

    void forgedRecordingsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("vox");
        QTest::addColumn<QString>("errorPart"); // in the error
        using ZipTest::member;
        const ZipTest::Member take =
            member("temp.wav", HandMadeWav(1, 8000, 8, QByteArray(4000, 'a')));
        const ZipTest::Member record = member("_0001_HUBERT.tsd", "1,1,1\r\n");
        ZipTest::Member damaged = take;
        damaged.crc = ZipTest::crcOf(take.content) ^ 1;
        ZipTest::Member inFolder = take;
        inFolder.name = "sub/temp.wav";
        QTest::newRow("damaged take") << ZipTest::Archive({damaged, record}).build() << "checksum";
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
        TestPlay::write(medium("_0001_HUBERT.vox"), vox);
        QString error;
        QCOMPARE(CheckMediumVox(medium("_0001_HUBERT.vox"), "_0001_HUBERT", &error),
                 errorPart.isEmpty());
        QVERIFY2(error.contains(errorPart) && error.isEmpty() == errorPart.isEmpty(),
                 qPrintable(error));
    }

    // A copy that fails half-way through a file (the file-size limit stands
    // for a full medium) leaves no partial file, keeps the good file it would
    // have replaced, copies nothing after it and ends with the path error.
    void copyFailingHalfWayLeavesNoPartialFile_data()
    {
        QTest::addColumn<bool>("import");
        QTest::newRow("export") << false;
        QTest::newRow("import") << true;
    }
    void copyFailingHalfWayLeavesNoPartialFile()
    {
        QFETCH(bool, import);
        const QString from = import ? m_medium : m_state.NotesFolder();
        const QString to = import ? m_state.NotesFolder() : m_medium;
        TestPlay::write(from + "/_0001_HUBERT.not", QByteArray(3 * 65536, 'x'));
        TestPlay::write(from + "/_0003_HUBERT.not", "later note");
        TestPlay::write(to + "/_0001_HUBERT.not", "good note");
        const TransferRequest r = make("nr", {"HUBERT"}, import);
        TransferOutcome done;
        {
            const FileSizeLimit limit(65536);
            done = import ? ImportFiles(m_state, r, volume(1000000), CheckMediumVox, hooks())
                          : ExportFiles(m_state, r, volume(1000000), hooks());
        }
        QCOMPARE(m_messages, QStringList{import ? T::ImportPathError : T::ExportPathError});
        QVERIFY(done.stage == TransferOutcome::Stage::Failed && m_lastProgress == -1);
        QCOMPARE(listing(to), "_0001_HUBERT.not:9");
    }

    // Scene 1: 1 HUBERT, 2 ARTHUR, 3 HUBERT; scene 2: 4 HUBERT, 5 ARTHUR;
    // act 10: 6 FIRST LORD. Takes 1 and 3 in the play, 4 on the medium.
    void missingRecordingsListsRepliesWithoutTake()
    {
        for (const QString &take : {play("vox", "_0001_HUBERT.vox"),
                                    play("vox", "_0003_HUBERT.vox"), medium("_0004_HUBERT.vox")})
            TestPlay::write(take, "v");
        QCOMPARE(
            MissingRecordings(m_state, {"ARTHUR", "FIRST LORD", "HUBERT"}, m_state.VoxFolder()) +
                MissingRecordings(m_state, {"HUBERT"}, m_medium),
            (QStringList{"Act 1 Scene 1 0002_ARTHUR", "Act 1 Scene 2 0004_HUBERT",
                         "Act 1 Scene 2 0005_ARTHUR", "Act 10 Scene 1 0006_FIRST LORD",
                         "Act 1 Scene 1 0001_HUBERT", "Act 1 Scene 1 0003_HUBERT"}));
    }
};

QTEST_GUILESS_MAIN(TestTransfer)
#include "tst_transfer.moc"
