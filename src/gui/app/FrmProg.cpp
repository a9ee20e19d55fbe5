#include "gui/app/FrmProg.h"

#include "core/app/AppTexts.h"

#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace tiradex {

FrmProg::FrmProg(QWidget *parent) : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FrmProg"));
    setWindowTitle(AppTexts::productName());
    setAutoFillBackground(true);
    Label1 = new QLabel(AppTexts::loadingFile(), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont font(QStringLiteral("Verdana"));
    font.setPointSizeF(Label1->font().pointSizeF() * 1.3);
    Label1->setFont(font);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFrameShape(QFrame::Box);
    Label1->setMargin(24);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Label1);
}

void FrmProg::showEvent(QShowEvent *event)
{
    adjustSize();
    if (const QScreen *where = screen()) {
        const QRect area = where->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    QWidget::showEvent(event);
}

} // namespace tiradex
