#include "core/app/FileIo.h"
#include "core/app/QuotedRecord.h"
#include "core/app/TextCodec.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tiradex;

class TestQuotedRecord : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writerQuotesStringsAndLeavesNumbersPlain()
    {
        QCOMPARE(FormatRecord({RecordField::number(1), RecordField::number(2),
                               RecordField::text(QStringLiteral("SCENE II. Venice."))}),
                 QByteArray("1,2,\"SCENE II. Venice.\"\r\n"));
        QCOMPARE(FormatRecord({RecordField::text(QStringLiteral("HUBERT")),
                               RecordField::text(QStringLiteral("a citizen"))}),
                 QByteArray("\"HUBERT\",\"a citizen\"\r\n"));
        // No escape: an inner quote is written as it is.
        QCOMPARE(FormatRecord({RecordField::text(QStringLiteral("say \"no\""))}),
                 QByteArray("\"say \"no\"\"\r\n"));
    }

    void readerSplitsRecordsAndTrimsPlainFields_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<QStringList>>("expected");
        QTest::newRow("head.ini") << QStringLiteral(
                                         "1,1,\"SCENE I.  Venice.\"\r\n1,2,\"SCENE II\"\r\n")
                                  << QList<QStringList>{{"1", "1", "SCENE I.  Venice."},
                                                        {"1", "2", "SCENE II"}};
        QTest::newRow("blanks around plain fields")
            << QStringLiteral(" 2 , 3 ,17\r\n") << QList<QStringList>{{"2", "3", "17"}};
        QTest::newRow("LF only and no final line end")
            << QStringLiteral("1,5\n2,3") << QList<QStringList>{{"1", "5"}, {"2", "3"}};
        QTest::newRow("empty lines skipped") << QStringLiteral("\r\n1,2\r\n\r\n  \r\n3,4\r\n")
                                             << QList<QStringList>{{"1", "2"}, {"3", "4"}};
        QTest::newRow("text after closing quote dropped")
            << QStringLiteral("\"A\"xyz,\"B\"\r\n") << QList<QStringList>{{"A", "B"}};
        QTest::newRow("unterminated quote runs to end")
            << QStringLiteral("\"open") << QList<QStringList>{{"open"}};
        QTest::newRow("empty quoted field")
            << QStringLiteral("\"\",\"x\"\r\n") << QList<QStringList>{{"", "x"}};
        QTest::newRow("nothing") << QString() << QList<QStringList>{};
        QTest::newRow("line breaks inside quotes kept")
            << QStringLiteral("\"first line\r\n\"\r\n\"  second\r\n\"\r\n")
            << QList<QStringList>{{"first line\r\n"}, {"  second\r\n"}};
    }
    void readerSplitsRecordsAndTrimsPlainFields()
    {
        QFETCH(QString, text);
        QFETCH(QList<QStringList>, expected);
        QCOMPARE(ParseRecords(text), expected);
    }

    void writtenRecordsReadBack()
    {
        const QList<RecordField> fields = {
            RecordField::text(QStringLiteral("QUEEN ELINOR")),
            RecordField::text(QStringLiteral("mother, \u00e9l\u00e9gante")),
            RecordField::number(42)};
        const QList<QStringList> back = ParseRecords(DecodeText(FormatRecord(fields)));
        QCOMPARE(back.size(), 1);
        QCOMPARE(back.at(0),
                 (QStringList{QStringLiteral("QUEEN ELINOR"),
                              QStringLiteral("mother, \u00e9l\u00e9gante"), QStringLiteral("42")}));
    }

    void readFieldIgnoresRecordBoundaries()
    {
        QuotedRecordReader reader(QStringLiteral("1,1\r\n17\r\n"));
        QCOMPARE(reader.readField().value(), QStringLiteral("1"));
        QCOMPARE(reader.readField().value(), QStringLiteral("1"));
        QCOMPARE(reader.readField().value(), QStringLiteral("17"));
        QVERIFY(!reader.readField());
        QVERIFY(reader.atEnd());
        // Only blanks and line ends left is the end too.
        QVERIFY(QuotedRecordReader(QStringLiteral(" \r\n\t\n")).atEnd());
        QVERIFY(!QuotedRecordReader(QStringLiteral(" \r\nx")).atEnd());
    }

    void decodingFallsBackToWindows1252ForInvalidUtf8_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("utf-8") << QByteArray("r\xc3\xa9p\xc3\xa9tition")
                               << QStringLiteral("r\u00e9p\u00e9tition");
        QTest::newRow("cp1252 e acute")
            << QByteArray("r\xe9p\xe9tition") << QStringLiteral("r\u00e9p\u00e9tition");
        QTest::newRow("cp1252 quotes and euro")
            << QByteArray("\x93hi\x94 \x80") << QStringLiteral("\u201chi\u201d \u20ac");
        QTest::newRow("mixed") << QByteArray("\xc3\xa9 \xe9") << QStringLiteral("\u00e9 \u00e9");
        QTest::newRow("truncated sequence at end")
            << QByteArray("a\xc3") << QStringLiteral("a\u00c3");
        QTest::newRow("overlong slash is not utf-8")
            << QByteArray("\xc0\xaf") << QStringLiteral("\u00c0\u00af");
        QTest::newRow("bom dropped") << QByteArray("\xef\xbb\xbfX") << QStringLiteral("X");
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
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QString text;
        for (int b = 0; b < 256; ++b)
            text.append(Windows1252Char(uchar(b)));
        QCOMPARE(EncodeWindows1252(text), all);
        QCOMPARE(EncodeWindows1252(QStringLiteral("\u4e2d")), QByteArray("?"));
    }

    void readRecordFileRefusesMissingAndOversizedFiles()
    {
        QTemporaryDir dir;
        QString error;
        QVERIFY(!ReadRecordFile(dir.filePath(QStringLiteral("none.ini")), &error));
        QVERIFY(error.contains(QStringLiteral("none.ini")));
        const QString path = dir.filePath(QStringLiteral("big.ini"));
        QVERIFY(WriteFileAtomically(path, QByteArray(100, 'x'), &error));
        QVERIFY(!ReadRecordFile(path, &error, 50));
        QVERIFY(error.contains(QStringLiteral("too large")));
        const auto ok = ReadRecordFile(path, &error, 100);
        QVERIFY(ok);
        QCOMPARE(ok->size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestQuotedRecord)
#include "tst_quotedrecord.moc"
