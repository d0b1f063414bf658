#include "skin/core/sCommonData.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/Label.h"
#include "framework/Menus.h"
#include "framework/TextConv.h"
#include "platform/win/Messages.h"
#include "platform/win/MulDiv.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"
#include "skin/core/acGlow.h"
#include "skin/core/acReceivers.h"
#include "skin/core/sGraphUtils.h"
#include "skin/data/acSkinPack.h"
#include "skin/draw/sSkinText.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::core {

bool ac_AllowHotEdits = false;

namespace {

constexpr win::UINT RDWA_ALL =
    win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_ALLCHILDREN | win::RDW_FRAME;
constexpr win::UINT RDWA_ALLNOW = RDWA_ALL | win::RDW_UPDATENOW;
constexpr win::UINT SWPA_FRAMECHANGED = win::SWP_FRAMECHANGED | win::SWP_NOACTIVATE |
                                        win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOZORDER |
                                        win::SWP_NOOWNERZORDER;

// The skin in force of a manager. A skin counts from its loading on: while its announcement
// runs, the model's Active flag is still off, and the controls resolve their sections then.
const data::TacSkinModel* ModelOf(const TsSkinManager* m) {
  return m && !m->HasState(fw::csDestroying) ? m->SkinModel() : nullptr;
}

const data::TsGeneralData* Section(const TsCommonData& cd) {
  const data::TacSkinModel* model = ModelOf(cd.SkinManager());
  return model && model->IsValidSkinIndex(cd.SkinIndex) ? &model->gd[std::size_t(cd.SkinIndex)]
                                                        : nullptr;
}

fw::TWinControl* Windowed(fw::TControl* c) {
  return dynamic_cast<fw::TWinControl*>(c);
}

bool ControlLoading(const fw::TComponent* c) {
  return c->HasState(fw::csLoading) || c->HasState(fw::csReading);
}

// Sends the skin message through the control's window when it has one, else by Perform.
LRESULT AskControl(fw::TControl* c, UINT cmd, LPARAM lParam = 0, UINT lo = 0) {
  fw::TWinControl* w = Windowed(c);
  if (w && w->HandleAllocated())
    return TrySendMessage(w->Handle(), SM_ALPHACMD, MakeAlphaCmd(cmd, lo), lParam);
  return c->Perform(SM_ALPHACMD, MakeAlphaCmd(cmd, lo), lParam);
}

int StateOf(const data::TsGeneralData& sec, int state) {
  return std::max(0, std::min({state, sec.States - 1, 2}));
}

bool FullyTransparent(const data::TsGeneralData& sec) {
  return sec.Props[0].Transparency == 100 && sec.Props[1].Transparency == 100;
}

// The parent's picture holds the control's outer effect: it is painted again after a move or
// a resize.
void InvalidateParentCache(const TsCommonData& cd) {
  fw::TControl* c = cd.OwnerControl();
  if (!c || !c->Parent() || !c->Parent()->HandleAllocated() || !cd.HasOuterEffect()) return;
  TrySendMessage(c->Parent()->Handle(), SM_ALPHACMD, MakeAlphaCmd(AC_INVALIDATE), 0);
}

// The colour through the control's own hue offset and saturation.
fw::TColor Tinted(const TsCommonData& cd, fw::TColor c) {
  if (cd.HUEOffset() != 0) c = paint::ChangeHue(cd.HUEOffset(), c);
  if (cd.Saturation() != 0) c = paint::ChangeSaturation(c, cd.Saturation());
  return c;
}

// An edit-like control takes the colour and font colour of the state (its own ones kept when
// custom); true when one changed.
bool TakeStateColours(TsCommonData& cd, const data::TsGeneralData& sec, int state) {
  fw::TControl* c = cd.OwnerControl();
  const data::TsGenState& st = sec.Props[std::size_t(StateOf(sec, state))];
  bool changed = false;
  if (!cd.CustomColor() && c->Color() != Tinted(cd, st.Color)) {
    c->SetColor(Tinted(cd, st.Color));
    changed = true;
  }
  if (!cd.CustomFont() && c->Font().Color() != Tinted(cd, st.FontColor.Color)) {
    cd.CtrlSkinState |= ACS_CHANGING;
    c->Font().SetColor(Tinted(cd, st.FontColor.Color));
    cd.CtrlSkinState &= ~ACS_CHANGING;
    changed = true;
  }
  return changed;
}

// Empties the control's cache and has its windowed children empty theirs.
void DropCaches(TsCommonData& cd) {
  if (fw::TWinControl* w = Windowed(cd.OwnerControl()))
    for (int i = 0; i < w->ControlCount(); ++i) {
      fw::TWinControl* child = Windowed(w->Controls(i));
      if (child && child->HandleAllocated()) SendAMessage(child->Handle(), AC_CLEARCACHE);
    }
  cd.ClearCache();
  cd.BGChanged = true;
}

}  // namespace

// ---- TsCommonData ---------------------------------------------------------------------------

TsCommonData::TsCommonData(fw::TComponent* owner, bool createCacheBmp)
    : FOwnerObject(owner), FOwnerControl(dynamic_cast<fw::TControl*>(owner)) {
  if (fw::TWinControl* w = Windowed(FOwnerControl))
    WndProc = [w](fw::TMessage& m) { w->WindowProc(m); };
  if (createCacheBmp) FCacheBmp = std::make_unique<gfx::Bitmap>();
  // Without a manager the data is simply unskinned.
  FSkinManager.OnFreed = [this] {
    SkinIndex = -1;
    BorderIndex = -1;
  };
  InitCommonProp();
}

TsCommonData::~TsCommonData() {
  RemoveCommonProp();
  ClearGlows(this);
  AnimTimer.reset();
}

TsSkinManager* TsCommonData::SkinManager() const {
  return FSkinManager.Get() ? FSkinManager.Get() : DefaultManager;
}

bool TsCommonData::OwnerDestroying() const {
  // Data of a bare window (a dialog's child, wrapped without a control) lives with the window.
  if (!FOwnerObject) return !FSWHandle || !win::IsWindow(FSWHandle);
  return FOwnerObject->HasState(fw::csDestroying);
}

void TsCommonData::Loaded(bool updateColors) {
  Loading = false;
  UpdateData(*this);
  if (Skinned() && FOwnerControl && FOwnerControl->Parent() && !ControlLoading(FOwnerControl)) {
    if (Windowed(FOwnerControl)) AddToAdapter(FOwnerControl);
    if (updateColors) UpdateCtrlColors(*this, false);
  }
  InitCommonProp();
  TsSkinManager* m = SkinManager();
  if (m && FOwnerControl && !ControlLoading(FOwnerControl)) m->UpdateFontName(FOwnerControl);
}

void TsCommonData::SetSkinManager(TsSkinManager* value) {
  FSkinManager.Set(value == DefaultManager ? nullptr : value);
  if (Loading || (FOwnerObject && ControlLoading(FOwnerObject))) return;
  TsSkinManager* m = SkinManager();
  if (ModelOf(m))
    UpdateIndexes(true);
  else
    SkinIndex = -1;
  if (!FOwnerControl || !FOwnerControl->Parent() || OwnerDestroying()) return;
  const bool valid = ModelOf(m) && ModelOf(m)->IsValidSkinIndex(SkinIndex);
  FOwnerControl->Perform(SM_ALPHACMD, MakeAlphaCmd(valid ? AC_REFRESH : AC_REMOVESKIN), LPARAM(m));
}

void TsCommonData::SetSkinSection(std::string_view value) {
  std::string upper = data::UpperCase(value);
  if (upper == FSkinSection) return;
  HideGlow(GlowID, false);
  FSkinSection = std::move(upper);
  TsSkinManager* m = SkinManager();
  if (ModelOf(m))
    UpdateIndexes(true);
  else
    SkinIndex = -1;
  if (!FOwnerControl) {  // a form skin provider
    BGChanged = true;
    return;
  }
  if (!FOwnerControl->Parent() || OwnerDestroying() || ControlLoading(FOwnerControl)) return;
  if (fw::TWinControl* w = Windowed(FOwnerControl)) {
    ClearCache();
    AlphaBroadCast(*w, {SM_ALPHACMD, MakeAlphaCmd(AC_SETBGCHANGED, 1), 0, 0});
  }
  if (GetUpdating() || Loading) {
    if (!Loading) UpdateCtrlColors(*this, false);
    return;
  }
  const bool valid = ModelOf(m) && ModelOf(m)->IsValidSkinIndex(SkinIndex);
  FOwnerControl->Perform(SM_ALPHACMD, MakeAlphaCmd(valid ? AC_REFRESH : AC_REMOVESKIN, 1),
                         LPARAM(m));
}

bool TsCommonData::Skinned(bool checkSkinActive) const {
  const TsSkinManager* m = SkinManager();
  const data::TacSkinModel* model = ModelOf(m);
  if (!model || !model->IsValidSkinIndex(SkinIndex) || OwnerDestroying()) return false;
  return !checkSkinActive || model->CommonSkinData.Active;
}

void TsCommonData::UpdateIndexes(bool updateMain) {
  BGChanged = true;
  if (updateMain) {
    const TsSkinManager* m = SkinManager();
    if (!ModelOf(m))
      SkinIndex = -1;
    else if (!FSkinSection.empty())
      SkinIndex = m->GetSkinIndex(FSkinSection);
    else if (FOwnerControl)
      SkinIndex = int(AskControl(FOwnerControl, AC_GETDEFINDEX)) - 1;
    else
      SkinIndex = -1;
  }
  InitBGType(*this);
  const data::TsGeneralData* sec = Section(*this);
  BorderIndex = sec ? sec->BorderIndex : -1;
}

void TsCommonData::BeginUpdate() {
  ++FUpdateCount;
  FUpdating = true;
  CtrlSkinState |= ACS_LOCKED;
  if (FOwnerControl) FOwnerControl->Perform(SM_ALPHACMD, MakeAlphaCmd(AC_BEGINUPDATE), 0);
}

void TsCommonData::EndUpdate(bool repaint) {
  --FUpdateCount;
  FUpdating = false;
  CtrlSkinState &= ~ACS_LOCKED;
  if (FUpdateCount > 0) return;
  FUpdateCount = 0;
  if (FOwnerControl) FOwnerControl->Perform(SM_ALPHACMD, MakeAlphaCmd(AC_ENDUPDATE), 0);
  if (repaint) Invalidate(true);
}

bool TsCommonData::GetUpdating() const {
  if (!SkinManager()) return false;
  if (FUpdating) return true;
  if (!FOwnerControl || OwnerDestroying() || !FOwnerControl->Parent()) return false;
  return SendAMessage(FOwnerControl->Parent(), AC_PREPARING) != 0;
}

void TsCommonData::Invalidate(bool updateNow) {
  BGChanged = true;
  if (Loading) return;
  if (!FOwnerControl) {
    win::HWND h = OwnerHandle();
    if (h) win::RedrawWindow(h, nullptr, nullptr, updateNow ? RDWA_ALLNOW : RDWA_ALL);
    return;
  }
  if (!ControlIsReady(FOwnerControl)) return;
  fw::TWinControl* w = Windowed(FOwnerControl);
  if (w) {
    win::RedrawWindow(w->Handle(), nullptr, nullptr, updateNow ? RDWA_ALLNOW : RDWA_ALL);
  } else if (COC == COC_TsSpeedButton) {
    FOwnerControl->Perform(SM_ALPHACMD, MakeAlphaCmd(AC_INVALIDATE), 0);
  } else {
    FOwnerControl->Repaint();
  }
}

win::HWND TsCommonData::OwnerHandle() const {
  if (!FOwnerObject || OwnerDestroying()) return FSWHandle;
  if (!FOwnerControl) {  // a provider: its form's window
    fw::TComponent* form = FOwnerObject->Owner();
    auto* w = dynamic_cast<fw::TWinControl*>(form);
    return w && !w->HasState(fw::csDestroying) && w->HandleAllocated() ? w->Handle() : nullptr;
  }
  if (fw::TWinControl* w = Windowed(FOwnerControl))
    return w->HandleAllocated() ? w->Handle() : nullptr;
  return FSWHandle;
}

void TsCommonData::InitCommonProp() {
  win::HWND h = OwnerHandle();
  if (!h) return;
  if (!WndProc && FOwnerControl) {
    fw::TControl* c = FOwnerControl;
    WndProc = [c](fw::TMessage& m) { c->WindowProc(m); };
  }
  win::SetPropW(h, acDataProp, static_cast<TacMessageHandler*>(this));
}

void TsCommonData::RemoveCommonProp() {
  win::HWND h = FOwnerObject ? OwnerHandle() : FSWHandle;
  if (h && win::GetPropW(h, acDataProp) == static_cast<TacMessageHandler*>(this))
    win::RemovePropW(h, acDataProp);
}

void TsCommonData::ClearLinks() {
  FOwnerControl = nullptr;
  FOwnerObject = nullptr;
  FSWHandle = nullptr;
}

bool TsCommonData::RepaintIfMoved() {
  const data::TsGeneralData* sec = Section(*this);
  if (!sec || !FOwnerControl || !FOwnerControl->Enabled()) return true;
  fw::TWinControl* parent = FOwnerControl->Parent();
  if (sec->Props[0].Transparency > 0 && parent && parent->HandleAllocated())
    return SendAMessage(parent->Handle(), AC_CHILDCHANGED) != 0;
  return false;
}

bool TsCommonData::HasOuterEffect() const {
  const TsSkinManager* m = SkinManager();
  const data::TsGeneralData* sec = Skinned() ? Section(*this) : nullptr;
  return sec && m->Effects().AllowOuterEffects() &&
         FOuterEffects.Visibility == TacOuterVisibility::ovAlways && sec->OuterMode >= 1 &&
         m->SkinModel()->IsValidImgIndex(sec->OuterMask);
}

void TsCommonData::PaintOuter(const TacBGInfo& info) {
  if (!info.Bmp || !FOwnerControl || !HasOuterEffect()) return;
  draw::PaintOuterEffect(*info.Bmp,
                         gfx::RectOfSize(info.Offset.X, info.Offset.Y, FOwnerControl->Width(),
                                         FOwnerControl->Height()),
                         *SkinManager()->SkinModel(), SkinIndex);
}

void TsCommonData::PaintOuterEffects(fw::TWinControl& parent, gfx::TPoint offset) {
  const TsSkinManager* m = SkinManager();
  if (!FCacheBmp || FCacheBmp->Empty() || !m || !m->Effects().AllowOuterEffects()) return;
  for (int i = 0; i < parent.ControlCount(); ++i) {
    fw::TWinControl* w = Windowed(parent.Controls(i));
    if (!w || !w->Visible() || !w->HandleAllocated()) continue;
    TacBGInfo info;
    info.Bmp = FCacheBmp.get();
    info.Offset = {offset.X + w->Left(), offset.Y + w->Top()};
    TrySendMessage(w->Handle(), SM_ALPHACMD, MakeAlphaCmd(AC_PAINTOUTER), LPARAM(&info));
  }
}

void TsCommonData::ClearCache() {
  if (!FCacheBmp)
    FCacheBmp = std::make_unique<gfx::Bitmap>();
  else
    *FCacheBmp = gfx::Bitmap();
}

void TsCommonData::SetBoolean(int index, bool value) {
  bool& field = index == 0 ? FCustomColor : FCustomFont;
  if (field == value) return;
  field = value;
  if (Loading || !FOwnerControl) return;
  fw::TColor& saved = index == 0 ? SavedColor : SavedFontColor;
  if (value) {
    if (saved != fw::clNone) {
      if (index == 0)
        FOwnerControl->SetColor(saved);
      else
        FOwnerControl->Font().SetColor(saved);
    }
  } else {
    saved = index == 0 ? FOwnerControl->Color() : FOwnerControl->Font().Color();
  }
  UpdateCtrlColors(*this, true);
}

void TsCommonData::SetInteger(int index, int value) {
  int& field = index == 0 ? FHUEOffset : FSaturation;
  if (field == value) return;
  field = value;
  // While streaming, the control's own Loaded resolves everything once.
  if (Loading) return;
  Loaded(true);
  Invalidate(false);
}

void TsCommonData::SetColorTone(fw::TColor value) {
  if (FColorTone == value) return;
  FColorTone = value;
  if (Loading) return;
  Loaded(true);
  Invalidate(false);
}

// ---- TsScrollWndData ------------------------------------------------------------------------

void TsScrollWndData::SetScrollWidth(bool vert, int value) {
  TacScrollData& d = vert ? FVert : FHorz;
  if (d.ScrollWidth == value) return;
  d.ScrollWidth = value;
  fw::TWinControl* w = Windowed(OwnerControl());
  if (w && w->HandleAllocated() && !Loading)
    win::SetWindowPos(w->Handle(), nullptr, 0, 0, 0, 0, SWPA_FRAMECHANGED);
}

void TsScrollWndData::SetButtonsSize(bool vert, int value) {
  TacScrollData& d = vert ? FVert : FHorz;
  if (d.ButtonsSize == value) return;
  d.ButtonsSize = value;
  fw::TWinControl* w = Windowed(OwnerControl());
  if (w && w->HandleAllocated())
    win::RedrawWindow(w->Handle(), nullptr, nullptr, win::RDW_FRAME | win::RDW_INVALIDATE);
}

// ---- Unit functions -------------------------------------------------------------------------

bool CtrlIsSkinned(fw::TControl* control, bool checkSkinned) {
  if (!control) return false;
  fw::TWinControl* w = Windowed(control);
  if (w && w->HandleAllocated()) {
    if (TacMessageHandler* h = GetCommonData(w->Handle())) {
      auto* cd = dynamic_cast<TsCommonData*>(h);
      return !checkSkinned || (cd && cd->Skinned());
    }
    if (auto* sb = static_cast<TacMessageHandler*>(win::GetPropW(w->Handle(), acScrollProp))) {
      auto* cd = dynamic_cast<TsCommonData*>(sb);
      return !checkSkinned || (cd && cd->Skinned());
    }
    return SendAMessage(w->Handle(), AC_CTRLHANDLED) == 1;
  }
  if (w) return false;
  return control->Perform(SM_ALPHACMD, AC_CTRLHANDLED_HI, 0) == 1;
}

void UpdateData(TsCommonData& cd) {
  if (!cd.SkinSection().empty()) {
    cd.UpdateIndexes(true);
    return;
  }
  // The codes that ask the control for its default section.
  static const TacCodeSet byDefault{{2, 10},  {12, 14}, {32, 34}, 51,       53,       54,
                                    {57, 59}, {74, 76}, 78,       {81, 85}, {92, 94}, {132, 141},
                                    143,      151,      161,      165,      226,      227};
  switch (cd.COC) {
    case COC_TsComboBoxEx:
      cd.SetSkinSection("COMBOBOX");
      return;
    case COC_TsFrameBar:
      cd.SetSkinSection("BAR");
      return;
    case COC_TsBarTitle:
      cd.SetSkinSection("BARTITLE");
      return;
    case COC_TsImage:
    case COC_TsHeaderControl:
      cd.SetSkinSection("CHECKBOX");
      return;
    case COC_TsDragBar:
      cd.SetSkinSection("DRAGBAR");
      return;
    case COC_TsNavButton:
      cd.SetSkinSection("TOOLBUTTON");
      return;
    case COC_TsAdapter:
      cd.SetSkinSection("EDIT");
      return;
    default:
      break;
  }
  if (byDefault.Contains(cd.COC))
    cd.UpdateIndexes(true);
  else if (cd.OwnerObject())
    cd.SetSkinSection(cd.OwnerObject()->ClassName());
}

void InitIndexes(TsCommonData& cd, std::initializer_list<std::string_view> names) {
  const TsSkinManager* m = cd.SkinManager();
  if (!m) {
    cd.SkinIndex = -1;
    return;
  }
  for (std::string_view name : names) {
    if (name.empty()) continue;
    const int i = m->GetSkinIndex(name);
    if (i < 0) continue;
    cd.SkinIndex = i;
    cd.UpdateIndexes(false);
    return;
  }
}

bool InUpdating(TsCommonData& cd, bool reset) {
  if (reset) cd.FUpdating = false;
  if (!cd.GetUpdating()) return false;
  cd.FUpdating = true;
  return true;
}

void UpdateCtrlColors(TsCommonData& cd, bool repaint) {
  fw::TControl* c = cd.OwnerControl();
  if (!c) return;
  fw::TWinControl* w = Windowed(c);
  if (w && !w->HandleAllocated()) return;
  const data::TsGeneralData* sec = cd.Skinned() ? Section(cd) : nullptr;
  if (sec && sEditCtrls.Contains(cd.COC) && !FullyTransparent(*sec)) {
    if (!cd.CustomColor()) c->SetColor(Tinted(cd, sec->Props[0].Color));
    if (!cd.CustomFont() && (cd.COC != COC_TsListView || ac_AllowHotEdits)) {
      // Marked, so that the control's own font-change handling can tell the skin's write.
      cd.CtrlSkinState |= ACS_CHANGING;
      c->Font().SetColor(Tinted(cd, sec->Props[0].FontColor.Color));
      cd.CtrlSkinState &= ~ACS_CHANGING;
    }
  }
  if (repaint) cd.Invalidate(true);
}

void InitBGType(TsCommonData& cd) {
  cd.BGType = BGT_NONE;
  const data::TsGeneralData* sec = Section(cd);
  if (!sec) return;
  const data::TsGenState& st = sec->Props[0];
  const data::TacSkinModel* model = ModelOf(cd.SkinManager());
  if (st.ImagePercent > 0 && st.TextureIndex >= 0 && model->IsValidImgIndex(st.TextureIndex)) {
    const int mode = model->ma[std::size_t(st.TextureIndex)].DrawMode;
    auto in = [mode](std::initializer_list<int> modes) {
      return std::find(modes.begin(), modes.end(), mode) != modes.end();
    };
    if (in({1, 4, 5, 8, 9, 11, 12})) cd.BGType |= BGT_STRETCH;
    if (in({0, 1, 3, 5, 10, 12})) cd.BGType |= BGT_TEXTURELEFT;
    if (in({0, 1, 7, 9, 10, 12})) cd.BGType |= BGT_TEXTURERIGHT;
    if (in({0, 1, 2, 4, 10, 11})) cd.BGType |= BGT_TEXTURETOP;
    if (in({0, 1, 6, 8, 10, 11})) cd.BGType |= BGT_TEXTUREBOTTOM;
  }
  if (!st.GradientArray.empty() &&
      (st.GradientPercent >= 1 || (st.GradientArray[0].Mode & paint::PM_OVERLAY))) {
    switch (st.GradientArray[0].Mode & 3) {
      case 0:
        cd.BGType |= BGT_GRADIENTVERT;
        break;
      case 1:
        cd.BGType |= BGT_GRADIENTHORZ;
        break;
      case 2:
        cd.BGType |= BGT_GRADIENTVERT | BGT_GRADIENTHORZ;
        break;
      default:
        break;
    }
  }
}

void InitCacheBmp(TsCommonData& cd) {
  if (!cd.CacheBmp()) cd.ClearCache();
  fw::TControl* c = cd.OwnerControl();
  if (!c) return;
  const int w = std::max(0, c->Width()), h = std::max(0, c->Height());
  gfx::Bitmap& bmp = *cd.CacheBmp();
  if (bmp.Width() != w || bmp.Height() != h) bmp = gfx::Bitmap(w, h);
}

fw::TColor GetBGColor(const TsCommonData& cd, int state) {
  const data::TsGeneralData* sec = Section(cd);
  if (!sec) return cd.OwnerControl() ? fw::TColor(fw::ColorToRGB(cd.OwnerControl()->Color())) : 0;
  return Tinted(cd, sec->Props[std::size_t(StateOf(*sec, state))].Color);
}

void InitBGInfo(TsCommonData& cd, TacBGInfo& info, int state) {
  fw::TControl* c = cd.OwnerControl();
  if (info.PleaseDraw && info.DrawDC && c && cd.Skinned()) {
    // Drawn from the cache: the asker's origin at Offset in it, the area R.
    gfx::Bitmap* cache = cd.CacheBmp();
    if (!cache || cache->Empty() || cd.BGChanged) AskControl(c, AC_PREPARECACHE);
    cache = cd.CacheBmp();
    if (cache && !cache->Empty()) {
      gfx::DeviceContext from(*cache);
      gfx::BitBlt(info.DrawDC, info.R.Left, info.R.Top, info.R.Width(), info.R.Height(), &from,
                  info.R.Left + info.Offset.X, info.R.Top + info.Offset.Y, gfx::SRCCOPY);
      info.BgType = TacBGType::btCache;
      info.Bmp = cache;
      return;
    }
  }
  const data::TsGeneralData* sec = cd.Skinned() ? Section(cd) : nullptr;
  if (!sec || cd.CustomColor()) {
    info.BgType = TacBGType::btFill;
    info.Color = c ? fw::TColor(acColorToRGB(c->Color(), cd.SkinManager())) : 0;
    return;
  }
  const data::TsGenState& st = sec->Props[std::size_t(StateOf(*sec, state))];
  if (st.Transparency == 100) {
    fw::TWinControl* parent = c ? c->Parent() : nullptr;
    if (!parent || !parent->HandleAllocated()) {
      info.BgType = TacBGType::btFill;
      const data::TacSkinModel* def = ModelOf(DefaultManager);
      info.Color = def ? def->GetGlobalColor() : fw::TColor(fw::ColorToRGB(fw::clBtnFace));
      return;
    }
    GetBGInfo(info, parent, false);
    info.Offset.X += c->Left();
    info.Offset.Y += c->Top();
    return;
  }
  const bool corners = sec->ImgTL >= 0 || sec->ImgTR >= 0 || sec->ImgBL >= 0 || sec->ImgBR >= 0;
  if (st.Transparency == 0 && st.ImagePercent == 0 && st.GradientPercent == 0 && !corners &&
      cd.OuterEffects().Visibility == TacOuterVisibility::ovNone) {
    info.BgType = TacBGType::btFill;
    info.Color = GetBGColor(cd, state);
    const data::TacSkinModel* model = ModelOf(cd.SkinManager());
    if (model->IsValidImgIndex(cd.BorderIndex) &&
        !(model->ma[std::size_t(cd.BorderIndex)].DrawMode & 2)) {
      const paint::TsMaskData& md = model->ma[std::size_t(cd.BorderIndex)];
      info.FillRect = {md.WL, md.WT, md.WR, md.WB};
      info.Bmp = cd.CacheBmp();
    }
    return;
  }
  gfx::Bitmap* cache = cd.CacheBmp();
  const bool stale = !cache || cache->Empty() || cd.BGChanged ||
                     (c && (cache->Width() != c->Width() || cache->Height() != c->Height()));
  if (stale && c) AskControl(c, AC_PREPARECACHE);
  cache = cd.CacheBmp();
  if (!cache || cache->Empty()) {
    info.BgType = TacBGType::btNotReady;
    return;
  }
  info.BgType = TacBGType::btCache;
  info.Bmp = cache;
  info.Offset = {0, 0};
}

bool ControlIsActive(const TsCommonData& cd) {
  fw::TControl* c = cd.OwnerControl();
  if (!c || c->HasState(fw::csDestroying) || !c->Enabled()) return false;
  if (cd.FFocused) return true;
  fw::TWinControl* w = Windowed(c);
  if (w && w->Focused() && cd.COC != COC_TsPanel) return true;
  const TsSkinManager* m = cd.SkinManager();
  return cd.FMouseAbove && m && !m->Options().NoMouseHover && !sForbidMouse.Contains(cd.COC) &&
         (ac_AllowHotEdits || !sNoHotEdits.Contains(cd.COC));
}

int SkinBorderMaxWidth(const TsCommonData& cd) {
  const data::TacSkinModel* model = ModelOf(cd.SkinManager());
  if (!model || !model->IsValidImgIndex(cd.BorderIndex)) return 0;
  const paint::TsMaskData& md = model->ma[std::size_t(cd.BorderIndex)];
  if (md.DrawMode & 2) return 0;
  return std::max({int(md.WL), int(md.WT), int(md.WR), int(md.WB)});
}

bool HaveOuterEffects(const TsCommonData& cd) {
  TsSkinManager* m = cd.SkinManager();
  return m && m->Effects().AllowOuterEffects() &&
         (!cd.OwnerControl() || Windowed(cd.OwnerControl()));
}

bool FullRepaintOnly(const TsCommonData& cd) {
  if ((cd.CtrlSkinState & ACS_REPAINTNEEDH) &&
      (cd.BGType & (BGT_GRADIENTHORZ | BGT_STRETCH | BGT_TEXTURETOP | BGT_TEXTUREBOTTOM)))
    return true;
  return (cd.CtrlSkinState & ACS_REPAINTNEEDV) &&
         (cd.BGType & (BGT_GRADIENTVERT | BGT_STRETCH | BGT_TEXTURELEFT | BGT_TEXTURERIGHT));
}

void StopTimer(TsCommonData& cd) {
  if (cd.AnimTimer) cd.AnimTimer->Reset();
}

bool TimerIsActive(const TsCommonData& cd) {
  return cd.AnimTimer && cd.AnimTimer->Enabled() && cd.AnimTimer->State >= 0;
}

bool CanClickShift(int skinIndex, TsSkinManager* manager) {
  const data::TacSkinModel* model = ModelOf(manager);
  if (!model || !model->IsValidSkinIndex(skinIndex)) return true;
  return manager->ButtonsOptions().ShiftContentOnClick ||
         model->gd[std::size_t(skinIndex)].ShiftOnClick;
}

bool NeedParentFont(TsSkinManager* manager, int skinIndex, int state, fw::TControl* control) {
  if (control && !control->Parent()) return false;
  const data::TacSkinModel* model = ModelOf(manager);
  if (!model || !model->IsValidSkinIndex(skinIndex)) return false;
  const data::TsGeneralData& sec = model->gd[std::size_t(skinIndex)];
  const int s = StateOf(sec, state);
  if (sec.Props[std::size_t(s)].Transparency <= 50) return false;
  if (!model->IsValidImgIndex(sec.BorderIndex)) return true;
  const paint::TsMaskData& md = model->ma[std::size_t(sec.BorderIndex)];
  if (s == 0) return !(md.DrawMode & 4) || (md.DrawMode & 2);
  if (!(md.DrawMode & 4)) return true;
  if (md.MaskType == 0) return false;
  // The mask of image s (never past the picture's last frame): its middle, half an image
  // height above the item's bottom.
  const gfx::Bitmap& bmp = model->ItemBitmap(md);
  const int frame = std::max(0, std::min(s, md.ImageCount - 1));
  const int x = md.R.Left + md.Width * frame + md.Width / 2, y = md.R.Bottom - md.Height / 2;
  if (x < 0 || y < 0 || x >= bmp.Width() || y >= bmp.Height()) return false;
  return (bmp.At(x, y) & 0xFF) >= 128;
}

namespace {

// Whether a text in state on section index asks its control for the font section.
bool AsksFontIndex(const data::TacSkinModel* model, int index, int state) {
  if (!model || !model->IsValidSkinIndex(index)) return true;
  const data::TsGeneralData& sec = model->gd[std::size_t(index)];
  return state >= sec.States || sec.Props[std::size_t(std::min(state, 2))].Transparency >= 40;
}

// The font colour of section index (valid, or the label text colour) in state.
fw::TColor SectionFontColor(const data::TacSkinModel& model, int index, int state) {
  if (!model.IsValidSkinIndex(index)) return model.GetGlobalFontColor();
  const data::TsGeneralData& sec = model.gd[std::size_t(index)];
  return sec.Props[std::size_t(StateOf(sec, state))].FontColor.Color;
}

const data::TacSkinModel* ActiveModel(const TsSkinManager* m) {
  const data::TacSkinModel* model = ModelOf(m ? m : DefaultManager);
  return model && model->CommonSkinData.Active ? model : nullptr;
}

}  // namespace

fw::TColor GetFontColor(win::HWND wnd, int skinIndex, TsSkinManager* manager, int state) {
  const data::TacSkinModel* model = ActiveModel(manager);
  if (!model) return fw::clBtnText;
  if (state == 0 || AsksFontIndex(model, skinIndex, state)) {
    TacPaintInfo pi{state, skinIndex, {}, manager};
    const LRESULT answer = SendAMessage(wnd, AC_GETFONTINDEX, LPARAM(&pi));
    if (answer == 0) return fw::clBtnText;
    if (answer != -1 && pi.FontIndex >= 0) skinIndex = pi.FontIndex;
  }
  return SectionFontColor(*model, skinIndex, state);
}

fw::TColor GetControlColorAnswer(TsCommonData& cd) {
  fw::TControl* c = cd.OwnerControl();
  TsSkinManager* m = cd.SkinManager();
  const fw::TColor own = c ? fw::TColor(acColorToRGB(c->Color(), m)) : 0;
  const data::TsGeneralData* sec = cd.Skinned() ? Section(cd) : nullptr;
  if (!sec) return own;
  const int t = sec->Props[0].Transparency;
  const fw::TColor color = sec->Props[0].Color;
  if (t <= 0) return color;
  fw::TWinControl* parent = c ? c->Parent() : nullptr;
  if (!parent) return t >= 100 ? own : color;
  // The parent's answer, or its own colour, always resolved before it is mixed: a system
  // colour mixed channel by channel would mix its index, not its colour.
  const fw::TColor p =
      parent->HandleAllocated() && WndIsSkinned(parent->Handle())
          ? fw::TColor(acColorToRGB(
                fw::TColor(SendAMessage(parent->Handle(), AC_GETCONTROLCOLOR, 0xFF00FF)), m))
          : fw::TColor(acColorToRGB(parent->Color(), m));
  if (t >= 100) return p;
  fw::TColor r = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int cc = color >> shift & 0xFF, pc = p >> shift & 0xFF;
    r |= ((cc * (256 - t) + pc * t) >> 8) << shift;
  }
  return r;
}

void CopyWinControlCache(fw::TWinControl& control, TsCommonData& cd, const gfx::TRect& srcRect,
                         const gfx::TRect& dstRect, gfx::HDC dstDC, bool updateCorners, int offsetX,
                         int offsetY) {
  gfx::Bitmap* cache = cd.CacheBmp();
  if (!dstDC || !cache || cache->Empty()) return;
  if (updateCorners) UpdateCorners(cd, 0, draw::acAllCorners);
  const int saved = gfx::SaveDC(dstDC);
  gfx::IntersectClipRect(dstDC, dstRect.Left, dstRect.Top, dstRect.Right, dstRect.Bottom);
  const TsSkinManager* m = cd.SkinManager();
  const bool graphicToo = !m || !m->Options().StdImgTransparency;
  for (int i = 0; i < control.ControlCount(); ++i) {
    fw::TControl* child = control.Controls(i);
    const gfx::TRect b = child->BoundsRect();
    if ((!Windowed(child) && !graphicToo) || !child->Visible() || b.IsEmpty() ||
        gfx::IntersectRects(b, dstRect).IsEmpty())
      continue;
    if ((child->ControlStyle & fw::csOpaque) || GetBoolMsg(child, AC_ISOPAQUE)) {
      const gfx::TRect x = b.Offset(offsetX, offsetY);
      gfx::ExcludeClipRect(dstDC, x.Left, x.Top, x.Right, x.Bottom);
    }
  }
  gfx::DeviceContext from(*cache);
  gfx::BitBlt(dstDC, dstRect.Left, dstRect.Top, dstRect.Width(), dstRect.Height(), &from,
              srcRect.Left, srcRect.Top, gfx::SRCCOPY);
  gfx::RestoreDC(dstDC, saved);
}

void CopyHwndCache(win::HWND wnd, TsCommonData& cd, const gfx::TRect& srcRect,
                   const gfx::TRect& dstRect, gfx::HDC dstDC, bool updateCorners, int offsetX,
                   int offsetY) {
  gfx::Bitmap* cache = cd.CacheBmp();
  if (!wnd || !dstDC || !cache || cache->Empty()) return;
  if (updateCorners) UpdateCorners(cd, 0, draw::acAllCorners);
  const int saved = gfx::SaveDC(dstDC);
  gfx::IntersectClipRect(dstDC, dstRect.Left, dstRect.Top, dstRect.Right, dstRect.Bottom);
  auto exclude = [dstDC](const gfx::TRect& r) {
    if (!r.IsEmpty()) gfx::ExcludeClipRect(dstDC, r.Left, r.Top, r.Right, r.Bottom);
  };
  win::RECT own{};
  win::GetWindowRect(wnd, &own);
  const data::TacSkinModel* model = ModelOf(DefaultManager);
  for (win::HWND child = win::GetWindow(wnd, win::GW_CHILD); child;
       child = win::GetWindow(child, win::GW_HWNDNEXT)) {
    if (!win::IsWindowVisible(child)) continue;
    win::RECT cr{};
    win::GetWindowRect(child, &cr);
    const gfx::TRect r = cr.Offset(-own.Left - offsetX, -own.Top - offsetY);
    const auto style = win::GetWindowLongPtrW(child, win::GWL_STYLE);
    const auto exStyle = win::GetWindowLongPtrW(child, win::GWL_EXSTYLE);
    if ((style & 7) != 7 || (exStyle & win::WS_EX_CLIENTEDGE)) {
      exclude(r);
      continue;
    }
    if (!model) continue;
    const int section = DefaultManager->ConstData().Sections[data::ssGroupBox];
    const int border =
        model->IsValidSkinIndex(section) ? model->gd[std::size_t(section)].BorderIndex : -1;
    const int caption = int(SendAMessage(child, AC_GETSERVICEINT));
    exclude({r.Left, r.Top, r.Right, std::min(r.Bottom, r.Top + caption)});
    if (!model->IsValidImgIndex(border)) continue;
    const paint::TsMaskData& md = model->ma[std::size_t(border)];
    exclude({r.Left, r.Top, std::min(r.Right, r.Left + md.WL), r.Bottom});
    exclude({std::max(r.Left, r.Right - md.WR), r.Top, r.Right, r.Bottom});
    exclude({r.Left, std::max(r.Top, r.Bottom - md.WB), r.Right, r.Bottom});
  }
  gfx::DeviceContext from(*cache);
  gfx::BitBlt(dstDC, dstRect.Left, dstRect.Top, dstRect.Width(), dstRect.Height(), &from,
              srcRect.Left, srcRect.Top, gfx::SRCCOPY);
  gfx::RestoreDC(dstDC, saved);
}

fw::TColor GetFontColor(fw::TControl* control, int skinIndex, TsSkinManager* manager,
                        const TsCommonData* cd, int state) {
  if (!control) return 0;
  if (cd && cd->CustomFont()) return control->Font().Color();
  const int s = std::min(2, state);
  const data::TacSkinModel* model = ModelOf(manager);
  const auto section = [&](int i) {
    return model && model->IsValidSkinIndex(i) ? &model->gd[std::size_t(i)] : nullptr;
  };
  const data::TsGeneralData* sec = section(skinIndex);
  fw::TWinControl* parent = control->Parent();
  fw::TColor color = 0;
  bool parentFont = false;
  if (!sec || state >= sec->States || sec->Props[std::size_t(std::max(0, s))].Transparency > 39) {
    TacPaintInfo info;
    info.State = state;
    info.FontIndex = skinIndex;
    info.R = {control->Left(), control->Top(), control->Left() + control->Width(),
              control->Top() + control->Height()};
    info.SkinManager = manager;
    const LRESULT answer = control->Perform(SM_ALPHACMD, AC_GETFONTINDEX_HI, LPARAM(&info));
    if (answer == 0) {
      parentFont = true;
      color = parent ? parent->Font().Color() : control->Font().Color();
    } else if (answer != -1 && info.FontIndex >= 0) {
      sec = section(info.FontIndex);
    }
  }
  if (!parentFont) {
    if (model && model->CommonSkinData.Active)
      color = sec ? sec->Props[std::size_t(StateOf(*sec, s))].FontColor.Color
                  : model->Palette[data::pcLabelText];
    else
      color = control->Font().Color();
  }
  if (!control->Enabled()) {
    const fw::TColor back = parent ? GetControlColor(parent) : GetControlColor(control);
    color = paint::BlendColors(fw::TColor(acColorToRGB(color, manager)),
                               fw::TColor(acColorToRGB(back, manager)), DefBlendDisabled);
  }
  return color;
}

// ---- Messages -------------------------------------------------------------------------------

void HookContextPopups(fw::TControl* control, win::LPARAM where, TsSkinManager* manager) {
  if (!control || !manager || !manager->Active() || !manager->SkinnedPopups()) return;
  TacMenuPainter* painter = manager->SkinableMenus();
  if (!painter) return;
  auto hook = [&](fw::TControl* c) {
    if (fw::TPopupMenu* menu = c->PopupMenu(); menu && !menu->HasState(fw::csDestroying))
      painter->HookPopupMenu(*menu, true);
  };
  auto* windowed = dynamic_cast<fw::TWinControl*>(control);
  if (windowed && where != -1) {
    const gfx::TPoint at = windowed->ScreenToClient(win::PointFromLParam(where));
    if (windowed->ClientRect().Contains(at))
      if (fw::TControl* child = windowed->ControlAtPos(at, false)) hook(child);
  }
  for (fw::TControl* c = control; c; c = c->Parent()) hook(c);
}

bool CommonWndProc(fw::TMessage& message, TsCommonData& cd) {
  fw::TControl* c = cd.OwnerControl();
  switch (message.Msg) {
    case win::WM_CREATE:
    case win::WM_NCCREATE:
      cd.InitCommonProp();
      return false;
    case win::WM_NCDESTROY:
      cd.RemoveCommonProp();
      return false;
    case win::WM_MOVE:
      InvalidateParentCache(cd);
      if (cd.Skinned() && cd.RepaintIfMoved()) {
        cd.BGChanged = true;
        if (c) c->Perform(SM_ALPHACMD, MakeAlphaCmd(AC_SETCHANGEDIFNECESSARY, 1), 0);
      }
      HideGlow(cd.GlowID, false);
      return false;
    case win::WM_SIZE:
      if (cd.Skinned()) {
        cd.BGChanged = true;
        InvalidateParentCache(cd);
        if (FullRepaintOnly(cd)) cd.CtrlSkinState &= ~(ACS_REPAINTNEEDH | ACS_REPAINTNEEDV);
        if (!TimerIsActive(cd)) HideGlow(cd.GlowID, false);
      }
      return false;
    case win::WM_SHOWWINDOW:
      StopTimer(cd);
      return false;
    case win::WM_CONTEXTMENU:
      HookContextPopups(c, message.LParam, cd.SkinManager());
      return false;
    case win::WM_WINDOWPOSCHANGING: {
      auto* pos = reinterpret_cast<const win::WINDOWPOS*>(message.LParam);
      if (pos && c && !(pos->flags & win::SWP_NOSIZE)) {
        if (pos->cx != c->Width()) cd.CtrlSkinState |= ACS_REPAINTNEEDH;
        if (pos->cy != c->Height()) cd.CtrlSkinState |= ACS_REPAINTNEEDV;
      }
      return false;
    }
    case win::WM_SETFOCUS:
    case win::WM_KILLFOCUS: {
      const data::TsGeneralData* sec = cd.Skinned() ? Section(cd) : nullptr;
      if (!sec || FullyTransparent(*sec)) return false;
      const bool focus = message.Msg == win::WM_SETFOCUS;
      if (!focus && ControlIsActive(cd) && !cd.FFocused) return false;
      cd.BGChanged = true;
      cd.FFocused = focus;
      if (c && sEditCtrls.Contains(cd.COC) && sec->States > 1 &&
          TakeStateColours(cd, *sec, focus || ControlIsActive(cd) ? 1 : 0))
        cd.Invalidate(false);
      return false;
    }
    case win::WM_FONTCHANGE:
    case fw::CM_ENABLEDCHANGED:
      cd.FMouseAbove = false;
      cd.FFocused = false;
      cd.BGChanged = true;
      if (c && !c->Enabled()) HideGlow(cd.GlowID, false);
      return false;
    case win::WM_UPDATEUISTATE:
      return cd.Skinned();
    case fw::CM_VISIBLECHANGED: {
      // Saving memory: a hidden control keeps no picture, nor do its children.
      if (!message.WParam) HideGlow(cd.GlowID, false);
      const TsSkinManager* m = cd.SkinManager();
      if (message.WParam || !m || m->Options().OptimizingPriority != opMemory || !cd.CacheBmp())
        return false;
      DropCaches(cd);
      return false;
    }
    case win::WM_PARENTNOTIFY:
      if ((message.WParam & 0xFFFF) == win::WM_PARENTNOTIFY_CREATE && c && !ControlLoading(c))
        if (auto* child = fw::TWinControl::FindControl(win::HWND(message.LParam)))
          AddToAdapter(child);
      return false;
    case SM_ALPHACMD:
      return CommonMessage(message, cd);
    case fw::CM_MOUSEENTER:
      if (cd.Skinned() && !cd.FMouseAbove) {
        const data::TsGeneralData* sec = Section(cd);
        const TsSkinManager* m = cd.SkinManager();
        if (m->Options().NoMouseHover || FullyTransparent(*sec)) return false;
        cd.FMouseAbove = true;
        if (!sForbidMouse.Contains(cd.COC) && !sCanNotBeHot.Contains(cd.COC))
          ShowGlowingIfNeeded(cd, 255);
        if (c && sEditCtrls.Contains(cd.COC) && sec->States >= 2) TakeStateColours(cd, *sec, 1);
      }
      return false;
    case fw::CM_MOUSELEAVE:
      if (cd.FMouseAbove) {
        if (!sForbidMouse.Contains(cd.COC) && !sCanNotBeHot.Contains(cd.COC))
          HideGlow(cd.GlowID, true);
        cd.FMouseAbove = false;
        // Buttons change their face themselves, fading from the picture they show: it must
        // stay fresh for them.
        if (ssButtons.Contains(cd.COC)) return false;
        cd.BGChanged = true;
        const data::TsGeneralData* sec = cd.Skinned() ? Section(cd) : nullptr;
        if (c && sec && sEditCtrls.Contains(cd.COC) && !ControlIsActive(cd))
          TakeStateColours(cd, *sec, 0);
        if (c) cd.Invalidate(false);
      }
      return false;
    case fw::CM_SHOWINGCHANGED:
      // Before its window or its parent's appears (the framework tells children first): a
      // control made in code takes its section here, in time for its first paint.
      if (c && c->Visible()) cd.Loaded(true);
      return false;
    default:
      return false;
  }
}

bool CommonMessage(fw::TMessage& message, TsCommonData& cd) {
  if (message.Msg != SM_ALPHACMD) return false;
  fw::TControl* c = cd.OwnerControl();
  fw::TWinControl* w = Windowed(c);
  TsSkinManager* m = cd.SkinManager();
  const bool ours = message.LParam == LPARAM(m) && m;
  switch (WParamHi(message.WParam)) {
    case AC_SETNEWSKIN:
      if (ours) {
        StopTimer(cd);
        UpdateData(cd);
        InitIndexes(cd, {cd.SkinSection()});
        cd.ClearCache();
        RestrictDrawing = false;
      }
      return true;
    case AC_REMOVESKIN:
      if (ours && cd.SkinIndex >= 0) {
        StopTimer(cd);
        cd.BorderIndex = -1;
        cd.SkinIndex = -1;
        cd.FUpdating = true;
        cd.ClearCache();
        if (c && sEditCtrls.Contains(cd.COC)) {
          if (!cd.CustomColor()) c->SetColor(fw::clWindow);
          if (!cd.CustomFont()) c->Font().SetColor(fw::clWindowText);
          if (w && w->HandleAllocated())
            win::SetWindowPos(w->Handle(), nullptr, 0, 0, 0, 0, SWPA_FRAMECHANGED);
        } else if (w) {
          for (int i = 0; i < w->ControlCount(); ++i)
            // A skinned label draws in colours of its own choosing: its font is its own.
            if (auto* label = dynamic_cast<fw::TLabel*>(w->Controls(i));
                label && !CtrlIsSkinned(label, false))
              label->Font().SetColor(fw::clWindowText);
        }
      }
      return true;
    case AC_REFRESH:
      if (ours) {
        StopTimer(cd);
        cd.BGChanged = true;
        cd.FUpdating = false;
        UpdateCtrlColors(cd, false);
        if (w && w->HandleAllocated() && ssScrolledEdits.Contains(cd.COC))
          win::SetWindowPos(w->Handle(), nullptr, 0, 0, 0, 0, SWPA_FRAMECHANGED);
      }
      return true;
    case AC_ENDPARENTUPDATE:
      if (cd.FUpdating && w) {
        if (!InUpdating(cd, true) && w->HandleAllocated())
          win::RedrawWindow(w->Handle(), nullptr, nullptr, RDWA_ALLNOW);
        SetParentUpdated(w);
      }
      return true;
    case AC_CTRLHANDLED:
      message.Result = 1;
      return true;
    case AC_UPDATING:
      cd.FUpdating = WParamLo(message.WParam) == 1;
      return true;
    case AC_PREPARING:
      message.Result = 0;
      if (cd.FUpdating || cd.FUpdateCount > 0) {
        message.Result = 1;
      } else if (w && !cd.CustomColor()) {
        gfx::Bitmap* cache = cd.CacheBmp();
        if (!cache || cache->Empty() || cd.BGChanged) {
          AskControl(w, AC_PREPARECACHE);
          cache = cd.CacheBmp();
          message.Result = !cache || cache->Empty() ? 1 : 0;
        }
        if (message.Result == 0 && cache &&
            (cache->Width() != w->Width() || cache->Height() != w->Height()))
          message.Result = 1;
      }
      return true;
    case AC_GETHALFVISIBLE:
      message.Result = cd.HalfVisible ? 1 : 0;
      return true;
    case AC_UPDATESECTION:
      if (message.LParam &&
          cd.SkinSection() == data::UpperCase(reinterpret_cast<const char*>(message.LParam))) {
        RestrictDrawing = false;
        cd.Invalidate();
      }
      return true;
    case AC_SETSECTION:
      if (!message.LParam) {
        message.Result = 0;
        return true;
      }
      cd.SetSkinSection(*reinterpret_cast<const std::string*>(message.LParam));
      message.Result = 1;
      return true;
    case AC_STOPFADING:
      StopTimer(cd);
      return true;
    case AC_SETBGCHANGED:
      cd.BGChanged = true;
      return true;
    case AC_INVALIDATE:
      cd.Invalidate();
      return true;
    case AC_CHILDCHANGED:
      message.Result = ChildBgIsChanged(cd) ? 1 : 0;
      return true;
    case AC_SETCHANGEDIFNECESSARY: {
      const bool moved = cd.RepaintIfMoved();
      cd.BGChanged = cd.BGChanged || moved;
      StopTimer(cd);
      if (w && w->HandleAllocated()) {
        if (WParamLo(message.WParam) == 1)
          win::RedrawWindow(w->Handle(), nullptr, nullptr,
                            win::RDW_INVALIDATE | win::RDW_ALLCHILDREN | win::RDW_NOERASE |
                                win::RDW_NOINTERNALPAINT);
        if (moved) {
          TacReceivers children;
          for (int i = 0; i < w->ControlCount(); ++i) children.Add(w->Controls(i));
          for (int i = 0; i < children.Count(); ++i) {
            auto* child = static_cast<fw::TControl*>(children.Item(i));
            if (child && !child->HasState(fw::csDestroying))
              child->Perform(SM_ALPHACMD, MakeAlphaCmd(AC_SETCHANGEDIFNECESSARY, 1), 0);
          }
        }
      }
      return true;
    }
    case AC_GETCONTROLCOLOR:
      message.Result = LRESULT(GetControlColorAnswer(cd));
      return true;
    case AC_SETHALFVISIBLE:
      cd.HalfVisible = true;
      return true;
    case AC_PREPARECACHE:
      if (c)
        UpdateCache(cd, ControlState(cd));
      else
        cd.BGChanged = false;
      return true;
    case AC_GETSKININDEX:
      if (message.LParam)
        reinterpret_cast<TacSectionInfo*>(message.LParam)->siSkinIndex = cd.SkinIndex;
      return true;
    case AC_CLEARCACHE:
      if (cd.CacheBmp()) DropCaches(cd);
      return true;
    case AC_GETBG:
      if (message.LParam)
        InitBGInfo(cd, *reinterpret_cast<TacBGInfo*>(message.LParam), ControlState(cd));
      return true;
    case AC_FONTSCHANGED:
      if (ours) {
        cd.BGChanged = true;
        fw::TControl* fontOwner = c ? c : dynamic_cast<fw::TControl*>(cd.OwnerObject()->Owner());
        if (fontOwner) m->UpdateFontName(fontOwner);
        if (w) AlphaBroadCast(*w, message);
      }
      return true;
    case AC_GETSKINDATA:
      message.Result = LRESULT(&cd);
      return true;
    case AC_PRINTING:
      if (message.LParam)
        cd.CtrlSkinState |= ACS_PRINTING;
      else
        cd.CtrlSkinState &= ~ACS_PRINTING;
      cd.PrintDC = reinterpret_cast<gfx::HDC>(message.LParam);
      return true;
    case AC_PAINTOUTER:
      if (message.LParam) cd.PaintOuter(*reinterpret_cast<const TacBGInfo*>(message.LParam));
      return true;
    case AC_REINITSCROLLS:
      if (w) {
        if (w->HandleAllocated())
          win::SetWindowPos(w->Handle(), nullptr, 0, 0, 0, 0, SWPA_FRAMECHANGED);
        AlphaBroadCast(*w, message);
      }
      return true;
    case AC_GETAPPLICATION:
      message.Result = LRESULT(fw::Application);
      return true;
    case AC_GETFONTINDEX: {
      if (!cd.Skinned() || !message.LParam) return false;
      auto* pi = reinterpret_cast<TacPaintInfo*>(message.LParam);
      pi->FontIndex = cd.SkinIndex;
      message.Result = 1;
      if (c && c->Parent() && NeedParentFont(m, cd.SkinIndex, pi->State, c))
        message.Result = c->Parent()->Perform(message.Msg, message.WParam, message.LParam);
      return true;
    }
    case AC_SETSCALE:
      cd.ScalePercent = int(message.LParam);
      if (w) AlphaBroadCast(*w, message);
      return false;
    case AC_GETSCALE:
      message.Result = cd.ScalePercent;
      return true;
    case AC_GETOUTRGN:
      if (message.LParam)
        *reinterpret_cast<gfx::TRect*>(message.LParam) =
            c ? gfx::TRect{c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height()}
              : gfx::TRect{};
      return true;
    case AC_ISOPAQUE:
      message.Result = (ModelOf(m) || !c || !(c->ControlStyle & fw::csOpaque)) ? 1 : 0;
      return true;
    default:
      return false;
  }
}

int acSpacing = 4;

}  // namespace skin::core
