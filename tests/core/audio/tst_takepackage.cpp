#include "ArchiveChecks.h"
#include "core/audio/TakePackage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestTakePackage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString app_;

private Q_SLOTS:
    void init()
    {
        QDir(dir_.path()).removeRecursively();
        QDir().mkpath(dir_.path());
        app_ = dir_.path() + QLatin1Char('/');
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
        write(app_ + QStringLiteral("temp.wav"), take);
        write(app_ + QStringLiteral("temp.vox"), "an earlier package");
        QString error;
        QCOMPARE(PackageTake(app_, QStringLiteral("_0057_HUBERT"), 2, 3, 17900, &error),
                 PackageResult::Packaged);
        QCOMPARE(read(app_ + QStringLiteral("_0057_HUBERT.tsd")), QByteArray("2,3,17\r\n"));
        const QByteArray zip = read(app_ + QStringLiteral("temp.vox"));
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
            write(app_ + QStringLiteral("temp.wav"), QByteArray());
        QString error;
        QCOMPARE(PackageTake(app_, QStringLiteral("_0001_A"), 1, 1, 0, &error),
                 PackageResult::NoTake);
        QVERIFY(!QFile::exists(app_ + QStringLiteral("temp.vox")));
        QCOMPARE(read(app_ + QStringLiteral("_0001_A.tsd")), QByteArray("1,1,0\r\n"));
    }

    void saveReplacesExistingVox()
    {
        const QString vox = app_ + QStringLiteral("_0057_HUBERT.vox");
        write(vox, "the previous recording, which is longer than the new one");
        write(app_ + QStringLiteral("temp.vox"), "new package");
        QString error;
        QVERIFY2(SavePackagedTake(app_, vox, &error), qPrintable(error));
        QCOMPARE(read(vox), QByteArray("new package"));
    }

    void saveWithoutPackageCopiesNothing()
    {
        const QString vox = app_ + QStringLiteral("_0057_HUBERT.vox");
        write(vox, "previous");
        QString error;
        QVERIFY(!SavePackagedTake(app_, vox, &error));
        QVERIFY(error.isEmpty());
        QCOMPARE(read(vox), QByteArray("previous"));
    }

    void failedCopyLeavesPreviousRecordingIntact()
    {
        const QString vox = app_ + QStringLiteral("_0057_HUBERT.vox");
        write(vox, "previous");
        QDir().mkpath(app_ + QStringLiteral("temp.vox")); // cannot be read as a file
        QString error;
        QVERIFY(!SavePackagedTake(app_, vox, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(read(vox), QByteArray("previous"));
        QCOMPARE(QDir(app_).entryList({QStringLiteral("*.vox")}, QDir::Files),
                 QStringList{QStringLiteral("_0057_HUBERT.vox")});
    }
};

QTEST_GUILESS_MAIN(TestTakePackage)
#include "tst_takepackage.moc"
