#pragma once

#include <QPointer>
#include <QWidget>

class QComboBox;
class QTextEdit;

namespace tiradex {

class Dialogs;
class FrmFullScreen;
class Module1;
class PhotoFrame;
class PlayWindowHost;

// The browser of every note and photo of the open play ("Photos et
// notes"): two lists of entries such as 0057_HUBERT, filled once, matched
// on their text; choosing one shows the note and the photo of that reply.
// It writes nothing. Photos are decoded only when shown.
class FrmNotesPhotos : public QWidget
{
    Q_OBJECT

public:
    FrmNotesPhotos(Module1 &state, Dialogs &dialogs, PlayWindowHost &host,
                   QWidget *parent = nullptr);

    static QSize WindowSize(const QWidget *onScreen);

    PhotoFrame *Image1 = nullptr;
    QTextEdit *RichTextBox1 = nullptr;
    QComboBox *LstPhotos = nullptr;
    QComboBox *LstNotes = nullptr;
    FrmFullScreen *fullScreen() const;

public Q_SLOTS:
    void LstNotesClick(int index);
    void LstPhotosClick(int index);
    void Dessin1Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Steps P1 to P5: false (after "File error") when the photo cannot be read.
    bool showPhoto(const QString &entry);
    void showNote(const QString &entry);

    Module1 &m_state;
    Dialogs &m_dialogs;
    QPointer<FrmFullScreen> m_fullScreen;
};

} // namespace tiradex
