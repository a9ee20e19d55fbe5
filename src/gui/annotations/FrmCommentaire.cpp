#include "gui/annotations/FrmCommentaire.h"

#include "gui/app/PlayWindowHost.h"

#include "core/annotations/AnnotationTexts.h"
#include "core/annotations/NoteFile.h"
#include "core/app/Module1.h"
#include "platform/Dialogs.h"

#include <QCloseEvent>
#include <QFile>
#include <QTextEdit>
#include <QVBoxLayout>

namespace tiradex {

FrmCommentaire::FrmCommentaire(Module1 &state, Dialogs &dialogs, PlayWindowHost &host,
                               QWidget *parent)
    : QWidget(parent), m_state(state), m_dialogs(dialogs), m_host(host)
{
    setObjectName(QStringLiteral("FrmCommentaire"));
    RichTextBox1 = new QTextEdit(this);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    RichTextBox1->setFont(NoteFont());
    RichTextBox1->document()->setDefaultFont(NoteFont());
    RichTextBox1->setTabChangesFocus(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(RichTextBox1);
    Form_Load();
}

QSize FrmCommentaire::SizeInFrame(const QSize &frame)
{
    return QSize(qMax(320, frame.width() / 4), qMax(200, frame.height() / 4));
}

QFont FrmCommentaire::NoteFont()
{
    QFont font(QStringLiteral("Verdana"), 12);
    font.setStyleHint(QFont::SansSerif); // the stand-in when Verdana is not installed
    return font;
}

void FrmCommentaire::Form_Load()
{
    const CurrentReply reply = m_host.currentReply();
    setWindowTitle(reply.character);
    m_notePath = m_state.NotePath(reply.baseName);
    if (!QFile::exists(m_notePath))
        return;
    QString error;
    const std::optional<RichText> note = LoadNote(m_notePath, &error);
    if (!note) {
        m_keepFile = true;
        RichTextBox1->setReadOnly(true);
        m_dialogs.information(this, error);
        return;
    }
    FillDocument(*RichTextBox1->document(), *note, NoteFont());
    RichTextBox1->moveCursor(QTextCursor::End);
}

void FrmCommentaire::closeEvent(QCloseEvent *event)
{
    if (!m_keepFile) {
        if (NoteTextIsEmpty(RichTextBox1->toPlainText())) {
            QFile::remove(m_notePath); // a missing file is no error
        } else {
            QString error;
            if (!SaveNote(m_notePath, RichTextOfDocument(*RichTextBox1->document()), &error) &&
                m_dialogs.askYesNo(this, AnnotationTexts::NoteNotSaved(error)) !=
                    Dialogs::Answer::Yes) {
                event->ignore(); // the text stays on screen, to be saved again
                return;
            }
        }
    }
    m_host.refreshReplyFiles();
    event->accept();
}

} // namespace tiradex
