#include "qttreepropertybrowser.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QWheelEvent>

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

// The tree itself. Moving through the rows never opens an editor: a click on a row's value,
// F2, Enter or typing on the current row does. The current row of the focused tree is framed.
class QtTreePropertyBrowser::TreeView : public QTreeWidget
{
public:
    explicit TreeView(QtTreePropertyBrowser* browser) : QTreeWidget(browser), m_browser(browser)
    {
        // The frame follows the focus in and out of the editors too, which the tree does not see.
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
            if ((old && isAncestorOf(old)) || (now && isAncestorOf(now)))
                viewport()->update();
        });
    }

    QTreeWidgetItem* rowOf(const QModelIndex& index) const { return itemFromIndex(index); }

    QTreeWidgetItem* rowOfEditor(const QWidget* editor) const
    {
        for (auto it = m_browser->m_treeItems.cbegin(); it != m_browser->m_treeItems.cend(); ++it) {
            if (itemWidget(it.value(), ValueColumn) == editor)
                return it.value();
        }
        return nullptr;
    }

    // Leaving takes the focus from the editor, which commits what the user changed. A persistent
    // editor stays open.
    void leaveEditor(QWidget* editor) { closeEditor(editor, QAbstractItemDelegate::NoHint); }

    // Closes the row's editor without committing: its signals are quiet while it loses the focus,
    // so it cannot report the edit as finished. A persistent editor comes back with the manager's
    // value when reopen is set.
    void abandonEditor(QTreeWidgetItem* row, bool reopen)
    {
        QWidget* editor = itemWidget(row, ValueColumn);
        if (!editor)
            return;
        const QSignalBlocker quiet(editor);
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
        // Only a persistent editor is still there.
        if (itemWidget(row, ValueColumn) != editor)
            return;
        closePersistentEditor(row, ValueColumn);
        if (reopen)
            openPersistentEditor(row, ValueColumn);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        QTreeWidget::mousePressEvent(event);
        const QModelIndex cell = indexAt(event->pos());
        QTreeWidgetItem* row = itemFromIndex(cell);
        if (event->button() != Qt::LeftButton || cell.column() != ValueColumn || !row || row != currentItem())
            return;
        m_browser->editItem(m_browser->browserItem(row));
        // The click on the cell is meant for the check box that now covers it.
        auto* button = qobject_cast<QAbstractButton*>(itemWidget(row, ValueColumn));
        if (button && button->isCheckable())
            button->click();
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        QTreeWidgetItem* row = currentItem();
        const bool editKey =
            event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_F2;
        if (editKey && row) {
            m_browser->editItem(m_browser->browserItem(row));
            event->accept();
            return;
        }
        if (row && startsTyping(event)) {
            m_browser->editItem(m_browser->browserItem(row));
            if (QWidget* editor = itemWidget(row, ValueColumn)) {
                // What the user typed goes into the editor, as if it had been open already; a push
                // button only acts on a press of its own.
                auto* button = qobject_cast<QAbstractButton*>(editor);
                if (!button || button->isCheckable())
                    QCoreApplication::sendEvent(editor->focusProxy() ? editor->focusProxy() : editor, event);
                return;
            }
        }
        QTreeWidget::keyPressEvent(event);
    }

    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override
    {
        QTreeWidget::drawRow(painter, option, index);
        const QModelIndex current = currentIndex();
        if (index.row() != current.row() || index.parent() != current.parent() || !hasFocusWithin())
            return;
        // A style sheet may make the selection transparent; the frame must stay visible then.
        QColor color = palette().color(QPalette::Active, QPalette::Highlight);
        if (color.alpha() < 255)
            color = palette().color(QPalette::Active, QPalette::Text);
        constexpr int width = 2;
        const QRect rect(0, option.rect.top(), viewport()->width(), option.rect.height());
        painter->fillRect(QRect(rect.left(), rect.top(), rect.width(), width), color);
        painter->fillRect(QRect(rect.left(), rect.bottom() - width + 1, rect.width(), width), color);
        painter->fillRect(QRect(rect.left(), rect.top(), width, rect.height()), color);
        painter->fillRect(QRect(rect.right() - width + 1, rect.top(), width, rect.height()), color);
    }

private:
    static bool startsTyping(const QKeyEvent* event)
    {
        const QString text = event->text();
        return !text.isEmpty() && text.at(0).isPrint() &&
               !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    }

    bool hasFocusWithin() const
    {
        const QWidget* focus = QApplication::focusWidget();
        return focus && (focus == this || isAncestorOf(focus));
    }

    QtTreePropertyBrowser* m_browser;
};

// Editors come from the factory bound to the property's manager. They talk to the manager
// directly, so there is no model data to load or store. The delegate watches the keys and the
// wheel on every editor so that nothing but a deliberate edit reaches a value.
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
            // The wheel scrolls the tree; it must not pull the focus into an editor either.
            if (editor->focusPolicy() == Qt::WheelFocus)
                editor->setFocusPolicy(Qt::StrongFocus);
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

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* editor = qobject_cast<QWidget*>(object);
        if (!editor)
            return QStyledItemDelegate::eventFilter(object, event);
        TreeView* tree = m_browser->m_tree;
        switch (event->type()) {
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Cancel)) {
                if (QTreeWidgetItem* row = tree->rowOfEditor(editor))
                    tree->abandonEditor(row, true);
                return true;
            }
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                // A text the validator does not accept yet stays for the user to correct.
                auto* lineEdit = qobject_cast<QLineEdit*>(editor);
                if (!lineEdit || lineEdit->hasAcceptableInput())
                    tree->leaveEditor(editor);
                return true;
            }
            if (movesOn(editor, key)) {
                // Left first, so that the edit is committed to the row it was made in.
                tree->leaveEditor(editor);
                QKeyEvent move(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat(),
                               key->count());
                QCoreApplication::sendEvent(tree, &move);
                return true;
            }
            break;
        }
        case QEvent::Wheel: {
            auto* wheel = static_cast<QWheelEvent*>(event);
            QWidget* viewport = tree->viewport();
            QWheelEvent scroll(QPointF(editor->mapTo(viewport, QPoint(0, 0))) + wheel->position(),
                               wheel->globalPosition(), wheel->pixelDelta(), wheel->angleDelta(),
                               wheel->buttons(), wheel->modifiers(), wheel->phase(), wheel->inverted(),
                               wheel->source());
            QCoreApplication::sendEvent(viewport, &scroll);
            return true;
        }
        case QEvent::FocusOut:
            // Disabling the tree (while the application reads or writes) takes the focus from the
            // editor; that is no reason to commit.
            if (!editor->isEnabled()) {
                if (QTreeWidgetItem* row = tree->rowOfEditor(editor))
                    tree->abandonEditor(row, true);
                return true;
            }
            break;
        default:
            break;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    // Keys that move through the rows, or on to the next widget, leave the editor and move on
    // instead of stepping its value; Home and End stay with an editor that takes text. Alt+Up and Alt+Down
    // open and close a combo box's list.
    static bool movesOn(const QWidget* editor, const QKeyEvent* key)
    {
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
            return !(qobject_cast<const QComboBox*>(editor) && (key->modifiers() & Qt::AltModifier));
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return true;
        case Qt::Key_Home:
        case Qt::Key_End:
            return !editor->testAttribute(Qt::WA_InputMethodEnabled);
        default:
            return false;
        }
    }

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
    // Long captions keep their beginning and their end (the output they belong to).
    m_tree->setTextElideMode(Qt::ElideMiddle);
    m_tree->setAlternatingRowColors(true);
    // Editors are opened by this browser, on the current row, never by merely selecting it.
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

void QtTreePropertyBrowser::setValueBold(QtBrowserItem* item, bool bold)
{
    if (!m_treeItems.contains(item) || m_boldValues.contains(item) == bold)
        return;
    if (bold)
        m_boldValues.insert(item);
    else
        m_boldValues.remove(item);
    updateRow(item);
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
    m_boldValues.remove(item);
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
    // A caption cut short in the middle is whole in the tool tip.
    const QString captionTip = property->toolTip().isEmpty()
                                   ? property->propertyName()
                                   : property->propertyName() + "\n" + property->toolTip();
    for (int column : {NameColumn, ValueColumn}) {
        row->setToolTip(column, column == NameColumn ? captionTip : property->toolTip());
        row->setStatusTip(column, property->statusTip());
        row->setWhatsThis(column, property->whatsThis());
        row->setBackground(column, background);
        row->setFont(column, font);
    }
    QFont valueFont = font;
    valueFont.setBold(!hasValue || m_boldValues.contains(item));
    row->setFont(ValueColumn, valueFont);
    row->setForeground(NameColumn, marked ? palette().brightText() : QBrush());
    // Setting the span lays out the whole tree at once, even when nothing
    // changes; done for every row, opening a large tree took minutes.
    if (row->isFirstColumnSpanned() != !hasValue)
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
    m_tree->abandonEditor(treeItem, false);
    for (int i = 0; i < treeItem->childCount(); ++i)
        closeEditors(treeItem->child(i));
}

void QtTreePropertyBrowser::onTreeCurrentChanged(QTreeWidgetItem* treeItem, QTreeWidgetItem* previous)
{
    // The tree closes an editor itself only when it sits in the previous current cell, which is
    // in the name column after moving with the keys.
    QWidget* editor = m_browserItems.contains(previous) ? m_tree->itemWidget(previous, ValueColumn) : nullptr;
    if (editor)
        m_tree->leaveEditor(editor);
    if (m_syncingCurrent)
        return;
    const QScopedValueRollback<bool> syncing(m_syncingCurrent, true);
    setCurrentItem(browserItem(treeItem));
}

void QtTreePropertyBrowser::onBrowserCurrentChanged(QtBrowserItem* item)
{
    if (m_syncingCurrent)
        return;
    const QScopedValueRollback<bool> syncing(m_syncingCurrent, true);
    m_tree->setCurrentItem(m_treeItems.value(item));
}

void QtTreePropertyBrowser::changeEvent(QEvent* event)
{
    // The header and texts such as "True" come from this browser's catalogue.
    if (event->type() == QEvent::LanguageChange) {
        m_tree->setHeaderLabels({tr("Property"), tr("Value")});
        for (QtBrowserItem* item : topLevelItems())
            updateSubtree(item);
    }
    QtAbstractPropertyBrowser::changeEvent(event);
}
