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
        QTest::addColumn<qint64>("total");
        QTest::addColumn<qint64>("all");
        QTest::addColumn<qint64>("recorded");
        QTest::addColumn<qint64>("pace");
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<qint64>("minutes");
        QTest::newRow("worked example") << 12LL << 9000LL << 300LL << 400LL << 360LL << 6LL;
        QTest::newRow("150 s half goes to even 2")
            << 150LL << 100LL << 100LL << 15000LL << 150LL << 2LL;
        QTest::newRow("210 s half goes to even 4")
            << 210LL << 100LL << 100LL << 21000LL << 210LL << 4LL;
        QTest::newRow("pace keeps four decimals") << 10LL << 3000LL << 3000LL << 33LL << 9LL << 0LL;
        QTest::newRow("pace half down to even") << 1LL << 20000LL << 20000LL << 0LL << 0LL << 0LL;
        QTest::newRow("pace half up to even") << 3LL << 20000LL << 20000LL << 2LL << 4LL << 0LL;
        QTest::newRow("estimate truncated not rounded")
            << 7LL << 1000LL << 30LL << 2333LL << 233LL << 4LL;
        QTest::newRow("more than a half rounds up")
            << 91LL << 1LL << 1LL << 910000LL << 91LL << 2LL;
    }
    void estimateRoundsAsTheFixedPointRulesSay()
    {
        QFETCH(qint64, total);
        QFETCH(qint64, all);
        QFETCH(qint64, recorded);
        const DurationEstimate e = EstimateDuration(1, total, all, recorded);
        QVERIFY(e.pace);
        QTEST(*e.pace, "pace");
        QTEST(e.estimatedSeconds, "seconds");
        QTEST(e.minutes, "minutes");
    }

    void durationLineReadsTheRecordOrZero_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QString>("line");
        QTest::newRow("record") << "_0057_HUBERT.tsd" << QByteArray("1,2,12\r\n")
                                << "Act 1 Scene 2 n° 0057 - HUBERT - Duration : 12 s.";
        QTest::newRow("name with blanks")
            << "_0012_FIRST LORD.tsd" << QByteArray("3,10,0")
            << "Act 3 Scene 10 n° 0012 - FIRST LORD - Duration : 0 s.";
        QTest::newRow("short record, placeholder in the name")
            << "_0001_A%1.tsd" << QByteArray("4")
            << "Act 4 Scene 0 n° 0001 - A%1 - Duration : 0 s.";
        QTest::newRow("seconds beyond 16 bits") << "_0001_A.tsd" << QByteArray("1,1,40000")
                                                << "Act 1 Scene 1 n° 0001 - A - Duration : 0 s.";
    }
    void durationLineReadsTheRecordOrZero()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, record);
        int seconds = -1;
        QTEST(DurationLine(file, record, &seconds), "line");
        QCOMPARE(seconds, QString(QTest::currentDataTag()) == QLatin1String("record") ? 12 : 0);
    }

    // Vox files that give no record count for nothing; the count in
    // parentheses is of the records found, and stale records are cleared.
    void unreadableVoxContributesNothing()
    {
        ReportsFixture f;
        writeWorkedExample(f);
        TestPlay::write(f.state.VoxPath(QStringLiteral("_0001_B")), "not an archive");
        WriteVox(f.state, QStringLiteral("_0008_A"), ToneWav(50), std::nullopt);
        TestPlay::write(DurationWorkingFolder(f.state) + QStringLiteral("/_0003_C.tsd"),
                        "1,1,100\r\n");
        const auto result = calculate(f.state);
        QVERIFY(result);
        QVERIFY(
            result->contains(QStringLiteral("Total of the registered replies (2) : 12 seconds.")));
        QVERIFY(!result->contains(QStringLiteral("_0003")));
    }

    void recordedRepliesWithoutTextGiveAClearLine()
    {
        ReportsFixture f;
        writeWorkedExample(f);
        QFile::remove(f.state.ReplyTextPath(1, 1, QStringLiteral("_0002_A")));
        QFile::remove(f.state.ReplyTextPath(2, 1, QStringLiteral("_0007_B")));
        const auto result = calculate(f.state);
        QVERIFY(result);
        QVERIFY(result->contains(ReportTexts::noPace() + QStringLiteral("\r\n")));
        QVERIFY(!result->contains(QStringLiteral(" minutes.")));
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
