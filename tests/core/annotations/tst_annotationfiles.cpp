// The note and photo files: the RTF writer's output byte for byte; the
// reader against documents written by other programs (golden files written
// by hand) and hostile input; fit by steps in twips; untrusted pictures; the
// browser's entries from file names. Notes against real peers: LibreOffice
// must read the notes that "tiradex-tool note-write" writes with the same
// text, and our reader must read the RTF that LibreOffice and pandoc write
// with the same text. The peers are test dependencies (scripts/deps.sh
// installs them): a missing one is a failure, never a skip.

#include "TestFiles.h"
#include "ToolRunner.h"
#include "core/annotations/AnnotationFiles.h"
#include "core/annotations/PhotoFit.h"
#include "core/annotations/PictureFile.h"
#include "core/annotations/RtfReader.h"
#include "core/annotations/RtfWriter.h"

#include <QBuffer>
#include <QImage>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QtEndian>

#include <sys/resource.h>
#include <zlib.h>

using namespace tiradex;

Q_DECLARE_METATYPE(RichText)

namespace {
RichText plainText(const QString &text)
{
    RichText rich;
    rich.append(text, RichTextRun());
    return rich;
}

QByteArray be32(quint32 value)
{
    const quint32 big = qToBigEndian(value);
    return QByteArray(reinterpret_cast<const char *>(&big), 4);
}

QByteArray chunk(const char *type, const QByteArray &data)
{
    const QByteArray body = QByteArray(type) + data;
    return be32(quint32(data.size())) + body +
           be32(crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size())));
}

// A PNG that declares `width` x `height` RGB pixels and holds a few rows
// (the zlib stream is qCompress's output less its length prefix).
QByteArray declaredPng(quint32 width, quint32 height)
{
    const QByteArray rows(4 * (1 + 3 * qint64(qMin<quint32>(width, 1000))), '\0');
    return QByteArray("\x89PNG\r\n\x1a\n", 8) +
           chunk("IHDR", be32(width) + be32(height) + QByteArray("\x08\x02\x00\x00\x00", 5)) +
           chunk("IDAT", qCompress(rows).mid(4)) + chunk("IEND", QByteArray());
}

// Accents, typographic quotes and signs, characters outside Windows-1252,
// characters outside the basic plane, RTF's own special characters, a tab
// and an empty paragraph.
const QString Sample = QStringLiteral("Entrée de Hubert — « Non ! » l’œil, 5 €…\n"
                                      "Жил-был 中文 😀 ĳ ő\n"
                                      "\n"
                                      "\t\"quoted\" & <tags> {braces} \\back\\slash 100%");

// The peers may take long to start the first time.
RunOptions slowRun(const QByteArray &input, const QString &folder = QString())
{
    return RunOptions{input, folder, 180000};
}

// LibreOffice's conversion of `files` (in `folder`) with `options`: the
// bytes of each converted file, of extension `extension`. A profile of its
// own keeps any running LibreOffice of the user out.
QList<QByteArray> libreOffice(const QString &folder, const QStringList &options,
                              const QStringList &files, const QString &extension)
{
    runProgram(QStandardPaths::findExecutable(QStringLiteral("soffice")),
               QStringList{"-env:UserInstallation=file://" + folder + "/profile", "--headless"} +
                   options + QStringList{"--outdir", folder + "/out"} + files,
               slowRun(QByteArray(), folder));
    QList<QByteArray> converted;
    for (const QString &file : files) {
        QFile out(folder + "/out/" + QFileInfo(file).completeBaseName() + extension);
        converted.append(out.open(QIODevice::ReadOnly)
                             ? out.readAll()
                             : "<LibreOffice (soffice, libreoffice-writer-nogui) did not convert>");
    }
    return converted;
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
} // namespace

class TstAnnotationFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesEscapesAndFormats_data()
    {
        QTest::addColumn<RichText>("text");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("colours");
        const QByteArray none;
        QTest::newRow("empty note is one empty paragraph")
            << RichText() << QByteArray("\\par\r\n") << none;
        QTest::newRow("braces and backslashes escaped")
            << plainText("a{b}\\c") << QByteArray("a\\{b\\}\\\\c\\par\r\n") << none;
        QTest::newRow("paragraphs and tabs")
            << plainText("one\ttwo\n\nthree")
            << QByteArray("one\\tab two\\par\r\n\\par\r\nthree\\par\r\n") << none;
        QTest::newRow("Windows-1252 letters and signs as hex escapes")
            << plainText("é€’…ÿ") << QByteArray("\\'e9\\'80\\'92\\'85\\'ff\\par\r\n") << none;
        QTest::newRow("other characters as signed unicode escapes")
            << plainText("Ж中\U0001F600")
            << QByteArray("\\u1046?\\u20013?\\u-10179?\\u-8704?\\par\r\n") << none;
        QTest::newRow("control characters left out")
            << plainText(QStringLiteral("a\x01\rb\x85")) << QByteArray("ab\\par\r\n") << none;

        RichText mixed;
        mixed.append(QStringLiteral("Enter "), RichTextRun());
        mixed.append(QStringLiteral("HUBERT"),
                     RichTextRun{.text = {}, .bold = true, .underline = true, .colour = Qt::red});
        mixed.append(QStringLiteral(" slowly"),
                     RichTextRun{.text = {}, .italic = true, .colour = QColor(0, 0, 128)});
        mixed.append(QStringLiteral("."), RichTextRun{.text = {}, .colour = Qt::red});
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
        document.setHtml(QStringLiteral("<p>Aside: <b>loud</b></p><p>x</p>"));
        QVERIFY(
            WriteRtf(document, RtfFont{QStringLiteral("DejaVu Sans"), 10})
                .endsWith(
                    "\\fonttbl{\\f0\\fnil\\fcharset0 DejaVu Sans;}}\r\n"
                    "\\viewkind4\\pard\\f0\\fs20 Aside: \\b loud\\par\r\n\\b0 x\\par\r\n}\r\n"));
    }

    void readsTextOfForeignAndHostileDocuments_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("expected");
        QTest::newRow("WordPad with code page 1252")
            << ReadTestFile(TIRADEX_TEST_DATA_DIR "/notes/wordpad-1252.rtf")
            << "Entrée de Hubert, à pas lents…\nIl s’arrête; «\u00a0Non\u00a0!»\t5 €\n";
        QTest::newRow("LibreOffice tables, unicode escapes, skipped destinations")
            << ReadTestFile(TIRADEX_TEST_DATA_DIR "/notes/libreoffice-style.rtf")
            << "Жил “quoted” € 5\nlink";
        QTest::newRow("pandoc paragraphs in groups, uc0 and symbol words")
            << QByteArray("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 \\fswiss Helvetica;}}\n"
                          "{\\pard \\ql \\f0 \\sa180 \\li0 \\fi0 Caf\\u233?\\par}\n"
                          "{\\pard \\uc0\\u8212\\emdash\\ldblquote x\\rdblquote\\lquote\\rquote"
                          "\\bullet\\par}\n}")
            << "Café\n——“x”‘’•";
        QTest::newRow("other code page from the header")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'c6\\'e8\\'eb}") << "Жил";
        QTest::newRow("fallback of unicode escapes skipped by its count")
            << QByteArray("{\\rtf1\\uc2 \\u1046\\'3f\\'3fa{\\uc1\\u1047 ?b}\\u1048 xyc}")
            << "ЖaЗbИc";
        QTest::newRow("a control word as the fallback counts as one character")
            << QByteArray("{\\rtf1\\uc1 A\\u8364\\b B}") << "A€B";
        QTest::newRow("surrogate pair joined, lone half replaced")
            << QByteArray("{\\rtf1 \\u-10179?\\u-8704? \\u-10179?z}") << "\U0001F600 \uFFFDz";
        QTest::newRow("one blank ends a control word, the others are text")
            << QByteArray("{\\rtf1\\fs24   a  b  }") << "  a  b  ";
        QTest::newRow("escaped braces and backslash, backslash-newline paragraph")
            << QByteArray("{\\rtf1 a\\{b\\}c\\\\d\\\r\ne}") << "a{b}c\\d\ne";
        // Hostile input: bounded nesting, sizes and numbers.
        QTest::newRow("nesting far past the limit is skipped")
            << "{\\rtf1 a" + QByteArray(200000, '{') + "x" + QByteArray(200000, '}') + "b}"
            << "ab";
        QTest::newRow("nesting within the limit is read")
            << "{\\rtf1 a" + QByteArray(500, '{') + "x" + QByteArray(500, '}') + "b}"
            << "axb";
        QTest::newRow("unterminated groups keep what was read")
            << QByteArray("{\\rtf1 abc{\\b def{\\i gh") << "abcdefgh";
        QTest::newRow("huge bin skips only what is there")
            << QByteArray("{\\rtf1 a\\bin99999999999999 xyz}") << "a";
        QTest::newRow("negative bin skips nothing")
            << QByteArray("{\\rtf1 a\\bin-5 xyz}") << "axyz";
        QTest::newRow("numbers out of range are clamped")
            << QByteArray("{\\rtf1 {\\uc99999999999 \\u99999999999999?a}\\cf-2147483649 b}")
            << "\uFFFDb";
        QTest::newRow("truncated escapes at the end") << QByteArray("{\\rtf1 a\\'4") << "a";
        QTest::newRow("colour table without end")
            << "{\\rtf1{\\colortbl" + QByteArray(5000, ';') << QString();
        QTest::newRow("control characters dropped") << QByteArray("{\\rtf1 a\\'01\\'0d\\'81\x01"
                                                                  "b\\u1?c\\u127?}")
                                                    << "abc";
        QTest::newRow("overlong control word") << "{\\rtf1 \\" + QByteArray(100000, 'b') + " x}"
                                               << "x";
        QTest::newRow("not rich text is refused")
            << QByteArray("Dear diary")
            << "<refused: The file is not a Rich Text Format document.>";
    }

    void readsTextOfForeignAndHostileDocuments()
    {
        QFETCH(QByteArray, rtf);
        QString error;
        const std::optional<RichText> text = ReadRtf(rtf, &error);
        QTEST(text ? text->plainText() : "<refused: " + error + '>', "expected");
    }

    // A blank between colour entries adds no colour; each run shown as
    // "[biu colour]text".
    void keepsFormatsAndColours()
    {
        const RichText text =
            ReadRtf("{\\rtf1{\\colortbl;\\red255\\green0\\blue0; \\red0\\green128\\blue0;}"
                    "a\\b b{\\i c\\ul d}\\cf2 e\\plain f\\cf9 g\\ul\\ulnone h\\ul0\\ulw i}",
                    nullptr)
                .value_or(RichText());
        QString shown;
        for (const RichTextRun &r : text.runs)
            shown += QStringLiteral("[%1%2%3%4]")
                         .arg(r.bold ? "b" : "", r.italic ? "i" : "", r.underline ? "u" : "",
                              r.colour.isValid() ? r.colour.name() : "") +
                     r.text;
        QCOMPARE(shown, QStringLiteral("[]a[b]b[bi]c[biu]d[b#008000]e[]fgh[u]i"));
    }

    // Each row: the picture's natural size and the box, in twips; then the
    // fitted size and its corner when centred.
    void fitBySteps_data()
    {
        QTest::addColumn<QSizeF>("natural");
        QTest::addColumn<QSizeF>("box");
        QTest::addColumn<QString>("fitted");
        const QSizeF frame(5235, 5235);
        QTest::newRow("wide photo shrinks seven steps, both sides alike")
            << QSizeF(10000, 4000) << frame << "4782.97 x 1913.19 at 226.02, 1660.91";
        QTest::newRow("small photo keeps its size, centred")
            << QSizeF(3000, 2000) << frame << "3000.00 x 2000.00 at 1117.50, 1617.50";
        QTest::newRow("exactly the frame's size is not shrunk")
            << frame << frame << "5235.00 x 5235.00 at 0.00, 0.00";
        QTest::newRow("too high only still shrinks both")
            << QSizeF(100, 5300) << frame << "90.00 x 4770.00 at 2572.50, 232.50";
        QTest::newRow("empty box leaves the size alone")
            << QSizeF(300, 200) << QSizeF(0, 0) << "300.00 x 200.00 at -150.00, -100.00";
        QTest::newRow("screen box") << QSizeF(30000, 10000) << QSizeF(28800, 16200)
                                    << "27000.00 x 9000.00 at 900.00, 3600.00";
    }

    void fitBySteps()
    {
        QFETCH(QSizeF, natural);
        QFETCH(QSizeF, box);
        const QSizeF got = FitBySteps(natural, box);
        const QPointF at = CentreIn(got, box);
        QTEST(QStringLiteral("%1 x %2 at %3, %4")
                  .arg(got.width(), 0, 'f', 2)
                  .arg(got.height(), 0, 'f', 2)
                  .arg(at.x(), 0, 'f', 2)
                  .arg(at.y(), 0, 'f', 2),
              "fitted");
    }

    void untrustedPicturesRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("readable");
        QImage image(48, 32, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        const auto encoded = [&image](const char *format) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, format);
            return bytes;
        };
        const QByteArray jpeg = encoded("JPEG");
        const QByteArray png = encoded("PNG");
        QTest::newRow("JPEG whatever the extension") << jpeg << true;
        QTest::newRow("PNG whatever the extension") << png << true;
        QTest::newRow("small declared PNG is read") << declaredPng(64, 4) << true;
        QTest::newRow("not a picture") << QByteArray("GIF? no, text") << false;
        QTest::newRow("truncated JPEG") << jpeg.left(40) << false;
        QTest::newRow("empty file") << QByteArray() << false;
        QTest::newRow("60000 x 60000 declared PNG") << declaredPng(60000, 60000) << false;
    }

    void untrustedPicturesRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, readable);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("_0001_X%2.jp1"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        const long before = peakKilobytes();
        QString error;
        const std::optional<QImage> picture = LoadPicture(path, &error);
        QCOMPARE(picture.has_value(), readable);
        QVERIFY2(readable ? error.isEmpty() : error.contains(path), qPrintable(error));
        // Nothing near the declared size was allocated.
        QVERIFY2(peakKilobytes() - before < 400 * 1024,
                 qPrintable(QStringLiteral("peak grew by %1 kB").arg(peakKilobytes() - before)));
    }

    void entriesFromFileNames()
    {
        QTemporaryDir dir;
        for (const char *name : {"_0120_JOHN.not", "_0003_FIRST LORD.not", "_1000_KING.not",
                                 "_0057_HUBERT.jp1", "notes.txt", ".not"})
            QFile(dir.filePath(QLatin1String(name))).open(QIODevice::WriteOnly);
        QCOMPARE(AnnotationEntries(dir.path(), QStringLiteral(".not")),
                 (QStringList{"0003_FIRST LORD", "0120_JOHN", "1000_KING"}));
        QCOMPARE(AnnotationEntries(dir.filePath(QStringLiteral("missing")), QStringLiteral(".not")),
                 QStringList());
        QCOMPARE(
            AnnotationFileOfEntry(dir.path(), QStringLiteral("0120_JOHN"), QStringLiteral(".not")),
            dir.filePath(QStringLiteral("_0120_JOHN.not")));
    }

    void toolWritesAndReadsNotes()
    {
        QTemporaryDir dir;
        const QString note = dir.filePath(QStringLiteral("_0057_HUBERT.not"));
        QCOMPARE(runTool({"note-write", note}, slowRun(Sample.toUtf8() + "\n")).exitCode, 0);
        const ToolRun text = runTool({"note-text", note});
        QCOMPARE(text.exitCode, 0);
        QCOMPARE(QString::fromUtf8(text.out), Sample + QLatin1Char('\n'));
        // Spaces only: the note is deleted, as the editor does.
        QCOMPARE(runTool({"note-write", note}, slowRun("   \n")).exitCode, 0);
        QVERIFY(!QFile::exists(note));
        // A failure is one line on the standard error.
        for (const char *command : {"note-text", "note-write"}) {
            const ToolRun failed =
                runTool({command, QStringLiteral("/nonexistent/_0001_X.not")}, slowRun("text\n"));
            QCOMPARE(failed.exitCode, 1);
            QVERIFY(failed.err.startsWith(command + QByteArray(": ")) &&
                    failed.err.count('\n') == 1);
        }
    }

    void libreOfficeReadsOurNotes()
    {
        QTemporaryDir dir;
        const QStringList texts{Sample, QStringLiteral("\n\n"), QStringLiteral("a\n")};
        QStringList files;
        QStringList read;
        for (const QString &text : texts) {
            files.append(dir.filePath(QStringLiteral("note%1.rtf").arg(files.size())));
            QCOMPARE(runTool({"note-write", files.last()}, slowRun(text.toUtf8() + "\n")).exitCode,
                     0);
        }
        for (const QByteArray &bytes :
             libreOffice(dir.path(), {"--convert-to", "txt:Text (encoded):UTF8"}, files, ".txt"))
            read.append(QString::fromUtf8(bytes).remove(QChar(0xFEFF)).replace("\r\n", "\n"));
        QCOMPARE(read, QStringList(texts).replaceInStrings(QRegularExpression("\\z"), "\n"));
    }

    void weReadLibreOfficeAndPandocDocuments()
    {
        // LibreOffice: a UTF-8 text file saved as RTF.
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("source.txt"));
        QVERIFY(WriteTestFile(source, Sample.toUtf8() + "\n"));
        const QByteArray rtf =
            libreOffice(dir.path(), {"--infilter=Text (encoded):UTF8", "--convert-to", "rtf"},
                        {source}, ".rtf")[0];
        QString error;
        QCOMPARE(ReadRtf(rtf, &error).value_or(RichText()).plainText(), Sample);

        // pandoc: the same paragraphs from plain Markdown (no smart quotes,
        // special characters escaped, the leading tab as a hard one).
        const QString line = QStringLiteral("Entrée de Hubert — « Non ! » l’œil, 5 €… Жил-был "
                                            "中文 😀 \"quoted\" & {braces} \\\\back 100%");
        const ToolRun written = runProgram(QStandardPaths::findExecutable(QStringLiteral("pandoc")),
                                           {"-f", "markdown-smart", "-t", "rtf", "-s"},
                                           slowRun(line.toUtf8() + "\n\nsecond\n"));
        QVERIFY2(written.exitCode == 0, "pandoc is missing or failed");
        QCOMPARE(ReadRtf(written.out, &error).value_or(RichText()).plainText(),
                 QString(line).replace(QLatin1String("\\\\"), QLatin1String("\\")) +
                     QStringLiteral("\nsecond"));
    }
};

QTEST_MAIN(TstAnnotationFiles)
#include "tst_annotationfiles.moc"
