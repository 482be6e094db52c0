#include "qtpropertybrowser.h"

QtProperty::QtProperty(QtAbstractPropertyManager* manager) : m_manager(manager) {}

QtProperty::~QtProperty()
{
    // Detaching from the parents first lets browsers drop the items shown under them while the
    // property is still intact.
    const QSet<QtProperty*> parents = m_parents;
    for (QtProperty* parent : parents)
        parent->removeSubProperty(this);
    m_manager->forgetProperty(this);
    for (QtProperty* sub : qAsConst(m_subProperties))
        sub->m_parents.remove(this);
}

bool QtProperty::hasValue() const
{
    return m_manager->hasValue(this);
}

QIcon QtProperty::valueIcon() const
{
    return m_manager->valueIcon(this);
}

QString QtProperty::valueText() const
{
    return m_manager->valueText(this);
}

QString QtProperty::displayText() const
{
    return m_manager->displayText(this);
}

void QtProperty::setPropertyName(const QString& text)
{
    if (m_name == text)
        return;
    m_name = text;
    propertyChanged();
}

void QtProperty::setToolTip(const QString& text)
{
    if (m_toolTip == text)
        return;
    m_toolTip = text;
    propertyChanged();
}

void QtProperty::setStatusTip(const QString& text)
{
    if (m_statusTip == text)
        return;
    m_statusTip = text;
    propertyChanged();
}

void QtProperty::setWhatsThis(const QString& text)
{
    if (m_whatsThis == text)
        return;
    m_whatsThis = text;
    propertyChanged();
}

void QtProperty::setPropertyId(const QString& id)
{
    // The id is never shown, so views need not hear of it.
    m_id = id;
}

void QtProperty::setEnabled(bool enable)
{
    if (m_enabled == enable)
        return;
    m_enabled = enable;
    propertyChanged();
}

void QtProperty::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    propertyChanged();
}

void QtProperty::addSubProperty(QtProperty* property)
{
    insertSubProperty(property, m_subProperties.isEmpty() ? nullptr : m_subProperties.last());
}

void QtProperty::insertSubProperty(QtProperty* property, QtProperty* afterProperty)
{
    if (!property || m_subProperties.contains(property) || property->subtreeContains(this))
        return;
    const int position = afterProperty ? m_subProperties.indexOf(afterProperty) + 1 : 0;
    QtProperty* after = position > 0 ? m_subProperties.at(position - 1) : nullptr;
    m_subProperties.insert(position, property);
    property->m_parents.insert(this);
    emit m_manager->propertyInserted(property, this, after);
}

void QtProperty::removeSubProperty(QtProperty* property)
{
    const int position = m_subProperties.indexOf(property);
    if (position < 0)
        return;
    m_subProperties.removeAt(position);
    property->m_parents.remove(this);
    emit m_manager->propertyRemoved(property, this);
}

void QtProperty::propertyChanged()
{
    emit m_manager->propertyChanged(this);
}

bool QtProperty::subtreeContains(const QtProperty* candidate) const
{
    if (candidate == this)
        return true;
    for (const QtProperty* sub : m_subProperties) {
        if (sub->subtreeContains(candidate))
            return true;
    }
    return false;
}

QtAbstractPropertyManager::QtAbstractPropertyManager(QObject* parent) : QObject(parent) {}

QtAbstractPropertyManager::~QtAbstractPropertyManager()
{
    clear();
}

void QtAbstractPropertyManager::clear() const
{
    // Each deletion removes the property from the set through forgetProperty().
    while (!m_properties.isEmpty())
        delete *m_properties.cbegin();
}

QtProperty* QtAbstractPropertyManager::addProperty(const QString& name)
{
    QtProperty* property = createProperty();
    if (!property)
        return nullptr;
    property->m_name = name;
    m_properties.insert(property);
    initializeProperty(property);
    return property;
}

bool QtAbstractPropertyManager::hasValue(const QtProperty*) const
{
    return true;
}

QIcon QtAbstractPropertyManager::valueIcon(const QtProperty*) const
{
    return QIcon();
}

QString QtAbstractPropertyManager::valueText(const QtProperty*) const
{
    return QString();
}

QString QtAbstractPropertyManager::displayText(const QtProperty* property) const
{
    return valueText(property);
}

void QtAbstractPropertyManager::uninitializeProperty(QtProperty*) {}

QtProperty* QtAbstractPropertyManager::createProperty()
{
    // Owned by this manager: clear() and the destructor delete it.
    return new QtProperty(this);
}

void QtAbstractPropertyManager::forgetProperty(QtProperty* property)
{
    emit propertyDestroyed(property);
    uninitializeProperty(property);
    m_properties.remove(property);
}
