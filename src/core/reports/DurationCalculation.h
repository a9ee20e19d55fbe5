#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace tiradex {

class Module1;

// Places the duration record of the vox file `voxPath` into the folder
// `folder` under its member name, and nothing else of the archive (the
// take is never unpacked). A vox file that cannot be read places nothing.
using DurationRecordExtractor = std::function<void(const QString &voxPath, const QString &folder)>;

// The extractor the program uses: it reads the record "BASE.tsd" of the vox
// file "BASE.vox" without inflating the take and writes it as "BASE.tsd".
DurationRecordExtractor DefaultDurationRecordExtractor();

// Told the step's progress: `value` of 0..`maximum`.
using DurationProgress = std::function<void(int value, int maximum)>;

// Estimated play length from a pace in seconds per byte of reply text.
struct DurationEstimate
{
    int records = 0;              // duration records found
    qint64 totalSeconds = 0;      // their seconds added up
    qint64 allTextBytes = 0;      // sizes of every reply file of the play
    qint64 recordedTextBytes = 0; // sizes of the reply files that have a vox file
    // Seconds per byte in ten-thousandths: totalSeconds / recordedTextBytes
    // rounded to four decimals, a half to the even neighbour. Empty when
    // recordedTextBytes is 0.
    std::optional<qint64> pace;
    qint64 estimatedSeconds = 0; // the whole part of pace * allTextBytes
    qint64 minutes = 0;          // estimatedSeconds / 60, a half to the even neighbour
};

// The estimate from the sums.
DurationEstimate EstimateDuration(int records, qint64 totalSeconds, qint64 allTextBytes,
                                  qint64 recordedTextBytes);

// n / d rounded to the nearest integer, a half to the even neighbour
// (n >= 0, d > 0).
qint64 RoundHalfEven(qint64 n, qint64 d);

// The line of one duration record "_0057_HUBERT.tsd" of text "1,2,12":
// "Act 1 Scene 2 n° 0057 - HUBERT - Duration : 12 s." (no line end).
// *seconds receives the record's seconds.
QString DurationLine(const QString &recordFileName, const QByteArray &record, int *seconds);

// The vox files of the play ("*.vox" of its "vox" folder) by name.
QStringList ListVoxFiles(const Module1 &state);

// PlayFolder + "/temp", the calculation's working folder.
QString DurationWorkingFolder(const Module1 &state);

// The duration calculation over `voxFiles` (names in the "vox" folder):
// the working folder is created and emptied, every vox file gives its
// duration record into it, the records are listed by name (hence by reply
// number) and the reply text sizes of "treeview.ini"'s scenes are added
// up. Returns the result text, lines ended by CR LF. std::nullopt (with
// *error the "No registered Vox file." message) when `voxFiles` is empty.
// `progress` follows the extraction, then the reading of the records.
std::optional<QString> CalculateDurations(const Module1 &state, const QStringList &voxFiles,
                                          const DurationRecordExtractor &extract,
                                          const DurationProgress &progress, QString *error);

// The result text of the lines of step "Duration of the replies." and the
// estimate.
QString DurationReport(const QStringList &lines, const DurationEstimate &estimate);

} // namespace tiradex
