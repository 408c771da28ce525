#pragma once

#include "shell/command_actions.h"
#include "view/trivenor_view.h"

namespace trivenor {

/// Connects what a class watching the circuit needs: "Anhalten" and "Einzelschritt", the zoom
/// ("Vergrößern", "Verkleinern", "Originalgröße", "An Fenster anpassen", kept in the user's
/// settings from run to run) and "Werte an Leitungen". The view starts at the kept zoom.
void ConnectClassroomCommands(const CommandActions& actions, CTrivenorView& view);

}  // namespace trivenor
