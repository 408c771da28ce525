#pragma once

#include <QSettings>

namespace trivenor {

/// Names the per-user settings: the organisation is the one the original framework wrote, so
/// the settings of the program keep living in one familiar place.
inline constexpr char kOrganizationName[] = "Local AppWizard-Generated Applications";
inline constexpr char kApplicationName[] = "Trivenor";

/// The per-user settings of the program (a file under the user's configuration folder). Named
/// explicitly rather than through the application object, so every caller, tests included,
/// reaches the same place.
QSettings UserSettings();

/// How the print preview shows the page: 1 alone, 2 as one of two facing pages, as it did the
/// last time ("Settings/PreviewPages"). A missing or unknown value reads as 1.
int PreviewPages();
void SetPreviewPages(int pages);

/// The canvas's zoom in percent as it was set last ("Settings/Zoom"); 100 when missing. The
/// view brings any other value into its range.
int CanvasZoom();
void SetCanvasZoom(int percent);

}  // namespace trivenor
