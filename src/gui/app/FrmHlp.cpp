#include "gui/app/FrmHlp.h"

#include "core/app/AppTexts.h"

#include <QLabel>
#include <QVBoxLayout>

namespace tiradex {

FrmHlp::FrmHlp(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmHlp"));
    setWindowTitle(AppTexts::helpCaption());
    setAttribute(Qt::WA_DeleteOnClose);
    Label1 = new QLabel(AppTexts::helpNote(), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->addWidget(Label1);
}

QSize FrmHlp::sizeHint() const
{
    // A few lines of a comfortable width.
    const QMargins margins = layout()->contentsMargins();
    const int width = 480;
    return QSize(width + margins.left() + margins.right(),
                 Label1->heightForWidth(width) + margins.top() + margins.bottom());
}

QRect FrmHlp::PlaceInArea(const QSize &area, const QSize &size)
{
    return QRect(QPoint(qMax(0, (area.width() - size.width()) / 2),
                        qMax(0, (area.height() - size.height()) / 2)),
                 size);
}

} // namespace tiradex
