#include "closed/ui/TForm2.h"

#include "platform/ui/CentreOnWindow.h"
#include "platform/ui/OwnedWindow.h"
#include "settings/LanguagePack.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
LangLookup orShared(LangLookup f) {
    return f ? std::move(f) : LangLookup(&::LangText);
}
} // namespace

TForm2::TForm2(Deps deps, QWidget* mainWindow)
    : QDialog(mainWindow, OwnedWindowFlags(Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)),
      mainWindow_(mainWindow), gate_([&] {
          ClosedSectionGate::Deps g;
          g.code = std::move(deps.code);
          g.askForCode = std::move(deps.askForCode);
          g.showPrompt = [this] { ShowPrompt(); };
          g.showClosedLayout = std::move(deps.showClosedLayout);
          g.messages = deps.messages;
          g.langText = orShared(deps.langText);
          return g;
      }()) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QString());
    setModal(false);
    setFixedSize(341, 148);
    // Set on the window before its controls exist: a skin's application-wide sheet would otherwise
    // override the prompt's bold face, and a line edit reads its mask character only when created.
    setStyleSheet(QStringLiteral("QLabel#sLabel1 { font-weight: bold; } "
                                 "QLineEdit { lineedit-password-character: 42; }")); // '*'

    sLabel1 =
        new QLabel(orShared(deps.langText)(QStringLiteral("Message"), QStringLiteral("Password")), this);
    sLabel1->setObjectName(QStringLiteral("sLabel1"));
    sLabel1->setGeometry(16, 12, 309, 48);
    sLabel1->setWordWrap(true);

    sEdit1 = new QLineEdit(this);
    sEdit1->setObjectName(QStringLiteral("sEdit1"));
    sEdit1->setGeometry(16, 70, 309, 24);
    sEdit1->setEchoMode(QLineEdit::Password);
    sLabel1->setBuddy(sEdit1);

    sBitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    sBitBtn1->setObjectName(QStringLiteral("sBitBtn1"));
    sBitBtn1->setGeometry(133, 108, 75, 25);
    sBitBtn1->setDefault(true);
    connect(sBitBtn1, &QPushButton::clicked, this, &TForm2::sBitBtn1Click);
}

void TForm2::OpenClosedSection() {
    gate_.Open();
}

void TForm2::ShowPrompt() {
    if (!isVisible()) {
        CentreOnWindow(this, mainWindow_);
        show();
    }
    raise();
    activateWindow();
}

void TForm2::sBitBtn1Click() {
    if (gate_.Submit(sEdit1->text()))
        hide();
}
