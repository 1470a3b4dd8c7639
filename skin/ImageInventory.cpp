#include "skin/ImageInventory.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace orv {
namespace {

using F = ImageFormat;
using R = ImageRole;

ImageInfo one(int id, int w, int h, F f, R r, std::string_view what) {
  return {id, w, h, f, r, h, 1, what};
}

ImageInfo cells(int id, int w, int cellH, int count, F f, R r, std::string_view what) {
  return {id, w, cellH * count, f, r, cellH, count, what};
}

void addLabels(std::vector<ImageInfo>& v, int first, std::initializer_list<int> widths,
               std::string_view what) {
  int id = first;
  for (int w : widths) v.push_back(one(id++, w, 14, F::Rgba, R::AmpTypeLabel, what));
}

std::vector<ImageInfo> build() {
  std::vector<ImageInfo> v;
  v.push_back(one(183, 206, 41, F::Rgb, R::ListRow, "library row"));
  v.push_back(one(184, 206, 41, F::Rgb, R::ListRow, "library row, model 4"));
  v.push_back(cells(185, 24, 24, 4, F::Rgba, R::ButtonSprite, "Save to Library button"));
  v.push_back(cells(186, 153, 41, 2, F::Rgb, R::ButtonSprite, "connection indicator"));
  v.push_back(cells(187, 43, 48, 51, F::Rgba, R::KnobStrip, "small knob"));
  v.push_back(cells(188, 56, 55, 10, F::Rgba, R::KnobStrip, "amplifier-type selector"));
  v.push_back(cells(189, 56, 55, 51, F::Rgba, R::KnobStrip, "amplifier knob"));
  v.push_back(one(190, 42, 17, F::Rgba, R::Plate, "number display plate"));
  v.push_back(cells(191, 24, 24, 4, F::Rgba, R::Unused, "spare button"));
  v.push_back(cells(192, 27, 46, 6, F::Rgba, R::ButtonSprite, "section switch"));
  v.push_back(one(193, 96, 57, F::Rgb, R::Picture, "ratio scale"));
  addLabels(v, 194, {59, 69, 58, 61, 71, 49, 43, 47}, "amplifier-type name");
  v.push_back(one(203, 8, 101, F::Rgb, R::ScrollThumb, "scroll thumb"));
  v.push_back(cells(204, 12, 11, 4, F::Rgb, R::ArrowSprite, "list down arrow"));
  v.push_back(cells(205, 12, 11, 4, F::Rgb, R::ArrowSprite, "list up arrow"));
  v.push_back(cells(212, 61, 24, 4, F::Rgba, R::PullDownSprite, "narrow pull-down"));
  v.push_back(cells(213, 100, 24, 4, F::Rgba, R::PullDownSprite, "pull-down"));
  v.push_back(one(216, 800, 600, F::Rgb, R::Background, "background, models 0 and 1"));
  v.push_back(one(220, 49, 14, F::Rgb, R::LabelCover, "cover of amplifier-type name 5"));
  v.push_back(one(221, 43, 14, F::Rgb, R::LabelCover, "cover of amplifier-type name 6"));
  v.push_back(one(222, 47, 14, F::Rgb, R::LabelCover, "cover of amplifier-type name 7"));
  v.push_back(one(225, 53, 14, F::Rgb, R::Picture, "cabinet caption"));
  v.push_back(one(231, 13, 442, F::Rgb, R::ScrollTrack, "scroll track, model 4"));
  v.push_back(one(232, 13, 442, F::Rgb, R::ScrollTrack, "scroll track"));
  v.push_back(one(233, 800, 600, F::Rgba, R::Background, "background, model 4"));
  v.push_back(cells(234, 153, 41, 2, F::Rgb, R::ButtonSprite, "connection indicator, model 4"));
  addLabels(v, 235, {61, 60, 53, 75, 91}, "amplifier-type name, model 4");
  v.push_back(one(240, 40, 14, F::Rgb, R::Picture, "gain caption"));
  v.push_back(one(241, 800, 600, F::Rgb, R::Background, "background, model 3"));
  v.push_back(cells(242, 153, 41, 2, F::Rgb, R::ButtonSprite, "connection indicator, model 3"));
  addLabels(v, 243, {61, 62, 69, 75, 47, 47, 43, 47}, "amplifier-type name, model 3");
  v.push_back(one(251, 53, 14, F::Rgb, R::Picture, "cabinet caption, model 3"));
  v.push_back(one(252, 800, 600, F::Rgb, R::Background, "background, model 2"));
  v.push_back(cells(253, 153, 41, 2, F::Rgb, R::ButtonSprite, "connection indicator, model 2"));
  v.push_back(one(254, 96, 57, F::Rgb, R::Picture, "ratio scale, model 2"));
  addLabels(v, 255, {71, 72, 72, 75, 95, 57, 50, 48}, "amplifier-type name, model 2");
  v.push_back(cells(263, 27, 46, 6, F::Rgba, R::ButtonSprite, "section switch, model 2"));
  v.push_back(one(264, 53, 14, F::Rgb, R::Picture, "cabinet caption, model 2"));
  return v;
}

const std::vector<ImageInfo>& table() {
  static const std::vector<ImageInfo> infos = build();
  return infos;
}

}  // namespace

std::span<const ImageInfo> ImageInventory::images() {
  return table();
}

const ImageInfo* ImageInventory::find(int id) {
  const auto& infos = table();
  const auto it = std::lower_bound(infos.begin(), infos.end(), id,
                                   [](const ImageInfo& s, int key) { return s.id < key; });
  return it != infos.end() && it->id == id ? &*it : nullptr;
}

const ImageInfo& ImageInventory::at(int id) {
  if (const ImageInfo* s = find(id)) return *s;
  throw std::out_of_range("no image with identifier " + std::to_string(id));
}

std::string ImageInventory::resourcePath(int id) {
  return ":/png/" + std::to_string(id) + ".png";
}

}  // namespace orv
