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
        QTest::addColumn<int>("act");
        QTest::addColumn<int>("scene");
        QTest::addColumn<qint64>("lengthMs");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("17.9 s take") << 2 << 3 << qint64(17900) << QByteArray("2,3,17\r\n");
        QTest::newRow("under one second") << 1 << 1 << qint64(999) << QByteArray("1,1,0\r\n");
        QTest::newRow("longest take and its second")
            << 5 << 12 << qint64(181000) << QByteArray("5,12,181\r\n");
        QTest::newRow("beyond 16 bits is held at the largest value")
            << 1 << 1 << qint64(40000000) << QByteArray("1,1,32767\r\n");
    }
    void durationRecordHoldsWholeSeconds()
    {
        QFETCH(int, act);
        QFETCH(int, scene);
        QFETCH(qint64, lengthMs);
        QFETCH(QByteArray, line);
        QCOMPARE(DurationRecordLine(act, scene, lengthMs), line);
    }

    void packagedTakeHoldsWavThenDurationRecordUnderBareNames()
    {
        const QByteArray take = QByteArray("RIFF....WAVE") + QByteArray(5000, 'x');
        WriteTestFile(m_app + QStringLiteral("temp.wav"), take);
        WriteTestFile(m_app + QStringLiteral("temp.vox"), "an earlier package");
        QString error;
        QCOMPARE(PackageTake(m_app, QStringLiteral("_0057_HUBERT"), 2, 3, 17900, &error),
                 PackageResult::Packaged);
        QCOMPARE(ReadTestFile(m_app + QStringLiteral("_0057_HUBERT.tsd")),
                 QByteArray("2,3,17\r\n"));
        const QByteArray zip = ReadTestFile(m_app + QStringLiteral("temp.vox"));
        QCOMPARE(LocalHeaderNames(zip),
                 (QStringList{QStringLiteral("temp.wav"), QStringLiteral("_0057_HUBERT.tsd")}));
    }

    void missingOrEmptyTakeMakesNoArchive_data()
    {
        QTest::addColumn<bool>("emptyFile");
        QTest::newRow("no temp.wav") << false;
        QTest::newRow("empty temp.wav") << true;
    }
    void missingOrEmptyTakeMakesNoArchive()
    {
        QFETCH(bool, emptyFile);
        if (emptyFile)
            WriteTestFile(m_app + QStringLiteral("temp.wav"), QByteArray());
        QString error;
        QCOMPARE(PackageTake(m_app, QStringLiteral("_0001_A"), 1, 1, 0, &error),
                 PackageResult::NoTake);
        QVERIFY(!QFile::exists(m_app + QStringLiteral("temp.vox")));
        QCOMPARE(ReadTestFile(m_app + QStringLiteral("_0001_A.tsd")), QByteArray("1,1,0\r\n"));
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
        WriteTestFile(vox, "the previous recording, which is longer than the new one");
        if (package == "<folder>")
            QDir().mkpath(m_app + QStringLiteral("temp.vox"));
        else if (package != "<none>")
            WriteTestFile(m_app + QStringLiteral("temp.vox"), package.toLatin1());
        QString error;
        QCOMPARE(SavePackagedTake(m_app, vox, &error), saved);
        QCOMPARE(error.isEmpty(), saved);
        QCOMPARE(ReadTestFile(vox),
                 saved ? package.toLatin1()
                       : QByteArray("the previous recording, which is longer than the "
                                    "new one"));
        QStringList left{QStringLiteral("_0057_HUBERT.vox")};
        if (saved)
            left.append(QStringLiteral("temp.vox"));
        QCOMPARE(QDir(m_app).entryList({QStringLiteral("*.vox")}, QDir::Files | QDir::Hidden),
                 left);
    }
};

QTEST_GUILESS_MAIN(TestTakePackage)
#include "tst_takepackage.moc"
