#pragma once

// Core of the property browser: properties, the manager base that owns them, the editor-factory
// base and template, and the browser base that turns property trees into items.

#include <QIcon>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QWidget>

class QtAbstractPropertyManager;
class QtAbstractPropertyBrowser;

// A named node of a property tree. Its value lives in the manager that created it; the property
// only knows its descriptive texts, its id and its place in the tree. A property may be the
// sub-property of several parents at once.
class QtProperty
{
public:
    virtual ~QtProperty();

    QList<QtProperty*> subProperties() const { return m_subProperties; }
    QtAbstractPropertyManager* propertyManager() const { return m_manager; }

    QString propertyName() const { return m_name; }
    QString toolTip() const { return m_toolTip; }
    QString statusTip() const { return m_statusTip; }
    QString whatsThis() const { return m_whatsThis; }
    // Free text that identifies the property independently of its (translated) name.
    QString propertyId() const { return m_id; }
    bool isEnabled() const { return m_enabled; }
    bool isModified() const { return m_modified; }

    bool hasValue() const;
    QIcon valueIcon() const;
    QString valueText() const;
    QString displayText() const;

    void setPropertyName(const QString& text);
    void setToolTip(const QString& text);
    void setStatusTip(const QString& text);
    void setWhatsThis(const QString& text);
    void setPropertyId(const QString& id);
    void setEnabled(bool enable);
    void setModified(bool modified);

    // Appends behind the last sub-property.
    void addSubProperty(QtProperty* property);
    // Inserts behind afterProperty, or first when afterProperty is null. Refused when the property
    // is already a sub-property here or when it would make the tree cyclic.
    void insertSubProperty(QtProperty* property, QtProperty* afterProperty);
    void removeSubProperty(QtProperty* property);

protected:
    explicit QtProperty(QtAbstractPropertyManager* manager);
    // Tells the manager's listeners that a text or flag of this property changed.
    void propertyChanged();

private:
    friend class QtAbstractPropertyManager;

    // True when candidate is this property or lies anywhere below it.
    bool subtreeContains(const QtProperty* candidate) const;

    QtAbstractPropertyManager* m_manager;
    QString m_name;
    QString m_toolTip;
    QString m_statusTip;
    QString m_whatsThis;
    QString m_id;
    bool m_enabled = true;
    bool m_modified = false;
    QList<QtProperty*> m_subProperties;
    QSet<QtProperty*> m_parents;
};

// Creates and owns properties of one value type. Deleting the manager deletes its properties.
class QtAbstractPropertyManager : public QObject
{
    Q_OBJECT
public:
    explicit QtAbstractPropertyManager(QObject* parent = nullptr);
    ~QtAbstractPropertyManager() override;

    QSet<QtProperty*> properties() const { return m_properties; }
    // Deletes every property of this manager.
    void clear() const;
    QtProperty* addProperty(const QString& name = QString());

Q_SIGNALS:
    void propertyInserted(QtProperty* property, QtProperty* parent, QtProperty* after);
    void propertyChanged(QtProperty* property);
    void propertyRemoved(QtProperty* property, QtProperty* parent);
    void propertyDestroyed(QtProperty* property);

protected:
    virtual bool hasValue(const QtProperty* property) const;
    virtual QIcon valueIcon(const QtProperty* property) const;
    virtual QString valueText(const QtProperty* property) const;
    // What a browser shows for the value; the value text unless a manager shows it differently.
    virtual QString displayText(const QtProperty* property) const;
    virtual void initializeProperty(QtProperty* property) = 0;
    virtual void uninitializeProperty(QtProperty* property);
    virtual QtProperty* createProperty();

private:
    friend class QtProperty;

    // Called by a property's destructor while the property is still intact.
    void forgetProperty(QtProperty* property);

    QSet<QtProperty*> m_properties;
};

// The type-independent face of an editor factory, which is all a browser needs.
class QtAbstractEditorFactoryBase : public QObject
{
    Q_OBJECT
public:
    virtual QWidget* createEditor(QtProperty* property, QWidget* parent) = 0;

protected:
    explicit QtAbstractEditorFactoryBase(QObject* parent = nullptr) : QObject(parent) {}
    // Stops serving the manager when no browser binds it to this factory any more.
    virtual void breakConnection(QtAbstractPropertyManager* manager) = 0;

protected Q_SLOTS:
    virtual void managerDestroyed(QObject* manager) = 0;

private:
    friend class QtAbstractPropertyBrowser;
};

// Creates editors for the properties of the managers of one type that it has been given.
template <class PropertyManager> class QtAbstractEditorFactory : public QtAbstractEditorFactoryBase
{
public:
    explicit QtAbstractEditorFactory(QObject* parent = nullptr) : QtAbstractEditorFactoryBase(parent) {}

    QWidget* createEditor(QtProperty* property, QWidget* parent) override
    {
        PropertyManager* manager = propertyManager(property);
        return manager ? createEditor(manager, property, parent) : nullptr;
    }

    void addPropertyManager(PropertyManager* manager)
    {
        if (!manager || m_managers.contains(manager))
            return;
        m_managers.insert(manager);
        connectPropertyManager(manager);
        connect(manager, &QObject::destroyed, this, &QtAbstractEditorFactory::managerDestroyed);
    }

    void removePropertyManager(PropertyManager* manager)
    {
        if (!m_managers.remove(manager))
            return;
        disconnect(manager, &QObject::destroyed, this, &QtAbstractEditorFactory::managerDestroyed);
        disconnectPropertyManager(manager);
    }

    QSet<PropertyManager*> propertyManagers() const { return m_managers; }

    // The manager of property when this factory serves it, else null.
    PropertyManager* propertyManager(QtProperty* property) const
    {
        if (!property)
            return nullptr;
        for (PropertyManager* manager : m_managers) {
            if (manager == property->propertyManager())
                return manager;
        }
        return nullptr;
    }

protected:
    virtual void connectPropertyManager(PropertyManager* manager) = 0;
    virtual QWidget* createEditor(PropertyManager* manager, QtProperty* property, QWidget* parent) = 0;
    virtual void disconnectPropertyManager(PropertyManager* manager) = 0;

    void managerDestroyed(QObject* manager) override
    {
        // The manager is half destroyed: only forget it; its connections die with it.
        for (PropertyManager* known : m_managers) {
            if (known == manager) {
                m_managers.remove(known);
                return;
            }
        }
    }

private:
    void breakConnection(QtAbstractPropertyManager* manager) override
    {
        for (PropertyManager* known : m_managers) {
            if (known == manager) {
                removePropertyManager(known);
                return;
            }
        }
    }

    QSet<PropertyManager*> m_managers;
};

// One appearance of a property in a browser. A property shown under two parents has two items.
class QtBrowserItem
{
public:
    QtProperty* property() const { return m_property; }
    QtBrowserItem* parent() const { return m_parent; }
    QList<QtBrowserItem*> children() const { return m_children; }
    QtAbstractPropertyBrowser* browser() const { return m_browser; }

private:
    friend class QtAbstractPropertyBrowser;

    QtBrowserItem(QtAbstractPropertyBrowser* browser, QtProperty* property, QtBrowserItem* parent)
        : m_browser(browser), m_property(property), m_parent(parent)
    {
    }
    ~QtBrowserItem() = default;

    QtAbstractPropertyBrowser* m_browser;
    QtProperty* m_property;
    QtBrowserItem* m_parent;
    QList<QtBrowserItem*> m_children;
};

// Shows top-level properties with all their sub-properties as items, follows changes of the
// property trees through the managers' signals, and hands out editors from the factory bound
// to each manager. Subclasses present the items.
class QtAbstractPropertyBrowser : public QWidget
{
    Q_OBJECT
public:
    explicit QtAbstractPropertyBrowser(QWidget* parent = nullptr);
    ~QtAbstractPropertyBrowser() override;

    QList<QtProperty*> properties() const { return m_topLevelProperties; }
    QList<QtBrowserItem*> items(QtProperty* property) const { return m_propertyItems.value(property); }
    QtBrowserItem* topLevelItem(QtProperty* property) const { return m_topLevelItems.value(property); }
    QList<QtBrowserItem*> topLevelItems() const;
    // Removes every top-level property; the properties themselves stay alive.
    void clear();

    // Editors for the manager's properties come from factory; a later binding replaces this one.
    template <class PropertyManager>
    void setFactoryForManager(PropertyManager* manager, QtAbstractEditorFactory<PropertyManager>* factory)
    {
        if (bindFactory(manager, factory))
            factory->addPropertyManager(manager);
    }
    void unsetFactoryForManager(QtAbstractPropertyManager* manager);

    QtBrowserItem* currentItem() const { return m_currentItem; }
    void setCurrentItem(QtBrowserItem* item);

Q_SIGNALS:
    void currentItemChanged(QtBrowserItem* current);

public Q_SLOTS:
    QtBrowserItem* addProperty(QtProperty* property);
    QtBrowserItem* insertProperty(QtProperty* property, QtProperty* afterProperty);
    void removeProperty(QtProperty* property);

protected:
    // afterItem is the sibling the new item follows, null when it comes first.
    virtual void itemInserted(QtBrowserItem* item, QtBrowserItem* afterItem) = 0;
    // Called for every item, children before their parent, before the item is deleted.
    virtual void itemRemoved(QtBrowserItem* item) = 0;
    virtual void itemChanged(QtBrowserItem* item) = 0;
    virtual QWidget* createEditor(QtProperty* property, QWidget* parent);

private:
    bool bindFactory(QtAbstractPropertyManager* manager, QtAbstractEditorFactoryBase* factory);
    void releaseFactory(QtAbstractPropertyManager* manager);

    QtBrowserItem* createItems(QtProperty* property, QtBrowserItem* parent, QtBrowserItem* after);
    // notify is false only while the browser itself is destroyed.
    void deleteItems(QtBrowserItem* item, bool notify);
    void referenceManager(QtAbstractPropertyManager* manager);
    void dereferenceManager(QtAbstractPropertyManager* manager);
    void watchManager(QtAbstractPropertyManager* manager);

    void onPropertyInserted(QtProperty* property, QtProperty* parent, QtProperty* after);
    void onPropertyRemoved(QtProperty* property, QtProperty* parent);
    void onPropertyChanged(QtProperty* property);
    void onPropertyDestroyed(QtProperty* property);
    void onManagerDestroyed(QObject* manager);
    void onFactoryDestroyed(QObject* factory);

    QList<QtProperty*> m_topLevelProperties;
    QMap<QtProperty*, QtBrowserItem*> m_topLevelItems;
    QMap<QtProperty*, QList<QtBrowserItem*>> m_propertyItems;
    // Number of items per manager; the manager is listened to while its count is above zero.
    QMap<QtAbstractPropertyManager*, int> m_managerItemCounts;
    QMap<QtAbstractPropertyManager*, QtAbstractEditorFactoryBase*> m_factories;
    QtBrowserItem* m_currentItem = nullptr;
};
