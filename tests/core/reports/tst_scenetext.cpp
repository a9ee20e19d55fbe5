// The text of a scene and of an act for the clipboard, and its marks.

#include "ReportsFixture.h"
#include "core/reports/SceneText.h"

#include <QGuiApplication>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace tiradex;

namespace {

QString crlf(QString text)
{
    return text.replace(QStringLiteral("⏎"), QStringLiteral("\r\n"));
}

// Act 1: scene 1 (HAMLET 1, FIRST LORD 2), scene 2 (LORD 3, whose text
// names HAMLET alone on a line); act 2: scene 1 (HAMLET 4).
void writePlay(ReportsFixture &f)
{
    f.play.writeStore(
        {{1,
          1,
          "SCENE I. Elsinore.",
          {{1, "HAMLET", {"Who's there?", "Stand."}}, {2, "FIRST LORD", {"My lord."}}}},
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

class TestSceneText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sceneAndActTexts_data()
    {
        QTest::addColumn<int>("scene"); // 0 for the act window
        QTest::addColumn<bool>("numbers");
        QTest::addColumn<bool>("keepLineBreaks");
        QTest::addColumn<QString>("expected");
        QTest::newRow("scene under the scene view's heading")
            << 1 << false << true
            << "ACT 1 - SCENE I. Elsinore.⏎⏎HAMLET⏎Who's there?⏎Stand.⏎⏎FIRST LORD⏎My lord.⏎⏎";
        QTest::newRow("reply numbers on the name lines")
            << 1 << true << true
            << "ACT 1 - SCENE I. Elsinore.⏎⏎HAMLET*0001⏎Who's there?⏎Stand.⏎⏎FIRST LORD*0002⏎"
               "My lord.⏎⏎";
        QTest::newRow("records run together without line breaks")
            << 1 << false << false
            << "ACT 1 - SCENE I. Elsinore.⏎⏎HAMLET⏎Who's there? Stand. ⏎FIRST LORD⏎My lord. ⏎";
        QTest::newRow("act: scenes in head.ini order, blank line after each")
            << 0 << false << true
            << "SCENE I. Elsinore.⏎⏎HAMLET⏎Who's there?⏎Stand.⏎⏎FIRST LORD⏎My lord.⏎⏎⏎"
               "SCENE II. A room.⏎⏎LORD⏎Call⏎HAMLET⏎⏎⏎";
    }
    void sceneAndActTexts()
    {
        QFETCH(int, scene);
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
        SceneTextOptions options;
        options.replyNumbers = numbers;
        const MarkedText t = scene ? SceneWindowText(f.state, 1, scene, options)
                                   : ActWindowText(f.state, 1, options);
        QCOMPARE(t.text, crlf(expected));
    }

    // Only name lines are marked, by the whole name of their character,
    // never a name in a reply's text; selected names are flagged.
    void marksOnlyNameLines_data()
    {
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<bool>("numbers");
        QTest::addColumn<QStringList>("marks");
        QTest::newRow("nothing selected")
            << QStringList{} << false << QStringList{"HAMLET", "FIRST LORD", "LORD"};
        QTest::newRow("selected LORD not inside FIRST LORD")
            << QStringList{"LORD"} << false << QStringList{"HAMLET", "FIRST LORD", "LORD!"};
        QTest::newRow("selection with reply numbers")
            << QStringList{"HAMLET", "FIRST LORD"} << true
            << QStringList{"HAMLET!", "FIRST LORD!", "LORD"};
    }
    void marksOnlyNameLines()
    {
        QFETCH(QStringList, selected);
        QFETCH(bool, numbers);
        ReportsFixture f;
        writePlay(f);
        SceneTextOptions options{{"HAMLET", "LORD", "FIRST LORD"}, selected, numbers};
        QTEST(markedWords(ActWindowText(f.state, 1, options)), "marks");
    }

    void documentCarriesTheMarksOnTheNames()
    {
        ReportsFixture f;
        writePlay(f);
        const MarkedText t = ActWindowText(f.state, 1, {{"HAMLET", "LORD"}, {"LORD"}, false});
        QTextDocument document;
        FillMarkedDocument(document, t);
        QCOMPARE(document.toPlainText(), QString(t.text).replace("\r\n", "\n"));
        // The format just after each position: the selected name bold, red and
        // underlined to its end; another name bold only; a name in a text plain.
        const QString plain = document.toPlainText();
        const int lord = int(plain.indexOf("\nLORD\n")) + 1;
        const int hamlet = int(plain.indexOf("\nHAMLET\n")) + 1;
        QStringList formats;
        for (int position :
             {lord, lord + 3, lord + 4, hamlet + 5, int(plain.lastIndexOf("HAMLET"))}) {
            QTextCursor cursor(&document);
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

    void captions()
    {
        QCOMPARE(SceneWindowCaption("The Merchant of Venice", 3, 2),
                 QStringLiteral("The Merchant of Venice - Act 3 Scene 2"));
        QCOMPARE(ActWindowCaption("The Merchant of Venice", 3),
                 QStringLiteral("The Merchant of Venice - Act 3"));
    }
};

QTEST_MAIN(TestSceneText)
#include "tst_scenetext.moc"
