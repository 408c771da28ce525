#pragma once

#include <QFont>
#include <QWidget>
#include <optional>

#include "shell/command_actions.h"
#include "view/trivenor_view.h"

namespace trivenor {

/// Connects the commands that change how the circuit looks: the five colours, the three line
/// thicknesses, "Dynamische Linien" and "Schrift". The font dialog opens over `dialogParent`.
void ConnectDisplayCommands(const CommandActions& actions, CTrivenorView& view,
                            QWidget& dialogParent);

/// "Schrift": the font dialog, starting at `initial`. The chosen font, or nothing on cancel.
std::optional<QFont> AskCanvasFont(QWidget& parent, const QFont& initial);

}  // namespace trivenor
