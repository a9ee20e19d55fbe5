#include "core/app/FileIo.h"
#include "core/app/QuotedRecord.h"
#include "core/app/TextCodec.h"
#include "core/play/CharactersFile.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tiradex;

class TestQuotedRecord : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Strings quoted (an inner quote written as it is), numbers plain; what
    // is written, in UTF-8, reads back.
    void writerQuotesStringsAndLeavesNumbersPlain()
    {
        const QList<RecordField> fields{RecordField::number(1), RecordField::number(2),
                                        RecordField::text("SCENE II. Venice."),
                                        RecordField::text("say \"no\"")};
        QCOMPARE(FormatRecord(fields), QByteArray("1,2,\"SCENE II. Venice.\",\"say \"no\"\"\r\n"));
        const QString accented = QStringLiteral("mother, \u00e9l\u00e9gante");
        QCOMPARE(ParseRecords(DecodeText(FormatRecord(
                     {RecordField::text("QUEEN ELINOR"), RecordField::text(accented)}))),
                 (QList<QStringList>{{"QUEEN ELINOR", accented}}));
    }

    // The characters file: one record per character; read back in file
    // order, a missing status empty, blank lines and nameless records skipped.
    void charactersFileRecords()
    {
        CharactersList list;
        list.names = {"HUBERT", "KING JOHN"};
        list.statuses = {"a citizen of Angiers", "the king"};
        QCOMPARE(FormatCharactersFile(list), QByteArray("\"HUBERT\",\"a citizen of Angiers\"\r\n"
                                                        "\"KING JOHN\",\"the king\"\r\n"));
        const CharactersList read = ParseCharactersText(
            "\"B\",\"second\"\r\n\"A\"\r\n\r\n\"\",\"nameless\"\r\n\"C\",\"x, y\"\r\n");
        QCOMPARE(read.names + read.statuses, (QStringList{"B", "A", "C", "second", "", "x, y"}));
    }

    void readerSplitsRecordsAndTrimsPlainFields_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<QStringList>>("expected");
        QTest::newRow("blanks around plain fields") << " 2 , 3 ,17\r\n"
                                                    << QList<QStringList>{{"2", "3", "17"}};
        QTest::newRow("LF only and no final line end")
            << "1,5\n2,3" << QList<QStringList>{{"1", "5"}, {"2", "3"}};
        QTest::newRow("empty lines skipped") << "\r\n1,2\r\n\r\n  \r\n3,4\r\n"
                                             << QList<QStringList>{{"1", "2"}, {"3", "4"}};
        QTest::newRow("text after closing quote dropped") << "\"A\"xyz,\"B\"\r\n"
                                                          << QList<QStringList>{{"A", "B"}};
        QTest::newRow("unterminated quote runs to end") << "\"open" << QList<QStringList>{{"open"}};
        QTest::newRow("line breaks inside quotes kept")
            << "\"first line\r\n\"\r\n\"  second\r\n\"\r\n"
            << QList<QStringList>{{"first line\r\n"}, {"  second\r\n"}};
    }
    void readerSplitsRecordsAndTrimsPlainFields()
    {
        QFETCH(QString, text);
        QFETCH(QList<QStringList>, expected);
        QCOMPARE(ParseRecords(text), expected);
    }

    // Field by field, line ends are only separators; blanks and line ends
    // alone are the end.
    void readFieldIgnoresRecordBoundaries()
    {
        QuotedRecordReader reader("1,1\r\n17\r\n");
        QStringList read;
        while (const std::optional<QString> field = reader.readField())
            read.append(*field);
        QCOMPARE(read, (QStringList{"1", "1", "17"}));
        QVERIFY(reader.atEnd() && QuotedRecordReader(" \r\n\t\n").atEnd());
        QVERIFY(!QuotedRecordReader(" \r\nx").atEnd());
    }

    void decodingFallsBackToWindows1252ForInvalidUtf8_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected"); // UTF-8 in the source
        QTest::newRow("utf-8") << QByteArray("r\xc3\xa9p\xc3\xa9tition") << "r\u00e9p\u00e9tition";
        QTest::newRow("cp1252 quotes and euro")
            << QByteArray("\x93hi\x94 \x80") << "\u201chi\u201d \u20ac";
        QTest::newRow("mixed") << QByteArray("\xc3\xa9 \xe9") << "\u00e9 \u00e9";
        QTest::newRow("truncated sequence at end") << QByteArray("a\xc3") << "a\u00c3";
        QTest::newRow("overlong slash is not utf-8") << QByteArray("\xc0\xaf") << "\u00c0\u00af";
        QTest::newRow("bom dropped") << QByteArray("\xef\xbb\xbfX") << "X";
    }
    void decodingFallsBackToWindows1252ForInvalidUtf8()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QCOMPARE(DecodeText(bytes), expected);
    }

    void windows1252RoundTrips()
    {
        QByteArray all;
        QString text;
        for (int b = 0; b < 256; ++b) {
            all.append(char(b));
            text.append(Windows1252Char(uchar(b)));
        }
        QCOMPARE(EncodeWindows1252(text + QStringLiteral("\u4e2d")), all + '?');
    }

    void readRecordFileRefusesMissingAndOversizedFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("big.ini");
        QString missing;
        QString tooLarge;
        QVERIFY(WriteFileAtomically(path, QByteArray(100, 'x'), &tooLarge));
        QVERIFY(!ReadRecordFile(dir.filePath("none.ini"), &missing));
        QVERIFY(!ReadRecordFile(path, &tooLarge, 50));
        QVERIFY2(missing.contains("none.ini") && tooLarge.contains("too large"),
                 qPrintable(missing + tooLarge));
        QCOMPARE(ReadRecordFile(path, &tooLarge, 100).value_or(QList<QStringList>()).size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestQuotedRecord)
#include "tst_quotedrecord.moc"
