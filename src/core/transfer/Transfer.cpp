#include "core/transfer/Transfer.h"

#include "core/app/Module1.h"
#include "core/play/SceneStore.h"
#include "core/transfer/TransferTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStorageInfo>
#include <QTemporaryFile>

#include <cstdio>
#include <future>
#include <unistd.h>

namespace tiradex {

namespace {

QString categoryPattern(TransferCategory category)
{
    return QLatin1Char('*') + CategoryExtension(category);
}

void say(const TransferHooks &hooks, const QString &text)
{
    if (hooks.message)
        hooks.message(text);
}

// The closing steps of a command that got past its checks: the busy state
// ends, the message is shown over the space panel, then the panel goes.
void finish(const TransferHooks &hooks, const QString &text)
{
    if (hooks.ended)
        hooks.ended();
    say(hooks, text);
    if (hooks.closed)
        hooks.closed();
}

// The figures of the volume holding `path`; all zero when it cannot be queried.
TransferSpace spaceOf(const VolumeQuery &volume, const QString &path)
{
    TransferSpace space;
    const std::optional<VolumeSpace> found = volume ? volume(path) : std::nullopt;
    if (found) {
        space.total = found->totalBytes;
        space.free = found->freeBytes;
        space.occupied = space.total - space.free;
    }
    return space;
}

bool allEmpty(const TransferRequest &request)
{
    for (const QStringList &list : request.files) {
        if (!list.isEmpty())
            return false;
    }
    return true;
}

bool selected(const QSet<QString> &characters, const QString &fileName)
{
    return characters.contains(Module1::CharacterOf(fileName));
}

// The messages of the four checks before a transfer, in their order.
struct RequestCheckTexts
{
    const QString &noPath;
    const QString &noCharacter;
    const QString &noCategory;
    const QString &noFiles;
};

// Runs the checks in order; the first that fails is said and ends the
// transfer (false).
bool passesChecks(const TransferRequest &request, const RequestCheckTexts &texts,
                  const TransferHooks &hooks)
{
    const QString *failure = nullptr;
    if (request.folder.trimmed().isEmpty())
        failure = &texts.noPath;
    else if (request.characters.isEmpty())
        failure = &texts.noCharacter;
    else if (!request.categories[0] && !request.categories[1] && !request.categories[2])
        failure = &texts.noCategory;
    else if (allEmpty(request))
        failure = &texts.noFiles;
    if (failure)
        say(hooks, *failure);
    return failure == nullptr;
}

qint64 sizeOf(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() ? info.size() : 0;
}

// Hands every file of the chosen categories to `copy` (category, its folder
// in the play, file name), in order, telling the hooks what the user sees: a
// category without files, the start of each category, the progress after
// each file. Stops, false, at the first file `copy` refuses to go on after.
template <class Copy>
bool forEachChosenFile(const Module1 &state, const TransferRequest &request,
                       const TransferHooks &hooks, const std::array<QString, 3> &emptyMessages,
                       Copy copy)
{
    for (TransferCategory category : TransferCategories) {
        const int c = int(category);
        if (!request.categories[c])
            continue;
        const QStringList &files = request.files[c];
        if (files.isEmpty()) {
            say(hooks, emptyMessages[c]);
            continue;
        }
        if (hooks.categoryStarted)
            hooks.categoryStarted(int(files.size()) - 1);
        const QString folder = CategoryFolder(state, category);
        for (qsizetype i = 0; i < files.size(); ++i) {
            if (!copy(category, folder, files.at(i)))
                return false;
            if (hooks.progress)
                hooks.progress(int(i));
        }
    }
    return true;
}

} // namespace

QString CategoryExtension(TransferCategory category)
{
    switch (category) {
    case TransferCategory::Recordings:
        return QStringLiteral(".vox");
    case TransferCategory::Notes:
        return QStringLiteral(".not");
    case TransferCategory::Photos:
        break;
    }
    return QStringLiteral(".jp1");
}

QString CategoryFolder(const Module1 &state, TransferCategory category)
{
    switch (category) {
    case TransferCategory::Recordings:
        return state.VoxFolder();
    case TransferCategory::Notes:
        return state.NotesFolder();
    case TransferCategory::Photos:
        break;
    }
    return state.PhotosFolder();
}

bool IsReplyFileName(const QString &name, TransferCategory category)
{
    static const QRegularExpression form(QStringLiteral("^_[0-9]{4}_[^/\\\\]+$"));
    const QString extension = CategoryExtension(category);
    return name.endsWith(extension) &&
           form.match(name.left(name.size() - extension.size())).hasMatch();
}

QStringList ListPlayFiles(const Module1 &state, TransferCategory category)
{
    return QDir(CategoryFolder(state, category))
        .entryList({categoryPattern(category)}, QDir::Files, QDir::Name);
}

QStringList ListMediumFiles(const QString &folder, TransferCategory category)
{
    QStringList names;
    if (folder.trimmed().isEmpty())
        return names;
    const QStringList all =
        QDir(folder).entryList({categoryPattern(category)}, QDir::Files, QDir::Name);
    for (const QString &name : all) {
        if (IsReplyFileName(name, category))
            names.append(name);
    }
    return names;
}

QString TransferPath(const QString &folder, const QString &name)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

QStringList SpaceTexts(const TransferSpace &space)
{
    return {TransferTexts::TotalSpace.arg(space.total),
            TransferTexts::OccupiedSpace.arg(space.occupied),
            TransferTexts::FreeSpace.arg(space.free),
            TransferTexts::NecessarySpace.arg(space.necessary)};
}

std::optional<VolumeSpace> QueryVolumeSpace(const QString &path)
{
    if (path.trimmed().isEmpty())
        return std::nullopt;
    const QStorageInfo info(path);
    if (!info.isValid() || !info.isReady())
        return std::nullopt;
    return VolumeSpace{info.bytesTotal(), info.bytesAvailable()};
}

bool CopyIntoPlace(const QString &source, const QString &target, const CopyCheck &check,
                   QString *error, bool *refused)
{
    if (refused)
        *refused = false;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot read the file %1: %2").arg(source, in.errorString());
        return false;
    }
    // The temporary file sits beside the target so that the rename stays on
    // one volume; it is removed whatever fails before the rename.
    QTemporaryFile out(target + QStringLiteral(".XXXXXX.part"));
    if (!out.open()) {
        if (error)
            *error = QStringLiteral("Cannot write the file %1: %2").arg(target, out.errorString());
        return false;
    }
    static constexpr qint64 BlockSize = 256 * 1024;
    QByteArray buffer(BlockSize, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(buffer.data(), BlockSize);
        if (n < 0) {
            if (error)
                *error =
                    QStringLiteral("Cannot read the file %1: %2").arg(source, in.errorString());
            return false;
        }
        if (n == 0)
            break;
        if (out.write(buffer.constData(), n) != n) {
            if (error)
                *error =
                    QStringLiteral("Cannot write the file %1: %2").arg(target, out.errorString());
            return false;
        }
    }
    if (!out.flush()) {
        if (error)
            *error = QStringLiteral("Cannot write the file %1: %2").arg(target, out.errorString());
        return false;
    }
    // The data reach the disk before the name does: a stick pulled out after
    // the rename holds the whole file. The check reads the copy meanwhile, so
    // waiting for the disk and inflating a take overlap.
    const QString copy = out.fileName();
    std::future<int> synced =
        std::async(std::launch::async, [fd = out.handle()] { return ::fsync(fd); });
    const bool accepted = !check || check(copy, error);
    if (synced.get() != 0) {
        if (error)
            *error = QStringLiteral("Cannot write the file %1").arg(target);
        return false;
    }
    if (!accepted) {
        // The user knows the file by its name on the medium, not by ours.
        if (error)
            error->replace(copy, source);
        if (refused)
            *refused = true;
        return false;
    }
    if (std::rename(QFile::encodeName(copy).constData(), QFile::encodeName(target).constData()) !=
        0) {
        if (error)
            *error = QStringLiteral("Cannot write the file %1").arg(target);
        return false;
    }
    out.setAutoRemove(false);
    return true;
}

TransferOutcome ExportFiles(const Module1 &state, const TransferRequest &request,
                            const VolumeQuery &volume, const TransferHooks &hooks)
{
    TransferOutcome outcome;
    if (!passesChecks(request,
                      {TransferTexts::ExportNoPath, TransferTexts::ExportNoCharacter,
                       TransferTexts::ExportNoCategory, TransferTexts::ExportNoFiles},
                      hooks))
        return outcome;

    const QSet<QString> characters(request.characters.cbegin(), request.characters.cend());
    TransferSpace space = spaceOf(volume, request.folder);
    for (TransferCategory category : TransferCategories) {
        const int c = int(category);
        if (!request.categories[c])
            continue;
        const QString folder = CategoryFolder(state, category);
        for (const QString &name : request.files[c]) {
            if (selected(characters, name))
                space.necessary += sizeOf(TransferPath(folder, name));
        }
    }
    if (hooks.space)
        hooks.space(space);
    if (space.necessary >= space.free) {
        finish(hooks, TransferTexts::ExportNoSpace);
        return outcome;
    }

    if (hooks.started)
        hooks.started(TransferTexts::ExportInProgress);
    static const std::array<QString, 3> emptyMessages = {TransferTexts::ExportNoRecordings,
                                                         TransferTexts::ExportNoNotes,
                                                         TransferTexts::ExportNoPhotos};
    const bool copied = forEachChosenFile(
        state, request, hooks, emptyMessages,
        [&](TransferCategory category, const QString &folder, const QString &name) {
            if (!selected(characters, name))
                return true;
            QString error;
            if (!CopyIntoPlace(TransferPath(folder, name), TransferPath(request.folder, name), {},
                               &error)) {
                finish(hooks, category == TransferCategory::Recordings
                                  ? TransferTexts::ExportRecordingPathError
                                  : TransferTexts::ExportPathError);
                return false;
            }
            ++outcome.copied;
            return true;
        });
    if (!copied) {
        outcome.stage = TransferOutcome::Stage::Failed;
        return outcome;
    }
    finish(hooks, outcome.copied > 0 ? TransferTexts::ExportEnded : TransferTexts::ExportNothing);
    outcome.stage = TransferOutcome::Stage::Finished;
    return outcome;
}

TransferOutcome ImportFiles(const Module1 &state, const TransferRequest &request,
                            const VolumeQuery &volume, const VoxCheck &checkVox,
                            const TransferHooks &hooks)
{
    TransferOutcome outcome;
    if (!passesChecks(request,
                      {TransferTexts::ImportNoPath, TransferTexts::ImportNoCharacter,
                       TransferTexts::ImportNoCategory, TransferTexts::ImportNoFiles},
                      hooks))
        return outcome;

    const QSet<QString> characters(request.characters.cbegin(), request.characters.cend());
    TransferSpace space = spaceOf(volume, state.AppFolder);
    for (TransferCategory category : TransferCategories) {
        const int c = int(category);
        if (!request.categories[c])
            continue;
        const QString folder = CategoryFolder(state, category);
        for (const QString &name : request.files[c]) {
            if (!selected(characters, name))
                continue;
            const QString own = TransferPath(folder, name);
            const qint64 incoming = sizeOf(TransferPath(request.folder, name));
            if (!QFileInfo::exists(own))
                space.necessary += incoming;
            else if (request.replace)
                space.necessary += incoming - sizeOf(own);
        }
    }
    if (hooks.space)
        hooks.space(space);
    if (space.necessary >= space.free) {
        finish(hooks, TransferTexts::ImportNoSpace);
        return outcome;
    }

    if (hooks.started)
        hooks.started(TransferTexts::ImportInProgress);
    static const std::array<QString, 3> emptyMessages = {TransferTexts::ImportNoRecordings,
                                                         TransferTexts::ImportNoNotes,
                                                         TransferTexts::ImportNoPhotos};
    const bool copied = forEachChosenFile(
        state, request, hooks, emptyMessages,
        [&](TransferCategory category, const QString &folder, const QString &name) {
            QDir().mkpath(folder);
            const QString own = TransferPath(folder, name);
            // Only names of the reply-file form: a name from elsewhere could
            // hold a separator or belong to no reply.
            if (!selected(characters, name) || !IsReplyFileName(name, category) ||
                (!request.replace && QFileInfo::exists(own)))
                return true;
            CopyCheck check;
            if (category == TransferCategory::Recordings && checkVox) {
                check = [&checkVox, base = Module1::BaseNameOf(name)](const QString &path,
                                                                      QString *why) {
                    return checkVox(path, base, why);
                };
            }
            QString error;
            bool refused = false;
            if (CopyIntoPlace(TransferPath(request.folder, name), own, check, &error, &refused)) {
                ++outcome.copied;
            } else if (refused) {
                ++outcome.refused;
                say(hooks, TransferTexts::ImportNotARecording.arg(
                               TransferPath(request.folder, name), error));
            } else {
                finish(hooks, TransferTexts::ImportPathError);
                return false;
            }
            return true;
        });
    if (!copied) {
        outcome.stage = TransferOutcome::Stage::Failed;
        return outcome;
    }
    finish(hooks, outcome.copied > 0 ? TransferTexts::ImportEnded : TransferTexts::ImportNothing);
    outcome.stage = TransferOutcome::Stage::Finished;
    return outcome;
}

QStringList MissingRecordings(const Module1 &state, const QStringList &characters,
                              const QString &voxFolder)
{
    QStringList items;
    const std::optional<QList<SceneHeader>> scenes = ReadHeadIni(state);
    if (!scenes)
        return items;
    const QSet<QString> wanted(characters.cbegin(), characters.cend());
    for (const SceneHeader &scene : *scenes) {
        const QStringList replies = ListReplyFiles(state.SceneFolder(scene.act, scene.scene));
        for (const QString &reply : replies) {
            if (!selected(wanted, reply))
                continue;
            const QString base = Module1::BaseNameOf(reply);
            if (!QFileInfo::exists(TransferPath(voxFolder, base + QStringLiteral(".vox"))))
                items.append(
                    TransferTexts::MissingItem.arg(scene.act).arg(scene.scene).arg(base.mid(1)));
        }
    }
    return items;
}

} // namespace tiradex
