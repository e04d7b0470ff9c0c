#include "tv/ui/IptvTab.h"

#include "tv/IptvImporter.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

IptvTab::IptvTab(IptvImporter& importer, QWidget* parent) : QWidget(parent), importer_(importer) {
    setObjectName(QStringLiteral("IptvTab"));
    auto* sources = new QGridLayout;
    sources->setContentsMargins(0, 0, 0, 0);
    sources->setSpacing(3);
    playlist_ = new QLineEdit(this);
    playlist_->setObjectName(QStringLiteral("iptvPlaylist"));
    playlist_->setPlaceholderText(QStringLiteral("файл .m3u или адрес http(s)://"));
    guide_ = new QLineEdit(this);
    guide_->setObjectName(QStringLiteral("iptvGuide"));
    guide_->setPlaceholderText(QStringLiteral("XMLTV: файл .xml / .xml.gz или адрес (не обязательно)"));
    const std::pair<QLineEdit*, QString> rows[] = {
        {playlist_, QStringLiteral("Плейлисты M3U (*.m3u *.m3u8);;Все файлы (*)")},
        {guide_, QStringLiteral("Программа XMLTV (*.xml *.xml.gz *.gz);;Все файлы (*)")}};
    const QString captions[] = {QStringLiteral("Плейлист:"), QStringLiteral("Программа:")};
    for (int r = 0; r < 2; ++r) {
        sources->addWidget(new QLabel(captions[r], this), r, 0);
        sources->addWidget(rows[r].first, r, 1);
        auto* pick = new QToolButton(this);
        pick->setText(QStringLiteral("…"));
        pick->setToolTip(QStringLiteral("Выбрать файл"));
        connect(pick, &QToolButton::clicked, this,
                [this, edit = rows[r].first, filter = rows[r].second] { browse(edit, filter); });
        sources->addWidget(pick, r, 2);
    }

    load_ = button(QStringLiteral("Загрузить"), "iptvLoad", this);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("iptvStatus"));
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* loadRow = new QHBoxLayout;
    loadRow->addWidget(load_, 0, Qt::AlignTop);
    loadRow->addWidget(status_, 1);

    table_ = new QTableWidget(0, 3, this);
    table_->setObjectName(QStringLiteral("iptvTable"));
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("Канал каталога"), QStringLiteral("Канал плейлиста"), QStringLiteral("Статус")});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(18);
    table_->horizontalHeader()->setSectionResizeMode(CatalogColumn, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(PlaylistColumn, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(StateColumn, QHeaderView::ResizeToContents);

    entries_ = new QComboBox(this);
    entries_->setObjectName(QStringLiteral("iptvEntries"));
    entries_->setToolTip(QStringLiteral("Канал плейлиста для выбранного канала каталога"));
    entries_->setMinimumContentsLength(12);
    entries_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    choose_ = button(QStringLiteral("Выбрать"), "iptvChoose", this);
    clear_ = button(QStringLiteral("Убрать"), "iptvClear", this);
    clear_->setToolTip(QStringLiteral("Канал каталога не будет играть поток из плейлиста"));
    favorite_ = button(QStringLiteral("В избранное"), "iptvFavorite", this);
    auto* edit = new QHBoxLayout;
    edit->addWidget(entries_, 1);
    edit->addWidget(choose_);
    edit->addWidget(clear_);
    edit->addWidget(favorite_);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->setSpacing(3);
    page->addLayout(sources);
    page->addLayout(loadRow);
    page->addWidget(table_, 1);
    page->addLayout(edit);

    connect(load_, &QPushButton::clicked, this, &IptvTab::loadClicked);
    connect(choose_, &QPushButton::clicked, this, &IptvTab::chooseClicked);
    connect(clear_, &QPushButton::clicked, this, &IptvTab::clearClicked);
    connect(favorite_, &QPushButton::clicked, this, &IptvTab::favoriteClicked);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &IptvTab::rowChanged);
    connect(&importer_, &IptvImporter::statusChanged, status_, &QLabel::setText);
    connect(&importer_, &IptvImporter::playlistChanged, this, &IptvTab::playlistChanged);
    connect(&importer_, &IptvImporter::finished, this, [this] { load_->setEnabled(true); });

    const IptvImporter::Sources stored = importer_.storedSources();
    playlist_->setText(stored.playlist);
    guide_->setText(stored.guide);
    status_->setText(importer_.status());
    fillTable();
}

// Thousands of rows take a while to build: a hidden tab (the usual case at start-up) waits until
// it is shown.
void IptvTab::playlistChanged() {
    if (isVisible())
        fillTable();
    else
        stale_ = true;
}

void IptvTab::showEvent(QShowEvent* e) {
    if (stale_)
        fillTable();
    QWidget::showEvent(e);
}

QTableWidget* IptvTab::table() {
    if (stale_)
        fillTable();
    return table_;
}

void IptvTab::browse(QLineEdit* edit, const QString& filter) {
    const QString path = QFileDialog::getOpenFileName(this, QString(), edit->text(), filter);
    if (!path.isEmpty())
        edit->setText(path);
}

void IptvTab::loadClicked() {
    load_->setEnabled(false);
    importer_.import({playlist_->text(), guide_->text()});
    if (!importer_.busy())
        load_->setEnabled(true);
}

void IptvTab::fillTable() {
    stale_ = false;
    const IptvLibrary& lib = importer_.library();
    const auto& playlist = lib.playlist();
    const QString current = selectedCatalogName().isEmpty() ? selectedPlaylistName() : selectedCatalogName();

    std::vector<bool> used(playlist.size(), false);
    for (const ChannelMatch& m : lib.matches())
        if (m.entry >= 0)
            used[size_t(m.entry)] = true;
    qsizetype unused = 0;
    for (bool u : used)
        unused += u ? 0 : 1;

    table_->setUpdatesEnabled(false);
    table_->clearContents();
    table_->setRowCount(int(lib.matches().size() + size_t(unused)));
    int row = 0;
    const auto put = [this](int row, int column, const QString& text) {
        table_->setItem(row, column, new QTableWidgetItem(text));
    };
    for (const ChannelMatch& m : lib.matches()) {
        put(row, CatalogColumn, m.catalogName);
        put(row, PlaylistColumn, m.entry >= 0 ? playlist[size_t(m.entry)].name : QString());
        put(row, StateColumn,
            m.entry >= 0 ? (m.manual ? QStringLiteral("выбран") : QStringLiteral("найден"))
                         : (m.manual ? QStringLiteral("убран") : QStringLiteral("нет")));
        ++row;
    }
    for (size_t i = 0; i < playlist.size(); ++i) {
        if (used[i])
            continue;
        put(row, CatalogColumn, QString());
        put(row, PlaylistColumn, playlist[i].name);
        put(row, StateColumn, QStringLiteral("вне каталога"));
        ++row;
    }
    table_->setUpdatesEnabled(true);

    entries_->clear();
    entries_->addItem(QStringLiteral("— нет —"), QString());
    for (const PlaylistEntry& e : playlist)
        entries_->addItem(e.name, e.name);
    if (!current.isEmpty())
        selectChannel(current);
    rowChanged();
}

bool IptvTab::selectChannel(const QString& name) {
    table();
    for (int column : {CatalogColumn, PlaylistColumn}) {
        for (int row = 0; row < table_->rowCount(); ++row) {
            const QTableWidgetItem* item = table_->item(row, column);
            if (item && item->text() == name &&
                (column == CatalogColumn || table_->item(row, CatalogColumn)->text().isEmpty())) {
                table_->selectRow(row);
                table_->scrollToItem(item);
                return true;
            }
        }
    }
    return false;
}

QString IptvTab::selectedCatalogName() const {
    const auto rows = table_->selectionModel()->selectedRows(CatalogColumn);
    return rows.isEmpty() ? QString() : rows.first().data().toString();
}

QString IptvTab::selectedPlaylistName() const {
    const auto rows = table_->selectionModel()->selectedRows(PlaylistColumn);
    return rows.isEmpty() ? QString() : rows.first().data().toString();
}

void IptvTab::rowChanged() {
    const bool catalogRow = !selectedCatalogName().isEmpty();
    const QString playlistName = selectedPlaylistName();
    choose_->setEnabled(catalogRow);
    clear_->setEnabled(catalogRow);
    entries_->setEnabled(catalogRow);
    favorite_->setEnabled(!playlistName.isEmpty());
    const int index = entries_->findData(playlistName);
    entries_->setCurrentIndex(index < 0 ? 0 : index);
}

void IptvTab::chooseClicked() {
    const QString catalog = selectedCatalogName();
    if (!catalog.isEmpty())
        importer_.choose(catalog, entries_->currentData().toString());
}

void IptvTab::clearClicked() {
    const QString catalog = selectedCatalogName();
    if (!catalog.isEmpty())
        importer_.choose(catalog, QString());
}

void IptvTab::favoriteClicked() {
    const QString name = selectedPlaylistName();
    if (!name.isEmpty())
        emit favoriteRequested(name);
}
