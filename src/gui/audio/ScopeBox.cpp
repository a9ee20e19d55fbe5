#include "gui/audio/ScopeBox.h"

#include <QPainter>

namespace tiradex {

ScopeBox::ScopeBox(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background());
    setPalette(colours);
}

void ScopeBox::plot(const QByteArray &samples)
{
    m_samples = samples;
    update();
}

void ScopeBox::clear()
{
    m_samples.clear();
    update();
}

void ScopeBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), background());
    const qsizetype n = m_samples.size();
    if (n == 0)
        return;
    painter.setPen(foreground());
    // H is the last row, so that 0 lands on the bottom edge inside the box.
    const int h = height() - 1;
    for (qsizetype x = 0; x < n; ++x) {
        const int s = quint8(m_samples.at(x));
        painter.drawPoint(int(x * width() / n), h - s * h / 255);
    }
}

} // namespace tiradex
