#include "core/annotations/PictureFile.h"

#include <QImageReader>

namespace tiradex {

std::optional<QImage> LoadPicture(const QString &path, QString *error)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    // Applies to every reader, also those that do not tell their size first.
    reader.setAllocationLimit(int(MaxPicturePixels * 4 / (1024 * 1024)) + 1);
    const QSize declared = reader.size();
    if (declared.isValid() && qint64(declared.width()) * declared.height() > MaxPicturePixels) {
        if (error)
            *error = QStringLiteral("The picture %1 is too large (%2 x %3 pixels).")
                         .arg(path, QString::number(declared.width()),
                              QString::number(declared.height()));
        return std::nullopt;
    }
    QImage image = reader.read();
    if (image.isNull()) {
        if (error)
            *error =
                QStringLiteral("Cannot read the picture %1: %2").arg(path, reader.errorString());
        return std::nullopt;
    }
    return image;
}

} // namespace tiradex
