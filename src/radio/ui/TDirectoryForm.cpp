#include "radio/ui/TDirectoryForm.h"

#include "platform/UiText.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeWidget>

TDirectoryForm::TDirectoryForm(const QString& server, QWidget* parent) : QDialog(parent), directory_(server) {
    setObjectName(QStringLiteral("DirectoryForm"));
    setWindowTitle(UiText("DirectoryForm", "title", QStringLiteral("Каталог радиостанций")));
    resize(560, 420);

    nameEdit = new QLineEdit(this);
    nameEdit->setObjectName(QStringLiteral("nameEdit"));
    nameEdit->setPlaceholderText(UiText("DirectoryForm", "name", QStringLiteral("Название")));
    countryEdit = new QLineEdit(this);
    countryEdit->setObjectName(QStringLiteral("countryEdit"));
    countryEdit->setPlaceholderText(UiText("DirectoryForm", "countryHint", QStringLiteral("Страна (RU)")));
    countryEdit->setMaxLength(2);
    // The fields say what they take only in their grey hint, which a screen reader may not read.
    nameEdit->setAccessibleName(nameEdit->placeholderText());
    countryEdit->setAccessibleName(countryEdit->placeholderText());
    countryEdit->setFixedWidth(90);
    tagEdit = new QLineEdit(this);
    tagEdit->setObjectName(QStringLiteral("tagEdit"));
    tagEdit->setPlaceholderText(UiText("DirectoryForm", "genre", QStringLiteral("Жанр")));
    tagEdit->setFixedWidth(110);
    tagEdit->setAccessibleName(tagEdit->placeholderText());
    searchButton = new QPushButton(UiText("DirectoryForm", "search", QStringLiteral("Найти")), this);
    searchButton->setObjectName(QStringLiteral("searchButton"));
    searchButton->setDefault(true);

    results = new QTreeWidget(this);
    results->setObjectName(QStringLiteral("results"));
    results->setRootIsDecorated(false);
    results->setUniformRowHeights(true);
    results->setHeaderLabels({UiText("DirectoryForm", "name", QStringLiteral("Название")),
                              UiText("DirectoryForm", "country", QStringLiteral("Страна")),
                              UiText("DirectoryForm", "codec", QStringLiteral("Кодек")),
                              UiText("DirectoryForm", "bitrate", QStringLiteral("Битрейт"))});
    results->header()->setStretchLastSection(false);
    results->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    results->setColumnWidth(1, 120);
    results->setColumnWidth(2, 60);
    results->setColumnWidth(3, 60);

    statusLine = new QLabel(this);
    statusLine->setObjectName(QStringLiteral("statusLine"));
    statusLine->setWordWrap(true);
    results->setAccessibleName(windowTitle());
    chooseButton = new QPushButton(UiText("DirectoryForm", "choose", QStringLiteral("Выбрать")), this);
    chooseButton->setObjectName(QStringLiteral("chooseButton"));
    chooseButton->setEnabled(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(nameEdit, 0, 0);
    grid->addWidget(countryEdit, 0, 1);
    grid->addWidget(tagEdit, 0, 2);
    grid->addWidget(searchButton, 0, 3);
    grid->addWidget(results, 1, 0, 1, 4);
    grid->addWidget(statusLine, 2, 0, 1, 3);
    grid->addWidget(chooseButton, 2, 3);

    connect(searchButton, &QPushButton::clicked, this, &TDirectoryForm::runSearch);
    connect(nameEdit, &QLineEdit::returnPressed, this, &TDirectoryForm::runSearch);
    connect(chooseButton, &QPushButton::clicked, this, &TDirectoryForm::chooseCurrent);
    connect(results, &QTreeWidget::itemDoubleClicked, this, &TDirectoryForm::chooseCurrent);
    connect(results, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { chooseButton->setEnabled(item != nullptr); });
    connect(&directory_, &StationDirectory::finished, this, &TDirectoryForm::showStations);
    connect(&directory_, &StationDirectory::failed, this, [this](const QString& reason) {
        statusLine->setText(reason);
        searchButton->setEnabled(true);
    });
}

void TDirectoryForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!firstShown_ && !event->spontaneous()) {
        firstShown_ = true;
        showFirstScreen();
    }
}

void TDirectoryForm::showFirstScreen() {
    statusLine->setText(
        UiText("DirectoryForm", "loadingTop", QStringLiteral("Загрузка популярных станций…")));
    directory_.mostClicked(kFirstScreenCountries, kFirstScreenPerCountry);
}

void TDirectoryForm::runSearch() {
    const DirectoryQuery query{nameEdit->text(), countryEdit->text(), tagEdit->text(), kSearchLimit};
    if (query.name.trimmed().isEmpty() && query.countryCode.trimmed().isEmpty() &&
        query.tag.trimmed().isEmpty()) {
        showFirstScreen();
        return;
    }
    statusLine->setText(UiText("DirectoryForm", "searching", QStringLiteral("Поиск…")));
    directory_.search(query);
}

void TDirectoryForm::showStations(const QList<DirectoryStation>& stations) {
    stations_ = stations;
    results->setUpdatesEnabled(false);
    results->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(stations.size());
    for (int i = 0; i < stations.size(); ++i) {
        const DirectoryStation& s = stations[i];
        auto* item = new QTreeWidgetItem({s.name, s.country.isEmpty() ? s.countryCode : s.country, s.codec,
                                          s.bitrate > 0 ? QString::number(s.bitrate) : QString()});
        item->setData(0, Qt::UserRole, i);
        item->setToolTip(0, s.url);
        items.append(item);
    }
    results->addTopLevelItems(items);
    results->setUpdatesEnabled(true);
    statusLine->setText(
        stations.isEmpty()
            ? UiText("DirectoryForm", "nothing", QStringLiteral("Ничего не найдено."))
            : UiText("DirectoryForm", "found", QStringLiteral("Найдено станций: %1")).arg(stations.size()));
}

void TDirectoryForm::chooseCurrent() {
    const QTreeWidgetItem* item = results->currentItem();
    if (!item)
        return;
    const int i = item->data(0, Qt::UserRole).toInt();
    if (i < 0 || i >= stations_.size())
        return;
    // Only web streams are listed; a station is never handed on with any other address.
    const QUrl url(stations_[i].url);
    if (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))
        return;
    emit stationChosen(stations_[i].name, stations_[i].url);
}
