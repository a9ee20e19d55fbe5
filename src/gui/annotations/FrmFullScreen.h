#pragma once

#include <QImage>
#include <QWidget>

class QLabel;

namespace tiradex {

// The full-screen view of a photo: a window covering the screen in the
// photo frames' colour, the picture fitted by steps of 0.9 to the screen
// and centred. A click anywhere or Escape closes it and sends dismissed().
class FrmFullScreen : public QWidget
{
    Q_OBJECT

public:
    FrmFullScreen(const QImage &picture, QWidget *parent = nullptr);

    // Shows the view over the whole screen (also without a window manager
    // that honours the full-screen state) and brings it to the front.
    void showCovering();

    QLabel *Image2 = nullptr;

Q_SIGNALS:
    // The user left the view (click or Escape).
    void dismissed();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void placePicture();
    void leave();

    QImage m_picture;
};

} // namespace tiradex
