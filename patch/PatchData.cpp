#include "patch/PatchData.h"

#include <algorithm>

#include "patch/MessageReporter.h"
#include "patch/StringTable.h"

namespace orv {

using namespace patch;

void initPatch(std::optional<std::string_view> name, PatchData& p) {
  std::string_view text = name.value_or("Empty");
  text = text.substr(0, std::min(text.size(), kNameLength));
  std::fill(p.bytes.begin(), p.bytes.begin() + kNameLength, 0);
  std::copy(text.begin(), text.end(), p.bytes.begin());

  std::fill(p.bytes.begin() + kAmpType, p.bytes.begin() + kCabinet + 1, 0);
  p[kCompType] = Stomp;
  writeTypeDefaults(p, kCompType, Stomp);
  p[kCompOn] = kOff;
  p[kEffectType] = Chorus;
  writeTypeDefaults(p, kEffectType, Chorus);
  p[kEffectOn] = kOff;
  p[kDelayType] = 0;
  writeValue(p, kDelayTime, true, 1);
  p[kDelayFeedback] = 0;
  writeValue(p, kDelayHighCut, true, 1000);
  writeValue(p, kDelayLowCut, true, 21);
  p[kDelayLevel] = 0;
  p[kDelayOn] = kOff;
  p[kReverbType] = Hall;
  writeTypeDefaults(p, kReverbType, Hall);
  p[kReverbOn] = kOff;
  p[kGateType] = 0;
  p[kGateThreshold] = 0;
  p[kGateRelease] = 0;
  p[kGateOn] = kOff;
}

int readValue(const PatchData& p, std::size_t offset, bool twoByte) {
  if (!twoByte) return p[offset];
  return (p[offset] & 0x7F) * 128 + (p[offset + 1] & 0x7F);
}

void writeValue(PatchData& p, std::size_t offset, bool twoByte, int value) {
  if (!twoByte) {
    p[offset] = static_cast<uint8_t>(value);
    return;
  }
  p[offset] = static_cast<uint8_t>((value / 128) & 0x7F);
  p[offset + 1] = static_cast<uint8_t>(value & 0x7F);
}

namespace {
void zero(PatchData& p, std::size_t first, std::size_t last) {
  std::fill(p.bytes.begin() + first, p.bytes.begin() + last + 1, 0);
}
}  // namespace

bool writeTypeDefaults(PatchData& p, std::size_t typeOffset, uint8_t type) {
  switch (typeOffset) {
    case kCompType:
      if (type == Stomp)
        zero(p, 145, 146);
      else if (type == Rack)
        zero(p, 145, 152);
      else
        return false;
      return true;
    case kEffectType:
      if (type > Phaser) return false;
      zero(p, 161, type == Chorus ? 163 : type == Flanger ? 165 : type == Tremolo ? 162 : 164);
      return true;
    case kReverbType:
      if (type == Spring) {
        zero(p, 193, 194);
      } else if (type <= Plate) {
        writeValue(p, 193, true, 3);
        writeValue(p, 195, true, 1);
        writeValue(p, 197, true, 21);
        writeValue(p, 199, true, 1000);
        p[201] = 1;
        p[202] = 1;
        p[203] = 0;
      } else {
        return false;
      }
      return true;
    default:
      return false;
  }
}

bool samePatchData(const LibraryEntry& a, const LibraryEntry& b) {
  return a.data == b.data;
}

int maxAmpType(char modelCode) {
  return (modelCode == '1' || modelCode == '2' || modelCode == '3') ? 7 : 4;
}

int cabinetListKind(char modelCode) {
  return modelCode == '2' ? 6 : modelCode == '3' ? 7 : 4;
}

bool acceptForModel(const LibraryEntry& entry, bool connected, char connectedModel,
                    IMessageReporter& reporter) {
  if (!connected) return true;
  const uint8_t m = entry.modelCode;
  const auto d = static_cast<uint8_t>(connectedModel);
  const bool oldFamily = (m == 0 || m == '0' || m == '1') && (d == '0' || d == '1');
  if (m == d || m == kAnyModel || oldFamily) return true;
  reporter.showMessage(strings::InvalidModel, IMessageReporter::Icon::Exclamation);
  return false;
}

bool acceptAmpType(const PatchData& patch, int maxAmp, IMessageReporter& reporter) {
  if (patch[kAmpType] <= maxAmp) return true;
  reporter.showMessage(strings::InvalidModel, IMessageReporter::Icon::Exclamation);
  return false;
}

}  // namespace orv
