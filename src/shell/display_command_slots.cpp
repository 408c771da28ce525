#include "shell/display_command_slots.h"

#include <QFontDialog>

#include "view/display_commands.h"
#include "view/font_record.h"

namespace trivenor {
namespace {

void OnCanvasFont(CTrivenorView& view, QWidget& dialogParent) {
  CTrivenorDoc& document = view.document();
  const QFont offered = CanvasFontForDialog(document.settings);
  const std::optional<QFont> chosen = AskCanvasFont(dialogParent, offered);
  if (!chosen) {
    return;
  }
  // "OK" without a change keeps the font exactly as it was: what the dialog offered is only the
  // nearest installed family in whole points.
  const bool unchanged =
      chosen->family() == offered.family() && chosen->pointSize() == offered.pointSize() &&
      chosen->weight() == offered.weight() && chosen->italic() == offered.italic() &&
      chosen->underline() == offered.underline() && chosen->strikeOut() == offered.strikeOut();
  ApplyCanvasFont(document,
                  unchanged ? CanvasFontRecord(document.settings) : RecordFromFont(*chosen));
  // Every body is sized from the font: the whole canvas changes.
  view.viewport()->update();
}

}  // namespace

std::optional<QFont> AskCanvasFont(QWidget& parent, const QFont& initial) {
  // Qt's own dialog rather than the desktop's: it shows the underline and strike-out effects
  // everywhere, and it is a widget that tests can answer.
  QFontDialog dialog(initial, &parent);
  dialog.setOption(QFontDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return dialog.selectedFont();
}

void ConnectDisplayCommands(const CommandActions& actions, CTrivenorView& view,
                            QWidget& dialogParent) {
  CTrivenorView* target = &view;
  const auto colour = [&actions, target](CommandId command, Colour value) {
    QObject::connect(&actions[command], &QAction::triggered, target, [target, value] {
      ApplyColour(target->document(), value);
      target->viewport()->update();
    });
  };
  colour(kColourBlue, kBlue);
  colour(kColourRed, kRed);
  colour(kColourYellow, kYellow);
  colour(kColourGreen, kGreen);
  colour(kColourBlack, kBlack);

  const auto thickness = [&actions, target](CommandId command, int width) {
    QObject::connect(&actions[command], &QAction::triggered, target, [target, width] {
      ApplyThickness(target->document(), width);
      target->viewport()->update();
    });
  };
  thickness(kThickness1, 1);
  thickness(kThickness2, 2);
  thickness(kThickness4, 4);

  // Shows at the next repaint; while on, every tick repaints the whole canvas anyway.
  QObject::connect(&actions[kDynamicLines], &QAction::triggered, target,
                   [target] { target->dynamicLines = !target->dynamicLines; });

  QWidget* parent = &dialogParent;
  QObject::connect(&actions[kCanvasFont], &QAction::triggered, target,
                   [target, parent] { OnCanvasFont(*target, *parent); });
}

}  // namespace trivenor
