#pragma once

#include <QByteArray>
#include <QString>

namespace tiradex {

// The files of a take in the application folder and the vox file they
// become. `appFolder` ends with "/".

// The duration record's line: act, scene and the take's length in whole
// seconds (lengthMs / 1000, rounded down), as decimal numbers separated by
// commas, ended by CR LF, e.g. "2,3,17\r\n". Each value is kept to a 16-bit
// signed integer.
QByteArray DurationRecordLine(int act, int scene, qint64 lengthMs);

enum class PackageResult
{
    Packaged, // "temp.vox" written
    NoTake,   // no "temp.wav" or an empty one: no archive made
    Failed    // a file could not be written; *error says which
};

// Packages a finished take: writes the duration record `baseName` + ".tsd"
// (replacing one that is there), then, when "temp.wav" exists and is not
// empty, the archive "temp.vox" holding "temp.wav" and the duration record,
// in that order, each under its bare file name; an earlier "temp.vox" is
// replaced only once the new one is complete.
PackageResult PackageTake(const QString &appFolder, const QString &baseName, int act, int scene,
                          qint64 lengthMs, QString *error);

// Copies "temp.vox" over `voxPath` atomically: a failed copy leaves the
// previous vox file as it was. False, with *error saying why, when there is
// no "temp.vox" to copy or the copy fails.
bool SavePackagedTake(const QString &appFolder, const QString &voxPath, QString *error);

} // namespace tiradex
