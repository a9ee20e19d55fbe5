#include "gui/app/FrmEntry.h"
#include "gui/app/MDIMain.h"
#include "gui/play/FrmAvare.h"

#include "FakeDialogs.h"
#include "WidgetDriver.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextEdit>

#include <memory>

using namespace tiradex;

// "The merchant of Venice ..." as the build ships it, opened from the menu of
// a frame started on an empty application folder.
class TestShippedPlayWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    Module1 m_state;
    FakeDialogs m_dialogs;

    std::unique_ptr<MDIMain> startFrame()
    {
        auto frame = std::make_unique<MDIMain>(m_state, m_dialogs);
        frame->setExitHandler([] {});
        frame->resize(1366, 740);
        frame->Load(m_dir.path(), QStringLiteral(TIRADEX_SHIPPED_DATA_DIR));
        frame->show();
        if (!QTest::qWaitForWindowExposed(frame.get()))
            qFatal("frame not shown");
        frame->startUpWindow()->close();
        frame->mnumarchandvenise->trigger();
        return frame;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_DATA_HOME", m_dir.path().toLocal8Bit());
    }

    void merchantOpensAndReadsReplyByReply()
    {
        std::unique_ptr<MDIMain> frame = startFrame();
        QVERIFY2(m_dialogs.shown.isEmpty(), qPrintable(m_dialogs.texts().join('|')));
        FrmAvare *play = frame->playWindow();
        auto *tree = Control<QTreeWidget>(play, "TreeView1");
        QCOMPARE(tree->topLevelItemCount(), 5);
        ClickNode(tree, TreeNode(tree, QStringLiteral("ACT 1"), QStringLiteral("SCENE 1")));
        QVERIFY(LabelText(play, "LbEntete").startsWith(QStringLiteral("ACT 1 - SCENE I.")));
        QCOMPARE(LabelText(play, "LbNom"), QStringLiteral("ANTONIO"));
        Click(play, "CmdPlus");
        Click(play, "CmdPlus");
        QCOMPARE(LabelText(play, "LbNom"), QStringLiteral("SALANIO"));
        QVERIFY(Control<QTextEdit>(play, "RichTextBox1")
                    ->toPlainText()
                    .startsWith(QStringLiteral("Believe me, sir")));

        frame->mnupersonnages->trigger();
        QVERIFY(m_dialogs.texts().value(0).contains(QStringLiteral("\r\nSHYLOCK - ")));
        QVERIFY(frame->close());
    }

    void convertedMerchantOpensAgainWithSameTree()
    {
        QVERIFY(QFileInfo::exists(m_state.PlayFolder)); // left by the case above
        std::unique_ptr<MDIMain> frame = startFrame();
        auto *tree = Control<QTreeWidget>(frame->playWindow(), "TreeView1");
        QCOMPARE(tree->topLevelItemCount(), 5);
        QCOMPARE(tree->topLevelItem(0)->childCount(), 3);
        QCOMPARE(m_dialogs.shown.size(), 1); // nothing new since the case above
    }
};

QTEST_MAIN(TestShippedPlayWindow)
#include "tst_shippedplaywindow.moc"
