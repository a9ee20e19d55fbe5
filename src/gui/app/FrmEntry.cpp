#include "gui/app/FrmEntry.h"

#include "core/app/AppTexts.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace tiradex {

FrmEntry::FrmEntry(const QList<QAction *> &lockedEntries, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FrmEntry"));
    setWindowTitle(AppTexts::productName());
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0xfb, 0xf6, 0xe4));
    colours.setColor(QPalette::WindowText, QColor(0x5c, 0x12, 0x1c));
    setPalette(colours);

    Label3 = new QLabel(AppTexts::productName(), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    QFont title(QStringLiteral("Arial Black"));
    title.setWeight(QFont::Black);
    title.setPointSizeF(font().pointSizeF() * 4);
    Label3->setFont(title);
    Label2 = new QLabel(AppTexts::version(), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label1 = new QLabel(AppTexts::startUpCompany(), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    for (QLabel *label : {Label3, Label2, Label1})
        label->setAlignment(Qt::AlignCenter);
    LbCompte = new QLabel(QStringLiteral("0"), this);
    LbCompte->setObjectName(QStringLiteral("LbCompte"));
    LbCompte->hide();
    ProgBar = new QProgressBar(this);
    ProgBar->setObjectName(QStringLiteral("ProgBar"));
    ProgBar->setTextVisible(false);
    ProgBar->setRange(0, ProgressMaximum);
    ProgBar->setValue(0);

    // A plain border: the window has no frame of its own.
    auto *border = new QFrame(this);
    border->setFrameShape(QFrame::Box);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(border);
    auto *layout = new QVBoxLayout(border);
    layout->setContentsMargins(36, 24, 36, 24);
    layout->addWidget(Label3);
    layout->addWidget(Label2);
    layout->addWidget(Label1);
    layout->addSpacing(12);
    layout->addWidget(ProgBar);

    for (QAction *entry : lockedEntries) {
        m_lockedEntries.append(QPointer<QAction>(entry));
        entry->setEnabled(false);
    }
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &FrmEntry::Timer1Tick);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(18);
    connect(Timer2, &QTimer::timeout, this, &FrmEntry::Timer2Tick);
    Timer1->start();
    Timer2->start();
}

void FrmEntry::Timer1Tick()
{
    const int seconds = LbCompte->text().toInt() + 1;
    LbCompte->setText(QString::number(seconds));
    if (seconds == SecondsShown)
        close();
}

void FrmEntry::Timer2Tick()
{
    ProgBar->setValue(m_step); // beyond the maximum the bar keeps its value
    if (m_step <= ProgressMaximum)
        m_step += ProgressStep;
}

void FrmEntry::showEvent(QShowEvent *event)
{
    adjustSize();
    if (const QScreen *where = screen()) {
        const QRect area = where->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + area.height() / 4);
    }
    QWidget::showEvent(event);
}

void FrmEntry::closeEvent(QCloseEvent *event)
{
    Timer1->stop();
    Timer2->stop();
    for (const QPointer<QAction> &entry : std::as_const(m_lockedEntries)) {
        if (entry)
            entry->setEnabled(true);
    }
    m_lockedEntries.clear();
    QWidget::closeEvent(event);
}

} // namespace tiradex
