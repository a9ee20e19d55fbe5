#pragma once

#include <QWidget>

#include <functional>

class QAction;
class QComboBox;
class QLabel;
class QTimer;
class QToolBar;
class QWebEngineView;

namespace tiradex {

// The web window: an embedded browser with a toolbar (Back, Forward,
// Refresh, Home, Search, Stop), an editable list of the visited addresses
// (the latest first) and a caption that reads "In process..." while a page
// loads and the page's title once it has loaded. Home is the start address.
// A page that cannot be reached shows the browser's error page; the window
// stays open.
class frmBrowser : public QWidget
{
    Q_OBJECT

public:
    frmBrowser(const QString &startAddress, const QString &searchAddress,
               QWidget *parent = nullptr);

    QToolBar *tbToolBar = nullptr;
    QWidget *picAddress = nullptr;
    QLabel *lblAddress = nullptr;
    QComboBox *cboAddress = nullptr;
    QWebEngineView *brwWebBrowser = nullptr;
    QTimer *timTimer = nullptr;

    // The toolbar button of `key` ("Back", "Forward", ...), or null.
    QAction *button(const QString &key) const;
    // Whether the browser is loading a page.
    bool busy() const { return m_busy; }

public Q_SLOTS:
    void tbToolBarButtonClick(QAction *button);
    // Navigates to the address typed or picked in cboAddress.
    void cboAddressClick();
    void timTimerTick();

private:
    void navigate(const QString &address);
    void load(const std::function<void()> &request);
    void showTitle();
    void navigateComplete(const QUrl &url);

    QString m_home;
    QString m_search;
    bool m_busy = false;
};

} // namespace tiradex
