<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ExportText</name>
    <message>
        <source>Cannot export to %1: %2</source>
        <translation>Export nach %1 nicht möglich: %2</translation>
    </message>
</context>
<context>
    <name>Utils::Charts::GenericChart</name>
    <message>
        <source>Chart %1</source>
        <translation>Diagramm %1</translation>
    </message>
    <message>
        <source>Show or hide %1</source>
        <translation>%1 ein- oder ausblenden</translation>
    </message>
</context>
<context>
    <name>Utils::ConnectionStatus</name>
    <message>
        <source>Connected</source>
        <translation>Verbunden</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>Nicht verbunden</translation>
    </message>
    <message>
        <source>A sensor answers on the selected port</source>
        <translation>Am gewählten Anschluss antwortet ein Sensor</translation>
    </message>
    <message>
        <source>No sensor connected</source>
        <translation>Kein Sensor verbunden</translation>
    </message>
</context>
<context>
    <name>Utils::ExportDialog</name>
    <message>
        <source>Tab</source>
        <translation>Tabulator</translation>
    </message>
    <message>
        <source>Comma</source>
        <translation>Komma</translation>
    </message>
    <message>
        <source>Semicolon</source>
        <translation>Semikolon</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Leerzeichen</translation>
    </message>
    <message>
        <source>Other:</source>
        <translation>Andere:</translation>
    </message>
    <message>
        <source>Export chart data</source>
        <translation>Diagrammdaten exportieren</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n sample(s)</source>
        <translation>
            <numerusform>%1: %n Messwert</numerusform>
            <numerusform>%1: %n Messwerte</numerusform>
        </translation>
    </message>
    <message>
        <source>Delimiter</source>
        <translation>Trennzeichen</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>Choose the target file</source>
        <translation>Zieldatei wählen</translation>
    </message>
    <message>
        <source>File:</source>
        <translation>Datei:</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>Speichern unter...</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Einheit</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Zustand</translation>
    </message>
</context>
<context>
    <name>Utils::PlotDocument</name>
    <message>
        <source>Chart</source>
        <translation>Diagramm</translation>
    </message>
    <message>
        <source>Print chart</source>
        <translation>Diagramm drucken</translation>
    </message>
    <message>
        <source>Cannot print on %1.</source>
        <translation>Drucken auf %1 nicht möglich.</translation>
    </message>
    <message>
        <source>Cannot print to %1.</source>
        <translation>Drucken in %1 nicht möglich.</translation>
    </message>
    <message>
        <source>Cannot print to %1: %2</source>
        <translation>Drucken in %1 nicht möglich: %2</translation>
    </message>
</context>
<context>
    <name>Utils::ProgressBarUi</name>
    <message>
        <source>Please wait</source>
        <translation>Bitte warten</translation>
    </message>
    <message>
        <source>Communicating with the sensor...</source>
        <translation>Verbindung mit dem Sensor...</translation>
    </message>
</context>
<context>
    <name>Utils::SampleState</name>
    <message>
        <source>gap</source>
        <translation>Lücke</translation>
    </message>
    <message>
        <source>too close</source>
        <translation>zu nah</translation>
    </message>
    <message>
        <source>too far</source>
        <translation>zu weit</translation>
    </message>
    <message>
        <source>no data</source>
        <translation>keine Daten</translation>
    </message>
</context>
<context>
    <name>Utils::ThresholdWindowWidgetUniversal</name>
    <message>
        <source>Lower</source>
        <translation>Unten</translation>
    </message>
    <message>
        <source>Upper</source>
        <translation>Oben</translation>
    </message>
    <message>
        <source>Threshold</source>
        <translation>Schaltpunkt</translation>
    </message>
    <message>
        <source>Window %1</source>
        <translation>Fenster %1</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Von</translation>
    </message>
    <message>
        <source>To</source>
        <translation>Bis</translation>
    </message>
</context>
</TS>
