// The museum's photos: the first photo of a card, the ">>" button that steps through them in
// a cycle, and the click on the photo that toggles between the small view beside the sections
// text and the large view over most of the card. The photos are the rows of the photo query;
// each names a file in the "foto/" folder of the resource folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framework/Image.h"
#include "framework/db/DataSet.h"

namespace app {

// The file a stored photo name refers to in fotoFolder, or nothing when there is no such
// regular file. Stored names come from a system whose file names ignore letter case and use
// backslashes: a backslash separates folders, and a name that does not exist as written is
// looked up ignoring case (the first match in code-unit order when several differ only in
// case). A name that leads to a folder (an empty name does) is no photo.
std::optional<std::string> FindPhotoFile(const std::string& fotoFolder,
                                         const std::u16string& stored);

// The controls the viewer drives.
struct TPhotoControls {
  fw::TImage* box = nullptr;           // the photo
  fw::TControl* nextButton = nullptr;  // ">>"
  std::vector<fw::TControl*> covered;  // hidden under the large view (sections text, title)
};

class TPhotoViewer {
 public:
  TPhotoViewer(db::TDataSet& photos, TPhotoControls controls)
      : FPhotos(photos), FControls(std::move(controls)) {}

  // The resource folder the photo folder "foto/" lies in.
  std::string ResourceFolder;

  // After the photo query has been opened for a card: ">>" only for two photos or more, the
  // first photo when its file exists (else an empty, disabled box), the small view. A file
  // that cannot be decoded raises the loader's error and changes nothing after that point.
  void ShowFirst();
  // ">>": the next row, after the last the first; its photo in the current view, or an empty,
  // disabled box in the small view when its file does not exist.
  void Next();
  // A click on the photo: small to large and back. A disabled box ignores it.
  void ToggleZoom();
  // The small view: the box beside the sections text, which is shown.
  void SmallView();

  // The box's two places at design size; both follow the form's scale.
  static constexpr gfx::TRect kSmallBounds = {472, 336, 472 + 385, 336 + 208};
  static constexpr gfx::TRect kLargeBounds = {12, 10, 12 + 845, 10 + 533};

 private:
  std::optional<std::string> CurrentFile() const;
  void Show(const std::optional<std::string>& file);
  void Place(const gfx::TRect& designBounds, bool large);

  db::TDataSet& FPhotos;
  TPhotoControls FControls;
  bool FLarge = false;
};

}  // namespace app
