#include "favorites/ui/TFavoriteForm.h"

#include "platform/MessageSink.h"
#include "platform/SlotGuard.h"
#include "platform/UiText.h"
#include "platform/ui/ButtonCaption.h"
#include "platform/ui/CaptionButton.h"
#include "platform/ui/CentreOnWindow.h"
#include "platform/ui/OwnedWindow.h"
#include "platform/ui/PopupMenuBinding.h"
#include "settings/LanguagePack.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QShowEvent>

namespace {
constexpr int kRows = 8;
constexpr std::array<int, 3> kColumnX{15, 81, 147};
} // namespace

TFavoriteForm::TFavoriteForm(SettingsFile& store, StartFavoriteFn startFavorite, MessageSink& messages,
                             QWidget* mainWindow, LangLookup langText)
    : QWidget(mainWindow, OwnedWindowFlags(Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)),
      slots_(store), startFavorite_(std::move(startFavorite)), messages_(messages), mainWindow_(mainWindow),
      langText_(langText ? std::move(langText) : LangLookup(&::LangText)) {
    setObjectName(QStringLiteral("FavoriteForm"));
    setWindowTitle(QString());
    setFixedSize(224, 388);
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(11);
    setFont(f);

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    N1 = PopupMenu2->addAction(UiText("FavoriteForm", "clear", QStringLiteral("Очистить")));
    N1->setObjectName(QStringLiteral("N1"));
    connect(N1, &QAction::triggered, this, SlotGuard::Guarded(this, &TFavoriteForm::RemoveFavorite));

    for (int k = 1; k <= FavoriteSlots::Count; ++k) {
        auto* b = new CaptionButton(/*wrap=*/true, this);
        b->setObjectName(QStringLiteral("sBitBtn%1").arg(k));
        b->setGeometry(kColumnX[(k - 1) / kRows], 8 + 40 * ((k - 1) % kRows), 64, 38);
        connect(b, &QPushButton::clicked, this, SlotGuard::Guarded([this, k] { PickFavorite(k); }));
        Slots[k - 1] = b;
    }

    sBitBtn25 = new QPushButton(UiText("FavoriteForm", "close", QStringLiteral("Закрыть")), this);
    sBitBtn25->setObjectName(QStringLiteral("sBitBtn25"));
    sBitBtn25->setGeometry(81, 345, 64, 25);
    connect(sBitBtn25, &QPushButton::clicked, this, SlotGuard::Guarded(this, &TFavoriteForm::sBitBtn25Click));

    sButton1 = new QPushButton(UiText("FavoriteForm", "favorites", QStringLiteral("Избранное")), this);
    sButton1->setObjectName(QStringLiteral("sButton1"));
    sButton1->setGeometry(8, 345, 65, 25);
    sButton1->setVisible(false);
    connect(sButton1, &QPushButton::clicked, this, SlotGuard::Guarded(this, &TFavoriteForm::sButton1Click));

    const auto remember = [this](QPushButton* b) { popupButton_ = b; };
    for (auto* b : Slots)
        BindPopupMenu(b, PopupMenu2, remember);
    BindPopupMenu(sBitBtn25, PopupMenu2, remember);

    LoadFavorites();
}

QPushButton* TFavoriteForm::slotButton(int slot) const {
    return slot >= 1 && slot <= FavoriteSlots::Count ? Slots[slot - 1] : nullptr;
}

void TFavoriteForm::LoadFavorites() {
    slots_.Load();
    for (int k = 1; k <= FavoriteSlots::Count; ++k)
        showSlot(k);
}

void TFavoriteForm::showSlot(int slot) {
    setCaption(slot, slots_.caption(slot));
}

void TFavoriteForm::setCaption(int slot, const QString& caption) {
    QPushButton* b = Slots[slot - 1];
    SetButtonCaption(b, caption);
    // An empty slot has no caption to be read by: a screen reader says what it is instead.
    b->setAccessibleName(
        caption.isEmpty()
            ? UiText("FavoriteForm", "emptySlot", QStringLiteral("Свободное место %1")).arg(slot)
            : QString());
}

void TFavoriteForm::AddFavorite(const QString& caption) {
    if (const auto slot = slots_.firstFree()) {
        // The slot holds the caption for the run even when the store refuses it (the error goes
        // on to be shown), so the button shows it whatever the write does.
        const auto show = qScopeGuard([this, k = *slot] { showSlot(k); });
        slots_.Add(caption);
    }
    if (slots_.full())
        messages_.show(langText_(QStringLiteral("Message"), QStringLiteral("NoFavorite")));
}

void TFavoriteForm::PickFavorite(int slot) {
    if (!slotButton(slot))
        return;
    pickedCaption_ = slots_.caption(slot);
    sButton1Click();
}

void TFavoriteForm::sButton1Click() {
    if (startFavorite_)
        startFavorite_(pickedCaption_);
}

void TFavoriteForm::RemoveFavorite() {
    for (int k = 1; k <= FavoriteSlots::Count; ++k) {
        if (Slots[k - 1] == popupButton_) {
            // The slot is emptied on screen first, so a refused write leaves it cleared for the run.
            setCaption(k, QString());
            slots_.Clear(k);
            return;
        }
    }
}

void TFavoriteForm::sBitBtn25Click() {
    hide();
}

void TFavoriteForm::showEvent(QShowEvent* e) {
    if (!e->spontaneous())
        CentreOnWindow(this, mainWindow_);
    QWidget::showEvent(e);
}
