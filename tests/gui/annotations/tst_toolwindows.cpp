#include "gui/annotations/FrmCommentaire.h"
#include "gui/annotations/FrmFullScreen.h"
#include "gui/annotations/FrmNotesPhotos.h"
#include "gui/annotations/FrmPhotos.h"
#include "gui/annotations/PhotoFrame.h"

#include "gui/reports/FrmCalculs.h"
#include "gui/reports/FrmPrintText.h"

#include "FakeClipboard.h"
#include "PlayWindowFixture.h"
#include "ReportsFixture.h"
#include "core/annotations/AnnotationTexts.h"
#include "core/annotations/NoteFile.h"
#include "core/reports/DurationCalculation.h"

#include <QComboBox>
#include <QListWidget>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>

using namespace tiradex;

// The tool windows, each opened by its button on the play window showing
// reply 1 of A. The note editor, the photo window and the notes and photos
// browser: what they leave on disk, what they show, the indicator buttons
// after them, and that nothing is lost when a file cannot be read or
// written. The statistics, durations, scene text and act text windows: each
// applies the core's report.
class TstToolWindows : public QObject
{
    Q_OBJECT

private:
    PlayWindowFixture f;
    FakeClipboard clipboard;
    QString m_note;
    QString m_photo;

    const QByteArray m_wordpad = ReadTestFile(TIRADEX_TEST_DATA_DIR "/notes/wordpad-1252.rtf");
    static void writePicture(const QString &path, const QSize &size, const char *format = "PNG")
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor(40, 90, 160));
        QVERIFY(image.save(path, format));
    }

    // Makes `folder` refuse new files (chmod for a user, the immutable
    // attribute for root); false when neither works here.
    static bool lockFolder(const QString &folder, bool lock)
    {
        QFile::setPermissions(folder,
                              QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                  (lock ? QFileDevice::Permissions() : QFileDevice::WriteOwner));
        QProcess::execute(QStringLiteral("chattr"), {lock ? "+i" : "-i", folder});
        QFile probe(folder + QStringLiteral("/probe"));
        const bool writable = probe.open(QIODevice::WriteOnly);
        probe.remove();
        return lock != writable;
    }

    // The note on disk: its text, a bold run as "[b #rrggbb]text".
    QString noteOnDisk() const
    {
        if (!QFile::exists(m_note))
            return QStringLiteral("<no file>");
        QString shown;
        for (const RichTextRun &r : LoadNote(m_note, nullptr).value_or(RichText()).runs)
            shown += (r.bold ? "[b " + r.colour.name() + "]" : QString()) + r.text;
        return shown;
    }

    // The window of type W that a click on `button` opened, the play window
    // disabled meanwhile; null when none.
    template <class W> W *open(const char *button, const char *name = nullptr)
    {
        f.play->refreshReplyFiles();
        Click(f.play.get(), button);
        return f.play->isEnabled() ? nullptr : ShownWindow<W>(name);
    }

    // The browser on notes of 1000_KING, 0001_A, 0003_FIRST LORD and
    // photos of 0001_A, 0120_JOHN and a damaged one of 0200_BLANCH.
    FrmNotesPhotos *browser()
    {
        for (const char *entry : {"1000_KING", "0001_A", "0003_FIRST LORD"})
            SaveNote(f.state->NotesFolder() + QStringLiteral("/_%1.not").arg(entry),
                     NoteFromPlainText(QStringLiteral("note of ") + QLatin1String(entry)), nullptr);
        writePicture(m_photo, QSize(40, 30), "JPEG");
        writePicture(f.state->PhotosFolder() + QStringLiteral("/_0120_JOHN.jp1"), QSize(30, 40));
        TestPlay::write(f.state->PhotosFolder() + QStringLiteral("/_0200_BLANCH.jp1"), "damaged");
        return open<FrmNotesPhotos>("CmdVoirListeNotesPhotos");
    }
    static void pick(FrmNotesPhotos &w, bool notes, const QString &entry)
    {
        QComboBox *list = notes ? w.LstNotes : w.LstPhotos;
        list->setCurrentIndex(list->findText(entry));
        notes ? w.LstNotesClick(list->currentIndex()) : w.LstPhotosClick(list->currentIndex());
    }

private Q_SLOTS:
    void init()
    {
        f.setUp({"A", "B"}, ReportsFixture::twoActs());
        m_note = f.state->NotePath(QStringLiteral("_0001_A"));
        m_photo = f.state->PhotoPath(QStringLiteral("_0001_A"));
        QDir().mkpath(f.state->NotesFolder());
        QDir().mkpath(f.state->PhotosFolder());
        f.openWindow()->setServices({&f.dialogs, &f.sound, &clipboard, nullptr});
        f.openScene(1, 1);
    }

    // Each row: the note before, the text put in the editor (null: the
    // editor left alone, "+x": x typed at the end), the note after.
    void closingLeavesTheRightFile_data()
    {
        QTest::addColumn<QByteArray>("oldNote");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        const QString none = QStringLiteral("<no file>");
        QTest::newRow("nothing typed on a reply without note creates no file")
            << QByteArray() << QString() << none;
        QTest::newRow("spaces only count as empty") << QByteArray() << "    " << none;
        QTest::newRow("erasing an existing note deletes it") << m_wordpad << "" << none;
        QTest::newRow("line breaks only are saved")
            << QByteArray() << QStringLiteral("\n\n") << "\n\n";
        QTest::newRow("accented text saved as typed")
            << QByteArray() << QStringLiteral(" Entrée « Жил » 😀 ") << " Entrée « Жил » 😀 ";
        QTest::newRow("a foreign note opened and closed keeps its text")
            << m_wordpad << QString()
            << "Entrée de [b #000000]Hubert, à pas lents…\nIl s’arrête; «\u00a0Non\u00a0!»\t5 €\n";
        QTest::newRow("formats survive editing")
            << QByteArray("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}"
                          "plain \\b\\cf1 bold red\\b0\\cf0  end}")
            << "+!"
            << "plain [b #ff0000]bold red end!";
    }

    void closingLeavesTheRightFile()
    {
        QFETCH(QByteArray, oldNote);
        QFETCH(QString, typed);
        if (!oldNote.isEmpty())
            TestPlay::write(m_note, oldNote);
        auto *editor = open<FrmCommentaire>(oldNote.isEmpty() ? "CmdCommentaire" : "CmdNoteExiste");
        QVERIFY(editor);
        QCOMPARE(editor->windowTitle(), QStringLiteral("A"));
        if (typed.startsWith(u'+'))
            QTest::keyClicks(editor->RichTextBox1, typed.mid(1));
        else if (!typed.isNull())
            editor->RichTextBox1->setPlainText(typed);
        QVERIFY(editor->close());
        QTEST(noteOnDisk(), "after");
        QTRY_VERIFY(f.play->isEnabled());
        QCOMPARE(f.enabled("CmdNoteExiste"), QFile::exists(m_note));
        QCOMPARE(f.dialogs.texts(), QStringList());
    }

    void unreadableNoteIsReportedAndKept()
    {
        QVERIFY(QDir().mkpath(m_note)); // exists, but cannot be read as a file
        auto *editor = open<FrmCommentaire>("CmdCommentaire");
        QVERIFY(editor);
        QCOMPARE(f.dialogs.shown.size(), 1);
        QVERIFY(editor->RichTextBox1->isReadOnly() && editor->close());
        QVERIFY(QFileInfo(m_note).isDir());
    }

    void failedSaveKeepsOldNoteAndText()
    {
        TestPlay::write(m_note, m_wordpad);
        auto *editor = open<FrmCommentaire>("CmdCommentaire");
        QVERIFY(editor);
        editor->RichTextBox1->setPlainText(QStringLiteral("new text"));
        if (!lockFolder(f.state->NotesFolder(), true))
            QFAIL("cannot make the notes folder refuse writes here (chmod, chattr)");
        f.dialogs.answers = {Dialogs::Answer::No, Dialogs::Answer::Yes};
        const bool closedFirst = editor->close();  // "No": the editor stays with the text
        const bool closedSecond = editor->close(); // "Yes": closed without saving
        lockFolder(f.state->NotesFolder(), false);
        QCOMPARE(QList<bool>({closedFirst, closedSecond}), QList<bool>({false, true}));
        QCOMPARE(f.dialogs.shown.size(), 2);
        QVERIFY(f.dialogs.shown[0].text.startsWith(QStringLiteral("The note could not be saved.")));
        QCOMPARE(ReadTestFile(m_note), m_wordpad);
    }

    // The photo button asks for a picture (nothing opens when cancelled or
    // when the chosen file vanished), copies it byte for byte, and opens
    // the photo window, which reports an unreadable one and keeps it; later
    // clicks show it without asking; a delete asks.
    void photoAttachedOnceThenShownAndDeleted()
    {
        const QString chosen = f.folder() + QStringLiteral("/set.jpg");
        TestPlay::write(chosen, "not checked, copied as is");
        f.dialogs.fileNames = {QString(), chosen + "-gone", chosen, chosen};
        QVERIFY(!open<FrmPhotos>("CmdPhoto"));
        QVERIFY(!open<FrmPhotos>("CmdPhoto"));
        auto *photos = open<FrmPhotos>("CmdPhoto");
        QVERIFY(photos);
        QCOMPARE(photos->windowTitle(), QStringLiteral("0001"));
        QVERIFY(!photos->Image1->hasPicture());
        QCOMPARE(ReadTestFile(m_photo), QByteArray("not checked, copied as is"));
        photos->close();
        QTRY_VERIFY(f.play->isEnabled());
        photos = open<FrmPhotos>("CmdPhotoExiste");
        QVERIFY(photos);
        QCOMPARE(f.dialogs.fileNames.size(), 1);
        Click(photos, "CmdDelPhoto"); // unscripted: No
        QVERIFY(QFile::exists(m_photo) && photos->isVisible());
        f.dialogs.answers = {Dialogs::Answer::Yes};
        Click(photos, "CmdDelPhoto");
        QCOMPARE(f.dialogs.texts(),
                 QStringList({AnnotationTexts::FileError, AnnotationTexts::FileError,
                              AnnotationTexts::DeletePhoto, AnnotationTexts::DeletePhoto}));
        QTRY_VERIFY(f.play->isEnabled());
        QVERIFY(!QFile::exists(m_photo) && !f.enabled("CmdPhotoExiste"));
    }

    // A larger picture is shrunk by the core's steps and centred in the
    // frame (fitting itself is the core's; this is the window applying it).
    void photoFittedAndCentredInFrame()
    {
        const auto px = [this](double twips) {
            return qRound(twips * ScreenDpi(f.play.get()) / 1440);
        };
        writePicture(m_photo, QSize(px(10000), px(4000)), "JPEG");
        auto *window = open<FrmPhotos>("CmdPhotoExiste");
        QVERIFY(window);
        QCOMPARE(window->Image1->size(), QSize(px(5235), px(5235)));
        // Shrunk to 4783 x 1913 twips and centred, within a pixel of rounding.
        const QRect shown = window->Image1->Dessin1->geometry();
        const QPoint off = shown.center() - window->Image1->rect().center();
        const QSize error = shown.size() - QSize(px(4782.97), px(1913.19));
        QVERIFY(window->Image1->Dessin1->isVisible() && qAbs(error.width()) <= 1 &&
                qAbs(error.height()) <= 1 && off.manhattanLength() <= 2);
    }

    // Leaving the full screen (by Escape or a click) closes the photo
    // window, but returns to the browser.
    void leavingFullScreen()
    {
        writePicture(m_photo, QSize(4000, 100));
        QPointer<FrmPhotos> photos = open<FrmPhotos>("CmdPhotoExiste");
        QVERIFY(photos);
        Click(photos, "CmdFullScreen");
        QPointer<FrmFullScreen> full = photos->fullScreen();
        QVERIFY(full && QTest::qWaitForWindowExposed(full));
        QVERIFY(full->Image2->isVisible() &&
                full->Image2->width() <= full->screen()->geometry().width());
        QTest::keyClick(full, Qt::Key_Escape);
        QTRY_VERIFY(!full && (!photos || !photos->isVisible()));
        QTRY_VERIFY(f.play->isEnabled());
        FrmNotesPhotos *b = browser();
        QVERIFY(b);
        pick(*b, false, QStringLiteral("0120_JOHN"));
        QTest::mouseClick(b->Image1->Dessin1, Qt::LeftButton);
        full = b->fullScreen();
        QVERIFY(full && QTest::qWaitForWindowExposed(full));
        QTest::mouseClick(full->Image2, Qt::LeftButton);
        QTRY_VERIFY(!full);
        QVERIFY(b->isVisible());
    }

    // Each row: the list picked from, the entry, then what the browser shows:
    // the note, the entry selected in the other list, whether a picture.
    void listsInReplyOrderAndMatched_data()
    {
        QTest::addColumn<bool>("fromNotes");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("shown");
        QTest::newRow("note with photo selects and shows both") << true << "0001_A"
                                                                << "note of 0001_A|0001_A|picture";
        QTest::newRow("note without photo leaves the frame empty")
            << true << "0003_FIRST LORD"
            << "note of 0003_FIRST LORD||none";
        QTest::newRow("photo with note selects and shows both") << false << "0001_A"
                                                                << "note of 0001_A|0001_A|picture";
        QTest::newRow("photo without note empties the note view") << false << "0120_JOHN"
                                                                  << "||picture";
        QTest::newRow("damaged photo keeps the note view") << false << "0200_BLANCH"
                                                           << "note of 1000_KING||none";
    }

    void listsInReplyOrderAndMatched()
    {
        QFETCH(bool, fromNotes);
        QFETCH(QString, entry);
        FrmNotesPhotos *w = browser();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), AnnotationTexts::BrowserTitle);
        QCOMPARE(w->LstNotes->itemText(1), QStringLiteral("0003_FIRST LORD"));
        pick(*w, true, QStringLiteral("1000_KING")); // replaced by the choice below
        pick(*w, fromNotes, entry);
        QTEST(QStringList({w->RichTextBox1->toPlainText(),
                           (fromNotes ? w->LstPhotos : w->LstNotes)->currentText(),
                           w->Image1->hasPicture() ? "picture" : "none"})
                  .join(u'|'),
              "shown");
        const bool damaged = entry == QLatin1String("0200_BLANCH");
        QCOMPARE(f.dialogs.texts(),
                 damaged ? QStringList{AnnotationTexts::FileError} : QStringList());
        QCOMPARE(QApplication::overrideCursor(), nullptr); // the busy pointer is gone
        // Keys typed into the lists are discarded.
        const int before = w->LstNotes->currentIndex();
        for (const auto key : {Qt::Key_Down, Qt::Key_End, Qt::Key_K})
            QTest::keyClick(w->LstNotes, key);
        QCOMPARE(w->LstNotes->currentIndex(), before);
    }

    void statisticsWindowShowsAndCopiesTheReport()
    {
        auto *stats = open<QWidget>("CmdStat", "FrmStats");
        QVERIFY(stats);
        Click(stats, "CmdClipBoard");
        QCOMPARE(clipboard.plain.toUtf8(), Golden("two-acts.stats.txt"));
        QCOMPARE(f.dialogs.texts(),
                 QStringList("The text was copied in the clipboard. You can now paste it in an "
                             "editor."));
        stats->close();
        QTRY_VERIFY(f.play->isEnabled());
    }

    void durationsWindowCalculatesWithProgressAndNoReentry()
    {
        auto *calculs = open<FrmCalculs>("CmdCalculVox", "FrmCalculs");
        QVERIFY(calculs);
        Click(calculs, "CmdCalcul");
        QCOMPARE(f.dialogs.texts(), QStringList("No registered Vox file."));
        calculs->close();
        QTRY_VERIFY(f.play->isEnabled());
        WriteVox(*f.state, "_0002_B", ToneWav(20), QByteArray("1,1,5\r\n"));
        WriteVox(*f.state, "_0007_B", ToneWav(20), QByteArray("2,1,7\r\n"));
        calculs = open<FrmCalculs>("CmdCalculVox", "FrmCalculs");
        QVERIFY(calculs);
        // Each extraction: progress shown, the button locked, a second click
        // while it runs not taken.
        QList<QList<int>> during;
        calculs->setExtractor([&](const QString &vox, const QString &folder) {
            during.append({calculs->ProgBar->isVisible(), calculs->CmdCalcul->isEnabled(),
                           calculs->ProgBar->value()});
            Click(calculs, "CmdCalcul");
            DefaultDurationRecordExtractor()(vox, folder);
        });
        Click(calculs, "CmdCalcul");
        QCOMPARE(during, (QList<QList<int>>{{1, 0, 0}, {1, 0, 0}}));
        QVERIFY(calculs->ProgBar->isHidden() && calculs->CmdCalcul->isEnabled());
        QVERIFY(calculs->RichTextBox1->toPlainText().contains(
            "Total of the registered replies (2) : 12 seconds."));
    }

    void sceneWindowMarksTheSelectedNamesOnTheClipboard()
    {
        auto *scene = open<FrmPrintText>("CmdPrintScene", "FrmPrintScene");
        QVERIFY(scene);
        scene->ListPersonnages->item(1)->setSelected(true);
        Click(scene, "CmdSelect");
        Click(scene, "CmdClipBoard");
        QCOMPARE(clipboard.rtf.count("\\b\\ul\\cf1 B\\par"), 1);
        scene->RichTextBox1->clear();
        Click(scene, "CmdClipBoard");
        QCOMPARE(f.dialogs.texts().last(), QStringLiteral("Text zone is empty."));
    }

    void actWindowShowsReplyNumbersAtOnce()
    {
        auto *act = open<FrmPrintText>("CmdPrintActe", "FrmPrintActe");
        QVERIFY(act);
        act->ListPersonnages->item(1)->setSelected(true);
        Click(act, "CheckNumReplique");
        QVERIFY(act->RichTextBox1->toPlainText().startsWith(
            "SCENE 1. Somewhere.\n\nA*0001\nText of reply 1.\n"));
        QVERIFY(act->shownText().marks.size() == 6 && act->shownText().marks.at(1).selected);
    }
};

QTEST_MAIN(TstToolWindows)
#include "tst_toolwindows.moc"
