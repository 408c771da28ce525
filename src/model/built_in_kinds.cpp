#include <climits>
#include <memory>
#include <string>

#include "model/component_kind.h"
#include "model/component_registry.h"
#include "model/constant.h"
#include "model/delay_line.h"
#include "model/graph_plot.h"
#include "model/hazard_filter.h"
#include "model/operators.h"
#include "model/output_display.h"
#include "model/sub_circuit.h"
#include "model/virtual_key_codes.h"

namespace trivenor {

namespace {

// The factories, one shape per way a class is made.
template <typename Class>
std::unique_ptr<Component> MakeWithCode(int code, const KindParameter&) {
  return std::make_unique<Class>(code);
}
template <typename Class, typename Parameter>
std::unique_ptr<Component> MakeFrom(int, const KindParameter& parameter) {
  return std::make_unique<Class>(std::get<Parameter>(parameter));
}
template <typename Class>
std::unique_ptr<Component> MakeEmpty(int, const KindParameter&) {
  return std::make_unique<Class>();
}

constexpr PaletteSet kNoPalette = 0;
constexpr PaletteSet kAll = PaletteBit(PaletteKind::AllFunctions);
constexpr PaletteSet kBasic = PaletteBit(PaletteKind::BasicFunctions);
constexpr PaletteSet kBasicAndAll = kBasic | kAll;
constexpr PaletteSet kEveryPalette = PaletteBit(PaletteKind::Arithmetic) | kBasicAndAll;

ComponentKind Kind(int code, ComponentClass componentClass, const char* label, const char* caption,
                   PaletteSet palettes, PlacingDialog dialog, ComponentKind::Factory create,
                   std::array<int, 2> keys = {}) {
  return {code, componentClass, label, caption, palettes, dialog, keys, create};
}

ComponentKind TwoInput(int code, const char* label, const char* caption, PaletteSet palettes,
                       std::array<int, 2> keys = {}) {
  return Kind(code, ComponentClass::TwoInputOperator, label, caption, palettes, PlacingDialog::None,
              &MakeWithCode<TwoInputOperator>, keys);
}

ComponentKind Unary(int code, const char* label, const char* caption, PaletteSet palettes,
                    std::array<int, 2> keys = {}) {
  return Kind(code, ComponentClass::UnaryFunction, label, caption, palettes, PlacingDialog::None,
              &MakeWithCode<UnaryFunction>, keys);
}

ComponentRegistry BuiltInKinds() {
  ComponentRegistry kinds;
  // Files may hold operator and function codes that no entry names: they are operators that
  // compute nothing, without a label.
  kinds.RegisterRange(INT_MIN, 99, TwoInput(0, "", "", kNoPalette));
  kinds.RegisterRange(100, 199, Unary(0, "", "", kNoPalette));

  kinds.Register(TwoInput(kind::Plus, "+", "+", kEveryPalette, {vk::kKeypadPlus, vk::kPlus}));
  kinds.Register(TwoInput(kind::Minus, "-", "-", kEveryPalette, {vk::kKeypadMinus, vk::kMinus}));
  kinds.Register(TwoInput(kind::Times, "*", "*", kEveryPalette, {vk::kKeypadMultiply}));
  kinds.Register(TwoInput(kind::Divide, "/", "/", kEveryPalette, {vk::kKeypadDivide}));
  kinds.Register(TwoInput(kind::Power, "h", "x^y", kAll));
  kinds.Register(TwoInput(kind::And, "U", "und", kBasicAndAll));
  kinds.Register(TwoInput(kind::Or, "O", "oder", kBasicAndAll));
  kinds.Register(TwoInput(kind::Equal, "=", "=", kBasicAndAll, {'G'}));
  kinds.Register(TwoInput(kind::Less, "<", "<", kBasicAndAll));
  kinds.Register(TwoInput(kind::Greater, ">", ">", kBasicAndAll));
  kinds.Register(TwoInput(kind::IntegerDivide, "div", "div", kAll));
  kinds.Register(TwoInput(kind::Modulo, "mod", "mod", kAll));
  // "Alle Funktionen" offers the one-input random function instead.
  kinds.Register(TwoInput(kind::RandomInteger, "zuf", "Zufall", kBasic, {'Z'}));

  kinds.Register(Unary(kind::Not, "not", "Nicht", kBasicAndAll));
  kinds.Register(Unary(kind::Floor, "flr", "abr", kAll));
  kinds.Register(Unary(kind::Ceiling, "cei", "aufr", kAll));
  kinds.Register(Unary(kind::Log, "log", "log", kAll));
  kinds.Register(Unary(kind::SquareRoot, "sqr", "sqr", kAll));
  kinds.Register(Unary(kind::Sine, "sin", "sin", kAll));
  kinds.Register(Unary(kind::Cosine, "cos", "cos", kAll));
  kinds.Register(Unary(kind::Absolute, "abs", "ABS", kBasicAndAll));
  kinds.Register(Unary(kind::Tangent, "tan", "tan", kAll));
  kinds.Register(Unary(kind::Truncate, "int", "INT", kBasicAndAll, {'I'}));
  kinds.Register(Unary(kind::Sign, "sgn", "SIG", kBasicAndAll));
  kinds.Register(Unary(kind::RandomFraction, "rnd", "Random", kAll, {'R'}));
  kinds.Register(Unary(kind::Exp, "exp", "e^x", kAll));
  kinds.Register(Unary(kind::ArcTangent, "Atan", "Atan", kAll));
  kinds.Register(Unary(kind::Log10, "lg10", "lg10", kAll));

  kinds.Register(Kind(kind::DelayLine, ComponentClass::DelayLine, "Del ", "Verzögern", kBasicAndAll,
                      PlacingDialog::Delay, &MakeFrom<DelayLine, int>, {'D'}));
  kinds.Register(Kind(kind::Constant, ComponentClass::Constant, "", "fest", kBasicAndAll,
                      PlacingDialog::ConstantText, &MakeFrom<Constant, std::string>));
  kinds.Register(Kind(kind::OutputDisplay, ComponentClass::OutputDisplay, "", "Ausgabe",
                      kBasicAndAll, PlacingDialog::OutputTexts, &MakeEmpty<OutputDisplay>, {'O'}));
  kinds.Register(Kind(kind::HazardFilter, ComponentClass::HazardFilter, "Haz ", "Hazard", kAll,
                      PlacingDialog::HazardHold, &MakeFrom<HazardFilter, int>));
  kinds.Register(Kind(kind::GraphPlot, ComponentClass::GraphPlot, "", "Graph", kAll,
                      PlacingDialog::GraphSettings, &MakeFrom<GraphPlot, GraphSettings>));
  // Placed through the sub-circuit dialog, never from a palette.
  kinds.Register(Kind(kind::SubCircuit, ComponentClass::SubCircuit, "", "", kNoPalette,
                      PlacingDialog::SubCircuitFile, &MakeEmpty<SubCircuit>));
  return kinds;
}

}  // namespace

const ComponentRegistry& ComponentKinds() {
  static const ComponentRegistry kinds = BuiltInKinds();
  return kinds;
}

}  // namespace trivenor
