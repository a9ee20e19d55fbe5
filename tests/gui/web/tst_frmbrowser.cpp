#include "gui/app/WebWindowLoader.h"
#include "gui/web/frmBrowser.h"

#include "WidgetDriver.h"
#include "core/app/AppTexts.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
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

    QString url(const QString &name) const
    {
        return QUrl::fromLocalFile(m_pages.filePath(name)).toString();
    }

    QStringList addresses() const
    {
        QStringList list;
        for (int i = 0; i < m_window->cboAddress->count(); ++i)
            list.append(m_window->cboAddress->itemText(i));
        return list;
    }

    void openOn(const QString &start)
    {
        m_window = std::make_unique<frmBrowser>(start, url(QStringLiteral("search.html")));
        m_window->resize(800, 600);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    // Types `address` in the address box and presses Enter.
    void type(const QString &address) const
    {
        m_window->cboAddress->lineEdit()->setText(address);
        QTest::keyClick(m_window->cboAddress->lineEdit(), Qt::Key_Return);
    }

    // "link" (a user's click: the browser skips pages left without one on
    // Back), "type <file>", or a toolbar button; then waits until the page
    // has loaded and the timer has put its title in the caption.
    void step(const QString &what)
    {
        frmBrowser &w = *m_window;
        QSignalSpy finished(w.brwWebBrowser, &QWebEngineView::loadFinished);
        if (what == QLatin1String("link"))
            QTest::mouseClick(w.brwWebBrowser->focusProxy(), Qt::LeftButton, {}, QPoint(60, 60));
        else if (what.startsWith(QLatin1String("type ")))
            type(url(what.mid(5)));
        else
            w.button(what)->trigger();
        QVERIFY2((finished.wait(20000) || !finished.isEmpty()) &&
                     QTest::qWaitFor([&] { return !w.timTimer->isActive(); }, 5000),
                 qPrintable(what + " did not finish loading"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_silent.listen(QHostAddress::LocalHost));
        for (const char *page : {"a:Page A:b", "b:Page B:a", "search:Search page:"}) {
            const QStringList parts = QString::fromLatin1(page).split(u':');
            QFile file(m_pages.filePath(parts[0] + ".html"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QStringLiteral("<html><head><title>%1</title></head><body><a href='%2.html' "
                                      "style='display:block;height:400px'>link</a></body></html>")
                           .arg(parts[1], parts[2])
                           .toUtf8());
        }
    }
    void cleanup() { m_window.reset(); }

    // The start address is the list's first; the caption is "In process..."
    // from the request on (before the browser reports anything), then the
    // page's title, even when the page cannot be reached; Back with no page
    // before loads nothing and leaves the caption; the window still works.
    void opensOnTheStartAddressEvenUnreachable()
    {
        QTcpServer probe; // closed once its port is known
        probe.listen(QHostAddress::LocalHost);
        const QString dead =
            QStringLiteral("http://127.0.0.1:%1/gone.html").arg(probe.serverPort());
        probe.close();
        openOn(dead);
        frmBrowser &w = *m_window;
        QCOMPARE(w.lblAddress->text(), QStringLiteral("Adress : "));
        QCOMPARE(addresses(), QStringList{dead});
        QVERIFY(w.busy() && w.timTimer->isActive());
        w.timTimerTick();
        QCOMPARE(w.windowTitle(), QStringLiteral("In process..."));
        QTRY_VERIFY_WITH_TIMEOUT(!w.busy() && !w.timTimer->isActive(), 20000);
        const QString shown = w.windowTitle();
        QVERIFY(shown != AppTexts::loading());
        w.button(QStringLiteral("Back"))->trigger();
        w.timTimerTick();
        QVERIFY(w.windowTitle() == shown && !w.timTimer->isActive());
        step(QStringLiteral("type b.html"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Page B"));
    }

    // One walk from page A: after each step, the caption and the address
    // list (latest first, each address once); then a page that never comes.
    void navigationKeepsCaptionAndAddressList()
    {
        const struct
        {
            const char *step;
            const char *caption;
            QStringList list; // page files
        } walk[] = {
            {"link", "Page B", {"b", "a"}},        {"Back", "Page A", {"a", "b"}},
            {"Forward", "Page B", {"b", "a"}},     {"Home", "Page A", {"a", "b"}},
            {"Refresh", "Page A", {"a", "b"}}, // a step fails when nothing loads
            {"type b.html", "Page B", {"b", "a"}}, {"Search", "Search page", {"search", "b", "a"}},
        };
        openOn(url(QStringLiteral("a.html")));
        QTRY_COMPARE_WITH_TIMEOUT(m_window->windowTitle(), QStringLiteral("Page A"), 20000);
        for (const auto &s : walk) {
            step(QLatin1String(s.step));
            QStringList expected{QLatin1String(s.caption)};
            for (const QString &page : s.list)
                expected.append(url(page + ".html"));
            QCOMPARE(QStringList{m_window->windowTitle()} + addresses(), expected);
            QCOMPARE(m_window->cboAddress->currentText(), expected[1]);
        }
        // Stop ends the wait for a page that never comes and shows the title.
        frmBrowser &w = *m_window;
        type(QStringLiteral("http://127.0.0.1:%1/").arg(m_silent.serverPort()));
        QTRY_VERIFY_WITH_TIMEOUT(m_silent.hasPendingConnections() && w.busy(), 20000);
        w.timTimerTick();
        QCOMPARE(w.windowTitle(), AppTexts::loading());
        w.button(QStringLiteral("Stop"))->trigger();
        QVERIFY(!w.timTimer->isActive() && w.windowTitle() != AppTexts::loading());
        QTRY_VERIFY_WITH_TIMEOUT(!w.busy(), 10000);
    }

    // The program opens the window from the web module, loaded on demand.
    void loaderOpensTheWindowFromTheModule()
    {
        QString error;
        const QString a = url(QStringLiteral("a.html"));
        std::unique_ptr<QWidget> window(WebWindowLoader(QStringLiteral(TIRADEX_BUILD_DIR "/bin"))
                                            .create(a, a, nullptr, &error));
        QVERIFY2(window, qPrintable(error));
        QCOMPARE(window->metaObject()->className(), "tiradex::frmBrowser");
        window->show();
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QStringLiteral("Page A"), 20000);
        QVERIFY(!WebWindowLoader(QStringLiteral("/nonexistent/bin")).create(a, a, nullptr, &error));
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
