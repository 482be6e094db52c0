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
    void browserButtonReportsItsPropertyAndFollowsIt();
};

void ButtonFactoryTest::browserButtonReportsItsPropertyAndFollowsIt()
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

    // An open button follows its property's text and state; one made while the property is
    // disabled starts disabled.
    manager.setValue(teach, "Zurücksetzen");
    QCOMPARE(button->text(), QString("Zurücksetzen"));
    QCOMPARE(teach->valueText(), QString("Zurücksetzen"));
    teach->setEnabled(false);
    QVERIFY(!button->isEnabled());
    QWidget parent;
    QtAbstractEditorFactoryBase& editors = factory;
    auto* late = qobject_cast<QPushButton*>(editors.createEditor(teach, &parent));
    QVERIFY(late && !late->isEnabled());
    teach->setEnabled(true);
    QVERIFY(button->isEnabled() && late->isEnabled());
}

QTEST_MAIN(ButtonFactoryTest)
#include "tst_utils_buttonfactory.moc"
