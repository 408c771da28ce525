#include "shell/component_palette.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPushButton>
#include <algorithm>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/component_kind.h"
#include "shell/dialog_units.h"

namespace trivenor {
namespace {

/// Where the button of one kind sits on a palette, in dialog units of the palette's font.
struct ButtonPlace {
  int kind;
  int left;
  int top;
  int width = 25;  ///< every button is 25 wide except the few 50 wide ones
};

/// How one palette looks: its title, the point size of its font, its client size in dialog
/// units of that font, and the places of its buttons in tab order.
struct PaletteLayout {
  const char* title;
  int pointSize;
  int width;
  int height;
  std::span<const ButtonPlace> places;
};

constexpr int kWide = 50;
constexpr int kButtonHeight = 14;

constexpr ButtonPlace kArithmeticPlaces[] = {
    {kind::Plus, 7, 7},
    {kind::Minus, 32, 7},
    {kind::Times, 7, 21},
    {kind::Divide, 32, 21},
};

constexpr ButtonPlace kBasicFunctionsPlaces[] = {
    {kind::Plus, 7, 7},
    {kind::Minus, 32, 7},
    {kind::Times, 7, 21},
    {kind::Divide, 32, 21},
    {kind::Equal, 65, 7},
    {kind::Greater, 90, 7},
    {kind::Less, 65, 21},
    {kind::And, 64, 42},
    {kind::Not, 90, 42},
    {kind::Or, 64, 56},
    {kind::Sign, 90, 56},
    {kind::Absolute, 64, 70},
    {kind::Truncate, 90, 70},
    {kind::Constant, 64, 84},
    {kind::DelayLine, 7, 42, kWide},
    {kind::RandomInteger, 7, 56, kWide},
    {kind::OutputDisplay, 7, 70, kWide},
};

constexpr ButtonPlace kAllFunctionsPlaces[] = {
    {kind::Plus, 7, 7},
    {kind::Minus, 32, 7},
    {kind::And, 82, 7},
    {kind::Not, 107, 7},
    {kind::SquareRoot, 132, 7},
    {kind::Times, 7, 21},
    {kind::Divide, 32, 21},
    {kind::Constant, 57, 21},
    {kind::Or, 82, 21},
    {kind::Sign, 107, 21},
    {kind::Exp, 132, 21},
    {kind::DelayLine, 157, 21, kWide},
    {kind::Power, 7, 35},
    {kind::IntegerDivide, 32, 35},
    {kind::Ceiling, 57, 35},
    {kind::Absolute, 82, 35},
    {kind::Truncate, 107, 35},
    {kind::Log, 132, 35},
    {kind::RandomFraction, 157, 35, kWide},
    {kind::Equal, 7, 49},
    {kind::Modulo, 32, 49},
    {kind::Floor, 57, 49},
    {kind::Sine, 82, 49},
    {kind::Cosine, 107, 49},
    {kind::Tangent, 132, 49},
    {kind::OutputDisplay, 157, 49, kWide},
    {kind::Less, 7, 63},
    {kind::Greater, 32, 63},
    {kind::Log10, 57, 63},
    {kind::ArcTangent, 82, 63},
    {kind::GraphPlot, 107, 63, kWide},
    {kind::HazardFilter, 157, 63, kWide},
};

// The simpler the palette, the larger its font.
constexpr PaletteLayout kLayouts[kPaletteCount] = {
    {"Rechnen", 12, 64, 42, kArithmeticPlaces},
    {"Grundfunktionen", 10, 122, 105, kBasicFunctionsPlaces},
    {"Alle Funktionen", 8, 214, 84, kAllFunctionsPlaces},
};

// Where the owner's client area begins on the screen: below its menu bar, as a native
// window's client area does.
QPoint ClientAreaOrigin(const QWidget& owner) {
  const auto* window = qobject_cast<const QMainWindow*>(&owner);
  const int menuHeight = window && window->menuWidget() ? window->menuWidget()->height() : 0;
  return owner.mapToGlobal(QPoint(0, menuHeight));
}

// The registry says which kinds a palette offers, the layout where their buttons sit; a kind
// without a place, or a place for a kind the palette does not offer, is a fault of the program.
const ComponentKind& OfferedKind(const std::vector<const ComponentKind*>& offered,
                                 const ButtonPlace& place, const PaletteLayout& layout) {
  const auto found = std::ranges::find(offered, place.kind, &ComponentKind::code);
  if (found == offered.end()) {
    throw std::logic_error(std::string(layout.title) + " places a kind it does not offer");
  }
  return **found;
}

}  // namespace

ComponentPalette::ComponentPalette(PaletteKind kind, ArmPlacing armPlacing, QWidget& owner)
    : QDialog(&owner, Qt::Tool), armPlacing_(std::move(armPlacing)) {
  const PaletteLayout& layout = kLayouts[static_cast<int>(kind)];
  setWindowTitle(QString::fromUtf8(layout.title));
  QFont font = DialogUnits::DialogFont();
  font.setPointSize(layout.pointSize);
  setFont(font);
  const DialogUnits units{QFontMetrics(font)};
  setFixedSize(units.ToPixels(QSize(layout.width, layout.height)));

  const std::vector<const ComponentKind*> offered = ComponentKinds().OnPalette(kind);
  if (offered.size() != layout.places.size()) {
    throw std::logic_error(std::string(layout.title) + " has no place for a kind it offers");
  }
  for (const ButtonPlace& place : layout.places) {
    const ComponentKind& offeredKind = OfferedKind(offered, place, layout);
    auto* button = new QPushButton(QString::fromUtf8(offeredKind.caption), this);
    button->setGeometry(units.ToPixels(QRect(place.left, place.top, place.width, kButtonHeight)));
    const int code = offeredKind.code;
    connect(button, &QPushButton::clicked, this, [this, code] { armPlacing_(code); });
  }
  move(ClientAreaOrigin(owner));
}

void ComponentPalette::closeEvent(QCloseEvent* event) {
  QDialog::closeEvent(event);
  if (event->isAccepted()) {
    deleteLater();
  }
}

void ComponentPalette::keyPressEvent(QKeyEvent* event) {
  // A dialog without a default button lets Enter go unanswered unless a button has the focus.
  const bool enter = (event->key() == Qt::Key_Return && event->modifiers() == Qt::NoModifier) ||
                     (event->key() == Qt::Key_Enter &&
                      (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier);
  if (enter && qobject_cast<QPushButton*>(focusWidget()) == nullptr) {
    reject();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace trivenor
