#pragma once
#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QComboBox;

namespace orv {

// The "Preferences" dialog: the MIDI ports to use (DATA IN, DATA OUT), the knob mode of the
// dials, and the amplifier's extended stereo and power lamp. The two device settings are shown
// only as the amplifier reports them: their buttons stay disabled until a report arrives, and
// with no amplifier connected none is asked for.
//
// Opening (OnInitDialog) lists the devices, selects the configured names, registers a listener
// with the device link that passes on setting reports, and asks the amplifier for its settings.
// The listener is removed when the dialog closes or goes away. OK stores the ports and the knob
// mode in the settings record; the caller sends the device settings.
class CVKRPreferenceWindow : public QDialog {
  Q_OBJECT

 public:
  // Control identifiers; the radio index of each pair is the setting's value.
  enum Id : int {
    kDataIn = 1006,
    kDataOut = 1008,
    kLinear = 1009,
    kCircular = 1010,
    kStereoOn = 1011,
    kStereoOff = 1012,
    kLampOn = 1013,
    kLampOff = 1014,
  };

  explicit CVKRPreferenceWindow(QWidget* parent = nullptr);
  ~CVKRPreferenceWindow() override;

  // Fills the dialog from the device lists and the settings record and asks the amplifier for
  // its settings (only while connected). A failed request throws CGenericException 202; the
  // listener is removed with the dialog all the same.
  void OnInitDialog();

  // Device names in the order the lists show them: sorted, without empty names.
  static std::vector<std::string> sortedNames(std::vector<std::string> names);
  // The item the configured `name` selects: the first that begins with it, regardless of case;
  // -1 when none does.
  static int selectString(const QComboBox& list, const QString& name);

  bool extendedStereoReported() const { return stereoReported_; }
  int extendedStereo() const { return stereo_; }
  bool powerLampReported() const { return lampReported_; }
  int powerLamp() const { return lamp_; }

  QComboBox* dataIn() const { return dataIn_; }
  QComboBox* dataOut() const { return dataOut_; }
  QAbstractButton* button(int id) const;

  // Registered with the device link; runs on the link's tick thread and only posts event 6.
  static void Listener(void* context, int32_t code, int32_t value, int32_t reserved);

 public slots:
  void accept() override;
  void done(int result) override;

 protected:
  bool event(QEvent* event) override;

 private:
  void buildLayout();
  void addLabel(int row, const QString& text, QWidget* field);
  QButtonGroup* addPair(int row, const QString& label, int firstId, const QString& first,
                        const QString& second);
  void fillList(QComboBox* list, std::vector<std::string> names, const std::string& configured);
  void settingReported(int value);
  static void showIndex(QButtonGroup* pair, int index);
  void removeListener();

  QComboBox* dataIn_ = nullptr;
  QComboBox* dataOut_ = nullptr;
  QButtonGroup* knobMode_ = nullptr;
  QButtonGroup* stereoPair_ = nullptr;
  QButtonGroup* lampPair_ = nullptr;
  bool stereoReported_ = false;
  bool lampReported_ = false;
  int stereo_ = 0;
  int lamp_ = 0;
  bool listening_ = false;
};

}  // namespace orv
