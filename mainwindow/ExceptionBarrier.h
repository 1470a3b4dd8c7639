#pragma once
#include <exception>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

class QObject;
class QWidget;

namespace orv {

class IMessageBoxes;

// Catches what escapes a handler: a CGenericException is shown in the error box (owner = the
// main window, caption "ORV Editor", stop icon, OK, the string-table text of its code, and as
// secondary text its detail: the file's path and the system's reason); anything
// else writes "Exception caught!" to the diagnostic stream and is otherwise ignored. Nothing is
// rolled back.
class ExceptionBarrier {
 public:
  using OwnerFn = std::function<QWidget*()>;

  ExceptionBarrier(IMessageBoxes& boxes, OwnerFn owner);
  ~ExceptionBarrier();

  // Runs `f`; returns false when it threw.
  bool run(const std::function<void()>& f);
  // Whether a handler runs, also while it waits in a nested event loop (a message box).
  bool running() const { return depth_ > 0; }
  // Called each time the outermost run() has returned.
  void setAfterRun(std::function<void()> afterRun) { afterRun_ = std::move(afterRun); }
  // Reports the exception currently being handled (call from inside a catch block).
  void reportCurrent();
  // Error boxes raised while painting are shown once control is back in the event loop, so a
  // modal box never opens inside a paint.
  void setDeferBoxes(bool defer) { defer_ = defer; }
  // Where "Exception caught!" goes (standard error by default).
  void setDiagnosticStream(std::ostream& out) { diagnostics_ = &out; }

  IMessageBoxes& messageBoxes() const { return boxes_; }

 private:
  void showError(int code, const std::string& detail);

  IMessageBoxes& boxes_;
  OwnerFn owner_;
  std::ostream* diagnostics_;
  bool defer_ = false;
  int depth_ = 0;
  std::function<void()> afterRun_;
  std::unique_ptr<QObject> deferContext_;  // cancels deferred boxes with the barrier
};

}  // namespace orv
