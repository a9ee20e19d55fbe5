#include "gui/web/frmBrowser.h"

#include "core/app/AppTexts.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineView>

namespace tiradex {

frmBrowser::frmBrowser(const QString &startAddress, const QString &searchAddress, QWidget *parent)
    : QWidget(parent), m_home(startAddress), m_search(searchAddress)
{
    setObjectName(QStringLiteral("frmBrowser"));
    setWindowTitle(AppTexts::loading());
    setAttribute(Qt::WA_DeleteOnClose);

    tbToolBar = new QToolBar(this);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const struct
    {
        const char *key;
        QStyle::StandardPixmap icon;
        QKeySequence::StandardKey shortcut;
    } buttons[] = {
        {"Back", QStyle::SP_ArrowBack, QKeySequence::Back},
        {"Forward", QStyle::SP_ArrowForward, QKeySequence::Forward},
        {"Refresh", QStyle::SP_BrowserReload, QKeySequence::Refresh},
        {"Home", QStyle::SP_DirHomeIcon, QKeySequence::UnknownKey},
        {"Search", QStyle::SP_FileDialogContentsView, QKeySequence::UnknownKey},
        {"Stop", QStyle::SP_BrowserStop, QKeySequence::Cancel},
    };
    for (const auto &b : buttons) {
        QAction *action = tbToolBar->addAction(style()->standardIcon(b.icon), QLatin1String(b.key));
        action->setObjectName(QLatin1String(b.key));
        action->setData(QLatin1String(b.key));
        if (b.shortcut != QKeySequence::UnknownKey) {
            action->setShortcut(b.shortcut);
            action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        }
    }
    connect(tbToolBar, &QToolBar::actionTriggered, this, &frmBrowser::tbToolBarButtonClick);

    picAddress = new QWidget(this);
    picAddress->setObjectName(QStringLiteral("picAddress"));
    lblAddress = new QLabel(picAddress);
    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    cboAddress = new QComboBox(picAddress);
    cboAddress->setObjectName(QStringLiteral("cboAddress"));
    cboAddress->setEditable(true);
    cboAddress->setInsertPolicy(QComboBox::NoInsert); // the list is kept by navigateComplete
    cboAddress->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto *addressLayout = new QHBoxLayout(picAddress);
    addressLayout->setContentsMargins(4, 2, 4, 2);
    addressLayout->addWidget(lblAddress);
    addressLayout->addWidget(cboAddress, 1);
    connect(cboAddress, &QComboBox::activated, this, &frmBrowser::cboAddressClick);
    connect(cboAddress->lineEdit(), &QLineEdit::returnPressed, this, &frmBrowser::cboAddressClick);

    brwWebBrowser = new QWebEngineView(this);
    brwWebBrowser->setObjectName(QStringLiteral("brwWebBrowser"));
    connect(brwWebBrowser, &QWebEngineView::loadStarted, this, [this] { m_busy = true; });
    connect(brwWebBrowser, &QWebEngineView::loadFinished, this, [this](bool) {
        m_busy = false;
        showTitle(); // the download is complete
        navigateComplete(brwWebBrowser->url());
    });

    timTimer = new QTimer(this);
    timTimer->setObjectName(QStringLiteral("timTimer"));
    timTimer->setInterval(200);
    connect(timTimer, &QTimer::timeout, this, &frmBrowser::timTimerTick);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tbToolBar);
    layout->addWidget(picAddress);
    layout->addWidget(brwWebBrowser, 1);

    // Loading: the start address is the first of the list. A page that cannot
    // be reached leaves the window open on the browser's error page.
    lblAddress->setText(AppTexts::addressLabel());
    cboAddress->addItem(m_home);
    cboAddress->setCurrentIndex(0);
    navigate(m_home);
}

QAction *frmBrowser::button(const QString &key) const
{
    const QList<QAction *> actions = tbToolBar->actions();
    for (QAction *action : actions) {
        if (action->data().toString() == key)
            return action;
    }
    return nullptr;
}

void frmBrowser::navigate(const QString &address)
{
    timTimer->start();
    load([this, address] { brwWebBrowser->setUrl(QUrl::fromUserInput(address)); });
}

void frmBrowser::load(const std::function<void()> &request)
{
    // The browser reports the start of a load only once its page process
    // runs, which may be after the timer's first tick: the window counts as
    // busy from the request on, and the load's end clears it.
    m_busy = true;
    request();
}

void frmBrowser::cboAddressClick()
{
    const QString address = cboAddress->currentText().trimmed();
    if (!address.isEmpty())
        navigate(address);
}

void frmBrowser::tbToolBarButtonClick(QAction *action)
{
    timTimer->start();
    const QString key = action->data().toString();
    QWebEngineHistory *history = brwWebBrowser->history();
    // Back and Forward with no page to go to, and Refresh with no page, do
    // nothing: the browser would never report the end of a load.
    if (key == QLatin1String("Back")) {
        if (history->canGoBack())
            load([this] { brwWebBrowser->back(); });
    } else if (key == QLatin1String("Forward")) {
        if (history->canGoForward())
            load([this] { brwWebBrowser->forward(); });
    } else if (key == QLatin1String("Refresh")) {
        if (!brwWebBrowser->url().isEmpty())
            load([this] { brwWebBrowser->reload(); });
    } else if (key == QLatin1String("Home")) {
        load([this] { brwWebBrowser->setUrl(QUrl::fromUserInput(m_home)); });
    } else if (key == QLatin1String("Search")) {
        load([this] { brwWebBrowser->setUrl(QUrl::fromUserInput(m_search)); });
    } else if (key == QLatin1String("Stop")) {
        timTimer->stop();
        brwWebBrowser->stop();
        showTitle();
    }
}

void frmBrowser::timTimerTick()
{
    if (m_busy) {
        setWindowTitle(AppTexts::loading());
        return;
    }
    timTimer->stop();
    showTitle();
}

void frmBrowser::showTitle()
{
    setWindowTitle(brwWebBrowser->title());
}

void frmBrowser::navigateComplete(const QUrl &url)
{
    if (url.isEmpty())
        return;
    const QString address = url.toString();
    // The address moves to the top of the list; picking it there does not
    // navigate again.
    const QSignalBlocker quiet(cboAddress);
    for (int i = cboAddress->count() - 1; i >= 0; --i) {
        if (cboAddress->itemText(i) == address)
            cboAddress->removeItem(i);
    }
    cboAddress->insertItem(0, address);
    cboAddress->setCurrentIndex(0);
}

} // namespace tiradex
