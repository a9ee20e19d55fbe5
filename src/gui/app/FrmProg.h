#pragma once

#include <QWidget>

class QLabel;

namespace tiradex {

// The small window shown while a play is converted: "Loading the file ...",
// centred on the screen.
class FrmProg : public QWidget
{
    Q_OBJECT

public:
    explicit FrmProg(QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
};

} // namespace tiradex
