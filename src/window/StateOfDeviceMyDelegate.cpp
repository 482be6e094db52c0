#include "StateOfDeviceMyDelegate.h"

namespace NimbarSensorPlugin::Core {

void StateOfDeviceMyDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    QStyleOptionViewItem plain(option);
    plain.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, plain, index);
}

} // namespace NimbarSensorPlugin::Core
