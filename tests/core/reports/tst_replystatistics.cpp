// The reply statistics: the "stat.txt" cache and the report built from it.

#include "ReportsFixture.h"
#include "core/reports/ReplyStatistics.h"

#include <QFileInfo>
#include <QTest>

using namespace tiradex;

namespace {
// Records as "NAME=count".
QStringList counts(const std::optional<QList<StatRecord>> &records)
{
    QStringList list;
    for (const StatRecord &r : records.value_or(QList<StatRecord>()))
        list.append(r.name + QLatin1Char('=') + r.count);
    return list;
}
} // namespace

class TestReplyStatistics : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstOpeningWritesCacheAndReportAsTheRulesLayThemOut()
    {
        ReportsFixture f;
        f.play.writeStore(ReportsFixture::twoActs());
        const QStringList names{QStringLiteral("A"), QStringLiteral("B")};
        QString error;
        const auto records = LoadStatCache(f.state, names, &error);
        QVERIFY2(records, qPrintable(error));
        QCOMPARE(ReadTestFile(StatCachePath(f.state)), Golden("two-acts.stat.txt"));
        QCOMPARE(StatisticsReport(*records, names).toUtf8(), Golden("two-acts.stats.txt"));
    }

    // Each row: reply files of one scene (act 1 scene 1), the characters
    // list, and the expected count records "NAME=count".
    void countsOneCharacterPerReplyFile_data()
    {
        QTest::addColumn<QStringList>("speakers");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("name that begins another is counted apart")
            << QStringList{"LORD", "LORD CHAMBERLAIN", "LORD CHAMBERLAIN"}
            << QStringList{"LORD", "LORD CHAMBERLAIN"}
            << QStringList{"LORD=1", "LORD CHAMBERLAIN=2"};
        QTest::newRow("letter case ignored when counting")
            << QStringList{"Hubert", "HUBERT"} << QStringList{"HUBERT"} << QStringList{"HUBERT=2"};
        QTest::newRow("silent character counted 0 in the list's order")
            << QStringList{"B"} << QStringList{"C", "B"} << QStringList{"C=0", "B=1"};
    }
    void countsOneCharacterPerReplyFile()
    {
        QFETCH(QStringList, speakers);
        QFETCH(QStringList, names);
        QFETCH(QStringList, expected);
        ReportsFixture f;
        TestPlay::Scene scene{1, 1, QStringLiteral("SCENE 1."), {}};
        for (int i = 0; i < speakers.size(); ++i)
            scene.replies.append({i + 1, speakers.at(i), {QStringLiteral("Words.")}});
        f.play.writeStore({scene});
        QCOMPARE(counts(CountReplies(f.state, names, nullptr)), expected);
    }

    // Each row: the cache's records and the characters list, then the
    // expected report between its first line and "Total for every character".
    void reportSections_data()
    {
        QTest::addColumn<QString>("cache");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("expected");
        QTest::newRow("scene where nobody speaks keeps its header")
            << "\"01\",\"01\",\"A\",\"0\"\r\n\"01\",\"02\",\"A\",\"1\"\r\n"
            << QStringList{"A"}
            << "⏎⏎ACT 1⏎⏎SCENE 1⏎⏎SCENE 2⏎A (1) - ⏎⏎Total for every character⏎⏎A : 1⏎⏎"
               "Total of the replies : 1⏎⏎⏎Distribution by character⏎⏎⏎A⏎⏎ACT 1⏎SCENE 2 (1) - ⏎⏎";
        QTest::newRow("silent character only named in its section")
            << "\"01\",\"01\",\"A\",\"2\"\r\n\"01\",\"01\",\"C\",\"0\"\r\n"
            << QStringList{"A", "C"}
            << "⏎⏎ACT 1⏎⏎SCENE 1⏎A (2) - ⏎⏎Total for every character⏎⏎A : 2⏎C : 0⏎⏎"
               "Total of the replies : 2⏎⏎⏎Distribution by character⏎⏎⏎A⏎⏎ACT 1⏎SCENE 1 (2) - "
               "⏎⏎C⏎⏎⏎";
        QTest::newRow("act without scenes repeats no header after it")
            << "\"02\",\"01\",\"A\",\"1\"\r\n\"02\",\"02\",\"A\",\"3\"\r\n"
            << QStringList{"A"}
            << "⏎⏎ACT 2⏎⏎SCENE 1⏎A (1) - ⏎SCENE 2⏎A (3) - ⏎⏎Total for every character⏎⏎A : 4⏎⏎"
               "Total of the replies : 4⏎⏎⏎Distribution by character⏎⏎⏎A⏎⏎ACT 2⏎SCENE 1 (1) - "
               "SCENE 2 (3) - ⏎⏎";
        QTest::newRow("totals go by exact name")
            << "\"01\",\"01\",\"a\",\"2\"\r\n\"01\",\"01\",\"A\",\"1\"\r\n"
            << QStringList{"A"}
            << "⏎⏎ACT 1⏎⏎SCENE 1⏎a (2) - A (1) - ⏎⏎Total for every character⏎⏎A : 1⏎⏎"
               "Total of the replies : 1⏎⏎⏎Distribution by character⏎⏎⏎A⏎⏎ACT 1⏎SCENE 1 (1) - ⏎⏎";
    }
    void reportSections()
    {
        QFETCH(QString, cache);
        QFETCH(QStringList, names);
        QFETCH(QString, expected);
        const QString report = StatisticsReport(ParseStatCache(cache), names);
        QCOMPARE(report,
                 QStringLiteral("Distribution of the replies") +
                     QString(expected).replace(QStringLiteral("⏎"), QStringLiteral("\r\n")));
    }

    void existingCacheIsTrustedAndNeverRewritten()
    {
        ReportsFixture f;
        f.play.writeStore(ReportsFixture::twoActs());
        const QByteArray stale = "\"01\",\"01\",\"A\",\"9\"\r\n";
        TestPlay::write(StatCachePath(f.state), stale);
        QCOMPARE(counts(LoadStatCache(f.state, {QStringLiteral("A")}, nullptr)),
                 QStringList("A=9"));
        QCOMPARE(ReadTestFile(StatCachePath(f.state)), stale);
    }

    void missingTreeviewLeavesNoCacheBehind()
    {
        ReportsFixture f;
        f.play.writeStore(ReportsFixture::twoActs());
        QFile::remove(f.state.TreeviewIniPath());
        QString error;
        QVERIFY(!LoadStatCache(f.state, {QStringLiteral("A")}, &error));
        QVERIFY(error.contains(QStringLiteral("treeview.ini")));
        QVERIFY(!QFileInfo::exists(StatCachePath(f.state)));
    }
};

QTEST_GUILESS_MAIN(TestReplyStatistics)
#include "tst_replystatistics.moc"
