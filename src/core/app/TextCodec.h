#pragma once

#include <QByteArray>
#include <QString>

namespace tiradex {

// Text files of the program are written as UTF-8. Files from older
// installations were written in Windows-1252, so reading takes every valid
// UTF-8 sequence as UTF-8 and every other byte as a Windows-1252 character.
// A leading UTF-8 byte order mark is dropped.
QString DecodeText(const QByteArray &bytes);

// UTF-8 bytes of `text`.
QByteArray EncodeText(const QString &text);

// The Windows-1252 character of one byte (bytes that code page leaves
// undefined map to the C1 control of the same value, as Windows does).
QChar Windows1252Char(unsigned char byte);

// Windows-1252 bytes of `text`; characters the code page lacks become "?".
QByteArray EncodeWindows1252(const QString &text);

} // namespace tiradex
