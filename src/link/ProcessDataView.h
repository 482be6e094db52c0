#pragma once

#include <QList>
#include <QMap>
#include <QObject>
#include <QStringList>

#include <array>

class QTreeWidget;
class QTreeWidgetItem;

namespace NimbarSensorPlugin::Core {

enum class DistanceKind;
struct EchoRecord;

// The process-data list: its four groups, the rows of the description
// document's caption section in the section's order (the rest of the window
// addresses them by position: the distance first, then the status bits b0
// to b7, the five switches of the master's outputs, the echoes), the live
// values shown in them, and the switch states last sent.
class ProcessDataView : public QObject
{
    Q_OBJECT
public:
    // The view fills the tree; the tree's dock owns it.
    explicit ProcessDataView(QTreeWidget* tree);

    QTreeWidget* tree() const { return list; }
    // The row of the caption section's entry at the next position, in the
    // group its id names (an echo row under its object, 1 to 4); an entry of
    // no known group takes no row but keeps its position.
    void addRow(const QString& id, int object, bool hidden);
    // Captions and ids of the rows, by position.
    void setCaptions(const QStringList& captions, const QStringList& ids);
    void retranslate(const QStringList& captions);
    QTreeWidgetItem* row(int position) const { return rows.value(position); }
    void setRowToolTip(int position, const QString& text);
    // Presentation mode keeps only the measurement group open.
    void setPresentation(bool on);

    void showDistance(DistanceKind kind, double value, const QString& unitText);
    // The switching outputs as LEDs, the other bits as a warning when set.
    void showStatusBits(quint8 bits);
    void showEchoes(const EchoRecord& echoes, const QList<double>& distances, const QString& unitText);
    void clearEchoes();
    // Nothing looks live: the distance shows a dash, bits and echoes are off.
    void clearLive(const QString& unitText);

    // A switch row whose check state is not the one last sent.
    bool isUnsentSwitchChange(const QTreeWidgetItem* item) const;
    // The row's state counts as sent; the five switches' states, as shown.
    std::array<bool, 5> markSwitchSent(QTreeWidgetItem* item);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void resetEchoRows();

    QTreeWidget* list;
    QTreeWidgetItem* measurement;
    QTreeWidgetItem* deviceToMaster;
    QTreeWidgetItem* masterToDevice;
    QTreeWidgetItem* objects;
    std::array<QTreeWidgetItem*, 4> objectGroups{};
    QList<QTreeWidgetItem*> rows;
    QMap<const QTreeWidgetItem*, Qt::CheckState> sentCheckStates;
};

} // namespace NimbarSensorPlugin::Core
