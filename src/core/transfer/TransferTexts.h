#pragma once

#include <QString>

namespace tiradex {

// The texts of the export and import windows and of the transfer commands
// of tiradex-tool, each exactly as the user sees it.
namespace TransferTexts {

// --- Export ---------------------------------------------------------------
inline const QString ExportTitle = QStringLiteral("Export");
inline const QString ExportPathFrame = QStringLiteral("Chemin d'accès au support de transfert");
inline const QString ExportOptionsFrame = QStringLiteral("Options d'export");
inline const QString ExportVox = QStringLiteral("Exporter les fichiers Vox");
inline const QString ExportNotes = QStringLiteral("Exporter les notes");
inline const QString ExportPhotos = QStringLiteral("Exporter les photos");
inline const QString ExportButton = QStringLiteral("Export");
inline const QString ExportMissingButton = QStringLiteral("Verify the missing Vox files");
inline const QString ExportFolderTitle = QStringLiteral("Select a directory :");

inline const QString ExportNoPath = QStringLiteral("Select the path for export.");
inline const QString ExportNoCharacter = QStringLiteral("Select at least one character.");
inline const QString ExportNoCategory =
    QStringLiteral("You must notch at least one category of files for the transfer. ");
inline const QString ExportNoFiles = QStringLiteral("No file to transfer.");
inline const QString ExportNoSpace =
    QStringLiteral("The transfer medium is not accessible or does not have a capacity "
                   "sufficient for the copy of all the files.");
inline const QString ExportInProgress = QStringLiteral("Transfer in progress. Wait please ...");
inline const QString ExportNoRecordings = QStringLiteral("No file to transfer. ");
inline const QString ExportNoNotes = QStringLiteral("No file of notes to be transferred.");
inline const QString ExportNoPhotos = QStringLiteral("No file to transfer. ");
inline const QString ExportRecordingPathError = QStringLiteral("Path error ! ");
inline const QString ExportPathError = QStringLiteral("Path error !");
inline const QString ExportEnded = QStringLiteral("Transfer ended !");
inline const QString ExportNothing = QStringLiteral("No file to be transferred. ");
inline const QString ExportMissingNoCharacter =
    QStringLiteral("Select at least a character for the research of the missing files. ");

// --- Zip archives ---------------------------------------------------------
inline QString ZipNotAZipFile(const QString &path)
{
    return QStringLiteral("The file %1 is not a Zip file").arg(path);
}
inline const QString ZipNoneOpen = QStringLiteral("There is no Zip File Open");
inline const QString ZipExtractionComplete = QStringLiteral("Extraction Complete");

// --- Import ---------------------------------------------------------------
inline const QString ImportTitle = QStringLiteral("Importer");
inline const QString ImportPathFrame = QStringLiteral("Chemin d'accès au périphérique");
inline const QString ImportOptionsFrame = QStringLiteral("Options d'import");
inline const QString ImportVox = QStringLiteral("Importer les fichiers Vox");
inline const QString ImportNotes = QStringLiteral("Importer les notes");
inline const QString ImportPhotos = QStringLiteral("Importer les photos");
inline const QString ImportReplace = QStringLiteral("Remplacer les fichiers existants");
inline const QString ImportButton = QStringLiteral("Importer");
inline const QString ImportMissingButton = QStringLiteral("Vérifier les fichiers Vox manquants");
inline const QString ImportFolderTitle = QStringLiteral("Sélectionnez un dossier :");

inline const QString ImportNoPath = QStringLiteral("Select the transfer medium. ");
inline const QString ImportNoCharacter =
    QStringLiteral("Select at least one character for the importation. ");
inline const QString ImportNoCategory =
    QStringLiteral("You must notch at least one category of files for the importation.");
inline const QString ImportNoFiles = QStringLiteral("No file to be imported. ");
inline const QString ImportNoSpace =
    QStringLiteral("The peripheral is not accessible or the hard disk does not have a capacity "
                   "sufficient for the copy of all the files. ");
inline const QString ImportInProgress = QStringLiteral("Transfer in process. Wait please ...");
inline const QString ImportNoRecordings = QStringLiteral("No file to import.");
inline const QString ImportNoNotes = QStringLiteral("No file of notes to be imported. ");
inline const QString ImportNoPhotos = QStringLiteral("No photo file to import. ");
inline const QString ImportPathError = QStringLiteral("Path error !");
inline const QString ImportEnded = QStringLiteral("Finished importation !");
inline const QString ImportNothing = QStringLiteral("No file to be imported. ");
inline const QString ImportMissingNoMedium =
    QStringLiteral("Select the peripheral containing the Vox files. ");
inline const QString ImportMissingNoCharacter =
    QStringLiteral("Select at least one character for the research of the missing files. ");
// A recording on the medium that is not a packaged take (%1: its path, %2: why).
inline const QString ImportNotARecording =
    QStringLiteral("The file %1 is not a recording (%2); it was not imported.");

// --- Both windows -----------------------------------------------------------
inline const QString SelectAll = QStringLiteral("Select all");
inline const QString Reset = QStringLiteral("Reset");
inline const QString TotalSpace = QStringLiteral("Total space : %1 bytes");
inline const QString OccupiedSpace = QStringLiteral("Occupied space : %1 bytes");
inline const QString FreeSpace = QStringLiteral("Free space before transfer : %1 bytes");
inline const QString NecessarySpace = QStringLiteral("Necessary space : %1 bytes");
// An item of the missing-recordings lists: act, scene, reply number "_" character.
inline const QString MissingItem = QStringLiteral("Act %1 Scene %2 %3");

} // namespace TransferTexts

} // namespace tiradex
