#include "shell/commands.h"

#include <array>

namespace trivenor {

namespace {

constexpr char kColourPrompt[] = "Ändert die Farbe des Objekts";
constexpr char kThicknessPrompt[] = "Liniendicke";

constexpr std::array kCommands = {
    // "&Datei"
    CommandInfo{kFileNew, "&Neu", "Ctrl+N", "Erstellt ein neues Dokument.\nNeu", false},
    CommandInfo{kFileOpen, "Ö&ffnen...", "Ctrl+O", "Öffnet ein bestehendes Dokument.\nÖffnen",
                false},
    CommandInfo{kFileSave, "S&peichern", "Ctrl+S", "Speichert das aktive Dokument.\nSpeichern",
                false},
    CommandInfo{kFileSaveAs, "Speichern &unter...", "",
                "Speichert das aktive Dokument unter neuem Namen.\nSpeichern unter", false},
    // Not "Als &Bild": B is the key of "&Beenden" in the same menu.
    CommandInfo{kExportPicture, "Als Bild e&xportieren...", "",
                "Speichert den Schaltkreis als Bild oder als Arbeitsblatt.\nAls Bild exportieren",
                false},
    CommandInfo{kFilePrint, "&Drucken...", "Ctrl+P", "Druckt das aktive Dokument.\nDrucken", false},
    CommandInfo{kPrintWorksheet, "Arbeitsblatt dru&cken...", "",
                "Druckt den Schaltkreis ohne die Ergebnisse.\nArbeitsblatt drucken", false},
    CommandInfo{kFilePrintPreview, "Sei&tenansicht", "", "Zeigt ganze Seiten an.\nSeitenansicht",
                false},
    CommandInfo{kFilePrintSetup, "Drucker&einrichtung...", "",
                "Ändert den Drucker und die Druckoptionen.\nDruckereinrichtung", false},
    CommandInfo{kFileRecent, "Letzte Datei", "", "Öffnet dieses Dokument.", false},
    CommandInfo{kAppExit, "&Beenden", "",
                "Verläßt die Anwendung; fragt, ob Dokumente gespeichert werden sollen.\nBeenden",
                false},
    // "&Bearbeiten"
    CommandInfo{kEditUndo, "&Rückgängig", "Ctrl+Z",
                "Macht die letzte Änderung rückgängig.\nRückgängig", false},
    CommandInfo{kEditRedo, "&Wiederherstellen", "Ctrl+Y; Ctrl+Shift+Z",
                "Stellt die zuletzt rückgängig gemachte Änderung wieder her.\nWiederherstellen",
                false},
    // "Bauteile"
    CommandInfo{kPaletteArithmetic, "Rechenfunktionen", "", "Klasse 1/2", false},
    CommandInfo{kPaletteBasic, "Grundfunktionen", "", "Klasse 3/4", false},
    CommandInfo{kPaletteAll, "Alle Funktionen", "", "wissenschaftliche Funktionen etc.", false},
    CommandInfo{kSubCircuits, "Subschaltkreise", "",
                "Andere Schaltkreise als Subschaltkreise einfügen", false},
    CommandInfo{kDynamicPath, "Pfad festlegen", "",
                "Legt für Dynamische Subschaltkreise den Pfad fest", false},
    CommandInfo{kReset, "Reset", "", "Setzt kurzzeitig alles auf Null", false},
    CommandInfo{kPause, "&Anhalten", "",
                "Hält die Berechnungen an oder lässt sie weiterlaufen.\nAnhalten", true},
    CommandInfo{kStep, "&Einzelschritt", "F8",
                "Führt einen einzelnen Berechnungsschritt aus.\nEinzelschritt", false},
    // "&Ansicht"
    CommandInfo{kViewToolbar, "&Symbolleiste", "",
                "Blendet die Symbolleiste ein oder aus.\nSymbolleiste ein-/ausschalten", true},
    CommandInfo{kViewStatusBar, "S&tatusleiste", "",
                "Blendet die Statusleiste ein oder aus.\nStatusleiste ein-/ausschalten", true},
    CommandInfo{kCanvasFont, "Schrift", "", "Schrift ändern", false},
    CommandInfo{kCanvasWidth, "Fensterbreite", "", "Eingabe der Fensterbreite", false},
    CommandInfo{kSpeed, "Geschwindigkeit", "", "Bestimmt Geschwindigkeit der Berechnungen", false},
    CommandInfo{kZoomIn, "&Vergrößern", "Ctrl++", "Vergrößert die Darstellung.\nVergrößern", false},
    CommandInfo{kZoomOut, "Ver&kleinern", "Ctrl+-", "Verkleinert die Darstellung.\nVerkleinern",
                false},
    CommandInfo{kZoomOriginal, "&Originalgröße", "Ctrl+0",
                "Zeigt den Schaltkreis in Originalgröße.\nOriginalgröße", false},
    CommandInfo{kZoomFit, "An &Fenster anpassen", "",
                "Passt die Darstellung an die Größe des Fensters an.\nAn Fenster anpassen", false},
    CommandInfo{kWireValues, "Werte an Leitungen", "", "Zeigt an jeder Leitung ihren Wert", true},
    // "Darstellung"
    CommandInfo{kColourBlue, "blau", "", kColourPrompt, false},
    CommandInfo{kColourRed, "rot", "", kColourPrompt, false},
    CommandInfo{kColourYellow, "gelb", "", kColourPrompt, false},
    CommandInfo{kColourGreen, "grün", "", kColourPrompt, false},
    CommandInfo{kColourBlack, "schwarz", "", kColourPrompt, false},
    CommandInfo{kThickness1, "Dicke 1", "", kThicknessPrompt, false},
    CommandInfo{kThickness2, "Dicke 2", "", kThicknessPrompt, false},
    CommandInfo{kThickness4, "Dicke 4", "", kThicknessPrompt, false},
    CommandInfo{kDynamicLines, "Dynamische Linien", "", "", false},
    // "E&xtras"
    CommandInfo{kCheckTask, "Aufgabe &prüfen", "F9",
                "Prüft den Schaltkreis mit der Prüftabelle der Aufgabe", false},
    CommandInfo{kMakeCheckTable, "Prüftabelle &erstellen...", "",
                "Erstellt eine Prüftabelle mit den Ergebnissen dieses Schaltkreises", false},
    CommandInfo{kOpenExercises, "Aufgaben ö&ffnen...", "",
                "Öffnet eine der mitgelieferten Aufgaben", false},
    // "&?"
    CommandInfo{kHelpTopics, "&Hilfethemen", "", "Listet die Hilfethemen auf.\nHilfethemen", false},
    CommandInfo{kAppAbout, "Inf&o über Trivenor...", "",
                "Zeigt Programminformationen, Versionsnummer und Copyright an.\nInfo", false},
    CommandInfo{kCircuitInfo, "Info zum Schaltkreis", "",
                "Zeigt Titel und Besitzer des Schaltkreises", false},
    // Keyboard only
    CommandInfo{kHelp, "Hilfe", "F1", "", false},
    CommandInfo{kContextHelp, "Kontexthilfe", "Shift+F1", "", false},
};

// One line per group between separators, as the menus show them.
// clang-format off
constexpr CommandId kFileMenu[] = {
    kFileNew, kFileOpen, kFileSave, kFileSaveAs, kExportPicture, kCommandNone,
    kFilePrint, kPrintWorksheet, kFilePrintPreview, kFilePrintSetup, kCommandNone,
    kFileRecent, kCommandNone,
    kAppExit,
};
constexpr CommandId kEditMenu[] = {
    kEditUndo, kEditRedo,
};
constexpr CommandId kComponentsMenu[] = {
    kPaletteArithmetic, kPaletteBasic, kPaletteAll, kCommandNone,
    kSubCircuits, kDynamicPath, kCommandNone,
    kReset, kPause, kStep,
};
constexpr CommandId kViewMenu[] = {
    kViewToolbar, kViewStatusBar, kCommandNone,
    kCanvasFont, kCanvasWidth, kSpeed, kCommandNone,
    kZoomIn, kZoomOut, kZoomOriginal, kZoomFit, kCommandNone,
    kWireValues,
};
constexpr CommandId kAppearanceMenu[] = {
    kColourBlue, kColourRed, kColourYellow, kColourGreen, kColourBlack, kCommandNone,
    kThickness1, kThickness2, kThickness4, kCommandNone,
    kDynamicLines,
};
constexpr CommandId kExtrasMenu[] = {
    kCheckTask, kMakeCheckTable, kCommandNone,
    kOpenExercises,
};
constexpr CommandId kHelpMenu[] = {
    kHelpTopics, kCommandNone,
    kAppAbout, kCircuitInfo,
};
// clang-format on

constexpr std::array kMenuBar = {
    MenuInfo{"&Datei", kFileMenu},
    MenuInfo{"&Bearbeiten", kEditMenu},
    MenuInfo{"Bauteile", kComponentsMenu},
    MenuInfo{"&Ansicht", kViewMenu},
    MenuInfo{"Darstellung", kAppearanceMenu},
    MenuInfo{"E&xtras", kExtrasMenu},
    MenuInfo{"&?", kHelpMenu},
};

constexpr CommandId kToolBar[] = {kFileNew,     kFileOpen,  kFileSave,    kEditUndo, kEditRedo,
                                  kCommandNone, kFilePrint, kCommandNone, kPause,    kStep};

// One line per action the framework once gave them: cut, copy, paste, the second key of undo
// (Ctrl+Z and Ctrl+Y are the undo and redo commands' own), the next and the previous pane.
// clang-format off
constexpr const char* kKeysWithoutCommand[] = {
    "Ctrl+X", "Shift+Del",
    "Ctrl+C", "Ctrl+Ins",
    "Ctrl+V", "Shift+Ins",
    "Alt+Backspace",
    "F6",
    "Shift+F6",
};
// clang-format on

}  // namespace

std::span<const CommandInfo> AllCommands() {
  return kCommands;
}

std::span<const MenuInfo> MenuBarLayout() {
  return kMenuBar;
}

std::span<const CommandId> ToolBarLayout() {
  return kToolBar;
}

std::span<const char* const> KeysWithoutCommand() {
  return kKeysWithoutCommand;
}

}  // namespace trivenor
