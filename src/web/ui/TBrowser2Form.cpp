#include "web/ui/TBrowser2Form.h"

#include "platform/SlotGuard.h"
#include "platform/UiText.h"
#include "platform/ui/BrowserView.h"
#include "web/ui/FormFiller.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TBrowser2Form::TBrowser2Form(WebView& mainView, QWidget* mainWindow)
    : PartnerForm(mainView, mainWindow, QStringLiteral("/title/2.3.html"), QSize(664, 608), {}),
      SeeTVWebBrowser(new BrowserView(this)), sPanel1(new QFrame(this)), sLabel1(new QLabel(sPanel1)),
      sEdit1(new QLineEdit(sPanel1)), sLabel2(new QLabel(sPanel1)), sEdit2(new QLineEdit(sPanel1)),
      sBitBtn1(new QPushButton(sPanel1)) {
    setObjectName(QStringLiteral("Browser2Form"));
    SeeTVWebBrowser->setObjectName(QStringLiteral("SeeTVWebBrowser"));
    // Shifted up and left so that the player's region shows; it ends where the login strip begins.
    SeeTVWebBrowser->setGeometry(-185, -247, 850, 820);

    sPanel1->setObjectName(QStringLiteral("sPanel1"));
    sPanel1->setGeometry(0, 608 - 35, 664, 35);
    sPanel1->setAutoFillBackground(true);
    // The strip's positions are tight: at the desktop's default font size the labels run under the
    // fields and the button's caption is clipped. A style sheet, as the skin's application-wide sheet
    // would override a plain font; it is set before the fields are touched, which is when they take
    // their password character from it.
    sPanel1->setStyleSheet(QStringLiteral("QLabel { font-size: 11px; }"
                                          "QLineEdit { font-size: 11px; lineedit-password-character: 42; }"
                                          "QPushButton { font-size: 11px; padding: 0px; }"));

    sLabel1->setObjectName(QStringLiteral("sLabel1"));
    sLabel1->setText(UiText("LoginForm", "login", QStringLiteral("Логин")));
    sLabel1->move(10, 9);
    sLabel1->adjustSize();
    sEdit1->setObjectName(QStringLiteral("sEdit1"));
    sEdit1->setGeometry(45, 6, 121, 21);
    sEdit1->setText(QStringLiteral("Zelmo"));

    sLabel2->setObjectName(QStringLiteral("sLabel2"));
    sLabel2->setText(UiText("LoginForm", "password", QStringLiteral("Пароль")));
    sLabel2->move(175, 9);
    sLabel2->adjustSize();
    sEdit2->setObjectName(QStringLiteral("sEdit2"));
    sEdit2->setGeometry(220, 6, 121, 21);
    sEdit2->setText(QStringLiteral("Pomex"));
    sEdit2->setEchoMode(QLineEdit::Password);
    sLabel1->setBuddy(sEdit1);
    sLabel2->setBuddy(sEdit2);

    sBitBtn1->setObjectName(QStringLiteral("sBitBtn1"));
    sBitBtn1->setText(UiText("LoginForm", "signIn", QStringLiteral("Авторизироваться")));
    sBitBtn1->setGeometry(360, 5, 110, 25);

    sEdit1->installEventFilter(this);
    sEdit2->installEventFilter(this);
    connect(sBitBtn1, &QPushButton::clicked, this, SlotGuard::Guarded(this, &TBrowser2Form::sBitBtn1Click));
}

void TBrowser2Form::openPage(const QString& url) {
    SeeTVWebBrowser->navigate(url);
}

void TBrowser2Form::blankView() {
    SeeTVWebBrowser->navigate(QStringLiteral("about:blank"));
}

bool TBrowser2Form::eventFilter(QObject* watched, QEvent* event) {
    // Every press into a field empties it, even one that already holds typed text; the press
    // itself still reaches the field (focus, caret).
    // Under an application-wide style sheet the field read its password character before the
    // strip's sheet reached it; once polished it must read it again.
    if (event->type() == QEvent::Show && watched == sEdit2) {
        QEvent styleChange(QEvent::StyleChange);
        QCoreApplication::sendEvent(sEdit2, &styleChange);
    }
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == sEdit1)
            sEdit1Click();
        else if (watched == sEdit2)
            sEdit2Click();
    }
    return PartnerForm::eventFilter(watched, event);
}

void TBrowser2Form::sEdit1Click() {
    sEdit1->clear();
}

void TBrowser2Form::sEdit2Click() {
    sEdit2->clear();
}

void TBrowser2Form::sBitBtn1Click() {
    FillFormField(*SeeTVWebBrowser, QStringLiteral("login"), sEdit1->text());
    FillFormField(*SeeTVWebBrowser, QStringLiteral("pass"), sEdit2->text());
    ClickSubmitButtons(*SeeTVWebBrowser);
}
