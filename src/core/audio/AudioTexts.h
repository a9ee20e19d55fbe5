#pragma once

#include <QString>

namespace tiradex {

// The texts the sound tools show the user, in one place for the windows
// that show them.
namespace AudioTexts {

// Closing the play window or the program, or leaving the recorder, while
// sound plays or a take is being recorded.
inline QString StopReadingFirst()
{
    return QStringLiteral("Stop at first the current reading.");
}
inline QString StopRecordingFirst()
{
    return QStringLiteral("Stop at first the current recording.");
}
// The reply's recording (by its number, "0057") cannot be played or deleted.
inline QString VoxCannotBePlayed(const QString &number)
{
    return QStringLiteral("The Vox file number %1 cannot be played.").arg(number);
}
inline QString VoxCannotBeDeleted(const QString &number)
{
    return QStringLiteral("The Vox file number %1 cannot be deleted.").arg(number);
}
inline QString DeleteVoxQuestion(const QString &number)
{
    return QStringLiteral("Want you delete the file Vox number %1 ?").arg(number);
}
// The recorder's Delete, and a Save that failed with `error`.
inline QString DeleteTakeQuestion()
{
    return QStringLiteral("Delete ?");
}
inline QString TakeNotSaved(const QString &error)
{
    return QStringLiteral("The recording could not be saved. %1").arg(error);
}
// The system has no microphone (or none it lets the program use).
inline QString NoSoundInputDevice()
{
    return QStringLiteral("No sound input device was found.");
}
inline QString NoFinishedTake()
{
    return QStringLiteral("No finished take is ready.");
}

} // namespace AudioTexts

} // namespace tiradex
