#pragma once
#include <QString>

// What the settings window's start-up load and its handlers write onto the main window.
class MainWindowSurface {
public:
    virtual ~MainWindowSurface() = default;
    // The eleven category buttons by control name ("sBitBtn1".."sBitBtn9", "sBitBtn44", "sBitBtn45").
    virtual void setCategoryCaption(const QString& buttonName, const QString& caption) = 0;
    // Tool button tooltips by control name ("sSpeedButton1".."sSpeedButton6").
    virtual void setToolHint(const QString& buttonName, const QString& hint) = 0;
    // Caption of the popup menu item N1 ("Добавить в Избранное").
    virtual void setAddFavoriteCaption(const QString& caption) = 0;
    virtual void setStayOnTop(bool onTop) = 0;
};
