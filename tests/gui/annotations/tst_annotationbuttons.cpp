#include "gui/annotations/FrmCommentaire.h"
#include "gui/annotations/FrmNotesPhotos.h"
#include "gui/annotations/FrmPhotos.h"

#include "PlayWindowFixture.h"

#include <QTextEdit>

using namespace tiradex;

// The play window's note, photo and browser buttons: each opens its window
// on the reply shown with the play window disabled, and the indicator
// buttons follow the files when the window closes.
class TstAnnotationButtons : public QObject
{
    Q_OBJECT

private:
    PlayWindowFixture f;

    void openPlay()
    {
        const QString hubert = QStringLiteral("HUBERT");
        const QString arthur = QStringLiteral("ARTHUR");
        f.setUp({hubert, arthur}, {TestPlay::numberedScene(1, 1, 1, 4, {hubert, arthur})});
        f.openWindow();
        f.openScene(1, 1); // reply 1 of HUBERT shown
    }

private Q_SLOTS:
    void noteButtonsOpenEditorAndFollowTheFile()
    {
        openPlay();
        QVERIFY(!f.enabled("CmdNoteExiste"));
        Click(f.play.get(), "CmdCommentaire");
        auto *editor = ShownWindow<FrmCommentaire>();
        QVERIFY(editor);
        QVERIFY(!f.play->isEnabled());
        QCOMPARE(editor->windowTitle(), QStringLiteral("HUBERT"));
        editor->RichTextBox1->setPlainText(QStringLiteral("Lentement."));
        editor->close();
        QTRY_VERIFY(f.play->isEnabled());
        QVERIFY(f.enabled("CmdNoteExiste"));
        QVERIFY(QFile::exists(f.state->NotePath(QStringLiteral("_0001_HUBERT"))));

        Click(f.play.get(), "CmdNoteExiste");
        editor = ShownWindow<FrmCommentaire>();
        QVERIFY(editor);
        QCOMPARE(editor->RichTextBox1->toPlainText(), QStringLiteral("Lentement."));
        editor->RichTextBox1->clear();
        editor->close();
        QTRY_VERIFY(f.play->isEnabled());
        QVERIFY(!f.enabled("CmdNoteExiste"));
    }

    void photoButtonAttachesThenShows()
    {
        openPlay();
        Click(f.play.get(), "CmdPhoto"); // cancelled: nothing opens
        QVERIFY(!ShownWindow<FrmPhotos>());
        QVERIFY(f.play->isEnabled());
        const QString chosen = QDir::temp().filePath(QStringLiteral("tiradex-photo-test.png"));
        QImage(30, 20, QImage::Format_RGB32).save(chosen, "PNG");
        f.dialogs.fileNames = {chosen};
        Click(f.play.get(), "CmdPhoto");
        QFile::remove(chosen);
        auto *photos = ShownWindow<FrmPhotos>();
        QVERIFY(photos);
        QVERIFY(!f.play->isEnabled());
        QCOMPARE(photos->windowTitle(), QStringLiteral("0001"));
        f.dialogs.answers = {Dialogs::Answer::Yes};
        Click(photos, "CmdDelPhoto");
        QTRY_VERIFY(f.play->isEnabled());
        QVERIFY(!f.enabled("CmdPhotoExiste"));
    }

    void browserButtonOpensBrowser()
    {
        openPlay();
        Click(f.play.get(), "CmdVoirListeNotesPhotos");
        auto *browser = ShownWindow<FrmNotesPhotos>();
        QVERIFY(browser);
        QVERIFY(!f.play->isEnabled());
        browser->close();
        QTRY_VERIFY(f.play->isEnabled());
    }
};

QTEST_MAIN(TstAnnotationButtons)
#include "tst_annotationbuttons.moc"
