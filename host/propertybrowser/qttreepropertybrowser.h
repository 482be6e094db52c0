#pragma once

// A property browser that shows the properties as a two-column tree ("Property", "Value") and
// opens the editor of the current row in its value column. Selecting a row, the arrow keys and
// the wheel never open an editor or change a value: a click on the value, F2, Enter or typing
// opens the editor; Enter or leaving it commits, Esc abandons the edit.

#include "qtpropertybrowser.h"

#include <QColor>
#include <QHash>
#include <QSet>

class QTreeWidget;
class QTreeWidgetItem;

class QtTreePropertyBrowser : public QtAbstractPropertyBrowser
{
    Q_OBJECT
    Q_PROPERTY(int indentation READ indentation WRITE setIndentation)
    Q_PROPERTY(bool rootIsDecorated READ rootIsDecorated WRITE setRootIsDecorated)
    Q_PROPERTY(bool alternatingRowColors READ alternatingRowColors WRITE setAlternatingRowColors)
    Q_PROPERTY(bool headerVisible READ isHeaderVisible WRITE setHeaderVisible)
    Q_PROPERTY(ResizeMode resizeMode READ resizeMode WRITE setResizeMode)
    Q_PROPERTY(int splitterPosition READ splitterPosition WRITE setSplitterPosition)
    Q_PROPERTY(bool propertiesWithoutValueMarked READ propertiesWithoutValueMarked WRITE
                   setPropertiesWithoutValueMarked)
public:
    // How the two header sections size themselves.
    enum ResizeMode
    {
        Interactive,
        Stretch,
        Fixed,
        ResizeToContents
    };
    Q_ENUM(ResizeMode)

    explicit QtTreePropertyBrowser(QWidget* parent = nullptr);
    ~QtTreePropertyBrowser() override;

    int indentation() const;
    void setIndentation(int indentation);
    bool rootIsDecorated() const;
    void setRootIsDecorated(bool show);
    bool alternatingRowColors() const;
    void setAlternatingRowColors(bool enable);
    bool isHeaderVisible() const;
    void setHeaderVisible(bool visible);
    ResizeMode resizeMode() const { return m_resizeMode; }
    void setResizeMode(ResizeMode mode);
    // Width of the "Property" column.
    int splitterPosition() const;
    void setSplitterPosition(int position);

    void setExpanded(QtBrowserItem* item, bool expanded);
    bool isExpanded(QtBrowserItem* item) const;
    // A hidden row keeps its property and its sub-rows; showing it again brings all back.
    bool isItemVisible(QtBrowserItem* item) const;
    void setItemVisible(QtBrowserItem* item, bool visible);

    // A row without its own colour takes its nearest ancestor's.
    void setBackgroundColor(QtBrowserItem* item, const QColor& color);
    QColor backgroundColor(QtBrowserItem* item) const { return m_backgroundColors.value(item); }
    QColor calculatedBackgroundColor(QtBrowserItem* item) const;

    // An icon before the row's name, for a plug-in to mark a row for the user's
    // attention; a null icon removes it. An addition to the usual API.
    void setItemIcon(QtBrowserItem* item, const QIcon& icon);
    QIcon itemIcon(QtBrowserItem* item) const { return m_itemIcons.value(item); }
    // The row's value in bold, for a value that differs from what it stands
    // for elsewhere (an edit not yet saved). An addition to the usual API.
    void setValueBold(QtBrowserItem* item, bool bold);
    bool isValueBold(QtBrowserItem* item) const { return m_boldValues.contains(item); }

    // Rows of properties without a value (groups) are drawn in a darker colour.
    void setPropertiesWithoutValueMarked(bool mark);
    bool propertiesWithoutValueMarked() const { return m_markPropertiesWithoutValue; }

    // Opens the item's editor and gives it the focus, when its property is enabled and its
    // manager has a factory.
    void editItem(QtBrowserItem* item);

Q_SIGNALS:
    void collapsed(QtBrowserItem* item);
    void expanded(QtBrowserItem* item);

protected:
    void changeEvent(QEvent* event) override;
    void itemInserted(QtBrowserItem* item, QtBrowserItem* afterItem) override;
    void itemRemoved(QtBrowserItem* item) override;
    void itemChanged(QtBrowserItem* item) override;

private:
    class TreeView;
    class ItemDelegate;

    QtBrowserItem* browserItem(const QTreeWidgetItem* treeItem) const;
    void updateRow(QtBrowserItem* item);
    void updateSubtree(QtBrowserItem* item);
    void closeEditors(QTreeWidgetItem* treeItem);
    void onTreeCurrentChanged(QTreeWidgetItem* treeItem, QTreeWidgetItem* previous);
    void onBrowserCurrentChanged(QtBrowserItem* item);

    TreeView* m_tree;
    QHash<QtBrowserItem*, QTreeWidgetItem*> m_treeItems;
    QHash<const QTreeWidgetItem*, QtBrowserItem*> m_browserItems;
    QHash<QtBrowserItem*, QColor> m_backgroundColors;
    QHash<QtBrowserItem*, QIcon> m_itemIcons;
    QSet<QtBrowserItem*> m_boldValues;
    ResizeMode m_resizeMode = Stretch;
    bool m_markPropertiesWithoutValue = false;
    // Set while the tree's and the browser's current item are brought in line.
    bool m_syncingCurrent = false;
};
