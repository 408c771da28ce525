#pragma once

#include <string>

#include "model/component.h"

namespace trivenor {

/// The text a body shows on the screen: the label, followed by "(d)" for a dynamic sub-circuit
/// (one that is read again from its file). Paper shows the bare label.
std::string ShownLabel(const Component& component);

/// Sizes a body around a text `textWidth` wide: a multiple of 10 that leaves 11 to 20 units of
/// margin, and `lastRow` rows high but never lower than two text lines with a margin. The
/// editor sizes every component with it before any is drawn, and `Draw` again.
void SizeBody(Component& component, int textWidth, int lineHeight);

}  // namespace trivenor
