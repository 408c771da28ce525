#include "document/kind_blocks.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

#include "document/circuit_serializer.h"
#include "document/dynamic_copies.h"
#include "document/field_checks.h"
#include "document/file_limits.h"
#include "model/delay_line.h"
#include "model/hazard_filter.h"
#include "model/output_display.h"

namespace trivenor {

namespace {

bool Loading(const KindBlock& block) {
  return !block.archive.IsStoring();
}

void NoBlock(KindBlock& block) {
  if (Loading(block)) {
    block.component = block.kind.Create();
  }
}

void DelayLength(KindBlock& block) {
  std::int32_t length = Loading(block) ? 0 : static_cast<DelayLine&>(*block.component).length;
  block.archive.Int32(length);
  if (Loading(block)) {
    Checked(length, INT32_MIN, file_limits::kMaxDelayLength);
    block.context->ChargeSlots(static_cast<std::size_t>(std::max(length, 1)));
    block.component = block.kind.Create(length);
  }
}

void ConstantText(KindBlock& block) {
  std::string text = Loading(block) ? std::string() : block.component->label.str();
  block.archive.Text(text);
  if (Loading(block)) {
    block.component = block.kind.Create(std::move(text));
  }
}

void OutputTexts(KindBlock& block) {
  if (Loading(block)) {
    block.component = block.kind.Create();
  }
  auto& texts = static_cast<OutputDisplay&>(*block.component).texts;
  // Each entry is announced by a 1; a 0 ends the table.
  for (std::size_t i = 0;; ++i) {
    std::int32_t more = i < texts.size() ? 1 : 0;
    block.archive.Int32(more);
    if (more == 0) {
      return;
    }
    if (Loading(block)) {
      texts.emplace_back();
    }
    block.archive.Float(texts[i].value);
    block.archive.Text(texts[i].text);
  }
}

void HazardHold(KindBlock& block) {
  std::int32_t hold = Loading(block) ? 0 : static_cast<HazardFilter&>(*block.component).holdTicks;
  block.archive.Int32(hold);
  if (Loading(block)) {
    block.component = block.kind.Create(hold);
  }
}

void GraphSettingsBlock(KindBlock& block) {
  Archive& archive = block.archive;
  GraphSettings settings;
  if (!Loading(block)) {
    const auto& graph = static_cast<GraphPlot&>(*block.component);
    settings = {graph.continuous, graph.autoX,  graph.autoY,  graph.heightLines,
                graph.widthChars, graph.points, graph.period, graph.yMin0,
                graph.yMax0,      graph.xMin0,  graph.xMax0};
  }
  std::int32_t flags[3] = {settings.continuous, settings.autoX, settings.autoY};
  for (auto& flag : flags) {
    archive.Int32(flag);
  }
  archive.Int32(settings.heightLines);
  archive.Int32(settings.widthChars);
  archive.Int32(settings.points);
  archive.Int32(settings.period);
  archive.Float(settings.yMin);
  archive.Float(settings.yMax);
  archive.Float(settings.xMin);
  archive.Float(settings.xMax);
  if (!Loading(block)) {
    return;
  }
  settings.continuous = flags[0] != 0;
  settings.autoX = flags[1] != 0;
  settings.autoY = flags[2] != 0;
  Checked(settings.heightLines, 1, file_limits::kMaxGraphSize);
  Checked(settings.widthChars, 1, file_limits::kMaxGraphSize);
  Checked(settings.points, 1, file_limits::kMaxGraphPoints);
  block.context->ChargeSlots(static_cast<std::size_t>(settings.points) *
                             (settings.continuous ? 1 : 2));
  block.component = block.kind.Create(settings);
}

void PlacedCircuit(KindBlock& block) {
  if (!Loading(block)) {
    SerializeCircuit(block.archive, static_cast<SubCircuit&>(*block.component), false, nullptr,
                     &block.terminals);
    return;
  }
  std::unique_ptr<Component> placed = block.kind.Create();
  auto& stored = static_cast<SubCircuit&>(*placed);
  SerializeCircuit(block.archive, stored, false, block.context, &block.terminals);
  if (!stored.path.empty()) {
    // The fresh copy keeps the stored copy's wiring: the numbers read above.
    if (auto fresh = ReadDynamicCopy(stored, *block.context)) {
      placed = std::move(fresh);
    }
  }
  block.component = std::move(placed);
}

/// By class, not by code: every kind of a class stores the same block, and the operator classes
/// take codes that no entry names.
constexpr struct {
  ComponentClass componentClass;
  void (*exchange)(KindBlock&);
} kBlocks[] = {
    {ComponentClass::TwoInputOperator, &NoBlock},     {ComponentClass::UnaryFunction, &NoBlock},
    {ComponentClass::DelayLine, &DelayLength},        {ComponentClass::Constant, &ConstantText},
    {ComponentClass::OutputDisplay, &OutputTexts},    {ComponentClass::HazardFilter, &HazardHold},
    {ComponentClass::GraphPlot, &GraphSettingsBlock}, {ComponentClass::SubCircuit, &PlacedCircuit},
};

}  // namespace

void ExchangeKindBlock(KindBlock& block) {
  for (const auto& rule : kBlocks) {
    if (rule.componentClass == block.kind.componentClass) {
      rule.exchange(block);
      return;
    }
  }
  throw std::logic_error("a component class without a kind block");
}

}  // namespace trivenor
