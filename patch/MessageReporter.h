#pragma once

namespace orv {

// How core code asks for a message box without knowing about windows. The UI implements it;
// command-line tools print to standard error; tests record the calls.
class IMessageReporter {
 public:
  enum class Icon { Stop, Exclamation, Question, Information };
  virtual ~IMessageReporter() = default;
  // Shows the string-table text `stringId` with the given icon and an OK button.
  virtual void showMessage(int stringId, Icon icon) = 0;
};

}  // namespace orv
