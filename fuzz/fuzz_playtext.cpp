// Play texts and quoted records are untrusted input: converting any text
// must end in a complete store or in an error that leaves nothing, and
// reading any bytes as records must not fail.

#include "core/app/QuotedRecord.h"
#include "core/app/TextCodec.h"
#include "core/play/PlayConverter.h"
#include "core/play/SceneStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace tiradex;

namespace {

// Stops the run (a finding) when an expectation fails, naming its line.
void check(bool condition, int line = __builtin_LINE())
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_playtext: expectation on line %d failed\n", line);
        std::abort();
    }
}

void readAsRecords(const QByteArray &bytes)
{
    const QString text = DecodeText(bytes);
    const QList<QStringList> records = ParseRecords(text);
    for (const QStringList &record : records)
        check(!record.isEmpty());
    QuotedRecordReader reader(text);
    qsizetype fields = 0;
    while (reader.readField())
        check(++fields <= text.size() + 1);
}

void convert(const QByteArray &bytes, bool keepLineBreaks)
{
    // Each run makes and removes a whole store: memory-backed when possible.
    static QTemporaryDir scratch(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                     ? QStringLiteral("/dev/shm/fuzz_playtext-XXXXXX")
                                     : QDir::tempPath() + QStringLiteral("/fuzz_playtext-XXXXXX"));
    Module1 state;
    state.StartUp(scratch.path());
    state.PlayTextFile = QStringLiteral("play.txt");
    state.PlayFolder = state.AppFolder + QStringLiteral("play");
    state.KeepLineBreaks = keepLineBreaks;
    {
        QFile text(state.AppFolder + state.PlayTextFile);
        check(text.open(QIODevice::WriteOnly | QIODevice::Truncate));
        check(text.write(bytes) == bytes.size());
    }
    const QStringList characters = {QStringLiteral("HAMLET"), QStringLiteral("ghost"),
                                    QStringLiteral("FIRST LORD"), QStringLiteral("A")};
    const ConvertResult result = ConvertPlay(state, characters);
    const QStringList entries =
        QDir(scratch.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    if (result.ok() && !result.alreadyConverted) {
        check(entries == QStringList({QStringLiteral("play"), QStringLiteral("play.txt")}));
        const auto scenes = ReadHeadIni(state);
        const auto acts = ReadTreeviewIni(state);
        check(scenes && acts && !acts->isEmpty());
        check(scenes->size() == result.scenes);
        for (const QString &name : ListReplyFiles(state.SceneFolder(1, 1)))
            check(ReadReplyText(state.SceneFolder(1, 1) + QLatin1Char('/') + name, keepLineBreaks)
                      .has_value());
        QDir(state.PlayFolder).removeRecursively();
    } else {
        check(!result.ok());
        check(entries == QStringList{QStringLiteral("play.txt")});
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    readAsRecords(bytes);
    convert(bytes, size % 2 == 0);
    return 0;
}
