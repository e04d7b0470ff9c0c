#include "app/ui/TDonationForm.h"

#include "platform/UiText.h"
#include "platform/ui/OwnedWindow.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QShowEvent>

TDonationForm::TDonationForm(QWidget* mainWindow)
    : QDialog(mainWindow, OwnedWindowFlags(Qt::WindowCloseButtonHint)), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("DonationForm"));
    setWindowTitle(QString());
    setFixedSize(341, 132);

    sLabel1 = new QLabel(this);
    sLabel1->setObjectName(QStringLiteral("sLabel1"));
    sLabel1->setGeometry(10, 10, 309, 39);
    sLabel1->setWordWrap(true);
    sLabel1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    sLabel1->setFont(font);
    sLabel1->setStyleSheet(QStringLiteral("color: black;"));
    sLabel1->setText(
        UiText("DonationForm", "text",
               QStringLiteral("Если вам понравилась программа и вы хотите помочь дальнейшему развитию, "
                              "то вы можете перечислить любую сумму на кошельки:")));

    sMemo1 = new QPlainTextEdit(this);
    sMemo1->setObjectName(QStringLiteral("sMemo1"));
    sMemo1->setGeometry(10, 58, 309, 55);
    sMemo1->setReadOnly(true);
    sMemo1->setTabChangesFocus(true);
    sMemo1->setStyleSheet(QStringLiteral("QPlainTextEdit { background: white; color: black; }"));
    sLabel1->setBuddy(sMemo1);
    sMemo1->setPlainText(QStringLiteral("WebMoney:\nR123456789012\nZ123456789012"));
}

void TDonationForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous() && mainWindow_)
        move(mainWindow_->geometry().center() - QPoint(width() / 2, height() / 2));
}
