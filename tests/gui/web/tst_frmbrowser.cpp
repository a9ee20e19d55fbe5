#include "gui/app/WebWindowLoader.h"
#include "gui/web/frmBrowser.h"

#include "WidgetDriver.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWebEngineView>

#include <unistd.h>

#include <memory>

// A small web server on the loopback address: two pages that link to each
// other, a search page, and a page that never answers.
class PageServer : public QObject
{
    Q_OBJECT

public:
    QHash<QByteArray, int> hits; // requests per path

    bool start()
    {
        connect(&m_server, &QTcpServer::newConnection, this, &PageServer::accept);
        return m_server.listen(QHostAddress::LocalHost);
    }
    QString url(const char *path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
    }
    // An address where nothing listens.
    static QString deadUrl()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        const quint16 port = probe.serverPort();
        probe.close();
        return QStringLiteral("http://127.0.0.1:%1/gone.html").arg(port);
    }

private:
    void accept()
    {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        }
    }
    void serve(QTcpSocket *socket)
    {
        QByteArray &request = m_requests[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        const QByteArray path = request.split(' ').value(1);
        request.clear();
        ++hits[path];
        if (path == "/slow.html")
            return; // held open: the page stays loading
        QByteArray status = "200 OK";
        QByteArray body;
        if (path == "/a.html")
            body = "<html><head><title>Page A</title></head><body>"
                   "<a href='/b.html' style='display:block;height:400px'>Page B</a></body></html>";
        else if (path == "/b.html")
            body = "<html><head><title>Page B</title></head><body>"
                   "<a href='/a.html' style='display:block;height:400px'>Page A</a></body></html>";
        else if (path == "/search.html")
            body = "<html><head><title>Search page</title></head><body>find</body></html>";
        else
            status = "404 Not Found";
        socket->write("HTTP/1.1 " + status +
                      "\r\nContent-Type: text/html\r\nConnection: close\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_requests;
};

class TestFrmBrowser : public QObject
{
    Q_OBJECT

private:
    PageServer m_server;
    std::unique_ptr<frmBrowser> m_window;

    QString a() const { return m_server.url("/a.html"); }
    QString b() const { return m_server.url("/b.html"); }
    QString search() const { return m_server.url("/search.html"); }

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

    void step(const QString &what)
    {
        frmBrowser &w = *m_window;
        bool ok = false;
        if (what == QLatin1String("link")) {
            // A user's click: the browser skips pages left without one on Back.
            ok = loaded(w, [&] {
                QTest::mouseClick(w.brwWebBrowser->focusProxy(), Qt::LeftButton, {},
                                  QPoint(60, 60));
            });
        } else if (what.startsWith(QLatin1String("type "))) {
            const QString address = what.mid(5) == QLatin1String("dead")
                                        ? PageServer::deadUrl()
                                        : m_server.url(qPrintable(what.mid(5)));
            ok = loaded(w, [&] {
                w.cboAddress->lineEdit()->setText(address);
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
    void initTestCase() { QVERIFY(m_server.start()); }
    void cleanup() { m_window.reset(); }

    void opensOnTheStartAddressCaptionInProcessThenTitle()
    {
        m_window = std::make_unique<frmBrowser>(a(), search());
        frmBrowser &w = *m_window;
        QSignalSpy loadedSpy(w.brwWebBrowser, &QWebEngineView::loadFinished);
        w.show();
        QCOMPARE(w.lblAddress->text(), QStringLiteral("Adress : "));
        QStringList keys;
        for (QAction *action : w.tbToolBar->actions())
            keys.append(action->data().toString());
        QCOMPARE(keys, (QStringList{"Back", "Forward", "Refresh", "Home", "Search", "Stop"}));
        QVERIFY(w.timTimer->isActive());
        QCOMPARE(w.cboAddress->currentText(), a());
        // Busy from the request on, before the browser reports anything.
        QVERIFY(w.busy());
        w.timTimerTick();
        QCOMPARE(w.windowTitle(), QStringLiteral("In process..."));
        QVERIFY(w.timTimer->isActive());
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

    // Each row: steps after opening on page A; the caption and the address
    // list afterwards (latest first, each address once).
    void navigationKeepsCaptionAndAddressList_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("list"); // paths on the test server
        QTest::newRow("link") << QStringList{"link"} << "Page B"
                              << QStringList{"/b.html", "/a.html"};
        QTest::newRow("typed address moves to the top")
            << QStringList{"link", "type /a.html"} << "Page A" << QStringList{"/a.html", "/b.html"};
        QTest::newRow("back") << QStringList{"link", "Back"} << "Page A"
                              << QStringList{"/a.html", "/b.html"};
        QTest::newRow("back then forward") << QStringList{"link", "Back", "Forward"} << "Page B"
                                           << QStringList{"/b.html", "/a.html"};
        QTest::newRow("home is the start address")
            << QStringList{"link", "Home"} << "Page A" << QStringList{"/a.html", "/b.html"};
        QTest::newRow("search") << QStringList{"Search"} << "Search page"
                                << QStringList{"/search.html", "/a.html"};
        QTest::newRow("refresh") << QStringList{"link", "Refresh"} << "Page B"
                                 << QStringList{"/b.html", "/a.html"};
    }
    void navigationKeepsCaptionAndAddressList()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, caption);
        QFETCH(QStringList, list);
        openOn(a());
        QTRY_COMPARE_WITH_TIMEOUT(m_window->windowTitle(), QStringLiteral("Page A"), 20000);
        const int bHits = m_server.hits.value("/b.html");
        for (const QString &s : steps)
            step(s);
        QCOMPARE(m_window->windowTitle(), caption);
        QStringList expected;
        for (const QString &path : list)
            expected.append(m_server.url(qPrintable(path)));
        QCOMPARE(addresses(*m_window), expected);
        QCOMPARE(m_window->cboAddress->currentText(), expected.first());
        if (steps.contains(QStringLiteral("Refresh")))
            QCOMPARE(m_server.hits.value("/b.html"), bHits + 2); // the link, then the reload
    }

    void stopEndsTheWaitAndShowsTheTitle()
    {
        openOn(a());
        QTRY_COMPARE_WITH_TIMEOUT(m_window->windowTitle(), QStringLiteral("Page A"), 20000);
        frmBrowser &w = *m_window;
        const int held = m_server.hits.value("/slow.html");
        w.cboAddress->lineEdit()->setText(m_server.url("/slow.html"));
        QTest::keyClick(w.cboAddress->lineEdit(), Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(m_server.hits.value("/slow.html") > held && w.busy(), 20000);
        w.timTimerTick();
        QCOMPARE(w.windowTitle(), QStringLiteral("In process..."));
        w.button(QStringLiteral("Stop"))->trigger();
        QVERIFY(!w.timTimer->isActive());
        QVERIFY(w.windowTitle() != QStringLiteral("In process..."));
        QTRY_VERIFY_WITH_TIMEOUT(!w.busy(), 10000);
    }

    void unreachablePageStillOpensTheWindow_data()
    {
        QTest::addColumn<bool>("atStart");
        QTest::newRow("start address") << true;
        QTest::newRow("typed address") << false;
    }
    void unreachablePageStillOpensTheWindow()
    {
        QFETCH(bool, atStart);
        const QString dead = PageServer::deadUrl();
        if (atStart) {
            openOn(dead);
            QTRY_VERIFY_WITH_TIMEOUT(!m_window->timTimer->isActive(), 20000);
        } else {
            openOn(a());
            QTRY_COMPARE_WITH_TIMEOUT(m_window->windowTitle(), QStringLiteral("Page A"), 20000);
            step(QStringLiteral("type dead"));
        }
        QVERIFY(m_window->isVisible());
        QVERIFY(!m_window->busy());
        QVERIFY(m_window->windowTitle() != QStringLiteral("In process..."));
        QVERIFY(m_window->windowTitle() != QStringLiteral("Page A"));
        // The window still works: the next page loads.
        step(QStringLiteral("type /b.html"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Page B"));
    }

    // The program opens the window from the web module, loaded on demand.
    void loaderOpensTheWindowFromTheModule()
    {
        QString error;
        const QString bin = QStringLiteral(TIRADEX_BUILD_DIR "/bin");
        QPointer<QWidget> window(WebWindowLoader(bin).create(a(), search(), nullptr, &error));
        QVERIFY2(window, qPrintable(error));
        QCOMPARE(window->metaObject()->className(), "frmBrowser");
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
