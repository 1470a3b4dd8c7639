#include "sim/AmpSimulator.h"

#include <algorithm>
#include <stdexcept>

#include "device/ParameterMap.h"
#include "patch/GenericException.h"

namespace orv {

// The simulator speaks the amplifier's side of the protocol by itself, so the editor's codec is
// checked against an independent reading of the message formats.
namespace {

constexpr uint8_t kStart = 0xF0, kEnd = 0xF7, kMaker = 0x43, kFamily = 0x7D;
constexpr std::size_t kDumpSize = 276, kDumpData = 18, kDumpChecksum = 274;
constexpr uint8_t kDumpHeader[14] = {0x02, 0x0C, 'V', 'K',  'R',  '1',  'A',
                                     'l',  'l',  'P', 0x00, 0x00, 0x7F, 0x7F};

bool ours(const AmpSimulator::Bytes& m) {
  return m.size() >= 4 && m[0] == kStart && m[1] == kMaker && m[2] == kFamily;
}
uint8_t classOf(const AmpSimulator::Bytes& m) {
  return m[3] & 0xF0;
}
bool addressed(const uint8_t* b) {
  return b[4] == 0x41 && b[5] == 0x30;
}
bool requestFor(const AmpSimulator::Bytes& m, const char* tag) {
  return ours(m) && classOf(m) == 0x20 && m.size() >= 13 && std::equal(tag, tag + 8, m.begin() + 4);
}

uint8_t dumpChecksum(const uint8_t* dump) {
  unsigned sum = 0;
  for (std::size_t i = 6; i < kDumpChecksum; ++i) sum += dump[i];
  return uint8_t(-sum & 0x7F);
}

void checkModel(char model) {
  if (model < '0' || model > '4') throw std::invalid_argument("model code must be one of '0'..'4'");
}

const AmpSimulator::Options& validated(const AmpSimulator::Options& o) {
  if (o.name.empty()) throw std::invalid_argument("the device name must not be empty");
  checkModel(o.model);
  if (o.identityPeriod.count() <= 0)
    throw std::invalid_argument("the Identity period must be positive");
  return o;
}

}  // namespace

AmpSimulator::AmpSimulator(std::unique_ptr<AmpTransport> transport)
    : AmpSimulator(std::move(transport), Options{}) {}

AmpSimulator::AmpSimulator(std::unique_ptr<AmpTransport> transport, Options options)
    : transport_(std::move(transport)),
      options_(validated(options)),
      patch_(defaultPatch()),
      model_(options_.model) {
  if (!transport_) throw std::invalid_argument("the simulator needs a transport");
}

AmpSimulator::~AmpSimulator() {
  stop();
}

PatchData AmpSimulator::defaultPatch() {
  PatchData p;
  initPatch("ORV Sim Clean", p);
  p[patch::kAmpType] = 1;
  p[patch::kGain] = 35;
  p[patch::kMaster] = 60;
  p[patch::kBass] = 50;
  p[patch::kMiddle] = 45;
  p[patch::kTreble] = 55;
  p[patch::kCabinet] = 1;
  p[patch::kReverbType] = patch::Spring;
  writeTypeDefaults(p, patch::kReverbType, patch::Spring);
  p[193] = 30;  // Reverb
  p[194] = 40;  // Filter
  p[patch::kReverbOn] = patch::kOn;
  return p;
}

// --- Life and presence -------------------------------------------------------------------

int AmpSimulator::start() {
  {
    std::lock_guard lock(threadMutex_);
    if (running_) return 0;
  }
  const int result = comeBack();
  if (result != 0) return result;
  std::lock_guard lock(threadMutex_);
  running_ = true;
  thread_ = std::thread([this] { announce(); });
  return 0;
}

void AmpSimulator::stop() {
  {
    std::lock_guard lock(threadMutex_);
    running_ = false;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
  vanish();
}

void AmpSimulator::announce() {
  std::unique_lock lock(threadMutex_);
  while (running_) {
    lock.unlock();
    {
      // Held across the check and the send, so that once setSilent(true) returns no further
      // Identity leaves the simulator.
      std::lock_guard announcing(announceMutex_);
      if (!silent() && present()) sendIdentity();
    }
    lock.lock();
    wake_.wait_for(lock, options_.identityPeriod, [this] { return !running_; });
  }
}

void AmpSimulator::vanish() {
  transport_->close();
}

int AmpSimulator::comeBack() {
  if (transport_->isOpen()) return 0;
  return transport_->open(options_.name,
                          [this](const uint8_t* b, std::size_t n) { onMessage(b, n); });
}

bool AmpSimulator::present() const {
  return transport_->isOpen();
}

// --- Identity ----------------------------------------------------------------------------

void AmpSimulator::setSilent(bool silent) {
  std::lock_guard announcing(announceMutex_);
  std::lock_guard lock(mutex_);
  silent_ = silent;
}

bool AmpSimulator::silent() const {
  std::lock_guard lock(mutex_);
  return silent_;
}

void AmpSimulator::setModel(char model) {
  checkModel(model);
  std::lock_guard lock(mutex_);
  model_ = model;
}

char AmpSimulator::model() const {
  std::lock_guard lock(mutex_);
  return model_;
}

int AmpSimulator::sendIdentity() {
  return sendIdentity(uint8_t(model()));
}

int AmpSimulator::sendIdentity(uint8_t model) {
  if (model == 0 || model > 0x7F) throw std::invalid_argument("model byte must be 01..7F");
  return send({kStart, kMaker, kFamily, 0x60, 'V', 'K', 'R', model, kEnd});
}

// --- State -------------------------------------------------------------------------------

PatchData AmpSimulator::patch() const {
  std::lock_guard lock(mutex_);
  return patch_;
}

void AmpSimulator::setPatch(const PatchData& patch) {
  std::lock_guard lock(mutex_);
  patch_ = patch;
}

std::array<uint8_t, AmpSimulator::kSettingCount> AmpSimulator::settings() const {
  std::lock_guard lock(mutex_);
  return settings_;
}

void AmpSimulator::setSetting(int number, uint8_t value) {
  if (number < 0 || number >= kSettingCount || value > 0x7F)
    throw std::invalid_argument("no such setting or value");
  std::lock_guard lock(mutex_);
  settings_[number] = value;
}

int AmpSimulator::turnKnob(int parameterId, int value) {
  const int offset = params::offsetOf(parameterId);
  const bool twoByte = params::isTwoByte(parameterId);
  if (value < 0 || value > (twoByte ? 0x3FFF : 0x7F))
    throw std::invalid_argument("value out of range for the parameter");
  const uint8_t d1 = twoByte ? uint8_t(value >> 7) : 0;
  const uint8_t d2 = uint8_t(value & 0x7F);
  {
    std::lock_guard lock(mutex_);
    if (twoByte) patch_[offset] = d1;
    patch_[offset + (twoByte ? 1 : 0)] = d2;
  }
  return send({kStart, kMaker, kFamily, 0x10, 0x41, 0x30, uint8_t(offset >> 7),
               uint8_t(offset & 0x7F), d1, d2, kEnd});
}

int AmpSimulator::sendRaw(const Bytes& message) {
  return send(message);
}

int AmpSimulator::send(const Bytes& message) {
  return transport_->send(message.data(), message.size());
}

// --- Receiving ---------------------------------------------------------------------------

void AmpSimulator::onMessage(const uint8_t* bytes, std::size_t length) {
  Bytes m(bytes, bytes + length);
  {
    std::lock_guard lock(logMutex_);
    log_.push_back(m);
  }
  logChanged_.notify_all();

  if (isDumpRequest(m)) answerDumpRequest();
  if (isSettingsRequest(m)) answerSettingsRequest();
  if (isParameterChange(m)) applyParameterChange(m.data());
  if (isSettingChange(m)) applySettingChange(m.data());
  if (isBulkDump(m)) applyBulkDump(m.data());
}

void AmpSimulator::answerDumpRequest() {
  Bytes dump(kDumpSize);
  dump[0] = kStart;
  dump[1] = kMaker;
  dump[2] = kFamily;
  dump[3] = 0x00;
  std::copy(std::begin(kDumpHeader), std::end(kDumpHeader), dump.begin() + 4);
  {
    std::lock_guard lock(mutex_);
    std::copy(patch_.bytes.begin(), patch_.bytes.end(), dump.begin() + kDumpData);
  }
  dump[kDumpChecksum] = dumpChecksum(dump.data());
  dump[kDumpSize - 1] = kEnd;
  send(dump);
}

void AmpSimulator::answerSettingsRequest() {
  const auto values = settings();
  for (int n = 0; n < kSettingCount; ++n)
    send({kStart, kMaker, kFamily, 0x30, 0x41, 0x30, uint8_t(n), values[n], kEnd});
}

// The amplifier knows which of its parameters are 14-bit; name characters and single-byte
// parameters take D2 alone. A parameter that belongs to another type of its block is still
// stored (the editor sends a new type's values just before the type itself), and a new type
// brings that type's defaults, as the amplifier's own type switch does. Addresses naming
// nothing are ignored.
void AmpSimulator::applyParameterChange(const uint8_t* b) {
  const int address = (b[6] & 0x7F) * 128 + (b[7] & 0x7F);
  std::lock_guard lock(mutex_);
  if (address < int(patch::kNameLength)) {
    patch_[address] = b[9];
    return;
  }
  if (address >= int(PatchData::kSize)) return;
  const int id = identifierForAnyType(address);
  if (id == 0) return;
  if (params::isTwoByte(id)) {
    patch_[address] = b[8];
    patch_[address + 1] = b[9];
    return;
  }
  const uint8_t old = patch_[address];
  patch_[address] = b[9];
  const bool typeByte =
      id == params::kCompType || id == params::kEffectType || id == params::kReverbType;
  if (typeByte && old != b[9] && old != patch::kOff && b[9] != patch::kOff)
    writeTypeDefaults(patch_, address, b[9]);
}

// The identifier under the block's present type, else under the first type that has one.
int AmpSimulator::identifierForAnyType(int address) const {
  const uint8_t present = patch_[params::blockOf(address)];
  for (int t = -1; t < 4; ++t) {
    try {
      return params::identifierOf(address, t < 0 ? present : uint8_t(t));
    } catch (const CGenericException&) {
    }
  }
  return 0;
}

void AmpSimulator::applySettingChange(const uint8_t* b) {
  if (b[6] >= kSettingCount) return;
  std::lock_guard lock(mutex_);
  settings_[b[6]] = b[7];
}

void AmpSimulator::applyBulkDump(const uint8_t* b) {
  if ((b[kDumpChecksum] & 0x7F) != dumpChecksum(b)) return;
  std::lock_guard lock(mutex_);
  std::copy(b + kDumpData, b + kDumpData + PatchData::kSize, patch_.bytes.begin());
}

bool AmpSimulator::isDumpRequest(const Bytes& m) {
  return requestFor(m, "VKR1AllP");
}

bool AmpSimulator::isSettingsRequest(const Bytes& m) {
  return requestFor(m, "VKR1PREF");
}

bool AmpSimulator::isParameterChange(const Bytes& m) {
  return ours(m) && classOf(m) == 0x10 && m.size() >= 11 && addressed(m.data());
}

bool AmpSimulator::isSettingChange(const Bytes& m) {
  return ours(m) && classOf(m) == 0x30 && m.size() >= 9 && addressed(m.data());
}

bool AmpSimulator::isBulkDump(const Bytes& m) {
  return ours(m) && classOf(m) == 0x00 && m.size() >= kDumpSize &&
         std::equal(std::begin(kDumpHeader), std::end(kDumpHeader), m.begin() + 4);
}

// --- Log ---------------------------------------------------------------------------------

std::vector<AmpSimulator::Bytes> AmpSimulator::received() const {
  std::lock_guard lock(logMutex_);
  return log_;
}

void AmpSimulator::clearReceived() {
  std::lock_guard lock(logMutex_);
  log_.clear();
}

bool AmpSimulator::waitForReceived(const std::function<bool(const std::vector<Bytes>&)>& done,
                                   std::chrono::milliseconds timeout) const {
  std::unique_lock lock(logMutex_);
  return logChanged_.wait_for(lock, timeout, [&] { return done(log_); });
}

}  // namespace orv
