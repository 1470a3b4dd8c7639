#pragma once

namespace orv {

// Told of every change a user makes on a dial or the list's scroll bar.
class IVKRControlListener {
 public:
  virtual void OnControlChanged(int controlId, int value) = 0;

 protected:
  ~IVKRControlListener() = default;
};

}  // namespace orv
