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

  /// The editing state; the palettes and the keyboard write `mode` and `modeArg` into it.
  EditState& editState() { return edit_; }
  /// What a palette button does: the next left press on the canvas places `kind`.
  void ArmPlacing(int kind);
  /// Where the placing click's parameter dialogs come from; without one (or with nullptr) every
  /// dialog counts as cancelled. `dialogs` must outlive the view or be replaced first.
  void SetDialogHost(EditorDialogs* dialogs) { dialogs_ = dialogs; }

  /// The clock. Tests shorten the first delay; "Pfad festlegen" stops and restarts it.
  void SetFirstTickDelay(int milliseconds) { firstTickDelay_ = milliseconds; }
  void StopSimulationTimer();
  void StartSimulationTimer(int milliseconds);
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
  bool PrintPage(QPainter& painter);

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

 private:
  /// After undo or redo: the editing idle, the scroll size of the restored width, repainted.
  void ShowRestoredState();
  /// Scroll ranges for a canvas of canvasWidth x 1000 in the current viewport.
  void UpdateScrollBars();
  /// The logical point at the viewport's top-left corner.
  QPoint ScrollOffset() const;
  void Repaint(const QRect& viewportRect);
  /// A point of the viewport in logical canvas units.
  CanvasPoint ToLogical(const QPointF& viewportPoint) const;

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
  int charWidth_ = 0;
  int lineHeight_ = 0;
  std::vector<CanvasRect> tickRects_;  ///< reused from tick to tick
  std::vector<QRect> lastTickRepaints_;
};

}  // namespace trivenor
