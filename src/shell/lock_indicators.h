#pragma once

#include <QLabel>
#include <QObject>
#include <QStatusBar>
#include <QTimer>
#include <optional>

namespace trivenor {

/// Which lock keys are on.
struct LockState {
  bool capsLock = false;
  bool numLock = false;
  bool scrollLock = false;
};

/// Asks the window system for the keyboard's lock indicators. Only X11 tells (through its
/// keyboard extension); elsewhere, and under the offscreen platform, the answer is nullopt.
std::optional<LockState> QueryLockState();

/// The status bar's indicator panes "UF" (caps lock), "NUM" and "RF" (scroll lock): each shows
/// its text while its lock is on and stays empty, at the same width, while it is off. Qt sends
/// no event when a lock changes, so the panes ask the window system periodically; where it
/// cannot be asked they stay empty.
class LockIndicatorPanes : public QObject {
  Q_OBJECT

 public:
  static constexpr int kPollMilliseconds = 250;

  /// Adds the three panes at the right end of `statusBar`.
  explicit LockIndicatorPanes(QStatusBar& statusBar);

  void Show(const LockState& state);

  QLabel& capsLockPane() const { return *capsLock_; }
  QLabel& numLockPane() const { return *numLock_; }
  QLabel& scrollLockPane() const { return *scrollLock_; }

 private:
  void Poll();

  QLabel* capsLock_;
  QLabel* numLock_;
  QLabel* scrollLock_;
  QTimer poll_;
};

}  // namespace trivenor
