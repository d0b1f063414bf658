#include "skin/controls/sThirdParty.h"

#include <algorithm>
#include <cmath>

#include "skin/controls/acAlphaImageList.h"

namespace skin::controls {

namespace {

char16_t Lower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

bool LessNoCase(std::u16string_view a, std::u16string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char16_t x, char16_t y) { return Lower(x) < Lower(y); });
}

// A character list's picture: the list's size times the item's factor.
int CharSize(const fw::TImageList* list, int index, int size) {
  const auto* chars = dynamic_cast<const TsCharImageList*>(list);
  if (!chars || index < 0 || index >= chars->ItemCount()) return size;
  return int(std::nearbyint(size * chars->Item(index).ScalingFactor));
}

}  // namespace

const std::vector<std::u16string>& ThirdPartySkipForms() {
  static const std::vector<std::u16string> forms = [] {
    std::vector<std::u16string> v{u"TApplication",           u"TfcPopup",
                                  u"TcxComboBoxPopupWindow", u"TcxCustomPopupWindow",
                                  u"TdxPopupEditForm",       u"TcxDateEditPopupWindow",
                                  u"TcxGridFilterPopup"};
    std::sort(v.begin(), v.end(), LessNoCase);
    return v;
  }();
  return forms;
}

bool IsThirdPartySkipForm(std::u16string_view className) {
  const auto& forms = ThirdPartySkipForms();
  const auto it = std::lower_bound(forms.begin(), forms.end(), className, LessNoCase);
  return it != forms.end() && !LessNoCase(className, *it);
}

int GetImageCount(const fw::TImageList* list) {
  if (const auto* alpha = dynamic_cast<const TsAlphaImageList*>(list)) return alpha->ItemCount();
  if (const auto* chars = dynamic_cast<const TsCharImageList*>(list)) return chars->ItemCount();
  return list ? list->Count() : 0;
}

int GetImageWidth(const fw::TImageList* list, int index) {
  return list ? CharSize(list, index, list->Width()) : 0;
}

int GetImageHeight(const fw::TImageList* list, int index) {
  return list ? CharSize(list, index, list->Height()) : 0;
}

}  // namespace skin::controls
