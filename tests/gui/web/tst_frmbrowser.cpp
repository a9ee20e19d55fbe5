#include "gui/app/WebWindowLoader.h"
#include "gui/web/frmBrowser.h"

#include "WidgetDriver.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>

#include <unistd.h>

#include <memory>

using namespace tiradex;

// Pages for the browser: two that link to each other and a search page, as
// files; a server that takes requests and never answers; an address where
// nothing listens.
class TestFrmBrowser : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_pages;
    QTcpServer m_silent; // a page there stays loading
    std::unique_ptr<frmBrowser> m_window;

    QString url(const char *name) const
    {
        return QUrl::fromLocalFile(m_pages.filePath(QLatin1String(name))).toString();
    }
    QString a() const { return url("a.html"); }
    QString search() const { return url("search.html"); }
    QString slow() const
    {
        return QStringLiteral("http://127.0.0.1:%1/").arg(m_silent.serverPort());
    }
    static QString deadUrl()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        return QStringLiteral("http://127.0.0.1:%1/gone.html").arg(probe.serverPort());
    }

    static QStringList addresses(const frmBrowser &window)
    {
        QStringList list;
        for (int i = 0; i < window.cboAddress->count(); ++i)
            list.append(window.cboAddress->itemText(i));
        return list;
    }

    // Runs `action` and waits until the page it started has loaded and the
    // timer has put the title in the caption.
    static bool loaded(frmBrowser &window, const std::function<void()> &action)
    {
        QSignalSpy finished(window.brwWebBrowser, &QWebEngineView::loadFinished);
        action();
        if (!finished.wait(20000) && finished.isEmpty())
            return false;
        return QTest::qWaitFor([&] { return !window.timTimer->isActive(); }, 5000);
    }

    void openOn(const QString &start)
    {
        m_window = std::make_unique<frmBrowser>(start, search());
        m_window->resize(800, 600);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    // "link" (a user's click: the browser skips pages left without one on
    // Back), "type <file>", or a toolbar button; false when no load ended.
    void step(const QString &what)
    {
        frmBrowser &w = *m_window;
        bool ok = false;
        if (what == QLatin1String("link")) {
            ok = loaded(w, [&] {
                QTest::mouseClick(w.brwWebBrowser->focusProxy(), Qt::LeftButton, {},
                                  QPoint(60, 60));
            });
        } else if (what.startsWith(QLatin1String("type "))) {
            ok = loaded(w, [&] {
                w.cboAddress->lineEdit()->setText(url(qPrintable(what.mid(5))));
                QTest::keyClick(w.cboAddress->lineEdit(), Qt::Key_Return);
            });
        } else {
            QAction *button = w.button(what);
            QVERIFY2(button, qPrintable(what));
            ok = loaded(w, [&] { button->trigger(); });
        }
        QVERIFY2(ok, qPrintable(what + " did not finish loading"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_silent.listen(QHostAddress::LocalHost));
        const auto page = [this](const char *name, const char *title, const char *link) {
            QFile file(m_pages.filePath(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("<html><head><title>") + title +
                       "</title></head><body><a href='" + link +
                       "' style='display:block;height:400px'>link</a></body></html>");
        };
        page("a.html", "Page A", "b.html");
        page("b.html", "Page B", "a.html");
        page("search.html", "Search page", "");
    }
    void cleanup() { m_window.reset(); }

    void opensOnTheStartAddressCaptionInProcessThenTitle()
    {
        m_window = std::make_unique<frmBrowser>(a(), search());
        frmBrowser &w = *m_window;
        QSignalSpy loadedSpy(w.brwWebBrowser, &QWebEngineView::loadFinished);
        w.show();
        QCOMPARE(w.lblAddress->text(), QStringLiteral("Adress : "));
        QCOMPARE(w.cboAddress->currentText(), a());
        // Busy from the request on, before the browser reports anything.
        QVERIFY(w.busy() && w.timTimer->isActive());
        w.timTimerTick();
        QCOMPARE(w.windowTitle(), QStringLiteral("In process..."));
        QTRY_VERIFY_WITH_TIMEOUT(!loadedSpy.isEmpty(), 20000);
        w.timTimerTick();
        QCOMPARE(w.windowTitle(), QStringLiteral("Page A"));
        QVERIFY(!w.timTimer->isActive());
        QCOMPARE(addresses(w), QStringList{a()});
        // Back with no page before: nothing loads, and the caption does not
        // stay "In process...".
        w.button(QStringLiteral("Back"))->trigger();
        w.timTimerTick();
        QCOMPARE(w.windowTitle(), QStringLiteral("Page A"));
        QVERIFY(!w.timTimer->isActive());
    }

    // One walk from page A: after each step, the caption and the address
    // list (latest first, each address once).
    void navigationKeepsCaptionAndAddressList()
    {
        const struct
        {
            const char *step;
            const char *caption;
            QStringList list; // page files
        } walk[] = {
            {"link", "Page B", {"b.html", "a.html"}},
            {"Back", "Page A", {"a.html", "b.html"}},
            {"Forward", "Page B", {"b.html", "a.html"}},
            {"Home", "Page A", {"a.html", "b.html"}},
            {"Refresh", "Page A", {"a.html", "b.html"}}, // a step fails when nothing loads
            {"type b.html", "Page B", {"b.html", "a.html"}},
            {"Search", "Search page", {"search.html", "b.html", "a.html"}},
        };
        openOn(a());
        QTRY_COMPARE_WITH_TIMEOUT(m_window->windowTitle(), QStringLiteral("Page A"), 20000);
        for (const auto &s : walk) {
            step(QLatin1String(s.step));
            QCOMPARE(m_window->windowTitle(), QLatin1String(s.caption));
            QStringList expected;
            for (const QString &path : s.list)
                expected.append(url(qPrintable(path)));
            QCOMPARE(addresses(*m_window), expected);
            QCOMPARE(m_window->cboAddress->currentText(), expected.first());
        }
    }

    void stopEndsTheWaitAndShowsTheTitle()
    {
        openOn(a());
        QTRY_COMPARE_WITH_TIMEOUT(m_window->windowTitle(), QStringLiteral("Page A"), 20000);
        frmBrowser &w = *m_window;
        w.cboAddress->lineEdit()->setText(slow());
        QTest::keyClick(w.cboAddress->lineEdit(), Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(m_silent.hasPendingConnections() && w.busy(), 20000);
        w.timTimerTick();
        QCOMPARE(w.windowTitle(), QStringLiteral("In process..."));
        w.button(QStringLiteral("Stop"))->trigger();
        QVERIFY(!w.timTimer->isActive());
        QVERIFY(w.windowTitle() != QStringLiteral("In process..."));
        QTRY_VERIFY_WITH_TIMEOUT(!w.busy(), 10000);
    }

    void unreachableStartPageStillOpensTheWindow()
    {
        openOn(deadUrl());
        QTRY_VERIFY_WITH_TIMEOUT(!m_window->timTimer->isActive(), 20000);
        QVERIFY(m_window->isVisible() && !m_window->busy());
        QVERIFY(m_window->windowTitle() != QStringLiteral("In process..."));
        // The window still works: the next page loads.
        step(QStringLiteral("type b.html"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Page B"));
    }

    // The program opens the window from the web module, loaded on demand.
    void loaderOpensTheWindowFromTheModule()
    {
        QString error;
        const QString bin = QStringLiteral(TIRADEX_BUILD_DIR "/bin");
        QPointer<QWidget> window(WebWindowLoader(bin).create(a(), search(), nullptr, &error));
        QVERIFY2(window, qPrintable(error));
        QCOMPARE(window->metaObject()->className(), "tiradex::frmBrowser");
        window->show();
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QStringLiteral("Page A"), 20000);
        delete window.data();

        QVERIFY(!WebWindowLoader(QStringLiteral("/nonexistent/bin"))
                     .create(a(), search(), nullptr, &error));
        QVERIFY(error.contains(QStringLiteral("tiradex-web.so")));
    }
};

int main(int argc, char *argv[])
{
    // The browser's sandbox refuses to run as root; users never need this.
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    TestFrmBrowser test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmbrowser.moc"
