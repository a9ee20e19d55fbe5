#include "core/annotations/RtfWriter.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

// The writer's output, byte for byte, for texts and formats that word
// processors must read back unchanged.
Q_DECLARE_METATYPE(RichText)

class TstRtfWriter : public QObject
{
    Q_OBJECT

private:
    static RichTextRun format(bool bold, bool italic, bool underline, QColor colour = QColor())
    {
        RichTextRun run;
        run.bold = bold;
        run.italic = italic;
        run.underline = underline;
        run.colour = colour;
        return run;
    }

private Q_SLOTS:
    void writesEscapesAndFormats_data()
    {
        QTest::addColumn<RichText>("text");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("colours");
        const QByteArray none;
        auto plain = [](const QString &s) {
            RichText t;
            t.append(s, RichTextRun());
            return t;
        };
        QTest::newRow("empty note is one empty paragraph")
            << RichText() << QByteArray("\\par\r\n") << none;
        QTest::newRow("braces and backslashes escaped")
            << plain(QStringLiteral("a{b}\\c")) << QByteArray("a\\{b\\}\\\\c\\par\r\n") << none;
        QTest::newRow("paragraphs and tabs")
            << plain(QStringLiteral("one\ttwo\n\nthree"))
            << QByteArray("one\\tab two\\par\r\n\\par\r\nthree\\par\r\n") << none;
        QTest::newRow("Windows-1252 letters and signs as hex escapes")
            << plain(QStringLiteral("é€’…ÿ")) << QByteArray("\\'e9\\'80\\'92\\'85\\'ff\\par\r\n")
            << none;
        QTest::newRow("other characters as signed unicode escapes")
            << plain(QStringLiteral("Ж中\U0001F600"))
            << QByteArray("\\u1046?\\u20013?\\u-10179?\\u-8704?\\par\r\n") << none;
        QTest::newRow("control characters left out")
            << plain(QStringLiteral("a\x01\rb\x85")) << QByteArray("ab\\par\r\n") << none;

        RichText mixed;
        mixed.append(QStringLiteral("Enter "), RichTextRun());
        mixed.append(QStringLiteral("HUBERT"), format(true, false, true, Qt::red));
        mixed.append(QStringLiteral(" slowly"), format(false, true, false, QColor(0, 0, 128)));
        mixed.append(QStringLiteral("."), format(false, false, false, Qt::red));
        QTest::newRow("formats switched on and off, colours indexed from one")
            << mixed
            << QByteArray(
                   "Enter \\b\\ul\\cf1 HUBERT\\b0\\i\\ulnone\\cf2  slowly\\i0\\cf1 .\\par\r\n")
            << QByteArray("{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}\r\n");
    }

    void writesEscapesAndFormats()
    {
        QFETCH(RichText, text);
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, colours);
        const QByteArray expected = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{"
                                    "\\f0\\fnil\\fcharset0 Verdana;}}\r\n" +
                                    colours + "\\viewkind4\\pard\\f0\\fs24 " + body + "}\r\n";
        QCOMPARE(WriteRtf(text), expected);
    }

    void documentFormatsReachTheOutput()
    {
        QTextDocument document;
        QTextCursor cursor(&document);
        cursor.insertText(QStringLiteral("Aside: "));
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        cursor.insertText(QStringLiteral("loud"), bold);
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("x"), QTextCharFormat());
        const RtfFont font{QStringLiteral("DejaVu Sans"), 10};
        QVERIFY(
            WriteRtf(document, font)
                .endsWith(
                    "\\fonttbl{\\f0\\fnil\\fcharset0 DejaVu Sans;}}\r\n"
                    "\\viewkind4\\pard\\f0\\fs20 Aside: \\b loud\\par\r\n\\b0 x\\par\r\n}\r\n"));
    }
};

QTEST_MAIN(TstRtfWriter)
#include "tst_rtfwriter.moc"
