#include "gui/rehearsal/FrmFiltre.h"

#include "PlayWindowFixture.h"

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
} // namespace

class TestFrmFiltre : public QObject
{
    Q_OBJECT

private:
    PlayWindowFixture f;

    // Act 1, scene 1: six replies, HUBERT and ARTHUR in turn (HUBERT first),
    // shown on its first reply; the filter window opened by its button.
    FrmFiltre *openFilterWindow(const QString &filter = QString())
    {
        f.setUp({Hubert, Arthur, Pandulph},
                {TestPlay::numberedScene(1, 1, 1, 6, {Hubert, Arthur})});
        f.state->FilterCharacter = filter;
        f.openWindow();
        f.openScene(1, 1);
        f.click("CmdFiltres");
        auto *window = ShownWindow<FrmFiltre>();
        if (!window || !QTest::qWaitForWindowExposed(window))
            qFatal("the filter window did not open");
        return window;
    }

    static void doubleClick(FrmFiltre *window, const QString &name)
    {
        const QRect rect = window->LstFiltre->visualItemRect(
            window->LstFiltre->findItems(name, Qt::MatchExactly).value(0));
        // The press and release of the first click, then the second click.
        QTest::mouseClick(window->LstFiltre->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(window->LstFiltre->viewport(), Qt::LeftButton, {}, rect.center());
    }

    // The filter window's label and button, and whether the shown reply of
    // the play window is recordable and its speaker red.
    QString filterShown(const FrmFiltre *window) const
    {
        const bool red = f.nameColour() == QColor(255, 0, 0);
        return QStringLiteral("%1|%2|%3%4")
            .arg(window->LbFiltre->text(), window->CmdDelFiltre->isEnabled() ? "suppress" : "",
                 f.enabledInPlayWindow("CmdRecordShow") ? "recordable" : "", red ? " red" : "");
    }

private Q_SLOTS:
    void cleanup() { f.play.reset(); }

    void openingListsTheCharacters()
    {
        FrmFiltre *window = openFilterWindow();
        QStringList shown{window->windowTitle(), window->Label1->text(),
                          window->CmdDelFiltre->text()};
        for (int i = 0; i < window->LstFiltre->count(); ++i)
            shown.append(window->LstFiltre->item(i)->text());
        QCOMPARE(shown, (QStringList{"Filter", "Filtred character :", "Suppress the filter", Hubert,
                                     Arthur, Pandulph}));
        QCOMPARE(window->LstFiltre->currentRow(), 0);
    }

    // The filter set, shown and applied at once to the play window's reply
    // (HUBERT's); the filter window stays open for another choice.
    void choiceShowsAtOnce_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("shown");
        auto row = [](const char *name, const QString &filter, const char *action,
                      const char *shown) {
            QTest::newRow(name) << filter << QString::fromLatin1(action)
                                << QString::fromLatin1(shown);
        };
        row("opened on a filter", Hubert, "", "HUBERT|HUBERT|suppress|recordable red");
        row("the shown reply's character chosen", QString(), "HUBERT",
            "HUBERT|HUBERT|suppress|recordable red");
        row("another character chosen", QString(), "ARTHUR", "ARTHUR|ARTHUR|suppress|");
        row("return on the current line", QString(), "return", "ARTHUR|ARTHUR|suppress|");
        row("filter suppressed", Arthur, "suppress", "|||recordable");
    }
    void choiceShowsAtOnce()
    {
        QFETCH(QString, filter);
        QFETCH(QString, action);
        QFETCH(QString, shown);
        FrmFiltre *window = openFilterWindow(filter);
        if (action == QLatin1String("return")) {
            window->LstFiltre->setFocus();
            window->LstFiltre->setCurrentRow(1);
            QTest::keyClick(window->LstFiltre, Qt::Key_Return);
        } else if (action == QLatin1String("suppress")) {
            QTest::mouseClick(window->CmdDelFiltre, Qt::LeftButton);
        } else if (!action.isEmpty()) {
            doubleClick(window, action);
        }
        QCOMPARE(f.state->FilterCharacter + '|' + filterShown(window), shown);
        QVERIFY(window->isVisible() && window->isEnabled() && !f.play->isEnabled());
        // Closing the play window closes the filter window.
        const QPointer<FrmFiltre> open = window;
        QVERIFY(f.play->close());
        QTRY_VERIFY(!open);
    }

    void playWindowTakesNoClicksUntilTheFilterWindowCloses()
    {
        FrmFiltre *window = openFilterWindow();
        doubleClick(window, Arthur);
        f.click("CmdPlus");
        QCOMPARE(f.label("LbCompteRepliques"), QStringLiteral("1/6"));
        QVERIFY(window->close());
        QTRY_VERIFY(f.play->isEnabled()); // once the closed window is gone
        f.click("CmdPlus");
        QCOMPARE(f.label("LbCompteRepliques"), QStringLiteral("2/6"));
        QCOMPARE(f.state->FilterCharacter, Arthur); // kept after closing
    }

    // In the frame window the filter window is a sub-window beside the play
    // window, and stays usable while the play window is disabled.
    void filterWindowIsASubWindowOfTheFrame()
    {
        f.setUp({Hubert}, {TestPlay::numberedScene(1, 1, 1, 1, {Hubert})});
        f.openWindow();
        QMdiArea area;
        area.resize(1200, 800);
        FrmAvare *play = f.play.release();
        area.addSubWindow(play)->show();
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        Click(play, "CmdFiltres");
        QCOMPARE(area.subWindowList().size(), 2);
        auto *window = qobject_cast<FrmFiltre *>(area.subWindowList().at(1)->widget());
        QVERIFY(window && window->isEnabled() && !play->isEnabled());
        QVERIFY(area.subWindowList().at(1)->close());
        QTRY_COMPARE(area.subWindowList().size(), 1);
        QTRY_VERIFY(play->isEnabled());
    }
};

QTEST_MAIN(TestFrmFiltre)
#include "tst_frmfiltre.moc"
