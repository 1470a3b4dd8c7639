#include "device/MidiPort.h"

#include <algorithm>
#include <utility>

#include "device/SysexCodec.h"

namespace orv {

namespace {

constexpr uint8_t kSysexStart = 0xF0;
constexpr uint8_t kTimingClock = 0xF8, kActiveSensing = 0xFE;
// The output probe: a short message the device ignores, refused when the device is gone.
constexpr uint8_t kProbe[3] = {0xE0, 0x0F, 0x00};

int indexOf(const std::vector<std::string>& names, const std::string& name) {
  const auto it = std::find(names.begin(), names.end(), name);
  return it == names.end() ? -1 : int(it - names.begin());
}

}  // namespace

MidiPort::MidiPort(std::unique_ptr<MidiBackend> backend) : backend_(std::move(backend)) {}

MidiPort::~MidiPort() {
  closeInput();
  std::lock_guard ops(outputOpsMutex_);
  closeOutputOps();
}

std::string MidiPort::listedName(std::string name) {
  if (name.rfind("-1") != std::string::npos) name.resize(name.size() - 2);
  return name;
}

std::vector<std::string> MidiPort::listInputs() {
  auto names = backend_->inputDevices();
  for (auto& n : names) n = listedName(std::move(n));
  return names;
}

std::vector<std::string> MidiPort::listOutputs() {
  auto names = backend_->outputDevices();
  for (auto& n : names) n = listedName(std::move(n));
  return names;
}

int MidiPort::findInput(const std::string& name) {
  return indexOf(listInputs(), name);
}

int MidiPort::findOutput(const std::string& name) {
  return indexOf(listOutputs(), name);
}

// --- Input -------------------------------------------------------------------------------

void MidiPort::dispatch(Gate& gate, const uint8_t* bytes, std::size_t length) {
  try {
    std::shared_ptr<const Handler> handler;
    {
      std::lock_guard lock(gate.mutex);
      if (!gate.running) return;
      handler = gate.handler;
    }
    if (!handler || bytes == nullptr || length == 0) return;
    if (bytes[0] == kSysexStart) {
      // As a fixed input buffer would: a long message arrives in pieces.
      for (std::size_t at = 0; at < length; at += kInputBufferSize)
        (*handler)(bytes + at, std::min(kInputBufferSize, length - at));
      return;
    }
    if (bytes[0] == kTimingClock || bytes[0] == kActiveSensing) return;
    const uint8_t shortMessage[3] = {bytes[0], length > 1 ? bytes[1] : uint8_t(0),
                                     length > 2 ? bytes[2] : uint8_t(0)};
    (*handler)(shortMessage, 3);
  } catch (...) {
    sysex::reportDiagnostic("Exception caught!");
  }
}

int MidiPort::openInput(int device, Handler handler) {
  std::lock_guard lock(inputMutex_);
  closeInputLocked();
  {
    std::lock_guard gateLock(gate_->mutex);
    gate_->handler = std::make_shared<const Handler>(std::move(handler));
  }
  std::weak_ptr<Gate> gate = gate_;
  const int result = backend_->openInput(device, [gate](const uint8_t* bytes, std::size_t n) {
    if (const auto g = gate.lock()) dispatch(*g, bytes, n);
  });
  inputOpen_ = result == 0;
  if (!inputOpen_) {
    std::lock_guard gateLock(gate_->mutex);
    gate_->handler.reset();
  }
  return result;
}

int MidiPort::startInput() {
  std::lock_guard lock(inputMutex_);
  if (!inputOpen_) return kNoInput;
  std::lock_guard gateLock(gate_->mutex);
  gate_->running = true;
  return 0;
}

int MidiPort::closeInput() {
  std::lock_guard lock(inputMutex_);
  return closeInputLocked();
}

int MidiPort::closeInputLocked() {
  {
    std::lock_guard gateLock(gate_->mutex);
    gate_->running = false;
  }
  // Waits for a message being handed on at this moment; afterwards the handler is not called.
  if (inputOpen_) backend_->closeInput();
  inputOpen_ = false;
  std::lock_guard gateLock(gate_->mutex);
  gate_->handler.reset();
  return 0;
}

bool MidiPort::isInputOpen() const {
  std::lock_guard lock(inputMutex_);
  return inputOpen_;
}

bool MidiPort::isInputRunning() const {
  std::lock_guard gateLock(gate_->mutex);
  return gate_->running;
}

// --- Output ------------------------------------------------------------------------------

int MidiPort::openOutput(int device) {
  std::lock_guard ops(outputOpsMutex_);
  closeOutputOps();
  const int result = backend_->openOutput(device);
  std::lock_guard lock(outputMutex_);
  outputHandle_ = result == 0;
  return result;
}

int MidiPort::resetOutput() {
  std::lock_guard lock(outputMutex_);
  return resetOutputLocked();
}

// The backend owns the copies of what it was handed, so a reset only clears the flag.
int MidiPort::resetOutputLocked() {
  if (outputOpen_ && outputHandle_) outputOpen_ = false;
  return 0;
}

// Clears the flags first, so that sends stop before the backend closes the port.
void MidiPort::closeOutputOps() {
  bool hadHandle = false;
  {
    std::lock_guard lock(outputMutex_);
    resetOutputLocked();
    hadHandle = std::exchange(outputHandle_, false);
  }
  if (hadHandle) backend_->closeOutput();
}

bool MidiPort::hasOutput() const {
  std::lock_guard lock(outputMutex_);
  return outputHandle_;
}

void MidiPort::setOutputOpen(bool open) {
  std::lock_guard lock(outputMutex_);
  outputOpen_ = open;
}

bool MidiPort::isOutputOpen() const {
  std::lock_guard lock(outputMutex_);
  return outputOpen_;
}

// The backend keeps each message whole and in order, so sends from the MIDI thread and the UI
// thread never interleave without a lock held here.
int MidiPort::send(const uint8_t* bytes, std::size_t length) {
  {
    std::lock_guard lock(outputMutex_);
    if (!outputHandle_) return 0;
  }
  return backend_->send(bytes, length);
}

// --- Device list changes -----------------------------------------------------------------

void MidiPort::checkPorts() {
  checkInput();
  checkOutput();
}

void MidiPort::checkInput() {
  std::lock_guard lock(inputMutex_);
  if (!isInputRunning()) return;
  const std::string name = backend_->openInputName();
  const auto names = backend_->inputDevices();  // names as the service gives them
  if (name.empty() || indexOf(names, name) < 0) closeInputLocked();
}

void MidiPort::checkOutput() {
  std::lock_guard ops(outputOpsMutex_);
  bool handle = false;
  {
    std::lock_guard lock(outputMutex_);
    if (!outputOpen_) return;
    handle = outputHandle_;
  }
  const std::string name = backend_->openOutputName();
  const auto names = backend_->outputDevices();
  const bool present = !name.empty() && indexOf(names, name) >= 0;
  if (present && handle && backend_->send(kProbe, sizeof kProbe) == 0) return;
  closeOutputOps();
}

}  // namespace orv
