// The museum card: what the tree's selected node shows. A district hides the card; an
// organisation re-runs the card and photo queries with its key, fills the six card fields,
// picks the type picture, shows the card and its first photo. The photo box always ends in
// its small view.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "app/PhotoViewer.h"
#include "framework/Image.h"
#include "framework/db/ADODataSet.h"

namespace app {

// The card's fields, in the order they are filled.
enum class TCardField { nam1, addr, dat_o, phone, vid, razd };
inline constexpr std::array<const char*, 6> kCardFieldNames = {"nam1",  "addr", "dat_o",
                                                               "phone", "vid",  "razd"};

// The picture of a museum type in the type image list; a type without one keeps current.
int TypeImageIndex(const std::u16string& type, int current);

// The controls the card fills (a null control is skipped; its field is still read).
struct TCardControls {
  std::array<fw::TControl*, 6> fields{};  // by TCardField
  fw::TImage* typeImage = nullptr;
  fw::TControl* card = nullptr;  // the card panel
};

// Fills or hides the card from the selected node's data value (nothing when no node is
// selected: the card stays as it is). Each card field is converted strictly: a null raises
// "Could not convert variant of type (Null) into type (OleStr)" and the card stops there,
// keeping what was already done.
void ShowMuseumCard(std::optional<std::intptr_t> selectedData, db::TADOQuery& card,
                    db::TADOQuery& photos, const TCardControls& controls, TPhotoViewer& viewer);

}  // namespace app
