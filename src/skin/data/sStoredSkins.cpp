#include "skin/data/sStoredSkins.h"

#include <stdexcept>

namespace skin::data {

void TsStoredSkin::SetName(std::string name) {
  FName = std::move(name);
  FCollection.Changed();
}

void TsStoredSkin::SetPackedData(std::vector<std::uint8_t> data) {
  FPackedData = std::move(data);
  FCollection.Changed();
}

void TsStoredSkin::Assign(const TsStoredSkin& source) {
  if (&source == this) return;
  FName = source.FName;
  FPackedData = source.FPackedData;
  Author = source.Author;
  Description = source.Description;
  Version = source.Version;
  Shadow1Color = source.Shadow1Color;
  Shadow1Offset = source.Shadow1Offset;
  Shadow1Transparency = source.Shadow1Transparency;
  Shadow1Blur = source.Shadow1Blur;
  BorderColor = source.BorderColor;
  MasterBitmap = source.MasterBitmap;
  FCollection.Changed();
}

TsStoredSkin& TsStoredSkins::Add() {
  FItems.push_back(std::unique_ptr<TsStoredSkin>(new TsStoredSkin(*this)));
  if (OnItemCreated) OnItemCreated();
  return *FItems.back();
}

void TsStoredSkins::Delete(int index) {
  if (index < 0 || index >= Count()) throw std::out_of_range("TsStoredSkins::Delete");
  FItems.erase(FItems.begin() + index);
  Changed();
}

int TsStoredSkins::IndexOf(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    if (FItems[i]->Name() == name) return i;
  }
  return -1;
}

void TsStoredSkins::Changed() {
  if (OnItemChanged) OnItemChanged();
}

}  // namespace skin::data
