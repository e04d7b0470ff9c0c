#pragma once
#include "platform/ui/ChromiumView.h"
#include "platform/ui/FindControl.h"
#include "settings/ui/TSettingForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QWidget>

// The settings window's controls, found by their object names as a user's tool finds them.
struct SettingFormControls {
    explicit SettingFormControls(const TSettingForm& window) {
        find(window, sPageControl1, "sPageControl1");
        find(window, sTabSheet1, "sTabSheet1");
        find(window, sTabSheet2, "sTabSheet2");
        find(window, sTabSheet4, "sTabSheet4");
        find(window, sTabSheet6, "sTabSheet6");
        find(window, sTabSheet3, "sTabSheet3");
        find(window, sTabSheet5, "sTabSheet5");
        find(window, sTabSheet7, "sTabSheet7");
        find(window, Image1, "Image1");
        find(window, sRadioGroup1, "sRadioGroup1");
        find(window, sBitBtn8, "sBitBtn8");
        find(window, sBitBtn9, "sBitBtn9");
        find(window, sRadioGroup2, "sRadioGroup2");
        find(window, sEdit8, "sEdit8");
        find(window, sEdit1, "sEdit1");
        find(window, sButton1, "sButton1");
        find(window, sCheckBox2, "sCheckBox2");
        find(window, sRadioGroup3, "sRadioGroup3");
        find(window, sComboBox1, "sComboBox1");
        find(window, sRadioGroup4, "sRadioGroup4");
        find(window, sBitBtn10, "sBitBtn10");
        find(window, sBitBtn11, "sBitBtn11");
        find(window, sEdit5, "sEdit5");
        find(window, sEdit6, "sEdit6");
        find(window, sLabel1, "sLabel1");
        find(window, sEdit2, "sEdit2");
        find(window, sLabel2, "sLabel2");
        find(window, sEdit3, "sEdit3");
        find(window, sCheckBox1, "sCheckBox1");
        find(window, sBitBtn1, "sBitBtn1");
        find(window, sLabel3, "sLabel3");
        find(window, sEdit4, "sEdit4");
        find(window, sLabel4, "sLabel4");
        find(window, sBitBtn2, "sBitBtn2");
        find(window, sLabel11, "sLabel11");
        find(window, sLabel12, "sLabel12");
        find(window, sLabel13, "sLabel13");
        find(window, sButton2, "sButton2");
        find(window, sLabel5, "sLabel5");
        find(window, sLabel6, "sLabel6");
        find(window, sButton3, "sButton3");
        find(window, sBitBtn5, "sBitBtn5");
        find(window, sLabel7, "sLabel7");
        find(window, sBitBtn4, "sBitBtn4");
        find(window, sLabel9, "sLabel9");
        find(window, sBitBtn6, "sBitBtn6");
        find(window, sLabel10, "sLabel10");
        find(window, sBitBtn7, "sBitBtn7");
        find(window, sBitBtn12, "sBitBtn12");
        find(window, sLabel15, "sLabel15");
        find(window, sLabel17, "sLabel17");
        find(window, sLabel14, "sLabel14");
        find(window, sLabel18, "sLabel18");
        find(window, sBitBtn13, "sBitBtn13");
        find(window, sButton4, "sButton4");
        find(window, Chromium1, "Chromium1");
        find(window, sLabel16, "sLabel16");
        find(window, sProgressBar1, "sProgressBar1");
        find(window, sRadioGroup5, "sRadioGroup5");
        find(window, sRadioButton1, "sRadioButton1");
        find(window, sRadioButton2, "sRadioButton2");
        find(window, sRadioButton3, "sRadioButton3");
        find(window, sRadioButton4, "sRadioButton4");
        find(window, sRadioButton5, "sRadioButton5");
        find(window, sBitBtn14, "sBitBtn14");
        find(window, sEdit7, "sEdit7");
        find(window, sBitBtn15, "sBitBtn15");
    }

    QTabWidget* sPageControl1 = nullptr;
    QWidget* sTabSheet1 = nullptr;
    QWidget* sTabSheet2 = nullptr;
    QWidget* sTabSheet4 = nullptr;
    QWidget* sTabSheet6 = nullptr;
    QWidget* sTabSheet3 = nullptr;
    QWidget* sTabSheet5 = nullptr;
    QWidget* sTabSheet7 = nullptr;
    QLabel* Image1 = nullptr;
    QGroupBox* sRadioGroup1 = nullptr;
    QPushButton* sBitBtn8 = nullptr;
    QPushButton* sBitBtn9 = nullptr;
    QGroupBox* sRadioGroup2 = nullptr;
    QLineEdit* sEdit8 = nullptr;
    QLineEdit* sEdit1 = nullptr;
    QPushButton* sButton1 = nullptr;
    QCheckBox* sCheckBox2 = nullptr;
    QGroupBox* sRadioGroup3 = nullptr;
    QComboBox* sComboBox1 = nullptr;
    QGroupBox* sRadioGroup4 = nullptr;
    QPushButton* sBitBtn10 = nullptr;
    QPushButton* sBitBtn11 = nullptr;
    QLineEdit* sEdit5 = nullptr;
    QLineEdit* sEdit6 = nullptr;
    QLabel* sLabel1 = nullptr;
    QLineEdit* sEdit2 = nullptr;
    QLabel* sLabel2 = nullptr;
    QLineEdit* sEdit3 = nullptr;
    QCheckBox* sCheckBox1 = nullptr;
    QPushButton* sBitBtn1 = nullptr;
    QLabel* sLabel3 = nullptr;
    QLineEdit* sEdit4 = nullptr;
    QLabel* sLabel4 = nullptr;
    QPushButton* sBitBtn2 = nullptr;
    QLabel* sLabel11 = nullptr;
    QLabel* sLabel12 = nullptr;
    QLabel* sLabel13 = nullptr;
    QPushButton* sButton2 = nullptr;
    QLabel* sLabel5 = nullptr;
    QLabel* sLabel6 = nullptr;
    QPushButton* sButton3 = nullptr;
    QPushButton* sBitBtn5 = nullptr;
    QLabel* sLabel7 = nullptr;
    QPushButton* sBitBtn4 = nullptr;
    QLabel* sLabel9 = nullptr;
    QPushButton* sBitBtn6 = nullptr;
    QLabel* sLabel10 = nullptr;
    QPushButton* sBitBtn7 = nullptr;
    QPushButton* sBitBtn12 = nullptr;
    QLabel* sLabel15 = nullptr;
    QLabel* sLabel17 = nullptr;
    QLabel* sLabel14 = nullptr;
    QLabel* sLabel18 = nullptr;
    QPushButton* sBitBtn13 = nullptr;
    QPushButton* sButton4 = nullptr;
    ChromiumView* Chromium1 = nullptr;
    QLabel* sLabel16 = nullptr;
    QProgressBar* sProgressBar1 = nullptr;
    QGroupBox* sRadioGroup5 = nullptr;
    QRadioButton* sRadioButton1 = nullptr;
    QRadioButton* sRadioButton2 = nullptr;
    QRadioButton* sRadioButton3 = nullptr;
    QRadioButton* sRadioButton4 = nullptr;
    QRadioButton* sRadioButton5 = nullptr;
    QPushButton* sBitBtn14 = nullptr;
    QLineEdit* sEdit7 = nullptr;
    QPushButton* sBitBtn15 = nullptr;

private:
    template <typename T> static void find(const QObject& window, T*& control, const char* name) {
        control = FindControl<T>(window, QString::fromLatin1(name));
        if (!control)
            qFatal("the settings window has no control %s", name);
    }
};
