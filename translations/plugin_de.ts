<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CommissioningReport</name>
    <message>
        <source>not read</source>
        <translation>nicht gelesen</translation>
    </message>
    <message>
        <source>differs from %1 (%2 there)</source>
        <translation>weicht von %1 ab (dort %2)</translation>
    </message>
    <message>
        <source>Commissioning report: %1</source>
        <translation>Inbetriebnahmebericht: %1</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Anschluss</translation>
    </message>
    <message>
        <source>Date and time</source>
        <translation>Datum und Uhrzeit</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programm</translation>
    </message>
    <message>
        <source>No settings file was saved or opened in this window: the values are compared with none.</source>
        <translation>In diesem Fenster wurde keine Einstellungsdatei gespeichert oder geöffnet: die Werte werden mit keiner verglichen.</translation>
    </message>
    <message>
        <source>The values could not be compared with %1, the settings file last saved or opened in this window: %2</source>
        <translation>Die Werte ließen sich nicht mit %1 vergleichen, der zuletzt in diesem Fenster gespeicherten oder geöffneten Einstellungsdatei: %2</translation>
    </message>
    <message>
        <source>The values are compared with %1, the settings file last saved or opened in this window.</source>
        <translation>Die Werte werden mit %1 verglichen, der zuletzt in diesem Fenster gespeicherten oder geöffneten Einstellungsdatei.</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>Distance over time</source>
        <translation>Abstand über der Zeit</translation>
    </message>
    <message>
        <source>Commissioning report</source>
        <translation>Inbetriebnahmebericht</translation>
    </message>
    <message>
        <source>The report could not be written to %1: no page could be laid out.</source>
        <translation>Der Bericht konnte nicht in %1 geschrieben werden: keine Seite ließ sich anlegen.</translation>
    </message>
    <message>
        <source>The report could not be written to %1: %2</source>
        <translation>Der Bericht konnte nicht in %1 geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>DescriptionDocument</name>
    <message>
        <source>elements are nested more than %1 deep</source>
        <translation>Elemente sind tiefer als %1 Ebenen verschachtelt</translation>
    </message>
    <message>
        <source>an element text of %1 bytes; a caption or value has at most %2</source>
        <translation>ein Elementtext von %1 Bytes; eine Beschriftung oder ein Wert hat höchstens %2</translation>
    </message>
</context>
<context>
    <name>NimbarSensorPlugin::Core::BusyPopup</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>NimbarSensorPlugin::Core::DistanceChart</name>
    <message>
        <source>No data</source>
        <translation>Keine Daten</translation>
    </message>
    <message>
        <source>Obj. too close</source>
        <translation>Obj. zu nah</translation>
    </message>
    <message>
        <source>Obj. too far</source>
        <translation>Obj. zu weit</translation>
    </message>
    <message>
        <source>Signal</source>
        <translation>Signal</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>Abstand</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Exporting chart data...</source>
        <translation>Diagrammdaten exportieren...</translation>
    </message>
    <message>
        <source>Printing chart...</source>
        <translation>Diagramm drucken...</translation>
    </message>
    <message>
        <source>Clear chart history</source>
        <translation>Diagrammverlauf löschen</translation>
    </message>
    <message>
        <source>Do you really want to clear chart history ?</source>
        <translation>Soll der Diagrammverlauf wirklich gelöscht werden?</translation>
    </message>
    <message>
        <source>in</source>
        <translation>in</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>Distance (%1)</source>
        <translation>Abstand (%1)</translation>
    </message>
</context>
<context>
    <name>NimbarSensorPlugin::Core::LiveDataLog</name>
    <message>
        <source>The live-data log %1 could not be written: %2</source>
        <translation>Das Live-Daten-Protokoll %1 konnte nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>NimbarSensorPlugin::Core::ParameterEditor</name>
    <message>
        <source>%1 was not written: the window is still updating after connecting. The value stays in the window.</source>
        <translation>%1 wurde nicht geschrieben: Das Fenster aktualisiert sich noch nach dem Verbinden. Der Wert bleibt im Fenster.</translation>
    </message>
    <message>
        <source>%1 was not written to the sensor: %2</source>
        <translation>%1 wurde nicht in den Sensor geschrieben: %2</translation>
    </message>
    <message>
        <source>%1: sent to the sensor</source>
        <translation>%1: an den Sensor gesendet</translation>
    </message>
    <message>
        <source>%1 = %2 written</source>
        <translation>%1 = %2 geschrieben</translation>
    </message>
    <message>
        <source>Writing %1 of %2</source>
        <translation>Schreiben %1 von %2</translation>
    </message>
    <message>
        <source>Writing %1 of %2 differing parameters</source>
        <translation>Schreibe %1 von %2 abweichenden Parametern</translation>
    </message>
</context>
<context>
    <name>NimbarSensorPlugin::Core::ParameterReader</name>
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
        <source>Not read from the sensor: the read of all parameters stopped first</source>
        <translation>Nicht vom Sensor gelesen: das Lesen aller Parameter brach vorher ab</translation>
    </message>
</context>
<context>
    <name>NimbarSensorPlugin::Core::ParameterTree</name>
    <message>
        <source>It has no parameter section (document.treeGui.default).</source>
        <translation>Es fehlt der Parameterabschnitt (document.treeGui.default).</translation>
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
        <source>Node &quot;%1&quot; has no id; it is left out.</source>
        <translation>Knoten „%1“ hat keine ID; er wird ausgelassen.</translation>
    </message>
    <message>
        <source>Node &quot;%1&quot; has the id &quot;%2&quot; of an earlier node; it is left out.</source>
        <translation>Knoten „%1“ hat die ID „%2“ eines früheren Knotens; er wird ausgelassen.</translation>
    </message>
    <message>
        <source>Node with id &quot;%1&quot; has no caption; its id is shown instead.</source>
        <translation>Knoten mit der ID „%1“ hat keine Beschriftung; stattdessen wird seine ID angezeigt.</translation>
    </message>
    <message>
        <source>Node &quot;%1&quot; (id &quot;%2&quot;) has %3, which is no number; it is left out.</source>
        <translation>Knoten „%1“ (ID „%2“) hat %3, das ist keine Zahl; er wird ausgelassen.</translation>
    </message>
    <message>
        <source>Node &quot;%1&quot; (id &quot;%2&quot;) has %3, which is no number; 0 is used.</source>
        <translation>Knoten „%1“ (ID „%2“) hat %3, das ist keine Zahl; 0 wird verwendet.</translation>
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
        <source>Not written to the sensor yet</source>
        <translation>Noch nicht in den Sensor geschrieben</translation>
    </message>
    <message>
        <source>Allowed: %1 to %2%3</source>
        <translation>Zulässig: %1 bis %2%3</translation>
    </message>
    <message>
        <source>Read from the sensor: %1 parameters; not read: %2 (marked in the tree).</source>
        <translation>Vom Sensor gelesen: %1 Parameter; nicht gelesen: %2 (im Baum markiert).</translation>
    </message>
    <message>
        <source>Not read from the sensor: it reports no value</source>
        <translation>Nicht vom Sensor gelesen: er meldet keinen Wert</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not available on this sensor; &quot;%2&quot; is chosen instead.</source>
        <translation>„%1“ gibt es bei diesem Sensor nicht; stattdessen ist „%2“ gewählt.</translation>
    </message>
    <message>
        <source> (%1 mm)</source>
        <translation> (%1 mm)</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
</context>
<context>
    <name>NimbarSensorPlugin::Core::ParameterWriter</name>
    <message>
        <source>Not written to the sensor: %1</source>
        <translation>Nicht in den Sensor geschrieben: %1</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>NimbarSensorPlugin::Core::ProcessDataView</name>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ein</translation>
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
        <source>No data</source>
        <translation>Keine Daten</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>Abstand</translation>
    </message>
    <message>
        <source>Object too close</source>
        <translation>Objekt zu nah</translation>
    </message>
    <message>
        <source>Object too far</source>
        <translation>Objekt zu weit</translation>
    </message>
    <message>
        <source> No data</source>
        <translation> Keine Daten</translation>
    </message>
</context>
<context>
    <name>NimbarSensorPlugin::Core::SensorConnection</name>
    <message>
        <source>Connecting to %1: checking the line, attempt %2 of %3</source>
        <translation>Verbinden mit %1: Leitung wird geprüft, Versuch %2 von %3</translation>
    </message>
    <message>
        <source>Connecting to %1: asking the sensor who it is, attempt %2 of %3</source>
        <translation>Verbinden mit %1: Sensor wird nach seiner Kennung gefragt, Versuch %2 von %3</translation>
    </message>
    <message>
        <source>The port %1 was lost.</source>
        <translation>Der Anschluss %1 ist weggefallen.</translation>
    </message>
    <message>
        <source>No answer on %1 after %2 attempts.</source>
        <translation>Keine Antwort auf %1 nach %2 Versuchen.</translation>
    </message>
    <message>
        <source>The sensor did not say who it is.</source>
        <translation>Der Sensor hat seine Kennung nicht genannt.</translation>
    </message>
    <message>
        <source>The sensor identifies itself as %1.</source>
        <translation>Der Sensor meldet sich als %1.</translation>
    </message>
</context>
<context>
    <name>NimbarSensorPlugin::Core::SensorEvents</name>
    <message>
        <source>Connected to %1</source>
        <translation>Verbunden mit %1</translation>
    </message>
    <message>
        <source>The sensor answers again: connected to %1</source>
        <translation>Der Sensor antwortet wieder: verbunden mit %1</translation>
    </message>
    <message>
        <source>The sensor does not answer any more</source>
        <translation>Der Sensor antwortet nicht mehr</translation>
    </message>
    <message>
        <source>The factory settings were restored</source>
        <translation>Die Werkseinstellungen wurden wiederhergestellt</translation>
    </message>
    <message>
        <source>%1 was not written: %2</source>
        <translation>%1 wurde nicht geschrieben: %2</translation>
    </message>
    <message>
        <source>Settings loaded from %1</source>
        <translation>Einstellungen aus %1 geladen</translation>
    </message>
    <message>
        <source>%1 pressed</source>
        <translation>%1 gedrückt</translation>
    </message>
    <message>
        <source>%1: %2 -&gt; %3</source>
        <translation>%1: %2 -&gt; %3</translation>
    </message>
    <message>
        <source>The crash counter rose from %1 to %2</source>
        <translation>Der Aufprallzähler stieg von %1 auf %2</translation>
    </message>
</context>
<context>
    <name>NimbarSensorPlugin::Core::SensorSession</name>
    <message>
        <source>Reading %1 of %2</source>
        <translation>Lesen %1 von %2</translation>
    </message>
    <message>
        <source>Reading cancelled. %1</source>
        <translation>Lesen abgebrochen. %1</translation>
    </message>
    <message>
        <source>%1 could not be read back after the teach</source>
        <translation>%1 ließ sich nach dem Einlernen nicht zurücklesen</translation>
    </message>
    <message>
        <source>%1 reset: %2</source>
        <translation>%1 zurückgesetzt: %2</translation>
    </message>
    <message>
        <source>%1 taught: %2</source>
        <translation>%1 eingelernt: %2</translation>
    </message>
</context>
<context>
    <name>NimbarSensorPlugin::Core::SensorWindow</name>
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
        <source>The description document %1 is broken; parameters are missing from this window:</source>
        <translation>Die Gerätebeschreibung %1 ist fehlerhaft; in diesem Fenster fehlen Parameter:</translation>
    </message>
    <message>
        <source>The description document %1 is broken.</source>
        <translation>Die Gerätebeschreibung %1 ist fehlerhaft.</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Ausgang</translation>
    </message>
    <message>
        <source>Process data</source>
        <translation>Prozessdaten</translation>
    </message>
    <message>
        <source> Observation</source>
        <translation> Beobachtung</translation>
    </message>
    <message>
        <source>Connecting to sensor</source>
        <translation>Verbindung zum Sensor</translation>
    </message>
    <message>
        <source>The sensor did not respond, please make sure it is properly connected.</source>
        <translation>Der Sensor antwortet nicht. Bitte prüfen Sie, ob er richtig angeschlossen ist.</translation>
    </message>
    <message>
        <source>updating...</source>
        <translation>Wird aktualisiert...</translation>
    </message>
    <message>
        <source>Connecting to sensor...</source>
        <translation>Verbindung zum Sensor wird hergestellt...</translation>
    </message>
    <message>
        <source>The connected sensor does not match currently selected sensor, please try again with the proper sensor</source>
        <translation>Der angeschlossene Sensor passt nicht zum ausgewählten Sensor. Bitte versuchen Sie es mit dem richtigen Sensor erneut.</translation>
    </message>
    <message>
        <source>Sensor settings will be overwritten with the ones from PC</source>
        <translation>Die Einstellungen im Sensor werden mit den Einstellungen vom PC überschrieben.</translation>
    </message>
    <message>
        <source>Not written to the sensor</source>
        <translation>Nicht in den Sensor geschrieben</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>und %n weiterer</numerusform>
            <numerusform>und %n weitere</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Sensor</source>
        <translation>&amp;Sensor</translation>
    </message>
    <message>
        <source>&amp;Disconnect</source>
        <translation>&amp;Trennen</translation>
    </message>
    <message>
        <source>&amp;Connect...</source>
        <translation>&amp;Verbinden...</translation>
    </message>
    <message>
        <source>&amp;Read all parameters from the sensor</source>
        <translation>Alle Parameter vom Sensor &amp;lesen</translation>
    </message>
    <message>
        <source>&amp;Write all parameters to the sensor</source>
        <translation>Alle Parameter in den Sensor &amp;schreiben</translation>
    </message>
    <message>
        <source>No port to connect to: attach the IO-Link master to this computer.</source>
        <translation>Kein Anschluss zum Verbinden: Schließen Sie den IO-Link-Master an diesen Computer an.</translation>
    </message>
    <message>
        <source>Not connected: edits stay in the window.</source>
        <translation>Nicht verbunden: Änderungen bleiben im Fenster.</translation>
    </message>
    <message>
        <source>Mode: read</source>
        <translation>Modus: Lesen</translation>
    </message>
    <message>
        <source>Read mode: edits are not written, and a clicked row cannot be edited.</source>
        <translation>Lesemodus: Änderungen werden nicht geschrieben, eine angeklickte Zeile lässt sich nicht bearbeiten.</translation>
    </message>
    <message>
        <source>Mode: write</source>
        <translation>Modus: Schreiben</translation>
    </message>
    <message>
        <source>Write mode: each edit is written to the sensor.</source>
        <translation>Schreibmodus: Jede Änderung wird in den Sensor geschrieben.</translation>
    </message>
    <message>
        <source>Mode: window only</source>
        <translation>Modus: nur Fenster</translation>
    </message>
    <message>
        <source>Edits stay in the window and are not written to the sensor.</source>
        <translation>Änderungen bleiben im Fenster und werden nicht in den Sensor geschrieben.</translation>
    </message>
    <message>
        <source>Restore factory defaults</source>
        <translation>Werkseinstellungen wiederherstellen</translation>
    </message>
    <message>
        <source>All settings will be restored to factory defaults, continue ?</source>
        <translation>Alle Einstellungen werden auf die Werkseinstellungen zurückgesetzt. Fortfahren?</translation>
    </message>
    <message>
        <source>Port selection</source>
        <translation>Portauswahl</translation>
    </message>
    <message>
        <source>Disconnect the sensor on %1?</source>
        <translation>Die Verbindung zum Sensor an %1 trennen?</translation>
    </message>
    <message>
        <source>%1: %2 is not allowed and was not written. %3</source>
        <translation>%1: %2 ist nicht zulässig und wurde nicht geschrieben. %3</translation>
    </message>
    <message>
        <source>Use the sensor&apos;s value</source>
        <translation>Wert des Sensors verwenden</translation>
    </message>
    <message>
        <source>Discard all changes (%1)</source>
        <translation>Alle Änderungen verwerfen (%1)</translation>
    </message>
    <message>
        <source>Changes not written</source>
        <translation>Nicht geschriebene Änderungen</translation>
    </message>
    <message numerus="yes">
        <source>%n parameter(s) have changes that were not written to the sensor.</source>
        <translation>
            <numerusform>%n Parameter hat eine Änderung, die nicht in den Sensor geschrieben wurde.</numerusform>
            <numerusform>%n Parameter haben Änderungen, die nicht in den Sensor geschrieben wurden.</numerusform>
        </translation>
    </message>
    <message>
        <source>Save to the sensor</source>
        <translation>In den Sensor schreiben</translation>
    </message>
    <message>
        <source>Reconnect when the sensor comes back</source>
        <translation>Wieder verbinden, wenn der Sensor zurückkommt</translation>
    </message>
    <message>
        <source>Waiting for %1 to come back...</source>
        <translation>Warten, bis %1 wieder da ist...</translation>
    </message>
    <message numerus="yes">
        <source>Connected again to %1; %n edit(s) kept, not written</source>
        <translation>
            <numerusform>Wieder verbunden mit %1; %n Änderung behalten, nicht geschrieben</numerusform>
            <numerusform>Wieder verbunden mit %1; %n Änderungen behalten, nicht geschrieben</numerusform>
        </translation>
    </message>
    <message>
        <source>The window connects by itself when the port is back, reading the sensor; edits stay in the window. The sensor menu turns this off.</source>
        <translation>Das Fenster verbindet sich von selbst, wenn der Anschluss wieder da ist, und liest den Sensor; Änderungen bleiben im Fenster. Im Sensor-Menü lässt sich das abschalten.</translation>
    </message>
    <message>
        <source>Connected again to %1</source>
        <translation>Wieder verbunden mit %1</translation>
    </message>
    <message>
        <source>Write only what differs (faster)</source>
        <translation>Nur Abweichendes schreiben (schneller)</translation>
    </message>
    <message>
        <source>Written to the sensor: %1 parameters, each read back as written.</source>
        <translation>In den Sensor geschrieben: %1 Parameter, jeder so zurückgelesen, wie er geschrieben wurde.</translation>
    </message>
    <message>
        <source>Written to the sensor: %1 parameters; not written: %2; read back otherwise: %3 (marked in the tree).</source>
        <translation>In den Sensor geschrieben: %1 Parameter; nicht geschrieben: %2; anders zurückgelesen: %3 (im Baum markiert).</translation>
    </message>
    <message numerus="yes">
        <source>The sensor does not hold %n parameter(s) as written. They keep the values written in the window and are marked in the tree.</source>
        <translation>
            <numerusform>Der Sensor hält %n Parameter nicht so, wie er geschrieben wurde. Er behält im Fenster den geschriebenen Wert und ist im Baum markiert.</numerusform>
            <numerusform>Der Sensor hält %n Parameter nicht so, wie sie geschrieben wurden. Sie behalten im Fenster die geschriebenen Werte und sind im Baum markiert.</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>IO-Link Sensor Workbench</source>
        <translation>IO-Link-Sensor-Werkbank</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Echo plot, also without echo data</source>
        <translation>&amp;Echodiagramm, auch ohne Echodaten</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Compare with settings file...</source>
        <translation>Mit Einstellungsdatei &amp;vergleichen...</translation>
    </message>
    <message>
        <source>Print &amp;report...</source>
        <translation>&amp;Bericht drucken...</translation>
    </message>
    <message>
        <source>Live data paused: resume</source>
        <translation>Live-Daten angehalten: fortsetzen</translation>
    </message>
    <message>
        <source>Enable live data</source>
        <translation>Live-Daten einschalten</translation>
    </message>
    <message>
        <source>Live data paused</source>
        <translation>Live-Daten angehalten</translation>
    </message>
    <message>
        <source>Print report</source>
        <translation>Bericht drucken</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>PDF-Dateien (*.pdf)</translation>
    </message>
    <message>
        <source>Printing report...</source>
        <translation>Bericht drucken...</translation>
    </message>
    <message>
        <source>Report written to %1</source>
        <translation>Bericht in %1 geschrieben</translation>
    </message>
    <message>
        <source>Sensor</source>
        <translation>Sensor</translation>
    </message>
    <message>
        <source>Product name</source>
        <translation>Produktname</translation>
    </message>
    <message>
        <source>Variant</source>
        <translation>Variante</translation>
    </message>
    <message>
        <source>not read</source>
        <translation>nicht gelesen</translation>
    </message>
    <message>
        <source>Vendor</source>
        <translation>Hersteller</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Seriennummer</translation>
    </message>
    <message>
        <source>Firmware revision</source>
        <translation>Firmwarestand</translation>
    </message>
    <message>
        <source>Hardware revision</source>
        <translation>Hardwarestand</translation>
    </message>
    <message>
        <source>Application-specific tag</source>
        <translation>Anwendungsspezifische Kennung</translation>
    </message>
    <message>
        <source>Function tag</source>
        <translation>Funktionskennung</translation>
    </message>
    <message>
        <source>Location tag</source>
        <translation>Ortskennung</translation>
    </message>
    <message>
        <source>not connected</source>
        <translation>nicht verbunden</translation>
    </message>
    <message>
        <source>Writing cancelled: %1 of %2 parameters written; the rest were not written (where they differ from the sensor they stay marked in the tree).</source>
        <translation>Schreiben abgebrochen: %1 von %2 Parametern geschrieben; die übrigen wurden nicht geschrieben (wo sie vom Sensor abweichen, bleiben sie im Baum markiert).</translation>
    </message>
</context>
<context>
    <name>NimbarSensorPlugin::Core::SettingsCompareDialog</name>
    <message>
        <source>Take all</source>
        <translation>Alle übernehmen</translation>
    </message>
    <message>
        <source>Compare with settings file</source>
        <translation>Mit Einstellungsdatei vergleichen</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Sensor</source>
        <translation>Sensor</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Einheit</translation>
    </message>
    <message>
        <source>Take the file&apos;s value</source>
        <translation>Wert der Datei übernehmen</translation>
    </message>
    <message>
        <source>This sensor cannot take the file&apos;s value.</source>
        <translation>Dieser Sensor kann den Wert der Datei nicht annehmen.</translation>
    </message>
    <message>
        <source>The sensor window and the file hold the same values.</source>
        <translation>Sensorfenster und Datei enthalten dieselben Werte.</translation>
    </message>
    <message numerus="yes">
        <source>%n parameter(s) differ:</source>
        <translation>
            <numerusform>%n Parameter weicht ab:</numerusform>
            <numerusform>%n Parameter weichen ab:</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>NimbarSensorPlugin::Core::SettingsFileActions</name>
    <message>
        <source>Save As...</source>
        <translation>Speichern unter...</translation>
    </message>
    <message>
        <source>Saving settings...</source>
        <translation>Einstellungen speichern...</translation>
    </message>
    <message>
        <source>The settings could not be saved to %1: %2</source>
        <translation>Die Einstellungen konnten nicht in %1 gespeichert werden: %2</translation>
    </message>
    <message>
        <source>Settings saved to %1</source>
        <translation>Einstellungen in %1 gespeichert</translation>
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
        <source>The chart history in %1 could not be read; the chart keeps its own.</source>
        <translation>Der Diagrammverlauf in %1 ist nicht lesbar; das Diagramm behält seinen eigenen.</translation>
    </message>
    <message numerus="yes">
        <source>%n value(s) in the file cannot be taken by this sensor and are left out:</source>
        <translation>
            <numerusform>%n Wert der Datei kann dieser Sensor nicht annehmen; er wird ausgelassen:</numerusform>
            <numerusform>%n Werte der Datei kann dieser Sensor nicht annehmen; sie werden ausgelassen:</numerusform>
        </translation>
    </message>
    <message>
        <source>Apply the others</source>
        <translation>Die übrigen übernehmen</translation>
    </message>
    <message>
        <source>Compare with settings file</source>
        <translation>Mit Einstellungsdatei vergleichen</translation>
    </message>
    <message>
        <source>The settings file %1 holds no parameter values.</source>
        <translation>Die Einstellungsdatei %1 enthält keine Parameterwerte.</translation>
    </message>
</context>
<context>
    <name>NimbarSensorPlugin::Core::WriteSequence</name>
    <message>
        <source>Verifying %1 of %2</source>
        <translation>Prüfe %1 von %2</translation>
    </message>
    <message>
        <source>%1: sent %2, read back %3</source>
        <translation>%1: gesendet %2, zurückgelesen %3</translation>
    </message>
    <message>
        <source>Written as %1, but the sensor holds %2</source>
        <translation>Als %1 geschrieben, aber der Sensor hält %2</translation>
    </message>
    <message>
        <source>Wrote all %1 parameters in %2 s.</source>
        <translation>Alle %1 Parameter in %2 s geschrieben.</translation>
    </message>
    <message>
        <source>Wrote nothing: the sensor holds every value already (writing all %1 would have taken about %2 s).</source>
        <translation>Nichts geschrieben: der Sensor hält schon jeden Wert (alle %1 zu schreiben hätte etwa %2 s gedauert).</translation>
    </message>
    <message numerus="yes">
        <source>Wrote %n differing parameter(s) in %1 s; writing all %2 would have taken about %3 s.</source>
        <translation>
            <numerusform>%n abweichenden Parameter in %1 s geschrieben; alle %2 zu schreiben hätte etwa %3 s gedauert.</numerusform>
            <numerusform>%n abweichende Parameter in %1 s geschrieben; alle %2 zu schreiben hätte etwa %3 s gedauert.</numerusform>
        </translation>
    </message>
    <message>
        <source>Not written: the write stopped before this parameter</source>
        <translation>Nicht geschrieben: das Schreiben endete vor diesem Parameter</translation>
    </message>
</context>
<context>
    <name>Sensor</name>
    <message>
        <source>The port setting %1 is no whole number of milliseconds; 0 is used.</source>
        <translation>Die Anschlusseinstellung %1 ist keine ganze Zahl von Millisekunden; 0 wird verwendet.</translation>
    </message>
    <message>
        <source>The port setting %1 of %2 ms lies outside 0 to %3 ms; %4 ms is used.</source>
        <translation>Die Anschlusseinstellung %1 von %2 ms liegt außerhalb von 0 bis %3 ms; %4 ms werden verwendet.</translation>
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
        <source>Print chart view</source>
        <translation>Diagrammansicht drucken</translation>
    </message>
    <message>
        <source>Export chart view</source>
        <translation>Diagrammansicht exportieren</translation>
    </message>
    <message>
        <source>Output 1</source>
        <translation>Ausgang 1</translation>
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
    <message>
        <source>Restore the sensor&apos;s factory settings.</source>
        <translation>Werkseinstellungen des Sensors wiederherstellen.</translation>
    </message>
    <message>
        <source>Start or stop showing the sensor&apos;s distance and outputs live (Ctrl+L).</source>
        <translation>Live-Anzeige von Abstand und Schaltausgängen des Sensors starten oder beenden (Strg+L).</translation>
    </message>
    <message>
        <source>Clear the history of the distance chart.</source>
        <translation>Verlauf des Abstandsdiagramms löschen.</translation>
    </message>
    <message>
        <source>Print the chart as it is shown now.</source>
        <translation>Diagramm so drucken, wie es gerade angezeigt wird.</translation>
    </message>
    <message>
        <source>Export the chart&apos;s history to a text file.</source>
        <translation>Verlauf des Diagramms in eine Textdatei exportieren.</translation>
    </message>
    <message>
        <source>Read all parameters from the sensor into the tree (Ctrl+R).</source>
        <translation>Alle Parameter vom Sensor in den Baum lesen (Strg+R).</translation>
    </message>
    <message>
        <source>Write all parameters of the tree to the sensor (Ctrl+Shift+W). While this is on, each edit is written to the sensor.</source>
        <translation>Alle Parameter des Baums in den Sensor schreiben (Strg+Umschalt+W). Solange dies eingeschaltet ist, wird jede Änderung in den Sensor geschrieben.</translation>
    </message>
    <message>
        <source>Restore factory settings</source>
        <translation>Werkseinstellungen wiederherstellen</translation>
    </message>
</context>
<context>
    <name>TreeSettings</name>
    <message>
        <source>at most 32 bytes of text</source>
        <translation>höchstens 32 Byte Text</translation>
    </message>
    <message>
        <source>a choice from 0 to %1</source>
        <translation>eine Auswahl von 0 bis %1</translation>
    </message>
    <message>
        <source>0 or 1</source>
        <translation>0 oder 1</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>%1 to %2 %3</source>
        <translation>%1 bis %2 %3</translation>
    </message>
    <message>
        <source>%1: %2 (allowed: %3)</source>
        <translation>%1: %2 (zulässig: %3)</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>The selected settings are corupted</source>
        <translation>Die gewählten Einstellungen sind beschädigt</translation>
    </message>
    <message>
        <source>The selected settings are not for the current sensor</source>
        <translation>Die gewählten Einstellungen gehören nicht zu diesem Sensor</translation>
    </message>
    <message>
        <source>The settings file %1 holds no parameter values.</source>
        <translation>Die Einstellungsdatei %1 enthält keine Parameterwerte.</translation>
    </message>
    <message>
        <source>The settings file %1 holds values this sensor cannot take; nothing is written:</source>
        <translation>Die Einstellungsdatei %1 enthält Werte, die dieser Sensor nicht annehmen kann; es wird nichts geschrieben:</translation>
    </message>
    <message>
        <source>The settings file %1 sets no parameter of this sensor; nothing is written.</source>
        <translation>Die Einstellungsdatei %1 setzt keinen Parameter dieses Sensors; es wird nichts geschrieben.</translation>
    </message>
</context>
<context>
    <name>connectionSwitchingDialog</name>
    <message>
        <source>Connect to the sensor</source>
        <translation>Mit dem Sensor verbinden</translation>
    </message>
    <message>
        <source>The window and the sensor may hold different settings. Which settings should both have from now on?</source>
        <translation>Fenster und Sensor können verschiedene Einstellungen haben. Welche Einstellungen sollen ab jetzt für beide gelten?</translation>
    </message>
    <message>
        <source>PC -&gt; Sensor</source>
        <translation>PC -&gt; Sensor</translation>
    </message>
    <message>
        <source>Sensor settings will be overwritten with the ones from PC</source>
        <translation>Die Einstellungen des Sensors werden mit denen des PCs überschrieben</translation>
    </message>
    <message>
        <source>Write the settings shown in this window to the sensor. The sensor&apos;s own settings are overwritten.</source>
        <translation>Die Einstellungen dieses Fensters in den Sensor schreiben. Die Einstellungen des Sensors werden überschrieben.</translation>
    </message>
    <message>
        <source>Sensor -&gt; PC</source>
        <translation>Sensor -&gt; PC</translation>
    </message>
    <message>
        <source>PC settings will be overwritten with the ones from the Sensor</source>
        <translation>Die Einstellungen des PCs werden mit denen des Sensors überschrieben</translation>
    </message>
    <message>
        <source>Read the sensor&apos;s settings into this window. Nothing on the sensor changes.</source>
        <translation>Die Einstellungen des Sensors in dieses Fenster lesen. Am Sensor ändert sich nichts.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Do not connect to this port. Nothing changes.</source>
        <translation>Nicht mit diesem Anschluss verbinden. Nichts ändert sich.</translation>
    </message>
</context>
</TS>
