#pragma once

#include "core/app/PlayCatalogue.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace tiradex {

// The state that every window of the program shares, and the one naming rule
// for the files of a play. One object is owned by the application and handed
// to the windows that need it; tests build their own.
//
// Folder paths use "/" as separator. `AppFolder` always ends with it;
// `PlayFolder` never does.
class Module1
{
public:
    static constexpr const char *CipherKey = "VORTELANVORTELANVORTELANVORTELAN";
    static constexpr int MaxReplies = 9999;
    static constexpr int MaxActs = 99;
    static constexpr int MaxScenesPerAct = 99;

    QString AppFolder;    // the application folder, ending with "/"
    QString AppPathRaw;   // the application folder as reported, unchanged
    QString PlayCode;     // "merchantvenice", "kingjohn" or "verone"
    QString PlayTextFile; // PlayCode + ".txt", in AppFolder
    QString PlayFolder;   // AppFolder + PlayCode, no trailing separator
    bool KeepLineBreaks = false;
    bool PlaybackActive = false;
    bool RecordingActive = false;
    bool RecorderOpen = false;
    QString FilterCharacter; // the character the actor plays; "" for no filter
    std::array<unsigned char, 32> KeyChars{};
    QString CipherFileName; // argument of the next cipher call, relative to AppFolder
    int CipherMode = 0;     // 1 encipher, 2 decipher

    // Fixes AppFolder (a "/" appended when missing), AppPathRaw (as given) and
    // KeyChars (the character codes of CipherKey).
    void StartUp(const QString &reportedAppFolder);

    // Sets PlayCode, PlayTextFile, PlayFolder and KeepLineBreaks (true) for
    // the catalogue entry. The play window is shown by the caller afterwards.
    void SelectPlay(const PlayCatalogueEntry &entry);

    // Run when the play window closes: clears the filter and the recording
    // flag and deletes "temp.wav", "temp.vox" and every "*.tsd" of AppFolder.
    // Missing files are not an error.
    void ResetOnPlayClose();

    // Why the play window or the program may not close now: a playback or a
    // recording runs (the playback named first). Nothing when it may close.
    std::optional<QString> CloseRefusal() const;

    // Deletes the scratch files "temp.wav", "temp.vox" and "*.tsd" of AppFolder.
    void DeleteScratchFiles() const;

    // The characters file of the open play: PlayTextFile with its last four
    // characters replaced by ".dat" (a name relative to AppFolder).
    QString CharactersFileName() const;

    // --- The naming rule of a play's files -------------------------------

    // Decimal digits of n, left-padded with "0" to `width`; longer numbers
    // are written as they are.
    static QString PadNumber(int n, int width);
    // PlayFolder + "/ACT " + 2-digit act.
    QString ActFolder(int act) const;
    // ActFolder(act) + "/SCENE " + 2-digit scene.
    QString SceneFolder(int act, int scene) const;
    // "_" + 4-digit number + "_" + character, e.g. "_0057_HUBERT".
    static QString ReplyBaseName(int number, const QString &character);
    QString ReplyTextPath(int act, int scene, const QString &baseName) const;
    QString VoxPath(const QString &baseName) const;
    QString NotePath(const QString &baseName) const;
    QString PhotoPath(const QString &baseName) const;
    // The files and folders of the scene store directly under PlayFolder:
    // "head.ini", "treeview.ini", and the "vox", "notes", "photos" folders.
    QString HeadIniPath() const;
    QString TreeviewIniPath() const;
    QString VoxFolder() const;
    QString NotesFolder() const;
    QString PhotosFolder() const;
    // Characters 2 to 5 of a reply file or base name: its 4-digit number.
    static QString ReplyNumberOf(const QString &fileName);
    // The name from character 7 on, less its last four characters (the
    // extension). Give a file name with its extension.
    static QString CharacterOf(const QString &fileName);
    // A base name from a reply file name: the name less its last four characters.
    static QString BaseNameOf(const QString &fileName);
    // The act number of a tree node text "ACT n" (value from character 5 on),
    // and the scene number of "SCENE m" (from character 7 on); 0 when the
    // text holds no number there.
    static int ActNumberOfNodeText(const QString &text);
    static int SceneNumberOfNodeText(const QString &text);
    // The leading decimal value of `text` as Val() reads it: blanks skipped,
    // digits taken until the first other character; 0 when there are none.
    static int LeadingNumber(const QString &text);
};

} // namespace tiradex
