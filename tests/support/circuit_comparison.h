#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "model/delay_line.h"
#include "model/graph_plot.h"
#include "model/hazard_filter.h"
#include "model/output_display.h"
#include "model/sub_circuit.h"

namespace trivenor::test_support {

/// Compares everything a pass can change in two circuits of the same structure, floats bit for
/// bit: every port's value and flags, the rows, the shown texts, and the state of delays, hazard
/// filters and graphs, inside sub-circuits too. Names the first difference; empty when none.
class StateComparison {
 public:
  std::string operator()(const Component& a, const Component& b) {
    Compare(a, b, "circuit");
    return difference_;
  }

 private:
  static bool Same(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
  }
  static bool Same(const std::vector<float>& a, const std::vector<float>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](float x, float y) { return Same(x, y); });
  }

  void Check(bool same, const std::string& where) {
    if (!same && difference_.empty()) {
      difference_ = where;
    }
  }

  void Compare(const Port& a, const Port& b, const std::string& where) {
    Check(Same(a.value, b.value) && a.valid == b.valid && a.fresh == b.fresh &&
              a.unchanged == b.unchanged,
          where);
  }

  void Compare(const PortList& a, const PortList& b, const std::string& where) {
    Check(a.size() == b.size(), where + " count");
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
      Compare(*a[i], *b[i], where + " " + std::to_string(i));
    }
  }

  void Compare(const Component& a, const Component& b, const std::string& where) {
    Check(a.kind == b.kind && a.lastRow == b.lastRow && a.label == b.label, where + " fields");
    Compare(a.inputs, b.inputs, where + " input");
    Compare(a.outputs, b.outputs, where + " output");
    if (const auto* delay = dynamic_cast<const DelayLine*>(&a)) {
      const auto& other = dynamic_cast<const DelayLine&>(b);
      Check(delay->position == other.position && Same(delay->buffer, other.buffer),
            where + " delay");
    } else if (const auto* hazard = dynamic_cast<const HazardFilter*>(&a)) {
      const auto& other = dynamic_cast<const HazardFilter&>(b);
      Check(hazard->count == other.count && Same(hazard->lastValue, other.lastValue),
            where + " hazard");
    } else if (const auto* display = dynamic_cast<const OutputDisplay*>(&a)) {
      Check(display->textLength == dynamic_cast<const OutputDisplay&>(b).textLength,
            where + " display");
    } else if (const auto* graph = dynamic_cast<const GraphPlot*>(&a)) {
      const auto& other = dynamic_cast<const GraphPlot&>(b);
      Check(graph->position == other.position && graph->tick == other.tick &&
                Same({graph->xMin, graph->xMax, graph->yMin, graph->yMax},
                     {other.xMin, other.xMax, other.yMin, other.yMax}) &&
                Same(graph->ySamples, other.ySamples) && Same(graph->xSamples, other.xSamples),
            where + " graph");
    } else if (const auto* circuit = dynamic_cast<const SubCircuit*>(&a)) {
      const auto& other = dynamic_cast<const SubCircuit&>(b);
      const auto& parts = circuit->components;
      Check(parts.size() == other.components.size() &&
                circuit->junctions.size() == other.junctions.size(),
            where + " structure");
      for (std::size_t i = 0; i < std::min(parts.size(), other.components.size()); ++i) {
        Compare(*parts[i], *other.components[i], where + "/" + std::to_string(i));
      }
      for (std::size_t i = 0; i < std::min(circuit->junctions.size(), other.junctions.size());
           ++i) {
        Compare(circuit->junctions[i]->port, other.junctions[i]->port,
                where + " junction " + std::to_string(i));
      }
    }
  }

  std::string difference_;
};

}  // namespace trivenor::test_support
