#include "core/annotations/PhotoFit.h"

namespace tiradex {

double PixelsToTwips(double pixels, double dotsPerInch)
{
    return dotsPerInch > 0 ? pixels * TwipsPerInch / dotsPerInch : 0.0;
}

double TwipsToPixels(double twips, double dotsPerInch)
{
    return twips * dotsPerInch / TwipsPerInch;
}

QSizeF FitBySteps(const QSizeF &natural, const QSizeF &box)
{
    double w = natural.width();
    double h = natural.height();
    if (w <= 0 || h <= 0 || box.width() <= 0 || box.height() <= 0)
        return QSizeF(qMax(0.0, w), qMax(0.0, h));
    while (w > box.width() || h > box.height()) {
        w *= 0.9;
        h *= 0.9;
    }
    return QSizeF(w, h);
}

QPointF CentreIn(const QSizeF &size, const QSizeF &box)
{
    return QPointF((box.width() - size.width()) / 2, (box.height() - size.height()) / 2);
}

} // namespace tiradex
