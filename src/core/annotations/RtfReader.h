#pragma once

#include "core/annotations/RichText.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace tiradex {

// Reads a Rich Text Format document as word processors write it (WordPad
// with \ansicpgN and \'hh escapes, LibreOffice, pandoc, older notes):
// text, paragraphs (\par, \line), tabs, \uN escapes with their fallback
// skipped (\ucN), typographic symbols, bold, italic, underline and colours
// from the colour table. Destinations that hold no text of the body (font,
// colour and style tables, information, pictures, objects, headers,
// footers, field instructions, every {\*\...} group) and \binN data are
// skipped. One \par closing the last paragraph adds no empty paragraph.
//
// The input is untrusted: work and memory are linear in its size, groups
// nested deeper than 512 levels are skipped, numbers are clamped, an
// unterminated document keeps what was read. Fails (std::nullopt and
// `error` set) only when the bytes do not begin with "{\rtf".
std::optional<RichText> ReadRtf(const QByteArray &bytes, QString *error);

} // namespace tiradex
