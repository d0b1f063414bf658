#include "skin/controls/sComboBox.h"
#include "skin/controls/sEdit.h"

#include <algorithm>

#include "platform/win/Input.h"
#include "platform/win/Keys.h"
#include "platform/win/MulDiv.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"
#include "skin/core/sFade.h"
#include "skin/core/sGraphUtils.h"
#include "skin/draw/sAlphaGraph.h"
#include "skin/draw/sGraphUtils.h"
#include "skin/draw/sSkinText.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::controls {

namespace {

using gfx::TRect;
using namespace skin::core;

constexpr unsigned kTextFlags = gfx::DT_SINGLELINE | gfx::DT_NOPREFIX | gfx::DT_VCENTER;

const skin::data::TacSkinModel* ModelOf(const TsCommonData& cd) {
  const TsSkinManager* m = cd.SkinManager();
  return m ? m->SkinModel() : nullptr;
}

// A bitmap of r's size holding what dc shows there.
gfx::Bitmap Grab(gfx::HDC dc, const TRect& r) {
  gfx::Bitmap bmp(std::max(1, r.Width()), std::max(1, r.Height()));
  gfx::DeviceContext bdc(bmp);
  gfx::BitBlt(&bdc, 0, 0, r.Width(), r.Height(), dc, r.Left, r.Top, gfx::SRCCOPY);
  return bmp;
}

void Put(gfx::HDC dc, const TRect& r, gfx::Bitmap& bmp) {
  gfx::DeviceContext bdc(bmp);
  gfx::BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), &bdc, 0, 0, gfx::SRCCOPY);
}

// A fade step of the box, then of the typing styles' edit part over it (it erases from the
// frame shown).
bool UpdateCombo_CB(TsCommonData* data, int iteration) {
  const bool more = UpdateWindow_CB(data, iteration);
  if (auto* combo = dynamic_cast<TsCustomComboBox*>(data ? data->OwnerControl() : nullptr))
    if (fw::TComboEdit* edit = combo->EditWindow(); edit && edit->HandleAllocated())
      edit->Repaint();
  return more;
}

// c as a disabled box of the given DisabledKind shows it (blended toward the parent's colour,
// greyed, or both).
fw::TColor DisabledColor(fw::TColor c, fw::TColor parent, unsigned kind) {
  gfx::Bitmap one(1, 1);
  one.Set(0, 0, gfx::PixelFromColor(fw::ColorToRGB(c), 255));
  skin::paint::TCacheInfo ci;
  ci.FillColor = fw::ColorToRGB(parent);
  skin::paint::BmpDisabledKind(one, kind, fw::ColorToRGB(parent), ci, {0, 0});
  const gfx::Pixel p = one.At(0, 0);
  return fw::TColor(gfx::ColorFromPixel(p));
}

}  // namespace

int ComboSection(const fw::TComboBox& combo) {
  auto* skinned = dynamic_cast<const TsCustomComboBox*>(&combo);
  if (!skinned || !skinned->AllowBtnStyle()) return skin::data::ssComboBox;
  const TsSkinManager* m = skinned->SkinData().SkinManager();
  if (m && m->SkinModel() && m->ConstData().Sections[skin::data::ssComboNoEdit] < 0)
    return skin::data::ssButton;
  return skin::data::ssComboNoEdit;
}

TsCustomComboBox::TsCustomComboBox(fw::TComponent* owner) : TsComboBase(owner) {
  FHook =
      HookWindowProc([this](fw::TMessage& m, const fw::TWndNext& next) { SkinCmdProc(m, next); });
}

TsCustomComboBox::~TsCustomComboBox() {
  Destroying();
  skin::frame::ReleaseWrapper(std::move(FListSW));
  UnhookWindowProc(FHook);
}

void TsCustomComboBox::CreateWnd() {
  TsComboBase::CreateWnd();
  UpdateGlyphIndex();
}

void TsCustomComboBox::Loaded() {
  TsComboBase::Loaded();
  UpdateGlyphIndex();
}

void TsCustomComboBox::UpdateGlyphIndex() {
  const TsCommonData& cd = SkinData();
  const TsSkinManager* m = cd.SkinManager();
  FGlyphIndex =
      m && m->SkinModel() && cd.SkinIndex >= 0 ? m->GetMaskIndex(cd.SkinIndex, "GLYPHMASK") : -1;
}

void TsCustomComboBox::SetStyle(fw::TComboBoxStyle style) {
  if (style == Style()) return;
  TsComboBase::SetStyle(style);
  SkinData().UpdateIndexes();
  UpdateGlyphIndex();
  RebuildAndInvalidate();
}

void TsCustomComboBox::SetShowButton(bool value) {
  if (FShowButton == value) return;
  FShowButton = value;
  SkinData().Invalidate();
}

void TsCustomComboBox::SetDisabledKind(unsigned kind) {
  if (FDisabledKind == kind) return;
  FDisabledKind = kind;
  SkinData().Invalidate();
}

bool TsCustomComboBox::AllowBtnStyle() const {
  return !HasEdit() && (SkinData().SkinSection().empty() || !SkinData().Skinned());
}

gfx::TRect TsCustomComboBox::ButtonRect() const {
  if (!FShowButton || Style() == fw::TComboBoxStyle::csSimple) return {};
  const TsSkinManager* m = SkinData().SkinManager();
  const int margin = m && m->SkinModel() ? m->CommonSkinData().ComboBoxMargin : 2;
  const int w = win::MulDiv(GetComboBtnSize(m) - 1, SkinData().ScalePercent, 100);
  const TRect c = ClientRect();
  const int right = c.Right - margin;
  return {std::max(c.Left, right - w), c.Top + margin, right, std::max(c.Top, c.Bottom - margin)};
}

int TsCustomComboBox::ButtonState() const {
  if (DroppedDown()) return 2;
  const TsCommonData& cd = SkinData();
  if (AllowBtnStyle()) return cd.FMouseAbove || cd.FFocused || HasFocus() ? 1 : 0;
  if (!HandleAllocated()) return 0;
  win::POINT p;
  if (!win::GetCursorPos(&p)) return 0;
  return cd.FMouseAbove && ButtonRect().Contains(ScreenToClient(p)) ? 1 : 0;
}

int TsCustomComboBox::CacheState() const {
  const TsCommonData& cd = SkinData();
  const auto* model = ModelOf(cd);
  const bool focused = HandleAllocated() && HasFocus();
  if (focused && model && cd.SkinIndex >= 0 &&
      cd.SkinIndex == cd.SkinManager()->ConstData().Sections[skin::data::ssComboNoEdit] &&
      model->gd[std::size_t(cd.SkinIndex)].States > 3)
    return 3;
  if (DroppedDown() && AllowBtnStyle()) return 2;
  if (ControlIsActive(cd) || focused || (AllowBtnStyle() && cd.FMouseAbove)) return 1;
  return 0;
}

int TsCustomComboBox::SkinState() const {
  if (DroppedDown()) return 2;
  return CacheState() > 0 ? 1 : 0;
}

bool TsCustomComboBox::PrepareCache() {
  TsCommonData& cd = SkinData();
  if (!cd.Skinned()) return false;
  cd.BGChanged = true;
  const int state = CacheState();
  if (!UpdateCache(cd, state)) return false;
  gfx::Bitmap& cache = *cd.CacheBmp();
  // The simple style's frame goes round its edit part; its list covers the rest.
  if (Style() == fw::TComboBoxStyle::csSimple &&
      !PaintSkinControl(cd, Parent(), true, state, BoxRect(), {}, &cache, true))
    return false;
  if (fw::TComboEdit* edit = EditWindow(); edit && cd.SkinIndex >= 0 && !cd.CustomFont()) {
    // The edit part writes in the section's font colour for the state.
    const fw::TColor color =
        skin::draw::StateProps(ModelOf(cd)->gd[std::size_t(cd.SkinIndex)], std::min(state, 1))
            .FontColor.Color;
    if (edit->Font().Color() != color || edit->Font().Height() != Font().Height() ||
        edit->Font().Name() != Font().Name()) {
      edit->Font().Assign(Font());
      edit->Font().SetColor(color);
    }
  }
  gfx::DeviceContext dc(cache);
  // The canvas draws into the cache meanwhile, and is given back as it was bound.
  const gfx::HDC bound = Canvas().Handle();
  {
    fw::TCanvasPaintScope scope(Canvas(), &dc, Font(), Color());
    const TRect button = ButtonRect();
    const int right = FShowButton ? button.Left - 2 : ClientWidth() - 3;
    fw::TOwnerDrawState odState = fw::odComboBoxEdit;
    if (!Enabled())
      odState |= fw::odDisabled;
    else if (HandleAllocated() && Focused())
      odState |= fw::odSelected | fw::odFocused;
    // The edit part draws its text itself, over this cache.
    if (!HasEdit())
      DrawItem(ItemIndex(), {3, 3, std::max(3, right), std::max(3, Height() - 3)}, odState);
    if (!button.IsEmpty()) PaintButton(button);
  }
  Canvas().SetHandle(bound);
  if (!Enabled()) PaintDisabledLook(cd, FDisabledKind);
  cd.BGChanged = false;
  return true;
}

void TsCustomComboBox::PaintButton(const gfx::TRect& r) {
  TsCommonData& cd = SkinData();
  const auto* model = ModelOf(cd);
  if (!cd.Skinned() || !model) {
    TsComboBase::PaintButton(r);
    return;
  }
  if (r.IsEmpty()) return;
  const TsSkinManager& m = *cd.SkinManager();
  const int state = ButtonState();
  gfx::Bitmap bmp = Grab(Canvas().Handle(), r);
  const int btnIndex = m.ConstData().Sections[skin::data::ssComboBtn];
  const bool btnStyle = AllowBtnStyle();
  if (!btnStyle && btnIndex >= 0) {
    const gfx::Bitmap behind = bmp;
    skin::draw::PaintItem(model, btnIndex, skin::draw::MakeCacheInfo(&behind), true, state,
                          bmp.Bounds(), {0, 0}, &bmp);
  }
  if (FGlyphIndex >= 0 && model->IsValidImgIndex(FGlyphIndex)) {
    const auto& md = model->ma[std::size_t(FGlyphIndex)];
    const gfx::TPoint p{(bmp.Width() - md.Width) / 2, (bmp.Height() - md.Height) / 2};
    skin::draw::DrawSkinGlyph(bmp, p, state, 1, md, skin::draw::MakeCacheInfo(&bmp));
  } else {
    fw::TColor color = fw::ColorToRGB(fw::clWindowText);
    if (!btnStyle && btnIndex >= 0)
      color = skin::draw::StateProps(model->gd[std::size_t(btnIndex)], state).FontColor.Color;
    else if (btnStyle && cd.SkinIndex >= 0)
      // The arrow takes the button face's text colour, so it reads on every skin's face.
      color = skin::draw::StateProps(model->gd[std::size_t(cd.SkinIndex)], std::min(state, 1))
                  .FontColor.Color;
    skin::paint::DrawArrow(bmp, color, skin::paint::clNone, bmp.Bounds(), skin::paint::asBottom, 0,
                           0, 0, m.Options().ActualArrowStyle());
  }
  Put(Canvas().Handle(), r, bmp);
}

void TsCustomComboBox::DrawItem(int index, gfx::TRect r, fw::TOwnerDrawState state) {
  TsCommonData& cd = SkinData();
  const auto* model = ModelOf(cd);
  fw::TCanvas& c = Canvas();
  if (!cd.Skinned() || !model || r.IsEmpty()) {
    TsComboBase::DrawItem(index, r, state);
    return;
  }
  const bool edit = state & fw::odComboBoxEdit;
  if (!edit && (index < 0 || index >= Items().Count())) return;
  const gfx::HDC target = c.Handle();
  gfx::Bitmap bmp = Grab(target, r);
  fw::TColor fontColor;
  const TsSkinManager& m = *cd.SkinManager();
  if (edit) {
    // On the painted section, in its font colour for the state.
    const int st = std::min(CacheState(), 1);
    fontColor =
        cd.CustomFont()
            ? Font().Color()
            : skin::draw::StateProps(model->gd[std::size_t(cd.SkinIndex)], st).FontColor.Color;
  } else {
    // List rows: the edit section's colours, the highlighted one from "SELECTION".
    const int editIndex = m.ConstData().Sections[skin::data::ssEdit];
    const int selIndex = m.ConstData().Sections[skin::data::ssSelection];
    const fw::TColor back = cd.CustomColor() ? fw::ColorToRGB(Color())
                            : editIndex >= 0
                                ? skin::draw::StateProps(model->gd[std::size_t(editIndex)], 0).Color
                                : model->GetGlobalColor();
    fontColor = cd.CustomFont() ? Font().Color()
                : editIndex >= 0
                    ? skin::draw::StateProps(model->gd[std::size_t(editIndex)], 0).FontColor.Color
                    : model->GetGlobalFontColor();
    {
      gfx::DeviceContext bdc(bmp);
      gfx::FillRect(&bdc, bmp.Bounds(), fw::ColorToRGB(back));
    }
    if (state & fw::odSelected) {
      if (selIndex >= 0) {
        const gfx::Bitmap behind = bmp;
        skin::draw::PaintItem(model, selIndex, skin::draw::MakeCacheInfo(&behind), true, 1,
                              bmp.Bounds(), {0, 0}, &bmp);
        fontColor = skin::draw::StateProps(model->gd[std::size_t(selIndex)], 1).FontColor.Color;
      } else {
        gfx::DeviceContext bdc(bmp);
        gfx::FillRect(&bdc, bmp.Bounds(), fw::ColorToRGB(model->GetHighLightColor(true)));
        fontColor = model->GetHighLightFontColor(true);
      }
    }
  }
  if (Style() == fw::TComboBoxStyle::csOwnerDrawFixed && OnDrawItem && index >= 0) {
    // The handler draws into the item's bitmap, prepared with the state's colours.
    {
      gfx::DeviceContext bdc(bmp);
      fw::TCanvasPaintScope scope(c, &bdc, Font(), Color());
      c.Font.SetColor(fontColor);
      c.BrushStyle = fw::TBrushStyle::bsClear;
      OnDrawItem(this, index, bmp.Bounds(), state);
    }
    c.SetHandle(target);
  } else if (index >= 0 && index < Items().Count()) {
    gfx::DeviceContext bdc(bmp);
    fw::TCanvas canvas;
    canvas.SetHandle(&bdc);
    canvas.Font.Assign(Font());
    canvas.Font.SetColor(fontColor);
    canvas.BrushStyle = fw::TBrushStyle::bsClear;
    TRect text{2, 0, bmp.Width() - 2, bmp.Height()};
    canvas.TextRect(text, Items()[index], kTextFlags | gfx::DT_END_ELLIPSIS);
    canvas.SetHandle(nullptr);
  }
  // The rows of a disabled box's list take its DisabledKind with the rest of the box.
  if (!edit && !Enabled() && Parent()) {
    skin::paint::TCacheInfo ci;
    ci.FillColor = fw::ColorToRGB(Parent()->Color());
    skin::paint::BmpDisabledKind(bmp, FDisabledKind, ci.FillColor, ci, {0, 0});
  }
  Put(target, r, bmp);
}

bool TsCustomComboBox::EraseEditPart(gfx::HDC dc) {
  TsCommonData& cd = SkinData();
  const fw::TComboEdit* edit = EditWindow();
  if (!cd.Skinned() || !edit || cd.Updating()) return false;
  const gfx::Bitmap* cache = cd.CacheBmp();
  const bool stale = cd.BGChanged || !cache || cache->Empty() || cache->Width() != Width() ||
                     cache->Height() != Height();
  // While the box fades, the edit part shows the frame the box shows.
  if (const gfx::Bitmap* frame = AnimFrame(cd);
      frame && frame->Width() == Width() && frame->Height() == Height()) {
    gfx::DeviceContext from(const_cast<gfx::Bitmap&>(*frame));
    gfx::BitBlt(dc, 0, 0, edit->Width(), edit->Height(), &from, edit->Left(), edit->Top(),
                gfx::SRCCOPY);
    return true;
  }
  if (stale && !PrepareCache()) return false;
  gfx::DeviceContext from(*cd.CacheBmp());
  gfx::BitBlt(dc, 0, 0, edit->Width(), edit->Height(), &from, edit->Left(), edit->Top(),
              gfx::SRCCOPY);
  return true;
}

bool TsCustomComboBox::FilterEditMessage(fw::TMessage& m) {
  // The edit part is the box's own ground for the mouse: entering it from outside makes the
  // box hot, leaving it for anything but the box takes the hot look away.
  if (SkinData().Skinned()) {
    if (m.Msg == fw::CM_MOUSEENTER && !SkinData().FMouseAbove)
      Perform(fw::CM_MOUSEENTER, 0, 0);
    else if (m.Msg == fw::CM_MOUSELEAVE && fw::MouseControl() != this)
      Perform(fw::CM_MOUSELEAVE, 0, 0);
  }
  if (!FReadOnly) return false;
  switch (m.Msg) {
    case win::WM_KEYDOWN:
    case win::WM_SYSKEYDOWN:
      // Delete, Backspace and Insert (Shift+Insert pastes) edit as well.
      return BlockedKey(m.WParam) || m.WParam == win::VK_DELETE || m.WParam == win::VK_BACK ||
             m.WParam == win::VK_INSERT;
    case win::WM_CHAR:
    case win::WM_SYSCHAR:
    case win::WM_CUT:
    case win::WM_PASTE:
    case win::WM_CLEAR:
    case fw::EM_UNDO:
    case fw::EM_REPLACESEL:
      return true;
    default:
      return false;
  }
}

void TsCustomComboBox::EditFocusChanged() {
  TsComboBase::EditFocusChanged();
  if (SkinData().Skinned()) AnimateCtrl();
  if (fw::TComboEdit* edit = EditWindow()) edit->Invalidate();
}

void TsCustomComboBox::OurPaintHandler(gfx::HDC dc) {
  TsCommonData& cd = SkinData();
  if (!Showing() || !HandleAllocated() || cd.Updating()) return;
  if (const gfx::Bitmap* frame = AnimFrame(cd)) {
    gfx::DeviceContext from(const_cast<gfx::Bitmap&>(*frame));
    gfx::BitBlt(dc, 0, 0, frame->Width(), frame->Height(), &from, 0, 0, gfx::SRCCOPY);
    return;
  }
  const gfx::Bitmap* cache = cd.CacheBmp();
  const bool stale = cd.BGChanged || cd.HalfVisible || !cache || cache->Empty() ||
                     cache->Width() != Width() || cache->Height() != Height();
  if (stale && !PrepareCache()) {
    cd.FUpdating = true;
    return;
  }
  gfx::DeviceContext from(*cd.CacheBmp());
  gfx::BitBlt(dc, 0, 0, Width(), Height(), &from, 0, 0, gfx::SRCCOPY);
}

void TsCustomComboBox::Paint() {
  if (!SkinData().Skinned()) {
    TsComboBase::Paint();
    return;
  }
  if (!InAnimationProcess) OurPaintHandler(Canvas().Handle());
}

void TsCustomComboBox::RebuildAndInvalidate() {
  SkinData().BGChanged = true;
  // The skin's button size places the edit part.
  Layout();
  if (HandleAllocated())
    win::RedrawWindow(Handle(), nullptr, nullptr, win::RDW_INVALIDATE | win::RDW_ALLCHILDREN);
}

void TsCustomComboBox::AnimateCtrl() {
  TsCommonData& cd = SkinData();
  if (!cd.Skinned()) return;
  DoChangePaint(cd, std::min(CacheState(), 2), UpdateCombo_CB, true, false, false);
}

bool TsCustomComboBox::BlockedKey(win::WPARAM key) {
  // Space, the page and arrow keys, every digit of the main row and the keypad, the letters
  // and F4: each would change the choice or open the list.
  return (key >= win::VK_SPACE && key <= win::VK_DOWN) || (key >= '0' && key <= '9') ||
         (key >= win::VK_NUMPAD0 && key <= win::VK_NUMPAD0 + 9) || (key >= 'A' && key <= 'Z') ||
         key == win::VK_F4;
}

void TsCustomComboBox::SetListColors() {
  auto* list = ListWindow();
  TsCommonData& cd = SkinData();
  const auto* model = ModelOf(cd);
  if (!list || !model || !cd.Skinned()) return;
  const int editIndex = cd.SkinManager()->ConstData().Sections[skin::data::ssEdit];
  if (editIndex < 0) return;
  const auto& st = skin::draw::StateProps(model->gd[std::size_t(editIndex)], 0);
  if (cd.CustomColor()) return;
  // A disabled box's simple list takes the box's DisabledKind.
  const fw::TColor color = Enabled() || !Parent()
                               ? fw::TColor(st.Color)
                               : DisabledColor(st.Color, Parent()->Color(), FDisabledKind);
  if (list->Color() != color) list->SetColor(color);
}

void TsCustomComboBox::InitListSW(win::HWND list) {
  if (FListSW && !FListSW->Destroyed()) return;
  skin::frame::ReleaseWrapper(std::move(FListSW));
  skin::frame::TacSkinParams params;
  params.Control = ListWindow();
  params.SkinSection = "EDIT";
  FListSW = skin::frame::TacMainWnd::Create<skin::frame::TacComboListWnd>(
      list, true, params, SkinData().SkinManager(), nullptr);
}

void TsCustomComboBox::SkinCmdProc(fw::TMessage& m, const fw::TWndNext& next) {
  TsCommonData& cd = SkinData();
  // Into the edit part the mouse stays on the box.
  if (m.Msg == fw::CM_MOUSELEAVE && cd.Skinned() && EditWindow() &&
      fw::MouseControl() == EditWindow())
    return;
  // The read-only box refuses what would change the choice or open the list.
  if (FReadOnly) {
    switch (m.Msg) {
      case win::WM_KEYDOWN:
      case win::WM_SYSKEYDOWN:
        if (BlockedKey(m.WParam)) return;
        break;
      case win::WM_CHAR:
      case win::WM_SYSCHAR:
        return;
      case win::WM_LBUTTONDOWN:
      case win::WM_LBUTTONDBLCLK:
        if (CanFocus() && !Focused()) SetFocus();
        return;
      case fw::CN_COMMAND:
        if (win::HIWORD(m.WParam) == win::CBN_DROPDOWN) return;
        break;
      default:
        break;
    }
  }
  if (m.Msg == win::WM_MOUSEWHEEL && !FAllowMouseWheel) return;
  if (m.Msg == SM_ALPHACMD) {
    switch (WParamHi(m.WParam)) {
      case AC_PREPARECACHE:
        m.Result = PrepareCache() ? 1 : 0;
        return;
      case AC_DROPPEDDOWN:
        m.Result = DroppedDown() ? 1 : 0;
        return;
      case AC_MOUSELEAVE:
        Perform(fw::CM_MOUSELEAVE, 0, 0);
        return;
      case AC_SETNEWSKIN:
      case AC_REFRESH:
        next(m);
        UpdateGlyphIndex();
        if (WParamHi(m.WParam) == AC_REFRESH) SetDroppedDown(false);
        if (FListSW && !FListSW->Destroyed()) FListSW->ProcessMessage(m.Msg, m.WParam, m.LParam);
        RebuildAndInvalidate();
        return;
      case AC_REMOVESKIN:
        next(m);
        if (FListSW) FListSW->Uninitialize(true);
        RebuildAndInvalidate();
        return;
      default:
        break;
    }
  }
  if (m.Msg == win::WM_CTLCOLORLISTBOX && cd.Skinned()) {
    InitListSW(reinterpret_cast<win::HWND>(m.LParam));
    SetListColors();
  }
  const int before = CacheState();
  const bool shownFresh = !cd.BGChanged && cd.CacheBmp() && cd.CacheBmp()->Width() == Width() &&
                          cd.CacheBmp()->Height() == Height();
  next(m);
  if (!cd.Skinned()) return;
  switch (m.Msg) {
    case win::WM_SETFOCUS:
    case win::WM_KILLFOCUS:
    case fw::CM_MOUSEENTER:
    case fw::CM_MOUSELEAVE:
      if (CacheState() != before) {
        // The shared handling gave a hot typing box the section's colours for its state (or
        // took them back), which marked the cache stale; it still holds the face on screen,
        // and the fade starts from it.
        if (shownFresh) cd.BGChanged = false;
        AnimateCtrl();
      }
      break;
    case fw::CN_COMMAND:
      if (win::HIWORD(m.WParam) == win::CBN_DROPDOWN || win::HIWORD(m.WParam) == win::CBN_CLOSEUP)
        AnimateCtrl();
      break;
    case win::CB_SETCURSEL:
      StopTimer(cd);
      RebuildAndInvalidate();
      break;
    case win::WM_MOUSEMOVE:
      // Over the button or off it: the button's look changes.
      if (!AllowBtnStyle() && !DroppedDown() && ButtonState() != FState) {
        FState = ButtonState();
        RebuildAndInvalidate();
      }
      break;
    case fw::CM_ENABLEDCHANGED:
      RebuildAndInvalidate();
      // A simple box's list fades with the box, its frame and bars too.
      if (auto* list = ListWindow(); list && list->HandleAllocated())
        win::RedrawWindow(list->Handle(), nullptr, nullptr, win::RDW_INVALIDATE | win::RDW_FRAME);
      break;
    case win::WM_SETFONT:
    case fw::CM_VISIBLECHANGED:
    case fw::CM_COLORCHANGED:
    case fw::CM_FONTCHANGED:
    case fw::CM_TEXTCHANGED:
      RebuildAndInvalidate();
      break;
    default:
      break;
  }
}

}  // namespace skin::controls
