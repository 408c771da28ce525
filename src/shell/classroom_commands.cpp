#include "shell/classroom_commands.h"

#include "shell/settings.h"
#include "view/zoom_steps.h"

namespace trivenor {

void ConnectClassroomCommands(const CommandActions& actions, CTrivenorView& view) {
  CTrivenorView* target = &view;
  QObject::connect(&actions[kPause], &QAction::toggled, target, &CTrivenorView::SetPaused);
  QObject::connect(&actions[kStep], &QAction::triggered, target, &CTrivenorView::Step);

  target->SetZoom(CanvasZoom(), {0, 0});  // the canvas from its top-left corner, as always
  QObject::connect(target, &CTrivenorView::zoomChanged, target, &SetCanvasZoom);
  QObject::connect(&actions[kZoomIn], &QAction::triggered, target,
                   [target] { target->SetZoom(zoom::Larger(target->Zoom())); });
  QObject::connect(&actions[kZoomOut], &QAction::triggered, target,
                   [target] { target->SetZoom(zoom::Smaller(target->Zoom())); });
  QObject::connect(&actions[kZoomOriginal], &QAction::triggered, target,
                   [target] { target->SetZoom(zoom::kOriginal); });
  QObject::connect(&actions[kZoomFit], &QAction::triggered, target, &CTrivenorView::ZoomToFit);

  QObject::connect(&actions[kWireValues], &QAction::toggled, target, [target](bool shown) {
    target->wireValues = shown;
    target->viewport()->update();
  });
}

}  // namespace trivenor
