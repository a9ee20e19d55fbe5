#pragma once

#include <QImage>
#include <QWidget>

class QLabel;

namespace tiradex {

// The screen resolution under `widget`, in dots per inch (96 without a screen).
double ScreenDpi(const QWidget *widget);

// A square frame of a given colour (the frame control `Image1`) in which a
// picture is shown fitted by steps and centred (the stretching image
// `Dessin1`, hidden until a picture is shown). A click on the picture
// sends clicked().
class PhotoFrame : public QWidget
{
    Q_OBJECT

public:
    // A frame `sideTwips` twips wide and high, of colour `colour`.
    PhotoFrame(double sideTwips, const QColor &colour, QWidget *parent = nullptr);

    // Shows `picture` in the frame: its natural size in twips on this
    // screen, fitted by steps of 0.9 into the frame, centred.
    void showPicture(const QImage &picture);
    // Hides the picture; the image takes the frame's size at (0, 0).
    void clearPicture();
    bool hasPicture() const;

    QLabel *Dessin1 = nullptr;

Q_SIGNALS:
    void clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    double m_sideTwips;
};

} // namespace tiradex
