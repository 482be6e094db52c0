#include <utils/widgets/ConnectionStatus.h>

#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QtTest>

// The icons plug-ins name by resource path come built into the widget library.
class IconsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyIconLoads_data();
    void everyIconLoads();
    void connectionStatusShowsTheState();
};

void IconsTest::everyIconLoads_data()
{
    QTest::addColumn<QString>("path");
    const QString main =
        "!_galben_cerc_negru.svg Connection_image_new-01.svg Export.svg Menuebaum.svg PNBC.jpg "
        "Reset.svg Sensorenliste.svg Verlauf_Loeschen.svg button.svg connect_sensor_pc.svg "
        "connect_yes.svg edit_delete_all.svg file_open.svg file_print.svg file_save.svg "
        "kavrix-tool-configure.svg led_state_1_1.svg led_state_1_2.svg led_state_2_1.svg "
        "led_state_2_2.svg led_state_F_2.svg lesen.svg libary.svg recorder_play.svg "
        "schreiben.svg temporaer_schreiben.svg";
    for (const QString& name : main.split(' '))
        QTest::newRow(qPrintable(name)) << ":/newPrefix/icons/" + name;
    const QString second = "schreiben.svg schreiben2cerc.svg arrow_down.png Process_data_new-01.svg";
    for (const QString& name : second.split(' '))
        QTest::newRow(qPrintable("icons/" + name)) << ":/icons/icons/" + name;
}

void IconsTest::everyIconLoads()
{
    QFETCH(QString, path);
    QImageReader reader(path);
    // The content must be of the format the name promises.
    const QString suffix = QFileInfo(path).suffix();
    QCOMPARE(QString(reader.format()), suffix == "jpg" ? QString("jpeg") : suffix);
    const QImage image = reader.read();
    QVERIFY(!image.isNull());
    QVERIFY(!QIcon(path).pixmap(24, 24).isNull());
    // Something is drawn, not a blank or single-coloured square.
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> colours;
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x)
            colours.insert(argb.pixel(x, y));
    }
    QVERIFY(colours.size() > 2);
}

void IconsTest::connectionStatusShowsTheState()
{
    Utils::ConnectionStatus status(nullptr);
    const auto texts = [&status] {
        QStringList result;
        for (const QLabel* label : status.findChildren<QLabel*>())
            result << label->text();
        return result;
    };
    QVERIFY(!status.isConnected() && texts().contains("Not connected"));
    status.setConnected(true);
    QVERIFY(status.isConnected() && texts().contains("Connected"));
    status.setConnected(false);
    QVERIFY(texts().contains("Not connected"));
}

QTEST_MAIN(IconsTest)
#include "tst_utils_icons.moc"
