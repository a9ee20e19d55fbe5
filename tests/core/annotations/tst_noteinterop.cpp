#include "ToolRunner.h"
#include "core/annotations/RtfReader.h"

#include <QDir>
#include <QRegularExpression>
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
RunOptions slowRun(const QByteArray &input, const QString &folder = QString())
{
    return RunOptions{input, folder, QProcessEnvironment::systemEnvironment(), 180000};
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
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(Sample.toUtf8() + "\n") > 0);
        file.close();
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

QTEST_MAIN(TstNoteInterop)
#include "tst_noteinterop.moc"
