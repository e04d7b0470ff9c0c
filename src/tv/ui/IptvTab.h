#pragma once
#include <QString>
#include <QWidget>

class IptvImporter;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The settings window's IPTV page: the playlist and guide sources, "Загрузить", the import's
// status and a table of catalog channels against playlist channels. A row's playlist channel can
// be changed or cleared, and any playlist channel can be sent to the favourites.
class IptvTab : public QWidget {
    Q_OBJECT
public:
    enum Column { CatalogColumn, PlaylistColumn, StateColumn };

    explicit IptvTab(IptvImporter& importer, QWidget* parent = nullptr);

    QLineEdit* playlistEdit() const { return playlist_; }
    QLineEdit* guideEdit() const { return guide_; }
    QPushButton* loadButton() const { return load_; }
    QLabel* statusLabel() const { return status_; }
    // The table, brought up to date first (a hidden tab fills it only when it is looked at).
    QTableWidget* table();
    QComboBox* entryBox() const { return entries_; }
    QPushButton* chooseButton() const { return choose_; }
    QPushButton* clearButton() const { return clear_; }
    QPushButton* favoriteButton() const { return favorite_; }

    // Selects the row of a catalog channel, or of a playlist channel without one; false if none.
    bool selectChannel(const QString& name);

protected:
    void showEvent(QShowEvent* e) override;

signals:
    // A playlist channel the user wants in a favourite slot.
    void favoriteRequested(const QString& playlistName);

private:
    void loadClicked();
    void chooseClicked();
    void clearClicked();
    void favoriteClicked();
    void browse(QLineEdit* edit, const QString& filter);
    void fillTable();
    void playlistChanged();
    void rowChanged();
    QString selectedCatalogName() const;
    QString selectedPlaylistName() const;

    IptvImporter& importer_;
    QLineEdit* playlist_;
    QLineEdit* guide_;
    QPushButton* load_;
    QLabel* status_;
    QTableWidget* table_;
    QComboBox* entries_;
    QPushButton* choose_;
    QPushButton* clear_;
    QPushButton* favorite_;
    bool stale_ = false; // the import changed while the tab was hidden
};
