#pragma once
#include "radio/MyRadioKeys.h"

#include <QDialog>
#include <QString>

#include <array>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QPushButton;
class QToolButton;
class MessageSink;
class TDirectoryForm;
class SettingsFile;

// How a station reaches the player: the URL goes into the main window's PendingStreamUrl, then
// the main window's hidden Button1 is clicked. Nothing here is owned.
struct StationHandOver {
    QString* pendingStreamUrl = nullptr;
    QAbstractButton* button1 = nullptr;
};

// The user's nine own stations, kept in section MyRadio of the settings file: slot k is button
// sBitBtn<k>, its name under "MyRN" + letter and its link under "MyR" + letter (a .. i).
class TMyRadioForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSlots = MyRadioKeys::kSlots;

    TMyRadioForm(SettingsFile& settings, MessageSink& messages, StationHandOver handOver, QWidget* mainWindow,
                 QWidget* parent = nullptr);

    void LoadStations();
    void AddStation();
    void PlayStation(int slot);
    void RemoveStation();

    // The slot's name as stored, unescaped (the button shows it literally).
    QString stationName(int slot) const;
    QString stationLink(int slot) const;

    // Station button k (1..9, object name sBitBtn<k>); null when out of range.
    QPushButton* slotButton(int slot) const;

    void openDirectory();
    TDirectoryForm* directoryForm() const { return directory_; }
    // The song-title encoding chosen for a slot ("auto" when none).
    QString titleEncoding(int slot) const;
    void setTitleEncoding(int slot, const QString& encoding);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Controls (objectName = member name; the slots are sBitBtn1..sBitBtn9).
    std::array<QPushButton*, kSlots> slotButtons{};
    QLabel* sLabel1;
    QLineEdit* sEdit1;
    QLabel* sLabel2;
    QLineEdit* sEdit2;
    QPushButton* sBitBtn10;
    QMenu* PopupMenu3;
    QAction* N1;
    // Beside the slot commands: how the station's song titles are encoded.
    QMenu* EncodingMenu;
    // Left of "Добавить": opens the radio directory, whose choice fills the two fields.
    QToolButton* DirectoryButton;

    struct Station {
        QString name;
        QString link;
    };
    void setCaption(int slot, const QString& name);
    bool isFree(int slot) const;
    void fitPopupTo(QPushButton* button);

    SettingsFile& settings_;
    MessageSink& messages_;
    StationHandOver handOver_;
    QWidget* mainWindow_;
    std::array<Station, kSlots> stations_;
    QPushButton* popupTarget_ = nullptr;
    TDirectoryForm* directory_ = nullptr;
};
