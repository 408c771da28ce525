#pragma once

#include <QString>
#include <QWidget>

#include "shell/command_actions.h"
#include "shell/print_switches.h"
#include "view/trivenor_view.h"

namespace trivenor {

/// The choices of the export dialog, in the order it lists them: a picture as the screen shows
/// it, or a worksheet, each as PNG or SVG.
inline constexpr const char* kPictureFilters[] = {
    "PNG-Bild (*.png)",
    "SVG-Bild (*.svg)",
    "Arbeitsblatt als PNG-Bild (*.png)",
    "Arbeitsblatt als SVG-Bild (*.svg)",
};

/// Connects "Als Bild exportieren...": the save dialog with the choices above, then the picture
/// of the view's circuit; a failure is reported over `window`.
void ConnectPictureCommands(const CommandActions& actions, CTrivenorView& view, QWidget& window);

class CMainFrame;

/// The picture switch of the command line: opens its circuit in `frame` and writes the picture,
/// in the format the picture's name ends in, without showing the window. False when anything
/// failed; the failure has been reported.
bool ExportFromCommandLine(CMainFrame& frame, const PictureSwitch& picture);

}  // namespace trivenor
