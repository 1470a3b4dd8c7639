#include "mainwindow/ExceptionBarrier.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <iostream>

#include "mainwindow/MessageBoxes.h"
#include "patch/GenericException.h"
#include "patch/StringTable.h"

namespace orv {

ExceptionBarrier::ExceptionBarrier(IMessageBoxes& boxes, OwnerFn owner)
    : boxes_(boxes),
      owner_(std::move(owner)),
      diagnostics_(&std::cerr),
      deferContext_(std::make_unique<QObject>()) {}

ExceptionBarrier::~ExceptionBarrier() = default;

bool ExceptionBarrier::run(const std::function<void()>& f) {
  bool done = true;
  ++depth_;
  try {
    f();
  } catch (...) {
    reportCurrent();
    done = false;
  }
  if (--depth_ == 0 && afterRun_) afterRun_();
  return done;
}

void ExceptionBarrier::reportCurrent() {
  try {
    throw;
  } catch (const CGenericException& e) {
    showError(e.code(), e.detail());
  } catch (...) {
    *diagnostics_ << "Exception caught!" << std::endl;
  }
}

void ExceptionBarrier::showError(int code, const std::string& detail) {
  const std::string_view text = stringText(code);
  IMessageBoxes::Request request;
  request.caption = QStringLiteral("ORV Editor");
  request.text = QString::fromLatin1(text.data(), qsizetype(text.size()));
  request.details = QString::fromStdString(detail);  // paths are the system's (UTF-8) strings
  request.icon = IMessageBoxes::Icon::Stop;
  request.buttons = IMessageBoxes::Ok;
  if (defer_) {
    QPointer<QWidget> owner = owner_ ? owner_() : nullptr;
    const bool hadOwner = owner;
    QTimer::singleShot(0, deferContext_.get(), [this, request, owner, hadOwner]() mutable {
      if (hadOwner && !owner) return;  // the window went away meanwhile
      request.owner = owner;
      boxes_.ask(request);
    });
    return;
  }
  request.owner = owner_ ? owner_() : nullptr;
  boxes_.ask(request);
}

}  // namespace orv
