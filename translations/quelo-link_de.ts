<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ConfigCommand</name>
    <message>
        <source>%1 on ports %2</source>
        <translation>%1 an den Ports %2</translation>
    </message>
    <message>
        <source>Port %1: %2</source>
        <translation>Port %1: %2</translation>
    </message>
    <message>
        <source>not tried yet</source>
        <translation>noch nicht versucht</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>%1 (--any-firmware imports it all the same)</source>
        <translation>%1 (mit --any-firmware wird sie trotzdem übernommen)</translation>
    </message>
    <message>
        <source>no module answered</source>
        <translation>keine Antwort von einem Modul</translation>
    </message>
    <message>
        <source>cannot write the configuration to standard output</source>
        <translation>die Konfiguration kann nicht auf die Standardausgabe geschrieben werden</translation>
    </message>
    <message>
        <source>cannot write %1: %2; the file is as it was</source>
        <translation>%1 kann nicht geschrieben werden: %2; die Datei ist unverändert</translation>
    </message>
    <message>
        <source>wrote %1</source>
        <translation>%1 geschrieben</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keiner)</translation>
    </message>
    <message>
        <source>%1 (--any-aircraft imports it all the same)</source>
        <translation>%1 (mit --any-aircraft wird sie trotzdem übernommen)</translation>
    </message>
</context>
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
    <name>DemoModule</name>
    <message>
        <source>this build has no simulated module (no pseudo-terminals)</source>
        <translation>diese Ausgabe hat kein simuliertes Modul (keine Pseudo-Terminals)</translation>
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
    <name>FilePaths</name>
    <message>
        <source>standard output</source>
        <translation>Standardausgabe</translation>
    </message>
    <message>
        <source>%1 and %2 name the same file (%3): each needs its own</source>
        <translation>%1 und %2 nennen dieselbe Datei (%3): jede Option braucht ihre eigene</translation>
    </message>
</context>
<context>
    <name>FleetCommand</name>
    <message>
        <source>--fleet: standard output could not be written</source>
        <translation>--fleet: die Standardausgabe konnte nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>HistoryCommand</name>
    <message>
        <source>--history: standard output could not be written</source>
        <translation>--history: die Standardausgabe konnte nicht geschrieben werden</translation>
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
    <name>LinkLogging</name>
    <message>
        <source>logging into %1 stopped: %2</source>
        <translation>das Protokoll in %1 wurde beendet: %2</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>Try &apos;quelo-link --help&apos;.</source>
        <translation>Weitere Informationen mit &apos;quelo-link --help&apos;.</translation>
    </message>
    <message>
        <source>quelo-link: no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set).
  Run it from a desktop session; or run the window without a screen:
    QT_QPA_PLATFORM=offscreen quelo-link --quit-after SECONDS [--screenshot FILE.png]
  or use a command that needs no window: --export-config FILE, --import-config FILE.
</source>
        <translation>quelo-link: kein Bildschirm, auf dem das Fenster geöffnet werden kann (weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt).
  Starten Sie es aus einer Desktop-Sitzung; oder lassen Sie das Fenster ohne Bildschirm laufen:
    QT_QPA_PLATFORM=offscreen quelo-link --quit-after SECONDS [--screenshot FILE.png]
  oder nehmen Sie einen Befehl, der kein Fenster braucht: --export-config FILE, --import-config FILE.
</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>%1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>cannot start the simulated module: %1</source>
        <translation>das simulierte Modul kann nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>exit status 1: the recording stopped before the run ended</source>
        <translation>Exit-Status 1: die Aufzeichnung endete vor dem Lauf</translation>
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
    <message>
        <source>no serial device for this port</source>
        <translation>kein serielles Gerät für diesen Port</translation>
    </message>
    <message>
        <source>%1, line %2: %3</source>
        <translation>%1, Zeile %2: %3</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>abgebrochen</translation>
    </message>
    <message>
        <source>Configuration stored</source>
        <translation>Konfiguration gespeichert</translation>
    </message>
    <message>
        <source>This module&apos;s configuration differs from %1&apos;s last one — is it %2?</source>
        <translation>Die Konfiguration dieses Moduls weicht von der zuletzt für %1 gespeicherten ab — ist das wirklich %2?</translation>
    </message>
    <message>
        <source>saved for aircraft %1; the aircraft chosen is %2</source>
        <translation>für das Flugzeug %1 gespeichert; gewählt ist das Flugzeug %2</translation>
    </message>
    <message>
        <source>whole run</source>
        <translation>ganzer Lauf</translation>
    </message>
    <message>
        <source>visible range</source>
        <translation>sichtbarer Bereich</translation>
    </message>
    <message>
        <source>run length</source>
        <translation>Laufdauer</translation>
    </message>
    <message>
        <source>link down</source>
        <translation>Verbindung unterbrochen</translation>
    </message>
    <message>
        <source>marks</source>
        <translation>Marken</translation>
    </message>
    <message>
        <source>time above max rpm limit</source>
        <translation>Zeit über MAX RPM LIMIT</translation>
    </message>
    <message>
        <source>time above max advance limit</source>
        <translation>Zeit über MAX ADVANCE LIMIT</translation>
    </message>
    <message>
        <source>%1 time-weighted mean</source>
        <translation>%1, zeitgewichteter Mittelwert</translation>
    </message>
    <message>
        <source>%1 minimum</source>
        <translation>%1, Minimum</translation>
    </message>
    <message>
        <source>%1 maximum</source>
        <translation>%1, Maximum</translation>
    </message>
    <message>
        <source>%1 mean</source>
        <translation>%1, Mittelwert</translation>
    </message>
    <message>
        <source>engine speed</source>
        <translation>Drehzahl</translation>
    </message>
    <message>
        <source>advance</source>
        <translation>Vorzündung</translation>
    </message>
    <message>
        <source>bus voltage</source>
        <translation>Bordspannung</translation>
    </message>
    <message>
        <source>propeller angle</source>
        <translation>Propellerwinkel</translation>
    </message>
    <message>
        <source>no values</source>
        <translation>keine Werte</translation>
    </message>
    <message>
        <source>limit not recorded</source>
        <translation>Grenzwert nicht aufgezeichnet</translation>
    </message>
    <message>
        <source>n/a</source>
        <translation>–</translation>
    </message>
    <message>
        <source>%1 rpm</source>
        <translation>%1 1/min</translation>
    </message>
    <message>
        <source>%1 degrees</source>
        <translation>%1 Grad</translation>
    </message>
    <message>
        <source>longer than %1 characters</source>
        <translation>länger als %1 Zeichen</translation>
    </message>
    <message>
        <source>empty: a name needs at least one character besides spaces</source>
        <translation>leer: ein Name braucht außer Leerzeichen mindestens ein Zeichen</translation>
    </message>
    <message>
        <source>not valid UTF-8 text</source>
        <translation>kein gültiger UTF-8-Text</translation>
    </message>
    <message>
        <source>holds a control or invisible character</source>
        <translation>enthält ein Steuerzeichen oder ein unsichtbares Zeichen</translation>
    </message>
</context>
<context>
    <name>Options</name>
    <message>
        <source>Data link for the Quelo Series 508 ignition module.
The module is looked for on ports 1, 2 and 3 in turn (9600 baud, 8N1). Without
--ports those are COM1..COM3 on Windows, and elsewhere the first three serial
devices the system lists: USB adapters (ttyUSB*, ttyACM*, cu.usb*) first, then
the others, each group in name order with numbers compared by value.
With --export-config or --import-config no window opens (no display is needed):
the program finds the module, reads or writes its %1 configuration
parameters, reports its progress on standard error and exits. --record works
with and without a window.
Files: only regular files are read (a FIFO or a device is refused at once), a
configuration file only up to 1 MiB; only a regular file or a new name is
written, never a device; the same file may not be named twice.
Exit status: 0 done; 1 a module or link problem (no module found, --timeout
passed, a value the module did not take, interrupted, --demo, --screenshot or
--record failed); 2 a bad command line, a bad or unwritable configuration file,
a file saved from a module with other firmware (see --any-firmware), or a
window run without a display (use QT_QPA_PLATFORM=offscreen with --quit-after,
or the headless commands).</source>
        <translation>Datenverbindung zum Zündmodul Quelo Series 508.
Das Modul wird der Reihe nach an den Ports 1, 2 und 3 gesucht (9600 Baud, 8N1).
Ohne --ports sind das unter Windows COM1..COM3, sonst die ersten drei seriellen
Geräte, die das System aufführt: zuerst USB-Adapter (ttyUSB*, ttyACM*, cu.usb*),
dann die übrigen, jede Gruppe nach Namen sortiert, Zahlen nach ihrem Wert.
Mit --export-config oder --import-config öffnet sich kein Fenster (kein Bildschirm
nötig): das Programm sucht das Modul, liest oder schreibt seine %1
Konfigurationsparameter, meldet den Fortschritt auf der Standardfehlerausgabe und
endet. --record geht mit und ohne Fenster.
Dateien: gelesen werden nur normale Dateien (eine FIFO oder ein Gerät wird sofort
abgelehnt), eine Konfigurationsdatei nur bis 1 MiB; geschrieben wird nur eine
normale Datei oder ein neuer Name, nie ein Gerät; dieselbe Datei darf nicht
zweimal genannt werden.
Exit-Status: 0 erledigt; 1 ein Problem mit Modul oder Verbindung (kein Modul
gefunden, --timeout abgelaufen, ein Wert nicht übernommen, abgebrochen, --demo,
--screenshot oder --record fehlgeschlagen); 2 eine falsche Befehlszeile, eine
fehlerhafte oder nicht schreibbare Konfigurationsdatei, eine von einem Modul mit
anderer Firmware gespeicherte Datei (siehe --any-firmware) oder ein Fensterlauf
ohne Bildschirm (QT_QPA_PLATFORM=offscreen mit --quit-after verwenden, oder die
Befehle ohne Fenster).</translation>
    </message>
    <message>
        <source>Device paths for ports 1..3, comma separated. An entry may be empty or name a missing device: that port then fails to open. A relative path is taken from the working directory; a bare name (ttyUSB0) is the device under /dev.</source>
        <translation>Gerätepfade für die Ports 1..3, durch Kommas getrennt. Ein Eintrag darf leer sein oder ein fehlendes Gerät nennen: dieser Port lässt sich dann nicht öffnen. Ein relativer Pfad gilt ab dem Arbeitsverzeichnis; ein bloßer Name (ttyUSB0) ist das Gerät unter /dev.</translation>
    </message>
    <message>
        <source>Start a simulated module on a pseudo-terminal and put it on port 1.</source>
        <translation>Ein simuliertes Modul auf einem Pseudo-Terminal starten und an Port 1 legen.</translation>
    </message>
    <message>
        <source>Not available: this build has no simulated module (no pseudo-terminals).</source>
        <translation>Nicht verfügbar: diese Ausgabe hat kein simuliertes Modul (keine Pseudo-Terminals).</translation>
    </message>
    <message>
        <source>With --quit-after: save a PNG of the window before quitting.</source>
        <translation>Mit --quit-after: vor dem Beenden ein PNG des Fensters speichern.</translation>
    </message>
    <message>
        <source>Quit after SECONDS (0 to 86400).</source>
        <translation>Nach SECONDS Sekunden beenden (0 bis 86400).</translation>
    </message>
    <message>
        <source>Append the link&apos;s events (quelo.link), with times, to FILE (a regular file or a new name) instead of standard error.</source>
        <translation>Die Ereignisse der Verbindung (quelo.link) mit Zeiten an FILE anhängen (eine normale Datei oder ein neuer Name) statt an die Standardfehlerausgabe.</translation>
    </message>
    <message>
        <source>Record the run from launch into FILE (CSV: time, engine speed, advance, bus voltage, propeller angle and the link&apos;s events), replacing it; &apos;-&apos;: standard output. Only a regular file or a new name is written.</source>
        <translation>Den Lauf ab dem Start in FILE aufzeichnen (CSV: Zeit, Drehzahl, Vorzündung, Bordspannung, Propellerwinkel und die Ereignisse der Verbindung), die Datei wird ersetzt; &apos;-&apos;: Standardausgabe. Geschrieben wird nur eine normale Datei oder ein neuer Name.</translation>
    </message>
    <message>
        <source>Open the Trends window at launch (as View &gt; Trends); with FILE.csv after it, on that recording (as File &gt; Open recording).</source>
        <translation>Beim Start das Fenster Trends öffnen (wie Ansicht &gt; Trends); mit FILE.csv dahinter mit dieser Aufzeichnung (wie Datei &gt; Aufzeichnung öffnen).</translation>
    </message>
    <message>
        <source>Without a window: check FILE, write each value that differs to the module, wait until the module reports every one back, store the configuration (as STORE CONFIGURATION) and exit. Nothing is stored when the module does not take a value. All or nothing: when a value is not taken, the time runs out or the program is interrupted before the store, every value written is put back and nothing is stored. A file saved from a module with other firmware is refused before anything is written.</source>
        <translation>Ohne Fenster: FILE prüfen, jeden abweichenden Wert ins Modul schreiben, warten, bis das Modul jeden zurückmeldet, die Konfiguration speichern (wie STORE CONFIGURATION) und beenden. Übernimmt das Modul einen Wert nicht, wird nichts gespeichert. Alles oder nichts: wird ein Wert nicht übernommen, läuft die Zeit ab oder wird das Programm vor dem Speichern abgebrochen, wird jeder geschriebene Wert zurückgesetzt und nichts gespeichert. Eine Datei von einem Modul mit anderer Firmware wird abgelehnt, bevor etwas geschrieben wird.</translation>
    </message>
    <message>
        <source>Keep the configuration history (restore points) in DIR instead of the application data folder&apos;s &quot;history&quot;.</source>
        <translation>Den Konfigurationsverlauf (Wiederherstellungspunkte) in DIR aufbewahren statt in &quot;history&quot; im Datenordner des Programms.</translation>
    </message>
    <message>
        <source>Write no restore point in this run (with or without a window).</source>
        <translation>In diesem Lauf keinen Wiederherstellungspunkt schreiben (mit oder ohne Fenster).</translation>
    </message>
    <message>
        <source>With --import-config: import a file saved from a module with other firmware than the connected module&apos;s.</source>
        <translation>Mit --import-config: eine Datei übernehmen, die von einem Modul mit anderer Firmware als der des verbundenen Moduls gespeichert wurde.</translation>
    </message>
    <message>
        <source>Play a recording back on the gauges in a window of its own; no port is opened.</source>
        <translation>Eine Aufzeichnung in einem eigenen Fenster auf den Anzeigen abspielen; es wird kein Port geöffnet.</translation>
    </message>
    <message>
        <source>With --replay: play at N times the recorded pace (1, 4 or 16; default 1).</source>
        <translation>Mit --replay: mit N-facher Geschwindigkeit abspielen (1, 4 oder 16; Vorgabe 1).</translation>
    </message>
    <message>
        <source>Give up an export or import after SECONDS (above 0, up to 86400; default 30, and for an import %1 s more for each value it writes). A failed import then has up to %2 s and %1 s per value to put back what it wrote.</source>
        <translation>Einen Export oder Import nach SECONDS Sekunden aufgeben (über 0, bis 86400; Vorgabe 30, bei einem Import %1 s mehr für jeden Wert, den er schreibt). Ein fehlgeschlagener Import hat dann bis zu %2 s und %1 s je Wert, um das Geschriebene zurückzusetzen.</translation>
    </message>
    <message>
        <source>After a lost link, search ports 1-3 until a module answers, probing whatever device appears there. Without it the search after a lost link runs once, as RESET&apos;s does, and then waits for RESET.</source>
        <translation>Nach einer verlorenen Verbindung die Ports 1-3 durchsuchen, bis ein Modul antwortet, und dabei jedes Gerät abfragen, das dort erscheint. Ohne diese Option läuft die Suche nach einer verlorenen Verbindung einmal, wie die von RESET, und wartet dann auf RESET.</translation>
    </message>
    <message>
        <source>--export-config and --import-config cannot be used together</source>
        <translation>--export-config und --import-config gehen nicht zusammen</translation>
    </message>
    <message>
        <source>--%1 needs a file name (&apos;-&apos; for standard output)</source>
        <translation>--%1 braucht einen Dateinamen (&apos;-&apos; für die Standardausgabe)</translation>
    </message>
    <message>
        <source>--import-config needs a file name</source>
        <translation>--import-config braucht einen Dateinamen</translation>
    </message>
    <message>
        <source>%1 runs without a window: no --quit-after</source>
        <translation>%1 läuft ohne Fenster: kein --quit-after</translation>
    </message>
    <message>
        <source>%1 runs without a window: no --screenshot</source>
        <translation>%1 läuft ohne Fenster: kein --screenshot</translation>
    </message>
    <message>
        <source>%1 runs without a window: no --trends</source>
        <translation>%1 läuft ohne Fenster: kein --trends</translation>
    </message>
    <message>
        <source>--any-firmware needs --import-config</source>
        <translation>--any-firmware braucht --import-config</translation>
    </message>
    <message>
        <source>--timeout needs --export-config or --import-config</source>
        <translation>--timeout braucht --export-config oder --import-config</translation>
    </message>
    <message>
        <source>--timeout needs a number of seconds above 0 and up to %1, not &apos;%2&apos;</source>
        <translation>--timeout braucht eine Zahl von Sekunden über 0 und bis %1, nicht &apos;%2&apos;</translation>
    </message>
    <message>
        <source>--history-dir needs a folder</source>
        <translation>--history-dir braucht einen Ordner</translation>
    </message>
    <message>
        <source>--replay needs a file name</source>
        <translation>--replay braucht einen Dateinamen</translation>
    </message>
    <message>
        <source>--speed needs --replay</source>
        <translation>--speed braucht --replay</translation>
    </message>
    <message>
        <source>--speed takes 1, 4 or 16, not &apos;%1&apos;</source>
        <translation>--speed nimmt 1, 4 oder 16, nicht &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--replay opens no port: no --%1</source>
        <translation>--replay öffnet keinen Port: kein --%1</translation>
    </message>
    <message>
        <source>--ports takes at most three devices (ports 1..3)</source>
        <translation>--ports nimmt höchstens drei Geräte (Ports 1..3)</translation>
    </message>
    <message>
        <source>--quit-after needs a number of seconds from 0 to %1, not &apos;%2&apos;</source>
        <translation>--quit-after braucht eine Zahl von Sekunden von 0 bis %1, nicht &apos;%2&apos;</translation>
    </message>
    <message>
        <source>--screenshot needs --quit-after</source>
        <translation>--screenshot braucht --quit-after</translation>
    </message>
    <message>
        <source>--screenshot needs a file name</source>
        <translation>--screenshot braucht einen Dateinamen</translation>
    </message>
    <message>
        <source>--demo is not available: this build has no simulated module</source>
        <translation>--demo ist nicht verfügbar: diese Ausgabe hat kein simuliertes Modul</translation>
    </message>
    <message>
        <source>--log needs a file name</source>
        <translation>--log braucht einen Dateinamen</translation>
    </message>
    <message>
        <source>--record needs a file name</source>
        <translation>--record braucht einen Dateinamen</translation>
    </message>
    <message>
        <source>With --trends: a recording to open.</source>
        <translation>Mit --trends: eine Aufzeichnung zum Öffnen.</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos; (options start with --; only --trends takes a recording after it)</source>
        <translation>unerwartetes Argument &apos;%1&apos; (Optionen beginnen mit --; nur --trends nimmt danach eine Aufzeichnung)</translation>
    </message>
    <message>
        <source>Without a window: wait until the module has reported its firmware version and all %1 parameters, write them to FILE as a configuration file (&apos;-&apos;: standard output) and exit.</source>
        <translation>Ohne Fenster: warten, bis das Modul seine Firmware-Version und alle %1 Parameter gemeldet hat, sie als Konfigurationsdatei in DATEI schreiben (&apos;-&apos;: Standardausgabe) und beenden.</translation>
    </message>
    <message>
        <source>Print the restore points, newest written first, one line each (time, event, firmware, port, aircraft, the %1 values as the value boxes show them by file key, quoted when not one word, the file; control characters and backslashes escaped) and exit. Needs no display and no port. Exit status 2 when the folder is not a folder or cannot be read.</source>
        <translation>Die Wiederherstellungspunkte ausgeben, den zuletzt geschriebenen zuerst, je eine Zeile (Zeit, Ereignis, Firmware, Port, Flugzeug, die %1 Werte wie in den Wertfeldern, nach Dateischlüssel, in Anführungszeichen, wenn nicht ein Wort, die Datei; Steuerzeichen und Backslashes maskiert) und beenden. Braucht weder Bildschirm noch Port. Exit-Status 2, wenn der Ordner kein Ordner ist oder nicht gelesen werden kann.</translation>
    </message>
    <message>
        <source>With --history: one compact JSON object per line instead (time, event, firmware, port, the values raw and as the value boxes show them, file). With --summary: the figures as one JSON object.</source>
        <translation>Mit --history: stattdessen ein kompaktes JSON-Objekt je Zeile (Zeit, Ereignis, Firmware, Port, die Werte roh und wie in den Wertfeldern, Datei). Mit --summary: die Kennzahlen als ein JSON-Objekt.</translation>
    </message>
    <message>
        <source>Print the figures of a recording, one line each with its unit (minimum, maximum, mean and time-weighted mean of each quantity, the time above the limits the module held, the run&apos;s length, the link-down time, the marks) and exit. Needs no display and no port. Exit status 2 for a file that is not a recording, holds no telemetry, or lacks a mark named.</source>
        <translation>Die Kennzahlen einer Aufzeichnung ausgeben, je eine Zeile mit Einheit (Minimum, Maximum, Mittelwert und zeitgewichteter Mittelwert jeder Größe, die Zeit über den Grenzwerten des Moduls, die Laufdauer, die Zeit ohne Verbindung, die Marken) und beenden. Braucht weder Bildschirm noch Port. Exit-Status 2 für eine Datei, die keine Aufzeichnung ist, keine Messwerte enthält oder eine genannte Marke nicht hat.</translation>
    </message>
    <message>
        <source>With --summary: from this mark (&quot;mark 2&quot; or 2).</source>
        <translation>Mit --summary: ab dieser Marke (&quot;mark 2&quot; oder 2).</translation>
    </message>
    <message>
        <source>With --summary: up to this mark.</source>
        <translation>Mit --summary: bis zu dieser Marke.</translation>
    </message>
    <message>
        <source>With --summary: the figures of a second recording beside the first&apos;s, and the differences (second minus first).</source>
        <translation>Mit --summary: die Kennzahlen einer zweiten Aufzeichnung neben denen der ersten, und die Differenzen (zweite minus erste).</translation>
    </message>
    <message>
        <source>The aircraft the module sits in (1 to 32 printable characters; names that differ only in the case of A-Z are one aircraft): kept with every restore point, file and recording. With --history: list that aircraft&apos;s restore points only.</source>
        <translation>Das Flugzeug, in dem das Modul eingebaut ist (1 bis 32 druckbare Zeichen; Namen, die sich nur in Groß-/Kleinschreibung von A-Z unterscheiden, sind ein Flugzeug): wird mit jedem Wiederherstellungspunkt, jeder Datei und jeder Aufzeichnung gespeichert. Mit --history: nur die Wiederherstellungspunkte dieses Flugzeugs auflisten.</translation>
    </message>
    <message>
        <source>With --import-config: import a file saved for another aircraft than --aircraft.</source>
        <translation>Mit --import-config: eine Datei übernehmen, die für ein anderes Flugzeug als --aircraft gespeichert wurde.</translation>
    </message>
    <message>
        <source>Print every aircraft of the history folder (name, last connected, firmware, the newest configuration, restore points; &apos;*&apos; after a value most of the fleet does not hold) and exit. Needs no display and no port.</source>
        <translation>Jedes Flugzeug des Verlaufsordners ausgeben (Name, zuletzt verbunden, Firmware, die neueste Konfiguration, Wiederherstellungspunkte; &apos;*&apos; hinter einem Wert, den der Großteil der Flotte nicht hat) und beenden. Braucht weder Bildschirm noch Port.</translation>
    </message>
    <message>
        <source>Without a window: once the module has reported its %1 values, write its one-page configuration record to FILE.pdf (and a copy beside its restore point in the history folder) and exit.</source>
        <translation>Ohne Fenster: sobald das Modul seine %1 Werte gemeldet hat, seinen einseitigen Konfigurationsnachweis in DATEI.pdf schreiben (und eine Kopie neben seinem Wiederherstellungspunkt im Verlaufsordner) und beenden.</translation>
    </message>
    <message>
        <source>--print-record cannot be used with %1</source>
        <translation>--print-record geht nicht zusammen mit %1</translation>
    </message>
    <message>
        <source>--json goes with --history or --summary only</source>
        <translation>--json geht nur mit --history oder --summary</translation>
    </message>
    <message>
        <source>--history takes no other option than --history-dir, --json and --aircraft</source>
        <translation>--history nimmt keine andere Option als --history-dir, --json und --aircraft</translation>
    </message>
    <message>
        <source>--aircraft: not an aircraft name: %1</source>
        <translation>--aircraft: kein Flugzeugname: %1</translation>
    </message>
    <message>
        <source>--any-aircraft needs --import-config</source>
        <translation>--any-aircraft braucht --import-config</translation>
    </message>
    <message>
        <source>--print-record needs a file name</source>
        <translation>--print-record braucht einen Dateinamen</translation>
    </message>
    <message>
        <source>--print-record runs without a window: no --%1</source>
        <translation>--print-record läuft ohne Fenster: kein --%1</translation>
    </message>
    <message>
        <source>--fleet takes no other option than --history-dir</source>
        <translation>--fleet nimmt keine andere Option als --history-dir</translation>
    </message>
    <message>
        <source>--%1 needs --summary</source>
        <translation>--%1 braucht --summary</translation>
    </message>
    <message>
        <source>--%1 needs a %2</source>
        <translation>--%1 braucht %2</translation>
    </message>
    <message>
        <source>--summary needs a file name</source>
        <translation>--summary braucht einen Dateinamen</translation>
    </message>
    <message>
        <source>--summary takes no other option than --from, --to, --json and --compare, not --%1</source>
        <translation>--summary nimmt keine andere Option als --from, --to, --json und --compare, nicht --%1</translation>
    </message>
</context>
<context>
    <name>PrintRecordCommand</name>
    <message>
        <source>no restore point holds these values: no copy in the history</source>
        <translation>kein Wiederherstellungspunkt hat diese Werte: keine Kopie im Verlauf</translation>
    </message>
    <message>
        <source>wrote %1</source>
        <translation>%1 geschrieben</translation>
    </message>
    <message>
        <source>quelo-link: cannot write %1: %2</source>
        <translation>quelo-link: %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>quelo-link: cannot write %1: %2; nothing was written</source>
        <translation>quelo-link: %1 kann nicht geschrieben werden: %2; es wurde nichts geschrieben</translation>
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
    <name>ReplayReadout</name>
    <message>
        <source>%1 rpm</source>
        <translation>%1 1/min</translation>
    </message>
    <message>
        <source>%1° advance</source>
        <translation>%1° vor OT</translation>
    </message>
    <message>
        <source>%1 V</source>
        <translation>%1 V</translation>
    </message>
    <message>
        <source>%1° propeller</source>
        <translation>%1° Propeller</translation>
    </message>
</context>
<context>
    <name>ReplayRun</name>
    <message>
        <source>cannot write %1</source>
        <translation>%1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>cannot write %1: the recording was still being read</source>
        <translation>%1 kann nicht geschrieben werden: die Aufzeichnung wurde noch gelesen</translation>
    </message>
    <message>
        <source>%1 is not a regular file</source>
        <translation>%1 ist keine normale Datei</translation>
    </message>
</context>
<context>
    <name>SummaryCommand</name>
    <message>
        <source>it has no marks</source>
        <translation>sie hat keine Marken</translation>
    </message>
    <message>
        <source>its marks: %1</source>
        <translation>ihre Marken: %1</translation>
    </message>
    <message>
        <source>%1 %2: %3 holds that mark more than once</source>
        <translation>%1 %2: %3 hat diese Marke mehr als einmal</translation>
    </message>
    <message>
        <source>%1 %2: no such mark in %3 (%4)</source>
        <translation>%1 %2: keine solche Marke in %3 (%4)</translation>
    </message>
    <message>
        <source>%1 holds no telemetry rows: there is nothing to summarise</source>
        <translation>%1 enthält keine Messwertzeilen: es gibt nichts zusammenzufassen</translation>
    </message>
    <message>
        <source>--from %1 comes after --to %2 in %3</source>
        <translation>--from %1 liegt nach --to %2 in %3</translation>
    </message>
    <message>
        <source>--summary: %1</source>
        <translation>--summary: %1</translation>
    </message>
    <message>
        <source>--compare names the same file as --summary (%1): compare two different recordings</source>
        <translation>--compare nennt dieselbe Datei wie --summary (%1): zwei verschiedene Aufzeichnungen vergleichen</translation>
    </message>
    <message>
        <source>--summary: standard output could not be written</source>
        <translation>--summary: die Standardausgabe konnte nicht geschrieben werden</translation>
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
    <message>
        <source>%1  (%2 into the run)</source>
        <translation>%1  (%2 nach Laufbeginn)</translation>
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
<context>
    <name>quelo::AircraftRoom</name>
    <message>
        <source>A&amp;ircraft</source>
        <translation>Flu&amp;gzeug</translation>
    </message>
    <message>
        <source>Fl&amp;eet…</source>
        <translation>Fl&amp;otte…</translation>
    </message>
    <message>
        <source>Print &amp;configuration record…</source>
        <translation>&amp;Konfigurationsnachweis drucken…</translation>
    </message>
    <message>
        <source>&amp;None</source>
        <translation>&amp;Keines</translation>
    </message>
    <message>
        <source>Ne&amp;w aircraft…</source>
        <translation>&amp;Neues Flugzeug…</translation>
    </message>
    <message>
        <source>Aircraft</source>
        <translation>Flugzeug</translation>
    </message>
    <message>
        <source>The aircraft&apos;s name (a registration such as N123AB, or any short name):</source>
        <translation>Name des Flugzeugs (ein Kennzeichen wie D-EABC oder ein beliebiger kurzer Name):</translation>
    </message>
    <message>
        <source>That is not an aircraft name: %1.
A name has 1 to %2 printable characters.</source>
        <translation>Das ist kein Flugzeugname: %1.
Ein Name hat 1 bis %2 druckbare Zeichen.</translation>
    </message>
    <message>
        <source>Print configuration record</source>
        <translation>Konfigurationsnachweis drucken</translation>
    </message>
    <message>
        <source>A record can be printed once the module is connected and has reported all its values.</source>
        <translation>Ein Nachweis kann gedruckt werden, sobald das Modul verbunden ist und alle seine Werte gemeldet hat.</translation>
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
    <message>
        <source>%1 — %2</source>
        <translation>%1 — %2</translation>
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
    <message>
        <source>Warning: this file was %1.</source>
        <translation>Achtung: diese Datei wurde %1.</translation>
    </message>
</context>
<context>
    <name>quelo::FleetWindow</name>
    <message>
        <source>Fleet</source>
        <translation>Flotte</translation>
    </message>
    <message>
        <source>Aircraft</source>
        <translation>Flugzeug</translation>
    </message>
    <message>
        <source>Last connected</source>
        <translation>Zuletzt verbunden</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>Restore points</source>
        <translation>Wiederherstellungspunkte</translation>
    </message>
    <message>
        <source>Marked values differ from what most of the fleet holds.</source>
        <translation>Markierte Werte weichen von dem ab, was der Großteil der Flotte hat.</translation>
    </message>
    <message>
        <source>Compare</source>
        <translation>Vergleichen</translation>
    </message>
    <message>
        <source>Open history</source>
        <translation>Verlauf öffnen</translation>
    </message>
    <message>
        <source>(never)</source>
        <translation>(nie)</translation>
    </message>
    <message>
        <source>Most of the fleet holds another value</source>
        <translation>Der Großteil der Flotte hat einen anderen Wert</translation>
    </message>
    <message>
        <source>Compare aircraft</source>
        <translation>Flugzeuge vergleichen</translation>
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
    <message>
        <source>All aircraft</source>
        <translation>Alle Flugzeuge</translation>
    </message>
    <message>
        <source>Aircraft %1</source>
        <translation>Flugzeug %1</translation>
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
    <name>quelo::MarksList</name>
    <message>
        <source>%1: %2  %3</source>
        <translation>%1: %2  %3</translation>
    </message>
    <message>
        <source>%1  %2</source>
        <translation>%1  %2</translation>
    </message>
    <message>
        <source>Marks set while recording (M or Ctrl+M); click one to go there</source>
        <translation>Beim Aufzeichnen gesetzte Marken (M oder Strg+M); zum Hinspringen eine anklicken</translation>
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
    <name>quelo::RecordDialog</name>
    <message>
        <source>Print configuration record</source>
        <translation>Konfigurationsnachweis drucken</translation>
    </message>
    <message>
        <source>Remarks (work done, reason for the change, …)</source>
        <translation>Bemerkungen (ausgeführte Arbeiten, Grund der Änderung, …)</translation>
    </message>
    <message>
        <source>&amp;Print…</source>
        <translation>&amp;Drucken…</translation>
    </message>
    <message>
        <source>Save &amp;PDF…</source>
        <translation>Als &amp;PDF speichern…</translation>
    </message>
    <message>
        <source>Remarks:</source>
        <translation>Bemerkungen:</translation>
    </message>
    <message>
        <source>Configuration record printed</source>
        <translation>Konfigurationsnachweis gedruckt</translation>
    </message>
    <message>
        <source>Save configuration record</source>
        <translation>Konfigurationsnachweis speichern</translation>
    </message>
    <message>
        <source>PDF (*.pdf)</source>
        <translation>PDF (*.pdf)</translation>
    </message>
    <message>
        <source>The record was not saved.
%1</source>
        <translation>Der Nachweis wurde nicht gespeichert.
%1</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The configuration record was not saved: %1</source>
        <translation>Der Konfigurationsnachweis wurde nicht gespeichert: %1</translation>
    </message>
    <message>
        <source>Configuration record saved to %1</source>
        <translation>Konfigurationsnachweis in %1 gespeichert</translation>
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
    <name>quelo::ReplayReadout</name>
    <message>
        <source>◀ Previous mark</source>
        <translation>◀ Vorige Marke</translation>
    </message>
    <message>
        <source>Next mark ▶</source>
        <translation>Nächste Marke ▶</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>No marks in this run</source>
        <translation>Keine Marken in diesem Lauf</translation>
    </message>
    <message>
        <source>Marks: previous %1, next %2 (Page Up, Page Down)</source>
        <translation>Marken: vorige %1, nächste %2 (Bild auf, Bild ab)</translation>
    </message>
    <message>
        <source>No configuration reported yet at this point</source>
        <translation>Bis zu diesem Zeitpunkt noch keine Konfiguration gemeldet</translation>
    </message>
    <message>
        <source>In force: %1</source>
        <translation>Gültig: %1</translation>
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
    <name>quelo::RunComparison</name>
    <message>
        <source>Compare with recording</source>
        <translation>Mit Aufzeichnung vergleichen</translation>
    </message>
    <message>
        <source>Recordings (*.csv);;All files (*)</source>
        <translation>Aufzeichnungen (*.csv);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>%1 is the recording shown: choose another one to compare it with.</source>
        <translation>%1 ist die angezeigte Aufzeichnung: wählen Sie eine andere zum Vergleich.</translation>
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
    <name>quelo::SummaryPanel</name>
    <message>
        <source>start</source>
        <translation>Anfang</translation>
    </message>
    <message>
        <source>Align A at</source>
        <translation>A ausrichten an</translation>
    </message>
    <message>
        <source>B at</source>
        <translation>B an</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Copy the figures as text, one line each</source>
        <translation>Die Kennzahlen als Text kopieren, je eine Zeile</translation>
    </message>
    <message>
        <source>Figure</source>
        <translation>Kennzahl</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>A</source>
        <translation>A</translation>
    </message>
    <message>
        <source>B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>B − A</source>
        <translation>B − A</translation>
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
        <translation>Dia&amp;gramm</translation>
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
        <source>Trends — %1</source>
        <translation>Trends — %1</translation>
    </message>
    <message>
        <source>Elapsed time (mm:ss)</source>
        <translation>Verstrichene Zeit (mm:ss)</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Compare with recording…</source>
        <translation>Mit Aufzeichnung &amp;vergleichen…</translation>
    </message>
    <message>
        <source>&amp;Stop comparing</source>
        <translation>Vergleich &amp;beenden</translation>
    </message>
    <message>
        <source>Copy s&amp;ummary</source>
        <translation>&amp;Zusammenfassung kopieren</translation>
    </message>
    <message>
        <source>Summary</source>
        <translation>Zusammenfassung</translation>
    </message>
    <message>
        <source>A: %1, solid · B: %2, dashed</source>
        <translation>A: %1, durchgezogen · B: %2, gestrichelt</translation>
    </message>
    <message>
        <source>%1 — A</source>
        <translation>%1 — A</translation>
    </message>
    <message>
        <source>%1 — B</source>
        <translation>%1 — B</translation>
    </message>
    <message>
        <source>live run</source>
        <translation>laufende Aufzeichnung</translation>
    </message>
</context>
</TS>
