#pragma once

#include <QWidget>

class QTextEdit;

namespace tiradex {

class Dialogs;
class Module1;
class PlayWindowHost;

// The note editor of the current reply. Opening loads the reply's note
// file; closing is the only save: a note of nothing but spaces deletes the
// file, any other is written as Rich Text Format (atomically), and the play
// window's note button is set again. A note file that exists but cannot be
// read is reported and left untouched on closing.
class FrmCommentaire : public QWidget
{
    Q_OBJECT

public:
    FrmCommentaire(Module1 &state, Dialogs &dialogs, PlayWindowHost &host,
                   QWidget *parent = nullptr);

    // A quarter of the frame's width and height (not smaller than usable).
    static QSize SizeInFrame(const QSize &frame);
    // Verdana 12 points, or the sans-serif font that stands in for it.
    static QFont NoteFont();

    QTextEdit *RichTextBox1 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();

    Module1 &m_state;
    Dialogs &m_dialogs;
    PlayWindowHost &m_host;
    QString m_notePath;
    bool m_keepFile = false; // the file could not be read: never replace it
};

} // namespace tiradex
