#pragma once

#include <QString>

class QHBoxLayout;
class QPushButton;
class QTextEdit;
class QWidget;

namespace tiradex {

class Clipboard;
class Dialogs;

// The pieces the report and text windows share: the text box, the button
// bar along the bottom, and the copy to the clipboard.

// The text box `RichTextBox1` of `window`.
QTextEdit *MakeRichTextBox(QWidget *window);

// The bar `Picture1` along the bottom of `window` with the frame `Frame1`
// centred in it; buttons go into the returned layout of the frame.
QHBoxLayout *MakeButtonBar(QWidget *window, QWidget **bar);

// A button named `name` with `caption`.
QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption);

// The copy command: when the box's text, trimmed of blanks, is empty shows
// `emptyMessage`; otherwise replaces the clipboard's content with the box's
// text (RTF, HTML and plain text) and says so.
void CopyToClipboard(QWidget *window, Dialogs &dialogs, Clipboard *clipboard, const QTextEdit &box,
                     const QString &emptyMessage);

// Shows a text with CR LF line ends in the box, one paragraph per line.
void ShowPlainText(QTextEdit &box, const QString &text);

} // namespace tiradex
