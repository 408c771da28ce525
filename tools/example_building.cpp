#include "tools/example_building.h"

#include "model/component_kind.h"
#include "model/graph_plot.h"
#include "model/utf8_text.h"

namespace trivenor::examples {

void SizeLikeEditor(Component& component) {
  if (component.kind == kind::GraphPlot) {
    // A graph sizes itself in characters and lines; the view's character width is the font's
    // average width plus 2.
    const auto& graph = static_cast<const GraphPlot&>(component);
    constexpr int kViewCharWidth = kLabelCharWidth + 2;
    component.width = (kViewCharWidth + 1) * graph.widthChars + 10;
    component.height = graph.heightLines * kLineHeight + 10;
    return;
  }
  const int textWidth = CharacterCount(component.label) * kLabelCharWidth;
  component.width = textWidth / 10 * 10 + 20;
  component.height = component.lastRow * 10 + 10;
  if (component.height < 2 * kLineHeight + 10) {
    component.height = 2 * kLineHeight / 10 * 10 + 20;
  }
}

Port& AddInputTerminal(SubCircuit& circuit, int slot, PortRole role) {
  return *circuit.inputs.emplace_back(std::make_unique<Port>(role, slot));
}

Port& AddOutputTerminal(SubCircuit& circuit, int slot, PortRole role) {
  return *circuit.outputs.emplace_back(std::make_unique<Port>(role, slot));
}

void Connect(Port& consumer, Port& source) {
  consumer.source = &source;
  consumer.fresh = true;
}

Constant& PlaceConstant(SubCircuit& circuit, int x, int y, std::string number) {
  Constant& constant = Place<Constant>(circuit, x, y, std::move(number));
  constant.Evaluate();
  return constant;
}

}  // namespace trivenor::examples
