#include "app/MuseumCard.h"

#include <utility>

namespace app {

int TypeImageIndex(const std::u16string& type, int current) {
  static const std::pair<const char16_t*, int> kTable[] = {
      {u"Музей творчества", 3},
      {u"Музейный уголок", 10},
      {u"Исторический музей", 9},
      {u"Галерея", 11},
      {u"Музей боевой славы", 13},
      {u"Школьный музей", 1},
      {u"Музей природы", 4},
      {u"Музей театра и куклы", 2},
      {u"Краеведческий музей", 6},
      {u"Краеведческий уголок", 6},
      {u"Этнографический музей", 0},
      {u"Мини-музей старых вещей", 0},
      {u"Военно-исторический музей", 12},
      {u"Музей музыкальных инструментов", 5},
      {u"Историко-краеведческий музей", 8},
      {u"Историко-краеведческий уголок", 8},
      {u"Музей истории школы", 7},
      {u"Естественно-научный музей", 7},
  };
  for (const auto& [name, index] : kTable)
    if (type == name) current = index;
  return current;
}

namespace {

void Requery(db::TADOQuery& q, std::int64_t key) {
  q.Close();
  q.Parameters().ParamByName("p1").Value = db::TVariant(key);
  q.Open();
}

}  // namespace

void ShowMuseumCard(std::optional<std::intptr_t> selectedData, db::TADOQuery& card,
                    db::TADOQuery& photos, const TCardControls& controls, TPhotoViewer& viewer) {
  if (!selectedData) return;
  if (*selectedData < 0) {
    controls.card->SetVisible(false);
    viewer.SmallView();
    return;
  }
  Requery(card, *selectedData);
  Requery(photos, *selectedData);
  std::u16string type;
  for (std::size_t i = 0; i < kCardFieldNames.size(); ++i) {
    std::u16string text = card.FieldByName(kCardFieldNames[i]).Value().ToOleStr();
    if (fw::TControl* c = controls.fields[i]) c->SetText(text);
    if (TCardField(i) == TCardField::vid) type = std::move(text);
  }
  controls.typeImage->SetImageIndex(TypeImageIndex(type, controls.typeImage->ImageIndex()));
  controls.card->SetVisible(true);
  viewer.ShowFirst();
}

}  // namespace app
