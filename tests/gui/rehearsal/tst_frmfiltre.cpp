#include "gui/rehearsal/FrmFiltre.h"

#include "PlayWindowFixture.h"

#include <QApplication>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>

using namespace tiradex;

namespace {
const QString Hubert = QStringLiteral("HUBERT");
const QString Arthur = QStringLiteral("ARTHUR");
const QString Pandulph = QStringLiteral("PANDULPH"); // listed, never speaks
const QColor Red(255, 0, 0);
const QColor Black(0, 0, 0);
} // namespace

class TestFrmFiltre : public QObject
{
    Q_OBJECT

private:
    PlayWindowFixture f;

    // Act 1, scene 1: six replies, HUBERT and ARTHUR in turn (HUBERT first).
    void openPlay()
    {
        f.setUp({Hubert, Arthur, Pandulph},
                {TestPlay::numberedScene(1, 1, 1, 6, {Hubert, Arthur})});
        f.openWindow();
    }

    // Clicks the play window's filter button; the filter window it shows.
    FrmFiltre *openFilterWindow()
    {
        Click(f.play.get(), "CmdFiltres");
        for (QWidget *window : QApplication::topLevelWidgets()) {
            auto *filter = qobject_cast<FrmFiltre *>(window);
            if (filter && filter->isVisible()) {
                if (!QTest::qWaitForWindowExposed(filter))
                    qFatal("the filter window was not shown");
                return filter;
            }
        }
        qFatal("the filter window did not open");
    }

    static void doubleClick(FrmFiltre *window, const QString &name)
    {
        const QList<QListWidgetItem *> items = window->LstFiltre->findItems(name, Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        const QRect rect = window->LstFiltre->visualItemRect(items.first());
        // The press and release of the first click, then the second click.
        QTest::mouseClick(window->LstFiltre->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(window->LstFiltre->viewport(), Qt::LeftButton, {}, rect.center());
    }

private Q_SLOTS:
    void cleanup() { f.play.reset(); }

    void openingShowsTheFilterAndTheCharacters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<bool>("suppressEnabled");
        QTest::newRow("filter on HUBERT") << Hubert << true;
        QTest::newRow("no filter") << QString() << false;
    }
    void openingShowsTheFilterAndTheCharacters()
    {
        QFETCH(QString, filter);
        QFETCH(bool, suppressEnabled);
        openPlay();
        f.state->FilterCharacter = filter;
        FrmFiltre *window = openFilterWindow();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Filter"));
        QCOMPARE(window->Label1->text(), QStringLiteral("Filtred character :"));
        QCOMPARE(window->LbFiltre->text(), filter);
        QCOMPARE(window->CmdDelFiltre->text(), QStringLiteral("Suppress the filter"));
        QCOMPARE(window->CmdDelFiltre->isEnabled(), suppressEnabled);
        QStringList listed;
        for (int i = 0; i < window->LstFiltre->count(); ++i)
            listed.append(window->LstFiltre->item(i)->text());
        QCOMPARE(listed, (QStringList{Hubert, Arthur, Pandulph}));
        QVERIFY(!f.play->isEnabled());
        QVERIFY(window->isEnabled());
    }

    void choosingUpdatesTheShownReplyAtOnce_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("recordEnabled");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("the shown reply's character") << Hubert << true << Red;
        QTest::newRow("another character") << Arthur << false << Black;
    }
    void choosingUpdatesTheShownReplyAtOnce()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, recordEnabled);
        QFETCH(QColor, colour);
        openPlay();
        f.openScene(1, 1); // HUBERT's reply shown
        FrmFiltre *window = openFilterWindow();
        doubleClick(window, chosen);
        QCOMPARE(f.state->FilterCharacter, chosen);
        QCOMPARE(window->LbFiltre->text(), chosen);
        QVERIFY(window->CmdDelFiltre->isEnabled());
        QCOMPARE(f.enabledInPlayWindow("CmdRecordShow"), recordEnabled);
        QCOMPARE(f.nameColour(), colour);
        QVERIFY(window->isVisible()); // stays open for another choice
    }

    void returnChoosesTheCurrentLine()
    {
        openPlay();
        f.openScene(1, 1);
        FrmFiltre *window = openFilterWindow();
        window->LstFiltre->setFocus();
        window->LstFiltre->setCurrentRow(1);
        QTest::keyClick(window->LstFiltre, Qt::Key_Return);
        QCOMPARE(f.state->FilterCharacter, Arthur);
        QVERIFY(!f.enabledInPlayWindow("CmdRecordShow"));
    }

    void suppressingAllowsRecordingEveryReplyInBlack()
    {
        openPlay();
        f.openScene(1, 1);
        f.state->FilterCharacter = Hubert;
        FrmFiltre *window = openFilterWindow();
        QTest::mouseClick(window->CmdDelFiltre, Qt::LeftButton);
        QCOMPARE(f.state->FilterCharacter, QString());
        QCOMPARE(window->LbFiltre->text(), QString());
        QVERIFY(!window->CmdDelFiltre->isEnabled());
        QVERIFY(f.enabledInPlayWindow("CmdRecordShow"));
        QCOMPARE(f.nameColour(), Black);
    }

    void playWindowTakesNoClicksUntilTheFilterWindowCloses()
    {
        openPlay();
        f.openScene(1, 1);
        FrmFiltre *window = openFilterWindow();
        doubleClick(window, Arthur);
        Click(f.play.get(), "CmdPlus");
        QCOMPARE(f.label("LbCompteRepliques"), QStringLiteral("1/6"));
        QVERIFY(window->close());
        QTRY_VERIFY(f.play->isEnabled()); // once the closed window is gone
        Click(f.play.get(), "CmdPlus");
        QCOMPARE(f.label("LbCompteRepliques"), QStringLiteral("2/6"));
        QCOMPARE(f.state->FilterCharacter, Arthur); // kept after closing
        QVERIFY(f.enabled("CmdRecordShow"));        // ARTHUR's reply
        QCOMPARE(f.nameColour(), Red);
        Click(f.play.get(), "CmdPlus");
        QVERIFY(!f.enabled("CmdRecordShow"));
    }

    void closingThePlayWindowClosesTheFilterWindowAndForgetsTheFilter()
    {
        openPlay();
        FrmFiltre *opened = openFilterWindow();
        doubleClick(opened, Hubert);
        QPointer<FrmFiltre> window = opened;
        QVERIFY(f.play->close());
        QTRY_VERIFY(!window);
        QCOMPARE(f.state->FilterCharacter, QString());
        // The next play starts without a filter.
        f.openWindow();
        FrmFiltre *next = openFilterWindow();
        QCOMPARE(next->LbFiltre->text(), QString());
        QVERIFY(!next->CmdDelFiltre->isEnabled());
    }

    // In the frame window the filter window is a sub-window beside the play
    // window, and stays usable while the play window is disabled.
    void filterWindowIsASubWindowOfTheFrame()
    {
        openPlay();
        QMdiArea area;
        area.resize(1200, 800);
        FrmAvare *play = f.play.release();
        area.addSubWindow(play)->show();
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        QTest::mouseClick(Control<QAbstractButton>(play, "CmdFiltres"), Qt::LeftButton);
        QCOMPARE(area.subWindowList().size(), 2);
        auto *window = qobject_cast<FrmFiltre *>(area.subWindowList().at(1)->widget());
        QVERIFY(window);
        QVERIFY(!play->isEnabled());
        QVERIFY(window->isEnabled());
        QVERIFY(area.subWindowList().at(1)->close());
        QTRY_COMPARE(area.subWindowList().size(), 1);
        QTRY_VERIFY(play->isEnabled());
    }
};

QTEST_MAIN(TestFrmFiltre)
#include "tst_frmfiltre.moc"
