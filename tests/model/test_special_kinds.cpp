#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "model/constant.h"
#include "model/delay_line.h"
#include "model/graph_plot.h"
#include "model/hazard_filter.h"
#include "model/output_display.h"

namespace trivenor {
namespace {

// Puts a value on a component's first input as a pull would, then runs one evaluation.
bool Feed(Component& component, float value, bool valid = true) {
  component.inputs[0]->value = value;
  component.inputs[0]->valid = valid;
  return component.Evaluate();
}

TEST(DelayLine, LengthThreeDeliversTwoEvaluationsLater) {
  DelayLine delay(3);
  const float inputs[] = {1, 2, 3, 3, 5, 0};
  const float outputs[] = {0, 0, 1, 2, 3, 3};
  const bool changed[] = {false, false, true, true, true, false};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(changed[i], Feed(delay, inputs[i]));
    EXPECT_EQ(outputs[i], delay.outputs[0]->value);
    EXPECT_TRUE(delay.outputs[0]->valid);
  }
}

TEST(DelayLine, LengthOneDeliversInTheSameEvaluation) {
  for (const int requested : {0, 1}) {
    DelayLine delay(requested);
    EXPECT_TRUE(Feed(delay, 4));
    EXPECT_EQ(4.0f, delay.outputs[0]->value);
    EXPECT_FALSE(Feed(delay, 4));
  }
}

TEST(DelayLine, InvalidInputTravelsAsAValidZero) {
  DelayLine delay(2);
  delay.outputs[0]->valid = false;
  Feed(delay, 7, false);
  EXPECT_TRUE(delay.outputs[0]->valid);
  Feed(delay, 1);
  EXPECT_EQ(0.0f, delay.outputs[0]->value);

  DelayLine direct(1);
  EXPECT_FALSE(Feed(direct, 7, false));
  EXPECT_EQ(0.0f, direct.inputs[0]->value) << "length 1 zeroes the input port itself";
  EXPECT_EQ(0.0f, direct.outputs[0]->value);
  EXPECT_TRUE(direct.outputs[0]->valid);
}

TEST(DelayLine, ResetEmptiesTheRingAndZeroesThePorts) {
  DelayLine delay(4);
  for (const float value : {1.0f, 2.0f, 3.0f, 4.0f}) {
    Feed(delay, value);
  }
  delay.outputs[0]->valid = false;
  delay.inputs[0]->fresh = false;
  delay.Reset();
  EXPECT_EQ(std::vector<float>(3, 0.0f), delay.buffer);
  EXPECT_EQ(0.0f, delay.outputs[0]->value);
  EXPECT_EQ(0.0f, delay.inputs[0]->value);
  EXPECT_TRUE(delay.inputs[0]->fresh);
  EXPECT_FALSE(delay.outputs[0]->valid) << "Reset leaves validity alone";
  for (int i = 0; i < 3; ++i) {
    Feed(delay, 9);
    EXPECT_EQ(0.0f, delay.outputs[0]->value) << "nothing from before the reset comes out";
  }

  DelayLine direct(1);
  Feed(direct, 6);
  direct.Reset();
  EXPECT_EQ(0.0f, direct.outputs[0]->value);
  EXPECT_TRUE(direct.buffer.empty());
}

TEST(Constant, ReadsItsLabelAsADecimalNumber) {
  const struct {
    const char* label;
    float expected;
  } cases[] = {
      {" -2.5e1x", -25}, {"abc", 0}, {"3,7", 3}, {"", 0}, {"0.1", 0.1f}, {"-", 0},
  };
  for (const auto& c : cases) {
    Constant constant(c.label);
    EXPECT_FALSE(constant.Evaluate());
    EXPECT_EQ(c.expected, constant.outputs[0]->value) << '"' << c.label << '"';
  }
}

TEST(Constant, LeavesTheValidFlagAlone) {
  Constant constant("8");
  constant.outputs[0]->valid = false;
  constant.Evaluate();
  EXPECT_FALSE(constant.outputs[0]->valid);
  EXPECT_EQ(8.0f, constant.outputs[0]->value);
}

TEST(OutputDisplay, ShowsTheFirstMatchingTextOrTheNumber) {
  OutputDisplay display;
  display.texts = {{1, "eins"}, {2, "zwei"}, {1, "nochmal eins"}};
  const struct {
    float value;
    const char* label;
  } cases[] = {
      {1, "eins"},         {2, "zwei"},        {1.5f, "1.5"},     {1234567, "1.23457e+06"},
      {0.0001f, "0.0001"}, {100000, "100000"}, {-0.25f, "-0.25"}, {0, "0"},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(Feed(display, c.value));
    EXPECT_EQ(c.label, display.label);
  }
}

TEST(OutputDisplay, ShowsXxxForAnInvalidInput) {
  OutputDisplay display;
  display.texts = {{0, "null"}};
  EXPECT_TRUE(Feed(display, 0, false));
  EXPECT_EQ("xxx", display.label);
}

TEST(OutputDisplay, TextLengthCountsTheCharactersOfThePreviousLabel) {
  OutputDisplay display;
  display.texts = {{1, "Größe"}, {2, "ab"}};
  Feed(display, 1);
  EXPECT_EQ(0, display.textLength);
  Feed(display, 2);
  EXPECT_EQ(5, display.textLength) << "characters, not bytes";
  Feed(display, 3);
  EXPECT_EQ(2, display.textLength);
  Feed(display, 3, false);
  EXPECT_EQ(2, display.textLength) << "an invalid input shows xxx without measuring";
  Feed(display, 3);
  EXPECT_EQ(3, display.textLength);
}

// Feeds the values one evaluation each and returns the output after each.
std::vector<float> Filter(HazardFilter& filter, const std::vector<float>& inputs) {
  std::vector<float> outputs;
  for (const float value : inputs) {
    Feed(filter, value);
    outputs.push_back(filter.outputs[0]->value);
  }
  return outputs;
}

TEST(HazardFilter, PassesAValueAfterItHeldForHoldPlusOneEvaluations) {
  HazardFilter immediate(0);
  EXPECT_FALSE(Feed(immediate, 3));
  EXPECT_TRUE(Feed(immediate, 3));
  EXPECT_EQ(3.0f, immediate.outputs[0]->value);
  EXPECT_FALSE(Feed(immediate, 3));

  HazardFilter filter(2);
  EXPECT_EQ((std::vector<float>{0, 0, 0, 4, 4}), Filter(filter, {4, 4, 4, 4, 4}));
  // The 7 in between starts the wait again.
  EXPECT_EQ((std::vector<float>{4, 4, 4, 4, 4, 4, 6}), Filter(filter, {6, 6, 7, 6, 6, 6, 6}));
}

TEST(HazardFilter, AnInputThatKeepsChangingNeverPasses) {
  HazardFilter filter(2);
  std::vector<float> alternating;
  for (int i = 0; i < 20; ++i) {
    alternating.push_back(static_cast<float>(i % 2 + 1));
  }
  EXPECT_EQ(std::vector<float>(20, 0.0f), Filter(filter, alternating));
}

TEST(HazardFilter, NegativeHoldActsAsZero) {
  HazardFilter filter(-3);
  EXPECT_EQ((std::vector<float>{0, 5}), Filter(filter, {5, 5}));
}

TEST(HazardFilter, IgnoresValidity) {
  HazardFilter filter(0);
  filter.outputs[0]->valid = false;
  Feed(filter, 5, false);
  Feed(filter, 5, false);
  EXPECT_EQ(5.0f, filter.outputs[0]->value);
  EXPECT_FALSE(filter.outputs[0]->valid) << "the output flag is never changed";
}

TEST(HazardFilter, ResetRestartsTheWaitButRemembersTheLastValue) {
  HazardFilter filter(2);
  Filter(filter, {4, 4});
  filter.Reset();
  EXPECT_EQ(0, filter.count);
  EXPECT_EQ(4.0f, filter.lastValue);
  EXPECT_EQ((std::vector<float>{0, 0, 4}), Filter(filter, {4, 4, 4}));
}

GraphPlot MakeGraph(bool continuous, bool autoScale, int points, int period) {
  GraphSettings settings;
  settings.continuous = continuous;
  settings.autoX = autoScale;
  settings.autoY = autoScale;
  settings.points = points;
  settings.period = period;
  return GraphPlot(settings);
}

// One evaluation with y, x and the reset input as given.
bool Sample(GraphPlot& graph, float y, float x = 0, float reset = 0) {
  graph.inputs[0]->value = y;
  graph.inputs[1]->value = x;
  graph.inputs[2]->value = reset;
  return graph.Evaluate();
}

TEST(GraphPlot, RecordsEveryPeriodIntoTheNextSlotOfTheRing) {
  GraphPlot graph = MakeGraph(true, true, 3, 2);
  std::vector<bool> recorded;
  std::vector<int> positions;
  for (int i = 1; i <= 8; ++i) {
    recorded.push_back(Sample(graph, static_cast<float>(i)));
    positions.push_back(graph.position);
  }
  EXPECT_EQ((std::vector<bool>{false, true, false, true, false, true, false, true}), recorded);
  EXPECT_EQ((std::vector<int>{0, 1, 1, 2, 2, 0, 0, 1}), positions);
  EXPECT_EQ((std::vector<float>{6, 8, 4}), graph.ySamples);
}

TEST(GraphPlot, RecordsNothingWhileAnInputIsInvalid) {
  GraphPlot graph = MakeGraph(true, true, 3, 1);
  graph.inputs[1]->valid = false;
  EXPECT_FALSE(Sample(graph, 5));
  EXPECT_EQ(0, graph.tick);
  EXPECT_EQ(0, graph.position);
}

TEST(GraphPlot, ARefusedSampleStillMovesThePosition) {
  GraphPlot graph = MakeGraph(false, false, 4, 1);  // manual ranges -1 to 1
  EXPECT_TRUE(Sample(graph, 0.5f, -0.5f));
  EXPECT_FALSE(Sample(graph, 2, 0));
  EXPECT_FALSE(Sample(graph, 0, -3));
  EXPECT_EQ(3, graph.position);
  EXPECT_EQ((std::vector<float>{0, 0.5f, 0, 0}), graph.ySamples);
  EXPECT_EQ((std::vector<float>{0, -0.5f, 0, 0}), graph.xSamples);
}

TEST(GraphPlot, AutomaticScalingGrowsTheRangesAndResetRestoresThem) {
  GraphPlot graph = MakeGraph(false, true, 5, 1);
  Sample(graph, 0, 0);
  EXPECT_EQ(static_cast<float>(0.1), graph.yMax) << "an empty range widens by 0.1";
  EXPECT_EQ(static_cast<float>(0.1), graph.xMax);
  Sample(graph, 5, -2);
  Sample(graph, -3, 7);
  EXPECT_EQ(-3.0f, graph.yMin);
  EXPECT_EQ(5.0f, graph.yMax);
  EXPECT_EQ(-2.0f, graph.xMin);
  EXPECT_EQ(7.0f, graph.xMax);
  EXPECT_EQ((std::vector<float>{0, 0, 5, -3, 0}), graph.ySamples);

  graph.Reset();
  EXPECT_EQ(0.0f, graph.yMin);
  EXPECT_EQ(0.0f, graph.yMax);
  EXPECT_EQ(0.0f, graph.xMin);
  EXPECT_EQ(0.0f, graph.xMax);
  EXPECT_EQ(std::vector<float>(5, 0.0f), graph.ySamples);
  EXPECT_EQ(std::vector<float>(5, 0.0f), graph.xSamples);
  EXPECT_EQ(0, graph.position);
}

TEST(GraphPlot, AManualRangeWithoutWidthWidensByATenth) {
  GraphSettings settings;
  settings.autoY = false;
  settings.yMin = settings.yMax = 2;
  settings.period = 1;
  GraphPlot graph(settings);
  EXPECT_TRUE(Sample(graph, 2.05f));
  EXPECT_EQ(static_cast<float>(2.0 + 0.1), graph.yMax);
  graph.Reset();
  EXPECT_EQ(2.0f, graph.yMax) << "Reset brings back the range the graph was built with";
}

TEST(GraphPlot, AResetInputAboveZeroClearsInEveryEvaluation) {
  GraphPlot graph = MakeGraph(true, true, 4, 2);
  for (int i = 1; i <= 5; ++i) {
    Sample(graph, static_cast<float>(i));
  }
  EXPECT_EQ(0.0f, graph.yMin);  // grown to 0 .. 4 by now
  EXPECT_EQ(4.0f, graph.yMax);
  for (int i = 0; i < 4; ++i) {
    EXPECT_FALSE(Sample(graph, 9, 0, 0.5f));
    EXPECT_EQ(std::vector<float>(4, 0.0f), graph.ySamples);
    EXPECT_EQ(0, graph.position);
    EXPECT_EQ(0.0f, graph.yMax);
  }
  graph.inputs[0]->valid = false;
  Sample(graph, 9, 0, 1);
  EXPECT_EQ(0, graph.tick) << "the reset comes before the validity check";
  graph.inputs[0]->valid = true;
  Sample(graph, 9, 0, 1);
  // The reset passes counted their ticks after clearing, so the next one records.
  EXPECT_TRUE(Sample(graph, 9, 0, 0));
  EXPECT_EQ((std::vector<float>{0, 9, 0, 0}), graph.ySamples);
}

}  // namespace
}  // namespace trivenor
