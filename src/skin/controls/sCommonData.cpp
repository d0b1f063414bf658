#include "skin/controls/sCommonData.h"

#include <algorithm>

#include "framework/TextConv.h"
#include "framework/WinControl.h"
#include "platform/win/Messages.h"
#include "platform/win/MulDiv.h"
#include "skin/controls/sLabel.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sMessages.h"
#include "skin/draw/sSkinText.h"

namespace skin::controls {

using skin::core::AC_SETSCALE;
using skin::core::acSpacing;
using skin::core::SM_ALPHACMD;
using skin::core::WParamHi;
namespace draw = skin::draw;

namespace {

// The layout seen from the other side, for owners read from the right.
TsCaptionLayout Mirrored(TsCaptionLayout layout) {
  using enum TsCaptionLayout;
  switch (layout) {
    case sclLeft:
      return sclRight;
    case sclRight:
      return sclLeft;
    case sclTopLeft:
      return sclTopRight;
    case sclTopRight:
      return sclTopLeft;
    case sclLeftTop:
      return sclRightTop;
    case sclRightTop:
      return sclLeftTop;
    case sclBottomLeft:
      return sclBottomRight;
    case sclBottomRight:
      return sclBottomLeft;
    case sclLeftLeft:
      return sclRightRight;
    default:
      return layout;
  }
}

}  // namespace

TsBoundLabel::TsBoundLabel(fw::TControl* owner) : FOwnerControl(owner) {
  FFont.OnChange = [this] {
    if (FCopyingFont) return;
    FParentFont = false;
    if (FTheLabel) FTheLabel->SetFont(FFont);
    Realign();
  };
}

TsBoundLabel::~TsBoundLabel() {
  if (!FTheLabel) return;
  FTheLabel->FBound = nullptr;
  delete FTheLabel;
}

void TsBoundLabel::SetActive(bool value) {
  if (FActive == value) return;
  FActive = value;
  UpdateVisibility();
}

void TsBoundLabel::SetCaption(const std::u16string& value) {
  if (FText == value) return;
  FText = value;
  if (FTheLabel) FTheLabel->SetCaption(FText);
  Realign();
}

void TsBoundLabel::SetLayout(TsCaptionLayout value) {
  if (FLayout == value) return;
  FLayout = value;
  if (FTheLabel) FTheLabel->SetAlignment(LayoutsArray[std::size_t(FLayout)]);
  Realign();
}

void TsBoundLabel::SetIndent(int value) {
  if (FIndent == value) return;
  FIndent = value;
  Realign();
}

void TsBoundLabel::SetOffset(int value) {
  if (FOffset == value) return;
  FOffset = value;
  Realign();
}

void TsBoundLabel::SetMaxWidth(int value) {
  if (FMaxWidth == value) return;
  FMaxWidth = value;
  Realign();
}

void TsBoundLabel::SetUseHTML(bool value) {
  if (FUseHTML == value) return;
  FUseHTML = value;
  if (FTheLabel) FTheLabel->SetUseHTML(value);
  Realign();
}

void TsBoundLabel::SetEnabledAlways(bool value) {
  if (FEnabledAlways == value) return;
  FEnabledAlways = value;
  Realign();
}

void TsBoundLabel::SetFont(const fw::TFont& font) {
  FFont.Assign(font);  // its change handler passes it on
}

void TsBoundLabel::SetParentFont(bool value) {
  if (FParentFont == value) return;
  FParentFont = value;
  if (!FTheLabel) return;
  if (value) {
    FCopyingFont = true;
    FFont.Assign(FTheLabel->Font());
    FCopyingFont = false;
    FTheLabel->SetParentFont(true);
  } else {
    FTheLabel->SetFont(FFont);
  }
  Realign();
}

bool TsBoundLabel::UseSkinColor() const {
  return FTheLabel ? FTheLabel->UseSkinColor() : true;
}

void TsBoundLabel::SetUseSkinColor(bool value) {
  if (FTheLabel) FTheLabel->SetUseSkinColor(value);
}

bool TsBoundLabel::FontStored() const {
  return !draw::FontsEqual(FFont, fw::TFont());
}

bool TsBoundLabel::LabelEnabled() const {
  return FOwnerControl->Enabled() || FEnabledAlways;
}

void TsBoundLabel::Realign() {
  if (FActive && FTheLabel) AlignLabel();
}

void TsBoundLabel::UpdateVisibility() {
  if (!FActive) {
    delete FTheLabel;  // its destructor forgets it here
    return;
  }
  if (!FOwnerControl) return;
  if (!FTheLabel) {
    FTheLabel = new TsEditLabel(FOwnerControl, this);
    if (!FParentFont) FTheLabel->SetFont(FFont);
    FTheLabel->Hide();
    FTheLabel->SetFocusControl(dynamic_cast<fw::TWinControl*>(FOwnerControl));
    FTheLabel->SetUseHTML(FUseHTML);
    FTheLabel->SetParent(FOwnerControl->Parent());
    if (!FOwnerControl->Name().empty()) FTheLabel->SetName(FOwnerControl->Name() + "Label");
  }
  FTheLabel->SetAlignment(LayoutsArray[std::size_t(FLayout)]);
  if (FText.empty()) FText = fw::Utf8ToUtf16(FOwnerControl->Name());
  FTheLabel->SetCaption(FText);
  FTheLabel->SetVisible(FOwnerControl->Visible());
  FTheLabel->SetEnabled(LabelEnabled());
  AlignLabel();
}

void TsBoundLabel::AlignLabel() {
  TsEditLabel* label = FTheLabel;
  fw::TControl* o = FOwnerControl;
  if (!label || !o || !label->Visible()) return;
  fw::TWinControl* parent = o->Parent();
  if (parent) parent->DisableAlign();
  using enum TsCaptionLayout;
  const TsCaptionLayout layout = o->UseRightToLeftAlignment() ? Mirrored(FLayout) : FLayout;
  // As wide as the text up to the width limit, wrapped within it; one line for the
  // side-by-side layouts.
  const int limit = FMaxWidth > 0 ? FMaxWidth : 9999;
  const bool oneLine = layout == sclLeftLeft || layout == sclRightRight;
  const unsigned flags = gfx::DT_WORDBREAK | gfx::DT_EXPANDTABS;
  // Markup is measured as the label lays it out: its tags take no room.
  const bool markup = label->UseHTML() && !label->Caption().empty();
  const gfx::TSize line =
      markup ? label->MarkupExtent(oneLine ? 0 : limit)
             : draw::GetStringSize(label->Font().Handle(), label->Caption(), flags, limit, false);
  label->SetAlign(fw::TAlign::alNone);
  label->SetAutoSize(false);
  label->SetWordWrap(!oneLine);
  label->SetEnabled(LabelEnabled());
  const int w = layout == sclLeftLeft && FMaxWidth > 0 ? limit : std::min(line.cx, limit);
  const int h =
      oneLine || markup
          ? line.cy
          : draw::GetStringSize(label->Font().Handle(), label->Caption(), flags, limit, true).cy;
  const int L = o->Left(), T = o->Top(), W = o->Width(), H = o->Height(), s = acSpacing;
  const int middle = T + (H - h) / 2 + FOffset;
  int left = L, top = T;
  switch (layout) {
    case sclLeft:
      left = L - w - s - FIndent;
      top = middle;
      break;
    case sclTopLeft:
    case sclBottomLeft:
      left = L + FOffset;
      break;
    case sclTopCenter:
    case sclBottomCenter:
      left = L + (W - w) / 2 + FOffset;
      break;
    case sclTopRight:
    case sclBottomRight:
      left = L + W + FOffset - w;
      break;
    case sclLeftTop:
      left = L - w - s - FIndent;
      top = T + FOffset + 3;
      break;
    case sclRight:
      left = L + W + s + FIndent;
      top = middle;
      break;
    case sclRightTop:
      left = L + W + s + FIndent;
      top = T + FOffset + 3;
      break;
    case sclLeftLeft:
      left = L + FIndent - w - s;
      top = middle;
      break;
    case sclRightRight:
      left = L + W + s - FIndent;
      top = middle;
      break;
  }
  if (layout == sclTopLeft || layout == sclTopCenter || layout == sclTopRight)
    top = T - h - FIndent;
  else if (layout == sclBottomLeft || layout == sclBottomCenter || layout == sclBottomRight)
    top = T + H + FIndent;
  label->SetBounds(left, top, w, h);
  // Beside an owner aligned to a side, the label is aligned to that side too.
  if (layout == sclLeft && o->Align() == fw::TAlign::alLeft) {
    label->SetLayout(fw::TTextLayout::tlCenter);
    label->SetAlign(fw::TAlign::alLeft);
  } else if (layout == sclLeftLeft && o->Align() == fw::TAlign::alLeft) {
    label->SetAlignment(fw::TAlignment::taLeftJustify);
    label->SetAlign(fw::TAlign::alLeft);
  } else if (layout == sclRightRight && o->Align() == fw::TAlign::alRight) {
    label->SetAlignment(fw::TAlignment::taRightJustify);
    label->SetAlign(fw::TAlign::alRight);
  }
  if (label->Parent() != parent) label->SetParent(parent);
  if (parent) parent->EnableAlign();
}

void TsBoundLabel::HandleOwnerMsg(const fw::TMessage& message) {
  if (!FTheLabel || !FOwnerControl) {
    if (message.Msg == SM_ALPHACMD && WParamHi(message.WParam) == AC_SETSCALE)
      UpdateScale(int(message.LParam));
    return;
  }
  switch (message.Msg) {
    case win::WM_SIZE:
    case win::WM_WINDOWPOSCHANGED:
      break;
    case fw::CM_VISIBLECHANGED:
      FTheLabel->SetVisible(FOwnerControl->Visible());
      break;
    case fw::CM_ENABLEDCHANGED:
      FTheLabel->SetEnabled(LabelEnabled());
      break;
    case fw::CM_BIDIMODECHANGED:
      FTheLabel->SetBiDiMode(FOwnerControl->BiDiMode());
      break;
    case SM_ALPHACMD:
      if (WParamHi(message.WParam) == AC_SETSCALE) UpdateScale(int(message.LParam));
      return;
    default:
      return;
  }
  Realign();
}

void TsBoundLabel::UpdateScale(int percent) {
  if (percent <= 0 || ScalePercent <= 0) return;
  FMaxWidth = win::MulDiv(FMaxWidth, percent, ScalePercent);
  ScalePercent = percent;
  Realign();
}

}  // namespace skin::controls
