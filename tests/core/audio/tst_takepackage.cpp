#include "ArchiveChecks.h"
#include "core/audio/TakePackage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "TestFiles.h"

using namespace tiradex;

class TestTakePackage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_app;

private Q_SLOTS:
    void init()
    {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        m_app = m_dir.path() + QLatin1Char('/');
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
            WriteTestFile(m_app + QStringLiteral("temp.wav"), take);
        WriteTestFile(m_app + QStringLiteral("temp.vox"), "an earlier package");
        QString error;
        QCOMPARE(int(PackageTake(m_app, QStringLiteral("_0057_HUBERT"), 2, 3, 17900, &error)),
                 result);
        QCOMPARE(ReadTestFile(m_app + QStringLiteral("_0057_HUBERT.tsd")),
                 QByteArray("2,3,17\r\n"));
        QCOMPARE(LocalHeaderNames(ReadTestFile(m_app + QStringLiteral("temp.vox"))), members);
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
        const QString vox = m_app + QStringLiteral("_0057_HUBERT.vox");
        const QByteArray previous("the previous recording, which is longer than the new one");
        WriteTestFile(vox, previous);
        if (package == "<folder>")
            QDir().mkpath(m_app + QStringLiteral("temp.vox"));
        else if (package != "<none>")
            WriteTestFile(m_app + QStringLiteral("temp.vox"), package.toLatin1());
        QString error;
        QCOMPARE(SavePackagedTake(m_app, vox, &error), saved);
        QCOMPARE(error.isEmpty(), saved);
        QCOMPARE(ReadTestFile(vox), saved ? package.toLatin1() : previous);
        QCOMPARE(QDir(m_app).entryList({QStringLiteral("*.vox")}, QDir::Files | QDir::Hidden),
                 QStringList({"_0057_HUBERT.vox", "temp.vox"}).mid(0, saved ? 2 : 1));
    }
};

QTEST_GUILESS_MAIN(TestTakePackage)
#include "tst_takepackage.moc"
