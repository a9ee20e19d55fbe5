// Writes the seed corpus of the archive reader's fuzz target: small archives
// that reach each branch of the reader, built with the tests' forging helpers
// (tests/core/transfer/ZipTestArchive.h). run-all.sh checks that the seeds in
// fuzz/seeds/fuzz_zipreader are what it writes.
//
//   make_zip_seeds FOLDER

#include "ZipTestArchive.h"

#include <QDir>
#include <QFile>

#include <cstdio>

using namespace tiradex;

using namespace ZipTest;

namespace {
QList<QPair<QString, Archive>> seeds()
{
    const Member wave = member("temp.wav", "RIFF....WAVEfmt data 0123456789 0123456789 0123456789");
    const Member record = member("_0057_HUBERT.tsd", "2,3,17\r\n");
    QList<QPair<QString, Archive>> list;
    list.append({"vox", Archive{{wave, record}}});
    list.append({"stored", Archive{{member("temp.wav", "stored bytes", 0), record}}});
    list.append({"folders", Archive{{member("a/b/c.txt", "nested"), member("a\\d.txt", "back")}}});
    Member deferred = member("late.txt", "sizes in the central directory");
    deferred.flags = 8;
    deferred.zeroLocalSizes = true;
    list.append({"descriptor", Archive{{deferred}}});
    Archive commented{{record}};
    commented.comment = QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0') + "comment";
    list.append({"comment", commented});
    list.append(
        {"unsafe", Archive{{member("../up.txt", "up"), member("/abs.txt", "abs"), record}}});
    list.append({"empty", Archive{{member("folder/", "", 0), member("none.txt", "", 0), record}}});
    list.append({"method12", Archive{{member("m.bin", "xyz", 12), record}}});
    Member badCrc = record;
    badCrc.crc = 0;
    list.append({"crc", Archive{{badCrc, wave}}});
    Member twin = record;
    twin.name = "twin.tsd";
    twin.localOffset = 0;
    list.append({"overlap", Archive{{record, twin}}});
    return list;
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fputs("usage: make_zip_seeds FOLDER\n", stderr);
        return 2;
    }
    const QString folder = QFile::decodeName(argv[1]);
    QDir().mkpath(folder);
    for (const auto &[name, archive] : seeds()) {
        QFile file(folder + "/" + name + ".zip");
        const QByteArray bytes = archive.build();
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
