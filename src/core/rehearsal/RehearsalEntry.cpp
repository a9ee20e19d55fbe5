#include "core/rehearsal/RehearsalEntry.h"

#include "core/app/Module1.h"
#include "core/play/SceneCursor.h"

namespace tiradex {

QString MissingRecordingsList(const QStringList &replyNumbers)
{
    QString list;
    for (const QString &number : replyNumbers)
        list += number + QLatin1Char('-');
    return list;
}

QString MissingRecordingsMessage(const QString &actText, const QString &sceneText,
                                 const QString &missingList)
{
    return QStringLiteral("All the Vox files must be present to use the function 'Rehearsal'\r\n"
                          "Missing Vox files (") +
           actText + QStringLiteral(" - ") + sceneText + QStringLiteral(") :\r\n") + missingList;
}

QString NoFilterMessage()
{
    return QStringLiteral("You have to create a filter before using the function of rehearsal");
}

RehearsalEntry CheckRehearsalEntry(const Module1 &state, const SceneCursor &scene,
                                   const QString &actText, const QString &sceneText,
                                   bool voicesForMissing)
{
    RehearsalEntry entry;
    if (!scene.isOpen() || scene.isEmpty())
        return entry;
    QStringList missing;
    for (int k = 0; k < scene.count(); ++k) {
        if (!voicesForMissing && !scene.hasRecording(state, k))
            missing.append(scene.replyNumber(k));
    }
    if (!missing.isEmpty()) {
        entry.verdict = RehearsalEntry::Verdict::MissingRecordings;
        entry.message =
            MissingRecordingsMessage(actText, sceneText, MissingRecordingsList(missing));
    } else if (state.FilterCharacter.isEmpty()) {
        entry.verdict = RehearsalEntry::Verdict::NoFilter;
        entry.message = NoFilterMessage();
    } else {
        entry.verdict = RehearsalEntry::Verdict::Allowed;
    }
    return entry;
}

} // namespace tiradex
