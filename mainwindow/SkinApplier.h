#pragma once
#include <QRect>

namespace orv {

class CVKREditorDlg;
class PanelControls;
struct ModelSkin;

// Dresses the panel for the connected amplifier's model character ('0' before any amplifier has
// identified itself; unknown characters get the same skin as '0'):
//
//   - the amplifier types the model has: the knob's range and travel, the names of types 5..7
//     or the pictures covering them; a knob beyond the new range is set to type 0 through the
//     window's listener, exactly as if the user had chosen it;
//   - the cabinet list of the model;
//   - the delay's layout (model '3' has no High Cut and Low Cut knobs; its Level knob moves
//     into their place);
//   - every model-dependent image: background, connection indicator, type names (resized to
//     their widths), cabinet caption, ratio scale, section switches, list rows and scroll track;
//   - the pictures that follow the amplifier type (see AmpTypeShown).
//
// It can run any number of times, with any sequence of models, and always leaves the panel
// consistent with the last one.
class SkinApplier {
 public:
  explicit SkinApplier(CVKREditorDlg& dlg) : dlg_(dlg) {}

  void ApplyModelSkin(char model);

  // After the amplifier-type knob and its names changed: model '4' shows its gain caption picture
  // only while type 0 is chosen, and the cabinet pull-down gives way to the cabinet caption
  // picture for types 5..7 (model '4' shows neither).
  void AmpTypeShown();

  // The model character the panel is dressed for.
  char model() const { return model_; }

 private:
  void applyAmpTypes(const ModelSkin& skin);
  void applyCabinetList(const ModelSkin& skin);
  void applyDelayLayout(const ModelSkin& skin);
  void applyImages(const ModelSkin& skin);
  void applyAmpTypeNames(const ModelSkin& skin);
  void showGainCaption();
  void showCabinetOrCaption();
  // Moves a control to `rect` on the panel and records it as its placement.
  void place(int id, const QRect& rect);
  void setShown(int id, bool shown);

  PanelControls& controls();

  CVKREditorDlg& dlg_;
  char model_ = '0';
};

}  // namespace orv
