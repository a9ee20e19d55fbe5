#include "gui/annotations/FrmCommentaire.h"

#include "AnnotationFixture.h"
#include "core/annotations/AnnotationTexts.h"
#include "core/annotations/NoteFile.h"

#include <QProcess>
#include <QTest>
#include <QTextEdit>

// The note editor: what closing leaves on disk for each kind of note, and
// that a note is never lost when it cannot be read or written.
class TstFrmCommentaire : public QObject
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
        if (fileAfter) {
            const std::optional<RichText> note = LoadNote(f.notePath(), nullptr);
            QVERIFY(note);
            QCOMPARE(note->plainText(), textAfter);
        }
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
        const std::optional<RichText> note = LoadNote(f.notePath(), nullptr);
        QVERIFY(note);
        QCOMPARE(note->plainText(), QStringLiteral("plain bold red end!"));
        QCOMPARE(note->runs.size(), 3);
        QVERIFY(note->runs[1].bold);
        QCOMPARE(note->runs[1].colour, QColor(Qt::red));
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
};

QTEST_MAIN(TstFrmCommentaire)
#include "tst_frmcommentaire.moc"
