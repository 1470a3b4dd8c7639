#pragma once
// Answers message boxes from a script instead of waiting on a modal loop, and records every
// request so that tests can check text, caption, icon and buttons.
#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "mainwindow/MessageBoxes.h"

namespace orv::test {

class ScriptedMessageBoxes : public IMessageBoxes {
 public:
  std::vector<Request> asked;
  std::deque<int> answers;  // taken in order; when empty, the box is answered with Ok / No / Cancel
  std::vector<QString> dialogsRun;        // object names of the dialogs run modally
  std::function<int(QDialog&)> onDialog;  // what a modal dialog does; default: rejected
  std::vector<FileRequest> fileRequests;  // every file dialog asked for
  std::deque<QString> files;              // the files chosen in order; when empty: cancelled

  std::function<void(const Request&)> whileShown;  // runs while a box is up, before its answer

  int ask(const Request& r) override {
    asked.push_back(r);
    if (whileShown) whileShown(r);
    if (!answers.empty()) {
      const int a = answers.front();
      answers.pop_front();
      return a;
    }
    if (r.buttons & Ok) return Ok;
    if (r.buttons & Cancel) return Cancel;
    return No;
  }
  int runModal(QDialog& d) override {
    dialogsRun.push_back(d.objectName());
    return onDialog ? onDialog(d) : int(QDialog::Rejected);
  }

  std::optional<QString> chooseFile(const FileRequest& r) override {
    fileRequests.push_back(r);
    if (files.empty()) return std::nullopt;
    const QString f = files.front();
    files.pop_front();
    return f;
  }

  // Several files at once: every queued file.
  std::optional<QStringList> chooseFiles(const FileRequest& r) override {
    fileRequests.push_back(r);
    if (files.empty()) return std::nullopt;
    QStringList all(files.begin(), files.end());
    files.clear();
    return all;
  }

  QStringList texts() const {
    QStringList out;
    for (const auto& r : asked) out << r.text;
    return out;
  }
};

}  // namespace orv::test
