#pragma once
#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

class IptvLibrary;
class LogoCache;

// The import table over the library, without copying it: a row per catalog channel (in catalog
// order), then a row per playlist entry no catalog channel plays (in playlist order). A changed
// match touches only its own row and the entries it took or let go, so a click on a huge playlist
// costs the same as on a small one.
class IptvTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { CatalogColumn, PlaylistColumn, StateColumn, ColumnCount };
    // Every word the state column shows, in the chosen language (to size the column once).
    static QStringList stateTexts();
    // Both names of a row, for the search field.
    static constexpr int SearchRole = Qt::UserRole + 1;

    explicit IptvTableModel(const IptvLibrary& library, QObject* parent = nullptr);

    // Channel logos beside the playlist names, fetched as rows are shown; none without.
    void setLogos(LogoCache* logos);
    // The library has a new playlist: everything is read again.
    void reload();
    // library.matches()[index] changed.
    void matchChanged(int index);

    // The row of a catalog channel, or of a playlist channel no catalog channel plays; -1: none.
    int rowOf(const QString& name) const;
    bool isCatalogRow(int row) const;
    // The playlist entry a row shows (index into the playlist), -1: none.
    int entryAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    int catalogRows() const { return int(shown_.size()); }
    void takeEntry(int entry);
    void releaseEntry(int entry);
    // The entries a catalog row plays: its entry first, then the alternates.
    std::vector<int> entriesOf(size_t match) const;

    const IptvLibrary& library_;
    LogoCache* logos_ = nullptr;
    std::vector<int> shown_; // per catalog row: the entry it shows (-1: none)
    std::vector<std::vector<int>>
        held_;                 // per catalog row: the entries it plays, so a change knows what it let go
    std::vector<int> uses_;    // per playlist entry: how many catalog rows play it
    std::vector<int> outside_; // entries no catalog row shows, ascending: the rows after the catalog's
};
