// The text of a scene and of an act for the clipboard, and its marks.

#include "ReportsFixture.h"
#include "core/annotations/RtfReader.h"
#include "core/reports/ClipboardTexts.h"
#include "core/reports/SceneText.h"

#include <QTest>
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
};

QTEST_MAIN(TestSceneText)
#include "tst_scenetext.moc"
