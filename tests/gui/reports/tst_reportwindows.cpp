// The statistics, durations, scene text and act text windows, opened from
// the play window's buttons on a test play.

#include "FakeClipboard.h"
#include "PlayWindowFixture.h"
#include "ReportsFixture.h"
#include "VoxFiles.h"

#include "core/reports/DurationCalculation.h"
#include "gui/reports/FrmCalculs.h"
#include "gui/reports/FrmPrintText.h"

#include <QCheckBox>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>

using namespace tiradex;

namespace {

QString shownText(const QWidget *window)
{
    return Control<QTextEdit>(window, "RichTextBox1")->toPlainText();
}

QString crlf(QString text)
{
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

} // namespace

class TestReportWindows : public QObject
{
    Q_OBJECT

private:
    PlayWindowFixture f;
    FakeClipboard clipboard;

    FrmAvare *openPlay()
    {
        f.setUp({"A", "B"}, ReportsFixture::twoActs());
        FrmAvare *play = f.openWindow();
        play->setServices({&f.dialogs, &f.sound, &clipboard, nullptr});
        f.openScene(1, 1);
        return play;
    }

private Q_SLOTS:
    void statisticsWindowShowsAndCopiesTheReport()
    {
        FrmAvare *play = openPlay();
        Click(play, "CmdStat");
        auto *stats = ShownWindow<QWidget>("FrmStats");
        QVERIFY(stats);
        QVERIFY(!play->isEnabled());
        QCOMPARE(crlf(shownText(stats)).toUtf8(), Golden("two-acts.stats.txt"));
        Click(stats, "CmdClipBoard");
        QCOMPARE(clipboard.plain.toUtf8(), Golden("two-acts.stats.txt"));
        QCOMPARE(f.dialogs.texts().last(),
                 "The text was copied in the clipboard. You can now paste it in an editor.");
        stats->close();
        QTRY_VERIFY(play->isEnabled());
    }

    void durationsWindowCalculatesWithProgressAndNoReentry()
    {
        FrmAvare *play = openPlay();
        Click(play, "CmdCalculVox");
        auto *calculs = ShownWindow<FrmCalculs>("FrmCalculs");
        QVERIFY(calculs);
        Click(calculs, "CmdCalcul");
        QCOMPARE(f.dialogs.texts().last(), QStringLiteral("No registered Vox file."));
        calculs->close();
        QTRY_VERIFY(play->isEnabled());

        WriteVox(*f.state, "_0002_B", ToneWav(20), QByteArray("1,1,5\r\n"));
        WriteVox(*f.state, "_0007_B", ToneWav(20), QByteArray("2,1,7\r\n"));
        Click(play, "CmdCalculVox");
        calculs = ShownWindow<FrmCalculs>("FrmCalculs");
        QVERIFY(calculs);
        QVERIFY(calculs->ProgBar->isHidden());
        QStringList during;
        calculs->setExtractor([&](const QString &vox, const QString &folder) {
            during.append(QStringLiteral("%1 %2 %3")
                              .arg(calculs->ProgBar->isVisible())
                              .arg(calculs->CmdCalcul->isEnabled())
                              .arg(calculs->ProgBar->value()));
            // A second click while it runs is not taken.
            Click(calculs, "CmdCalcul");
            DefaultDurationRecordExtractor()(vox, folder);
        });
        Click(calculs, "CmdCalcul");
        QCOMPARE(during, (QStringList{"1 0 0", "1 0 0"}));
        QVERIFY(calculs->ProgBar->isHidden());
        QVERIFY(shownText(calculs).contains("Act 2 Scene 1 n° 0007 - B - Duration : 7 s.\n\n\n"
                                            "Total of the registered replies (2) : 12 seconds."));
        QVERIFY(calculs->CmdCalcul->isEnabled());
    }

    void sceneWindowMarksTheSelectedNamesOnTheClipboard()
    {
        FrmAvare *play = openPlay();
        Click(play, "CmdPrintScene");
        auto *scene = ShownWindow<FrmPrintText>("FrmPrintScene");
        QVERIFY(scene);
        scene->ListPersonnages->item(0)->setSelected(true);
        scene->ListPersonnages->item(1)->setSelected(true);
        Click(scene, "CmdSelect");
        Click(scene, "CmdClipBoard");
        QVERIFY(clipboard.rtf.contains("\\red255\\green0\\blue0;"));
        QCOMPARE(clipboard.rtf.count("\\b\\ul\\cf1 A\\par"), 2);
        QCOMPARE(clipboard.rtf.count("\\cf1"), 3);
        // A paste of the HTML into an editor keeps both names marked, and
        // only them.
        QTextEdit editor;
        editor.setHtml(clipboard.html);
        int red = 0;
        for (QTextBlock b = editor.document()->begin(); b.isValid(); b = b.next()) {
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat fmt = it.fragment().charFormat();
                red += fmt.foreground().color() == Qt::red && fmt.fontUnderline() &&
                       fmt.fontWeight() == QFont::Bold && it.fragment().text().size() == 1;
            }
        }
        QCOMPARE(red, 3);
        QCOMPARE(clipboard.plain, crlf(shownText(scene)));
        scene->RichTextBox1->clear();
        Click(scene, "CmdClipBoard");
        QCOMPARE(f.dialogs.texts().last(), QStringLiteral("Text zone is empty."));
    }

    void actWindowShowsReplyNumbersAtOnce()
    {
        FrmAvare *play = openPlay();
        Click(play, "CmdPrintActe");
        auto *act = ShownWindow<FrmPrintText>("FrmPrintActe");
        QVERIFY(act);
        QVERIFY(shownText(act).startsWith("SCENE 1. A place.\n\nA\nWords of 1.\n"));
        act->ListPersonnages->item(1)->setSelected(true);
        Click(act, "CheckNumReplique");
        QVERIFY(shownText(act).startsWith("SCENE 1. A place.\n\nA*0001\nWords of 1.\n"));
        QCOMPARE(act->shownText().marks.size(), 6);
        QVERIFY(act->shownText().marks.at(1).selected);
        act->close();
        QTRY_VERIFY(play->isEnabled());
    }
};

QTEST_MAIN(TestReportWindows)
#include "tst_reportwindows.moc"
