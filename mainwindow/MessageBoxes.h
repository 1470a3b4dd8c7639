#pragma once
#include <QString>
#include <optional>

class QDialog;
class QWidget;

namespace orv {

// Every message box, question, modal dialog and file dialog of the editor goes through this
// interface, so that the answers can be scripted (tests, unattended runs) instead of waiting on a
// modal loop.
class IMessageBoxes {
 public:
  enum class Icon { Stop, Exclamation, Question, Information };
  // Buttons offered and the answer given; several may be or-ed together in a request.
  enum Button { Ok = 0x1, Yes = 0x2, No = 0x4, Cancel = 0x8 };

  struct Request {
    QWidget* owner = nullptr;  // null: no owner window
    QString caption;           // empty: the application's name
    QString text;
    // Secondary text under the message, e.g. the file and the system's reason of a failure;
    // empty: none.
    QString details;
    Icon icon = Icon::Information;
    int buttons = Ok;
    // Yes, No and Cancel carry the labels "Save", "No Save" and "Cancel".
    bool saveLabels = false;
    // Shown above every other window (a box without an owner that must not open unseen).
    bool aboveAll = false;
  };

  // A file dialog: open an existing file, or choose a name to save under (the caller asks before
  // a file is replaced).
  struct FileRequest {
    QWidget* owner = nullptr;
    bool save = false;
    QString name;           // object name of the dialog ("openLibrary", "exportPatch", ...)
    QString filter;         // e.g. "Library Files (*.ZBL *.zbl)"
    QString defaultSuffix;  // added when the chosen name has no extension
    QString proposedName;   // file name offered at first (save dialogs)
  };

  virtual ~IMessageBoxes() = default;
  // Shows the box and returns the button that closed it (Cancel when it was dismissed).
  virtual int ask(const Request& request) = 0;
  // Runs `dialog` modally and returns its result code.
  virtual int runModal(QDialog& dialog) = 0;
  // Runs a file dialog through `runModal`; no value when it was cancelled.
  virtual std::optional<QString> chooseFile(const FileRequest& request);
};

}  // namespace orv
