#include "ToolCommand.h"

#include "core/audio/Tones.h"
#include "core/audio/WavFile.h"

namespace tiradex {

namespace {
int run(const QStringList &args)
{
    QString out;
    QString sound = QStringLiteral("deletion");
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args.at(i) == QStringLiteral("--out") && i + 1 < args.size()) {
            out = args.at(++i);
        } else if (args.at(i) == QStringLiteral("--sound") && i + 1 < args.size()) {
            sound = args.at(++i);
        } else {
            printErr(QStringLiteral("gen-sound: unexpected argument \"%1\"").arg(args.at(i)));
            return 2;
        }
    }
    if (out.isEmpty()) {
        printErr(QStringLiteral("gen-sound: --out FILE is required"));
        return 2;
    }
    PcmAudio audio;
    if (sound == QStringLiteral("deletion")) {
        audio = DeletionSound();
    } else if (sound == QStringLiteral("beep")) {
        audio = BeepSound();
    } else {
        printErr(QStringLiteral("gen-sound: unknown sound \"%1\" (deletion or beep)").arg(sound));
        return 2;
    }
    QString error;
    if (!WriteWavFile(out, audio, &error)) {
        printErr(QStringLiteral("gen-sound: ") + error);
        return 1;
    }
    return 0;
}
} // namespace

extern const ToolCommand kGenSoundCommand = {
    "gen-sound", "write one of the program's own sounds as a WAV file",
    "Usage: tiradex-tool gen-sound --out FILE [--sound deletion|beep]\n\n"
    "Writes a sound that Tiradex makes itself as a 16-bit mono WAV file:\n"
    "  deletion  the sound of a deleted take, shipped as del.wav (the default)\n"
    "  beep      the rehearsal's cue",
    run};

} // namespace tiradex
