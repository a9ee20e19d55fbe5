#include "gui/app/FrmEntry.h"
#include "gui/app/MDIMain.h"
#include "gui/play/FrmAvare.h"

#include "FakeDialogs.h"
#include "WidgetDriver.h"

#include <QTemporaryDir>
#include <QTextEdit>

using namespace tiradex;

// "The merchant of Venice ..." as the build ships it, opened from the menu of
// a frame started on an empty application folder, then once more from the
// scene store the first opening left.
class TestShippedPlayWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void merchantOpensReadsAndOpensAgain()
    {
        QTemporaryDir dir;
        qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
        Module1 state;
        FakeDialogs dialogs;
        for (int opening = 0; opening < 2; ++opening) {
            MDIMain frame(state, dialogs);
            frame.setExitHandler([] {});
            frame.resize(1366, 740);
            frame.Load(dir.path(), QStringLiteral(TIRADEX_SHIPPED_DATA_DIR));
            frame.show();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));
            frame.startUpWindow()->close();
            frame.mnumarchandvenise->trigger();
            FrmAvare *play = frame.playWindow();
            auto *tree = Control<QTreeWidget>(play, "TreeView1");
            QCOMPARE(tree->topLevelItemCount() * 10 + tree->topLevelItem(0)->childCount(), 53);
            ClickNode(tree, TreeNode(tree, QStringLiteral("ACT 1"), QStringLiteral("SCENE 1")));
            Click(play, "CmdPlus");
            Click(play, "CmdPlus");
            QVERIFY(LabelText(play, "LbEntete").startsWith(QStringLiteral("ACT 1 - SCENE I.")));
            QCOMPARE(LabelText(play, "LbNom"), QStringLiteral("SALANIO"));
            QVERIFY(Control<QTextEdit>(play, "RichTextBox1")
                        ->toPlainText()
                        .startsWith(QStringLiteral("Believe me, sir")));
            QVERIFY2(dialogs.shown.isEmpty(), qPrintable(dialogs.texts().join('|')));
            QVERIFY(frame.close());
        }
    }
};

QTEST_MAIN(TestShippedPlayWindow)
#include "tst_shippedplaywindow.moc"
