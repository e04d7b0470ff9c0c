#pragma once
#include <QString>
#include <QWidget>

class IptvImporter;
class IptvTableModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStringListModel;
class QTableView;

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
    QTableView* table() const { return table_; }
    QComboBox* entryBox() const { return entries_; }
    QPushButton* chooseButton() const { return choose_; }
    QPushButton* clearButton() const { return clear_; }
    QPushButton* favoriteButton() const { return favorite_; }

    // Selects the row of a catalog channel, or of a playlist channel without one; false if none.
    bool selectChannel(const QString& name);

signals:
    // A playlist channel the user wants in a favourite slot.
    void favoriteRequested(const QString& playlistName);

private:
    void loadClicked();
    void chooseClicked();
    void clearClicked();
    void favoriteClicked();
    void browse(QLineEdit* edit, const QString& filter);
    void playlistChanged();
    void matchChanged(int index);
    void rowChanged();
    int selectedRow() const;
    QString selectedCatalogName() const;
    QString selectedPlaylistName() const;

    IptvImporter& importer_;
    QLineEdit* playlist_;
    QLineEdit* guide_;
    QPushButton* load_;
    QLabel* status_;
    IptvTableModel* model_;
    QTableView* table_;
    QStringListModel* entryNames_; // "— нет —", then the playlist in its order
    QComboBox* entries_;
    QPushButton* choose_;
    QPushButton* clear_;
    QPushButton* favorite_;
    QString selectedName_; // the selected row's channel, kept across a new playlist
};
