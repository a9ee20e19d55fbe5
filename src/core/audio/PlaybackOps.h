#pragma once

#include <QString>

namespace tiradex {

class Module1;

// The steps that every playback of a reply's recording shares: unpacking the
// reply's vox file into the application folder, reading the take's duration
// record, and the progress text shown while a take plays.

// Unpacks the vox file of the reply `baseName` into AppFolder: "temp.wav"
// is then the take and baseName + ".tsd" its duration record. Only those two
// members are read and written, flat, under those names (see
// ExtractVoxTake); nothing else in AppFolder or the play folder is touched
// whatever the archive holds. The scratch files "temp.wav", "temp.vox" and
// every "*.tsd" are deleted first, so whatever goes wrong, no take of an
// earlier reply is left to be played in place of this one. Returns true when
// this archive put a non-empty "temp.wav" into AppFolder (whether it decodes
// is found when a media device opens it). On false, *error says why: the vox
// file is missing, is not an archive, or holds no sound take.
bool UnpackVox(const Module1 &state, const QString &baseName, QString *error = nullptr);

// The length in whole seconds recorded in the duration record of the reply
// `baseName`: the third of its comma-separated values (act, scene,
// seconds). 0 when the vox file, its duration record or the third value is
// missing, or the value is not a number of the 16-bit range. The record is
// read from the archive without inflating the take; the scratch files are
// deleted, as an unpacking would replace them.
int ReadReplyDuration(const Module1 &state, const QString &baseName);

// The third value of a duration record's text, read as list input reads it:
// values separated by commas or line ends, each read from its leading
// number; 0 when there is no third value or it leaves the 16-bit range.
int DurationRecordSeconds(const QByteArray &record);

// The progress text of a playback: whole seconds of the position, "/",
// whole seconds of the length, then `suffix`; whole seconds are the
// milliseconds divided by 1000, rounded down (12,800 of 17,900 ms with
// " secondes" gives "12/17 secondes").
QString ProgressText(qint64 valueMs, qint64 maximumMs, const QString &suffix);

} // namespace tiradex
