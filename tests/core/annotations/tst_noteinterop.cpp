#include "ToolRunner.h"
#include "core/annotations/RtfReader.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace tiradex;

// Notes against real peers: LibreOffice must read the notes that
// "tiradex-tool note-write" writes with the same text, and our reader must
// read the RTF that LibreOffice and pandoc write with the same text. The
// peers are test dependencies (scripts/deps.sh installs them): a missing one
// is a failure, never a skip.
namespace {
// Accents, typographic quotes and signs, characters outside Windows-1252,
// characters outside the basic plane, RTF's own special characters, a tab
// and an empty paragraph.
const QString Sample = QStringLiteral("Entrée de Hubert — « Non ! » l’œil, 5 €…\n"
                                      "Жил-был 中文 😀 ĳ ő\n"
                                      "\n"
                                      "\t\"quoted\" & <tags> {braces} \\back\\slash 100%");

// The peers may take long to start the first time.
RunOptions slowRun(const QByteArray &input = QByteArray(), const QString &folder = QString())
{
    RunOptions options;
    options.input = input;
    options.folder = folder;
    options.timeoutMs = 180000;
    return options;
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Runs LibreOffice on `files` with a profile of its own in `folder`, so that
// no running LibreOffice of the user is joined.
bool libreOffice(const QString &folder, const QStringList &options, const QStringList &files)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    const QStringList args =
        QStringList{"-env:UserInstallation=file://" + folder + "/profile", "--headless"} + options +
        files;
    return !soffice.isEmpty() &&
           runProgram(soffice, args, slowRun(QByteArray(), folder)).exitCode == 0;
}

// LibreOffice's text export of `files` (in `folder`), as UTF-8 text per file.
QStringList libreOfficeText(const QString &folder, const QStringList &files)
{
    if (!libreOffice(folder,
                     {"--convert-to", "txt:Text (encoded):UTF8", "--outdir", folder + "/txt"},
                     files))
        return {};
    QStringList texts;
    for (const QString &file : files) {
        QByteArray bytes = readBytes(folder + QStringLiteral("/txt/") +
                                     QFileInfo(file).completeBaseName() + QStringLiteral(".txt"));
        if (bytes.startsWith("\xEF\xBB\xBF"))
            bytes.remove(0, 3);
        texts.append(QString::fromUtf8(bytes).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    }
    return texts;
}
} // namespace

class TstNoteInterop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void toolWritesAndReadsNotes()
    {
        QTemporaryDir dir;
        const QString note = dir.filePath(QStringLiteral("_0057_HUBERT.not"));
        QCOMPARE(runTool({"note-write", note}, slowRun(Sample.toUtf8() + "\n")).exitCode, 0);
        QVERIFY(readBytes(note).startsWith("{\\rtf1"));
        const ToolRun text = runTool({"note-text", note});
        QCOMPARE(text.exitCode, 0);
        QCOMPARE(QString::fromUtf8(text.out), Sample + QLatin1Char('\n'));

        // Spaces only: the note is deleted, as the editor does.
        QCOMPARE(runTool({"note-write", note}, slowRun("   \n")).exitCode, 0);
        QVERIFY(!QFile::exists(note));
    }

    void toolReportsFailuresOnOneLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("missing note")
            << QStringList{QStringLiteral("note-text"), QStringLiteral("/nonexistent/_0001_X.not")};
        QTest::newRow("unwritable folder") << QStringList{
            QStringLiteral("note-write"), QStringLiteral("/nonexistent/_0001_X.not")};
    }

    void toolReportsFailuresOnOneLine()
    {
        QFETCH(QStringList, args);
        const ToolRun result = runTool(args, slowRun("text\n"));
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err.count('\n'), 1);
        QVERIFY(result.err.startsWith(args.first().toUtf8() + ": "));
    }

    void libreOfficeReadsOurNotes()
    {
        QTemporaryDir dir;
        const QStringList texts{Sample, QStringLiteral("\n\n"), QStringLiteral("a\n")};
        QStringList files;
        for (int k = 0; k < texts.size(); ++k) {
            files.append(dir.filePath(QStringLiteral("note%1.rtf").arg(k)));
            QCOMPARE(
                runTool({"note-write", files.last()}, slowRun(texts[k].toUtf8() + "\n")).exitCode,
                0);
        }
        const QStringList read = libreOfficeText(dir.path(), files);
        QVERIFY2(read.size() == texts.size(),
                 "LibreOffice (soffice, package libreoffice-writer-nogui) did not convert");
        for (int k = 0; k < texts.size(); ++k)
            QCOMPARE(read[k], texts[k] + QLatin1Char('\n'));
    }

    void weReadLibreOfficeAndPandocDocuments()
    {
        QTemporaryDir dir;
        // LibreOffice: a UTF-8 text file saved as RTF.
        const QString source = dir.filePath(QStringLiteral("source.txt"));
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(Sample.toUtf8() + "\n");
        file.close();
        QVERIFY2(libreOffice(dir.path(),
                             {"--infilter=Text (encoded):UTF8", "--convert-to", "rtf", "--outdir",
                              dir.filePath(QStringLiteral("rtf"))},
                             {source}),
                 "LibreOffice (soffice, package libreoffice-writer-nogui) did not convert");
        QString error;
        const std::optional<RichText> fromOffice =
            ReadRtf(readBytes(dir.filePath(QStringLiteral("rtf/source.rtf"))), &error);
        QVERIFY2(fromOffice, qPrintable(error));
        QCOMPARE(fromOffice->plainText(), Sample);

        // pandoc: the same paragraphs from plain Markdown (no smart quotes,
        // special characters escaped, the leading tab as a hard one).
        const QString pandoc = QStandardPaths::findExecutable(QStringLiteral("pandoc"));
        QVERIFY2(!pandoc.isEmpty(), "pandoc is missing");
        const QString line = QStringLiteral("Entrée de Hubert — « Non ! » l’œil, 5 €… Жил-был "
                                            "中文 😀 \"quoted\" & {braces} \\\\back 100%");
        const ToolRun written =
            runProgram(pandoc,
                       {QStringLiteral("-f"), QStringLiteral("markdown-smart"),
                        QStringLiteral("-t"), QStringLiteral("rtf"), QStringLiteral("-s")},
                       slowRun(line.toUtf8() + "\n\nsecond\n"));
        QCOMPARE(written.exitCode, 0);
        const std::optional<RichText> fromPandoc = ReadRtf(written.out, &error);
        QVERIFY2(fromPandoc, qPrintable(error));
        QCOMPARE(fromPandoc->plainText(),
                 QString(line).replace(QLatin1String("\\\\"), QLatin1String("\\")) +
                     QStringLiteral("\nsecond"));
    }
};

QTEST_MAIN(TstNoteInterop)
#include "tst_noteinterop.moc"
