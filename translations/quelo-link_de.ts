<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ConfigFile</name>
    <message>
        <source>&quot;format&quot;: not a configuration file (expected &quot;%1&quot;)</source>
        <translation>&quot;format&quot;: keine Konfigurationsdatei (erwartet &quot;%1&quot;)</translation>
    </message>
    <message>
        <source>&quot;version&quot;: unknown version %1 (this program reads version %2)</source>
        <translation>&quot;version&quot;: unbekannte Version %1 (dieses Programm liest Version %2)</translation>
    </message>
    <message>
        <source>&quot;parameters&quot;: missing or not an object</source>
        <translation>&quot;parameters&quot;: fehlt oder ist kein Objekt</translation>
    </message>
    <message>
        <source>%1: missing from &quot;parameters&quot;</source>
        <translation>%1: fehlt in &quot;parameters&quot;</translation>
    </message>
    <message>
        <source>the value</source>
        <translation>der Wert</translation>
    </message>
    <message>
        <source>%1: %2 is not an integer</source>
        <translation>%1: %2 ist keine ganze Zahl</translation>
    </message>
    <message>
        <source>%1: %2 is outside %3..%4</source>
        <translation>%1: %2 liegt außerhalb von %3..%4</translation>
    </message>
    <message>
        <source>%1: unknown key in &quot;parameters&quot;</source>
        <translation>%1: unbekannter Schlüssel in &quot;parameters&quot;</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>not a JSON file: %1 at offset %2</source>
        <translation>keine JSON-Datei: %1 an Stelle %2</translation>
    </message>
    <message>
        <source>not a configuration file: the top level is not an object</source>
        <translation>keine Konfigurationsdatei: die oberste Ebene ist kein Objekt</translation>
    </message>
    <message>
        <source>%1: duplicate key</source>
        <translation>%1: Schlüssel doppelt vorhanden</translation>
    </message>
    <message>
        <source>cannot read it: %1</source>
        <translation>nicht lesbar: %1</translation>
    </message>
</context>
<context>
    <name>FileAccess</name>
    <message>
        <source>not a regular file (a device, a pipe or a folder)</source>
        <translation>keine normale Datei (ein Gerät, eine Pipe oder ein Ordner)</translation>
    </message>
    <message>
        <source>nothing could be written</source>
        <translation>es konnte nichts geschrieben werden</translation>
    </message>
    <message>
        <source>larger than %1 bytes, too large for this kind of file</source>
        <translation>größer als %1 Bytes, zu groß für diese Art von Datei</translation>
    </message>
    <message>
        <source>no file name</source>
        <translation>kein Dateiname</translation>
    </message>
    <message>
        <source>a link to a file that does not exist</source>
        <translation>ein Verweis auf eine Datei, die es nicht gibt</translation>
    </message>
    <message>
        <source>the folder %1 does not exist</source>
        <translation>den Ordner %1 gibt es nicht</translation>
    </message>
    <message>
        <source>the folder %1 cannot be written (%2)</source>
        <translation>in den Ordner %1 kann nicht geschrieben werden (%2)</translation>
    </message>
    <message>
        <source>no free name for a temporary file</source>
        <translation>kein freier Name für eine temporäre Datei</translation>
    </message>
    <message>
        <source>it was replaced (by a link or another file) after it was checked; nothing was written</source>
        <translation>sie wurde nach der Prüfung ersetzt (durch einen Verweis oder eine andere Datei); es wurde nichts geschrieben</translation>
    </message>
    <message>
        <source>the file was not opened</source>
        <translation>die Datei wurde nicht geöffnet</translation>
    </message>
    <message>
        <source>the file is not open</source>
        <translation>die Datei ist nicht geöffnet</translation>
    </message>
    <message>
        <source>it is not being read (%1 KiB waiting)</source>
        <translation>sie wird nicht gelesen (%1 KiB warten)</translation>
    </message>
    <message>
        <source>; the file could not be cut back to its last whole line (%1)</source>
        <translation>; die Datei konnte nicht auf ihre letzte vollständige Zeile gekürzt werden (%1)</translation>
    </message>
</context>
<context>
    <name>HistoryFolder</name>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>&quot;sequence&quot;: not a whole number from 0 to %1</source>
        <translation>&quot;sequence&quot;: keine ganze Zahl von 0 bis %1</translation>
    </message>
    <message>
        <source>&quot;firmware&quot;: not a firmware version</source>
        <translation>&quot;firmware&quot;: keine Firmware-Version</translation>
    </message>
    <message>
        <source>&quot;event&quot;: not a restore point</source>
        <translation>&quot;event&quot;: kein Wiederherstellungspunkt</translation>
    </message>
    <message>
        <source>&quot;saved&quot;: not a time</source>
        <translation>&quot;saved&quot;: keine Zeitangabe</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 ist kein Ordner</translation>
    </message>
    <message>
        <source>the folder %1 cannot be read</source>
        <translation>der Ordner %1 kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>cannot create the folder %1</source>
        <translation>der Ordner %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>the restore point %1 was removed at once: only %2 are kept</source>
        <translation>der Wiederherstellungspunkt %1 wurde sofort entfernt: es werden nur %2 aufbewahrt</translation>
    </message>
</context>
<context>
    <name>HistoryStore</name>
    <message>
        <source>History is off: %1</source>
        <translation>Der Verlauf ist aus: %1</translation>
    </message>
    <message>
        <source>History did not keep a restore point: %1</source>
        <translation>Der Verlauf hat keinen Wiederherstellungspunkt behalten: %1</translation>
    </message>
</context>
<context>
    <name>ModelText</name>
    <message>
        <source>Link lost on Comm Port %1; searching until the module answers. %2</source>
        <translation>Verbindung auf Comm Port %1 verloren; es wird gesucht, bis das Modul antwortet. %2</translation>
    </message>
    <message>
        <source>Link lost on Comm Port %1; searching once (RESET searches again). %2</source>
        <translation>Verbindung auf Comm Port %1 verloren; es wird einmal gesucht (RESET sucht erneut). %2</translation>
    </message>
    <message>
        <source>Connected again on Comm Port %1</source>
        <translation>Wieder verbunden auf Comm Port %1</translation>
    </message>
    <message>
        <source>The module is not connected: nothing was stored</source>
        <translation>Das Modul ist nicht verbunden: es wurde nichts gespeichert</translation>
    </message>
    <message>
        <source>%1 was not changed: no module is connected and answering, or it has not reported the value yet</source>
        <translation>%1 wurde nicht geändert: kein Modul ist verbunden und antwortet, oder es hat den Wert noch nicht gemeldet</translation>
    </message>
    <message>
        <source>Store waiting for the module to report every value</source>
        <translation>Speichern wartet, bis das Modul jeden Wert gemeldet hat</translation>
    </message>
    <message>
        <source>Store waiting for %1 to be confirmed</source>
        <translation>Speichern wartet auf die Bestätigung von %1</translation>
    </message>
    <message>
        <source>%1. The store was not sent: %2</source>
        <translation>%1. Der Speicherbefehl wurde nicht gesendet: %2</translation>
    </message>
    <message>
        <source>The store was not sent: %1</source>
        <translation>Der Speicherbefehl wurde nicht gesendet: %1</translation>
    </message>
    <message>
        <source>Not confirmed before %1, and not sent again: %2</source>
        <translation>Nicht bestätigt (%1) und nicht erneut gesendet: %2</translation>
    </message>
    <message>
        <source>the link was lost</source>
        <translation>Verbindung verloren</translation>
    </message>
    <message>
        <source>the module fell silent</source>
        <translation>Modul verstummt</translation>
    </message>
    <message>
        <source>The module kept %1 at %2 (asked %3)</source>
        <translation>Das Modul hat %1 auf %2 belassen (verlangt: %3)</translation>
    </message>
    <message>
        <source>The module did not confirm %1 %2</source>
        <translation>Das Modul hat %1 %2 nicht bestätigt</translation>
    </message>
    <message>
        <source>connected on Comm Port %1</source>
        <translation>verbunden auf Comm Port %1</translation>
    </message>
    <message>
        <source>the file was %1; nothing written</source>
        <translation>die Datei wurde %1; nichts geschrieben</translation>
    </message>
    <message>
        <source>saved from firmware %1; the connected module has firmware %2</source>
        <translation>von Firmware %1 gespeichert; das verbundene Modul hat Firmware %2</translation>
    </message>
    <message>
        <source>(not named in the file)</source>
        <translation>(in der Datei nicht genannt)</translation>
    </message>
    <message>
        <source>interrupted; nothing written</source>
        <translation>abgebrochen; nichts geschrieben</translation>
    </message>
    <message>
        <source>interrupted: waiting for the echo of the store already sent</source>
        <translation>abgebrochen: es wird auf das Echo des schon gesendeten Speicherbefehls gewartet</translation>
    </message>
    <message>
        <source>interrupted: the module did not echo the store; the file&apos;s values are live in the module, and whether it stored them is not known</source>
        <translation>abgebrochen: das Modul hat den Speicherbefehl nicht bestätigt; die Werte der Datei sind im Modul aktiv, ob es sie gespeichert hat, ist nicht bekannt</translation>
    </message>
    <message>
        <source>timed out: the module did not echo the store; the file&apos;s values are live in the module, and whether it stored them is not known</source>
        <translation>Zeit abgelaufen: das Modul hat den Speicherbefehl nicht bestätigt; die Werte der Datei sind im Modul aktiv, ob es sie gespeichert hat, ist nicht bekannt</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>abgebrochen</translation>
    </message>
    <message>
        <source>%1 of %2 parameters reported</source>
        <translation>%1 von %2 Parametern gemeldet</translation>
    </message>
    <message>
        <source>the module already holds every value</source>
        <translation>das Modul hat schon jeden Wert</translation>
    </message>
    <message>
        <source>writing %1 of %2 parameters</source>
        <translation>%1 von %2 Parametern werden geschrieben</translation>
    </message>
    <message>
        <source>putting back %1 of %2 parameters</source>
        <translation>%1 von %2 Parametern werden zurückgesetzt</translation>
    </message>
    <message>
        <source>the module did not take every value: %1</source>
        <translation>das Modul hat nicht jeden Wert übernommen: %1</translation>
    </message>
    <message>
        <source>all %1 parameters confirmed</source>
        <translation>alle %1 Parameter bestätigt</translation>
    </message>
    <message>
        <source>the module echoed the store, but it does not hold every value written: %1</source>
        <translation>das Modul hat das Speichern bestätigt, hat aber nicht jeden geschriebenen Wert: %1</translation>
    </message>
    <message>
        <source>stored</source>
        <translation>gespeichert</translation>
    </message>
    <message>
        <source>the link to the module was lost; nothing written</source>
        <translation>die Verbindung zum Modul ging verloren; nichts geschrieben</translation>
    </message>
    <message>
        <source>the link to the module was lost while writing: the module may hold some of the file&apos;s values, and they are not stored</source>
        <translation>die Verbindung zum Modul ging beim Schreiben verloren: das Modul hat vielleicht einige Werte der Datei, und sie sind nicht gespeichert</translation>
    </message>
    <message>
        <source>live in the module but not stored: %1</source>
        <translation>im Modul aktiv, aber nicht gespeichert: %1</translation>
    </message>
    <message>
        <source>timed out: no module connected</source>
        <translation>Zeit abgelaufen: kein Modul verbunden</translation>
    </message>
    <message>
        <source>timed out: not yet reported: %1</source>
        <translation>Zeit abgelaufen: noch nicht gemeldet: %1</translation>
    </message>
    <message>
        <source>timed out: not yet confirmed: %1</source>
        <translation>Zeit abgelaufen: noch nicht bestätigt: %1</translation>
    </message>
    <message>
        <source>firmware version</source>
        <translation>Firmware-Version</translation>
    </message>
    <message>
        <source>%1; interrupted again while putting back: %2</source>
        <translation>%1; beim Zurücksetzen erneut abgebrochen: %2</translation>
    </message>
    <message>
        <source>%1; putting back failed: %2</source>
        <translation>%1; Zurücksetzen fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>%1; putting back timed out: %2</source>
        <translation>%1; Zeit beim Zurücksetzen abgelaufen: %2</translation>
    </message>
    <message>
        <source>%1; nothing was changed; nothing stored</source>
        <translation>%1; nichts wurde geändert; nichts gespeichert</translation>
    </message>
    <message>
        <source>%1; put back %2; nothing stored</source>
        <translation>%1; zurückgesetzt: %2; nichts gespeichert</translation>
    </message>
    <message>
        <source>%1 unconfirmed (file&apos;s value %2, earlier value %3)</source>
        <translation>%1 unbestätigt (Wert der Datei %2, vorheriger Wert %3)</translation>
    </message>
    <message>
        <source>%1 asked %2, kept %3</source>
        <translation>%1 verlangt %2, belassen %3</translation>
    </message>
    <message>
        <source>%1 (was %2)</source>
        <translation>%1 (vorher %2)</translation>
    </message>
    <message>
        <source>%1 (asked %2)</source>
        <translation>%1 (verlangt %2)</translation>
    </message>
    <message>
        <source>%1 (the module reports &quot;%2&quot;, outside the slider&apos;s range)</source>
        <translation>%1 (das Modul meldet &quot;%2&quot;, außerhalb des Schieberbereichs)</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>a row longer than %1 characters</source>
        <translation>eine Zeile länger als %1 Zeichen</translation>
    </message>
    <message>
        <source>a quoted field not closed within %1 characters: %2</source>
        <translation>ein Feld in Anführungszeichen, das innerhalb von %1 Zeichen nicht geschlossen wird: %2</translation>
    </message>
    <message>
        <source>a field longer than %1 characters: %2</source>
        <translation>ein Feld länger als %1 Zeichen: %2</translation>
    </message>
    <message>
        <source>not a recording: the header should read %1</source>
        <translation>keine Aufzeichnung: die Kopfzeile sollte lauten: %1</translation>
    </message>
    <message>
        <source>expected %1 fields, found %2</source>
        <translation>%1 Felder erwartet, %2 gefunden</translation>
    </message>
    <message>
        <source>a quoted field is not closed</source>
        <translation>ein Feld in Anführungszeichen ist nicht geschlossen</translation>
    </message>
    <message>
        <source>%1 in column %2 is beyond +-1000000, which no recorded quantity reaches</source>
        <translation>%1 in Spalte %2 liegt jenseits von +-1000000, das erreicht keine aufgezeichnete Größe</translation>
    </message>
    <message>
        <source>%1 in column %2 is not a number</source>
        <translation>%1 in Spalte %2 ist keine Zahl</translation>
    </message>
    <message>
        <source>%1 in column time is not a time</source>
        <translation>%1 in Spalte time ist keine Zeitangabe</translation>
    </message>
    <message>
        <source>seven</source>
        <translation>sieben</translation>
    </message>
    <message>
        <source>eight</source>
        <translation>acht</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <source>opened; the module did not answer</source>
        <translation>geöffnet; das Modul hat nicht geantwortet</translation>
    </message>
    <message>
        <source>%1: no such device</source>
        <translation>%1: kein solches Gerät</translation>
    </message>
    <message>
        <source>%1: in use by another program (process %2). Close that program, or choose another port</source>
        <translation>%1: von einem anderen Programm belegt (Prozess %2). Dieses Programm schließen oder einen anderen Port wählen</translation>
    </message>
    <message>
        <source>%1: in use by another program. Close that program, or choose another port</source>
        <translation>%1: von einem anderen Programm belegt. Dieses Programm schließen oder einen anderen Port wählen</translation>
    </message>
    <message>
        <source>%1: permission denied. To get access, join the group that owns it: sudo usermod -aG %2 $USER, then log out and in again</source>
        <translation>%1: Zugriff verweigert. Für den Zugriff der Gruppe beitreten, der das Gerät gehört: sudo usermod -aG %2 $USER, dann ab- und wieder anmelden</translation>
    </message>
    <message>
        <source>%1: permission denied (the device&apos;s permissions do not let you read and write it)</source>
        <translation>%1: Zugriff verweigert (die Rechte des Geräts erlauben kein Lesen und Schreiben)</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>standard output</source>
        <translation>Standardausgabe</translation>
    </message>
    <message>
        <source>Cannot open %1: %2.</source>
        <translation>%1 kann nicht geöffnet werden: %2.</translation>
    </message>
    <message>
        <source>Cannot read %1: %2.</source>
        <translation>%1 kann nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>(not given)</source>
        <translation>(nicht angegeben)</translation>
    </message>
    <message>
        <source>was %1</source>
        <translation>vorher %1</translation>
    </message>
    <message>
        <source>Not confirmed: the module did not report this value back after it was written. It is read again until it does.</source>
        <translation>Nicht bestätigt: das Modul hat diesen Wert nach dem Schreiben nicht zurückgemeldet. Er wird wieder gelesen, bis es das tut.</translation>
    </message>
    <message>
        <source>Sent to the printer %1.</source>
        <translation>An den Drucker %1 gesendet.</translation>
    </message>
    <message>
        <source>The printer %1 did not accept the page.</source>
        <translation>Der Drucker %1 hat die Seite nicht angenommen.</translation>
    </message>
    <message>
        <source>No printer, and the folder %1 could not be created.</source>
        <translation>Kein Drucker, und der Ordner %1 konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>No printer, and %1 could not be written.</source>
        <translation>Kein Drucker, und %1 konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>No printer found. The page was saved as %1</source>
        <translation>Kein Drucker gefunden. Die Seite wurde als %1 gespeichert</translation>
    </message>
    <message>
        <source>Quelo configuration (*.json);;All files (*)</source>
        <translation>Quelo-Konfiguration (*.json);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Firmware Version</source>
        <translation>Firmware-Version</translation>
    </message>
</context>
<context>
    <name>TrendsWindow</name>
    <message>
        <source>Engine speed</source>
        <translation>Drehzahl</translation>
    </message>
    <message>
        <source>Engine speed (rpm)</source>
        <translation>Drehzahl (1/min)</translation>
    </message>
    <message>
        <source>%1 rpm</source>
        <translation>%1 1/min</translation>
    </message>
    <message>
        <source>Advance</source>
        <translation>Vorzündung</translation>
    </message>
    <message>
        <source>Advance (degrees)</source>
        <translation>Vorzündung (Grad)</translation>
    </message>
    <message>
        <source>%1° advance</source>
        <translation>%1° vor OT</translation>
    </message>
    <message>
        <source>Bus voltage</source>
        <translation>Bordspannung</translation>
    </message>
    <message>
        <source>Bus voltage (V)</source>
        <translation>Bordspannung (V)</translation>
    </message>
    <message>
        <source>%1 V</source>
        <translation>%1 V</translation>
    </message>
</context>
<context>
    <name>quelo::AppMenus</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Save configuration…</source>
        <translation>Konfiguration &amp;speichern…</translation>
    </message>
    <message>
        <source>&amp;Load configuration…</source>
        <translation>Konfiguration &amp;laden…</translation>
    </message>
    <message>
        <source>&amp;Record run…</source>
        <translation>Lauf &amp;aufzeichnen…</translation>
    </message>
    <message>
        <source>&amp;Mark</source>
        <translation>&amp;Markieren</translation>
    </message>
    <message>
        <source>Mark this moment in the recording</source>
        <translation>Diesen Zeitpunkt in der Aufzeichnung markieren</translation>
    </message>
    <message>
        <source>&amp;Open recording…</source>
        <translation>Aufzeichnung ö&amp;ffnen…</translation>
    </message>
    <message>
        <source>Repla&amp;y recording…</source>
        <translation>Aufzeichnung &amp;wiedergeben…</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>Reconnect &amp;automatically</source>
        <translation>Automatisch &amp;neu verbinden</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Trends</source>
        <translation>&amp;Trends</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Connection information</source>
        <translation>&amp;Verbindungsinformationen</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>Stop &amp;recording</source>
        <translation>&amp;Aufzeichnung beenden</translation>
    </message>
    <message>
        <source>Save the module&apos;s %1 parameters to a file</source>
        <translation>Die %1 Parameter des Moduls in einer Datei speichern</translation>
    </message>
    <message>
        <source>The module is not connected</source>
        <translation>Das Modul ist nicht verbunden</translation>
    </message>
    <message>
        <source>Waiting for the module to report: %1</source>
        <translation>Warten auf die Meldung des Moduls: %1</translation>
    </message>
    <message>
        <source>Port %1: %2
</source>
        <translation>Port %1: %2
</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keiner)</translation>
    </message>
    <message>
        <source>Connected on Comm Port %1</source>
        <translation>Verbunden auf Comm Port %1</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>Nicht verbunden</translation>
    </message>
    <message>
        <source>%1
%2Settings: 9600 baud, 8 data bits, no parity, 1 stop bit (9600 8N1)</source>
        <translation>%1
%2Einstellungen: 9600 Baud, 8 Datenbits, keine Parität, 1 Stoppbit (9600 8N1)</translation>
    </message>
    <message>
        <source>About Quelo Data Link</source>
        <translation>Über Quelo Data Link</translation>
    </message>
    <message>
        <source>Quelo Data Link %1
Data link for the Quelo Series 508 ignition module.
Licence: GPL-3.0-or-later

%2</source>
        <translation>Quelo Data Link %1
Datenverbindung zum Zündmodul Quelo Series 508.
Lizenz: GPL-3.0-or-later

%2</translation>
    </message>
</context>
<context>
    <name>quelo::AppWindow</name>
    <message>
        <source>%1 — recording %2</source>
        <translation>%1 — Aufzeichnung %2</translation>
    </message>
</context>
<context>
    <name>quelo::ChangeHistory</name>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;History…</source>
        <translation>&amp;Verlauf…</translation>
    </message>
    <message>
        <source>&amp;Keep restore points</source>
        <translation>Wieder&amp;herstellungspunkte behalten</translation>
    </message>
    <message>
        <source>No history folder</source>
        <translation>Kein Verlaufsordner</translation>
    </message>
    <message>
        <source>Write a restore point of the module&apos;s configuration when it connects, stores or takes a file (this session)</source>
        <translation>Einen Wiederherstellungspunkt der Konfiguration des Moduls schreiben, wenn es sich verbindet, speichert oder eine Datei übernimmt (in dieser Sitzung)</translation>
    </message>
    <message>
        <source>The module&apos;s configurations kept in %1</source>
        <translation>Die aufbewahrten Konfigurationen des Moduls in %1</translation>
    </message>
</context>
<context>
    <name>quelo::ConfigCompareDialog</name>
    <message>
        <source>Parameter</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>The %1 values are the same.</source>
        <translation>Die %1 Werte sind gleich.</translation>
    </message>
    <message numerus="yes">
        <source>%n value(s) differ.</source>
        <translation>
            <numerusform>%n Wert ist verschieden.</numerusform>
            <numerusform>%n Werte sind verschieden.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quelo::ConfigFiles</name>
    <message>
        <source>Save configuration</source>
        <translation>Konfiguration speichern</translation>
    </message>
    <message>
        <source>The configuration was not saved: %1</source>
        <translation>Die Konfiguration wurde nicht gespeichert: %1</translation>
    </message>
    <message>
        <source>The configuration was not saved.
%1</source>
        <translation>Die Konfiguration wurde nicht gespeichert.
%1</translation>
    </message>
    <message>
        <source>Configuration saved to %1</source>
        <translation>Konfiguration in %1 gespeichert</translation>
    </message>
    <message>
        <source>The module is not connected.</source>
        <translation>Das Modul ist nicht verbunden.</translation>
    </message>
    <message>
        <source>The module has not yet reported: %1.</source>
        <translation>Das Modul hat noch nicht gemeldet: %1.</translation>
    </message>
    <message>
        <source>Load configuration</source>
        <translation>Konfiguration laden</translation>
    </message>
    <message>
        <source>A configuration can be loaded once the module is connected and has reported all %1 parameters.</source>
        <translation>Eine Konfiguration kann geladen werden, sobald das Modul verbunden ist und alle %1 Parameter gemeldet hat.</translation>
    </message>
    <message>
        <source>Load %1</source>
        <translation>%1 laden</translation>
    </message>
    <message>
        <source>Restore %1 (%2)</source>
        <translation>%1 wiederherstellen (%2)</translation>
    </message>
    <message>
        <source>Compare with the module</source>
        <translation>Mit dem Modul vergleichen</translation>
    </message>
    <message>
        <source>Module now</source>
        <translation>Modul jetzt</translation>
    </message>
    <message>
        <source>%1 was not loaded; nothing was changed: %2</source>
        <translation>%1 wurde nicht geladen; nichts wurde geändert: %2</translation>
    </message>
    <message>
        <source>%1 was not loaded; nothing was changed.
%2</source>
        <translation>%1 wurde nicht geladen; nichts wurde geändert.
%2</translation>
    </message>
    <message>
        <source>Loading %1 was cancelled; nothing was changed</source>
        <translation>Das Laden von %1 wurde abgebrochen; nichts wurde geändert</translation>
    </message>
    <message>
        <source>Loaded %1: the module already holds its values</source>
        <translation>%1 geladen: das Modul hat schon seine Werte</translation>
    </message>
    <message>
        <source>Loaded %1: %2 being written; press STORE CONFIGURATION to store them</source>
        <translation>%1 geladen: %2 werden geschrieben; STORE CONFIGURATION drücken, um sie zu speichern</translation>
    </message>
    <message>
        <source>1 value</source>
        <translation>1 Wert</translation>
    </message>
    <message>
        <source>%1 values</source>
        <translation>%1 Werte</translation>
    </message>
</context>
<context>
    <name>quelo::ConfigPreviewDialog</name>
    <message>
        <source>Load configuration</source>
        <translation>Konfiguration laden</translation>
    </message>
    <message>
        <source>Warning: this file was %1. Its values may mean something else on this module.</source>
        <translation>Achtung: diese Datei wurde %1. Ihre Werte können auf diesem Modul etwas anderes bedeuten.</translation>
    </message>
    <message>
        <source>The module already holds every value.</source>
        <translation>Das Modul hat schon jeden Wert.</translation>
    </message>
    <message numerus="yes">
        <source>%n parameter(s) will change; store them with STORE CONFIGURATION afterwards.</source>
        <translation>
            <numerusform>%n Parameter ändert sich; danach mit STORE CONFIGURATION speichern.</numerusform>
            <numerusform>%n Parameter ändern sich; danach mit STORE CONFIGURATION speichern.</numerusform>
        </translation>
    </message>
    <message>
        <source>File: %1</source>
        <translation>Datei: %1</translation>
    </message>
    <message>
        <source>Saved: %1</source>
        <translation>Gespeichert: %1</translation>
    </message>
    <message>
        <source>Firmware: %1</source>
        <translation>Firmware: %1</translation>
    </message>
    <message>
        <source>(not given)</source>
        <translation>(nicht angegeben)</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Now</source>
        <translation>Jetzt</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Load it into this module all the same?</source>
        <translation>Trotzdem in dieses Modul laden?</translation>
    </message>
</context>
<context>
    <name>quelo::HistoryWindow</name>
    <message>
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Ereignis</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>Compare with the module</source>
        <translation>Mit dem Modul vergleichen</translation>
    </message>
    <message>
        <source>Restore…</source>
        <translation>Wiederherstellen…</translation>
    </message>
    <message>
        <source>Compare</source>
        <translation>Vergleichen</translation>
    </message>
    <message>
        <source>Show folder</source>
        <translation>Ordner zeigen</translation>
    </message>
    <message numerus="yes">
        <source>%n restore point(s) in %1; marked values differ from the one before.</source>
        <translation>
            <numerusform>%n Wiederherstellungspunkt in %1; markierte Werte weichen vom vorigen ab.</numerusform>
            <numerusform>%n Wiederherstellungspunkte in %1; markierte Werte weichen vom vorigen ab.</numerusform>
        </translation>
    </message>
    <message>
        <source>History is off for this session (%1 cannot be written).</source>
        <translation>Der Verlauf ist in dieser Sitzung aus (%1 kann nicht geschrieben werden).</translation>
    </message>
    <message>
        <source>No restore point is kept in this session (File &gt; Keep restore points).</source>
        <translation>In dieser Sitzung wird kein Wiederherstellungspunkt behalten (Datei &gt; Wiederherstellungspunkte behalten).</translation>
    </message>
    <message>
        <source>(in the future)</source>
        <translation>(in der Zukunft)</translation>
    </message>
    <message>
        <source>Later than the clock now: the clock was ahead when it was written. The list is in the order restore points were written.</source>
        <translation>Später als die Uhr jetzt: die Uhr ging vor, als er geschrieben wurde. Die Liste steht in der Reihenfolge, in der die Wiederherstellungspunkte geschrieben wurden.</translation>
    </message>
    <message>
        <source>Compare restore points</source>
        <translation>Wiederherstellungspunkte vergleichen</translation>
    </message>
</context>
<context>
    <name>quelo::MainWindow</name>
    <message>
        <source>Firmware Version</source>
        <translation>Firmware-Version</translation>
    </message>
    <message>
        <source>Ignition State</source>
        <translation>Zündzustand</translation>
    </message>
    <message>
        <source>Propeller angle</source>
        <translation>Propellerwinkel</translation>
    </message>
    <message>
        <source>degrees</source>
        <translation>Grad</translation>
    </message>
    <message>
        <source>Ignition advance</source>
        <translation>Vorzündung</translation>
    </message>
    <message>
        <source>degrees before top dead centre</source>
        <translation>Grad vor dem oberen Totpunkt</translation>
    </message>
    <message>
        <source>Engine speed</source>
        <translation>Drehzahl</translation>
    </message>
    <message>
        <source>rpm</source>
        <translation>1/min</translation>
    </message>
    <message>
        <source>Bus voltage</source>
        <translation>Bordspannung</translation>
    </message>
    <message>
        <source>volts</source>
        <translation>Volt</translation>
    </message>
    <message>
        <source>The value the module reported</source>
        <translation>Der vom Modul gemeldete Wert</translation>
    </message>
</context>
<context>
    <name>quelo::ParameterSlider</name>
    <message>
        <source>Sets %1; the value box beside it shows what the module holds</source>
        <translation>Stellt %1 ein; das Wertfeld daneben zeigt, was das Modul hat</translation>
    </message>
</context>
<context>
    <name>quelo::QuitFlow</name>
    <message>
        <source>The module has not stored your changes to %1.</source>
        <translation>Das Modul hat Ihre Änderungen an %1 nicht gespeichert.</translation>
    </message>
    <message>
        <source>The module is not connected, so they cannot be stored now.</source>
        <translation>Das Modul ist nicht verbunden, deshalb können sie jetzt nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Store and quit</source>
        <translation>Speichern und beenden</translation>
    </message>
    <message>
        <source>Quit without storing</source>
        <translation>Ohne Speichern beenden</translation>
    </message>
    <message>
        <source>The module did not confirm the store within %1 s: your changes to %2 may not be stored.</source>
        <translation>Das Modul hat das Speichern nicht innerhalb von %1 s bestätigt: Ihre Änderungen an %2 sind vielleicht nicht gespeichert.</translation>
    </message>
    <message>
        <source>Waiting for the module to confirm %1…</source>
        <translation>Warten, bis das Modul %1 bestätigt…</translation>
    </message>
    <message>
        <source>Waiting for the module to confirm the store…</source>
        <translation>Warten, bis das Modul das Speichern bestätigt…</translation>
    </message>
    <message>
        <source>The module did not confirm your change to %1, so no store can hold it: your changes are not stored.</source>
        <translation>Das Modul hat Ihre Änderung an %1 nicht bestätigt, also kann kein Speichern sie sichern: Ihre Änderungen sind nicht gespeichert.</translation>
    </message>
    <message>
        <source>The link to the module was lost, so the store cannot be confirmed: your changes are not stored.</source>
        <translation>Die Verbindung zum Modul ging verloren, also kann das Speichern nicht bestätigt werden: Ihre Änderungen sind nicht gespeichert.</translation>
    </message>
</context>
<context>
    <name>quelo::RecordingLoader</name>
    <message>
        <source>Reading %1…</source>
        <translation>%1 wird gelesen…</translation>
    </message>
    <message>
        <source>Open recording</source>
        <translation>Aufzeichnung öffnen</translation>
    </message>
</context>
<context>
    <name>quelo::RecordingViews</name>
    <message>
        <source>Replay recording</source>
        <translation>Aufzeichnung wiedergeben</translation>
    </message>
    <message>
        <source>Recordings (*.csv);;All files (*)</source>
        <translation>Aufzeichnungen (*.csv);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Open recording</source>
        <translation>Aufzeichnung öffnen</translation>
    </message>
    <message>
        <source>Opened recording %1</source>
        <translation>Aufzeichnung %1 geöffnet</translation>
    </message>
    <message numerus="yes">
        <source>Opened recording %1; %n row(s) earlier than the row before were put in time order</source>
        <translation>
            <numerusform>Aufzeichnung %1 geöffnet; %n Zeile, früher als die vorige, wurde zeitlich eingeordnet</numerusform>
            <numerusform>Aufzeichnung %1 geöffnet; %n Zeilen, früher als die vorige, wurden zeitlich eingeordnet</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quelo::ReplayOpener</name>
    <message>
        <source>Replay recording</source>
        <translation>Aufzeichnung wiedergeben</translation>
    </message>
</context>
<context>
    <name>quelo::ReplayWindow</name>
    <message>
        <source>Replay — %1</source>
        <translation>Wiedergabe — %1</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>%1×</source>
        <translation>%1×</translation>
    </message>
    <message>
        <source>Trends</source>
        <translation>Trends</translation>
    </message>
    <message>
        <source>Replaying %1 — %2 of %3</source>
        <translation>Wiedergabe von %1 — %2 von %3</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
</context>
<context>
    <name>quelo::RunCapture</name>
    <message>
        <source>Record run</source>
        <translation>Lauf aufzeichnen</translation>
    </message>
    <message>
        <source>Recording to %1</source>
        <translation>Aufzeichnung in %1</translation>
    </message>
    <message>
        <source>Recording not started: %1</source>
        <translation>Aufzeichnung nicht gestartet: %1</translation>
    </message>
    <message>
        <source>Recording stopped: %1</source>
        <translation>Aufzeichnung beendet: %1</translation>
    </message>
    <message>
        <source>Recordings (*.csv);;All files (*)</source>
        <translation>Aufzeichnungen (*.csv);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Marked: %1</source>
        <translation>Markiert: %1</translation>
    </message>
</context>
<context>
    <name>quelo::RunFile</name>
    <message>
        <source>Cannot record into %1: it is not a recording.</source>
        <translation>In %1 kann nicht aufgezeichnet werden: es ist keine Aufzeichnung.</translation>
    </message>
    <message>
        <source>Cannot record into %1: %2.</source>
        <translation>In %1 kann nicht aufgezeichnet werden: %2.</translation>
    </message>
    <message>
        <source>the file or its folder is gone</source>
        <translation>die Datei oder ihr Ordner ist verschwunden</translation>
    </message>
    <message>
        <source>it is not being read (nothing taken for %1 s)</source>
        <translation>sie wird nicht gelesen (seit %1 s nichts abgenommen)</translation>
    </message>
    <message>
        <source>Recording into %1 stopped: %2.</source>
        <translation>Aufzeichnung in %1 beendet: %2.</translation>
    </message>
</context>
<context>
    <name>quelo::TrendsWindow</name>
    <message>
        <source>Trends</source>
        <translation>Trends</translation>
    </message>
    <message>
        <source>Time of day</source>
        <translation>Uhrzeit</translation>
    </message>
    <message>
        <source>&amp;Chart</source>
        <translation>&amp;Diagramm</translation>
    </message>
    <message>
        <source>&amp;Save as…</source>
        <translation>&amp;Speichern unter…</translation>
    </message>
    <message>
        <source>&amp;Live</source>
        <translation>&amp;Live</translation>
    </message>
    <message>
        <source>&amp;Reset zoom</source>
        <translation>&amp;Zoom zurücksetzen</translation>
    </message>
    <message>
        <source>&amp;Elapsed time</source>
        <translation>&amp;Verstrichene Zeit</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>Marks</source>
        <translation>Marken</translation>
    </message>
    <message>
        <source>Marks set while recording (M or Ctrl+M); click one to go there</source>
        <translation>Beim Aufzeichnen gesetzte Marken (M oder Strg+M); eine anklicken, um dorthin zu gehen</translation>
    </message>
    <message>
        <source>Trends — %1</source>
        <translation>Trends — %1</translation>
    </message>
    <message>
        <source>%1  %2</source>
        <translation>%1  %2</translation>
    </message>
    <message>
        <source>Elapsed time (mm:ss)</source>
        <translation>Verstrichene Zeit (mm:ss)</translation>
    </message>
    <message>
        <source>%1  (%2 into the run)</source>
        <translation>%1  (%2 nach Beginn des Laufs)</translation>
    </message>
    <message>
        <source>Save chart</source>
        <translation>Diagramm speichern</translation>
    </message>
    <message>
        <source>PNG picture (*.png);;PDF document (*.pdf)</source>
        <translation>PNG-Bild (*.png);;PDF-Dokument (*.pdf)</translation>
    </message>
    <message>
        <source>Cannot save %1.</source>
        <translation>%1 kann nicht gespeichert werden.</translation>
    </message>
</context>
</TS>
