// TImageList: pictures of one size kept by index, each with a name; PNG items keep their alpha.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "framework/Canvas.h"
#include "framework/Component.h"
#include "platform/gfx/Bitmap.h"

namespace fw {

class TImageList : public TComponent {
 public:
  explicit TImageList(TComponent* owner) : TComponent(owner) {}
  std::string ClassName() const override { return "TImageList"; }

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Sets the size of the items; only while the list is empty.
  void SetSize(int width, int height);

  // Adds a picture of the list's size; returns its index. Raises Exception for another size.
  int Add(const std::u16string& name, const gfx::Bitmap& picture);
  // Adds a PNG file's contents (decoded with its alpha).
  int AddPng(const std::u16string& name, std::span<const std::uint8_t> png);
  void Clear() { FItems.clear(); }
  int Count() const { return int(FItems.size()); }
  const gfx::Bitmap& Bitmap(int index) const;
  const std::u16string& ItemName(int index) const;
  int IndexOf(const std::u16string& name) const;  // -1 when absent
  // Puts a picture of the list's size in place of item index; raises Exception for a bad index
  // or another size.
  void Replace(int index, const gfx::Bitmap& picture);
  // Draws an item at (x, y), blended by its alpha; nothing for a bad index.
  void Draw(TCanvas& canvas, int x, int y, int index) const;

  // Told after the pictures changed as a whole (lists that fill themselves call Change):
  // OnChange, then every change link, the way controls showing the pictures keep up.
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }
  virtual void Change();
  // A change link: returns its id for UnRegisterChanges (unknown ids are ignored).
  int RegisterChanges(std::function<void()> link);
  void UnRegisterChanges(int id);

 private:
  struct Item {
    std::u16string name;
    gfx::Bitmap picture;
  };
  int FWidth = 16;
  int FHeight = 16;
  std::vector<Item> FItems;
  TNotifyEvent FOnChange;
  std::vector<std::pair<int, std::function<void()>>> FChangeLinks;
  int FNextLinkId = 1;
};

// A component's link to the image list it shows pictures from: while linked, the owner hears
// of the list's changes (onChange) and, through its Notification, of the list's freeing, which
// Removed drops. Unlinked at destruction.
class TImageListLink {
 public:
  TImageListLink(TComponent& owner, std::function<void()> onChange)
      : FOwner(owner), FOnChange(std::move(onChange)) {}
  ~TImageListLink() { Set(nullptr); }
  TImageListLink(const TImageListLink&) = delete;
  TImageListLink& operator=(const TImageListLink&) = delete;
  TImageList* List() const { return FList; }
  // Links to list (null: none); false when it was the list already.
  bool Set(TImageList* list);
  // For the owner's Notification: true when component, being removed, was the list (dropped).
  bool Removed(TComponent* component, TOperation operation);

 private:
  TComponent& FOwner;
  std::function<void()> FOnChange;
  TImageList* FList = nullptr;
  int FLinkId = 0;  // our change link in FList
};

}  // namespace fw
