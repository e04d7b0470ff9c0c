#include "radio/ui/TRadioForm.h"

#include "platform/UiText.h"
#include "platform/ui/CentreOnWindow.h"
#include "radio/ui/RadioIcons.h"
#include "radio/ui/VolumeBar.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QScrollBar>
#include <QShowEvent>
#include <QToolButton>

namespace {
QToolButton* speedButton(QWidget* owner, const char* name, const QString& hint, const QIcon& icon, int x) {
    auto* b = new QToolButton(owner);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    b->setIcon(icon);
    b->setIconSize(QSize(24, 24));
    b->setAutoRaise(true);
    b->setGeometry(x, 3, 32, 32);
    return b;
}
} // namespace

TRadioForm::TRadioForm(MainRadioStrip main, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint), main_(main) {
    setObjectName(QStringLiteral("RadioForm"));
    setWindowTitle(QString());
    setFixedSize(274, 37);

    sSpeedButton1 =
        speedButton(this, "sSpeedButton1", UiText("RadioStrip", "record", QStringLiteral("Записать радио")),
                    RadioIcons::record(), 5);
    sSpeedButton2 = speedButton(this, "sSpeedButton2",
                                UiText("RadioStrip", "stopRecord", QStringLiteral("Остановить запись")),
                                RadioIcons::stopRecording(), 5);
    sSpeedButton2->setVisible(false);
    sSpeedButton3 = speedButton(this, "sSpeedButton3",
                                UiText("RadioStrip", "radioOff", QStringLiteral("Выключить радио")),
                                RadioIcons::radioOff(), 40);

    sScrollBar1 = new QScrollBar(Qt::Horizontal, this);
    sScrollBar1->setObjectName(QStringLiteral("sScrollBar1"));
    sScrollBar1->setGeometry(75, 10, 155, 17);
    SetUpVolumeBar(*sScrollBar1);

    sSpeedButton4 = speedButton(
        this, "sSpeedButton4",
        UiText("RadioStrip", "backToMain", QStringLiteral("Вернуться к %1")).arg(QStringLiteral(ZELMO_NAME)),
        RadioIcons::backToMain(), 235);

    connect(sScrollBar1, &QScrollBar::valueChanged, this, &TRadioForm::sScrollBar1Change);
    connect(sSpeedButton1, &QToolButton::clicked, this, &TRadioForm::sSpeedButton1Click);
    connect(sSpeedButton2, &QToolButton::clicked, this, &TRadioForm::sSpeedButton2Click);
    connect(sSpeedButton3, &QToolButton::clicked, this, &TRadioForm::sSpeedButton3Click);
    connect(sSpeedButton4, &QToolButton::clicked, this, &TRadioForm::sSpeedButton4Click);
}

void TRadioForm::OpenMiniRadio() {
    show();
    raise();
    activateWindow();
    main_.window->hide();
}

void TRadioForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TRadioForm::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TRadioForm::FormShow() {
    CentreOnWindow(this, main_.window);
    followMainPair();
    sScrollBar1->setValue(main_.volume->value());
}

void TRadioForm::FormClose() {
    // Visibility is read as set (isHidden), not as seen: the main window is hidden meanwhile.
    main_.record->setVisible(!sSpeedButton1->isHidden());
    main_.stop->setVisible(!sSpeedButton2->isHidden());
    main_.volume->setValue(sScrollBar1->value());
    main_.window->show();
}

void TRadioForm::sScrollBar1Change(int position) {
    main_.volume->setValue(position);
}

void TRadioForm::sSpeedButton1Click() {
    main_.record->click();
    // The main pair knows whether the recording really started (the prompt may be cancelled,
    // the encoder may refuse); this pair only follows it.
    followMainPair();
}

void TRadioForm::sSpeedButton2Click() {
    main_.stop->click();
    followMainPair();
}

void TRadioForm::sSpeedButton3Click() {
    main_.radioOff->click();
}

void TRadioForm::sSpeedButton4Click() {
    close();
}

void TRadioForm::followMainPair() {
    sSpeedButton1->setVisible(!main_.record->isHidden());
    sSpeedButton2->setVisible(!main_.stop->isHidden());
}
