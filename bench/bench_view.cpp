// The canvas: one full repaint of a dense circuit, and one simulation tick (evaluation and the
// repaint requests it makes) on a large one. Runs on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <memory>
#include <string>

#include "bare_canvas_pass.h"

#include "document/trivenor_doc.h"
#include "model/component_kind.h"
#include "model/graph_plot.h"
#include "model/operators.h"
#include "model/output_display.h"
#include "view/font_record.h"
#include "view/trivenor_view.h"

namespace trivenor {
namespace {

constexpr int kCanvasWidth = 1000;

/// `count` components on the grid of the canvas's middle part, 20 units apart (overlapping, a
/// dense worst case). Each takes its first input through one wire: from the component `span`
/// places before it (two rows up and three columns left for 83), or from the circuit input when
/// there is none or `span` is 0 (long wires across the canvas). Every `displayEvery`-th
/// component is an output display, every `graphEvery`-th a graph.
void FillCircuit(CTrivenorDoc& document, int count, int span, int displayEvery, int graphEvery) {
  document.settings.canvasWidth = kCanvasWidth;
  SubCircuit& circuit = document.circuit();
  auto& input = *circuit.inputs.emplace_back(std::make_unique<Port>(PortRole::CircuitInput));
  input.value = 1.0f;
  for (int i = 0; i < count; ++i) {
    std::unique_ptr<Component> component;
    if (displayEvery > 0 && i % displayEvery == displayEvery - 1) {
      component = std::make_unique<OutputDisplay>();
    } else if (graphEvery > 0 && i % graphEvery == graphEvery - 1) {
      component = std::make_unique<GraphPlot>(GraphSettings{});
    } else {
      component = std::make_unique<TwoInputOperator>(kind::Plus);
    }
    component->x = 100 + (i % 40) * 20;
    component->y = 5 + (i / 40) % 48 * 20;
    Port* source = &input;
    if (span > 0 && i >= span && !circuit.components[i - span]->outputs.empty()) {
      source = circuit.components[i - span]->outputs[0].get();
    }
    component->inputs[0]->source = source;
    circuit.components.push_back(std::move(component));
  }
  for (int row = 0; row < 20; ++row) {
    auto& output =
        *circuit.outputs.emplace_back(std::make_unique<Port>(PortRole::CircuitOutput, row));
    output.source = circuit.components.back()->outputs.empty()
                        ? &input
                        : circuit.components.back()->outputs[0].get();
  }
}

// Where the reference's line ends differ from the repaint's (it draws every line as Qt does,
// without the classic end-point rule), and where overlapping bodies then cover them.
std::string DifferingPixels(const QImage& a, const QImage& b) {
  int count = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    }
  }
  return std::to_string(count);
}

/// The circuit of the repaint benchmarks in a view that shows the whole canvas at 100 %.
struct RepaintedCanvas {
  explicit RepaintedCanvas(int span) {
    FillCircuit(document, 2000, span, 0, 0);
    view.resize(kCanvasWidth + 50, 1050);
    view.show();
  }

  CTrivenorDoc document;
  CTrivenorView view{document};
};

// At 200 % the same viewport shows a quarter of the canvas, but the paint still goes through
// every component and wire; with wire values it also writes 2000 values.
void BM_FullRepaint(benchmark::State& state, int span, int zoom, bool wireValues) {
  RepaintedCanvas canvas(span);
  CTrivenorView& view = canvas.view;
  view.SetZoom(zoom);
  view.wireValues = wireValues;
  QImage image(view.viewport()->size(), QImage::Format_RGB32);
  for (auto _ : state) {
    view.viewport()->render(&image);
  }
  state.SetLabel("2000 components, 2000 wires, 20 outputs");
}
BENCHMARK_CAPTURE(BM_FullRepaint, short_wires, 83, 100, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FullRepaint, wires_across_the_canvas, 0, 100, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FullRepaint, short_wires_at_200_with_wire_values, 83, 200, true)
    ->Unit(benchmark::kMillisecond);

// The reference for the full repaint at 100 %: the same boxes, lines and texts on an image of
// the same size and format, drawn from a list flattened from the layout the repaint left.
void BM_BarePass(benchmark::State& state, int span) {
  RepaintedCanvas canvas(span);
  QImage repainted(canvas.view.viewport()->size(), QImage::Format_RGB32);
  canvas.view.viewport()->render(&repainted);
  const BareCanvasPass bare(canvas.document.circuit(), kCanvasWidth,
                            CanvasFont(canvas.document.settings));
  QImage image(repainted.size(), repainted.format());
  for (auto _ : state) {
    bare.Paint(image);
  }
  state.SetLabel(DifferingPixels(image, repainted) + " pixels differ from the repaint's");
}
BENCHMARK_CAPTURE(BM_BarePass, short_wires, 83)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BarePass, wires_across_the_canvas, 0)->Unit(benchmark::kMillisecond);

void BM_Tick(benchmark::State& state) {
  CTrivenorDoc document;
  // One output display in 50 and one graph in 500 are repainted at every tick.
  FillCircuit(document, static_cast<int>(state.range(0)), 83, 50, 500);
  CTrivenorView view(document);
  view.resize(800, 600);
  view.show();
  QImage image(view.viewport()->size(), QImage::Format_RGB32);
  view.viewport()->render(&image);  // the tick uses the layout and font measures of a paint
  for (auto _ : state) {
    view.OnTimerTick();
    state.PauseTiming();
    QCoreApplication::processEvents();  // the repaint belongs to the next paint, not the tick
    state.ResumeTiming();
  }
  view.StopSimulationTimer();
  state.SetLabel("evaluation and repaint requests, 200 displays, 18 graphs");
}
BENCHMARK(BM_Tick)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace trivenor

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
