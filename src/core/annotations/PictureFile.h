#pragma once

#include <QImage>
#include <QString>

#include <optional>

namespace tiradex {

// Pictures from photo files are untrusted: a file may declare a size far
// beyond what it holds. Pictures of more than this many pixels are refused
// before any decoding (enough for a 64-megapixel camera).
constexpr qint64 MaxPicturePixels = 64'000'000;

// The picture in the file at `path`, decoded by Qt's image readers (JPEG,
// PNG and every installed format, whatever the file's extension). Fails
// for a missing file, a file that is not a picture, a truncated or damaged
// picture, and a declared size over MaxPicturePixels, without allocating
// for that size.
std::optional<QImage> LoadPicture(const QString &path, QString *error);

} // namespace tiradex
