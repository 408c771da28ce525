#pragma once

#include <span>

namespace trivenor {

/// The command ids of the menus, the toolbar and the keyboard. The numbers are the ones the
/// original framework used, so the ids in the menu table read the same as in the documentation
/// of the commands.
enum CommandId : int {
  kCommandNone = 0,  ///< a separator in a menu or the toolbar
  kFileNew = 57600,
  kFileOpen = 57601,
  kFileSave = 57603,
  kFileSaveAs = 57604,
  kFilePrintSetup = 57606,
  kFilePrint = 57607,
  kFilePrintPreview = 57609,
  kFileRecent = 57616,  ///< "Letzte Datei": where the recent files appear
  kEditUndo = 57643,
  kEditRedo = 57644,
  kAppAbout = 57664,
  kAppExit = 57665,
  kHelpTopics = 57667,
  kHelp = 57670,         ///< F1
  kContextHelp = 57669,  ///< Shift+F1
  kViewToolbar = 59392,
  kViewStatusBar = 59393,
  kColourBlue = 32771,
  kColourRed = 32772,
  kColourYellow = 32773,
  kColourGreen = 32774,
  kColourBlack = 32775,
  kCanvasFont = 32776,
  kPaletteArithmetic = 32779,
  kPaletteBasic = 32780,
  kPaletteAll = 32781,
  kThickness1 = 32782,
  kThickness2 = 32783,
  kThickness4 = 32784,
  kCanvasWidth = 32786,
  kSubCircuits = 32787,
  kCircuitInfo = 32788,
  kReset = 32789,
  kSpeed = 32790,
  kDynamicPath = 32791,
  kDynamicLines = 32793,
  // The classroom commands: a range of their own, clear of the ids above.
  kPause = 32850,
  kStep = 32851,
  kZoomIn = 32852,
  kZoomOut = 32853,
  kZoomOriginal = 32854,
  kZoomFit = 32855,
  kExportPicture = 32856,
  kPrintWorksheet = 32857,
  kWireValues = 32858,
  // The exercise checks.
  kCheckTask = 32860,
  kMakeCheckTable = 32861,
  kOpenExercises = 32862,
};

/// One command as the user meets it. `prompt` is shown in the status bar while the command is
/// hovered; a part after a line break is the toolbar tooltip instead.
struct CommandInfo {
  CommandId id;
  const char* text;  ///< German, with "&" before the mnemonic letter
  /// Portable key sequence text ("Ctrl+N"), empty for none; several keys separated by "; ",
  /// the first of them shown in the menu.
  const char* shortcut;
  const char* prompt;  ///< empty for none
  bool checkable;
};

/// A menu of the menu bar: its title and its commands in order, kCommandNone for a separator.
struct MenuInfo {
  const char* title;
  std::span<const CommandId> items;
};

/// Every command, menu commands first in menu order, then the keyboard-only ones.
std::span<const CommandInfo> AllCommands();
/// The menu bar, left to right.
std::span<const MenuInfo> MenuBarLayout();
/// The toolbar buttons, left to right, kCommandNone for a separator.
std::span<const CommandId> ToolBarLayout();
/// The keys the main window takes for itself besides the commands' shortcuts, which no command
/// here serves (the usual editing and pane keys): they do nothing, and the editing never sees
/// them. A key that is also a command's shortcut runs that command.
std::span<const char* const> KeysWithoutCommand();

}  // namespace trivenor
