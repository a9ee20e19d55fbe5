#pragma once

#include <QString>

class QWidget;

namespace tiradex {

// Opens the web window from the web module, which is loaded on the first
// call only: the rest of the program never loads Qt WebEngine.
class WebWindowLoader
{
public:
    // Looks for the module beside a program started from `applicationDir`:
    // in the installed library folder, or in the build tree's "lib/tiradex".
    explicit WebWindowLoader(const QString &applicationDir);

    // A new web window showing `startAddress` (its Home), owned by `parent`.
    // Returns null with *error set when the module cannot be loaded.
    QWidget *create(const QString &startAddress, const QString &searchAddress, QWidget *parent,
                    QString *error) const;

    // The module's file when found, else "".
    QString modulePath() const;

private:
    QString m_applicationDir;
};

} // namespace tiradex
