#include "app/PhotoViewer.h"

#include <filesystem>

#include "framework/db/Filter.h"
#include "framework/db/Variant.h"

namespace app {

namespace fs = std::filesystem;

namespace {

bool IsRegularFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);  // follows symbolic links
}

// The entry of folder whose name equals name ignoring case; the first in code-unit order.
std::optional<fs::path> FindIgnoringCase(const fs::path& folder, const std::string& name) {
  const std::u16string want = db::FoldCase(db::ToUtf16(name));
  std::optional<std::string> best;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string entry = it->path().filename().string();
    if (db::FoldCase(db::ToUtf16(entry)) == want && (!best || entry < *best)) best = entry;
  }
  if (!best) return std::nullopt;
  return folder / *best;
}

}  // namespace

std::optional<std::string> FindPhotoFile(const std::string& fotoFolder,
                                         const std::u16string& stored) {
  std::string name = db::ToUtf8(stored);
  for (char& c : name)
    if (c == '\\') c = '/';
  const fs::path exact = fotoFolder + name;
  if (IsRegularFile(exact)) return exact.string();
  // Component by component, each one as written when it exists, else ignoring case.
  fs::path at = fotoFolder;
  for (const fs::path& part : fs::path(name)) {
    const std::string s = part.string();
    if (s.empty() || s == "/") continue;
    std::error_code ec;
    if (fs::exists(at / part, ec)) {
      at /= part;
    } else if (auto found = FindIgnoringCase(at, s)) {
      at = *found;
    } else {
      return std::nullopt;
    }
  }
  if (!IsRegularFile(at)) return std::nullopt;
  return at.string();
}

std::optional<std::string> TPhotoViewer::CurrentFile() const {
  return FindPhotoFile(ResourceFolder + "foto/", FPhotos.FieldByName("foto").AsString());
}

void TPhotoViewer::Show(const std::optional<std::string>& file) {
  if (file) {
    FControls.box->LoadFromFile(*file);
    FControls.box->SetEnabled(true);
  } else {
    FControls.box->ClearPicture();
    FControls.box->SetEnabled(false);
  }
}

void TPhotoViewer::ShowFirst() {
  FControls.nextButton->SetVisible(FPhotos.RecordCount() >= 2);
  Show(FPhotos.RecordCount() >= 1 ? CurrentFile() : std::nullopt);
  SmallView();
}

void TPhotoViewer::Next() {
  if (FPhotos.RecNo() == FPhotos.RecordCount())
    FPhotos.First();
  else
    FPhotos.Next();
  const std::optional<std::string> file = CurrentFile();
  Show(file);
  if (!file) SmallView();
}

void TPhotoViewer::ToggleZoom() {
  if (!FControls.box->Enabled()) return;
  if (FLarge)
    SmallView();
  else
    Place(kLargeBounds, true);
}

void TPhotoViewer::SmallView() { Place(kSmallBounds, false); }

void TPhotoViewer::Place(const gfx::TRect& designBounds, bool large) {
  fw::TControl& box = *FControls.box;
  const auto scaled = [&box](int v) { return box.ScaledDesignValue(v); };
  box.SetBounds(scaled(designBounds.Left), scaled(designBounds.Top),
                scaled(designBounds.Width()), scaled(designBounds.Height()));
  FLarge = large;
  for (fw::TControl* c : FControls.covered) c->SetVisible(!large);
}

}  // namespace app
