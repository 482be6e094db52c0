#pragma once

// The value managers: each keeps the values of the properties it created and tells listeners
// about changes. Setters that leave a value as it is emit nothing.

#include "qtpropertybrowser.h"

#include <QMap>
#include <QRegExp>
#include <QStringList>

#include <limits>

class QtGroupPropertyManager : public QtAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit QtGroupPropertyManager(QObject* parent = nullptr);
    ~QtGroupPropertyManager() override;

protected:
    // A group only gathers sub-properties; browsers show it as a header row.
    bool hasValue(const QtProperty* property) const override;
    void initializeProperty(QtProperty* property) override;
};

class QtBoolPropertyManager : public QtAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit QtBoolPropertyManager(QObject* parent = nullptr);
    ~QtBoolPropertyManager() override;

    bool value(const QtProperty* property) const;

public Q_SLOTS:
    void setValue(QtProperty* property, bool value);
    // Also sets the texts shown for the two states; an empty text stands for the default
    // "True" or "False". A change of the texts alone emits propertyChanged, not valueChanged.
    void setValue(QtProperty* property, bool value, const QString& trueText, const QString& falseText);

Q_SIGNALS:
    void valueChanged(QtProperty* property, bool value);

protected:
    QString valueText(const QtProperty* property) const override;
    QIcon valueIcon(const QtProperty* property) const override;
    void initializeProperty(QtProperty* property) override;
    void uninitializeProperty(QtProperty* property) override;

private:
    struct Data
    {
        bool value = false;
        QString trueText;
        QString falseText;
    };
    QMap<const QtProperty*, Data> m_values;
    mutable QIcon m_checkedIcon;
    mutable QIcon m_uncheckedIcon;
};

class QtIntPropertyManager : public QtAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit QtIntPropertyManager(QObject* parent = nullptr);
    ~QtIntPropertyManager() override;

    int value(const QtProperty* property) const;
    int minimum(const QtProperty* property) const;
    int maximum(const QtProperty* property) const;
    int singleStep(const QtProperty* property) const;

public Q_SLOTS:
    // The value is clamped into the range.
    void setValue(QtProperty* property, int value);
    // A minimum above the maximum moves the maximum along, and the reverse.
    void setMinimum(QtProperty* property, int minimum);
    void setMaximum(QtProperty* property, int maximum);
    // Reversed bounds are put in order.
    void setRange(QtProperty* property, int minimum, int maximum);
    // Negative steps count as 0.
    void setSingleStep(QtProperty* property, int step);

Q_SIGNALS:
    void valueChanged(QtProperty* property, int value);
    void rangeChanged(QtProperty* property, int minimum, int maximum);
    void singleStepChanged(QtProperty* property, int step);

protected:
    QString valueText(const QtProperty* property) const override;
    void initializeProperty(QtProperty* property) override;
    void uninitializeProperty(QtProperty* property) override;

private:
    struct Data
    {
        int value = 0;
        int minimum = std::numeric_limits<int>::min();
        int maximum = std::numeric_limits<int>::max();
        int singleStep = 1;
    };
    void applyRange(QtProperty* property, int minimum, int maximum);

    QMap<const QtProperty*, Data> m_values;
};

class QtDoublePropertyManager : public QtAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit QtDoublePropertyManager(QObject* parent = nullptr);
    ~QtDoublePropertyManager() override;

    double value(const QtProperty* property) const;
    double minimum(const QtProperty* property) const;
    double maximum(const QtProperty* property) const;
    double singleStep(const QtProperty* property) const;
    int decimals(const QtProperty* property) const;

public Q_SLOTS:
    void setValue(QtProperty* property, double value);
    void setMinimum(QtProperty* property, double minimum);
    void setMaximum(QtProperty* property, double maximum);
    void setRange(QtProperty* property, double minimum, double maximum);
    void setSingleStep(QtProperty* property, double step);
    // Decimals shown and edited, kept within 0 to 13.
    void setDecimals(QtProperty* property, int decimals);

Q_SIGNALS:
    void valueChanged(QtProperty* property, double value);
    void rangeChanged(QtProperty* property, double minimum, double maximum);
    void singleStepChanged(QtProperty* property, double step);
    void decimalsChanged(QtProperty* property, int decimals);

protected:
    QString valueText(const QtProperty* property) const override;
    void initializeProperty(QtProperty* property) override;
    void uninitializeProperty(QtProperty* property) override;

private:
    struct Data
    {
        double value = 0.0;
        double minimum = std::numeric_limits<double>::lowest();
        double maximum = std::numeric_limits<double>::max();
        double singleStep = 1.0;
        int decimals = 2;
    };
    void applyRange(QtProperty* property, double minimum, double maximum);

    QMap<const QtProperty*, Data> m_values;
};

class QtStringPropertyManager : public QtAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit QtStringPropertyManager(QObject* parent = nullptr);
    ~QtStringPropertyManager() override;

    QString value(const QtProperty* property) const;
    QRegExp regExp(const QtProperty* property) const;

public Q_SLOTS:
    // Refused when a pattern is set and the text does not match it as a whole.
    void setValue(QtProperty* property, const QString& value);
    // An empty pattern admits every text. The current text is kept either way.
    void setRegExp(QtProperty* property, const QRegExp& regExp);

Q_SIGNALS:
    void valueChanged(QtProperty* property, const QString& value);
    void regExpChanged(QtProperty* property, const QRegExp& regExp);

protected:
    QString valueText(const QtProperty* property) const override;
    void initializeProperty(QtProperty* property) override;
    void uninitializeProperty(QtProperty* property) override;

private:
    struct Data
    {
        QString value;
        QRegExp regExp;
    };
    QMap<const QtProperty*, Data> m_values;
};

class QtEnumPropertyManager : public QtAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit QtEnumPropertyManager(QObject* parent = nullptr);
    ~QtEnumPropertyManager() override;

    // Index into the names; -1 while there are none.
    int value(const QtProperty* property) const;
    QStringList enumNames(const QtProperty* property) const;
    QMap<int, QIcon> enumIcons(const QtProperty* property) const;

public Q_SLOTS:
    // An index outside the names is ignored.
    void setValue(QtProperty* property, int value);
    // Resets the index to 0, or to -1 for no names. The reset comes with enumNamesChanged and
    // propertyChanged only; listeners re-read the value there.
    void setEnumNames(QtProperty* property, const QStringList& names);
    void setEnumIcons(QtProperty* property, const QMap<int, QIcon>& icons);

Q_SIGNALS:
    void valueChanged(QtProperty* property, int value);
    void enumNamesChanged(QtProperty* property, const QStringList& names);
    void enumIconsChanged(QtProperty* property, const QMap<int, QIcon>& icons);

protected:
    QString valueText(const QtProperty* property) const override;
    QIcon valueIcon(const QtProperty* property) const override;
    void initializeProperty(QtProperty* property) override;
    void uninitializeProperty(QtProperty* property) override;

private:
    struct Data
    {
        int value = -1;
        QStringList names;
        QMap<int, QIcon> icons;
    };
    QMap<const QtProperty*, Data> m_values;
};
