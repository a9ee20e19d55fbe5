#include "gui/annotations/FrmFullScreen.h"
#include "gui/annotations/FrmNotesPhotos.h"
#include "gui/annotations/PhotoFrame.h"

#include "AnnotationFixture.h"
#include "core/annotations/AnnotationTexts.h"
#include "core/annotations/NoteFile.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <QTextEdit>

// The browser: entries of every act in reply-number order, notes and
// photos matched on their entry, "File error", and nothing written.
class TstFrmNotesPhotos : public QObject
{
    Q_OBJECT

private:
    // Notes for 1000_KING, 0057_HUBERT, 0003_FIRST LORD; photos for
    // 0057_HUBERT, 0120_JOHN and a damaged one for 0200_BLANCH.
    static void fill(AnnotationFixture &f)
    {
        for (const char *entry : {"1000_KING", "0057_HUBERT", "0003_FIRST LORD"}) {
            QVERIFY(SaveNote(f.state.NotesFolder() + QStringLiteral("/_") + QLatin1String(entry) +
                                 QStringLiteral(".not"),
                             NoteFromPlainText(QStringLiteral("note of ") + QLatin1String(entry)),
                             nullptr));
        }
        QVERIFY(f.writePicture(f.state.PhotosFolder() + QStringLiteral("/_0057_HUBERT.jp1"),
                               QSize(40, 30), "JPEG"));
        QVERIFY(f.writePicture(f.state.PhotosFolder() + QStringLiteral("/_0120_JOHN.jp1"),
                               QSize(30, 40), "PNG"));
        QVERIFY(f.write(f.state.PhotosFolder() + QStringLiteral("/_0200_BLANCH.jp1"), "damaged"));
        QVERIFY(f.write(f.state.NotesFolder() + QStringLiteral("/readme.txt"), "not a note"));
    }

    static QStringList items(const QComboBox *list)
    {
        QStringList all;
        for (int k = 0; k < list->count(); ++k)
            all.append(list->itemText(k));
        return all;
    }

private Q_SLOTS:
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
        AnnotationFixture f;
        fill(f);
        FrmNotesPhotos browser(f.state, f.dialogs, f.host);
        browser.show();
        QCOMPARE(browser.windowTitle(), QStringLiteral("Photos et notes"));
        QCOMPARE(items(browser.LstNotes),
                 (QStringList{"0003_FIRST LORD", "0057_HUBERT", "1000_KING"}));
        QCOMPARE(items(browser.LstPhotos),
                 (QStringList{"0057_HUBERT", "0120_JOHN", "0200_BLANCH"}));
        // Something shown before, to see that the choice replaces it.
        browser.LstNotesClick(browser.LstNotes->findText(QStringLiteral("1000_KING")));

        QComboBox *chosen = fromNotes ? browser.LstNotes : browser.LstPhotos;
        QComboBox *other = fromNotes ? browser.LstPhotos : browser.LstNotes;
        const int index = chosen->findText(entry);
        chosen->setCurrentIndex(index);
        if (fromNotes)
            browser.LstNotesClick(index);
        else
            browser.LstPhotosClick(index);
        QCOMPARE(browser.RichTextBox1->toPlainText(), noteShown);
        QCOMPARE(other->currentText(), otherSelected);
        QCOMPARE(browser.Image1->hasPicture(), photoShown);
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void damagedPhotoKeepsNoteView()
    {
        AnnotationFixture f;
        fill(f);
        FrmNotesPhotos browser(f.state, f.dialogs, f.host);
        browser.show();
        browser.LstNotesClick(browser.LstNotes->findText(QStringLiteral("0057_HUBERT")));
        browser.LstPhotosClick(browser.LstPhotos->findText(QStringLiteral("0200_BLANCH")));
        QCOMPARE(f.dialogs.texts(), QStringList{AnnotationTexts::FileError});
        QCOMPARE(browser.RichTextBox1->toPlainText(), QStringLiteral("note of 0057_HUBERT"));
        QVERIFY(!browser.Image1->hasPicture());
        QCOMPARE(QApplication::overrideCursor(), nullptr); // the busy pointer is gone
    }

    void keysInListsDiscarded()
    {
        AnnotationFixture f;
        fill(f);
        FrmNotesPhotos browser(f.state, f.dialogs, f.host);
        browser.show();
        browser.LstNotes->setCurrentIndex(0);
        for (const auto key : {Qt::Key_Down, Qt::Key_End, Qt::Key_K})
            QTest::keyClick(browser.LstNotes, key);
        QCOMPARE(browser.LstNotes->currentIndex(), 0);
        QVERIFY(browser.RichTextBox1->toPlainText().isEmpty());
    }

    void fullScreenReturnsToBrowser()
    {
        AnnotationFixture f;
        fill(f);
        FrmNotesPhotos browser(f.state, f.dialogs, f.host);
        browser.show();
        const int index = browser.LstPhotos->findText(QStringLiteral("0120_JOHN"));
        browser.LstPhotos->setCurrentIndex(index);
        browser.LstPhotosClick(index);
        QTest::mouseClick(browser.Image1->Dessin1, Qt::LeftButton);
        QPointer<FrmFullScreen> full = browser.fullScreen();
        QVERIFY(full);
        QTest::keyClick(full, Qt::Key_Escape);
        QTRY_VERIFY(!full);
        QVERIFY(browser.isVisible());
    }
};

QTEST_MAIN(TstFrmNotesPhotos)
#include "tst_frmnotesphotos.moc"
