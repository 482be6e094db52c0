<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>BatchRun</name>
    <message>
        <source>Finished after %1 s, of which %2 s were pauses the sensor needs between exchanges.</source>
        <translation>Fertig nach %1 s, davon %2 s Pausen, die der Sensor zwischen den Austauschen braucht.</translation>
    </message>
    <message>
        <source>No sensor named &quot;%1&quot;; --list-sensors lists them.</source>
        <translation>Kein Sensor namens „%1“; --list-sensors zeigt alle.</translation>
    </message>
    <message>
        <source>The port %1 is not available.</source>
        <translation>Der Anschluss %1 ist nicht verfügbar.</translation>
    </message>
    <message>
        <source>Connecting to %1, reading the sensor&apos;s settings</source>
        <translation>Verbinden mit %1, die Einstellungen des Sensors werden gelesen</translation>
    </message>
    <message>
        <source>Not connected to a %1 on %2.</source>
        <translation>Keine Verbindung zu einem %1 an %2.</translation>
    </message>
    <message>
        <source>The sensor holds the settings of %1.</source>
        <translation>Der Sensor hat die Einstellungen aus %1.</translation>
    </message>
    <message numerus="yes">
        <source>%n parameter(s) differ from %1.</source>
        <translation>
            <numerusform>%n Parameter weicht von %1 ab.</numerusform>
            <numerusform>%n Parameter weichen von %1 ab.</numerusform>
        </translation>
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
        <source>The factory settings are restored.</source>
        <translation>Die Werkseinstellungen sind wiederhergestellt.</translation>
    </message>
    <message>
        <source>The live-data log %1 could not be started: %2</source>
        <translation>Das Live-Daten-Protokoll %1 konnte nicht begonnen werden: %2</translation>
    </message>
    <message numerus="yes">
        <source>Logging live data to %1 for %n second(s)</source>
        <translation>
            <numerusform>Live-Daten werden %n Sekunde lang in %1 protokolliert</numerusform>
            <numerusform>Live-Daten werden %n Sekunden lang in %1 protokolliert</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Report written to %1</source>
        <translation>Bericht in %1 geschrieben</translation>
    </message>
</context>
<context>
    <name>DocumentCheck</name>
    <message>
        <source>The description document %1, line %2: elements are nested more than %3 deep.</source>
        <translation>Beschreibungsdokument %1, Zeile %2: Elemente sind tiefer als %3 Ebenen verschachtelt.</translation>
    </message>
    <message>
        <source>The description document %1, line %2: an element text of %3 characters; a caption or value has at most %4.</source>
        <translation>Beschreibungsdokument %1, Zeile %2: ein Elementtext von %3 Zeichen; eine Beschriftung oder ein Wert hat höchstens %4.</translation>
    </message>
    <message>
        <source>The description document %1, line %2: %3</source>
        <translation>Beschreibungsdokument %1, Zeile %2: %3</translation>
    </message>
    <message>
        <source>The description document %1 is for &quot;%2&quot;, not for &quot;%3&quot;.</source>
        <translation>Das Beschreibungsdokument %1 ist für „%2“, nicht für „%3“.</translation>
    </message>
    <message>
        <source>The description document cannot be used: %1</source>
        <translation>Das Beschreibungsdokument ist nicht verwendbar: %1</translation>
    </message>
</context>
<context>
    <name>EventJournal</name>
    <message>
        <source>cannot move %1 aside to %2</source>
        <translation>%1 lässt sich nicht nach %2 verschieben</translation>
    </message>
</context>
<context>
    <name>ExtensionSystem::DeviceTransport</name>
    <message>
        <source>the device no longer exists</source>
        <translation>das Gerät existiert nicht mehr</translation>
    </message>
    <message>
        <source>the device is in use</source>
        <translation>das Gerät ist belegt</translation>
    </message>
    <message>
        <source>the device was closed</source>
        <translation>das Gerät wurde geschlossen</translation>
    </message>
    <message>
        <source>the device was removed</source>
        <translation>das Gerät wurde entfernt</translation>
    </message>
</context>
<context>
    <name>ExtensionSystem::PortBroker</name>
    <message>
        <source>Port %1 cannot be opened: no serial transport is available.</source>
        <translation>Der Anschluss %1 lässt sich nicht öffnen: keine serielle Übertragung verfügbar.</translation>
    </message>
    <message>
        <source>Port %1 cannot be opened: %2</source>
        <translation>Der Anschluss %1 lässt sich nicht öffnen: %2</translation>
    </message>
    <message>
        <source>The port %1 is in use by another sensor window. Disconnect it there first, or pick another port.</source>
        <translation>Der Anschluss %1 wird von einem anderen Sensorfenster belegt. Trennen Sie ihn dort zuerst oder wählen Sie einen anderen Anschluss.</translation>
    </message>
    <message>
        <source>The port %1 is in use by the window &quot;%2&quot;. Disconnect it there first, or pick another port.</source>
        <translation>Der Anschluss %1 wird vom Fenster „%2“ belegt. Trennen Sie ihn dort zuerst oder wählen Sie einen anderen Anschluss.</translation>
    </message>
</context>
<context>
    <name>ExtensionSystem::ProtocolTrace</name>
    <message>
        <source>Cannot write the protocol trace %1: %2</source>
        <translation>Das Protokoll %1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>ExtensionSystem::SerialTransport</name>
    <message>
        <source>it is in use by process %1</source>
        <translation>er wird von Prozess %1 benutzt</translation>
    </message>
    <message>
        <source>it is in use by another program</source>
        <translation>er wird von einem anderen Programm benutzt</translation>
    </message>
</context>
<context>
    <name>FileChecks</name>
    <message>
        <source>The file %1 cannot be read: %2</source>
        <translation>Die Datei %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 is not a regular file.</source>
        <translation>%1 ist keine gewöhnliche Datei.</translation>
    </message>
    <message>
        <source>The file %1 has %2 MB; at most %3 MB are read.</source>
        <translation>Die Datei %1 hat %2 MB; gelesen werden höchstens %3 MB.</translation>
    </message>
    <message>
        <source>The file %1 does not exist.</source>
        <translation>Die Datei %1 existiert nicht.</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>es ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>the folder %1 does not exist</source>
        <translation>der Ordner %1 existiert nicht</translation>
    </message>
    <message>
        <source>the folder %1 is not writable: %2</source>
        <translation>in den Ordner %1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>HelpDialogs</name>
    <message>
        <source>Using the IO-Link Sensor Workbench</source>
        <translation>Arbeiten mit der IO-Link-Sensor-Werkbank</translation>
    </message>
    <message>
        <source>The user guide is missing from this build.</source>
        <translation>Die Anleitung fehlt in diesem Build.</translation>
    </message>
    <message>
        <source>&lt;b&gt;IO-Link Sensor Workbench&lt;/b&gt; %1&lt;br&gt;&lt;br&gt;Plug-in: %2 %3&lt;br&gt;Sensor description document: %4</source>
        <translation>&lt;b&gt;IO-Link-Sensor-Werkbank&lt;/b&gt; %1&lt;br&gt;&lt;br&gt;Plug-in: %2 %3&lt;br&gt;Sensorbeschreibungsdokument: %4</translation>
    </message>
    <message>
        <source>About IO-Link Sensor Workbench</source>
        <translation>Über die IO-Link-Sensor-Werkbank</translation>
    </message>
</context>
<context>
    <name>Monitor::MqttPublisher</name>
    <message>
        <source>the MQTT client could not be created</source>
        <translation>der MQTT-Client ließ sich nicht anlegen</translation>
    </message>
</context>
<context>
    <name>MonitorRun</name>
    <message>
        <source>The broker %1 cannot be reached (%2); monitoring goes on, and the events wait until it is back.</source>
        <translation>Der Broker %1 ist nicht erreichbar (%2); die Überwachung läuft weiter, die Ereignisse warten, bis er wieder da ist.</translation>
    </message>
    <message>
        <source>The broker %1 is reachable again.</source>
        <translation>Der Broker %1 ist wieder erreichbar.</translation>
    </message>
    <message>
        <source>Cannot publish to %1: %2</source>
        <translation>Veröffentlichen an %1 nicht möglich: %2</translation>
    </message>
    <message numerus="yes">
        <source>Monitoring %n sensor(s), publishing to %1 as %2</source>
        <translation>
            <numerusform>%n Sensor wird überwacht, veröffentlicht an %1 als %2</numerusform>
            <numerusform>%n Sensoren werden überwacht, veröffentlicht an %1 als %2</numerusform>
        </translation>
    </message>
    <message>
        <source>No sensor named &quot;%1&quot;; --list-sensors lists them.</source>
        <translation>Kein Sensor namens „%1“; --list-sensors zeigt alle.</translation>
    </message>
    <message>
        <source>Connecting to %1 on %2, reading its settings</source>
        <translation>Verbinden mit %1 an %2, seine Einstellungen werden gelesen</translation>
    </message>
    <message>
        <source>Not connected to a %1 on %2; connecting when it appears.</source>
        <translation>Keine Verbindung zu einem %1 an %2; verbunden wird, sobald er erscheint.</translation>
    </message>
    <message>
        <source>The settings of %1 as read at the connect cannot be kept (%2); changes to them are not looked for.</source>
        <translation>Die beim Verbinden gelesenen Einstellungen von %1 lassen sich nicht aufbewahren (%2); auf Änderungen daran wird nicht geachtet.</translation>
    </message>
    <message>
        <source>%1 changed on the sensor: %2 -&gt; %3</source>
        <translation>%1 im Sensor geändert: %2 -&gt; %3</translation>
    </message>
    <message>
        <source>Stopping: closing the ports and sending what waits</source>
        <translation>Beenden: die Anschlüsse werden geschlossen, Wartendes wird gesendet</translation>
    </message>
    <message>
        <source>Monitoring stopped</source>
        <translation>Überwachung beendet</translation>
    </message>
</context>
<context>
    <name>PluginLibrary</name>
    <message>
        <source>Cannot load the sensor plug-in %1: %2</source>
        <translation>Das Sensor-Plug-in %1 lässt sich nicht laden: %2</translation>
    </message>
    <message>
        <source>%1 is not a sensor plug-in: it lacks %2</source>
        <translation>%1 ist kein Sensor-Plug-in: es fehlt %2</translation>
    </message>
</context>
<context>
    <name>SimulatedSensors</name>
    <message>
        <source>a simulated sensor needs a model id, as in UM035 or UM035/107</source>
        <translation>ein simulierter Sensor braucht eine Modellkennung, etwa UM035 oder UM035/107</translation>
    </message>
</context>
<context>
    <name>WorkbenchOptions</name>
    <message>
        <source>Print the plug-in&apos;s identity and its sensors, then exit.</source>
        <translation>Kennung und Sensoren des Plug-ins ausgeben, dann beenden.</translation>
    </message>
    <message>
        <source>Open the sensor named NAME at start.</source>
        <translation>Den Sensor NAME beim Start öffnen.</translation>
    </message>
    <message>
        <source>Start in presentation mode.</source>
        <translation>Im Präsentationsmodus starten.</translation>
    </message>
    <message>
        <source>Save a picture of the main window to FILE.</source>
        <translation>Ein Bild des Hauptfensters in FILE speichern.</translation>
    </message>
    <message>
        <source>Quit after MS milliseconds.</source>
        <translation>Nach MS Millisekunden beenden.</translation>
    </message>
    <message>
        <source>Folder that holds the sensor plug-in.</source>
        <translation>Ordner, der das Sensor-Plug-in enthält.</translation>
    </message>
    <message>
        <source>Unexpected argument: %1</source>
        <translation>Unerwartetes Argument: %1</translation>
    </message>
    <message>
        <source>--quit-after needs a number of milliseconds, not &quot;%1&quot;</source>
        <translation>--quit-after erwartet eine Anzahl Millisekunden, nicht &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Offer a simulated sensor of model ID (and variant CODE) on a port of its own; repeatable.</source>
        <translation>Einen simulierten Sensor des Modells ID (und der Variante CODE) an einem eigenen Anschluss anbieten; wiederholbar.</translation>
    </message>
    <message>
        <source>Offer the serial device PATH as a port; repeatable.</source>
        <translation>Das serielle Gerät PATH als Anschluss anbieten; wiederholbar.</translation>
    </message>
    <message>
        <source>Write every request and answer to FILE (default: the file named by IOLINK_TRACE).</source>
        <translation>Jede Anfrage und Antwort in FILE protokollieren (Vorgabe: die in IOLINK_TRACE genannte Datei).</translation>
    </message>
    <message>
        <source>Connect the sensor opened with --open to PORT, reading its settings.</source>
        <translation>Den mit --open geöffneten Sensor an PORT verbinden und seine Einstellungen lesen.</translation>
    </message>
    <message>
        <source>--connect needs a sensor to connect: give --open NAME as well</source>
        <translation>--connect braucht einen Sensor zum Verbinden: bitte auch --open NAME angeben</translation>
    </message>
    <message>
        <source>User interface language (en, de) for this run; by default the one last chosen in the program.</source>
        <translation>Sprache der Oberfläche (en, de) für diesen Start; ohne Angabe die zuletzt im Programm gewählte.</translation>
    </message>
    <message>
        <source>Size of the main window, as in 1280x800, instead of fitting it to the screen.</source>
        <translation>Größe des Hauptfensters, etwa 1280x800, statt es an den Bildschirm anzupassen.</translation>
    </message>
    <message>
        <source>--size needs a width and a height in pixels, as in 1280x800, not &quot;%1&quot;</source>
        <translation>--size erwartet Breite und Höhe in Pixeln, etwa 1280x800, nicht &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Batch: connect to the sensor on the --port, reading its settings, and save them to FILE.</source>
        <translation>Stapel: mit dem Sensor an --port verbinden, seine Einstellungen lesen und in FILE speichern.</translation>
    </message>
    <message>
        <source>Batch: print one line (caption, file value, sensor value, unit; separated by tabs) for every parameter of the sensor on the --port whose value differs from FILE.</source>
        <translation>Stapel: für jeden Parameter des Sensors an --port, dessen Wert von FILE abweicht, eine Zeile ausgeben (Bezeichnung, Wert in der Datei, Wert im Sensor, Einheit; durch Tabulatoren getrennt).</translation>
    </message>
    <message>
        <source>Batch: restore the factory settings of the sensor on the --port.</source>
        <translation>Stapel: die Werkseinstellungen des Sensors an --port wiederherstellen.</translation>
    </message>
    <message>
        <source>Batch: write live distance and switching states to the CSV file FILE, one line per answer.</source>
        <translation>Stapel: Live-Abstand und Schaltzustände in die CSV-Datei FILE schreiben, eine Zeile je Antwort.</translation>
    </message>
    <message>
        <source>Give one batch command at a time</source>
        <translation>Bitte nur einen Stapelbefehl auf einmal angeben</translation>
    </message>
    <message>
        <source>A batch command needs the sensor&apos;s name (--open NAME) and its port (one --port DEV)</source>
        <translation>Ein Stapelbefehl braucht den Namen des Sensors (--open NAME) und seinen Anschluss (ein --port DEV)</translation>
    </message>
    <message>
        <source>A batch command connects by itself: leave out --connect, --simulate and --screenshot</source>
        <translation>Ein Stapelbefehl verbindet selbst: bitte --connect, --simulate und --screenshot weglassen</translation>
    </message>
    <message>
        <source>--log and --duration go together</source>
        <translation>--log und --duration gehören zusammen</translation>
    </message>
    <message>
        <source>--%1 is given more than once; give it once</source>
        <translation>--%1 ist mehrfach angegeben; bitte nur einmal angeben</translation>
    </message>
    <message>
        <source>--port needs the path of a serial device, as in /dev/ttyUSB0</source>
        <translation>--port erwartet den Pfad eines seriellen Geräts, etwa /dev/ttyUSB0</translation>
    </message>
    <message>
        <source>--duration needs a whole number of seconds from 1 to %1 (30 days), not &quot;%2&quot;</source>
        <translation>--duration erwartet eine ganze Zahl von Sekunden von 1 bis %1 (30 Tage), nicht „%2“</translation>
    </message>
    <message>
        <source>How long --log or --monitor runs, in seconds: 1 to 2592000 (30 days); --monitor runs until stopped without it.</source>
        <translation>Wie lange --log oder --monitor läuft, in Sekunden: 1 bis 2592000 (30 Tage); ohne Angabe läuft --monitor bis zum Beenden.</translation>
    </message>
    <message>
        <source>Batch: connect to the sensor NAME on the serial device PORT, read its settings and publish its live data and events to the --mqtt broker until stopped (SIGINT, SIGTERM); repeatable.</source>
        <translation>Stapel: mit dem Sensor NAME am seriellen Gerät PORT verbinden, seine Einstellungen lesen und seine Live-Daten und Ereignisse bis zum Beenden (SIGINT, SIGTERM) an den Broker von --mqtt veröffentlichen; wiederholbar.</translation>
    </message>
    <message>
        <source>The MQTT broker --monitor publishes to (port 1883 if none).</source>
        <translation>Der MQTT-Broker, an den --monitor veröffentlicht (ohne Angabe Port 1883).</translation>
    </message>
    <message>
        <source>The first level of every topic --monitor publishes; by default the host name.</source>
        <translation>Die erste Ebene jedes Topics, das --monitor veröffentlicht; ohne Angabe der Rechnername.</translation>
    </message>
    <message>
        <source>User name at the broker; the password is read from IOLINK_MQTT_PASSWORD.</source>
        <translation>Benutzername beim Broker; das Passwort wird aus IOLINK_MQTT_PASSWORD gelesen.</translation>
    </message>
    <message>
        <source>Connect to the broker over TLS, checking it against the CA in FILE.</source>
        <translation>Über TLS mit dem Broker verbinden und ihn gegen die Zertifizierungsstelle in FILE prüfen.</translation>
    </message>
    <message>
        <source>--monitor reads every sensor&apos;s settings every MIN minutes and reports what changed since the connect (default 10; 0 never).</source>
        <translation>--monitor liest alle MIN Minuten die Einstellungen jedes Sensors und meldet, was sich seit dem Verbinden geändert hat (Vorgabe 10; 0 nie).</translation>
    </message>
    <message>
        <source>Append every sensor window&apos;s events to FILE, one JSON object a line (default: iolink-workbench/journal.jsonl in the user&apos;s state folder).</source>
        <translation>Die Ereignisse jedes Sensorfensters an FILE anhängen, ein JSON-Objekt je Zeile (Vorgabe: iolink-workbench/journal.jsonl im Zustandsordner des Benutzers).</translation>
    </message>
    <message>
        <source>--monitor names its ports and sensors itself: leave out --open, --port, --connect, --simulate and --screenshot</source>
        <translation>--monitor nennt seine Anschlüsse und Sensoren selbst: bitte --open, --port, --connect, --simulate und --screenshot weglassen</translation>
    </message>
    <message>
        <source>--monitor needs a serial device and a sensor name, as in /dev/ttyUSB0=RT5-350-M18, not &quot;%1&quot;</source>
        <translation>--monitor erwartet ein serielles Gerät und einen Sensornamen, etwa /dev/ttyUSB0=RT5-350-M18, nicht „%1“</translation>
    </message>
    <message>
        <source>Two --monitor sensors would publish as %1: give each its own port</source>
        <translation>Zwei Sensoren von --monitor würden als %1 veröffentlichen: bitte jedem einen eigenen Anschluss geben</translation>
    </message>
    <message>
        <source>--monitor needs the broker to publish to: give --mqtt HOST[:PORT]</source>
        <translation>--monitor braucht den Broker, an den veröffentlicht wird: bitte --mqtt HOST[:PORT] angeben</translation>
    </message>
    <message>
        <source>--mqtt needs a host and an optional port from 1 to 65535, as in broker.local:1883, not &quot;%1&quot;</source>
        <translation>--mqtt erwartet einen Rechner und wahlweise einen Port von 1 bis 65535, etwa broker.local:1883, nicht „%1“</translation>
    </message>
    <message>
        <source>--originator is one topic level: no &quot;/&quot;, &quot;+&quot; or &quot;#&quot; in &quot;%1&quot;</source>
        <translation>--originator ist eine Topic-Ebene: kein „/“, „+“ oder „#“ in „%1“</translation>
    </message>
    <message>
        <source>--verify-every needs a whole number of minutes from 0 to 1440, not &quot;%1&quot;</source>
        <translation>--verify-every erwartet eine ganze Zahl von Minuten von 0 bis 1440, nicht „%1“</translation>
    </message>
    <message>
        <source>--mqtt, --originator, --mqtt-user, --mqtt-cafile and --verify-every go with --monitor</source>
        <translation>--mqtt, --originator, --mqtt-user, --mqtt-cafile und --verify-every gehören zu --monitor</translation>
    </message>
    <message>
        <source>--duration goes with --log or --monitor</source>
        <translation>--duration gehört zu --log oder --monitor</translation>
    </message>
    <message>
        <source>Batch: write the settings in FILE to the sensor on the --port where they differ from what it holds, and read back what was written.</source>
        <translation>Stapel: schreibt die Einstellungen aus DATEI in den Sensor am --port, wo sie von seinen abweichen, und liest das Geschriebene zurück.</translation>
    </message>
    <message>
        <source>With --write-settings: write every parameter of FILE, and read every one back.</source>
        <translation>Mit --write-settings: schreibt jeden Parameter aus DATEI und liest jeden zurück.</translation>
    </message>
    <message>
        <source>--write-all goes with --write-settings</source>
        <translation>--write-all gehört zu --write-settings</translation>
    </message>
    <message>
        <source>Configures, monitors and teaches IO-Link ultrasonic distance sensors.

Batch commands (--read-settings, --write-settings, --compare, --factory-reset, --log, --report) need --port DEV and --open NAME, run without a display and answer every question themselves; --monitor names its ports and sensors itself. Exit status: 0 done (and equal, for --compare and --write-settings), 1 differences found, 2 sensor or port problem, 3 file problem, 64 bad command line.</source>
        <translation>Konfiguriert, überwacht und lernt IO-Link-Ultraschall-Abstandssensoren ein.

Stapelbefehle (--read-settings, --write-settings, --compare, --factory-reset, --log, --report) brauchen --port DEV und --open NAME, laufen ohne Bildschirm und beantworten jede Frage selbst; --monitor nennt seine Anschlüsse und Sensoren selbst. Rückgabewert: 0 fertig (und gleich, bei --compare und --write-settings), 1 Abweichungen gefunden, 2 Problem mit Sensor oder Anschluss, 3 Dateiproblem, 64 falsche Befehlszeile.</translation>
    </message>
    <message>
        <source>Batch: connect to the sensor on the --port, reading its settings, and write its commissioning report (identity, every parameter, the distance chart) to the PDF file FILE.</source>
        <translation>Stapel: mit dem Sensor an --port verbinden, seine Einstellungen lesen und seinen Inbetriebnahmebericht (Kennung, jeder Parameter, das Abstandsdiagramm) in die PDF-Datei FILE schreiben.</translation>
    </message>
</context>
<context>
    <name>WorkbenchWindow</name>
    <message>
        <source>Port not available</source>
        <translation>Anschluss nicht verfügbar</translation>
    </message>
    <message>
        <source>IO-Link Sensor Workbench</source>
        <translation>IO-Link-Sensor-Werkbank</translation>
    </message>
    <message>
        <source>Sensors</source>
        <translation>Sensoren</translation>
    </message>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt; %2&lt;br&gt;%3&lt;br&gt;Communication: %4</source>
        <translation>&lt;b&gt;%1&lt;/b&gt; %2&lt;br&gt;%3&lt;br&gt;Kommunikation: %4</translation>
    </message>
    <message>
        <source>Sensor</source>
        <translation>Sensor</translation>
    </message>
    <message>
        <source>Id</source>
        <translation>Kennung</translation>
    </message>
    <message>
        <source>The plug-in lists no sensors: its description document is missing or not for this plug-in.</source>
        <translation>Das Plug-in nennt keine Sensoren: seine Beschreibungsdatei fehlt oder gehört nicht zu diesem Plug-in.</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Open sensor</source>
        <translation>Sensor ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Open &amp;settings...</source>
        <translation>&amp;Einstellungen öffnen...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Presentation mode</source>
        <translation>&amp;Präsentationsmodus</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>&amp;Fenster</translation>
    </message>
    <message>
        <source>&amp;Tile</source>
        <translation>&amp;Nebeneinander</translation>
    </message>
    <message>
        <source>&amp;Cascade</source>
        <translation>Ü&amp;berlappend</translation>
    </message>
    <message>
        <source>Close &amp;all</source>
        <translation>&amp;Alle schließen</translation>
    </message>
    <message>
        <source>The plug-in lists no sensor named &quot;%1&quot;.</source>
        <translation>Das Plug-in kennt keinen Sensor namens &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>The plug-in could not open %1.</source>
        <translation>Das Plug-in konnte %1 nicht öffnen.</translation>
    </message>
    <message>
        <source>Open a sensor first: settings belong to a sensor window.</source>
        <translation>Zuerst einen Sensor öffnen: Einstellungen gehören zu einem Sensorfenster.</translation>
    </message>
    <message>
        <source>Open Settings</source>
        <translation>Einstellungen öffnen</translation>
    </message>
    <message>
        <source>Sensor Settings (*.kvs)</source>
        <translation>Sensoreinstellungen (*.kvs)</translation>
    </message>
    <message>
        <source>&amp;Sensors list</source>
        <translation>Sensor&amp;liste</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Sprache</translation>
    </message>
    <message>
        <source>&amp;Reset layout</source>
        <translation>Layout &amp;zurücksetzen</translation>
    </message>
    <message>
        <source>The plug-in lists no sensors.</source>
        <translation>Das Plug-in nennt keine Sensoren.</translation>
    </message>
    <message numerus="yes">
        <source>%n sensor(s) available. Double-click one to open it, or press Enter on the selected one.</source>
        <translation>
            <numerusform>%n Sensor verfügbar. Zum Öffnen doppelklicken oder mit der Eingabetaste öffnen.</numerusform>
            <numerusform>%n Sensoren verfügbar. Zum Öffnen einen doppelklicken oder den ausgewählten mit der Eingabetaste öffnen.</numerusform>
        </translation>
    </message>
    <message>
        <source>The window has its default size and layout again.</source>
        <translation>Das Fenster hat wieder seine Standardgröße und sein Standardlayout.</translation>
    </message>
    <message>
        <source>Language: %1</source>
        <translation>Sprache: %1</translation>
    </message>
    <message>
        <source>There is no translation for &quot;%1&quot;; the texts stay English.</source>
        <translation>Für „%1“ gibt es keine Übersetzung; die Texte bleiben englisch.</translation>
    </message>
    <message>
        <source>Connect by choosing a port where the sensor window shows &quot;Offline&quot;. View &gt; Sensors list brings the list back.</source>
        <translation>Verbinden Sie, indem Sie im Sensorfenster statt „Offline“ einen Anschluss wählen. Ansicht &gt; Sensorliste zeigt die Liste wieder.</translation>
    </message>
    <message>
        <source>The plug-in lists no sensors. %1</source>
        <translation>Das Plug-in listet keine Sensoren. %1</translation>
    </message>
    <message>
        <source>The event journal %1 cannot be written: %2</source>
        <translation>Das Ereignisjournal %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>none found</source>
        <translation>keines gefunden</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Using the workbench</source>
        <translation>&amp;Arbeiten mit der Werkbank</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>%1 is open already: its window is in front.</source>
        <translation>%1 ist schon geöffnet: sein Fenster ist nun vorn.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>The workbench window needs a display, and none is set (DISPLAY). Batch commands, --list-sensors and --help run without one; QT_QPA_PLATFORM=offscreen draws the window without a screen.</source>
        <translation>Das Fenster der Werkbank braucht eine Anzeige, und keine ist gesetzt (DISPLAY). Stapelbefehle, --list-sensors und --help laufen ohne; QT_QPA_PLATFORM=offscreen zeichnet das Fenster ohne Bildschirm.</translation>
    </message>
    <message>
        <source>cannot write the protocol trace %1: %2</source>
        <translation>das Protokoll %1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
</TS>
