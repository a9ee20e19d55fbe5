#include "gui/app/FrmAbout.h"

#include "core/app/AppTexts.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tiradex {

FrmAbout::FrmAbout(Dialogs &dialogs, Clipboard *clipboard, QWidget *parent)
    : QWidget(parent, Qt::Dialog), m_dialogs(dialogs), m_clipboard(clipboard)
{
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(QStringLiteral("About ") + AppTexts::productName());
    setAttribute(Qt::WA_DeleteOnClose);

    auto label = [this](const char *name, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        l->setAlignment(Qt::AlignCenter);
        return l;
    };
    Label1 = label("Label1", AppTexts::productName());
    QFont title(QStringLiteral("Arial Black"));
    title.setWeight(QFont::Black);
    title.setPointSizeF(font().pointSizeF() * 3);
    Label1->setFont(title);
    Label6 = label("Label6", AppTexts::version());
    Label5 = label("Label5", AppTexts::legalNotice());
    Label7 = label("Label7", AppTexts::companyLine());
    Label2 = label("Label2", AppTexts::email());
    Label2->setToolTip(AppTexts::emailToolTip());
    Label8 = label("Label8", AppTexts::webAddress());
    Label8->setToolTip(AppTexts::webToolTip());
    for (QLabel *link : {Label2, Label8}) {
        QFont underlined = link->font();
        underlined.setUnderline(true);
        link->setFont(underlined);
        link->setForegroundRole(QPalette::Link);
        link->setCursor(Qt::PointingHandCursor);
        link->setFocusPolicy(Qt::StrongFocus);
        link->installEventFilter(this);
    }
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &QWidget::close);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(30, 20, 30, 16);
    for (QLabel *l : {Label1, Label6, Label5, Label7, Label2, Label8})
        layout->addWidget(l);
    layout->addSpacing(10);
    layout->addWidget(Command1, 0, Qt::AlignCenter);
}

void FrmAbout::Label2Click()
{
    copyToClipboard(Label2->text(), AppTexts::emailCopied());
}

void FrmAbout::Label8Click()
{
    copyToClipboard(Label8->text(), AppTexts::webCopied());
}

void FrmAbout::copyToClipboard(const QString &text, const QString &message)
{
    if (m_clipboard)
        m_clipboard->setPlainText(text); // replaces whatever the clipboard held
    m_dialogs.information(this, message);
}

bool FrmAbout::eventFilter(QObject *watched, QEvent *event)
{
    bool activated = false;
    if (event->type() == QEvent::MouseButtonRelease) {
        activated = static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        activated = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    }
    if (activated && watched == Label2) {
        Label2Click();
        return true;
    }
    if (activated && watched == Label8) {
        Label8Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FrmAbout::showEvent(QShowEvent *event)
{
    adjustSize();
    if (const QScreen *where = screen()) {
        const QRect area = where->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    QWidget::showEvent(event);
}

} // namespace tiradex
