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

}  // namespace trivenor
