#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

namespace tiradex {

class Module1;

// Export of the recordings, notes and photos of chosen characters of the open
// play to a transfer folder, and their import from one. The operations run
// the whole command (checks, space check, copies, closing message) and tell
// their caller what a window shows through TransferHooks, so the windows and
// tiradex-tool run the same steps.

enum class TransferCategory
{
    Recordings = 0, // ".vox" in PlayFolder/vox
    Notes = 1,      // ".not" in PlayFolder/notes
    Photos = 2      // ".jp1" in PlayFolder/photos
};
inline constexpr std::array<TransferCategory, 3> TransferCategories = {
    TransferCategory::Recordings, TransferCategory::Notes, TransferCategory::Photos};

// ".vox", ".not" or ".jp1".
QString CategoryExtension(TransferCategory category);
// The category's folder in the open play.
QString CategoryFolder(const Module1 &state, TransferCategory category);

// True when `name` has the form of a reply file of the category: "_", four
// digits, "_", a character name (not empty, no path separator), then the
// category's extension, e.g. "_0057_HUBERT.vox".
bool IsReplyFileName(const QString &name, TransferCategory category);

// The files of the category in the play ("*.vox", ...), sorted by name.
QStringList ListPlayFiles(const Module1 &state, TransferCategory category);
// The files of the category in a transfer folder that have the reply-file
// form, sorted by name; other names are passed over. Empty when the folder
// is missing or `folder` is blank.
QStringList ListMediumFiles(const QString &folder, TransferCategory category);

// `folder` joined with `name` as a path, whether or not the folder ends
// with a separator ("/" or "\").
QString TransferPath(const QString &folder, const QString &name);

// Total and free bytes of a volume; `VolumeQuery` answers for the volume
// holding a path, std::nullopt when it cannot be queried.
struct VolumeSpace
{
    qint64 totalBytes = 0;
    qint64 freeBytes = 0;
};
using VolumeQuery = std::function<std::optional<VolumeSpace>(const QString &path)>;

// The four figures of the space panel.
struct TransferSpace
{
    qint64 total = 0;
    qint64 occupied = 0;
    qint64 free = 0;
    qint64 necessary = 0; // may be negative on an import of smaller replacements
};
// "Total space : N bytes", "Occupied space : ...", "Free space before
// transfer : ...", "Necessary space : ...", in that order.
QStringList SpaceTexts(const TransferSpace &space);

// What the user chose.
struct TransferRequest
{
    QString folder;                   // the transfer folder as typed or chosen
    QStringList characters;           // the selected characters
    std::array<bool, 3> categories{}; // checked boxes, by TransferCategory
    std::array<QStringList, 3> files; // the category lists, by TransferCategory
    bool replace = false;             // import: replace files of the play
};

// How a command shows itself. Every hook may be empty.
struct TransferHooks
{
    std::function<void(const QString &text)> message; // a message box, in order
    std::function<void(const TransferSpace &)> space; // the space labels are set
    std::function<void(const QString &text)> started; // panel shown with this progress text
    std::function<void(int maximum)> categoryStarted; // progress bar 0..maximum shown
    std::function<void(int value)> progress;          // after each listed file
    std::function<void()> ended;  // the work is over: bar and progress text hidden, pointer back
    std::function<void()> closed; // after the closing message: the panel is hidden
};

struct TransferOutcome
{
    enum class Stage
    {
        Refused, // a check failed: nothing copied
        Failed,  // a copy failed: the files before it stay copied
        Finished // every category done
    };
    Stage stage = Stage::Refused;
    int copied = 0;  // files copied
    int refused = 0; // recordings refused as not being packaged takes
};

// Checks a file about to take its place; false with *error saying why.
using CopyCheck = std::function<bool(const QString &path, QString *error)>;
// Checks that a file is the packaged take of the reply `baseName`.
using VoxCheck = std::function<bool(const QString &path, const QString &baseName, QString *error)>;

// Copies `source` to `target` through a temporary file in the target's
// folder, renamed over `target` only once complete (and, when `check` is
// given, once `check` accepts the copy): a failed copy leaves no partial file
// and `target` as it was. False with *error on failure; *refused is set when
// `check` refused the copy.
bool CopyIntoPlace(const QString &source, const QString &target, const CopyCheck &check,
                   QString *error, bool *refused = nullptr);

// The export command: the request's files of the selected characters are
// copied from the play's category folders into request.folder. The space of
// request.folder's volume is queried with `volume`.
TransferOutcome ExportFiles(const Module1 &state, const TransferRequest &request,
                            const VolumeQuery &volume, const TransferHooks &hooks);

// The import command: the request's files of the selected characters are
// copied from request.folder into the play's category folders, a file of the
// play being replaced only with request.replace. Space is that of the volume
// holding AppFolder. Each recording is checked with `checkVox` before it
// takes its place; a refused one is named in a message and passed over.
TransferOutcome ImportFiles(const Module1 &state, const TransferRequest &request,
                            const VolumeQuery &volume, const VoxCheck &checkVox,
                            const TransferHooks &hooks);

// The replies of the selected characters, in the order of head.ini and of
// each scene's reply files, that have no "_NNNN_CHARACTER.vox" in
// `voxFolder`: items "Act 1 Scene 2 0057_HUBERT".
QStringList MissingRecordings(const Module1 &state, const QStringList &characters,
                              const QString &voxFolder);

// The volume holding `path`, read from the file system (QStorageInfo);
// std::nullopt when the path is blank or its volume cannot be queried.
std::optional<VolumeSpace> QueryVolumeSpace(const QString &path);

} // namespace tiradex
