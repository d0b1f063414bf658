#include "skin/controls/sMemo.h"

#include "skin/core/sGraphUtils.h"
#include "skin/draw/sGraphUtils.h"

namespace skin::controls {

template <class Base>
void TsMemoT<Base>::TakeStateColors(sc::TsCommonData& cd, fw::TControl& c) {
  const auto& gd = cd.SkinManager()->SkinModel()->gd[std::size_t(cd.SkinIndex)];
  const int state = gd.States > 1 ? sc::ControlState(cd) : 0;
  const fw::TColor color = sc::GetBGColor(cd, state);
  const auto font = fw::TColor(skin::draw::StateProps(gd, state).FontColor.Color);
  cd.BeginUpdate();
  if (!cd.CustomColor() && c.Color() != color) {
    if (cd.SavedColor == fw::clNone) cd.SavedColor = c.Color();
    c.SetColor(color);
  }
  if (!cd.CustomFont() && c.Font().Color() != font) {
    if (cd.SavedFontColor == fw::clNone) cd.SavedFontColor = c.Font().Color();
    c.Font().SetColor(font);
  }
  cd.EndUpdate(false);
}

template class TsMemoT<TsListSWControl<fw::TMemo, "TsMemo", sc::COC_TsMemo,
                                       FixedSection<sd::ssEdit>, skin::frame::TacEditWnd>>;
template class TsMemoT<TsListSWControl<fw::TDBMemo, "TsDBMemo", sc::COC_TsDBMemo,
                                       FixedSection<sd::ssEdit>, skin::frame::TacEditWnd>>;

void TsDBMemo::Change() {
  TsMemoT::Change();
  db::TField* f = Field();
  if (!FEmptyIsNull || !IsEmpty() || !f || ReadOnly()) return;
  db::TDataSet* ds = DataLink().DataSet();
  if (ds->State() != db::TDataSetState::dsEdit) ds->Edit();
  f->SetValue(db::TVariant());
}

}  // namespace skin::controls
