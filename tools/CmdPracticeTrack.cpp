#include "ToolCommand.h"

#include "core/app/Module1.h"
#include "core/app/TextCodec.h"
#include "core/cipher/CryptFiles.h"
#include "core/play/CharactersFile.h"
#include "core/rehearsal/PracticeTrack.h"
#include "core/speech/PlaySettings.h"
#include "core/speech/SpeechCache.h"
#include "platform/speech/FliteSynthesizer.h"

#include <QDir>
#include <QFileInfo>

namespace tiradex {

namespace {

struct TrackArguments
{
    QString play;
    QString characters;
    QString character;
    QString out;
    QString act;
    QString scene;
    QString from;
    bool answers = false;
    bool voices = false;
    bool wholeAct = false;
};

bool parseArguments(const QStringList &args, TrackArguments *parsed, QString *error)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        QString *target = arg == QLatin1String("--play")         ? &parsed->play
                          : arg == QLatin1String("--characters") ? &parsed->characters
                          : arg == QLatin1String("--character")  ? &parsed->character
                          : arg == QLatin1String("--out")        ? &parsed->out
                          : arg == QLatin1String("--act")        ? &parsed->act
                          : arg == QLatin1String("--scene")      ? &parsed->scene
                          : arg == QLatin1String("--from")       ? &parsed->from
                                                                 : nullptr;
        if (target) {
            if (i + 1 >= args.size() || args.at(i + 1).isEmpty()) {
                *error = QStringLiteral("%1 needs a value").arg(arg);
                return false;
            }
            *target = args.at(++i);
        } else if (arg == QLatin1String("--answers")) {
            parsed->answers = true;
        } else if (arg == QLatin1String("--voices")) {
            parsed->voices = true;
        } else if (arg == QLatin1String("--whole-act")) {
            parsed->wholeAct = true;
        } else {
            *error = QStringLiteral("unexpected argument \"%1\"").arg(arg);
            return false;
        }
    }
    const char *missing = parsed->play.isEmpty()                         ? "--play"
                          : parsed->characters.isEmpty()                 ? "--characters"
                          : parsed->character.isEmpty()                  ? "--character"
                          : parsed->act.isEmpty()                        ? "--act"
                          : parsed->scene.isEmpty() && !parsed->wholeAct ? "--scene"
                          : parsed->out.isEmpty()                        ? "--out"
                                                                         : nullptr;
    if (missing) {
        *error = QStringLiteral("%1 is missing").arg(QLatin1String(missing));
        return false;
    }
    if (parsed->wholeAct && (!parsed->scene.isEmpty() || !parsed->from.isEmpty())) {
        *error = QStringLiteral("--whole-act takes neither --scene nor --from");
        return false;
    }
    return true;
}

int fail(const QString &text, int status = 1)
{
    printErr(QStringLiteral("practice-track: ") + text);
    return status;
}

int run(const QStringList &args)
{
    TrackArguments arguments;
    QString error;
    if (!parseArguments(args, &arguments, &error))
        return fail(error + QStringLiteral("; see tiradex-tool practice-track --help"), 2);
    bool okAct = false;
    bool okScene = arguments.wholeAct;
    bool okFrom = true;
    PracticeRequest request;
    request.act = arguments.act.toInt(&okAct);
    request.wholeAct = arguments.wholeAct;
    if (!request.wholeAct)
        request.scene = arguments.scene.toInt(&okScene);
    if (!arguments.from.isEmpty())
        request.fromIndex = arguments.from.toInt(&okFrom) - 1;
    if (!okAct || !okScene || !okFrom || request.act < 1 ||
        (request.scene < 1 && !request.wholeAct) || request.fromIndex < 0)
        return fail(QStringLiteral("--act, --scene and --from take numbers from 1"), 2);

    Module1 state;
    const QFileInfo play(arguments.play);
    state.StartUp(play.absolutePath());
    state.PlayFolder = QDir::cleanPath(play.absoluteFilePath());
    if (!play.isDir())
        return fail(QStringLiteral("the play folder %1 does not exist").arg(arguments.play));

    const std::optional<QByteArray> clear =
        DecipherFileToMemory(state, arguments.characters, &error);
    if (!clear)
        return fail(error);
    const CharactersList characters = ParseCharactersText(DecodeText(*clear));
    if (!characters.names.contains(arguments.character))
        return fail(QStringLiteral("the play has no character \"%1\"").arg(arguments.character));
    request.character = arguments.character;
    request.answers = arguments.answers;
    request.voices = arguments.voices;

    const std::optional<PlaySettings> settings =
        LoadPlaySettings(PlaySettingsPath(state.PlayFolder), &error);
    if (!settings)
        return fail(error);
    request.tuning = settings->tuning;

    FliteSynthesizer synthesizer;
    SpeechCache cache(SpeechCache::FolderFor(state.PlayFolder), synthesizer);
    const SpeakingPace pace =
        request.voices ? MeasureActorPace(state, request.character) : SpeakingPace();
    const std::optional<std::vector<PracticeStep>> steps =
        PlanPracticeTrack(state, request, &cache, *settings, synthesizer.voices(), pace, &error);
    if (!steps)
        return fail(error);
    switch (WritePracticeTrack(arguments.out, *steps, nullptr, &error)) {
    case TrackResult::Done:
        break;
    case TrackResult::Cancelled:
    case TrackResult::Failed:
        return fail(error);
    }
    printOut(QStringLiteral("Wrote %1: %2 replies.").arg(arguments.out).arg(steps->size()));
    if (request.voices && !pace.measured)
        printOut(QStringLiteral("Own replies without a recording got gaps at the default pace "
                                "of %1 s per byte of text.")
                     .arg(double(pace.tenThousandths) / 10000.0, 0, 'f', 4));
    return 0;
}

} // namespace

extern const ToolCommand kPracticeTrackCommand = {
    "practice-track", "write a scene or an act as a sound file to rehearse with anywhere",
    "Usage: tiradex-tool practice-track --play PLAYFOLDER --characters CHARSFILE\n"
    "           --character NAME --act N (--scene M [--from REPLY] | --whole-act)\n"
    "           --out FILE [--answers] [--voices]\n\n"
    "Writes the scene (or every scene of the act, one after the other) as one\n"
    "sound file: the partners' replies, and at each reply of\n"
    "NAME a beep and a silence as long as his recording of it (tuned as the play's\n"
    "settings say). The format follows the extension of FILE: .wav, .flac, .ogg\n"
    "(and .mp3 where libsndfile writes it).\n"
    "  --from REPLY  start at the REPLY-th reply of the scene (from 1)\n"
    "  --whole-act   the whole act, scene after scene\n"
    "  --answers     play his own recording after each silence\n"
    "  --voices      speak partner replies without a recording with synthetic\n"
    "                voices, and estimate his gaps for own replies without one",
    run};

} // namespace tiradex
