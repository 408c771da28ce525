#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>

#include "model/component_kind.h"
#include "model/component_registry.h"
#include "model/constant.h"
#include "model/delay_line.h"
#include "model/graph_plot.h"
#include "model/hazard_filter.h"
#include "model/operators.h"
#include "model/output_display.h"
#include "model/sub_circuit.h"

namespace trivenor {
namespace {

using Class = ComponentClass;
using Dialog = PlacingDialog;

template <typename Concrete>
bool IsA(const Component& component) {
  return dynamic_cast<const Concrete*>(&component) != nullptr;
}

// The loader's kind blocks take a component for its class as the registry gives it: a factory
// that made another class would have them read a wrong object.
bool IsOfClass(const Component& component, ComponentClass componentClass) {
  static const std::map<ComponentClass, bool (*)(const Component&)> kChecks = {
      {Class::TwoInputOperator, &IsA<TwoInputOperator>},
      {Class::UnaryFunction, &IsA<UnaryFunction>},
      {Class::DelayLine, &IsA<DelayLine>},
      {Class::Constant, &IsA<Constant>},
      {Class::OutputDisplay, &IsA<OutputDisplay>},
      {Class::HazardFilter, &IsA<HazardFilter>},
      {Class::GraphPlot, &IsA<GraphPlot>},
      {Class::SubCircuit, &IsA<SubCircuit>},
  };
  return kChecks.at(componentClass)(component);
}

/// What the dialog of each kind would answer.
KindParameter AnswerOf(PlacingDialog dialog) {
  switch (dialog) {
    case Dialog::Delay:
      return 4;
    case Dialog::ConstantText:
      return std::string("2.5");
    case Dialog::HazardHold:
      return -2;
    case Dialog::GraphSettings:
      return GraphSettings{};
    default:
      return {};
  }
}

struct NamedKind {
  int code;
  const char* caption;
  ComponentClass componentClass;
  PlacingDialog dialog;
};

// Every kind a code names: the palettes' captions (the two random buttons differ on purpose:
// "Zufall" is the two-input operator, "Random" the one-input function), the class and the dialog
// placing it opens.
constexpr NamedKind kNamedKinds[] = {
    {kind::Plus, "+", Class::TwoInputOperator, Dialog::None},
    {kind::Minus, "-", Class::TwoInputOperator, Dialog::None},
    {kind::Times, "*", Class::TwoInputOperator, Dialog::None},
    {kind::Divide, "/", Class::TwoInputOperator, Dialog::None},
    {kind::Power, "x^y", Class::TwoInputOperator, Dialog::None},
    {kind::And, "und", Class::TwoInputOperator, Dialog::None},
    {kind::Or, "oder", Class::TwoInputOperator, Dialog::None},
    {kind::Equal, "=", Class::TwoInputOperator, Dialog::None},
    {kind::Less, "<", Class::TwoInputOperator, Dialog::None},
    {kind::Greater, ">", Class::TwoInputOperator, Dialog::None},
    {kind::IntegerDivide, "div", Class::TwoInputOperator, Dialog::None},
    {kind::Modulo, "mod", Class::TwoInputOperator, Dialog::None},
    {kind::RandomInteger, "Zufall", Class::TwoInputOperator, Dialog::None},
    {kind::Not, "Nicht", Class::UnaryFunction, Dialog::None},
    {kind::Floor, "abr", Class::UnaryFunction, Dialog::None},
    {kind::Ceiling, "aufr", Class::UnaryFunction, Dialog::None},
    {kind::Log, "log", Class::UnaryFunction, Dialog::None},
    {kind::SquareRoot, "sqr", Class::UnaryFunction, Dialog::None},
    {kind::Sine, "sin", Class::UnaryFunction, Dialog::None},
    {kind::Cosine, "cos", Class::UnaryFunction, Dialog::None},
    {kind::Absolute, "ABS", Class::UnaryFunction, Dialog::None},
    {kind::Tangent, "tan", Class::UnaryFunction, Dialog::None},
    {kind::Truncate, "INT", Class::UnaryFunction, Dialog::None},
    {kind::Sign, "SIG", Class::UnaryFunction, Dialog::None},
    {kind::RandomFraction, "Random", Class::UnaryFunction, Dialog::None},
    {kind::Exp, "e^x", Class::UnaryFunction, Dialog::None},
    {kind::ArcTangent, "Atan", Class::UnaryFunction, Dialog::None},
    {kind::Log10, "lg10", Class::UnaryFunction, Dialog::None},
    {kind::DelayLine, "Verzögern", Class::DelayLine, Dialog::Delay},
    {kind::Constant, "fest", Class::Constant, Dialog::ConstantText},
    {kind::OutputDisplay, "Ausgabe", Class::OutputDisplay, Dialog::OutputTexts},
    {kind::HazardFilter, "Hazard", Class::HazardFilter, Dialog::HazardHold},
    {kind::GraphPlot, "Graph", Class::GraphPlot, Dialog::GraphSettings},
    {kind::SubCircuit, "", Class::SubCircuit, Dialog::SubCircuitFile},
};

TEST(ComponentRegistry, NamesEveryKindWithItsCaptionClassAndDialog) {
  for (const NamedKind& expected : kNamedKinds) {
    SCOPED_TRACE("kind " + std::to_string(expected.code));
    const std::optional<ComponentKind> kind = ComponentKinds().Find(expected.code);
    ASSERT_TRUE(kind);
    EXPECT_EQ(kind->code, expected.code);
    EXPECT_STREQ(kind->caption, expected.caption);
    EXPECT_EQ(kind->componentClass, expected.componentClass);
    EXPECT_EQ(kind->dialog, expected.dialog);
    // Made with what its dialog answers, it is a component of its class and code, labelled as
    // the registry says (a delay and a hazard filter add their numbers).
    const std::unique_ptr<Component> made = kind->Create(AnswerOf(kind->dialog));
    ASSERT_TRUE(made);
    EXPECT_EQ(made->kind, expected.code);
    EXPECT_TRUE(IsOfClass(*made, expected.componentClass));
    EXPECT_EQ(made->label.view().rfind(kind->label, 0), 0u) << made->label;
  }
  EXPECT_EQ(ComponentKinds().Find(kind::DelayLine)->Create(4)->label, "Del 4");
  EXPECT_EQ(ComponentKinds().Find(kind::HazardFilter)->Create(-2)->label, "Haz -2");
  EXPECT_EQ(ComponentKinds().Find(kind::Constant)->Create(std::string("2.5"))->label, "2.5");
}

TEST(ComponentRegistry, CodesNoEntryNamesAreBareOperatorsBelow200AndNothingFrom200On) {
  const struct {
    int code;
    ComponentClass componentClass;
  } bare[] = {{INT_MIN, Class::TwoInputOperator}, {-5, Class::TwoInputOperator},
              {0, Class::TwoInputOperator},       {14, Class::TwoInputOperator},
              {99, Class::TwoInputOperator},      {100, Class::UnaryFunction},
              {116, Class::UnaryFunction},        {199, Class::UnaryFunction}};
  for (const auto& expected : bare) {
    SCOPED_TRACE("kind " + std::to_string(expected.code));
    const std::optional<ComponentKind> kind = ComponentKinds().Find(expected.code);
    ASSERT_TRUE(kind);
    EXPECT_EQ(kind->code, expected.code);
    EXPECT_EQ(kind->componentClass, expected.componentClass);
    EXPECT_EQ(kind->dialog, Dialog::None);
    EXPECT_EQ(kind->palettes, 0u);
    const std::unique_ptr<Component> made = kind->Create();
    EXPECT_EQ(made->kind, expected.code);
    EXPECT_TRUE(IsOfClass(*made, expected.componentClass));
    EXPECT_EQ(made->label, "");
  }
  int named = 0;
  for (int code = 200; code <= 1000; ++code) {
    named += ComponentKinds().Find(code) ? 1 : 0;
  }
  EXPECT_EQ(named, 6) << "201, 202, 206, 208, 209 and 300 only";
  EXPECT_FALSE(ComponentKinds().Find(INT_MAX));
}

TEST(ComponentRegistry, ALabelBelongsToTheClassOfItsCode) {
  // Built directly with a code of the other range, an operator stays unlabelled, as it always
  // has: the label is that of the code's own class.
  EXPECT_EQ(TwoInputOperator(kind::Not).label, "");
  EXPECT_EQ(UnaryFunction(kind::Plus).label, "");
  EXPECT_STREQ(ComponentKinds().Label(kind::Plus, Class::TwoInputOperator), "+");
}

TEST(ComponentRegistry, EachKeyArmsOneKindAndKeyZeroNone) {
  std::set<int> armed;
  for (int key = 1; key < 256; ++key) {
    if (const ComponentKind* kind = ComponentKinds().ForKey(key)) {
      armed.insert(kind->code);
    }
  }
  EXPECT_EQ(armed.size(), 10u);
  // Kinds with fewer keys fill their list with 0, the code of keys the rules do not use.
  EXPECT_EQ(ComponentKinds().ForKey(0), nullptr);

  const auto withKeys = [](int code, std::array<int, 2> keys) {
    ComponentKind kind;
    kind.code = code;
    kind.keys = keys;
    return kind;
  };
  ComponentRegistry registry;
  registry.Register(withKeys(1, {'A'}));
  EXPECT_THROW(registry.Register(withKeys(1, {})), std::logic_error);
  EXPECT_THROW(registry.Register(withKeys(2, {'B', 'A'})), std::logic_error);
  EXPECT_EQ(registry.ForKey('A')->code, 1);
  EXPECT_EQ(registry.ForKey('B'), nullptr) << "a refused kind leaves nothing behind";
}

TEST(ComponentRegistry, PalettesGrowFromTheSimplestAndTellTheirButtonsApartByCaption) {
  std::set<int> previous;
  for (const auto& [palette, count] :
       {std::pair{PaletteKind::Arithmetic, 4u}, std::pair{PaletteKind::BasicFunctions, 17u},
        std::pair{PaletteKind::AllFunctions, 32u}}) {
    SCOPED_TRACE(static_cast<int>(palette));
    std::set<int> codes;
    std::set<std::string> captions;
    for (const ComponentKind* kind : ComponentKinds().OnPalette(palette)) {
      codes.insert(kind->code);
      EXPECT_NE(std::string(kind->caption), "");
      captions.insert(kind->caption);
    }
    EXPECT_EQ(codes.size(), count);
    EXPECT_EQ(captions.size(), count);
    // "Rechnen" lies within "Grundfunktionen", which lies within "Alle Funktionen" but for the
    // two-input random operator.
    previous.erase(kind::RandomInteger);
    EXPECT_TRUE(std::includes(codes.begin(), codes.end(), previous.begin(), previous.end()));
    previous = codes;
  }
}

}  // namespace
}  // namespace trivenor
