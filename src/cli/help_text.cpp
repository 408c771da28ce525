#include "cli/help_text.h"

namespace trivenor {

std::string UsageText() {
  return "Aufruf: trivenor-run DATEI [OPTION]...\n"
         "       trivenor-run --pruefe TABELLE DATEI... [--csv ERGEBNIS]\n"
         "„trivenor-run --help“ erklärt alle Optionen.\n";
}

std::string HelpText() {
  return R"(Aufruf: trivenor-run DATEI [OPTION]...
       trivenor-run --pruefe TABELLE DATEI... [--csv ERGEBNIS]

Lädt den Schaltkreis DATEI so, wie der Editor ihn öffnet (die Eingänge verlieren
ihre Verbindungen, ein Rechenschritt läuft), und führt dann die Optionen der
Reihe nach von links nach rechts aus.

Optionen:
  --set ZEILE=WERT  gibt dem Eingang des Schaltkreises in Zeile ZEILE den Wert
                    WERT. ZEILE ist eine ganze Zahl; WERT wird gelesen wie ein
                    im Editor eingetippter Wert (Dezimalpunkt, kein Komma).
                    Gibt es dort keinen Eingang, endet das Programm mit Status 1.
  --run N           führt N Rechenschritte aus (N ab 0).
  --reset           setzt alles auf Null, wie der Befehl „Reset“ im Editor.
  --print           gibt den Zustand jetzt aus.
  --trace           gibt den Zustand jetzt und nach jedem weiteren Rechenschritt
                    aus.
  --save PFAD       speichert den Schaltkreis in PFAD. Eine vorhandene Datei
                    bleibt unversehrt, wenn das Schreiben misslingt.
  -h, --help        zeigt diese Hilfe.

Prüfen einer ganzen Klasse:
  --pruefe TABELLE  prüft jede DATEI mit der Prüftabelle TABELLE (wie „Aufgabe
                    prüfen“ im Editor) und schreibt je Datei eine Zeile, etwa
                    „kind1.trv: 4 von 5 richtig“ und dahinter die erste falsche
                    Zeile mit Eingängen, erwarteten und erhaltenen Werten.
  --csv ERGEBNIS    schreibt dazu die Übersicht (Datei, richtig, gesamt, erster
                    Fehler) für eine Tabellenkalkulation in die Datei ERGEBNIS.
  Status 0: alle Dateien ganz richtig; 1: ein Vergleich ging schief; 2: die
  Tabelle oder eine Datei kann nicht gelesen werden (die übrigen werden trotzdem
  geprüft und jede nicht lesbare wird mit Namen genannt).

Steht weder --print noch --trace auf der Befehlszeile, wird der Zustand einmal
am Ende ausgegeben. Alle Optionen werden geprüft, bevor etwas geschieht.

Ausgabe des Zustands:
  pass K            K Rechenschritte seit dem Laden (der Schritt beim Laden
                    ist Schritt 0)
  in ZEILE WERT     je Eingang des Schaltkreises, in der Reihenfolge der Liste:
                    die Zeile, die --set braucht, und der Wert
  out ZEILE WERT    je Ausgang des Schaltkreises, in der Reihenfolge der Liste;
                    „xxx“ bei ungültigem Wert
  display I TEXT    je Anzeige des Schaltkreises (I ab 0) ihr aktueller Text
Zahlen stehen immer mit Dezimalpunkt, unabhängig von den Ländereinstellungen.

Beispiel:
  trivenor-run addition.trv --set 0=2 --set 1=3 --run 1
  pass 1
  in 0 2
  in 1 3
  out 0 5

Rückgabewerte:
  0  Erfolg (auch für eine leere Datei oder eine mit anderer Versionskennung:
     sie ergeben einen leeren Schaltkreis)
  1  falscher Aufruf, oder --set nennt eine Zeile ohne Eingang
  2  eine Datei kann nicht geöffnet oder geschrieben werden
  3  die Datei hat ein unerwartetes Format
)";
}

}  // namespace trivenor
