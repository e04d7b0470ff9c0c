#include "app/ui/KeyboardAccess.h"

#include "app/ui/TForm1.h"
#include "desktop/ui/AccessibleNames.h"
#include "desktop/ui/EscapeCloses.h"
#include "desktop/ui/KeyboardGroups.h"
#include "navigation/CategoryBar.h"
#include "platform/ui/ChromiumView.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

KeyboardAccess::KeyboardAccess(TForm1& main, const std::vector<QWidget*>& windows,
                               const std::vector<QWidget*>& closeOnEscape)
    : groups_(std::make_unique<KeyboardGroups>()), names_(std::make_unique<AccessibleNames>()),
      escape_(std::make_unique<EscapeCloses>()) {
    TForm1& f = main;
    // In the order the eye reads the window: the bar, the grid, the radio strip, the tool bar.
    QList<QWidget*> bar;
    for (const CategoryButton& b : CategoryBar::Buttons())
        bar.append(f.categoryButton(b.number));
    groups_->addGroup(bar);
    QList<QWidget*> grid;
    for (QPushButton* slot : f.Slots)
        grid.append(slot);
    groups_->addGroup(grid);
    groups_->addGroup({f.sSpeedButton10, f.sSpeedButton11, f.sSpeedButton12, f.sSpeedButton13,
                       f.sSpeedButton14, f.sScrollBar1});
    groups_->addGroup({f.sSpeedButton8, f.sSpeedButton9, f.sSpeedButton1, f.sSpeedButton4, f.sSpeedButton2,
                       f.sSpeedButton5, f.sSpeedButton3, f.sSpeedButton7, f.sSpeedButton6});

    // Controls without a caption or hint of their own.
    f.sSpeedButton8->setAccessibleName(QStringLiteral("Поверх всех окон"));
    f.sSpeedButton9->setAccessibleName(QStringLiteral("Обычное положение окна"));
    f.sScrollBar1->setAccessibleName(f.VolumeCaption->text());
    f.sEdit1->setAccessibleName(QStringLiteral("Название записи"));
    // The containers too, so that a reader moving through the window knows where it is.
    f.sPanel1->setAccessibleName(QStringLiteral("Каналы"));
    f.sPanel2->setAccessibleName(QStringLiteral("Радио"));
    f.Chromium1->setAccessibleName(QStringLiteral("Страница канала"));
    for (QWidget* w : windows)
        names_->nameButtonsOf(w);
    for (QWidget* w : closeOnEscape)
        escape_->add(w);
}

KeyboardAccess::~KeyboardAccess() = default;
