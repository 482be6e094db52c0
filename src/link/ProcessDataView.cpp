#include "ProcessDataView.h"

#include "link/ProcessData.h"

#include <QIcon>
#include <QKeyEvent>
#include <QTreeWidget>

namespace NimbarSensorPlugin::Core {

namespace {

const QColor groupBackground(0, 97, 158, 250);
const QColor evaluatedEchoColour(0, 97, 158);
// Positions of the rows the view fills.
constexpr int distanceRow = 0;
constexpr int firstBitRow = 2;
constexpr int firstSwitchRow = 10;
constexpr int firstEchoRow = 15;
constexpr int lastEchoRow = 22;

QTreeWidgetItem* addGroupItem(QTreeWidget* tree)
{
    auto* item = new QTreeWidgetItem(tree);
    for (int column = 0; column < 4; ++column) {
        item->setBackground(column, groupBackground);
        item->setForeground(column, Qt::white);
    }
    QFont font("Segoe UI", 12);
    font.setWeight(QFont::Light);
    item->setFont(0, font);
    item->setTextAlignment(0, Qt::AlignHCenter);
    item->setExpanded(true);
    return item;
}

QPixmap statePicture(const char* icon)
{
    return QIcon(icon).pixmap(40, 40).scaled(40, 40, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void setEchoEmphasis(QTreeWidgetItem* item, bool evaluated)
{
    for (int column : {0, 3}) {
        item->setForeground(column, evaluated ? QBrush(evaluatedEchoColour) : QBrush(Qt::darkGray));
        QFont font = item->font(column);
        font.setBold(evaluated);
        item->setFont(column, font);
    }
}

} // namespace

ProcessDataView::ProcessDataView(QTreeWidget* tree)
    : QObject(tree), list(tree), measurement(addGroupItem(tree)), deviceToMaster(addGroupItem(tree)),
      masterToDevice(addGroupItem(tree)), objects(addGroupItem(tree))
{
    for (QTreeWidgetItem*& group : objectGroups) {
        group = new QTreeWidgetItem(objects);
        group->setSizeHint(2, QSize(32, 32));
    }
    objectGroups[0]->setExpanded(true);
    retranslate({});
    tree->installEventFilter(this);
}

// Space toggles the check box of the focused row whichever of its cells is
// current; the view alone reacts only on the check box's own cell.
bool ProcessDataView::eventFilter(QObject*, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    QTreeWidgetItem* item = list->currentItem();
    const Qt::ItemFlags checkable = Qt::ItemIsUserCheckable | Qt::ItemIsEnabled;
    if (key->key() != Qt::Key_Space || key->modifiers() != Qt::NoModifier || !item ||
        (item->flags() & checkable) != checkable)
        return false;
    // Holding the key down toggles once.
    if (!key->isAutoRepeat())
        item->setCheckState(2, item->checkState(2) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    return true;
}

void ProcessDataView::addRow(const QString& id, int object, bool hidden)
{
    const int position = rows.size();
    QTreeWidgetItem* row = nullptr;
    if (id.startsWith('0')) {
        row = new QTreeWidgetItem(deviceToMaster);
        if (position >= firstBitRow && position < firstBitRow + 8) {
            row->setText(3, tr("Off"));
            const char* icon = position == 2   ? ":/newPrefix/icons/led_state_1_1.svg"
                               : position == 3 ? ":/newPrefix/icons/led_state_1_2.svg"
                                               : ":/newPrefix/icons/led_state_F_2.svg";
            row->setIcon(2, QIcon(icon));
            row->setSizeHint(2, QSize(36, 36));
        }
    } else if (id.startsWith('1')) {
        row = new QTreeWidgetItem(masterToDevice);
        row->setSizeHint(2, QSize(36, 36));
        row->setFlags(row->flags() | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        row->setCheckState(2, position == firstSwitchRow ? Qt::Checked : Qt::Unchecked);
        sentCheckStates.insert(row, row->checkState(2));
        row->setText(3, position == firstSwitchRow ? tr("On") : tr("Off"));
        row->setData(2, 99, position);
    } else if (id.startsWith('n')) {
        row = new QTreeWidgetItem(measurement);
        row->setSizeHint(2, QSize(40, 40));
        if (position == distanceRow) {
            row->setText(2, " 0 ");
            row->setText(3, "mm ");
        }
    } else if (id.startsWith('2') && object >= 1 && object <= 4) {
        row = new QTreeWidgetItem(objectGroups[std::size_t(object - 1)]);
        row->setSizeHint(2, QSize(32, 32));
    }
    rows.append(row);
    if (row && hidden)
        row->setHidden(true);
}

void ProcessDataView::setCaptions(const QStringList& captions, const QStringList& ids)
{
    for (int k = 0; k < rows.size(); ++k) {
        if (QTreeWidgetItem* row = rows[k]) {
            row->setText(0, captions.value(k));
            row->setStatusTip(0, ids.value(k));
        }
    }
}

// Captions of a new language end in a blank, as the lists have always shown them.
void ProcessDataView::retranslate(const QStringList& captions)
{
    measurement->setText(0, tr("Measurement Value"));
    deviceToMaster->setText(0, tr("Device to Master"));
    masterToDevice->setText(0, tr("Master to Device"));
    objects->setText(0, tr("Object information"));
    for (std::size_t k = 0; k < objectGroups.size(); ++k)
        objectGroups[k]->setText(0, tr("Object %1").arg(k + 1));
    if (captions.isEmpty())
        return;
    for (int k = 0; k < rows.size(); ++k) {
        if (QTreeWidgetItem* row = rows[k])
            row->setText(0, captions.value(k) + " ");
    }
    for (int k = firstBitRow; k < firstBitRow + 8 && k < rows.size(); ++k) {
        if (QTreeWidgetItem* row = rows[k])
            row->setText(3, tr("Off"));
    }
    list->resizeColumnToContents(0);
}

void ProcessDataView::setRowToolTip(int position, const QString& text)
{
    if (QTreeWidgetItem* item = rows.value(position))
        item->setToolTip(0, text);
}

void ProcessDataView::setPresentation(bool on)
{
    measurement->setExpanded(true);
    // The outputs' LEDs are what a presentation shows beside the distance.
    deviceToMaster->setExpanded(true);
    masterToDevice->setExpanded(!on);
    objects->setExpanded(!on);
}

void ProcessDataView::showDistance(DistanceKind kind, double value, const QString& unitText)
{
    QTreeWidgetItem* distance = rows.value(distanceRow);
    if (!distance)
        return;
    switch (kind) {
    case DistanceKind::NoData:
        distance->setText(2, QString());
        distance->setText(3, tr("No data"));
        break;
    case DistanceKind::TooClose:
        distance->setText(0, tr("Distance") + "     " + tr("Object too close"));
        distance->setText(2, QString());
        break;
    case DistanceKind::TooFar:
        distance->setText(0, tr("Distance") + "     " + tr("Object too far"));
        distance->setText(2, QString());
        break;
    case DistanceKind::Distance:
        distance->setText(0, tr("Distance"));
        distance->setText(2, QString::number(value, 'g', 6));
        distance->setText(3, unitText);
        break;
    }
}

// Rows 9 down to 2 show the status bits b7 to b0.
void ProcessDataView::showStatusBits(quint8 bits)
{
    for (int bit = 7; bit >= 0; --bit) {
        QTreeWidgetItem* row = rows.value(firstBitRow + bit);
        if (!row)
            continue;
        const bool on = bits & (1 << bit);
        row->setText(3, on ? tr("On") : tr("Off"));
        if (bit >= 2) {
            if (on)
                row->setData(2, Qt::DecorationRole,
                             statePicture(":/newPrefix/icons/!_galben_cerc_negru.svg"));
            else
                row->setIcon(2, QIcon(":/newPrefix/icons/led_state_F_2.svg"));
            continue;
        }
        const char* onIcon =
            bit == 1 ? ":/newPrefix/icons/led_state_2_2.svg" : ":/newPrefix/icons/led_state_2_1.svg";
        const char* offIcon =
            bit == 1 ? ":/newPrefix/icons/led_state_1_2.svg" : ":/newPrefix/icons/led_state_1_1.svg";
        if (on) {
            row->setIcon(2, QIcon(onIcon));
            row->setData(2, Qt::DecorationRole, statePicture(onIcon));
        } else {
            row->setIcon(2, QIcon(offIcon));
        }
    }
}

void ProcessDataView::resetEchoRows()
{
    for (int position = firstEchoRow; position <= lastEchoRow; ++position) {
        if (QTreeWidgetItem* item = rows.value(position))
            setEchoEmphasis(item, false);
    }
}

// Each echo has two rows, its distance and its amplitude; the evaluated
// one stands out.
void ProcessDataView::showEchoes(const EchoRecord& echoes, const QList<double>& distances,
                                 const QString& unitText)
{
    resetEchoRows();
    for (int n = 1; n <= 4; ++n) {
        const int code = echoes.distanceCodes[std::size_t(n - 1)];
        QString text;
        if (code == 0x8008)
            text = tr("Object too close");
        else if (code == 0x7FF8)
            text = tr("Object too far");
        else if (code == 0x7FFC)
            text = tr(" No data");
        else
            text = QString::number(distances.value(n - 1), 'f', 1) + unitText;
        if (QTreeWidgetItem* row = rows.value(13 + 2 * n))
            row->setText(3, text);
        if (QTreeWidgetItem* row = rows.value(14 + 2 * n))
            row->setText(3, QString::number(echoes.amplitudes[std::size_t(n - 1)]));
    }
    const int evaluated = echoes.evaluatedEcho;
    if (evaluated < 0 || evaluated > 3)
        return;
    for (int position : {firstEchoRow + 2 * evaluated, firstEchoRow + 1 + 2 * evaluated}) {
        if (QTreeWidgetItem* item = rows.value(position))
            setEchoEmphasis(item, true);
    }
}

void ProcessDataView::clearEchoes()
{
    for (int position = firstEchoRow; position <= lastEchoRow; ++position) {
        if (QTreeWidgetItem* item = rows.value(position))
            item->setText(3, QString());
    }
    resetEchoRows();
}

void ProcessDataView::clearLive(const QString& unitText)
{
    if (QTreeWidgetItem* distance = rows.value(distanceRow)) {
        distance->setText(0, tr("Distance"));
        distance->setText(2, QString(QChar(0x2013)));
        distance->setText(3, unitText);
    }
    showStatusBits(0);
    clearEchoes();
}

bool ProcessDataView::isUnsentSwitchChange(const QTreeWidgetItem* item) const
{
    return item && item->data(2, 99).toInt() > 0 && sentCheckStates.value(item) != item->checkState(2);
}

std::array<bool, 5> ProcessDataView::markSwitchSent(QTreeWidgetItem* item)
{
    sentCheckStates.insert(item, item->checkState(2));
    std::array<bool, 5> states{};
    for (int position = firstSwitchRow; position < firstSwitchRow + 5; ++position) {
        QTreeWidgetItem* switchRow = rows.value(position);
        const bool on = switchRow && switchRow->checkState(2) == Qt::Checked;
        states[std::size_t(position - firstSwitchRow)] = on;
        if (switchRow)
            switchRow->setText(3, on ? tr("On") : tr("Off"));
    }
    return states;
}

} // namespace NimbarSensorPlugin::Core
