#include "shell/lock_indicators.h"

#include <QFontMetrics>
#include <QGuiApplication>

#if defined(TRIVENOR_HAVE_XKB)
#include <qguiapplication_platform.h>
#endif

// X11's headers define macros (None, Bool, Status ...) that collide with Qt's names: they come
// after every Qt header, and only into this file.
#if defined(TRIVENOR_HAVE_XKB) && QT_CONFIG(xcb)
#include <X11/XKBlib.h>
#define TRIVENOR_QUERY_XKB 1
#endif

namespace trivenor {

namespace {

constexpr char kCapsLockText[] = "UF";
constexpr char kNumLockText[] = "NUM";
constexpr char kScrollLockText[] = "RF";

#if defined(TRIVENOR_QUERY_XKB)
bool IndicatorOn(Display* display, const char* name) {
  const Atom atom = XInternAtom(display, name, True);
  Bool on = False;
  return atom != 0 && XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr) == True &&
         on == True;
}
#endif

QLabel* AddPane(QStatusBar& statusBar, const char* text) {
  auto* pane = new QLabel(&statusBar);
  pane->setAlignment(Qt::AlignCenter);
  // Sized for the text so that the bar does not jump when a lock goes on or off.
  const QFontMetrics metrics(pane->font());
  pane->setMinimumWidth(metrics.horizontalAdvance(QString::fromLatin1(text)) +
                        2 * metrics.averageCharWidth());
  statusBar.addPermanentWidget(pane);
  return pane;
}

void ShowIf(QLabel& pane, bool on, const char* text) {
  pane.setText(on ? QString::fromLatin1(text) : QString());
}

}  // namespace

std::optional<LockState> QueryLockState() {
#if defined(TRIVENOR_QUERY_XKB)
  const auto* x11 =
      qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display* display = x11 ? x11->display() : nullptr;
  if (display != nullptr) {
    return LockState{IndicatorOn(display, "Caps Lock"), IndicatorOn(display, "Num Lock"),
                     IndicatorOn(display, "Scroll Lock")};
  }
#endif
  return std::nullopt;
}

LockIndicatorPanes::LockIndicatorPanes(QStatusBar& statusBar)
    : QObject(&statusBar),
      capsLock_(AddPane(statusBar, kCapsLockText)),
      numLock_(AddPane(statusBar, kNumLockText)),
      scrollLock_(AddPane(statusBar, kScrollLockText)) {
  if (const std::optional<LockState> state = QueryLockState()) {
    Show(*state);
    connect(&poll_, &QTimer::timeout, this, &LockIndicatorPanes::Poll);
    poll_.start(kPollMilliseconds);
  }
}

void LockIndicatorPanes::Show(const LockState& state) {
  ShowIf(*capsLock_, state.capsLock, kCapsLockText);
  ShowIf(*numLock_, state.numLock, kNumLockText);
  ShowIf(*scrollLock_, state.scrollLock, kScrollLockText);
}

void LockIndicatorPanes::Poll() {
  if (const std::optional<LockState> state = QueryLockState()) {
    Show(*state);
  }
}

}  // namespace trivenor
