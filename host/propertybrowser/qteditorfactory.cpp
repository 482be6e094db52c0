#include "qteditorfactory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFocusEvent>
#include <QHash>
#include <QLineEdit>
#include <QRegExpValidator>
#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>
#include <memory>

// The editors a factory has handed out, per property, and the object that carries the factory's
// connections to managers and editors, so that they can be cut without touching connections a
// subclass made itself.
namespace {

// Spin boxes take any number the user types; a value outside the property's range is refused
// when committed rather than cut while typing (a spin box would drop the digit that leaves it).
constexpr int typingRange = 999999999;

// A red frame round an editor whose value was refused, until the user types again.
void showRefused(QAbstractSpinBox* editor, bool refused)
{
    editor->setStyleSheet(refused ? QStringLiteral("QAbstractSpinBox { border: 2px solid #d00000; }")
                                  : QString());
}

} // namespace

template <class Editor> class QtEditorRegistry
{
public:
    QtEditorRegistry() = default;
    QtEditorRegistry(const QtEditorRegistry&) = delete;
    QtEditorRegistry& operator=(const QtEditorRegistry&) = delete;

    ~QtEditorRegistry()
    {
        // Nothing would keep the editors in step with their managers any more.
        const QList<QObject*> editors = m_properties.keys();
        m_properties.clear();
        m_editors.clear();
        qDeleteAll(editors);
    }

    QObject* relay() { return &m_relay; }

    Editor* add(QtProperty* property, Editor* editor)
    {
        m_editors[property].append(editor);
        m_properties.insert(editor, property);
        QObject::connect(editor, &QObject::destroyed, &m_relay,
                         [this](QObject* gone) { forgetEditor(gone); });
        return editor;
    }

    QList<Editor*> editors(const QtProperty* property) const { return m_editors.value(property); }
    QtProperty* property(QObject* editor) const { return m_properties.value(editor); }

    // A deleted property's editors stay on screen until their view drops them, but must no
    // longer reach it.
    void forgetDeletedProperties(QtAbstractPropertyManager* manager)
    {
        QObject::connect(manager, &QtAbstractPropertyManager::propertyDestroyed, &m_relay,
                         [this](QtProperty* property) {
                             const QList<Editor*> editors = m_editors.take(property);
                             for (Editor* editor : editors)
                                 m_properties.remove(editor);
                         });
    }

    // Runs apply on every editor of a property whenever the manager emits signal, with the
    // editor's own signals blocked so that following the manager is not taken for a user edit.
    template <class Sender, class... Args, class Apply>
    void follow(Sender* manager, void (Sender::*signal)(QtProperty*, Args...), Apply apply)
    {
        QObject::connect(manager, signal, &m_relay, [this, apply](QtProperty* property, Args... args) {
            const QList<Editor*> editors = m_editors.value(property);
            for (Editor* editor : editors) {
                const QSignalBlocker blocker(editor);
                apply(editor, property, args...);
            }
        });
    }

    void unfollow(QObject* manager) { QObject::disconnect(manager, nullptr, &m_relay, nullptr); }

private:
    void forgetEditor(QObject* editor)
    {
        QtProperty* property = m_properties.take(editor);
        if (!property)
            return;
        auto list = m_editors.find(property);
        list->erase(
            std::remove_if(list->begin(), list->end(),
                           [editor](Editor* known) { return static_cast<QObject*>(known) == editor; }),
            list->end());
        if (list->isEmpty())
            m_editors.erase(list);
    }

    QObject m_relay;
    QHash<const QtProperty*, QList<Editor*>> m_editors;
    QHash<QObject*, QtProperty*> m_properties;
};

namespace {

// Fills the value cell; a click anywhere in it toggles, not only on the indicator and text.
class CellCheckBox : public QCheckBox
{
public:
    using QCheckBox::QCheckBox;

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

} // namespace

QtCheckBoxFactory::QtCheckBoxFactory(QObject* parent)
    : QtAbstractEditorFactory<QtBoolPropertyManager>(parent),
      m_editors(std::make_unique<QtEditorRegistry<QCheckBox>>())
{
}

QtCheckBoxFactory::~QtCheckBoxFactory() = default;

void QtCheckBoxFactory::connectPropertyManager(QtBoolPropertyManager* manager)
{
    // propertyChanged covers both the state and the state's texts.
    QtAbstractPropertyManager* base = manager;
    m_editors->follow(base, &QtAbstractPropertyManager::propertyChanged,
                      [manager](QCheckBox* editor, QtProperty* property) {
                          editor->setChecked(manager->value(property));
                          editor->setText(property->valueText());
                      });
    m_editors->forgetDeletedProperties(manager);
}

QWidget* QtCheckBoxFactory::createEditor(QtBoolPropertyManager* manager, QtProperty* property,
                                         QWidget* parent)
{
    auto* editor = m_editors->add(property, new CellCheckBox(property->valueText(), parent));
    editor->setChecked(manager->value(property));
    connect(editor, &QCheckBox::clicked, m_editors->relay(), [this, editor](bool checked) {
        QtProperty* edited = m_editors->property(editor);
        if (QtBoolPropertyManager* owner = propertyManager(edited))
            owner->setValue(edited, checked);
    });
    return editor;
}

void QtCheckBoxFactory::disconnectPropertyManager(QtBoolPropertyManager* manager)
{
    m_editors->unfollow(manager);
}

QtSpinBoxFactory::QtSpinBoxFactory(QObject* parent)
    : QtAbstractEditorFactory<QtIntPropertyManager>(parent),
      m_editors(std::make_unique<QtEditorRegistry<QSpinBox>>())
{
}

QtSpinBoxFactory::~QtSpinBoxFactory() = default;

void QtSpinBoxFactory::connectPropertyManager(QtIntPropertyManager* manager)
{
    // Setting a spin box re-formats its text, which would upset the user typing into it, so an
    // editor already showing the value is left alone.
    m_editors->follow(manager, &QtIntPropertyManager::valueChanged,
                      [](QSpinBox* editor, QtProperty*, int value) {
                          if (editor->value() != value)
                              editor->setValue(value);
                      });
    m_editors->follow(manager, &QtIntPropertyManager::singleStepChanged,
                      [](QSpinBox* editor, QtProperty*, int step) { editor->setSingleStep(step); });
    m_editors->forgetDeletedProperties(manager);
}

QWidget* QtSpinBoxFactory::createEditor(QtIntPropertyManager* manager, QtProperty* property, QWidget* parent)
{
    auto* editor = m_editors->add(property, new QSpinBox(parent));
    editor->setRange(-typingRange, typingRange);
    editor->setSingleStep(manager->singleStep(property));
    editor->setValue(manager->value(property));
    connect(editor, &QSpinBox::textChanged, m_editors->relay(), [editor] { showRefused(editor, false); });
    connect(editor, &QAbstractSpinBox::editingFinished, m_editors->relay(), [this, editor] {
        QtProperty* edited = m_editors->property(editor);
        QtIntPropertyManager* owner = propertyManager(edited);
        if (!owner)
            return;
        const int value = editor->value();
        if (value < owner->minimum(edited) || value > owner->maximum(edited)) {
            editor->setValue(owner->value(edited));
            showRefused(editor, true);
            emit valueRefused(edited, value);
            return;
        }
        owner->setValue(edited, value);
    });
    return editor;
}

void QtSpinBoxFactory::disconnectPropertyManager(QtIntPropertyManager* manager)
{
    m_editors->unfollow(manager);
}

QtDoubleSpinBoxFactory::QtDoubleSpinBoxFactory(QObject* parent)
    : QtAbstractEditorFactory<QtDoublePropertyManager>(parent),
      m_editors(std::make_unique<QtEditorRegistry<QDoubleSpinBox>>())
{
}

QtDoubleSpinBoxFactory::~QtDoubleSpinBoxFactory() = default;

void QtDoubleSpinBoxFactory::connectPropertyManager(QtDoublePropertyManager* manager)
{
    m_editors->follow(manager, &QtDoublePropertyManager::valueChanged,
                      [](QDoubleSpinBox* editor, QtProperty*, double value) {
                          if (editor->value() != value)
                              editor->setValue(value);
                      });
    m_editors->follow(manager, &QtDoublePropertyManager::singleStepChanged,
                      [](QDoubleSpinBox* editor, QtProperty*, double step) { editor->setSingleStep(step); });
    // Changing the decimals rounds the editor's value; the manager's value is put back.
    m_editors->follow(manager, &QtDoublePropertyManager::decimalsChanged,
                      [manager](QDoubleSpinBox* editor, QtProperty* property, int decimals) {
                          editor->setDecimals(decimals);
                          editor->setValue(manager->value(property));
                      });
    m_editors->forgetDeletedProperties(manager);
}

QWidget* QtDoubleSpinBoxFactory::createEditor(QtDoublePropertyManager* manager, QtProperty* property,
                                              QWidget* parent)
{
    auto* editor = m_editors->add(property, new QDoubleSpinBox(parent));
    editor->setDecimals(manager->decimals(property));
    editor->setRange(-typingRange, typingRange);
    editor->setSingleStep(manager->singleStep(property));
    editor->setValue(manager->value(property));
    // The editor shows the value rounded to the decimals; committing an untouched editor would
    // write that rounded value, so only a value the user changed is committed.
    auto changedByUser = std::make_shared<bool>(false);
    connect(editor, qOverload<double>(&QDoubleSpinBox::valueChanged), m_editors->relay(),
            [changedByUser] { *changedByUser = true; });
    connect(editor, &QDoubleSpinBox::textChanged, m_editors->relay(),
            [editor] { showRefused(editor, false); });
    connect(editor, &QAbstractSpinBox::editingFinished, m_editors->relay(), [this, editor, changedByUser] {
        QtProperty* edited = m_editors->property(editor);
        QtDoublePropertyManager* owner = propertyManager(edited);
        if (!owner || !*changedByUser)
            return;
        *changedByUser = false;
        const double value = editor->value();
        if (value < owner->minimum(edited) || value > owner->maximum(edited)) {
            {
                const QSignalBlocker quiet(editor);
                editor->setValue(owner->value(edited));
            }
            showRefused(editor, true);
            emit valueRefused(edited, value);
            return;
        }
        owner->setValue(edited, value);
    });
    return editor;
}

void QtDoubleSpinBoxFactory::disconnectPropertyManager(QtDoublePropertyManager* manager)
{
    m_editors->unfollow(manager);
}

namespace {

// Replaces the editor's validator; an empty pattern admits every text.
void applyPattern(QLineEdit* editor, const QRegExp& pattern)
{
    const QValidator* previous = editor->validator();
    editor->setValidator(pattern.isEmpty() ? nullptr : new QRegExpValidator(pattern, editor));
    delete previous;
}

} // namespace

QtLineEditFactory::QtLineEditFactory(QObject* parent)
    : QtAbstractEditorFactory<QtStringPropertyManager>(parent),
      m_editors(std::make_unique<QtEditorRegistry<QLineEdit>>())
{
}

QtLineEditFactory::~QtLineEditFactory() = default;

void QtLineEditFactory::connectPropertyManager(QtStringPropertyManager* manager)
{
    // Setting an equal text would only move the cursor of the editor the user types in.
    m_editors->follow(manager, &QtStringPropertyManager::valueChanged,
                      [](QLineEdit* editor, QtProperty*, const QString& value) {
                          if (editor->text() != value)
                              editor->setText(value);
                      });
    m_editors->follow(
        manager, &QtStringPropertyManager::regExpChanged,
        [](QLineEdit* editor, QtProperty*, const QRegExp& pattern) { applyPattern(editor, pattern); });
    m_editors->forgetDeletedProperties(manager);
}

QWidget* QtLineEditFactory::createEditor(QtStringPropertyManager* manager, QtProperty* property,
                                         QWidget* parent)
{
    auto* editor = m_editors->add(property, new QLineEdit(parent));
    applyPattern(editor, manager->regExp(property));
    editor->setText(manager->value(property));
    connect(editor, &QLineEdit::editingFinished, m_editors->relay(), [this, editor] {
        QtProperty* edited = m_editors->property(editor);
        if (QtStringPropertyManager* owner = propertyManager(edited))
            owner->setValue(edited, editor->text());
    });
    return editor;
}

void QtLineEditFactory::disconnectPropertyManager(QtStringPropertyManager* manager)
{
    m_editors->unfollow(manager);
}

namespace {

// Tells apart an entry chosen from the open list from one reached with keys or the wheel on the
// closed box: the first is a decision and finishes the edit at once, the others are only
// finished when the user leaves the box.
class EnumComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit EnumComboBox(QWidget* parent) : QComboBox(parent)
    {
        connect(this, qOverload<int>(&QComboBox::activated), this, [this] {
            if (m_listShown)
                emit editingFinished();
        });
    }

    void showPopup() override
    {
        m_listShown = true;
        QComboBox::showPopup();
    }

Q_SIGNALS:
    void editingFinished();

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        m_listShown = false;
        QComboBox::keyPressEvent(event);
    }

    void wheelEvent(QWheelEvent* event) override
    {
        m_listShown = false;
        QComboBox::wheelEvent(event);
    }

    void focusOutEvent(QFocusEvent* event) override
    {
        QComboBox::focusOutEvent(event);
        // The open list takes the focus from the box without the user leaving it.
        if (event->reason() != Qt::PopupFocusReason)
            emit editingFinished();
    }

private:
    bool m_listShown = false;
};

void fillComboBox(QComboBox* editor, const QStringList& names, const QMap<int, QIcon>& icons, int current)
{
    editor->clear();
    for (int i = 0; i < names.size(); ++i)
        editor->addItem(icons.value(i), names.at(i));
    editor->setCurrentIndex(current);
}

} // namespace

QtEnumEditorFactory::QtEnumEditorFactory(QObject* parent)
    : QtAbstractEditorFactory<QtEnumPropertyManager>(parent),
      m_editors(std::make_unique<QtEditorRegistry<QComboBox>>())
{
}

QtEnumEditorFactory::~QtEnumEditorFactory() = default;

void QtEnumEditorFactory::connectPropertyManager(QtEnumPropertyManager* manager)
{
    m_editors->follow(manager, &QtEnumPropertyManager::valueChanged,
                      [](QComboBox* editor, QtProperty*, int value) { editor->setCurrentIndex(value); });
    m_editors->follow(manager, &QtEnumPropertyManager::enumNamesChanged,
                      [manager](QComboBox* editor, QtProperty* property, const QStringList& names) {
                          fillComboBox(editor, names, manager->enumIcons(property), manager->value(property));
                      });
    m_editors->follow(manager, &QtEnumPropertyManager::enumIconsChanged,
                      [](QComboBox* editor, QtProperty*, const QMap<int, QIcon>& icons) {
                          for (int i = 0; i < editor->count(); ++i)
                              editor->setItemIcon(i, icons.value(i));
                      });
    m_editors->forgetDeletedProperties(manager);
}

QWidget* QtEnumEditorFactory::createEditor(QtEnumPropertyManager* manager, QtProperty* property,
                                           QWidget* parent)
{
    auto* editor = new EnumComboBox(parent);
    m_editors->add(property, editor);
    editor->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    editor->setMinimumContentsLength(1);
    fillComboBox(editor, manager->enumNames(property), manager->enumIcons(property),
                 manager->value(property));
    connect(editor, &EnumComboBox::editingFinished, m_editors->relay(), [this, editor] {
        QtProperty* edited = m_editors->property(editor);
        if (QtEnumPropertyManager* owner = propertyManager(edited))
            owner->setValue(edited, editor->currentIndex());
    });
    return editor;
}

void QtEnumEditorFactory::disconnectPropertyManager(QtEnumPropertyManager* manager)
{
    m_editors->unfollow(manager);
}

#include "qteditorfactory.moc"
