#pragma once

#include <QString>
#include <QStringList>

namespace tiradex {

// The files that ship with the program and live in the application folder:
// the three plays' texts and characters files, the deletion sound and the
// help page.
QStringList ShippedFileNames();

// The folder holding the shipped files for a program started from
// `applicationDir`: "../share/tiradex" when installed, "../data" in a build
// tree. Returns "" when neither holds the files.
QString FindShippedDataFolder(const QString &applicationDir);

// Copies every shipped file that `appFolder` lacks from `dataFolder`; a file
// that exists in `appFolder` is never overwritten, and a file missing from
// `dataFolder` is skipped. The help page's pictures ("help/*.png") are copied
// the same way into a "help" folder. Creates `appFolder` when needed. Returns false with
// *error naming the first failure; files copied before it stay.
bool InstallShippedFiles(const QString &dataFolder, const QString &appFolder, QString *error);

} // namespace tiradex
