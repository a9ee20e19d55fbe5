#include "gui/annotations/FrmCommentaire.h"
#include "gui/annotations/FrmFullScreen.h"
#include "gui/annotations/FrmNotesPhotos.h"
#include "gui/annotations/FrmPhotos.h"
#include "gui/annotations/PhotoFrame.h"

#include "AnnotationFixture.h"
#include "WidgetDriver.h"
#include "core/annotations/AnnotationTexts.h"
#include "core/annotations/NoteFile.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextEdit>

using namespace tiradex;

// The note editor, the photo window and the notes and photos browser, each
// opened on a stand-in for the play window: what they leave on disk, what
// they show, and that nothing is lost when a file cannot be read or written.
class TstAnnotationWindows : public QObject
{
    Q_OBJECT

private:
    static QByteArray golden()
    {
        return AnnotationFixture::read(
            QStringLiteral(TIRADEX_TEST_DATA_DIR "/notes/wordpad-1252.rtf"));
    }

    // Makes `folder` refuse new files (chmod for a user, the immutable
    // attribute for root); false when neither works here.
    static bool lockFolder(const QString &folder, bool lock)
    {
        QFile::setPermissions(folder, lock ? QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                           : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner);
        QProcess::execute(QStringLiteral("chattr"),
                          {lock ? QStringLiteral("+i") : QStringLiteral("-i"), folder});
        QFile probe(folder + QStringLiteral("/probe"));
        const bool writable = probe.open(QIODevice::WriteOnly);
        probe.remove();
        return lock != writable;
    }

    // Pixels of `twips` on the test screen.
    static int px(double twips, const QWidget *w) { return qRound(twips * ScreenDpi(w) / 1440.0); }

    // Notes for 1000_KING, 0057_HUBERT, 0003_FIRST LORD; photos for
    // 0057_HUBERT, 0120_JOHN and a damaged one for 0200_BLANCH; the browser
    // opened on them.
    struct Browser
    {
        AnnotationFixture f;
        std::unique_ptr<FrmNotesPhotos> window;

        Browser()
        {
            for (const char *entry : {"1000_KING", "0057_HUBERT", "0003_FIRST LORD"})
                SaveNote(f.state.NotesFolder() + QStringLiteral("/_%1.not").arg(entry),
                         NoteFromPlainText(QStringLiteral("note of ") + QLatin1String(entry)),
                         nullptr);
            const QString photos = f.state.PhotosFolder();
            f.writePicture(photos + QStringLiteral("/_0057_HUBERT.jp1"), QSize(40, 30), "JPEG");
            f.writePicture(photos + QStringLiteral("/_0120_JOHN.jp1"), QSize(30, 40), "PNG");
            f.write(photos + QStringLiteral("/_0200_BLANCH.jp1"), "damaged");
            window = std::make_unique<FrmNotesPhotos>(f.state, f.dialogs, f.host);
            window->show();
        }
        void pick(QComboBox *list, const char *entry)
        {
            const int index = list->findText(QLatin1String(entry));
            list->setCurrentIndex(index);
            if (list == window->LstNotes)
                window->LstNotesClick(index);
            else
                window->LstPhotosClick(index);
        }
    };

private Q_SLOTS:
    void closingLeavesTheRightFile_data()
    {
        QTest::addColumn<QByteArray>("oldNote");
        QTest::addColumn<bool>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("fileAfter");
        QTest::addColumn<QString>("textAfter");
        const QString wordpadText = QStringLiteral(
            "Entrée de Hubert, à pas lents…\nIl s’arrête; «\u00a0Non\u00a0!»\t5 €\n");
        QTest::newRow("nothing typed on a reply without note creates no file")
            << QByteArray() << false << QString() << false << QString();
        QTest::newRow("spaces only count as empty")
            << QByteArray() << true << QStringLiteral("    ") << false << QString();
        QTest::newRow("erasing an existing note deletes it")
            << golden() << true << QString() << false << QString();
        QTest::newRow("line breaks only are saved")
            << QByteArray() << true << QStringLiteral("\n\n") << true << QStringLiteral("\n\n");
        QTest::newRow("accented text saved as typed")
            << QByteArray() << true << QStringLiteral(" Entrée « Жил » 😀 ") << true
            << QStringLiteral(" Entrée « Жил » 😀 ");
        QTest::newRow("a foreign note opened and closed keeps its text")
            << golden() << false << QString() << true << wordpadText;
    }

    void closingLeavesTheRightFile()
    {
        QFETCH(QByteArray, oldNote);
        QFETCH(bool, edit);
        QFETCH(QString, typed);
        QFETCH(bool, fileAfter);
        QFETCH(QString, textAfter);
        AnnotationFixture f;
        if (!oldNote.isEmpty())
            QVERIFY(f.write(f.notePath(), oldNote));
        FrmCommentaire editor(f.state, f.dialogs, f.host);
        editor.show();
        QCOMPARE(editor.windowTitle(), QStringLiteral("HUBERT"));
        if (edit)
            editor.RichTextBox1->setPlainText(typed);
        QVERIFY(editor.close());
        QCOMPARE(QFile::exists(f.notePath()), fileAfter);
        QCOMPARE(f.host.refreshed, 1);
        if (fileAfter)
            QCOMPARE(LoadNote(f.notePath(), nullptr).value_or(RichText()).plainText(), textAfter);
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void formatsSurviveEditing()
    {
        AnnotationFixture f;
        QVERIFY(f.write(f.notePath(), "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}"
                                      "plain \\b\\cf1 bold red\\b0\\cf0  end}"));
        FrmCommentaire editor(f.state, f.dialogs, f.host);
        editor.show();
        QTest::keyClicks(editor.RichTextBox1, QStringLiteral("!"));
        QVERIFY(editor.close());
        const RichText note = LoadNote(f.notePath(), nullptr).value_or(RichText());
        QCOMPARE(note.plainText(), QStringLiteral("plain bold red end!"));
        QCOMPARE(note.runs.size(), 3);
        QVERIFY(note.runs[1].bold);
        QCOMPARE(note.runs[1].colour, QColor(Qt::red));
    }

    void unreadableNoteIsReportedAndKept()
    {
        AnnotationFixture f;
        QVERIFY(QDir().mkpath(f.notePath())); // exists, but cannot be read as a file
        FrmCommentaire editor(f.state, f.dialogs, f.host);
        editor.show();
        QCOMPARE(f.dialogs.shown.size(), 1);
        QVERIFY(editor.RichTextBox1->isReadOnly());
        QVERIFY(editor.close());
        QVERIFY(QFileInfo(f.notePath()).isDir());
    }

    void failedSaveKeepsOldNoteAndText()
    {
        AnnotationFixture f;
        QVERIFY(f.write(f.notePath(), golden()));
        FrmCommentaire editor(f.state, f.dialogs, f.host);
        editor.show();
        editor.RichTextBox1->setPlainText(QStringLiteral("new text"));
        if (!lockFolder(f.state.NotesFolder(), true))
            QFAIL("cannot make the notes folder refuse writes here (chmod, chattr)");
        f.dialogs.answers = {Dialogs::Answer::No, Dialogs::Answer::Yes};
        const bool closedFirst = editor.close();
        const bool closedSecond = editor.close();
        lockFolder(f.state.NotesFolder(), false);
        QVERIFY(!closedFirst); // "No": the editor stays with the text
        QVERIFY(closedSecond); // "Yes": closed without saving
        QCOMPARE(f.dialogs.shown.size(), 2);
        QVERIFY(f.dialogs.shown[0].text.startsWith(QStringLiteral("The note could not be saved.")));
        QCOMPARE(AnnotationFixture::read(f.notePath()), golden());
    }

    void attachCopiesOnceAndOnlyWhenChosen()
    {
        AnnotationFixture f;
        // Cancelled: nothing copied.
        QVERIFY(!FrmPhotos::EnsurePhoto(f.state, f.dialogs, f.host.reply, nullptr));
        QVERIFY(!QFile::exists(f.photoPath()));
        // Chosen: a byte-for-byte copy, whatever it holds.
        const QString chosen = f.dir.filePath(QStringLiteral("set.jpg"));
        QVERIFY(f.write(chosen, "not checked, copied as is"));
        f.dialogs.fileNames = {chosen};
        QVERIFY(FrmPhotos::EnsurePhoto(f.state, f.dialogs, f.host.reply, nullptr));
        QCOMPARE(f.read(f.photoPath()), QByteArray("not checked, copied as is"));
        // A reply with a photo: no dialog, the photo is not replaced.
        f.dialogs.fileNames = {f.dir.filePath(QStringLiteral("other.jpg"))};
        QVERIFY(FrmPhotos::EnsurePhoto(f.state, f.dialogs, f.host.reply, nullptr));
        QCOMPARE(f.dialogs.fileNames.size(), 1);
        // A chosen file that vanished: no photo.
        f.setReply(58, QStringLiteral("ARTHUR"));
        QVERIFY(!FrmPhotos::EnsurePhoto(f.state, f.dialogs, f.host.reply, nullptr));
        QVERIFY(!QFile::exists(f.photoPath()));
    }

    // A larger picture is shrunk by the core's steps and centred in the
    // frame (fitting itself is the core's; this is the window applying it).
    void photoFittedAndCentredInFrame()
    {
        AnnotationFixture f;
        QWidget probe;
        QVERIFY(f.writePicture(f.photoPath(), QSize(px(10000, &probe), px(4000, &probe)), "JPEG"));
        FrmPhotos window(f.state, f.dialogs, f.host);
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("0057"));
        const QLabel *picture = window.Image1->Dessin1;
        QVERIFY(picture->isVisible());
        QCOMPARE(window.Image1->size(), QSize(px(5235, &window), px(5235, &window)));
        // Shrunk to 4783 x 1913 twips and centred, within a pixel of rounding.
        const QRect shown = picture->geometry();
        const QPoint offCentre = shown.center() - window.Image1->rect().center();
        QVERIFY2(qAbs(shown.width() - px(4782.97, &window)) <= 1 &&
                     qAbs(shown.height() - px(1913.19, &window)) <= 1 &&
                     offCentre.manhattanLength() <= 2,
                 qPrintable(QStringLiteral("shown at %1,%2 %3x%4")
                                .arg(shown.x())
                                .arg(shown.y())
                                .arg(shown.width())
                                .arg(shown.height())));
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void unreadablePhotoShowsFileErrorAndIsKept()
    {
        AnnotationFixture f;
        QVERIFY(f.write(f.photoPath(), "hello, not a JPEG"));
        FrmPhotos window(f.state, f.dialogs, f.host);
        window.show();
        QCOMPARE(f.dialogs.texts(), QStringList{AnnotationTexts::FileError});
        QVERIFY(!window.Image1->hasPicture());
        QCOMPARE(f.read(f.photoPath()), QByteArray("hello, not a JPEG"));
    }

    void deleteAsksThenRemovesAndCloses()
    {
        AnnotationFixture f;
        QVERIFY(f.writePicture(f.photoPath(), QSize(20, 20)));
        FrmPhotos window(f.state, f.dialogs, f.host);
        window.show();
        Click(&window, "CmdDelPhoto"); // unscripted: No
        QVERIFY(QFile::exists(f.photoPath()));
        QVERIFY(window.isVisible());
        f.dialogs.answers = {Dialogs::Answer::Yes};
        Click(&window, "CmdDelPhoto");
        QCOMPARE(f.dialogs.texts(), QStringList(2, AnnotationTexts::DeletePhoto));
        QVERIFY(!QFile::exists(f.photoPath()));
        QVERIFY(!window.isVisible());
        QVERIFY(f.host.refreshed >= 1);
    }

    void leavingFullScreenClosesPhotoWindow_data()
    {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("escape") << true;
        QTest::newRow("click") << false;
    }

    void leavingFullScreenClosesPhotoWindow()
    {
        QFETCH(bool, byEscape);
        AnnotationFixture f;
        QVERIFY(f.writePicture(f.photoPath(), QSize(4000, 100)));
        FrmPhotos window(f.state, f.dialogs, f.host);
        window.show();
        Click(&window, "CmdFullScreen");
        QPointer<FrmFullScreen> full = window.fullScreen();
        QVERIFY(full);
        QVERIFY(QTest::qWaitForWindowExposed(full));
        QLabel *picture = full->Image2;
        QVERIFY(picture->isVisible());
        QVERIFY(picture->width() <= full->screen()->geometry().width());
        if (byEscape)
            QTest::keyClick(full, Qt::Key_Escape);
        else
            QTest::mouseClick(picture, Qt::LeftButton);
        QTRY_VERIFY(!full);
        QTRY_VERIFY(!window.isVisible());
    }

    void listsInReplyOrderAndMatched_data()
    {
        QTest::addColumn<bool>("fromNotes");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("noteShown");
        QTest::addColumn<QString>("otherSelected"); // "" for no selection
        QTest::addColumn<bool>("photoShown");
        QTest::newRow("note with photo selects and shows both") << true << "0057_HUBERT"
                                                                << "note of 0057_HUBERT"
                                                                << "0057_HUBERT" << true;
        QTest::newRow("note without photo leaves the frame empty") << true << "0003_FIRST LORD"
                                                                   << "note of 0003_FIRST LORD"
                                                                   << "" << false;
        QTest::newRow("photo with note selects and shows both") << false << "0057_HUBERT"
                                                                << "note of 0057_HUBERT"
                                                                << "0057_HUBERT" << true;
        QTest::newRow("photo without note empties the note view") << false << "0120_JOHN"
                                                                  << ""
                                                                  << "" << true;
    }

    void listsInReplyOrderAndMatched()
    {
        QFETCH(bool, fromNotes);
        QFETCH(QString, entry);
        QFETCH(QString, noteShown);
        QFETCH(QString, otherSelected);
        QFETCH(bool, photoShown);
        Browser b;
        FrmNotesPhotos &w = *b.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Photos et notes"));
        QCOMPARE(w.LstNotes->itemText(0), QStringLiteral("0003_FIRST LORD"));
        QCOMPARE(w.LstPhotos->count(), 3);
        b.pick(w.LstNotes, "1000_KING"); // replaced by the choice below
        b.pick(fromNotes ? w.LstNotes : w.LstPhotos, qPrintable(entry));
        QCOMPARE(w.RichTextBox1->toPlainText(), noteShown);
        QCOMPARE((fromNotes ? w.LstPhotos : w.LstNotes)->currentText(), otherSelected);
        QCOMPARE(w.Image1->hasPicture(), photoShown);
        QVERIFY(b.f.dialogs.shown.isEmpty());
    }

    void damagedPhotoKeepsNoteViewAndKeysAreDiscarded()
    {
        Browser b;
        FrmNotesPhotos &w = *b.window;
        b.pick(w.LstNotes, "0057_HUBERT");
        b.pick(w.LstPhotos, "0200_BLANCH");
        QCOMPARE(b.f.dialogs.texts(), QStringList{AnnotationTexts::FileError});
        QCOMPARE(w.RichTextBox1->toPlainText(), QStringLiteral("note of 0057_HUBERT"));
        QVERIFY(!w.Image1->hasPicture());
        QCOMPARE(QApplication::overrideCursor(), nullptr); // the busy pointer is gone

        w.LstNotes->setCurrentIndex(0);
        for (const auto key : {Qt::Key_Down, Qt::Key_End, Qt::Key_K})
            QTest::keyClick(w.LstNotes, key);
        QCOMPARE(w.LstNotes->currentIndex(), 0);
    }

    void fullScreenReturnsToBrowser()
    {
        Browser b;
        b.pick(b.window->LstPhotos, "0120_JOHN");
        QTest::mouseClick(b.window->Image1->Dessin1, Qt::LeftButton);
        QPointer<FrmFullScreen> full = b.window->fullScreen();
        QVERIFY(full);
        QTest::keyClick(full, Qt::Key_Escape);
        QTRY_VERIFY(!full);
        QVERIFY(b.window->isVisible());
    }
};

QTEST_MAIN(TstAnnotationWindows)
#include "tst_annotationwindows.moc"
