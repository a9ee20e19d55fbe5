#include "audio/TakePackage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

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

// The member names of a ZIP archive in the order of its local headers:
// signature PK\3\4, compressed size at offset 18, name length at 26, extra
// length at 28, name at 30, then the data.
QStringList localHeaderNames(const QByteArray &zip)
{
    QStringList names;
    qsizetype at = 0;
    while (at + 30 <= zip.size() && zip.mid(at, 4) == QByteArray("PK\x03\x04", 4)) {
        const auto *header = reinterpret_cast<const uchar *>(zip.constData() + at);
        const quint32 compressed = qFromLittleEndian<quint32>(header + 18);
        const quint16 nameLength = qFromLittleEndian<quint16>(header + 26);
        const quint16 extraLength = qFromLittleEndian<quint16>(header + 28);
        names.append(QString::fromLatin1(zip.mid(at + 30, nameLength)));
        at += 30 + nameLength + extraLength + compressed;
    }
    return names;
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
        QCOMPARE(localHeaderNames(zip),
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
