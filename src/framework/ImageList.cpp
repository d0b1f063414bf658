#include "framework/ImageList.h"

#include "framework/Exception.h"
#include "platform/gfx/PictureCodec.h"

namespace fw {

void TImageList::SetSize(int width, int height) {
  if (!FItems.empty()) throw Exception(u"The size of a filled image list cannot change");
  if (width <= 0 || height <= 0 || width > 1024 || height > 1024)
    throw Exception(u"Invalid image list size");
  FWidth = width;
  FHeight = height;
}

int TImageList::Add(const std::u16string& name, const gfx::Bitmap& picture) {
  if (picture.Width() != FWidth || picture.Height() != FHeight)
    throw Exception(u"The picture \"" + name + u"\" does not have the image list's size");
  FItems.push_back({name, picture});
  return Count() - 1;
}

int TImageList::AddPng(const std::u16string& name, std::span<const std::uint8_t> png) {
  return Add(name, gfx::DecodePng(png));
}

void TImageList::Replace(int index, const gfx::Bitmap& picture) {
  if (index < 0 || index >= Count()) throw Exception(u"Image list index out of bounds");
  if (picture.Width() != FWidth || picture.Height() != FHeight)
    throw Exception(u"The picture does not have the image list's size");
  FItems[index].picture = picture;
}

void TImageList::Change() {
  if (FOnChange) FOnChange(this);
  // A link may unregister itself or others while it runs: walk a copy of the ids.
  std::vector<int> ids;
  for (const auto& link : FChangeLinks) ids.push_back(link.first);
  for (int id : ids)
    for (const auto& link : FChangeLinks)
      if (link.first == id) {
        std::function<void()> call = link.second;
        call();
        break;
      }
}

int TImageList::RegisterChanges(std::function<void()> link) {
  FChangeLinks.emplace_back(FNextLinkId, std::move(link));
  return FNextLinkId++;
}

void TImageList::UnRegisterChanges(int id) {
  std::erase_if(FChangeLinks, [id](const auto& link) { return link.first == id; });
}

const gfx::Bitmap& TImageList::Bitmap(int index) const {
  if (index < 0 || index >= Count()) throw Exception(u"Image list index out of bounds");
  return FItems[index].picture;
}

const std::u16string& TImageList::ItemName(int index) const {
  if (index < 0 || index >= Count()) throw Exception(u"Image list index out of bounds");
  return FItems[index].name;
}

int TImageList::IndexOf(const std::u16string& name) const {
  for (int i = 0; i < Count(); ++i)
    if (FItems[i].name == name) return i;
  return -1;
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index) const {
  if (index < 0 || index >= Count()) return;
  canvas.Draw(x, y, FItems[index].picture, true);
}

bool TImageListLink::Set(TImageList* list) {
  if (list == FList) return false;
  if (FList) {
    FOwner.RemoveFreeNotification(FList);
    FList->UnRegisterChanges(FLinkId);
  }
  FList = list;
  if (FList) {
    FOwner.FreeNotification(FList);
    FLinkId = FList->RegisterChanges([this] { FOnChange(); });
  }
  return true;
}

bool TImageListLink::Removed(TComponent* component, TOperation operation) {
  if (operation != TOperation::opRemove || component != FList) return false;
  FList = nullptr;
  return true;
}

}  // namespace fw
