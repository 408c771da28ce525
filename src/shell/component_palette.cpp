#include "shell/component_palette.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPushButton>
#include <span>

#include "shell/dialog_units.h"

namespace trivenor {
namespace {

/// One button of a palette: what it shows, the component kind it arms, and where it sits in
/// dialog units of the palette's font.
struct PaletteButton {
  const char* caption;  ///< UTF-8
  int kind;
  int left;
  int top;
  int width = 25;  ///< every button is 25 wide except the few 50 wide ones
};

/// How one palette looks: its title, the point size of its font, its client size in dialog
/// units of that font, and its buttons in tab order.
struct PaletteLayout {
  const char* title;
  int pointSize;
  int width;
  int height;
  std::span<const PaletteButton> buttons;
};

constexpr int kWide = 50;
constexpr int kButtonHeight = 14;

constexpr PaletteButton kArithmeticButtons[] = {
    {"+", 1, 7, 7},
    {"-", 2, 32, 7},
    {"*", 3, 7, 21},
    {"/", 4, 32, 21},
};

constexpr PaletteButton kBasicFunctionsButtons[] = {
    {"+", 1, 7, 7},
    {"-", 2, 32, 7},
    {"*", 3, 7, 21},
    {"/", 4, 32, 21},
    {"=", 8, 65, 7},
    {">", 10, 90, 7},
    {"<", 9, 65, 21},
    {"und", 6, 64, 42},
    {"Nicht", 101, 90, 42},
    {"oder", 7, 64, 56},
    {"SIG", 111, 90, 56},
    {"ABS", 108, 64, 70},
    {"INT", 110, 90, 70},
    {"fest", 202, 64, 84},
    {"Verzögern", 201, 7, 42, kWide},
    // The two-input random operator; "Alle Funktionen" offers the one-input function instead.
    {"Zufall", 13, 7, 56, kWide},
    {"Ausgabe", 206, 7, 70, kWide},
};

constexpr PaletteButton kAllFunctionsButtons[] = {
    {"+", 1, 7, 7},
    {"-", 2, 32, 7},
    {"und", 6, 82, 7},
    {"Nicht", 101, 107, 7},
    {"sqr", 105, 132, 7},
    {"*", 3, 7, 21},
    {"/", 4, 32, 21},
    {"fest", 202, 57, 21},
    {"oder", 7, 82, 21},
    {"SIG", 111, 107, 21},
    {"e^x", 113, 132, 21},
    {"Verzögern", 201, 157, 21, kWide},
    {"x^y", 5, 7, 35},
    {"div", 11, 32, 35},
    {"aufr", 103, 57, 35},
    {"ABS", 108, 82, 35},
    {"INT", 110, 107, 35},
    {"log", 104, 132, 35},
    {"Random", 112, 157, 35, kWide},
    {"=", 8, 7, 49},
    {"mod", 12, 32, 49},
    {"abr", 102, 57, 49},
    {"sin", 106, 82, 49},
    {"cos", 107, 107, 49},
    {"tan", 109, 132, 49},
    {"Ausgabe", 206, 157, 49, kWide},
    {"<", 9, 7, 63},
    {">", 10, 32, 63},
    {"lg10", 115, 57, 63},
    {"Atan", 114, 82, 63},
    {"Graph", 209, 107, 63, kWide},
    {"Hazard", 208, 157, 63, kWide},
};

// The simpler the palette, the larger its font.
constexpr PaletteLayout kLayouts[kPaletteCount] = {
    {"Rechnen", 12, 64, 42, kArithmeticButtons},
    {"Grundfunktionen", 10, 122, 105, kBasicFunctionsButtons},
    {"Alle Funktionen", 8, 214, 84, kAllFunctionsButtons},
};

// Where the owner's client area begins on the screen: below its menu bar, as a native
// window's client area does.
QPoint ClientAreaOrigin(const QWidget& owner) {
  const auto* window = qobject_cast<const QMainWindow*>(&owner);
  const int menuHeight = window && window->menuWidget() ? window->menuWidget()->height() : 0;
  return owner.mapToGlobal(QPoint(0, menuHeight));
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

  for (const PaletteButton& entry : layout.buttons) {
    auto* button = new QPushButton(QString::fromUtf8(entry.caption), this);
    button->setGeometry(units.ToPixels(QRect(entry.left, entry.top, entry.width, kButtonHeight)));
    const int buttonKind = entry.kind;
    connect(button, &QPushButton::clicked, this, [this, buttonKind] { armPlacing_(buttonKind); });
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
