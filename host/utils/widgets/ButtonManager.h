#pragma once

#include <qtpropertybrowser.h>

#include <QMap>

namespace Utils {

// Properties that act as push buttons in a property browser: each holds the text its button
// shows; a press of the button is announced by buttonClicked (see ButtonFactory).
class ButtonManager : public QtAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit ButtonManager(QObject* parent = nullptr);
    ~ButtonManager() override;

    QString value(const QtProperty* property) const;

public Q_SLOTS:
    void setValue(QtProperty* property, const QString& text);

Q_SIGNALS:
    void valueChanged(QtProperty* property, const QString& text);
    void buttonClicked(QtProperty* property);

protected:
    QString valueText(const QtProperty* property) const override;
    void initializeProperty(QtProperty* property) override;
    void uninitializeProperty(QtProperty* property) override;

private:
    QMap<const QtProperty*, QString> m_texts;
};

} // namespace Utils
