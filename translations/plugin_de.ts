<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>NimbarSensorPlugin::Core::SensorWindow</name>
    <message>
        <source>index not available</source>
        <translation>Index nicht vorhanden</translation>
    </message>
    <message>
        <source>service temporarily not available</source>
        <translation>Dienst vorübergehend nicht verfügbar</translation>
    </message>
    <message>
        <source>refused by the sensor (error 0x%1)</source>
        <translation>vom Sensor abgelehnt (Fehler 0x%1)</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>keine Antwort</translation>
    </message>
    <message>
        <source>Not read from the sensor: %1</source>
        <translation>Nicht vom Sensor gelesen: %1</translation>
    </message>
    <message>
        <source>the sensor holds code %1, which this list does not offer</source>
        <translation>der Sensor hat den Code %1, den diese Liste nicht anbietet</translation>
    </message>
    <message>
        <source>the sensor holds %1; allowed %2 to %3</source>
        <translation>der Sensor hat %1; erlaubt %2 bis %3</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not available on this sensor; &quot;%2&quot; is chosen instead.</source>
        <translation>„%1“ gibt es bei diesem Sensor nicht; stattdessen ist „%2“ gewählt.</translation>
    </message>
    <message>
        <source>Read from the sensor: %1 parameters; not read: %2 (marked in the tree).</source>
        <translation>Vom Sensor gelesen: %1 Parameter; nicht gelesen: %2 (im Baum markiert).</translation>
    </message>
    <message>
        <source>Offline</source>
        <translation>Offline</translation>
    </message>
    <message>
        <source>Property tree</source>
        <translation>Parameterbaum</translation>
    </message>
    <message>
        <source>Observation</source>
        <translation>Beobachtung</translation>
    </message>
    <message>
        <source> Process data</source>
        <translation> Prozessdaten</translation>
    </message>
    <message>
        <source>Measurement Value</source>
        <translation>Messwert</translation>
    </message>
    <message>
        <source>Device to Master</source>
        <translation>Gerät an Master</translation>
    </message>
    <message>
        <source>Master to Device</source>
        <translation>Master an Gerät</translation>
    </message>
    <message>
        <source>Object information</source>
        <translation>Objektinformation</translation>
    </message>
    <message>
        <source>Object %1</source>
        <translation>Objekt %1</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>It has no parameter section (document.treeGui.default).</source>
        <translation>Es fehlt der Parameterabschnitt (document.treeGui.default).</translation>
    </message>
    <message>
        <source>The description document %1 is broken; parameters are missing from this window:</source>
        <translation>Die Gerätebeschreibung %1 ist fehlerhaft; in diesem Fenster fehlen Parameter:</translation>
    </message>
    <message>
        <source>The description document %1 is broken.</source>
        <translation>Die Gerätebeschreibung %1 ist fehlerhaft.</translation>
    </message>
    <message>
        <source>Node &quot;%1&quot; (id &quot;%2&quot;) has the unknown type &quot;%3&quot;; it is left out.</source>
        <translation>Knoten „%1“ (Kennung „%2“) hat den unbekannten Typ „%3“ und wird ausgelassen.</translation>
    </message>
    <message>
        <source>Node &quot;%1&quot; (id &quot;%2&quot;) lacks the key &quot;%3&quot;; it is left out.</source>
        <translation>Knoten „%1“ (Kennung „%2“) fehlt der Eintrag „%3“; er wird ausgelassen.</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Ausgang</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>Abstand</translation>
    </message>
    <message>
        <source>Signal</source>
        <translation>Signal</translation>
    </message>
    <message>
        <source>Sensor Settings (*.kvs)</source>
        <translation>Sensoreinstellungen (*.kvs)</translation>
    </message>
    <message>
        <source>Open Settings</source>
        <translation>Einstellungen öffnen</translation>
    </message>
    <message>
        <source>Loaded settings will override the current project</source>
        <translation>Die geladenen Einstellungen ersetzen das aktuelle Projekt</translation>
    </message>
    <message>
        <source>Opening settings...</source>
        <translation>Einstellungen öffnen...</translation>
    </message>
    <message>
        <source>The selected settings are corupted</source>
        <translation>Die gewählten Einstellungen sind beschädigt</translation>
    </message>
    <message>
        <source>The selected settings are not for the current sensor</source>
        <translation>Die gewählten Einstellungen gehören nicht zu diesem Sensor</translation>
    </message>
</context>
<context>
    <name>SensorWindow</name>
    <message>
        <source>MainWindow</source>
        <translation>Hauptfenster</translation>
    </message>
    <message>
        <source>Save Settings</source>
        <translation>Einstellungen speichern</translation>
    </message>
    <message>
        <source>Save sensor settings to file</source>
        <translation>Sensoreinstellungen in eine Datei speichern</translation>
    </message>
    <message>
        <source>Open Settings</source>
        <translation>Einstellungen öffnen</translation>
    </message>
    <message>
        <source>Open a saved sensor from file</source>
        <translation>Gespeicherten Sensor aus einer Datei öffnen</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Supported sensors</source>
        <translation>Unterstützte Sensoren</translation>
    </message>
    <message>
        <source>DefaultSettings</source>
        <translation>Werkseinstellungen</translation>
    </message>
    <message>
        <source>Restore sensor&apos;s default settings</source>
        <translation>Werkseinstellungen des Sensors wiederherstellen</translation>
    </message>
    <message>
        <source>Export Chart Data</source>
        <translation>Diagrammdaten exportieren</translation>
    </message>
    <message>
        <source>Export chart data to file</source>
        <translation>Diagrammdaten in eine Datei exportieren</translation>
    </message>
    <message>
        <source>Enable live data</source>
        <translation>Live-Daten einschalten</translation>
    </message>
    <message>
        <source>Clear History</source>
        <translation>Verlauf löschen</translation>
    </message>
    <message>
        <source>Clear chart history</source>
        <translation>Diagrammverlauf löschen</translation>
    </message>
    <message>
        <source>Print chart view</source>
        <translation>Diagrammansicht drucken</translation>
    </message>
    <message>
        <source>Print current chart view</source>
        <translation>Aktuelle Diagrammansicht drucken</translation>
    </message>
    <message>
        <source>Export chart view</source>
        <translation>Diagrammansicht exportieren</translation>
    </message>
    <message>
        <source>Export current chart view</source>
        <translation>Aktuelle Diagrammansicht exportieren</translation>
    </message>
    <message>
        <source>Output 1</source>
        <translation>Ausgang 1</translation>
    </message>
    <message>
        <source>read</source>
        <translation>lesen</translation>
    </message>
    <message>
        <source>write </source>
        <translation>schreiben </translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>print</source>
        <translation>drucken</translation>
    </message>
    <message>
        <source>Switch to FP</source>
        <translation>Auf FP umschalten</translation>
    </message>
    <message>
        <source>writings</source>
        <translation>Schreiben</translation>
    </message>
    <message>
        <source>Write temporarily</source>
        <translation>Vorübergehend schreiben</translation>
    </message>
    <message>
        <source>Read Thresholds</source>
        <translation>Schaltpunkte lesen</translation>
    </message>
    <message>
        <source>File Tool Bar</source>
        <translation>Dateiwerkzeugleiste</translation>
    </message>
    <message>
        <source>Sensor Operations Tool Bar</source>
        <translation>Sensorwerkzeugleiste</translation>
    </message>
    <message>
        <source>toolBar</source>
        <translation>Werkzeugleiste</translation>
    </message>
</context>
</TS>
