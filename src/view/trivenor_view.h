#pragma once

#include <QAbstractScrollArea>
#include <QPainter>
#include <QRect>
#include <QTimer>
#include <vector>

#include "document/trivenor_doc.h"
#include "view/edit_controller.h"
#include "view/edit_state.h"
#include "view/editor_dialogs.h"
#include "view/editor_host.h"
#include "view/tick_repaint.h"
#include "view/wire_values.h"

namespace trivenor {

/// The scrolling canvas of the one document window: paints the top circuit and, while painting,
/// lays it out (terminal positions, body sizes, port positions), which every hit test then uses.
/// It also owns the simulation clock: after a document is shown the first pass comes after 3 s,
/// then one pass every `tickPeriod` ms, repainting only what can show a change. Mouse and keys
/// on the canvas go, in logical units and virtual-key codes, to the editing state machine.
class CTrivenorView : public QAbstractScrollArea, private EditorHost {
  Q_OBJECT

 public:
  explicit CTrivenorView(CTrivenorDoc& document, QWidget* parent = nullptr);
  ~CTrivenorView() override;

  CTrivenorDoc& document() { return document_; }

  /// Called each time a document has been created or opened and is shown: scroll size
  /// canvasWidth x 1000, editing idle, the clock armed with the first delay.
  void OnInitialUpdate();
  /// "Reset": every value of the circuit back to 0. Repaints nothing; the next tick does.
  void OnReset();
  /// One evaluation pass of the top circuit outside the clock, then the whole canvas repainted.
  void EvaluateAndRepaint();
  /// "Fensterbreite" after its dialog: moves components and junctions in, marks the document
  /// modified, sets the width and the scroll size, repaints. A new width is one undo step.
  void SetCanvasWidth(int width);
  /// "Rückgängig" and "Wiederherstellen": a drag in progress becomes a step of its own first;
  /// then the document goes back or forward one step and the editing starts over from Idle.
  /// The clock runs on, now with the restored circuit.
  void OnEditUndo();
  void OnEditRedo();

  /// Measured at every paint from the canvas font: average character width + 2, and character
  /// height + external leading.
  int charWidth() const { return charWidth_; }
  int lineHeight() const { return lineHeight_; }
  /// "Dynamische Linien".
  bool dynamicLines = false;
  /// "Werte an Leitungen"; shows at the next repaint.
  bool wireValues = false;

  /// The zoom in percent. The canvas is drawn through a painter scaled by it, while the model's
  /// geometry and every hit test stay in logical units: mouse positions are mapped once, here.
  int Zoom() const { return zoom_; }
  /// A new zoom (brought into the allowed range); the logical point under `anchor` (viewport
  /// coordinates) stays under it.
  void SetZoom(int percent, QPoint anchor);
  /// The same around the middle of the viewport.
  void SetZoom(int percent);
  /// "An Fenster anpassen": the largest zoom at which the used part of the canvas fits the
  /// viewport, scrolled to its top-left corner.
  void ZoomToFit();

  /// The editing state; the palettes and the keyboard write `mode` and `modeArg` into it.
  EditState& editState() { return edit_; }
  /// What a palette button does: the next left press on the canvas places `kind`.
  void ArmPlacing(int kind);
  /// Where the placing click's parameter dialogs come from; without one (or with nullptr) every
  /// dialog counts as cancelled. `dialogs` must outlive the view or be replaced first.
  void SetDialogHost(EditorDialogs* dialogs) { dialogs_ = dialogs; }

  /// The clock. Tests shorten the first delay; "Pfad festlegen" stops and restarts it. While
  /// the simulation is paused, starting the clock does nothing.
  void SetFirstTickDelay(int milliseconds) { firstTickDelay_ = milliseconds; }
  void StopSimulationTimer();
  void StartSimulationTimer(int milliseconds);
  /// "Anhalten": the clock stops and stays stopped, also through "Neu", "Öffnen" and "Reset",
  /// until the pause ends; then it runs on with the next period. Values and editing are kept.
  void SetPaused(bool paused);
  bool IsPaused() const { return paused_; }
  /// "Einzelschritt": one pass and its repaint as a tick makes them, running or paused; the
  /// clock keeps its own time.
  void Step();
  bool IsSimulationTimerActive() const { return simulationTimer_.isActive(); }
  /// The delay the clock was last armed with.
  int SimulationTimerInterval() const { return simulationTimer_.interval(); }
  /// One tick, as the timer runs it (also for tests): evaluate, invalidate, re-arm.
  void OnTimerTick();
  /// The viewport rectangles the last tick asked to repaint.
  const std::vector<QRect>& LastTickRepaints() const { return lastTickRepaints_; }

  /// Prints the circuit as one page on the device `painter` is open on. Like a paint it leaves
  /// its layout in the model, and charWidth and lineHeight hold the printer font's measures
  /// until the next paint. False, with nothing drawn, while the document is loading.
  bool PrintPage(QPainter& painter, bool worksheet = false);

 signals:
  void zoomChanged(int percent);

 signals:
  /// The lock refused a structural edit the user tried on the canvas.
  void lockRefused();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  /// With Ctrl the wheel zooms around the pointer; without it scrolls.
  void wheelEvent(QWheelEvent* event) override;

 private:
  /// After undo or redo: the editing idle, the scroll size of the restored width, repainted.
  void ShowRestoredState();
  /// Scroll ranges for a canvas of canvasWidth x 1000 at the zoom in the current viewport.
  void UpdateScrollBars();
  /// The scroll position: the device point of the zoomed canvas at the viewport's top-left.
  QPoint ScrollOffset() const;
  double Scale() const { return zoom_ / 100.0; }
  void Repaint(const QRect& viewportRect);
  /// A point of the viewport in logical canvas units.
  CanvasPoint ToLogical(const QPointF& viewportPoint) const;
  /// The viewport pixels that cover a logical rectangle at the zoom and scroll position.
  QRect ToViewport(const CanvasRect& rect) const;

  // EditorHost: the dialog host's dialogs, repaints to the viewport.
  EditorDialogs& dialogs() override { return dialogs_ != nullptr ? *dialogs_ : noDialogs_; }
  void InvalidateAll() override;
  void InvalidateRect(const CanvasRect& rect) override;
  void ReportLocked() override { emit lockRefused(); }

  CTrivenorDoc& document_;
  EditState edit_;
  EditController controller_{document_, edit_, *this};
  EditorDialogs* dialogs_ = nullptr;
  CancelledDialogs noDialogs_;
  QTimer simulationTimer_;
  int firstTickDelay_ = 3000;
  bool paused_ = false;
  int zoom_ = 100;
  int wheelTurn_ = 0;    ///< Ctrl with the wheel: the part of a notch not yet zoomed by
  QSize wireValueCell_;  ///< measured at every paint while wire values show
  WireValuePainter wireValuePainter_;
  int charWidth_ = 0;
  int lineHeight_ = 0;
  std::vector<CanvasRect> tickRects_;  ///< reused from tick to tick
  std::vector<QRect> lastTickRepaints_;
};

}  // namespace trivenor
