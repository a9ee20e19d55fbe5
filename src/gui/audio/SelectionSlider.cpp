#include "gui/audio/SelectionSlider.h"

#include <QPainter>

#include <algorithm>

namespace tiradex {

SelectionSlider::SelectionSlider(QWidget *parent) : QSlider(Qt::Horizontal, parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void SelectionSlider::setSelectionLength(int length)
{
    m_selectionLength = length;
    update();
}

void SelectionSlider::paintEvent(QPaintEvent *event)
{
    QSlider::paintEvent(event);
    const int span = maximum() - minimum();
    if (span <= 0 || m_selectionLength <= 0)
        return;
    auto toX = [&](int value) {
        const int clamped = std::clamp(value, minimum(), maximum());
        return int(qint64(clamped - minimum()) * (width() - 1) / span);
    };
    const int left = toX(m_selectionStart);
    const int right = toX(m_selectionStart + m_selectionLength);
    QPainter painter(this);
    painter.fillRect(QRect(left, height() - 4, std::max(right - left, 1), 3),
                     palette().color(QPalette::Highlight));
}

} // namespace tiradex
