#include "gui/annotations/FrmFullScreen.h"

#include "gui/annotations/PhotoFrame.h"

#include "core/annotations/PhotoFit.h"

#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

namespace tiradex {

namespace {
const QColor FrameColour(0xFF, 0xE0, 0xC0);
}

FrmFullScreen::FrmFullScreen(const QImage &picture, QWidget *parent)
    : QWidget(parent, Qt::Window), m_picture(picture)
{
    setObjectName(QStringLiteral("FrmFullScreen"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, FrameColour);
    setPalette(palette);
    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setScaledContents(true);
    Image2->installEventFilter(this);
    Image2->hide();
    setFocusPolicy(Qt::StrongFocus);
}

void FrmFullScreen::showCovering()
{
    if (const QScreen *screen = this->screen())
        setGeometry(screen->geometry());
    showFullScreen();
    raise();
    activateWindow();
}

bool FrmFullScreen::event(QEvent *event)
{
    // Placed again each time the window is activated (the screen may change).
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)
        placePicture();
    return QWidget::event(event);
}

void FrmFullScreen::placePicture()
{
    const QScreen *screen = this->screen();
    if (!screen || m_picture.isNull())
        return;
    const double dpi = ScreenDpi(this);
    const QSize screenPixels = screen->geometry().size();
    const QSizeF screenTwips(PixelsToTwips(screenPixels.width(), dpi),
                             PixelsToTwips(screenPixels.height(), dpi));
    const QSizeF fitted = FitBySteps(
        QSizeF(PixelsToTwips(m_picture.width(), dpi), PixelsToTwips(m_picture.height(), dpi)),
        screenTwips);
    const QPointF corner = CentreIn(fitted, screenTwips);
    const QRect place(qRound(TwipsToPixels(corner.x(), dpi)),
                      qRound(TwipsToPixels(corner.y(), dpi)),
                      qMax(1, qRound(TwipsToPixels(fitted.width(), dpi))),
                      qMax(1, qRound(TwipsToPixels(fitted.height(), dpi))));
    if (Image2->geometry() != place || Image2->pixmap().isNull()) {
        Image2->setPixmap(QPixmap::fromImage(
            m_picture.scaled(place.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
        Image2->setGeometry(place);
    }
    Image2->show();
}

void FrmFullScreen::leave()
{
    Q_EMIT dismissed();
    close();
}

bool FrmFullScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Image2 && event->type() == QEvent::MouseButtonRelease) {
        leave();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FrmFullScreen::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        leave();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FrmFullScreen::mouseReleaseEvent(QMouseEvent *)
{
    leave();
}

} // namespace tiradex
