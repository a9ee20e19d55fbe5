#pragma once

#include <QWidget>

class QLabel;

namespace tiradex {

// The help note: tells the user where the help page is. Shown centred in the
// frame's window area.
class FrmHlp : public QWidget
{
    Q_OBJECT

public:
    explicit FrmHlp(QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;

    QSize sizeHint() const override;

    // Where the note goes in an area of `area` size: its own size, centred.
    static QRect PlaceInArea(const QSize &area, const QSize &size);
};

} // namespace tiradex
