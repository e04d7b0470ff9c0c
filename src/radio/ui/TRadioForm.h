#pragma once
#include <QWidget>

class QAbstractButton;
class QAbstractSlider;
class QScrollBar;
class QToolButton;

// The main window's radio strip as the mini window sees it. Nothing here is owned.
struct MainRadioStrip {
    QWidget* window = nullptr;
    QAbstractButton* record = nullptr;   // sSpeedButton10
    QAbstractButton* stop = nullptr;     // sSpeedButton11
    QAbstractButton* radioOff = nullptr; // sSpeedButton12
    QAbstractSlider* volume = nullptr;   // sScrollBar1
};

// The mini radio: stands in for the main window while the user only listens. It has no player
// logic of its own; every control mirrors or raises its twin on the main window's radio strip.
class TRadioForm : public QWidget {
    Q_OBJECT
public:
    explicit TRadioForm(MainRadioStrip main, QWidget* parent = nullptr);

    // Main window's "mini radio" button: this window up, the main window away.
    void OpenMiniRadio();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Controls (objectName = member name).
    QToolButton* sSpeedButton1;
    QToolButton* sSpeedButton2;
    QToolButton* sSpeedButton3;
    QScrollBar* sScrollBar1;
    QToolButton* sSpeedButton4;

    void FormShow();
    void FormClose();
    void sScrollBar1Change(int position);
    void sSpeedButton1Click();
    void sSpeedButton2Click();
    void sSpeedButton3Click();
    void sSpeedButton4Click();
    void followMainPair();

    MainRadioStrip main_;
};
