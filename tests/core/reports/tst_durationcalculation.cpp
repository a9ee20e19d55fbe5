// The duration calculation: the records of the vox files, the text sizes,
// the fixed-point pace and the rounded estimate.

#include "ReportsFixture.h"
#include "VoxFiles.h"
#include "core/reports/DurationCalculation.h"
#include "core/reports/ReportTexts.h"

#include <QDir>
#include <QTest>

using namespace tiradex;

namespace {

// A reply file of exactly `bytes` bytes.
void writeSizedReply(const Module1 &state, int act, int scene, int number, const QString &who,
                     int bytes)
{
    TestPlay::write(state.ReplyTextPath(act, scene, Module1::ReplyBaseName(number, who)),
                    QByteArray(bytes, 'x'));
}

// The worked example: replies 2 (A, 120 bytes, 5 s) and 7 (B, 180 bytes,
// 7 s) recorded, 9000 bytes of reply text in all.
void writeWorkedExample(ReportsFixture &f)
{
    f.play.writeStore({TestPlay::Scene{1, 1, QStringLiteral("SCENE 1."), {}},
                       TestPlay::Scene{2, 1, QStringLiteral("SCENE 1."), {}}});
    writeSizedReply(f.state, 1, 1, 1, QStringLiteral("B"), 4000);
    writeSizedReply(f.state, 1, 1, 2, QStringLiteral("A"), 120);
    writeSizedReply(f.state, 2, 1, 7, QStringLiteral("B"), 180);
    writeSizedReply(f.state, 2, 1, 8, QStringLiteral("A"), 4700);
    WriteVox(f.state, QStringLiteral("_0007_B"), ToneWav(50), QByteArray("2,1,7\r\n"));
    WriteVox(f.state, QStringLiteral("_0002_A"), ToneWav(50), QByteArray("1,1,5\r\n"));
}

std::optional<QString> calculate(const Module1 &state, QString *error = nullptr)
{
    return CalculateDurations(state, ListVoxFiles(state), DefaultDurationRecordExtractor(), nullptr,
                              error);
}

} // namespace

class TestDurationCalculation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void workedExampleGivesTheWholeResultText()
    {
        ReportsFixture f;
        writeWorkedExample(f);
        QList<int> steps;
        const auto result = CalculateDurations(
            f.state, ListVoxFiles(f.state), DefaultDurationRecordExtractor(),
            [&steps](int value, int) { steps.append(value); }, nullptr);
        QVERIFY(result);
        QCOMPARE(result->toUtf8(), Golden("worked-example.durations.txt"));
        QCOMPARE(steps, (QList<int>{0, 1, 0, 1})); // extraction, then records
        // Only duration records stay in the working folder.
        QCOMPARE(QDir(DurationWorkingFolder(f.state)).entryList(QDir::Files),
                 (QStringList{"_0002_A.tsd", "_0007_B.tsd"}));
    }

    // Each row: total recorded seconds, all-text bytes, recorded-text bytes;
    // then the pace in ten-thousandths, the estimated seconds and minutes.
    void estimateRoundsAsTheFixedPointRulesSay_data()
    {
        QTest::addColumn<QList<qint64>>("sums");
        QTest::addColumn<QList<qint64>>("estimate");
        QTest::newRow("worked example")
            << QList<qint64>{12, 9000, 300} << QList<qint64>{400, 360, 6};
        QTest::newRow("150 s half goes to even 2")
            << QList<qint64>{150, 100, 100} << QList<qint64>{15000, 150, 2};
        QTest::newRow("210 s half goes to even 4")
            << QList<qint64>{210, 100, 100} << QList<qint64>{21000, 210, 4};
        QTest::newRow("pace keeps four decimals")
            << QList<qint64>{10, 3000, 3000} << QList<qint64>{33, 9, 0};
        QTest::newRow("pace half down to even")
            << QList<qint64>{1, 20000, 20000} << QList<qint64>{0, 0, 0};
        QTest::newRow("pace half up to even")
            << QList<qint64>{3, 20000, 20000} << QList<qint64>{2, 4, 0};
        QTest::newRow("estimate truncated not rounded")
            << QList<qint64>{7, 1000, 30} << QList<qint64>{2333, 233, 4};
        QTest::newRow("more than a half rounds up")
            << QList<qint64>{91, 1, 1} << QList<qint64>{910000, 91, 2};
    }
    void estimateRoundsAsTheFixedPointRulesSay()
    {
        QFETCH(QList<qint64>, sums);
        const DurationEstimate e = EstimateDuration(1, sums[0], sums[1], sums[2]);
        QTEST((QList<qint64>{e.pace.value_or(-1), e.estimatedSeconds, e.minutes}), "estimate");
    }

    void durationLineReadsTheRecordOrZero_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QString>("line"); // and the seconds read
        QTest::newRow("record") << "_0057_HUBERT.tsd" << QByteArray("1,2,12\r\n")
                                << "Act 1 Scene 2 n° 0057 - HUBERT - Duration : 12 s. 12";
        QTest::newRow("name with blanks")
            << "_0012_FIRST LORD.tsd" << QByteArray("3,10,0")
            << "Act 3 Scene 10 n° 0012 - FIRST LORD - Duration : 0 s. 0";
        QTest::newRow("short record, placeholder in the name")
            << "_0001_A%1.tsd" << QByteArray("4")
            << "Act 4 Scene 0 n° 0001 - A%1 - Duration : 0 s. 0";
        QTest::newRow("seconds beyond 16 bits") << "_0001_A.tsd" << QByteArray("1,1,40000")
                                                << "Act 1 Scene 1 n° 0001 - A - Duration : 0 s. 0";
    }
    void durationLineReadsTheRecordOrZero()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, record);
        int seconds = -1;
        const QString line = DurationLine(file, record, &seconds);
        QTEST(line + QLatin1Char(' ') + QString::number(seconds), "line");
    }

    // Vox files that give no record count for nothing (the count in
    // parentheses is of the records found) and stale records are cleared;
    // recorded replies without text give no pace.
    void damagedOrMissingFilesContributeNothing()
    {
        ReportsFixture f;
        writeWorkedExample(f);
        TestPlay::write(f.state.VoxPath(QStringLiteral("_0011_B")), "not an archive");
        WriteVox(f.state, QStringLiteral("_0009_A"), ToneWav(50), std::nullopt);
        TestPlay::write(DurationWorkingFolder(f.state) + QStringLiteral("/_0003_C.tsd"),
                        "1,1,9\r\n");
        QFile::remove(f.state.ReplyTextPath(1, 1, QStringLiteral("_0002_A")));
        QFile::remove(f.state.ReplyTextPath(2, 1, QStringLiteral("_0007_B")));
        const QString result = calculate(f.state).value_or(QString());
        QVERIFY(result.contains("Total of the registered replies (2) : 12 seconds.\r\n\r\n" +
                                ReportTexts::noPace() + "\r\n"));
        QVERIFY(!result.contains(QStringLiteral("_0003")) && !result.contains(" minutes."));
    }

    void noVoxFileIsRefused()
    {
        ReportsFixture f;
        f.play.writeStore(ReportsFixture::twoActs());
        QString error;
        QVERIFY(!calculate(f.state, &error));
        QCOMPARE(error, QStringLiteral("No registered Vox file."));
        QVERIFY(!QFileInfo::exists(DurationWorkingFolder(f.state)));
    }
};

QTEST_GUILESS_MAIN(TestDurationCalculation)
#include "tst_durationcalculation.moc"
