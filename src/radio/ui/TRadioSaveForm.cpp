#include "radio/ui/TRadioSaveForm.h"

#include "platform/UiText.h"
#include "platform/ui/CentreOnWindow.h"
#include "platform/ui/OwnedWindow.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TRadioSaveForm::TRadioSaveForm(QLineEdit* recordName, QWidget* mainWindow, QWidget* parent)
    : QDialog(parent ? parent : mainWindow, OwnedWindowFlags({})), recordName_(recordName),
      mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("RadioSaveForm"));
    setWindowTitle(QString());
    setFixedSize(230, 109);

    sLabel1 = new QLabel(
        UiText("RecordForm", "prompt", QStringLiteral("Ведите название для записываемого файла")), this);
    sLabel1->setObjectName(QStringLiteral("sLabel1"));
    sLabel1->setWordWrap(true);
    sLabel1->setGeometry(15, 10, 200, 26);

    sEdit1 = new QLineEdit(QStringLiteral("MyRecord"), this);
    sEdit1->setObjectName(QStringLiteral("sEdit1"));
    sEdit1->setGeometry(15, 45, 200, sEdit1->sizeHint().height());

    sBitBtn1 = new QPushButton(UiText("RecordForm", "ok", QStringLiteral("OK")), this);
    sBitBtn1->setObjectName(QStringLiteral("sBitBtn1"));
    sBitBtn1->setGeometry(15, 75, 75, 25);
    sBitBtn1->setDefault(true);

    // Escape rejects the dialog by itself, which is what Cancel does.
    sBitBtn2 = new QPushButton(UiText("RecordForm", "cancel", QStringLiteral("Cancel")), this);
    sBitBtn2->setObjectName(QStringLiteral("sBitBtn2"));
    sBitBtn2->setGeometry(140, 75, 75, 25);
    sBitBtn2->setAutoDefault(false);

    connect(sBitBtn1, &QPushButton::clicked, this, &TRadioSaveForm::sBitBtn1Click);
    connect(sBitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TRadioSaveForm::prepare(const QString& suggestedName, const QString& folderText) {
    if (!suggestedName.isEmpty())
        sEdit1->setText(suggestedName);
    folderText_ = folderText;
}

bool TRadioSaveForm::confirmName() {
    return exec() == QDialog::Accepted;
}

void TRadioSaveForm::showEvent(QShowEvent* event) {
    CentreOnWindow(this, mainWindow_);
    // Say where the file goes: in the hints, and the folder as the window's title.
    const QString where = folderText_.isEmpty() ? UiText("Recording", "folder",
                                                         QStringLiteral("Файл будет записан в папку:\\n%1"))
                                                      .replace(QLatin1String("\\n"), QLatin1String("\n"))
                                                      .arg(QDir::toNativeSeparators(QDir::currentPath()))
                                                : folderText_;
    sLabel1->setToolTip(where);
    sEdit1->setToolTip(where);
    setWindowTitle(where.section(QLatin1Char('\n'), -1));
    sEdit1->setFocus();
    QDialog::showEvent(event);
}

void TRadioSaveForm::sBitBtn1Click() {
    if (recordName_)
        recordName_->setText(sEdit1->text());
    accept();
}
