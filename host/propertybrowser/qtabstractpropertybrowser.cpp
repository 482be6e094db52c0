#include "qtpropertybrowser.h"

#include <QHash>

namespace {

// How many browsers bind a factory to a manager. A factory keeps serving a manager until the last
// browser that bound them lets go, since factories and managers are shared between browsers.
QHash<QtAbstractEditorFactoryBase*, QHash<QtAbstractPropertyManager*, int>>& bindingCounts()
{
    static QHash<QtAbstractEditorFactoryBase*, QHash<QtAbstractPropertyManager*, int>> counts;
    return counts;
}

} // namespace

QtAbstractPropertyBrowser::QtAbstractPropertyBrowser(QWidget* parent) : QWidget(parent) {}

QtAbstractPropertyBrowser::~QtAbstractPropertyBrowser()
{
    // The presenting subclass is already gone, so whatever it did not clear goes without notice.
    const QList<QtBrowserItem*> remaining = topLevelItems();
    m_topLevelProperties.clear();
    m_topLevelItems.clear();
    for (QtBrowserItem* item : remaining)
        deleteItems(item, false);
    const QList<QtAbstractPropertyManager*> bound = m_factories.keys();
    for (QtAbstractPropertyManager* manager : bound)
        releaseFactory(manager);
}

QList<QtBrowserItem*> QtAbstractPropertyBrowser::topLevelItems() const
{
    QList<QtBrowserItem*> result;
    for (QtProperty* property : m_topLevelProperties)
        result.append(m_topLevelItems.value(property));
    return result;
}

void QtAbstractPropertyBrowser::clear()
{
    const QList<QtProperty*> shown = m_topLevelProperties;
    for (auto it = shown.crbegin(); it != shown.crend(); ++it)
        removeProperty(*it);
}

void QtAbstractPropertyBrowser::unsetFactoryForManager(QtAbstractPropertyManager* manager)
{
    releaseFactory(manager);
}

void QtAbstractPropertyBrowser::setCurrentItem(QtBrowserItem* item)
{
    if (item == m_currentItem)
        return;
    m_currentItem = item;
    emit currentItemChanged(item);
}

QtBrowserItem* QtAbstractPropertyBrowser::addProperty(QtProperty* property)
{
    return insertProperty(property, m_topLevelProperties.isEmpty() ? nullptr : m_topLevelProperties.last());
}

QtBrowserItem* QtAbstractPropertyBrowser::insertProperty(QtProperty* property, QtProperty* afterProperty)
{
    if (!property || m_topLevelProperties.contains(property))
        return nullptr;
    const int position = afterProperty ? m_topLevelProperties.indexOf(afterProperty) + 1 : 0;
    QtBrowserItem* afterItem =
        position > 0 ? m_topLevelItems.value(m_topLevelProperties.at(position - 1)) : nullptr;
    m_topLevelProperties.insert(position, property);
    QtBrowserItem* item = createItems(property, nullptr, afterItem);
    m_topLevelItems.insert(property, item);
    return item;
}

void QtAbstractPropertyBrowser::removeProperty(QtProperty* property)
{
    QtBrowserItem* item = m_topLevelItems.take(property);
    if (!item)
        return;
    m_topLevelProperties.removeOne(property);
    deleteItems(item, true);
}

QWidget* QtAbstractPropertyBrowser::createEditor(QtProperty* property, QWidget* parent)
{
    QtAbstractEditorFactoryBase* factory =
        property ? m_factories.value(property->propertyManager()) : nullptr;
    return factory ? factory->createEditor(property, parent) : nullptr;
}

bool QtAbstractPropertyBrowser::bindFactory(QtAbstractPropertyManager* manager,
                                            QtAbstractEditorFactoryBase* factory)
{
    if (!manager || !factory || m_factories.value(manager) == factory)
        return false;
    releaseFactory(manager);
    m_factories.insert(manager, factory);
    ++bindingCounts()[factory][manager];
    connect(factory, &QObject::destroyed, this, &QtAbstractPropertyBrowser::onFactoryDestroyed,
            Qt::UniqueConnection);
    watchManager(manager);
    return true;
}

void QtAbstractPropertyBrowser::releaseFactory(QtAbstractPropertyManager* manager)
{
    QtAbstractEditorFactoryBase* factory = m_factories.take(manager);
    if (!factory)
        return;
    auto& counts = bindingCounts();
    auto perFactory = counts.find(factory);
    if (perFactory != counts.end()) {
        auto count = perFactory->find(manager);
        if (count != perFactory->end() && --*count == 0) {
            perFactory->erase(count);
            factory->breakConnection(manager);
        }
        if (perFactory->isEmpty())
            counts.erase(perFactory);
    }
    if (!m_factories.values().contains(factory))
        disconnect(factory, &QObject::destroyed, this, &QtAbstractPropertyBrowser::onFactoryDestroyed);
    watchManager(manager);
}

QtBrowserItem* QtAbstractPropertyBrowser::createItems(QtProperty* property, QtBrowserItem* parent,
                                                      QtBrowserItem* after)
{
    // Owned by this browser; deleteItems() frees it.
    auto* item = new QtBrowserItem(this, property, parent);
    if (parent)
        parent->m_children.insert(after ? parent->m_children.indexOf(after) + 1 : 0, item);
    m_propertyItems[property].append(item);
    referenceManager(property->propertyManager());
    itemInserted(item, after);
    QtBrowserItem* previous = nullptr;
    const QList<QtProperty*> subs = property->subProperties();
    for (QtProperty* sub : subs)
        previous = createItems(sub, item, previous);
    return item;
}

void QtAbstractPropertyBrowser::deleteItems(QtBrowserItem* item, bool notify)
{
    const QList<QtBrowserItem*> children = item->m_children;
    for (auto it = children.crbegin(); it != children.crend(); ++it)
        deleteItems(*it, notify);
    if (item == m_currentItem) {
        if (notify)
            setCurrentItem(nullptr);
        else
            m_currentItem = nullptr;
    }
    if (notify)
        itemRemoved(item);
    if (item->m_parent)
        item->m_parent->m_children.removeOne(item);
    QtProperty* property = item->m_property;
    auto items = m_propertyItems.find(property);
    items->removeOne(item);
    if (items->isEmpty())
        m_propertyItems.erase(items);
    dereferenceManager(property->propertyManager());
    delete item;
}

void QtAbstractPropertyBrowser::referenceManager(QtAbstractPropertyManager* manager)
{
    if (m_managerItemCounts[manager]++ > 0)
        return;
    connect(manager, &QtAbstractPropertyManager::propertyInserted, this,
            &QtAbstractPropertyBrowser::onPropertyInserted);
    connect(manager, &QtAbstractPropertyManager::propertyRemoved, this,
            &QtAbstractPropertyBrowser::onPropertyRemoved);
    connect(manager, &QtAbstractPropertyManager::propertyChanged, this,
            &QtAbstractPropertyBrowser::onPropertyChanged);
    connect(manager, &QtAbstractPropertyManager::propertyDestroyed, this,
            &QtAbstractPropertyBrowser::onPropertyDestroyed);
    watchManager(manager);
}

void QtAbstractPropertyBrowser::dereferenceManager(QtAbstractPropertyManager* manager)
{
    auto count = m_managerItemCounts.find(manager);
    if (count == m_managerItemCounts.end() || --*count > 0)
        return;
    m_managerItemCounts.erase(count);
    disconnect(manager, &QtAbstractPropertyManager::propertyInserted, this,
               &QtAbstractPropertyBrowser::onPropertyInserted);
    disconnect(manager, &QtAbstractPropertyManager::propertyRemoved, this,
               &QtAbstractPropertyBrowser::onPropertyRemoved);
    disconnect(manager, &QtAbstractPropertyManager::propertyChanged, this,
               &QtAbstractPropertyBrowser::onPropertyChanged);
    disconnect(manager, &QtAbstractPropertyManager::propertyDestroyed, this,
               &QtAbstractPropertyBrowser::onPropertyDestroyed);
    watchManager(manager);
}

void QtAbstractPropertyBrowser::watchManager(QtAbstractPropertyManager* manager)
{
    // Watched exactly while shown or bound, so that no connection outlives this browser.
    if (m_managerItemCounts.contains(manager) || m_factories.contains(manager))
        connect(manager, &QObject::destroyed, this, &QtAbstractPropertyBrowser::onManagerDestroyed,
                Qt::UniqueConnection);
    else
        disconnect(manager, &QObject::destroyed, this, &QtAbstractPropertyBrowser::onManagerDestroyed);
}

void QtAbstractPropertyBrowser::onPropertyInserted(QtProperty* property, QtProperty* parent,
                                                   QtProperty* after)
{
    const QList<QtBrowserItem*> parentItems = m_propertyItems.value(parent);
    for (QtBrowserItem* parentItem : parentItems) {
        QtBrowserItem* afterItem = nullptr;
        for (QtBrowserItem* child : qAsConst(parentItem->m_children)) {
            if (after && child->m_property == after) {
                afterItem = child;
                break;
            }
        }
        createItems(property, parentItem, afterItem);
    }
}

void QtAbstractPropertyBrowser::onPropertyRemoved(QtProperty* property, QtProperty* parent)
{
    const QList<QtBrowserItem*> parentItems = m_propertyItems.value(parent);
    for (QtBrowserItem* parentItem : parentItems) {
        const QList<QtBrowserItem*> children = parentItem->m_children;
        for (QtBrowserItem* child : children) {
            if (child->m_property == property)
                deleteItems(child, true);
        }
    }
}

void QtAbstractPropertyBrowser::onPropertyChanged(QtProperty* property)
{
    const QList<QtBrowserItem*> shown = m_propertyItems.value(property);
    for (QtBrowserItem* item : shown)
        itemChanged(item);
}

void QtAbstractPropertyBrowser::onPropertyDestroyed(QtProperty* property)
{
    // The property has already left its parents; only a top-level appearance can remain.
    removeProperty(property);
}

void QtAbstractPropertyBrowser::onManagerDestroyed(QObject* manager)
{
    // Its properties are gone already; only the bookkeeping is left.
    for (auto it = m_managerItemCounts.begin(); it != m_managerItemCounts.end();) {
        if (static_cast<QObject*>(it.key()) == manager)
            it = m_managerItemCounts.erase(it);
        else
            ++it;
    }
    for (auto it = m_factories.begin(); it != m_factories.end();) {
        if (static_cast<QObject*>(it.key()) != manager) {
            ++it;
            continue;
        }
        auto perFactory = bindingCounts().find(it.value());
        if (perFactory != bindingCounts().end()) {
            perFactory->remove(it.key());
            if (perFactory->isEmpty())
                bindingCounts().erase(perFactory);
        }
        it = m_factories.erase(it);
    }
}

void QtAbstractPropertyBrowser::onFactoryDestroyed(QObject* factory)
{
    QList<QtAbstractPropertyManager*> unbound;
    for (auto it = m_factories.begin(); it != m_factories.end();) {
        if (static_cast<QObject*>(it.value()) == factory) {
            unbound.append(it.key());
            it = m_factories.erase(it);
        } else {
            ++it;
        }
    }
    for (QtAbstractPropertyManager* manager : qAsConst(unbound))
        watchManager(manager);
    auto& counts = bindingCounts();
    for (auto it = counts.begin(); it != counts.end();) {
        if (static_cast<QObject*>(it.key()) == factory)
            it = counts.erase(it);
        else
            ++it;
    }
}
