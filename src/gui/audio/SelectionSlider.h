#pragma once

#include <QSlider>

namespace tiradex {

// A horizontal slider that shows a selected range (from selectionStart()
// over selectionLength()) as a band under its groove, and takes no mouse or
// key input: it only displays a position.
class SelectionSlider : public QSlider
{
    Q_OBJECT

public:
    explicit SelectionSlider(QWidget *parent = nullptr);

    int selectionStart() const { return m_selectionStart; }
    int selectionLength() const { return m_selectionLength; }
    void setSelectionLength(int length);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_selectionStart = 0;
    int m_selectionLength = 0;
};

} // namespace tiradex
