// The statistics, durations, scene text and act text windows, opened from
// the play window's buttons on a test play: each applies the core's report.

#include "FakeClipboard.h"
#include "PlayWindowFixture.h"
#include "ReportsFixture.h"
#include "VoxFiles.h"

#include "core/reports/DurationCalculation.h"
#include "gui/reports/FrmCalculs.h"
#include "gui/reports/FrmPrintText.h"

#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>

using namespace tiradex;

class TestReportWindows : public QObject
{
    Q_OBJECT

private:
    PlayWindowFixture f;
    FakeClipboard clipboard;

    static QString shownText(const QWidget *window)
    {
        return Control<QTextEdit>(window, "RichTextBox1")->toPlainText();
    }

    // The window named `name` that a click on `button` opened, the play
    // window disabled meanwhile; null when none.
    template <class W> W *open(const char *button, const char *name)
    {
        Click(f.play.get(), button);
        return f.play->isEnabled() ? nullptr : ShownWindow<W>(name);
    }

private Q_SLOTS:
    void init()
    {
        f.setUp({"A", "B"}, ReportsFixture::twoActs());
        f.openWindow()->setServices({&f.dialogs, &f.sound, &clipboard, nullptr});
        f.openScene(1, 1);
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
        QStringList during;
        calculs->setExtractor([&](const QString &vox, const QString &folder) {
            during.append(QStringLiteral("%1 %2 %3")
                              .arg(calculs->ProgBar->isVisible())
                              .arg(calculs->CmdCalcul->isEnabled())
                              .arg(calculs->ProgBar->value()));
            Click(calculs, "CmdCalcul");
            DefaultDurationRecordExtractor()(vox, folder);
        });
        Click(calculs, "CmdCalcul");
        QCOMPARE(during, (QStringList{"1 0 0", "1 0 0"}));
        QVERIFY(calculs->ProgBar->isHidden() && calculs->CmdCalcul->isEnabled());
        QVERIFY(shownText(calculs).contains("Total of the registered replies (2) : 12 seconds."));
    }

    void sceneWindowMarksTheSelectedNamesOnTheClipboard()
    {
        auto *scene = open<FrmPrintText>("CmdPrintScene", "FrmPrintScene");
        QVERIFY(scene);
        scene->ListPersonnages->item(1)->setSelected(true);
        Click(scene, "CmdSelect");
        Click(scene, "CmdClipBoard");
        QCOMPARE(clipboard.rtf.count("\\b\\ul\\cf1 B\\par"), 1);
        QCOMPARE(clipboard.plain, shownText(scene).replace(u'\n', QStringLiteral("\r\n")));
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
        QVERIFY(shownText(act).startsWith("SCENE 1. Somewhere.\n\nA*0001\nText of reply 1.\n"));
        QVERIFY(act->shownText().marks.size() == 6 && act->shownText().marks.at(1).selected);
    }
};

QTEST_MAIN(TestReportWindows)
#include "tst_reportwindows.moc"
