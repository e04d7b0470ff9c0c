#pragma once
#include "platform/LangLookup.h"

#include <QString>
#include <QWidget>

class IptvImporter;
class IptvTableModel;
class LogoCache;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QStringListModel;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;

// The settings window's IPTV page: the channel sources (the public per-country playlists, each
// switched on or off, and the user's own playlists), the guide, "Загрузить", the import's status,
// a search field and a table of catalog channels against playlist channels, every playlist
// channel included, with its logo. A row's playlist channel can be changed or cleared, and any
// channel can be played or sent to the favourites.
class IptvTab : public QWidget {
    Q_OBJECT
public:
    enum Column { CatalogColumn, PlaylistColumn, StateColumn };
    enum SourceColumn { SourceNameColumn, SourceStateColumn };

    explicit IptvTab(IptvImporter& importer, QWidget* parent = nullptr, LangLookup lang = {},
                     LogoCache* logos = nullptr);

    QLineEdit* playlistEdit() const { return playlist_; }
    QLineEdit* guideEdit() const { return guide_; }
    QPushButton* loadButton() const { return load_; }
    QLabel* statusLabel() const { return status_; }
    QTableView* table() const { return table_; }
    QComboBox* entryBox() const { return entries_; }
    QPushButton* chooseButton() const { return choose_; }
    QPushButton* clearButton() const { return clear_; }
    QPushButton* favoriteButton() const { return favorite_; }
    QPushButton* playButton() const { return play_; }
    QLineEdit* searchEdit() const { return search_; }
    QTreeWidget* sourceList() const { return sources_; }
    QLineEdit* addPlaylistEdit() const { return addEdit_; }
    QPushButton* addPlaylistButton() const { return add_; }
    QPushButton* removePlaylistButton() const { return remove_; }

    // Selects the row of a catalog channel, or of a playlist channel without one; false if none
    // (or hidden by the search).
    bool selectChannel(const QString& name);

signals:
    // A playlist channel the user wants in a favourite slot.
    void favoriteRequested(const QString& playlistName);
    // A channel to play now: a catalog name (its match plays) or a playlist name.
    void playRequested(const QString& name);

private:
    void loadClicked();
    void chooseClicked();
    void clearClicked();
    void favoriteClicked();
    void playClicked();
    void addClicked();
    void removeClicked();
    void browse(QLineEdit* edit, const QString& filter);
    void playlistChanged();
    void matchChanged(int index);
    void rowChanged();
    void showSources();
    void sourceToggled(QTreeWidgetItem* item, int column);
    int selectedRow() const; // in the model, not the view
    QString selectedCatalogName() const;
    QString selectedPlaylistName() const;
    QString text(const char* key) const;

    IptvImporter& importer_;
    LangLookup lang_;
    QLineEdit* playlist_;
    QLineEdit* guide_;
    QPushButton* load_;
    QLabel* status_;
    QTreeWidget* sources_;
    QLineEdit* addEdit_;
    QPushButton* add_;
    QPushButton* remove_;
    QLineEdit* search_;
    IptvTableModel* model_;
    QSortFilterProxyModel* filter_;
    QTableView* table_;
    QStringListModel* entryNames_; // "— нет —", then the playlist in its order
    QComboBox* entries_;
    QPushButton* choose_;
    QPushButton* clear_;
    QPushButton* favorite_;
    QPushButton* play_;
    QString selectedName_; // the selected row's channel, kept across a new playlist
    bool fillingSources_ = false;
};
