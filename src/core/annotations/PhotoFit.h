#pragma once

#include <QPointF>
#include <QSize>
#include <QSizeF>

namespace tiradex {

// Sizes in twips (1/1440 inch), the unit of the photo frames.
constexpr double TwipsPerInch = 1440.0;

// Twips of `pixels` on a screen of `dotsPerInch` (its real resolution).
double PixelsToTwips(double pixels, double dotsPerInch);
// Pixels of `twips` on a screen of `dotsPerInch`.
double TwipsToPixels(double twips, double dotsPerInch);

// Fit by steps: a picture wider or higher than `box` shrinks by factors of
// 0.9 on both sides together until it fits both ways; a picture that fits
// keeps its natural size (it is never enlarged). An empty size stays empty.
QSizeF FitBySteps(const QSizeF &natural, const QSizeF &box);

// The top left corner that centres `size` in `box`: ((W - w) / 2, (H - h) / 2).
QPointF CentreIn(const QSizeF &size, const QSizeF &box);

} // namespace tiradex
