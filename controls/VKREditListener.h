#pragma once

namespace orv {

// Told of every change a user makes on a number display or its inline entry.
class IVKREditListener {
 public:
  virtual void OnEditChanged(int controlId, int value) = 0;

 protected:
  ~IVKREditListener() = default;
};

}  // namespace orv
