#include "core/app/Module1.h"

#include "core/audio/AudioTexts.h"

#include <QDir>
#include <QFile>

namespace tiradex {

namespace {
const QChar Separator = QLatin1Char('/');
}

void Module1::StartUp(const QString &reportedAppFolder)
{
    AppPathRaw = reportedAppFolder;
    AppFolder = reportedAppFolder;
    if (!AppFolder.endsWith(Separator))
        AppFolder += Separator;
    const char *key = CipherKey;
    for (int i = 0; i < 32; ++i)
        KeyChars[i] = static_cast<unsigned char>(key[i]);
    CipherFileName.clear();
    CipherMode = 0;
}

void Module1::SelectPlay(const PlayCatalogueEntry &entry)
{
    PlayCode = entry.playCode;
    PlayTextFile = entry.playTextFile;
    PlayFolder = AppFolder + PlayCode;
    KeepLineBreaks = true;
}

void Module1::ResetOnPlayClose()
{
    FilterCharacter.clear();
    RecordingActive = false;
    DeleteScratchFiles();
}

std::optional<QString> Module1::CloseRefusal() const
{
    if (PlaybackActive)
        return AudioTexts::StopReadingFirst();
    if (RecordingActive)
        return AudioTexts::StopRecordingFirst();
    return std::nullopt;
}

void Module1::DeleteScratchFiles() const
{
    if (AppFolder.isEmpty())
        return;
    QFile::remove(AppFolder + QStringLiteral("temp.wav"));
    QFile::remove(AppFolder + QStringLiteral("temp.vox"));
    const QDir folder(AppFolder);
    const QStringList durationRecords =
        folder.entryList({QStringLiteral("*.tsd")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : durationRecords)
        QFile::remove(folder.filePath(name));
}

QString Module1::CharactersFileName() const
{
    return PlayTextFile.left(qMax(0, PlayTextFile.size() - 4)) + QStringLiteral(".dat");
}

QString Module1::PadNumber(int n, int width)
{
    const QString digits = QString::number(n);
    if (digits.size() >= width)
        return digits;
    return QString(width - digits.size(), QLatin1Char('0')) + digits;
}

QString Module1::ActFolder(int act) const
{
    return PlayFolder + QStringLiteral("/ACT ") + PadNumber(act, 2);
}

QString Module1::SceneFolder(int act, int scene) const
{
    return ActFolder(act) + QStringLiteral("/SCENE ") + PadNumber(scene, 2);
}

QString Module1::ReplyBaseName(int number, const QString &character)
{
    return QLatin1Char('_') + PadNumber(number, 4) + QLatin1Char('_') + character;
}

QString Module1::ReplyTextPath(int act, int scene, const QString &baseName) const
{
    return SceneFolder(act, scene) + Separator + baseName + QStringLiteral(".txt");
}

QString Module1::VoxPath(const QString &baseName) const
{
    return PlayFolder + QStringLiteral("/vox/") + baseName + QStringLiteral(".vox");
}

QString Module1::NotePath(const QString &baseName) const
{
    return PlayFolder + QStringLiteral("/notes/") + baseName + QStringLiteral(".not");
}

QString Module1::PhotoPath(const QString &baseName) const
{
    return PlayFolder + QStringLiteral("/photos/") + baseName + QStringLiteral(".jp1");
}

QString Module1::HeadIniPath() const
{
    return PlayFolder + QStringLiteral("/head.ini");
}

QString Module1::TreeviewIniPath() const
{
    return PlayFolder + QStringLiteral("/treeview.ini");
}

QString Module1::VoxFolder() const
{
    return PlayFolder + QStringLiteral("/vox");
}

QString Module1::NotesFolder() const
{
    return PlayFolder + QStringLiteral("/notes");
}

QString Module1::PhotosFolder() const
{
    return PlayFolder + QStringLiteral("/photos");
}

QString Module1::ReplyNumberOf(const QString &fileName)
{
    return fileName.mid(1, 4);
}

QString Module1::CharacterOf(const QString &fileName)
{
    const QString rest = fileName.mid(6);
    return rest.left(qMax(0, rest.size() - 4));
}

QString Module1::BaseNameOf(const QString &fileName)
{
    return fileName.left(qMax(0, fileName.size() - 4));
}

int Module1::LeadingNumber(const QString &text)
{
    int i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    qint64 value = 0;
    bool any = false;
    while (i < text.size() && text.at(i).isDigit() && text.at(i).unicode() < 128) {
        value = value * 10 + (text.at(i).unicode() - '0');
        if (value > 32767)
            return 0; // beyond the 16-bit numbers that acts and scenes use
        any = true;
        ++i;
    }
    return any ? static_cast<int>(value) : 0;
}

int Module1::ActNumberOfNodeText(const QString &text)
{
    return LeadingNumber(text.mid(4));
}

int Module1::SceneNumberOfNodeText(const QString &text)
{
    return LeadingNumber(text.mid(6));
}

} // namespace tiradex
