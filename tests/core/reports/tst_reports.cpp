// The reports: the duration calculation (the records of the vox files, the
// text sizes, the fixed-point pace and the rounded estimate), the reply
// statistics (the "stat.txt" cache and the report built from it), and the
// text of a scene and of an act for the clipboard, with its marks; and the
// report commands of tiradex-tool, run as a separate process on a play
// folder, printing the same texts as the windows show.

#include "ReportsFixture.h"
#include "ToolRunner.h"
#include "VoxFiles.h"
#include "core/annotations/RtfReader.h"
#include "core/reports/ClipboardTexts.h"
#include "core/reports/DurationCalculation.h"
#include "core/reports/ReplyStatistics.h"
#include "core/reports/ReportTexts.h"
#include "core/reports/SceneText.h"

#include <QDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

using namespace tiradex;

namespace {

using Ints = QList<qint64>; // sums and estimates

// The worked example: replies 2 (A, 120 bytes, 5 s) and 7 (B, 180 bytes,
// 7 s) recorded, 9000 bytes of reply text in all.
void writeWorkedExample(ReportsFixture &f)
{
    f.play.writeStore({TestPlay::Scene{1, 1, QStringLiteral("SCENE 1."), {}},
                       TestPlay::Scene{2, 1, QStringLiteral("SCENE 1."), {}}});
    const auto text = [&f](int act, const char *file, int bytes) {
        TestPlay::write(f.state.ReplyTextPath(act, 1, QLatin1String(file)), QByteArray(bytes, 'x'));
    };
    text(1, "_0001_B", 4000);
    text(1, "_0002_A", 120);
    text(2, "_0007_B", 180);
    text(2, "_0008_A", 4700);
    WriteVox(f.state, QStringLiteral("_0007_B"), ToneWav(50), QByteArray("2,1,7\r\n"));
    WriteVox(f.state, QStringLiteral("_0002_A"), ToneWav(50), QByteArray("1,1,5\r\n"));
}

std::optional<QString> calculate(const Module1 &state)
{
    return CalculateDurations(state, ListVoxFiles(state), DefaultDurationRecordExtractor(), nullptr,
                              nullptr);
}

// Records as "NAME=count".
QStringList counts(const std::optional<QList<StatRecord>> &records)
{
    QStringList list;
    for (const StatRecord &r : records.value_or(QList<StatRecord>()))
        list.append(r.name + QLatin1Char('=') + r.count);
    return list;
}

QString crlf(QString text)
{
    return text.replace(QStringLiteral("⏎"), QStringLiteral("\r\n"));
}

// Act 1: scene 1 (HAMLET 1, FIRST LORD 2), scene 2 (LORD 3, whose text
// names HAMLET alone on a line); act 2: scene 1 (HAMLET 4).
void writePlay(ReportsFixture &f)
{
    TestPlay::Scene first{1, 1, "SCENE I. Elsinore.", {}};
    first.replies = {{1, "HAMLET", {"Who's there?", "Stand."}}, {2, "FIRST LORD", {"My lord."}}};
    f.play.writeStore({first,
                       {1, 2, "SCENE II. A room.", {{3, "LORD", {"Call", "HAMLET"}}}},
                       {2, 1, "SCENE I. A hall.", {{4, "HAMLET", {"Go."}}}}});
}

QStringList markedWords(const MarkedText &t)
{
    QStringList words;
    for (const NameMark &m : t.marks)
        words.append(t.text.mid(m.start, m.length) + (m.selected ? "!" : ""));
    return words;
}

} // namespace

class TestReports : public QObject
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
        QTest::addColumn<Ints>("sums");
        QTest::addColumn<Ints>("estimate");
        QTest::newRow("150 s half goes to even 2") << Ints{150, 100, 100} << Ints{15000, 150, 2};
        QTest::newRow("210 s half goes to even 4") << Ints{210, 100, 100} << Ints{21000, 210, 4};
        QTest::newRow("pace keeps four decimals") << Ints{10, 3000, 3000} << Ints{33, 9, 0};
        QTest::newRow("pace half down to even") << Ints{1, 20000, 20000} << Ints{0, 0, 0};
        QTest::newRow("pace half up to even") << Ints{3, 20000, 20000} << Ints{2, 4, 0};
        QTest::newRow("estimate truncated not rounded") << Ints{7, 1000, 30} << Ints{2333, 233, 4};
        QTest::newRow("more than a half rounds up") << Ints{91, 1, 1} << Ints{910000, 91, 2};
    }
    void estimateRoundsAsTheFixedPointRulesSay()
    {
        QFETCH(Ints, sums);
        const DurationEstimate e = EstimateDuration(1, sums[0], sums[1], sums[2]);
        QTEST((Ints{e.pace.value_or(-1), e.estimatedSeconds, e.minutes}), "estimate");
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

    // Without a vox file nothing is done (the message is the report
    // command's case). Vox files that give no record count for nothing (the
    // count in parentheses is of the records found) and stale records are
    // cleared; recorded replies without text give no pace.
    void damagedOrMissingFilesContributeNothing()
    {
        ReportsFixture f;
        f.play.writeStore(ReportsFixture::twoActs());
        QVERIFY(!calculate(f.state) && !QFileInfo::exists(DurationWorkingFolder(f.state)));
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
        QCOMPARE(report, QStringLiteral("Distribution of the replies") + crlf(expected));
    }

    // A missing treeview.ini leaves no cache behind; an existing cache is
    // trusted (treeview.ini is not read then) and never rewritten.
    void statCacheTrustedAndNeverLeftHalfWritten()
    {
        ReportsFixture f;
        f.play.writeStore(ReportsFixture::twoActs());
        QFile::remove(f.state.TreeviewIniPath());
        QString error;
        QVERIFY(!LoadStatCache(f.state, {QStringLiteral("A")}, &error));
        QVERIFY(error.contains("treeview.ini") && !QFileInfo::exists(StatCachePath(f.state)));
        const QByteArray stale = "\"01\",\"01\",\"A\",\"9\"\r\n";
        TestPlay::write(StatCachePath(f.state), stale);
        QCOMPARE(counts(LoadStatCache(f.state, {QStringLiteral("A")}, nullptr)),
                 QStringList("A=9"));
        QCOMPARE(ReadTestFile(StatCachePath(f.state)), stale);
    }

    // Each row: the scene (0 for the act window), the names selected, reply
    // numbers shown, line breaks kept; then the text and its marked names
    // ("!" when selected). Only name lines are marked, by the whole name of
    // their character, never a name in a reply's text.
    void sceneAndActTexts_data()
    {
        QTest::addColumn<int>("scene");
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<bool>("numbers");
        QTest::addColumn<bool>("keepLineBreaks");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("marks");
        QTest::newRow("scene under the scene view's heading")
            << 1 << QStringList() << false << true
            << "ACT 1 - SCENE I. Elsinore.⏎⏎HAMLET⏎Who's there?⏎Stand.⏎⏎FIRST LORD⏎My lord.⏎⏎"
            << QStringList{"HAMLET", "FIRST LORD"};
        QTest::newRow("reply numbers on the name lines, selection marked")
            << 1 << QStringList{"HAMLET", "FIRST LORD"} << true << true
            << "ACT 1 - SCENE I. Elsinore.⏎⏎HAMLET*0001⏎Who's there?⏎Stand.⏎⏎FIRST LORD*0002⏎"
               "My lord.⏎⏎"
            << QStringList{"HAMLET!", "FIRST LORD!"};
        QTest::newRow("records run together without line breaks")
            << 1 << QStringList() << false << false
            << "ACT 1 - SCENE I. Elsinore.⏎⏎HAMLET⏎Who's there? Stand. ⏎FIRST LORD⏎My lord. ⏎"
            << QStringList{"HAMLET", "FIRST LORD"};
        QTest::newRow("act: scenes in head.ini order, LORD selected not inside FIRST LORD")
            << 0 << QStringList{"LORD"} << false << true
            << "SCENE I. Elsinore.⏎⏎HAMLET⏎Who's there?⏎Stand.⏎⏎FIRST LORD⏎My lord.⏎⏎⏎"
               "SCENE II. A room.⏎⏎LORD⏎Call⏎HAMLET⏎⏎⏎"
            << QStringList{"HAMLET", "FIRST LORD", "LORD!"};
    }
    void sceneAndActTexts()
    {
        QFETCH(int, scene);
        QFETCH(QStringList, selected);
        QFETCH(bool, numbers);
        QFETCH(bool, keepLineBreaks);
        QFETCH(QString, expected);
        ReportsFixture f;
        writePlay(f);
        f.state.KeepLineBreaks = keepLineBreaks;
        if (!keepLineBreaks) {
            // The form a conversion without line breaks writes.
            TestPlay::write(f.state.ReplyTextPath(1, 1, "_0001_HAMLET"),
                            "\"Who's there?\"\r\n\"Stand.\"\r\n");
            TestPlay::write(f.state.ReplyTextPath(1, 1, "_0002_FIRST LORD"), "\"My lord.\"\r\n");
        }
        const SceneTextOptions options{{"HAMLET", "LORD", "FIRST LORD"}, selected, numbers};
        const MarkedText t = scene ? SceneWindowText(f.state, 1, scene, options)
                                   : ActWindowText(f.state, 1, options);
        QCOMPARE(t.text, crlf(expected));
        QTEST(markedWords(t), "marks");
    }

    // The format just after each position: the selected name bold, red and
    // underlined to its end; another name bold only; a name in a text plain;
    // the same in the document and in its clipboard forms read back.
    void documentAndClipboardCarryTheMarks()
    {
        ReportsFixture f;
        writePlay(f);
        const MarkedText t = ActWindowText(f.state, 1, {{"HAMLET", "LORD"}, {"LORD"}, false});
        QTextDocument document;
        FillMarkedDocument(document, t);
        const QString plain = document.toPlainText();
        QCOMPARE(plain, QString(t.text).replace("\r\n", "\n"));
        const ClipboardTexts clipboard = ClipboardTextsOf(document);
        QCOMPARE(clipboard.plain, t.text);
        QTextDocument fromHtml;
        fromHtml.setHtml(clipboard.html);
        QTextDocument fromRtf;
        FillDocument(fromRtf, ReadRtf(clipboard.rtf, nullptr).value_or(RichText()), QFont());
        const int lord = int(plain.indexOf("\nLORD\n")) + 1;
        const int hamlet = int(plain.indexOf("\nHAMLET\n")) + 1;
        for (const QTextDocument *d : {&document, &fromHtml, &fromRtf}) {
            QStringList formats;
            for (int position :
                 {lord, lord + 3, lord + 4, hamlet + 5, int(plain.lastIndexOf("HAMLET"))}) {
                QTextCursor cursor(const_cast<QTextDocument *>(d));
                cursor.setPosition(position + 1);
                const QTextCharFormat format = cursor.charFormat();
                formats << QStringLiteral("%1 %2 %3")
                               .arg(format.fontWeight())
                               .arg(format.fontUnderline())
                               .arg(format.foreground().color().name());
            }
            QCOMPARE(formats, (QStringList{"700 1 #ff0000", "700 1 #ff0000", "400 0 #000000",
                                           "700 0 #000000", "400 0 #000000"}));
        }
    }

    void captions()
    {
        QCOMPARE(SceneWindowCaption("The Merchant of Venice", 3, 2),
                 QStringLiteral("The Merchant of Venice - Act 3 Scene 2"));
        QCOMPARE(ActWindowCaption("The Merchant of Venice", 3),
                 QStringLiteral("The Merchant of Venice - Act 3"));
    }

    // Each row: the command and its options after --play (and --characters),
    // whether reply 2 is recorded; then the exit code and the start of the
    // standard output and error, joined by "|".
    void commandsPrintTheReports_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("recorded");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("stats") << QStringList{"stats"} << false
                               << "0|" + Golden("two-acts.stats.txt") + "|";
        QTest::newRow("durations without a vox file fail on the standard error")
            << QStringList{"durations"} << false << QByteArray("1||No registered Vox file.\n");
        QTest::newRow("durations")
            << QStringList{"durations"} << true
            << QByteArray("0|Duration of the replies.\r\n\r\nAct 1 Scene 1 n\xC2\xB0 0002 - B - "
                          "Duration : 5 s.\r\n\r\n\r\nTotal of the registered replies (1) : 5 "
                          "seconds.\r\n");
        QTest::newRow("scene with numbers")
            << QStringList{"scene-text", "--act", "1", "--scene", "2", "--numbers"} << false
            << QByteArray("0|ACT 1 - SCENE 2. Somewhere.\r\n\r\nA*0004\r\nText of reply 4.\r\n\r\n"
                          "A*0005\r\nText of reply 5.\r\n\r\nA*0006\r\nText of reply 6.\r\n\r\n|");
        QTest::newRow("act") << QStringList{"scene-text", "--act", "2"} << false
                             << QByteArray(
                                    "0|SCENE 1. Somewhere.\r\n\r\nB\r\nText of reply 7.\r\n\r\n"
                                    "B\r\nText of reply 8.\r\n\r\nB\r\nText of reply 9.\r\n\r\n"
                                    "B\r\nText of reply 10.\r\n\r\n\r\n|");
    }

    void commandsPrintTheReports()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, expected);
        ReportsFixture f;
        f.play.writeStore(ReportsFixture::twoActs());
        f.play.writeCharacters({{"A", "a part"}, {"B", "another"}});
        const QString characters = f.state.AppFolder + f.state.CharactersFileName();
        const QByteArray enciphered = ReadTestFile(characters);
        QFETCH(bool, recorded);
        if (recorded)
            WriteVox(f.state, "_0002_B", ToneWav(20), QByteArray("1,1,5\r\n"));
        const ToolRun run = runTool(
            QStringList{args[0], "--play", f.state.PlayFolder} +
            (args[0] == "durations" ? QStringList() : QStringList{"--characters", characters}) +
            args.mid(1));
        QCOMPARE((QByteArray::number(run.exitCode) + '|' + run.out + '|' + run.err)
                     .left(expected.size()),
                 expected);
        // The stats cache is written, the characters file left alone.
        QCOMPARE(ReadTestFile(f.state.PlayFolder + "/stat.txt"),
                 args[0] == "stats" ? Golden("two-acts.stat.txt") : "<missing>");
        QCOMPARE(ReadTestFile(characters), enciphered);
    }
};

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
