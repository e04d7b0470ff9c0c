#include "tv/ui/IptvTab.h"

#include "platform/UiText.h"
#include "settings/LanguagePack.h"
#include "tv/IptvImporter.h"
#include "tv/IptvTableModel.h"

#include <QColor>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSet>
#include <QSortFilterProxyModel>
#include <QStringListModel>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

IptvTab::IptvTab(IptvImporter& importer, QWidget* parent, LangLookup lang, LogoCache* logos)
    : QWidget(parent), importer_(importer), lang_(lang ? std::move(lang) : LangLookup(&LangText)) {
    setObjectName(QStringLiteral("IptvTab"));
    auto* sources = new QGridLayout;
    sources->setContentsMargins(0, 0, 0, 0);
    sources->setSpacing(3);
    playlist_ = new QLineEdit(this);
    playlist_->setObjectName(QStringLiteral("iptvPlaylist"));
    playlist_->setPlaceholderText(
        UiText("IptvTab", "playlistHint", QStringLiteral("файл .m3u или адрес http(s)://")));
    guide_ = new QLineEdit(this);
    guide_->setObjectName(QStringLiteral("iptvGuide"));
    guide_->setPlaceholderText(UiText(
        "IptvTab", "guideHint", QStringLiteral("XMLTV: файл .xml / .xml.gz или адрес (не обязательно)")));
    const std::pair<QLineEdit*, QString> rows[] = {
        {playlist_,
         UiText("IptvTab", "playlistFilter", QStringLiteral("Плейлисты M3U (*.m3u *.m3u8);;Все файлы (*)"))},
        {guide_, UiText("IptvTab", "guideFilter",
                        QStringLiteral("Программа XMLTV (*.xml *.xml.gz *.gz);;Все файлы (*)"))}};
    const QString captions[] = {UiText("IptvTab", "playlist", QStringLiteral("Плейлист:")),
                                UiText("IptvTab", "guide", QStringLiteral("Программа:"))};
    for (int r = 0; r < 2; ++r) {
        auto* caption = new QLabel(captions[r], this);
        caption->setBuddy(rows[r].first);
        sources->addWidget(caption, r, 0);
        sources->addWidget(rows[r].first, r, 1);
        auto* pick = new QToolButton(this);
        pick->setText(QStringLiteral("…"));
        pick->setAccessibleName(captions[r] + u' ' +
                                UiText("IptvTab", "pickFile", QStringLiteral("Выбрать файл")));
        pick->setToolTip(UiText("IptvTab", "pickFile", QStringLiteral("Выбрать файл")));
        connect(pick, &QToolButton::clicked, this,
                [this, edit = rows[r].first, filter = rows[r].second] { browse(edit, filter); });
        sources->addWidget(pick, r, 2);
    }

    load_ = button(UiText("IptvTab", "load", QStringLiteral("Загрузить")), "iptvLoad", this);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("iptvStatus"));
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* loadRow = new QHBoxLayout;
    loadRow->addWidget(load_, 0, Qt::AlignTop);
    loadRow->addWidget(status_, 1);

    sources_ = new QTreeWidget(this);
    sources_->setObjectName(QStringLiteral("iptvSources"));
    sources_->setColumnCount(2);
    sources_->setHeaderLabels({text("sources"), QString()});
    sources_->setRootIsDecorated(false);
    sources_->setUniformRowHeights(true);
    sources_->setTabKeyNavigation(false); // one Tab stop: the arrows move inside
    // The list's own name for a screen reader: its header is the caption, without the colon.
    QString sourcesName = text("sources");
    while (sourcesName.endsWith(u':') || sourcesName.endsWith(u'：'))
        sourcesName.chop(1);
    sources_->setAccessibleName(sourcesName);
    sources_->setMaximumHeight(110);
    sources_->header()->setSectionResizeMode(SourceNameColumn, QHeaderView::Stretch);
    sources_->header()->setSectionResizeMode(SourceStateColumn, QHeaderView::Stretch);
    addEdit_ = new QLineEdit(this);
    addEdit_->setObjectName(QStringLiteral("iptvAddPlaylist"));
    addEdit_->setPlaceholderText(text("addPlaceholder"));
    addEdit_->setAccessibleName(addEdit_->placeholderText());
    add_ = button(text("add"), "iptvAdd", this);
    remove_ = button(text("remove"), "iptvRemove", this);
    remove_->setEnabled(false);
    auto* addRow = new QHBoxLayout;
    addRow->addWidget(addEdit_, 1);
    addRow->addWidget(add_);
    addRow->addWidget(remove_);

    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("iptvSearch"));
    search_->setPlaceholderText(text("search"));
    search_->setAccessibleName(search_->placeholderText());
    search_->setClearButtonEnabled(true);

    model_ = new IptvTableModel(importer_.library(), this);
    model_->setLogos(logos);
    filter_ = new QSortFilterProxyModel(this);
    filter_->setSourceModel(model_);
    filter_->setFilterRole(IptvTableModel::SearchRole);
    filter_->setFilterKeyColumn(CatalogColumn);
    filter_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("iptvTable"));
    table_->setModel(filter_);
    table_->setIconSize(QSize(48, 16));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table (arrows move between its rows), as in every other list.
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(18);
    table_->horizontalHeader()->setSectionResizeMode(CatalogColumn, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(PlaylistColumn, QHeaderView::Stretch);
    // Sized once for the widest state word: fitting it to the contents measured a thousand rows at
    // every change of the table.
    table_->horizontalHeader()->setSectionResizeMode(StateColumn, QHeaderView::Fixed);
    int stateWidth = table_->horizontalHeader()->sectionSizeHint(StateColumn);
    for (const QString& word : IptvTableModel::stateTexts())
        stateWidth = std::max(stateWidth, table_->fontMetrics().horizontalAdvance(word) + 12);
    table_->horizontalHeader()->resizeSection(StateColumn, stateWidth);

    entryNames_ = new QStringListModel(this);
    entries_ = new QComboBox(this);
    entries_->setObjectName(QStringLiteral("iptvEntries"));
    entries_->setModel(entryNames_);
    if (auto* list = qobject_cast<QListView*>(entries_->view()))
        list->setUniformItemSizes(true); // thousands of entries: no per-row measuring
    entries_->setToolTip(
        UiText("IptvTab", "entriesHint", QStringLiteral("Канал плейлиста для выбранного канала каталога")));
    entries_->setMinimumContentsLength(12);
    entries_->setAccessibleName(entries_->toolTip());
    table_->setAccessibleName(UiText("Access", "iptvTable", QStringLiteral("Каналы каталога и плейлиста")));
    entries_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    choose_ = button(UiText("IptvTab", "choose", QStringLiteral("Выбрать")), "iptvChoose", this);
    clear_ = button(UiText("IptvTab", "clear", QStringLiteral("Убрать")), "iptvClear", this);
    clear_->setToolTip(
        UiText("IptvTab", "clearHint", QStringLiteral("Канал каталога не будет играть поток из плейлиста")));
    favorite_ = button(UiText("IptvTab", "favorite", QStringLiteral("В избранное")), "iptvFavorite", this);
    play_ = button(text("play"), "iptvPlay", this);
    auto* edit = new QHBoxLayout;
    edit->addWidget(entries_, 1);
    edit->addWidget(choose_);
    edit->addWidget(clear_);
    edit->addWidget(favorite_);
    edit->addWidget(play_);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->setSpacing(3);
    page->addLayout(sources);
    page->addLayout(loadRow);
    page->addWidget(sources_);
    page->addLayout(addRow);
    page->addWidget(search_);
    page->addWidget(table_, 1);
    page->addLayout(edit);

    connect(load_, &QPushButton::clicked, this, &IptvTab::loadClicked);
    connect(choose_, &QPushButton::clicked, this, &IptvTab::chooseClicked);
    connect(clear_, &QPushButton::clicked, this, &IptvTab::clearClicked);
    connect(favorite_, &QPushButton::clicked, this, &IptvTab::favoriteClicked);
    connect(play_, &QPushButton::clicked, this, &IptvTab::playClicked);
    connect(add_, &QPushButton::clicked, this, &IptvTab::addClicked);
    connect(remove_, &QPushButton::clicked, this, &IptvTab::removeClicked);
    connect(sources_, &QTreeWidget::itemChanged, this, &IptvTab::sourceToggled);
    connect(sources_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        remove_->setEnabled(item && item->data(SourceNameColumn, Qt::UserRole + 1).toInt() >= 0);
    });
    connect(search_, &QLineEdit::textChanged, this, [this](const QString& t) {
        filter_->setFilterFixedString(t.trimmed());
        rowChanged();
    });
    connect(&importer_, &IptvImporter::sourcesChanged, this, &IptvTab::showSources);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &IptvTab::rowChanged);
    connect(&importer_, &IptvImporter::statusChanged, status_, &QLabel::setText);
    connect(&importer_, &IptvImporter::playlistChanged, this, &IptvTab::playlistChanged);
    connect(&importer_, &IptvImporter::matchChanged, this, &IptvTab::matchChanged);
    connect(&importer_, &IptvImporter::finished, this, [this] {
        load_->setEnabled(true);
        add_->setEnabled(true);
    });

    const IptvImporter::Sources stored = importer_.storedSources();
    playlist_->setText(stored.playlist);
    guide_->setText(stored.guide);
    status_->setText(importer_.status());
    showSources();
    playlistChanged();
}

QString IptvTab::text(const char* key) const {
    return lang_(QStringLiteral("TvSources"), QLatin1String(key));
}

// One row per source: the public ones with a switch, the user's own after them.
void IptvTab::showSources() {
    fillingSources_ = true;
    const int current = sources_->indexOfTopLevelItem(sources_->currentItem());
    sources_->clear();
    int further = 0;
    for (const IptvImporter::SourceState& s : importer_.sourceStates()) {
        auto* item = new QTreeWidgetItem(sources_);
        item->setText(SourceNameColumn, importer_.sourceTitle(s.source));
        item->setToolTip(SourceNameColumn, s.source.location);
        item->setText(SourceStateColumn, s.state);
        item->setToolTip(SourceStateColumn, s.state);
        if (s.failed)
            item->setForeground(SourceStateColumn, QColor(0xb0, 0x20, 0x20));
        item->setData(SourceNameColumn, Qt::UserRole, s.source.id);
        // Only the further own playlists are removed here; the first one is the field above.
        const bool removable = !s.source.isPublic() && s.source.id != u"own1";
        item->setData(SourceNameColumn, Qt::UserRole + 1, removable ? further++ : -1);
        if (s.source.isPublic()) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(SourceNameColumn, s.source.enabled ? Qt::Checked : Qt::Unchecked);
        }
    }
    if (current >= 0 && current < sources_->topLevelItemCount())
        sources_->setCurrentItem(sources_->topLevelItem(current));
    remove_->setEnabled(sources_->currentItem() &&
                        sources_->currentItem()->data(SourceNameColumn, Qt::UserRole + 1).toInt() >= 0);
    fillingSources_ = false;
}

void IptvTab::sourceToggled(QTreeWidgetItem* item, int column) {
    if (fillingSources_ || column != SourceNameColumn || !(item->flags() & Qt::ItemIsUserCheckable))
        return;
    const QString code = item->data(SourceNameColumn, Qt::UserRole).toString();
    const bool on = item->checkState(SourceNameColumn) == Qt::Checked;
    // Queued: the list is rebuilt by the change, not while the view is still inside its click.
    QMetaObject::invokeMethod(
        this, [this, code, on] { importer_.setPublicEnabled(code, on); }, Qt::QueuedConnection);
}

void IptvTab::addClicked() {
    const QString location = addEdit_->text().trimmed();
    if (location.isEmpty())
        return;
    add_->setEnabled(false);
    importer_.addPlaylist(location);
    addEdit_->clear();
    if (!importer_.busy())
        add_->setEnabled(true);
}

void IptvTab::removeClicked() {
    QTreeWidgetItem* item = sources_->currentItem();
    const int index = item ? item->data(SourceNameColumn, Qt::UserRole + 1).toInt() : -1;
    if (index >= 0)
        importer_.removeFurtherPlaylist(index);
}

void IptvTab::playClicked() {
    const QString catalog = selectedCatalogName();
    const QString name = catalog.isEmpty() ? selectedPlaylistName() : catalog;
    if (!name.isEmpty())
        emit playRequested(name);
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

// A new playlist: the table reads it again (the model copies nothing) and the entry list is
// refilled, once per playlist rather than per click.
void IptvTab::playlistChanged() {
    const QString current = selectedName_; // the library has moved on: its rows no longer tell
    model_->reload();
    QStringList names;
    names.reserve(qsizetype(importer_.library().playlist().size()) + 1);
    names << UiText("IptvTab", "none", QStringLiteral("— нет —"));
    QSet<QString> listed; // a channel's further entries (its mirrors) are picked with its first
    for (const PlaylistEntry& e : importer_.library().playlist())
        if (!listed.contains(e.name)) {
            listed.insert(e.name);
            names << e.name;
        }
    entryNames_->setStringList(names);
    if (!current.isEmpty())
        selectChannel(current);
    rowChanged();
}

// One choice: its row is updated where it stands and the selection stays on it.
void IptvTab::matchChanged(int index) {
    model_->matchChanged(index);
    rowChanged();
}

bool IptvTab::selectChannel(const QString& name) {
    const int row = model_->rowOf(name);
    if (row < 0)
        return false;
    const QModelIndex shown = filter_->mapFromSource(
        model_->index(row, model_->isCatalogRow(row) ? CatalogColumn : PlaylistColumn));
    if (!shown.isValid())
        return false;
    table_->selectRow(shown.row());
    table_->scrollTo(shown);
    return true;
}

int IptvTab::selectedRow() const {
    const auto rows = table_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : filter_->mapToSource(rows.first()).row();
}

QString IptvTab::selectedCatalogName() const {
    const int row = selectedRow();
    return row < 0 ? QString() : model_->index(row, CatalogColumn).data().toString();
}

QString IptvTab::selectedPlaylistName() const {
    const int row = selectedRow();
    return row < 0 ? QString() : model_->index(row, PlaylistColumn).data().toString();
}

void IptvTab::rowChanged() {
    const int row = selectedRow();
    const bool catalogRow = model_->isCatalogRow(row);
    choose_->setEnabled(catalogRow);
    clear_->setEnabled(catalogRow);
    entries_->setEnabled(catalogRow);
    const QString playlistName = selectedPlaylistName();
    favorite_->setEnabled(!playlistName.isEmpty());
    play_->setEnabled(!playlistName.isEmpty());
    selectedName_ = catalogRow ? selectedCatalogName() : playlistName;
    // Entry i of the playlist is item i + 1 of the list; 0 is "— нет —".
    entries_->setCurrentIndex(model_->entryAt(row) + 1);
}

void IptvTab::chooseClicked() {
    const QString catalog = selectedCatalogName();
    if (!catalog.isEmpty())
        importer_.choose(catalog, entries_->currentIndex() > 0 ? entries_->currentText() : QString());
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
