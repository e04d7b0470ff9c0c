#include "radio/ui/TMyRadioForm.h"

#include "platform/MessageSink.h"
#include "platform/SlotGuard.h"
#include "platform/UiText.h"
#include "platform/ui/ButtonCaption.h"
#include "platform/ui/CaptionButton.h"
#include "platform/ui/CentreOnWindow.h"
#include "platform/ui/OwnedWindow.h"
#include "platform/ui/PopupMenuBinding.h"
#include "radio/TitleDecoder.h"
#include "radio/ui/RadioIcons.h"
#include "radio/ui/TDirectoryForm.h"
#include "settings/SettingsFile.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>

namespace {
const QString kSection = MyRadioKeys::Section();
const QString kEncodingSection = MyRadioKeys::EncodingSection();
using MyRadioKeys::LinkKey;
using MyRadioKeys::NameKey;

QLineEdit* edit(QWidget* owner, const char* name, int x, int y) {
    auto* e = new QLineEdit(owner);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(x, y, 196, e->sizeHint().height());
    return e;
}

QLabel* label(QWidget* owner, const char* name, const QString& text, int x, int y) {
    auto* l = new QLabel(text, owner);
    l->setObjectName(QLatin1String(name));
    l->move(x, y);
    l->adjustSize();
    return l;
}
} // namespace

TMyRadioForm::TMyRadioForm(SettingsFile& settings, MessageSink& messages, StationHandOver handOver,
                           QWidget* mainWindow, QWidget* parent)
    : QDialog(parent ? parent : mainWindow,
              OwnedWindowFlags(Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                               Qt::WindowMinimizeButtonHint)),
      settings_(settings), messages_(messages), handOver_(handOver), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("MyRadioForm"));
    setWindowTitle(QString());
    setFixedSize(229, 278);

    PopupMenu3 = new QMenu(this);
    PopupMenu3->setObjectName(QStringLiteral("PopupMenu3"));
    N1 = PopupMenu3->addAction(UiText("MyRadioForm", "remove", QStringLiteral("Удалить радиостанцию")));
    N1->setObjectName(QStringLiteral("N1"));
    connect(N1, &QAction::triggered, this, SlotGuard::Guarded(this, &TMyRadioForm::RemoveStation));
    EncodingMenu =
        PopupMenu3->addMenu(UiText("MyRadioForm", "encoding", QStringLiteral("Кодировка названий песен")));
    EncodingMenu->setObjectName(QStringLiteral("EncodingMenu"));
    const std::pair<TitleEncoding, QString> choices[] = {
        {TitleEncoding::Auto, UiText("MyRadioForm", "encodingAuto", QStringLiteral("Определять сама"))},
        {TitleEncoding::Utf8, QStringLiteral("UTF-8")},
        {TitleEncoding::Windows1251, QStringLiteral("Windows-1251")},
        {TitleEncoding::Koi8R, QStringLiteral("KOI8-R")},
        {TitleEncoding::Windows1252, QStringLiteral("Latin-1 (Windows-1252)")},
    };
    for (const auto& [encoding, text] : choices) {
        QAction* a = EncodingMenu->addAction(text);
        a->setCheckable(true);
        a->setData(titleEncodingName(encoding));
        connect(a, &QAction::triggered, this, [this, name = titleEncodingName(encoding)] {
            for (int k = 1; k <= kSlots; ++k)
                if (slotButtons[k - 1] == popupTarget_)
                    setTitleEncoding(k, name);
        });
    }

    auto bindPopup = [this](QPushButton* b) {
        // Enter in an edit must not play the first station.
        b->setAutoDefault(false);
        BindPopupMenu(b, PopupMenu3, [this](QPushButton* target) { fitPopupTo(target); });
    };

    for (int k = 1; k <= kSlots; ++k) {
        // Names are shown whole, wrapped or in a smaller face, like the grid's captions.
        auto* b = new CaptionButton(/*wrap=*/true, this);
        b->setObjectName(QStringLiteral("sBitBtn%1").arg(k));
        const int row = (k - 1) / 3, column = (k - 1) % 3;
        b->setGeometry(15 + 66 * column, 8 + 40 * row, 64, 38);
        bindPopup(b);
        connect(b, &QPushButton::clicked, this, SlotGuard::Guarded([this, k] { PlayStation(k); }));
        slotButtons[k - 1] = b;
    }

    sLabel1 = label(this, "sLabel1",
                    UiText("MyRadioForm", "nameLabel", QStringLiteral("Название радиостанции")), 55, 144);
    sEdit1 = edit(this, "sEdit1", 15, 160);
    sLabel2 = label(this, "sLabel2",
                    UiText("MyRadioForm", "linkLabel", QStringLiteral("Ссылка на радиостанцию")), 50, 190);
    sEdit2 = edit(this, "sEdit2", 15, 210);
    sLabel1->setBuddy(sEdit1);
    sLabel2->setBuddy(sEdit2);
    sEdit1->installEventFilter(this);
    sEdit2->installEventFilter(this);

    sBitBtn10 = new QPushButton(UiText("MyRadioForm", "add", QStringLiteral("Добавить")), this);
    sBitBtn10->setObjectName(QStringLiteral("sBitBtn10"));
    sBitBtn10->setGeometry(70, 240, 100, 25);
    bindPopup(sBitBtn10);
    connect(sBitBtn10, &QPushButton::clicked, this, SlotGuard::Guarded(this, &TMyRadioForm::AddStation));

    DirectoryButton = new QToolButton(this);
    DirectoryButton->setObjectName(QStringLiteral("DirectoryButton"));
    DirectoryButton->setGeometry(15, 240, 40, 25);
    DirectoryButton->setIcon(RadioIcons::search());
    DirectoryButton->setToolTip(
        UiText("MyRadioForm", "directoryHint", QStringLiteral("Найти станцию в каталоге радиостанций")));
    connect(DirectoryButton, &QToolButton::clicked, this, &TMyRadioForm::openDirectory);
}

void TMyRadioForm::openDirectory() {
    if (!directory_) {
        directory_ = new TDirectoryForm(
            settings_.ReadString(QStringLiteral("Directory"), QStringLiteral("server"), QString()), this);
        connect(directory_, &TDirectoryForm::stationChosen, this,
                [this](const QString& name, const QString& url) {
                    sEdit1->setText(name);
                    sEdit2->setText(url);
                });
    }
    directory_->show();
    directory_->raise();
    directory_->activateWindow();
}

QString TMyRadioForm::titleEncoding(int slot) const {
    if (slot < 1 || slot > kSlots)
        return titleEncodingName(TitleEncoding::Auto);
    return titleEncodingName(
        titleEncodingFromName(settings_.ReadString(kEncodingSection, LinkKey(slot), QString())));
}

void TMyRadioForm::setTitleEncoding(int slot, const QString& encoding) {
    try {
        settings_.WriteString(kEncodingSection, LinkKey(slot), encoding);
    } catch (const SettingsWriteError& e) {
        messages_.show(QString::fromUtf8(e.what()));
    }
}

void TMyRadioForm::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        CentreOnWindow(this, mainWindow_);
        LoadStations();
    }
    QDialog::showEvent(event);
}

bool TMyRadioForm::eventFilter(QObject* watched, QEvent* event) {
    // A click into either field starts it afresh.
    if (event->type() == QEvent::MouseButtonPress && (watched == sEdit1 || watched == sEdit2))
        static_cast<QLineEdit*>(watched)->clear();
    return QDialog::eventFilter(watched, event);
}

void TMyRadioForm::LoadStations() {
    for (int k = 1; k <= kSlots; ++k)
        stations_[k - 1].name = settings_.ReadString(kSection, NameKey(k), QString());
    for (int k = 1; k <= kSlots; ++k)
        stations_[k - 1].link = settings_.ReadString(kSection, LinkKey(k), QString());
    for (int k = 1; k <= kSlots; ++k)
        setCaption(k, stations_[k - 1].name);
}

void TMyRadioForm::AddStation() {
    const QString name = sEdit1->text();
    const QString link = sEdit2->text();
    if (name.isEmpty() || link.isEmpty()) {
        messages_.show(
            UiText("MyRadioForm", "fieldsEmpty", QStringLiteral("Некорректно заполнены обязательные поля")));
        return;
    }
    int slot = 0;
    for (int k = 1; k <= kSlots && !slot; ++k)
        if (isFree(k))
            slot = k;
    if (!slot) {
        messages_.show(UiText("MyRadioForm", "noFreeSlot", QStringLiteral("Нет свободных кнопок")));
        return;
    }
    // The slot takes the station first, so that a refused write leaves the button and memory
    // agreeing for the rest of the run; the file keeps what it had.
    stations_[slot - 1] = {name, link};
    setCaption(slot, name);
    try {
        settings_.WriteString(kSection, NameKey(slot), name);
        settings_.WriteString(kSection, LinkKey(slot), link);
    } catch (const SettingsWriteError& e) {
        messages_.show(QString::fromUtf8(e.what()));
    }
}

void TMyRadioForm::PlayStation(int slot) {
    if (slot < 1 || slot > kSlots)
        return;
    *handOver_.pendingStreamUrl = stations_[slot - 1].link;
    handOver_.button1->click();
}

void TMyRadioForm::RemoveStation() {
    QPushButton* target = popupTarget_;
    popupTarget_ = nullptr;
    for (int k = 1; k <= kSlots; ++k) {
        if (slotButtons[k - 1] != target)
            continue;
        try {
            // Name first: once it is empty the slot is free, whatever happens to the link.
            settings_.WriteString(kSection, NameKey(k), QString());
            setCaption(k, QString());
            stations_[k - 1] = {};
            settings_.WriteString(kSection, LinkKey(k), QString());
            // The next station in this slot starts with the automatic choice again.
            if (!settings_.ReadString(kEncodingSection, LinkKey(k), QString()).isEmpty())
                settings_.WriteString(kEncodingSection, LinkKey(k), QString());
        } catch (const SettingsWriteError& e) {
            messages_.show(QString::fromUtf8(e.what()));
        }
        return;
    }
}

QString TMyRadioForm::stationName(int slot) const {
    return stations_.at(slot - 1).name;
}
QString TMyRadioForm::stationLink(int slot) const {
    return stations_.at(slot - 1).link;
}

void TMyRadioForm::setCaption(int slot, const QString& name) {
    SetButtonCaption(slotButtons[slot - 1], name);
    // A free button has no caption to be read by: a screen reader says what it is instead.
    slotButtons[slot - 1]->setAccessibleName(
        name.isEmpty() ? UiText("MyRadioForm", "freeSlot", QStringLiteral("Свободная кнопка %1")).arg(slot)
                       : QString());
}

bool TMyRadioForm::isFree(int slot) const {
    return ButtonCaption(slotButtons[slot - 1]).isEmpty();
}

void TMyRadioForm::keyPressEvent(QKeyEvent* event) {
    // The window closes with its close box only; Escape would otherwise reject the dialog.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    // No button here is a default one (Enter in a field must not play the first station): Enter
    // presses the focused button, and in either field it adds the station, as "Добавить" does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        QWidget* focus = focusWidget();
        if (auto* button = qobject_cast<QAbstractButton*>(focus)) {
            button->animateClick();
            event->accept();
            return;
        }
        if (focus == sEdit1 || focus == sEdit2) {
            sBitBtn10->click();
            event->accept();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void TMyRadioForm::fitPopupTo(QPushButton* button) {
    popupTarget_ = button;
    int slot = 0;
    for (int k = 1; k <= kSlots; ++k)
        if (slotButtons[k - 1] == button)
            slot = k;
    EncodingMenu->setEnabled(slot && !isFree(slot));
    const QString current = titleEncoding(slot);
    for (QAction* a : EncodingMenu->actions())
        a->setChecked(a->data().toString() == current);
}

QPushButton* TMyRadioForm::slotButton(int slot) const {
    return slot >= 1 && slot <= kSlots ? slotButtons[static_cast<size_t>(slot - 1)] : nullptr;
}
