#include "app/ui/KeyboardAccess.h"

#include "app/ui/TForm1.h"
#include "desktop/ui/AccessibleNames.h"
#include "desktop/ui/EscapeCloses.h"
#include "desktop/ui/KeyboardGroups.h"
#include "navigation/CategoryBar.h"
#include "platform/UiText.h"
#include "platform/ui/ChromiumView.h"
#include "platform/ui/FindControl.h"

#include <QLabel>
#include <QPushButton>

#include <initializer_list>

KeyboardAccess::KeyboardAccess(TForm1& main, const std::vector<QWidget*>& windows,
                               const std::vector<QWidget*>& closeOnEscape)
    : groups_(std::make_unique<KeyboardGroups>()), names_(std::make_unique<AccessibleNames>()),
      escape_(std::make_unique<EscapeCloses>()) {
    // The strip, tool bar and containers are reached by their object names, as any assistive tool
    // reaches them.
    const auto named = [&main](const char* name) {
        return FindControl<QWidget>(main, QString::fromLatin1(name));
    };
    const auto namedList = [&named](std::initializer_list<const char*> names) {
        QList<QWidget*> widgets;
        for (const char* name : names)
            widgets.append(named(name));
        return widgets;
    };
    // In the order the eye reads the window: the bar, the grid, the radio strip, the tool bar.
    QList<QWidget*> bar;
    for (const CategoryButton& b : CategoryBar::Buttons())
        bar.append(main.categoryButton(b.number));
    groups_->addGroup(bar);
    QList<QWidget*> grid;
    for (int slot = 1; slot <= GridSurface::kSlots; ++slot)
        grid.append(main.slotButton(slot));
    groups_->addGroup(grid);
    groups_->addGroup(namedList(
        {"sSpeedButton10", "sSpeedButton11", "sSpeedButton12", "sSpeedButton13", "sSpeedButton14"}));
    // The volume bar is a stop of its own: its arrow keys move the volume, so a group it shared
    // with the buttons could not be left for them once Tab had brought the focus back to it.
    groups_->addGroup(namedList({"sScrollBar1"}));
    groups_->addGroup(
        namedList({"sSpeedButton8", "sSpeedButton9", "sSpeedButton1", "sSpeedButton4", "sSpeedButton2",
                   "sSpeedButton5", "sSpeedButton3", "sSpeedButton7", "sSpeedButton6"}));

    // Controls without a caption or hint of their own.
    named("sSpeedButton8")->setAccessibleName(UiText("Access", "onTop", QStringLiteral("Поверх всех окон")));
    named("sSpeedButton9")
        ->setAccessibleName(UiText("Access", "normal", QStringLiteral("Обычное положение окна")));
    named("sScrollBar1")
        ->setAccessibleName(FindControl<QLabel>(main, QStringLiteral("VolumeCaption"))->text());
    named("sEdit1")->setAccessibleName(UiText("Access", "recordName", QStringLiteral("Название записи")));
    // The containers too, so that a reader moving through the window knows where it is.
    named("sPanel1")->setAccessibleName(UiText("Access", "channels", QStringLiteral("Каналы")));
    named("sPanel2")->setAccessibleName(UiText("Access", "radio", QStringLiteral("Радио")));
    main.mainView()->setAccessibleName(UiText("Access", "channelPage", QStringLiteral("Страница канала")));
    // The windows' titles are empty by design; a screen reader still says which window it is in.
    struct WindowName {
        const char* objectName;
        const char* key;
        const char16_t* russian;
    };
    static constexpr WindowName kWindowNames[] = {
        {"DonationForm", "donationWindow", u"Помощь проекту"},
        {"FavoriteForm", "favoritesWindow", u"Избранное"},
        {"TVprogrammForm", "programmeWindow", u"ТВ программа"},
        {"Form2", "closedWindow", u"Закрытый раздел"},
        {"Browser2Form", "partnerWindow", u"Сайт партнёра"},
        {"KorbinaForm", "partnerWindow", u"Сайт партнёра"},
        {"OvegoPlayerForm", "partnerWindow", u"Сайт партнёра"},
        {"RadioSaveForm", "recordWindow", u"Название записи"},
        {"RadioForm", "miniRadioWindow", u"Минирадио"},
        {"MyRadioForm", "myRadioWindow", u"Мое радио"},
    };
    for (QWidget* w : windows) {
        for (const WindowName& n : kWindowNames)
            if (w->objectName() == QLatin1String(n.objectName))
                w->setAccessibleName(UiText("Access", n.key, QString::fromUtf16(n.russian)));
        if (w->accessibleName().isEmpty())
            w->setAccessibleName(w->windowTitle());
    }
    for (QWidget* w : windows)
        names_->nameButtonsOf(w);
    for (QWidget* w : closeOnEscape)
        escape_->add(w);
}

KeyboardAccess::~KeyboardAccess() = default;
