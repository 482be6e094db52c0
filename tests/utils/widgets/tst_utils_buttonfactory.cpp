#include <utils/widgets/ButtonFactory.h>
#include <utils/widgets/ButtonManager.h>

#include <QPushButton>
#include <QtTest>
#include <qttreepropertybrowser.h>

using Utils::ButtonFactory;
using Utils::ButtonManager;

class ButtonFactoryTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void browserButtonClickEmitsButtonClicked();
    void buttonFollowsTextAndEnabledState();
};

void ButtonFactoryTest::browserButtonClickEmitsButtonClicked()
{
    ButtonManager manager(nullptr);
    ButtonFactory factory(nullptr);
    QtTreePropertyBrowser browser;
    browser.setFactoryForManager(&manager, &factory);
    manager.addProperty("Teach output 2");
    QtProperty* teach = manager.addProperty("Teach output 1");
    manager.setValue(teach, "Teach");
    browser.addProperty(teach);
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    browser.editItem(browser.topLevelItem(teach));
    auto* button = browser.findChild<QPushButton*>();
    QVERIFY(button);
    QCOMPARE(button->text(), QString("Teach"));
    QList<QtProperty*> clicked;
    connect(&manager, &ButtonManager::buttonClicked, this, [&](QtProperty* p) { clicked.append(p); });
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicked, QList<QtProperty*>{teach});
}

void ButtonFactoryTest::buttonFollowsTextAndEnabledState()
{
    ButtonManager manager(nullptr);
    ButtonFactory factory(nullptr);
    factory.addPropertyManager(&manager);
    QtAbstractEditorFactoryBase& editors = factory;
    QWidget parent;
    QtProperty* reset = manager.addProperty("reset");
    manager.setValue(reset, "Reset");
    auto* button = qobject_cast<QPushButton*>(editors.createEditor(reset, &parent));
    QVERIFY(button);
    manager.setValue(reset, "Zurücksetzen");
    QCOMPARE(button->text(), QString("Zurücksetzen"));
    QCOMPARE(reset->valueText(), QString("Zurücksetzen"));
    reset->setEnabled(false);
    QVERIFY(!button->isEnabled());
    auto* late = qobject_cast<QPushButton*>(editors.createEditor(reset, &parent));
    QVERIFY(late && !late->isEnabled());
    reset->setEnabled(true);
    QVERIFY(button->isEnabled() && late->isEnabled());
}

QTEST_MAIN(ButtonFactoryTest)
#include "tst_utils_buttonfactory.moc"
