#include "gui/app/WebWindowLoader.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace tiradex {

namespace {
using CreateWebWindow = QWidget *(*)(const QString &, const QString &, QWidget *);
} // namespace

WebWindowLoader::WebWindowLoader(const QString &applicationDir) : m_applicationDir(applicationDir)
{
}

QString WebWindowLoader::modulePath() const
{
    const QDir dir(m_applicationDir);
    const QStringList candidates = {
        dir.absoluteFilePath(QStringLiteral(TIRADEX_WEB_MODULE_FROM_BIN)),
        dir.absoluteFilePath(QStringLiteral("../lib/tiradex/tiradex-web.so"))};
    for (const QString &candidate : candidates) {
        if (QFileInfo::exists(candidate))
            return QDir::cleanPath(candidate);
    }
    return QString();
}

QWidget *WebWindowLoader::create(const QString &startAddress, const QString &searchAddress,
                                 QWidget *parent, QString *error) const
{
    const QString path = modulePath();
    if (path.isEmpty()) {
        if (error)
            *error = QStringLiteral("The web module tiradex-web.so is not installed.");
        return nullptr;
    }
    // The library stays loaded for the rest of the run: its windows and
    // WebEngine itself live in it.
    QLibrary module(path);
    auto create = reinterpret_cast<CreateWebWindow>(module.resolve("tiradexCreateWebWindow"));
    if (!create) {
        if (error)
            *error = QStringLiteral("Cannot load the web module: %1").arg(module.errorString());
        return nullptr;
    }
    return create(startAddress, searchAddress, parent);
}

} // namespace tiradex
