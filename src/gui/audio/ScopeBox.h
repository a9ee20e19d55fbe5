#pragma once

#include <QByteArray>
#include <QColor>
#include <QWidget>

namespace tiradex {

// The scope's picture box: a black box in which each sample is one light
// green point. Sample x of n lies at x / n of the width; value s (0 to 255)
// at height H - s * H / 255, so 0 is on the bottom edge and 255 on the top.
class ScopeBox : public QWidget
{
    Q_OBJECT

public:
    static QColor background() { return Qt::black; }
    static QColor foreground() { return QColor(0xC0, 0xFF, 0xC0); }

    explicit ScopeBox(QWidget *parent = nullptr);

    // Clears the box and plots `samples`.
    void plot(const QByteArray &samples);
    // Clears the box.
    void clear();
    const QByteArray &samples() const { return m_samples; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QByteArray m_samples;
};

} // namespace tiradex
