#include "VoxFiles.h"
#include "core/app/Module1.h"
#include "core/audio/PlaybackOps.h"

#include <QTest>

class TestPlaybackOps : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    Module1 m_state;
    const QString m_base = QStringLiteral("_0057_HUBERT");

    QString scratch(const QString &name) const { return m_state.AppFolder + name; }
    void writeScratch(const QString &name, const QByteArray &bytes) const
    {
        QFile file(scratch(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray readAll(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        m_state.StartUp(m_dir.path());
        m_state.PlayFolder = m_state.AppFolder + QStringLiteral("kingjohn");
    }

    void unpackingGivesTheTakeAndItsDurationRecord()
    {
        const QByteArray wav = OldEightBitWav(11025);
        QVERIFY(WriteVox(m_state, m_base, wav, QByteArray("2,3,1\r\n")));
        QString error;
        QVERIFY2(UnpackVox(m_state, m_base, &error), qPrintable(error));
        QCOMPARE(readAll(scratch("temp.wav")), wav);
        QCOMPARE(readAll(scratch(m_base + ".tsd")), QByteArray("2,3,1\r\n"));
    }

    void failedUnpackingLeavesNoEarlierTake_data()
    {
        QTest::addColumn<QByteArray>("voxBytes"); // empty: no vox file at all
        QTest::addColumn<QString>("errorPart");
        QTest::newRow("vox file gone") << QByteArray() << "doesn't exist";
        QTest::newRow("not an archive") << QByteArray("RIFF but not a zip") << "not a Zip file";
    }
    void failedUnpackingLeavesNoEarlierTake()
    {
        QFETCH(QByteArray, voxBytes);
        QFETCH(QString, errorPart);
        // The previous reply's take and record, and a packaged take.
        writeScratch("temp.wav", ToneWav(500));
        writeScratch("_0056_ARTHUR.tsd", "1,1,4\r\n");
        writeScratch("temp.vox", "zip");
        if (!voxBytes.isEmpty()) {
            QDir().mkpath(m_state.VoxFolder());
            QFile vox(m_state.VoxPath(m_base));
            QVERIFY(vox.open(QIODevice::WriteOnly));
            vox.write(voxBytes);
        }
        QString error;
        QVERIFY(!UnpackVox(m_state, m_base, &error));
        QVERIFY2(error.contains(errorPart), qPrintable(error));
        QCOMPARE(ScratchFiles(m_state), QStringList());
    }

    void durationIsTheRecordsThirdValue_data()
    {
        QTest::addColumn<QByteArray>("record"); // "<none>": the vox holds no record
        QTest::addColumn<int>("seconds");
        QTest::newRow("2,3,17") << QByteArray("2,3,17\r\n") << 17;
        QTest::newRow("0.9 s take") << QByteArray("1,1,0\r\n") << 0;
        QTest::newRow("no duration record") << QByteArray("<none>") << 0;
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
        QVERIFY(WriteVox(m_state, m_base, ToneWav(300), stored));
        writeScratch("_0001_LEWIS.tsd", "1,1,5\r\n");
        QCOMPARE(ReadReplyDuration(m_state, m_base), seconds);
        QCOMPARE(ScratchFiles(m_state), QStringList());
        QVERIFY(QFile::exists(m_state.VoxPath(m_base)));
    }

    void durationOfMissingVoxIsZeroAndClearsScratch()
    {
        // A record of this reply left by an earlier unpacking must not be read.
        writeScratch(m_base + ".tsd", "2,3,17\r\n");
        writeScratch("temp.wav", ToneWav(100));
        QCOMPARE(ReadReplyDuration(m_state, m_base), 0);
        QCOMPARE(ScratchFiles(m_state), QStringList());
    }

    void progressTextInWholeSeconds_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<qint64>("maximum");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("text");
        QTest::newRow("12,800 of 17,900") << qint64(12800) << qint64(17900) << " secondes"
                                          << "12/17 secondes";
        QTest::newRow("rounded down, not up") << qint64(999) << qint64(1999) << " seconds"
                                              << "0/1 seconds";
        QTest::newRow("end") << qint64(17900) << qint64(17900) << " secondes"
                             << "17/17 secondes";
    }
    void progressTextInWholeSeconds()
    {
        QFETCH(qint64, value);
        QFETCH(qint64, maximum);
        QFETCH(QString, suffix);
        QFETCH(QString, text);
        QCOMPARE(ProgressText(value, maximum, suffix), text);
    }
};

QTEST_GUILESS_MAIN(TestPlaybackOps)
#include "tst_playbackops.moc"
