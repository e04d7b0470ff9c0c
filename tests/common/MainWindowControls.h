#pragma once
#include "app/ui/TForm1.h"
#include "platform/ui/ChromiumView.h"
#include "platform/ui/FindControl.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSystemTrayIcon>
#include <QToolButton>

#include <array>

// The main window's controls, found by their object names as a user's tool finds them.
struct MainWindowControls {
    explicit MainWindowControls(const TForm1& window) {
        find(window, sBitBtn1, "sBitBtn1");
        find(window, sBitBtn2, "sBitBtn2");
        find(window, sBitBtn3, "sBitBtn3");
        find(window, sBitBtn4, "sBitBtn4");
        find(window, sBitBtn5, "sBitBtn5");
        find(window, sBitBtn6, "sBitBtn6");
        find(window, sBitBtn7, "sBitBtn7");
        find(window, sBitBtn8, "sBitBtn8");
        find(window, sBitBtn9, "sBitBtn9");
        find(window, sBitBtn44, "sBitBtn44");
        find(window, sBitBtn45, "sBitBtn45");
        find(window, sPanel1, "sPanel1");
        find(window, Chromium1, "Chromium1");
        find(window, sLabel1, "sLabel1");
        find(window, sLabel2, "sLabel2");
        find(window, sLabel3, "sLabel3");
        find(window, sLabel4, "sLabel4");
        find(window, sPanel2, "sPanel2");
        find(window, sScrollBar1, "sScrollBar1");
        find(window, sSpeedButton10, "sSpeedButton10");
        find(window, sSpeedButton11, "sSpeedButton11");
        find(window, sSpeedButton12, "sSpeedButton12");
        find(window, sSpeedButton13, "sSpeedButton13");
        find(window, sSpeedButton14, "sSpeedButton14");
        find(window, VolumeCaption, "VolumeCaption");
        find(window, sEdit1, "sEdit1");
        find(window, sSpeedButton1, "sSpeedButton1");
        find(window, sSpeedButton2, "sSpeedButton2");
        find(window, sSpeedButton3, "sSpeedButton3");
        find(window, sSpeedButton4, "sSpeedButton4");
        find(window, sSpeedButton5, "sSpeedButton5");
        find(window, sSpeedButton6, "sSpeedButton6");
        find(window, sSpeedButton7, "sSpeedButton7");
        find(window, sSpeedButton8, "sSpeedButton8");
        find(window, sSpeedButton9, "sSpeedButton9");
        find(window, StartTVButton, "StartTVButton");
        find(window, Button1, "Button1");
        find(window, TrayIcon1, "TrayIcon1");
        find(window, PopupMenu1, "PopupMenu1");
        find(*PopupMenu1, N1, "N1");
        for (int k = 1; k <= GridSurface::kSlots; ++k)
            Slots[static_cast<size_t>(k - 1)] = window.slotButton(k);
    }

    QPushButton* sBitBtn1 = nullptr;
    QPushButton* sBitBtn2 = nullptr;
    QPushButton* sBitBtn3 = nullptr;
    QPushButton* sBitBtn4 = nullptr;
    QPushButton* sBitBtn5 = nullptr;
    QPushButton* sBitBtn6 = nullptr;
    QPushButton* sBitBtn7 = nullptr;
    QPushButton* sBitBtn8 = nullptr;
    QPushButton* sBitBtn9 = nullptr;
    QPushButton* sBitBtn44 = nullptr;
    QPushButton* sBitBtn45 = nullptr;
    QFrame* sPanel1 = nullptr;
    ChromiumView* Chromium1 = nullptr;
    QLabel* sLabel1 = nullptr;
    QLabel* sLabel2 = nullptr;
    QLabel* sLabel3 = nullptr;
    QLabel* sLabel4 = nullptr;
    QFrame* sPanel2 = nullptr;
    QScrollBar* sScrollBar1 = nullptr;
    QToolButton* sSpeedButton10 = nullptr;
    QToolButton* sSpeedButton11 = nullptr;
    QToolButton* sSpeedButton12 = nullptr;
    QToolButton* sSpeedButton13 = nullptr;
    QToolButton* sSpeedButton14 = nullptr;
    QLabel* VolumeCaption = nullptr;
    QLineEdit* sEdit1 = nullptr;
    QToolButton* sSpeedButton1 = nullptr;
    QToolButton* sSpeedButton2 = nullptr;
    QToolButton* sSpeedButton3 = nullptr;
    QToolButton* sSpeedButton4 = nullptr;
    QToolButton* sSpeedButton5 = nullptr;
    QToolButton* sSpeedButton6 = nullptr;
    QToolButton* sSpeedButton7 = nullptr;
    QToolButton* sSpeedButton8 = nullptr;
    QToolButton* sSpeedButton9 = nullptr;
    QPushButton* StartTVButton = nullptr;
    QPushButton* Button1 = nullptr;
    QSystemTrayIcon* TrayIcon1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* N1 = nullptr;
    std::array<QPushButton*, GridSurface::kSlots> Slots{}; // sBitBtn10..sBitBtn39

private:
    template <typename T> static void find(const QObject& window, T*& control, const char* name) {
        control = FindControl<T>(window, QString::fromLatin1(name));
        if (!control)
            qFatal("the main window has no control %s", name);
    }
};
