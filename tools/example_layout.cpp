#include "tools/example_layout.h"

#include <memory>
#include <stdexcept>

#include "document/archive.h"
#include "document/circuit_files.h"
#include "document/document_io.h"
#include "model/component_drawing.h"
#include "model/component_kind.h"
#include "model/graph_plot.h"
#include "model/utf8_text.h"

namespace trivenor::examples {
namespace {

/// `circuit` written and read back as the editor opens a file: its opening pass has run.
std::unique_ptr<SubCircuit> OpenedCopy(SubCircuit& circuit, DocumentSettings settings) {
  Archive archive;
  SerializeDocument(archive, circuit, settings);
  auto opened = std::make_unique<SubCircuit>();
  DocumentSettings openedSettings;
  NoFileReader noFiles;  // the examples hold no dynamic sub-circuits
  if (LoadDocumentBytes("", archive.Written(), *opened, openedSettings, noFiles) !=
      DocumentError::None) {
    throw std::logic_error("an example circuit does not read back");
  }
  return opened;
}

/// The rule the editor's paint sizes a body by, with the canvas font's measures.
void SizeLikeEditor(Component& component) {
  if (component.kind == kind::GraphPlot) {
    // The view's character width is the font's average width plus 2.
    static_cast<GraphPlot&>(component).SizeOnScreen(kCanvasCharacterWidth + 2, kCanvasLineHeight);
    return;
  }
  // A monospace font: a text is as wide as its characters.
  const int textWidth = CharacterCount(ShownLabel(component)) * kCanvasCharacterWidth;
  SizeBody(component, textWidth, kCanvasLineHeight);
}

/// `opened` is `circuit` after opening, component for component.
void TakeLabelsAndSize(SubCircuit& circuit, const SubCircuit& opened) {
  for (std::size_t i = 0; i < circuit.components.size(); ++i) {
    Component& component = *circuit.components[i];
    const Component& shown = *opened.components[i];
    component.label = shown.label;
    if (component.kind == kind::SubCircuit) {
      TakeLabelsAndSize(static_cast<SubCircuit&>(component), static_cast<const SubCircuit&>(shown));
    }
    SizeLikeEditor(component);
  }
}

}  // namespace

void LayOutAsOpened(SubCircuit& circuit, const DocumentSettings& settings) {
  TakeLabelsAndSize(circuit, *OpenedCopy(circuit, settings));
}

}  // namespace trivenor::examples
