#pragma once

#include <QStyledItemDelegate>

namespace NimbarSensorPlugin::Core {

// Paints the process-data and observation lists without a focus frame:
// the lists are read, not edited, so a focused cell means nothing there.
class StateOfDeviceMyDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

} // namespace NimbarSensorPlugin::Core
