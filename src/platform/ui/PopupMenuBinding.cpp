#include "platform/ui/PopupMenuBinding.h"

#include <QMenu>
#include <QPushButton>

void BindPopupMenu(QPushButton* button, QMenu* menu, std::function<void(QPushButton*)> opening) {
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(button, &QWidget::customContextMenuRequested, menu,
                     [button, menu, opening = std::move(opening)](const QPoint& pos) {
                         if (opening)
                             opening(button);
                         menu->popup(button->mapToGlobal(pos));
                     });
}
