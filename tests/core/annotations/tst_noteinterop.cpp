#include "core/annotations/RtfReader.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

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

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run run(const QString &program, const QStringList &args, const QByteArray &input = QByteArray(),
        const QString &folder = QString())
{
    QProcess process;
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(program, args);
    Run result;
    if (!process.waitForStarted(30000))
        return result;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(180000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QString tool()
{
    return QStringLiteral(TIRADEX_BUILD_DIR "/bin/tiradex-tool");
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// LibreOffice's text export of `files` (in `folder`), as UTF-8 text per file.
QStringList libreOfficeText(const QString &folder, const QStringList &files)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        return {};
    // A profile of its own, so that no running LibreOffice of the user is joined.
    QStringList args{QStringLiteral("-env:UserInstallation=file://") + folder +
                         QStringLiteral("/profile"),
                     QStringLiteral("--headless"),
                     QStringLiteral("--convert-to"),
                     QStringLiteral("txt:Text (encoded):UTF8"),
                     QStringLiteral("--outdir"),
                     folder + QStringLiteral("/txt")};
    args += files;
    if (run(soffice, args, QByteArray(), folder).exitCode != 0)
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
        QCOMPARE(run(tool(), {QStringLiteral("note-write"), note}, Sample.toUtf8() + "\n").exitCode,
                 0);
        QVERIFY(readBytes(note).startsWith("{\\rtf1"));
        const Run text = run(tool(), {QStringLiteral("note-text"), note});
        QCOMPARE(text.exitCode, 0);
        QCOMPARE(QString::fromUtf8(text.out), Sample + QLatin1Char('\n'));

        // Spaces only: the note is deleted, as the editor does.
        QCOMPARE(run(tool(), {QStringLiteral("note-write"), note}, "   \n").exitCode, 0);
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
        const Run result = run(tool(), args, "text\n");
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
                run(tool(), {QStringLiteral("note-write"), files.last()}, texts[k].toUtf8() + "\n")
                    .exitCode,
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
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        QVERIFY2(!soffice.isEmpty(), "soffice (package libreoffice-writer-nogui) is missing");
        const Run converted =
            run(soffice,
                {QStringLiteral("-env:UserInstallation=file://") + dir.path() +
                     QStringLiteral("/profile"),
                 QStringLiteral("--headless"), QStringLiteral("--infilter=Text (encoded):UTF8"),
                 QStringLiteral("--convert-to"), QStringLiteral("rtf"), QStringLiteral("--outdir"),
                 dir.filePath(QStringLiteral("rtf")), source},
                QByteArray(), dir.path());
        QCOMPARE(converted.exitCode, 0);
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
        const Run written = run(pandoc,
                                {QStringLiteral("-f"), QStringLiteral("markdown-smart"),
                                 QStringLiteral("-t"), QStringLiteral("rtf"), QStringLiteral("-s")},
                                line.toUtf8() + "\n\nsecond\n");
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
