#include "qttreepropertybrowser.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include <algorithm>

namespace {

constexpr int NameColumn = 0;
constexpr int ValueColumn = 1;

QHeaderView::ResizeMode headerMode(QtTreePropertyBrowser::ResizeMode mode)
{
    switch (mode) {
    case QtTreePropertyBrowser::Interactive:
        return QHeaderView::Interactive;
    case QtTreePropertyBrowser::Fixed:
        return QHeaderView::Fixed;
    case QtTreePropertyBrowser::ResizeToContents:
        return QHeaderView::ResizeToContents;
    case QtTreePropertyBrowser::Stretch:
        break;
    }
    return QHeaderView::Stretch;
}

} // namespace

// The tree itself: a click on the current row, or an edit key, (re)opens the row's editor, which
// a click elsewhere in the application or the Enter key may have closed.
class QtTreePropertyBrowser::TreeView : public QTreeWidget
{
public:
    explicit TreeView(QtTreePropertyBrowser* browser) : QTreeWidget(browser), m_browser(browser) {}

    QTreeWidgetItem* rowOf(const QModelIndex& index) const { return itemFromIndex(index); }

    void dropEditor(QTreeWidgetItem* row)
    {
        QWidget* editor = itemWidget(row, ValueColumn);
        if (!editor)
            return;
        if (isPersistentEditorOpen(row, ValueColumn))
            closePersistentEditor(row, ValueColumn);
        else
            closeEditor(editor, QAbstractItemDelegate::NoHint);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        QTreeWidget::mousePressEvent(event);
        QTreeWidgetItem* row = itemAt(event->pos());
        if (event->button() == Qt::LeftButton && row && row == currentItem())
            m_browser->editItem(m_browser->browserItem(row));
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        const bool editKey =
            event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_F2;
        if (editKey && currentItem()) {
            m_browser->editItem(m_browser->browserItem(currentItem()));
            event->accept();
            return;
        }
        QTreeWidget::keyPressEvent(event);
    }

private:
    QtTreePropertyBrowser* m_browser;
};

// Editors come from the factory bound to the property's manager. They talk to the manager
// directly, so there is no model data to load or store.
class QtTreePropertyBrowser::ItemDelegate : public QStyledItemDelegate
{
public:
    ItemDelegate(QtTreePropertyBrowser* browser, QObject* parent)
        : QStyledItemDelegate(parent), m_browser(browser)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override
    {
        if (index.column() != ValueColumn || !(index.flags() & Qt::ItemIsEnabled))
            return nullptr;
        QtBrowserItem* item = m_browser->browserItem(m_browser->m_tree->rowOf(index));
        QWidget* editor = item ? m_browser->createEditor(item->property(), parent) : nullptr;
        if (editor) {
            // Covers the value text painted underneath.
            editor->setAutoFillBackground(true);
            editor->setBackgroundRole(QPalette::Base);
        }
        return editor;
    }

    // The whole cell, over the value icon too: a check box brings its own indicator.
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex&) const override
    {
        editor->setGeometry(option.rect);
    }

    void setEditorData(QWidget*, const QModelIndex&) const override {}
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        // Rows high enough for a spin box or combo box to fit when the editor opens.
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(std::max(size.height(), option.fontMetrics.height() + 10));
        return size;
    }

private:
    QtTreePropertyBrowser* m_browser;
};

QtTreePropertyBrowser::QtTreePropertyBrowser(QWidget* parent)
    : QtAbstractPropertyBrowser(parent), m_tree(new TreeView(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree);
    setFocusProxy(m_tree);

    m_tree->setObjectName(QStringLiteral("propertyTreeView"));
    m_tree->setColumnCount(2);
    m_tree->setHeaderLabels({tr("Property"), tr("Value")});
    m_tree->setAlternatingRowColors(true);
    // Editors are opened by this browser, on the current row.
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    // Status tips are shown while the mouse moves over the rows.
    m_tree->setMouseTracking(true);
    m_tree->setItemDelegate(new ItemDelegate(this, m_tree));
    m_tree->header()->setSectionsMovable(false);
    m_tree->header()->setSectionResizeMode(headerMode(m_resizeMode));

    connect(m_tree, &QTreeWidget::currentItemChanged, this, &QtTreePropertyBrowser::onTreeCurrentChanged);
    connect(m_tree, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* row) {
        if (QtBrowserItem* item = browserItem(row))
            emit expanded(item);
    });
    connect(m_tree, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* row) {
        if (QtBrowserItem* item = browserItem(row))
            emit collapsed(item);
    });
    connect(this, &QtAbstractPropertyBrowser::currentItemChanged, this,
            &QtTreePropertyBrowser::onBrowserCurrentChanged);
}

QtTreePropertyBrowser::~QtTreePropertyBrowser()
{
    // Nobody should hear of current-item changes from a browser that is going away.
    blockSignals(true);
    clear();
    // The tree outlives this part of the browser by a little; its last signals must not reach it.
    disconnect(m_tree, nullptr, this, nullptr);
}

int QtTreePropertyBrowser::indentation() const
{
    return m_tree->indentation();
}

void QtTreePropertyBrowser::setIndentation(int indentation)
{
    m_tree->setIndentation(indentation);
}

bool QtTreePropertyBrowser::rootIsDecorated() const
{
    return m_tree->rootIsDecorated();
}

void QtTreePropertyBrowser::setRootIsDecorated(bool show)
{
    m_tree->setRootIsDecorated(show);
}

bool QtTreePropertyBrowser::alternatingRowColors() const
{
    return m_tree->alternatingRowColors();
}

void QtTreePropertyBrowser::setAlternatingRowColors(bool enable)
{
    m_tree->setAlternatingRowColors(enable);
}

bool QtTreePropertyBrowser::isHeaderVisible() const
{
    return !m_tree->header()->isHidden();
}

void QtTreePropertyBrowser::setHeaderVisible(bool visible)
{
    m_tree->header()->setVisible(visible);
}

void QtTreePropertyBrowser::setResizeMode(ResizeMode mode)
{
    m_resizeMode = mode;
    m_tree->header()->setSectionResizeMode(headerMode(mode));
}

int QtTreePropertyBrowser::splitterPosition() const
{
    return m_tree->header()->sectionSize(NameColumn);
}

void QtTreePropertyBrowser::setSplitterPosition(int position)
{
    m_tree->header()->resizeSection(NameColumn, position);
}

void QtTreePropertyBrowser::setExpanded(QtBrowserItem* item, bool expanded)
{
    if (QTreeWidgetItem* row = m_treeItems.value(item))
        row->setExpanded(expanded);
}

bool QtTreePropertyBrowser::isExpanded(QtBrowserItem* item) const
{
    const QTreeWidgetItem* row = m_treeItems.value(item);
    return row && row->isExpanded();
}

bool QtTreePropertyBrowser::isItemVisible(QtBrowserItem* item) const
{
    const QTreeWidgetItem* row = m_treeItems.value(item);
    return row && !row->isHidden();
}

void QtTreePropertyBrowser::setItemVisible(QtBrowserItem* item, bool visible)
{
    if (QTreeWidgetItem* row = m_treeItems.value(item))
        row->setHidden(!visible);
}

void QtTreePropertyBrowser::setBackgroundColor(QtBrowserItem* item, const QColor& color)
{
    if (!m_treeItems.contains(item))
        return;
    if (color.isValid())
        m_backgroundColors.insert(item, color);
    else
        m_backgroundColors.remove(item);
    updateSubtree(item);
}

void QtTreePropertyBrowser::setItemIcon(QtBrowserItem* item, const QIcon& icon)
{
    if (!m_treeItems.contains(item))
        return;
    if (icon.isNull())
        m_itemIcons.remove(item);
    else
        m_itemIcons.insert(item, icon);
    updateRow(item);
}

QColor QtTreePropertyBrowser::calculatedBackgroundColor(QtBrowserItem* item) const
{
    for (QtBrowserItem* current = item; current; current = current->parent()) {
        const auto color = m_backgroundColors.constFind(current);
        if (color != m_backgroundColors.cend())
            return *color;
    }
    return QColor();
}

void QtTreePropertyBrowser::setPropertiesWithoutValueMarked(bool mark)
{
    if (m_markPropertiesWithoutValue == mark)
        return;
    m_markPropertiesWithoutValue = mark;
    const QList<QtBrowserItem*> items = topLevelItems();
    for (QtBrowserItem* item : items)
        updateSubtree(item);
}

void QtTreePropertyBrowser::editItem(QtBrowserItem* item)
{
    QTreeWidgetItem* row = m_treeItems.value(item);
    if (!row)
        return;
    if (QWidget* editor = m_tree->itemWidget(row, ValueColumn)) {
        editor->setFocus();
        return;
    }
    if ((row->flags() & Qt::ItemIsEnabled) && (row->flags() & Qt::ItemIsEditable))
        m_tree->editItem(row, ValueColumn);
}

void QtTreePropertyBrowser::itemInserted(QtBrowserItem* item, QtBrowserItem* afterItem)
{
    QTreeWidgetItem* preceding = m_treeItems.value(afterItem);
    QTreeWidgetItem* parentRow = m_treeItems.value(item->parent());
    auto* row =
        parentRow ? new QTreeWidgetItem(parentRow, preceding) : new QTreeWidgetItem(m_tree, preceding);
    m_treeItems.insert(item, row);
    m_browserItems.insert(row, item);
    row->setExpanded(true);
    updateRow(item);
}

void QtTreePropertyBrowser::itemRemoved(QtBrowserItem* item)
{
    QTreeWidgetItem* row = m_treeItems.take(item);
    m_browserItems.remove(row);
    m_backgroundColors.remove(item);
    m_itemIcons.remove(item);
    // Losing the row may move the tree's current row; the browser has settled its own already.
    const QScopedValueRollback<bool> syncing(m_syncingCurrent, true);
    delete row;
}

void QtTreePropertyBrowser::itemChanged(QtBrowserItem* item)
{
    updateRow(item);
}

QtBrowserItem* QtTreePropertyBrowser::browserItem(const QTreeWidgetItem* treeItem) const
{
    return m_browserItems.value(treeItem);
}

void QtTreePropertyBrowser::updateRow(QtBrowserItem* item)
{
    QTreeWidgetItem* row = m_treeItems.value(item);
    if (!row)
        return;
    const QtProperty* property = item->property();
    const bool hasValue = property->hasValue();
    row->setText(NameColumn, property->propertyName());
    row->setIcon(NameColumn, m_itemIcons.value(item));
    row->setText(ValueColumn, hasValue ? property->displayText() : QString());
    row->setIcon(ValueColumn, hasValue ? property->valueIcon() : QIcon());

    // Rows without a value head their sub-rows: the name spans the row and stands out.
    const bool marked = !hasValue && m_markPropertiesWithoutValue;
    QBrush background;
    if (marked)
        background = palette().dark();
    else if (calculatedBackgroundColor(item).isValid())
        background = calculatedBackgroundColor(item);
    QFont font = m_tree->font();
    font.setBold(!hasValue);
    for (int column : {NameColumn, ValueColumn}) {
        row->setToolTip(column, property->toolTip());
        row->setStatusTip(column, property->statusTip());
        row->setWhatsThis(column, property->whatsThis());
        row->setBackground(column, background);
        row->setFont(column, font);
    }
    row->setForeground(NameColumn, marked ? palette().brightText() : QBrush());
    row->setFirstColumnSpanned(!hasValue);

    Qt::ItemFlags flags = Qt::ItemIsSelectable;
    if (property->isEnabled())
        flags |= Qt::ItemIsEnabled;
    if (hasValue)
        flags |= Qt::ItemIsEditable;
    row->setFlags(flags);
    // A disabled row (or one below a disabled row) must not keep an editor open.
    if (!(row->flags() & Qt::ItemIsEnabled))
        closeEditors(row);
}

void QtTreePropertyBrowser::updateSubtree(QtBrowserItem* item)
{
    updateRow(item);
    const QList<QtBrowserItem*> children = item->children();
    for (QtBrowserItem* child : children)
        updateSubtree(child);
}

void QtTreePropertyBrowser::closeEditors(QTreeWidgetItem* treeItem)
{
    m_tree->dropEditor(treeItem);
    for (int i = 0; i < treeItem->childCount(); ++i)
        closeEditors(treeItem->child(i));
}

void QtTreePropertyBrowser::onTreeCurrentChanged(QTreeWidgetItem* treeItem)
{
    if (m_syncingCurrent)
        return;
    QtBrowserItem* item = browserItem(treeItem);
    {
        const QScopedValueRollback<bool> syncing(m_syncingCurrent, true);
        setCurrentItem(item);
    }
    // Listeners of the current item may have disabled or removed it meanwhile.
    if (item && m_treeItems.contains(item))
        editItem(item);
}

void QtTreePropertyBrowser::onBrowserCurrentChanged(QtBrowserItem* item)
{
    if (m_syncingCurrent)
        return;
    {
        const QScopedValueRollback<bool> syncing(m_syncingCurrent, true);
        m_tree->setCurrentItem(m_treeItems.value(item));
    }
    if (item && m_treeItems.contains(item))
        editItem(item);
}
