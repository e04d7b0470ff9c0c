#include "tv/IptvTableModel.h"

#include "platform/UiText.h"
#include "tv/IptvLibrary.h"
#include "tv/LogoCache.h"

#include <QImage>
#include <QUrl>

#include <algorithm>

IptvTableModel::IptvTableModel(const IptvLibrary& library, QObject* parent)
    : QAbstractTableModel(parent), library_(library) {
    reload();
}

void IptvTableModel::reload() {
    beginResetModel();
    const auto& matches = library_.matches();
    shown_.clear();
    shown_.reserve(matches.size());
    held_.clear();
    held_.reserve(matches.size());
    uses_.assign(library_.playlist().size(), 0);
    for (size_t i = 0; i < matches.size(); ++i) {
        const ChannelMatch& m = matches[i];
        shown_.push_back(m.entry >= 0 && m.entry < int(uses_.size()) ? m.entry : -1);
        held_.push_back(entriesOf(i));
        for (int e : held_.back())
            ++uses_[size_t(e)];
    }
    outside_.clear();
    for (int e = 0; e < int(uses_.size()); ++e)
        if (uses_[size_t(e)] == 0)
            outside_.push_back(e);
    endResetModel();
}

void IptvTableModel::matchChanged(int index) {
    if (index < 0 || index >= catalogRows() || size_t(index) >= library_.matches().size())
        return;
    const int entry = library_.matches()[size_t(index)].entry;
    shown_[size_t(index)] = entry >= 0 && entry < int(uses_.size()) ? entry : -1;
    const std::vector<int> before = std::exchange(held_[size_t(index)], entriesOf(size_t(index)));
    for (int e : held_[size_t(index)])
        takeEntry(e);
    for (int e : before)
        releaseEntry(e);
    // The state word changes even when the entry stays (a pick of the same entry becomes "выбран").
    emit dataChanged(this->index(index, 0), this->index(index, ColumnCount - 1));
}

std::vector<int> IptvTableModel::entriesOf(size_t match) const {
    std::vector<int> out;
    const ChannelMatch& m = library_.matches()[match];
    if (m.entry < 0 || m.entry >= int(uses_.size()))
        return out;
    out.push_back(m.entry);
    for (int a : m.alternates)
        if (a >= 0 && a < int(uses_.size()))
            out.push_back(a);
    return out;
}

void IptvTableModel::takeEntry(int entry) {
    if (uses_[size_t(entry)]++ > 0)
        return;
    const auto at = std::lower_bound(outside_.begin(), outside_.end(), entry);
    if (at == outside_.end() || *at != entry)
        return;
    const int row = catalogRows() + int(at - outside_.begin());
    beginRemoveRows({}, row, row);
    outside_.erase(at);
    endRemoveRows();
}

void IptvTableModel::releaseEntry(int entry) {
    if (--uses_[size_t(entry)] > 0)
        return;
    const auto at = std::lower_bound(outside_.begin(), outside_.end(), entry);
    const int row = catalogRows() + int(at - outside_.begin());
    beginInsertRows({}, row, row);
    outside_.insert(at, entry);
    endInsertRows();
}

int IptvTableModel::rowOf(const QString& name) const {
    if (name.isEmpty())
        return -1;
    if (const int m = library_.matchIndex(name); m >= 0 && m < catalogRows())
        return m;
    const int entry = library_.entryIndex(name);
    const auto at = std::lower_bound(outside_.begin(), outside_.end(), entry);
    return entry >= 0 && at != outside_.end() && *at == entry ? catalogRows() + int(at - outside_.begin())
                                                              : -1;
}

bool IptvTableModel::isCatalogRow(int row) const {
    return row >= 0 && row < catalogRows();
}

int IptvTableModel::entryAt(int row) const {
    if (row < 0 || row >= rowCount())
        return -1;
    return isCatalogRow(row) ? shown_[size_t(row)] : outside_[size_t(row - catalogRows())];
}

int IptvTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : catalogRows() + int(outside_.size());
}

int IptvTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

namespace {
enum StateWord { Outside, Chosen, Removed, Found, Missing };
} // namespace

QStringList IptvTableModel::stateTexts() {
    return {UiText("IptvTab", "outside", QStringLiteral("вне каталога")),
            UiText("IptvTab", "chosen", QStringLiteral("выбран")),
            UiText("IptvTab", "removed", QStringLiteral("убран")),
            UiText("IptvTab", "found", QStringLiteral("найден")),
            UiText("IptvTab", "missing", QStringLiteral("нет"))};
}

void IptvTableModel::setLogos(LogoCache* logos) {
    logos_ = logos;
    if (logos_)
        connect(logos_, &LogoCache::logoReady, this, [this] {
            if (rowCount() > 0)
                emit dataChanged(index(0, PlaylistColumn), index(rowCount() - 1, PlaylistColumn),
                                 {Qt::DecorationRole});
        });
}

QVariant IptvTableModel::data(const QModelIndex& index, int role) const {
    if ((role != Qt::DisplayRole && role != Qt::DecorationRole && role != SearchRole) || !index.isValid() ||
        index.row() >= rowCount())
        return {};
    const int row = index.row();
    const int entry = entryAt(row);
    if (size_t(row) >= library_.matches().size() && isCatalogRow(row))
        return {}; // the library moved on before reload(): nothing stale is read
    if (entry >= int(library_.playlist().size()))
        return {};
    if (role == SearchRole) {
        QString text = isCatalogRow(row) ? library_.matches()[size_t(row)].catalogName : QString();
        if (entry >= 0)
            text += u'\n' + library_.playlist()[size_t(entry)].name;
        return text;
    }
    if (role == Qt::DecorationRole) {
        if (index.column() != PlaylistColumn || entry < 0 || !logos_)
            return {};
        const QImage logo = logos_->logo(QUrl(library_.playlist()[size_t(entry)].logo));
        return logo.isNull() ? QVariant() : QVariant(logo);
    }
    switch (index.column()) {
    case CatalogColumn:
        return isCatalogRow(row) ? library_.matches()[size_t(row)].catalogName : QString();
    case PlaylistColumn:
        return entry >= 0 ? library_.playlist()[size_t(entry)].name : QString();
    case StateColumn: {
        static const QStringList words = stateTexts();
        if (!isCatalogRow(row))
            return words[Outside];
        if (library_.matches()[size_t(row)].manual)
            return words[entry >= 0 ? Chosen : Removed];
        return words[entry >= 0 ? Found : Missing];
    }
    default:
        return {};
    }
}

QVariant IptvTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case CatalogColumn:
        return UiText("IptvTab", "catalogColumn", QStringLiteral("Канал каталога"));
    case PlaylistColumn:
        return UiText("IptvTab", "playlistColumn", QStringLiteral("Канал плейлиста"));
    case StateColumn:
        return UiText("IptvTab", "stateColumn", QStringLiteral("Статус"));
    default:
        return {};
    }
}
