#pragma once

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "model/component.h"
#include "model/graph_plot.h"

namespace trivenor {

/// The classes that implement the kinds. Kinds of one class (the operators, say) share what a
/// file stores for them and how they are made; the code tells them apart.
enum class ComponentClass {
  TwoInputOperator,
  UnaryFunction,
  DelayLine,
  Constant,
  OutputDisplay,
  HazardFilter,
  GraphPlot,
  SubCircuit,
};

/// What placing a kind asks of the user.
enum class PlacingDialog {
  None,
  Delay,           ///< "Delay": the length, before the component exists
  ConstantText,    ///< "Wert Eingeben": the text, before the component exists
  HazardHold,      ///< "HAZARD": the hold count, before the component exists
  GraphSettings,   ///< "Graphenfenster": the settings, before the component exists
  OutputTexts,     ///< "Ausgabetexte": the table of the display just made
  SubCircuitFile,  ///< the file chosen in the sub-circuit dialog, read to become the component
};

/// The three palettes, from the simplest to the complete one.
enum class PaletteKind { Arithmetic, BasicFunctions, AllFunctions };
inline constexpr int kPaletteCount = 3;

/// A set of palettes, one bit per PaletteKind.
using PaletteSet = unsigned;
constexpr PaletteSet PaletteBit(PaletteKind palette) {
  return 1u << static_cast<unsigned>(palette);
}

/// What a component is made from: nothing, a number (a delay's length, a hazard filter's hold
/// count), a text (a constant's) or a graph's settings.
using KindParameter = std::variant<std::monostate, int, std::string, GraphSettings>;

/// One kind of component: everything the palettes, the editor and the loader know of it by its
/// code.
struct ComponentKind {
  using Factory = std::unique_ptr<Component> (*)(int code, const KindParameter& parameter);

  int code = 0;
  ComponentClass componentClass = ComponentClass::TwoInputOperator;
  /// What a new component's label starts with (UTF-8); a delay or a hazard filter adds its
  /// number, a constant and a placed circuit have their text and title instead.
  const char* label = "";
  /// The text of its palette buttons (UTF-8); empty where no palette offers it.
  const char* caption = "";
  PaletteSet palettes = 0;
  PlacingDialog dialog = PlacingDialog::None;
  /// The virtual keys that arm placing it (0: none).
  std::array<int, 2> keys{};
  Factory create = nullptr;

  bool OnPalette(PaletteKind palette) const { return (palettes & PaletteBit(palette)) != 0; }
  /// A new component of this kind from `parameter`, which must be what its class is made from.
  std::unique_ptr<Component> Create(const KindParameter& parameter = {}) const {
    return create(code, parameter);
  }
};

/// The kinds by their codes, registered once: a kind is one entry, its class does the rest.
/// Files may hold codes no entry names; a range registered for them makes them kinds too.
class ComponentRegistry {
 public:
  /// A code or a key registered twice is a programming error (std::logic_error).
  void Register(const ComponentKind& kind);
  /// Every code from `lowest` to `highest` that no entry names becomes a kind like `unnamed`.
  void RegisterRange(int lowest, int highest, const ComponentKind& unnamed);

  /// The kind `code` names, if any.
  std::optional<ComponentKind> Find(int code) const;
  /// The registered kind that `virtualKey` arms, or null.
  const ComponentKind* ForKey(int virtualKey) const;
  /// The registered kinds `palette` offers, in code order.
  std::vector<const ComponentKind*> OnPalette(PaletteKind palette) const;
  /// The label a new component of `code` starts with, provided the code is a kind of
  /// `componentClass`; empty otherwise.
  const char* Label(int code, ComponentClass componentClass) const;

 private:
  struct Range {
    int lowest;
    int highest;
    ComponentKind unnamed;
  };

  std::map<int, ComponentKind> named_;
  std::vector<Range> ranges_;
};

/// The kinds this program knows.
const ComponentRegistry& ComponentKinds();

}  // namespace trivenor
