// A window with one property of every kind, each row's editor open, for looking at the
// browser by eye and for screenshots taken without a display.

#include <QtCheckBoxFactory>
#include <QtDoubleSpinBoxFactory>
#include <QtEnumEditorFactory>
#include <QtLineEditFactory>
#include <QtSpinBoxFactory>
#include <QtTreePropertyBrowser>

#include <QApplication>
#include <QCommandLineParser>
#include <QLineEdit>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

struct Managers
{
    QtGroupPropertyManager* group;
    QtBoolPropertyManager* boolean;
    QtIntPropertyManager* integer;
    QtDoublePropertyManager* real;
    QtStringPropertyManager* text;
    QtEnumPropertyManager* choice;
};

QtProperty* buildTree(const Managers& m)
{
    QtProperty* root = m.group->addProperty(QApplication::translate("example", "Sensor"));

    QtProperty* threshold = m.integer->addProperty(QApplication::translate("example", "Switching threshold"));
    m.integer->setRange(threshold, 0, 6000);
    m.integer->setSingleStep(threshold, 10);
    m.integer->setValue(threshold, 1500);
    threshold->setToolTip(QApplication::translate("example", "Distance at which the output switches, in mm"));
    threshold->setStatusTip(QApplication::translate("example", "Switching point of output 1"));
    root->addSubProperty(threshold);

    QtProperty* hysteresis = m.real->addProperty(QApplication::translate("example", "Hysteresis (inch)"));
    m.real->setRange(hysteresis, 0.0, 20.0);
    m.real->setDecimals(hysteresis, 3);
    m.real->setValue(hysteresis, 0.394);
    root->addSubProperty(hysteresis);

    QtProperty* inverted = m.boolean->addProperty(QApplication::translate("example", "Output inverted"));
    m.boolean->setValue(inverted, true);
    root->addSubProperty(inverted);

    QtProperty* live = m.boolean->addProperty(QApplication::translate("example", "Live data"));
    m.boolean->setValue(live, false, QApplication::translate("example", "On"),
                        QApplication::translate("example", "Off"));
    root->addSubProperty(live);

    QtProperty* pinFunction = m.choice->addProperty(QApplication::translate("example", "Pin function"));
    m.choice->setEnumNames(pinFunction, {QApplication::translate("example", "Switching output"),
                                         QApplication::translate("example", "Window mode"),
                                         QApplication::translate("example", "Crash detection")});
    m.choice->setValue(pinFunction, 1);
    root->addSubProperty(pinFunction);

    QtProperty* tag = m.text->addProperty(QApplication::translate("example", "Location tag"));
    m.text->setValue(tag, QStringLiteral("Conveyor 3, left"));
    root->addSubProperty(tag);

    QtProperty* device = m.group->addProperty(QApplication::translate("example", "Device"));
    root->addSubProperty(device);
    QtProperty* counter = m.integer->addProperty(QApplication::translate("example", "Crash counter"));
    m.integer->setValue(counter, 7);
    counter->setToolTip(QApplication::translate("example", "Read only: counted by the sensor"));
    counter->setEnabled(false);
    device->addSubProperty(counter);
    QtProperty* serial = m.text->addProperty(QApplication::translate("example", "Serial number"));
    m.text->setValue(serial, QStringLiteral("MZ-2041-0815"));
    m.text->setRegExp(serial, QRegExp(QStringLiteral("[A-Z]{2}-\\d{4}-\\d{4}")));
    device->addSubProperty(serial);
    return root;
}

// Opens the editor of every editable row at once; in normal use only the current row's is open.
void openAllEditors(QtTreePropertyBrowser* browser)
{
    auto* tree = browser->findChild<QTreeWidget*>();
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        const Qt::ItemFlags flags = (*it)->flags();
        if ((flags & Qt::ItemIsEnabled) && (flags & Qt::ItemIsEditable))
            tree->openPersistentEditor(*it, 1);
    }
    // Opening selects an editor's text, which would make every row look highlighted.
    const QList<QLineEdit*> lineEdits = tree->findChildren<QLineEdit*>();
    for (QLineEdit* lineEdit : lineEdits)
        lineEdit->deselect();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QApplication::translate("example", "Property browser example"));
    parser.addHelpOption();
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QApplication::translate("example", "Save a picture to <file> and quit."), QStringLiteral("file"));
    parser.addOption(screenshot);
    parser.process(app);

    QMainWindow window;
    window.setWindowTitle(QApplication::translate("example", "Property browser"));
    const Managers managers{new QtGroupPropertyManager(&window),  new QtBoolPropertyManager(&window),
                            new QtIntPropertyManager(&window),    new QtDoublePropertyManager(&window),
                            new QtStringPropertyManager(&window), new QtEnumPropertyManager(&window)};

    auto* browser = new QtTreePropertyBrowser(&window);
    browser->setFactoryForManager(managers.boolean, new QtCheckBoxFactory(&window));
    browser->setFactoryForManager(managers.integer, new QtSpinBoxFactory(&window));
    browser->setFactoryForManager(managers.real, new QtDoubleSpinBoxFactory(&window));
    browser->setFactoryForManager(managers.text, new QtLineEditFactory(&window));
    browser->setFactoryForManager(managers.choice, new QtEnumEditorFactory(&window));
    browser->setPropertiesWithoutValueMarked(true);
    browser->setResizeMode(QtTreePropertyBrowser::Interactive);
    browser->setSplitterPosition(230);
    browser->addProperty(buildTree(managers));
    openAllEditors(browser);

    window.setCentralWidget(browser);
    window.statusBar()->showMessage(QApplication::translate("example", "Hover a row to see its status tip"));
    window.resize(560, 400);
    window.show();

    if (parser.isSet(screenshot)) {
        const QString file = parser.value(screenshot);
        QTimer::singleShot(0, &window,
                           [&window, file] { QApplication::exit(window.grab().save(file, "PNG") ? 0 : 1); });
    }
    return app.exec();
}
