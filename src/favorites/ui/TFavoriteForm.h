#pragma once
#include "favorites/FavoriteSlots.h"
#include "platform/LangLookup.h"

#include <QString>
#include <QWidget>

#include <array>
#include <functional>

class MessageSink;
class SettingsFile;
class QAction;
class QMenu;
class QPushButton;

// The favourites window: 24 slot buttons that open their favourite, a popup menu that clears the
// slot it was opened on, and the entry point that adds a caption to the first free slot. It is not
// modal and keeps its slots while hidden.
class TFavoriteForm : public QWidget {
    Q_OBJECT
public:
    using StartFavoriteFn = std::function<void(const QString& channelName)>;

    // Reads the 24 slots from the store (LoadFavorites). langText defaults to the shared pack.
    TFavoriteForm(SettingsFile& store, StartFavoriteFn startFavorite, MessageSink& messages,
                  QWidget* mainWindow, LangLookup langText = {});

    // Adds a caption from the main window's popup menu; reports when no slot is left free.
    void AddFavorite(const QString& caption);

    const FavoriteSlots& favorites() const { return slots_; }
    // Slot button k (1..24); null when out of range.
    QPushButton* slotButton(int slot) const;
    // The button PopupMenu2 was last opened on.
    QPushButton* popupButton() const { return popupButton_; }

public slots:
    void PickFavorite(int slot);
    void RemoveFavorite();
    void sButton1Click();
    void sBitBtn25Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    // Controls (objectName = member name).
    std::array<QPushButton*, FavoriteSlots::Count> Slots{}; // sBitBtn1..sBitBtn24
    QPushButton* sBitBtn25;
    QPushButton* sButton1;
    QMenu* PopupMenu2;
    QAction* N1;

    void LoadFavorites();
    void showSlot(int slot);
    void setCaption(int slot, const QString& caption);

    FavoriteSlots slots_;
    StartFavoriteFn startFavorite_;
    MessageSink& messages_;
    QWidget* mainWindow_;
    LangLookup langText_;
    QPushButton* popupButton_ = nullptr;
    QString pickedCaption_; // handed from a slot click to sButton1
};
