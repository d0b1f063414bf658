#include "framework/Button.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/Menus.h"
#include "platform/win/ControlCodes.h"
#include "platform/win/Keys.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/MulDiv.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"

namespace fw {

using namespace win;

TRect DrawBevel(TCanvas& canvas, TRect r, bool raised) {
  TColor saved = canvas.BrushColor;
  canvas.BrushColor = raised ? clBtnHighlight : clBtnShadow;
  canvas.FillRect({r.Left, r.Top, r.Right, r.Top + 1});
  canvas.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom});
  canvas.BrushColor = raised ? clBtnShadow : clBtnHighlight;
  canvas.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
  canvas.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
  canvas.BrushColor = saved;
  return {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
}

namespace {

// The letter's capital, for the Latin and Cyrillic alphabets; other characters as they are.
char16_t FoldCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return char16_t(c - 0x20);
  if (c >= u'\u0430' && c <= u'\u044F') return char16_t(c - 0x20);
  if (c >= u'\u0450' && c <= u'\u045F') return char16_t(c - 0x50);
  return c;
}

}  // namespace

bool IsAccel(char16_t key, std::u16string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] != u'&') return FoldCase(caption[i + 1]) == FoldCase(key);
    ++i;  // "&&"
  }
  return false;
}

TButton::TButton(TComponent* owner) : TCustomControl(owner) {
  SetColor(clBtnFace);
  SetTabStop(true);
  SetBounds(0, 0, 75, 25);
}

TButton::~TButton() {
  SetDropDownMenu(nullptr);
}

void TButton::SetCommandLinkHint(const std::u16string& value) {
  if (value == FCommandLinkHint) return;
  FCommandLinkHint = value;
  Invalidate();
}

void TButton::SetDropDownMenu(TPopupMenu* menu) {
  if (menu == FDropDownMenu) return;
  if (FDropDownMenu) {
    RemoveFreeNotification(FDropDownMenu);
    // Its choice arrives as a posted command, after the loop: no button that has left there.
    if (FDropDownMenu->PopupComponent == this) FDropDownMenu->PopupComponent = nullptr;
  }
  FDropDownMenu = menu;
  if (FDropDownMenu) FreeNotification(FDropDownMenu);
}

int TButton::DropDownWidth() const {
  return ScaledDesignValue(16);
}

TRect TButton::DropDownRect() const {
  if (FStyle != TButtonStyle::bsSplitButton) return {};
  const TRect r = ClientRect();
  return {std::max(r.Left, r.Right - DropDownWidth()), r.Top, r.Right, r.Bottom};
}

bool TButton::OnDropDownPart(TPoint p) const {
  return DropDownRect().Contains(p);
}

void TButton::SetHotPart(TSplitPart part) {
  if (FStyle != TButtonStyle::bsSplitButton) part = TSplitPart::spNone;
  if (part == FHotPart) return;
  FHotPart = part;
  SplitStateChanged();
}

void TButton::DropDown() {
  if (FStyle != TButtonStyle::bsSplitButton || FDroppedDown || !Enabled()) return;
  const std::shared_ptr<const bool> alive = AliveToken();
  if (OnDropDownClick) {
    OnDropDownClick(this);
    if (!*alive) return;
  }
  TPopupMenu* menu = FDropDownMenu;
  if (!menu || !HandleAllocated()) return;
  FDroppedDown = true;
  SplitStateChanged();
  UpdateWindow(Handle());  // the pressed part shows before the menu's loop takes over
  const int x = menu->Alignment == TPopupAlignment::paRight    ? Width()
                : menu->Alignment == TPopupAlignment::paCenter ? Width() / 2
                                                               : 0;
  const TPoint at = ClientToScreen({x, Height()});
  menu->PopupComponent = this;
  menu->Popup(at.X, at.Y);
  if (!*alive) return;  // freed while its menu was open
  FDroppedDown = false;
  SplitStateChanged();
}

void TButton::SetImages(TImageList* images) {
  if (FImages.Set(images)) Invalidate();
}

void TButton::Notification(TComponent* component, TOperation operation) {
  if (FImages.Removed(component, operation)) Invalidate();
  if (operation == TOperation::opRemove && component == FDropDownMenu) FDropDownMenu = nullptr;
  TCustomControl::Notification(component, operation);
}

void TButton::SetImageIndex(int index) {
  if (index == FImageIndex) return;
  FImageIndex = index;
  Invalidate();
}

bool TButton::HasImage() const {
  return Images() && FImageIndex >= 0 && FImageIndex < Images()->Count();
}

void TButton::SetImageAlignment(TImageAlignment value) {
  if (value == FImageAlignment) return;
  FImageAlignment = value;
  Invalidate();
}

void TButton::SetImageMargins(const TImageMargins& value) {
  if (value == FImageMargins) return;
  FImageMargins = value;
  Invalidate();
}

void TButton::SetStyle(TButtonStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  if (FStyle != TButtonStyle::bsSplitButton) FHotPart = TSplitPart::spNone;
  Invalidate();
}

void TButton::ImageLayout(const TRect& r, TRect& image, TRect& caption) const {
  caption = r;
  image = {};
  if (!HasImage()) return;
  const int w = Images()->Width(), h = Images()->Height();
  const TImageMargins& m = FImageMargins;
  // The image's box (image and margins), centred across the side it stands on.
  const int boxW = w + m.Left + m.Right, boxH = h + m.Top + m.Bottom;
  const int midX = r.Left + (r.Width() - boxW) / 2 + m.Left;
  const int midY = r.Top + (r.Height() - boxH) / 2 + m.Top;
  switch (FImageAlignment) {
    case TImageAlignment::iaLeft:
      image = gfx::RectOfSize(r.Left + m.Left, midY, w, h);
      caption.Left = std::min(r.Right, r.Left + boxW);
      break;
    case TImageAlignment::iaRight:
      image = gfx::RectOfSize(r.Right - m.Right - w, midY, w, h);
      caption.Right = std::max(r.Left, r.Right - boxW);
      break;
    case TImageAlignment::iaTop:
      image = gfx::RectOfSize(midX, r.Top + m.Top, w, h);
      caption.Top = std::min(r.Bottom, r.Top + boxH);
      break;
    case TImageAlignment::iaBottom:
      image = gfx::RectOfSize(midX, r.Bottom - m.Bottom - h, w, h);
      caption.Bottom = std::max(r.Top, r.Bottom - boxH);
      break;
    case TImageAlignment::iaCenter:
      image = gfx::RectOfSize(midX, midY, w, h);
      break;
  }
}

void TButton::SetDefault(bool value) {
  if (value == FDefault) return;
  FDefault = value;
  TCustomForm* form = GetParentForm(this);
  FocusChanged(form ? form->ActiveControl() : nullptr);
}

void TButton::SetWordWrap(bool value) {
  if (value == FWordWrap) return;
  FWordWrap = value;
  if (HandleAllocated()) {
    LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
    SetWindowLongPtrW(Handle(), GWL_STYLE, value ? style | BS_MULTILINE : style & ~BS_MULTILINE);
  }
  Invalidate();
}

void TButton::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style |= FActive ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if (FWordWrap) p.Style |= BS_MULTILINE;
}

void TButton::FocusChanged(const TControl* focused) {
  // A focused button is the one Enter clicks; with the focus elsewhere the default button is.
  bool active = dynamic_cast<const TButton*>(focused) ? focused == this : FDefault;
  SetButtonStyle(active);
}

void TButton::SetButtonStyle(bool isDefault) {
  if (!HandleAllocated()) {
    FActive = isDefault;
    return;
  }
  DWORD type = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if ((GetWindowLongPtrW(Handle(), GWL_STYLE) & BS_TYPEMASK) != type || FActive != isDefault)
    SendMessageW(Handle(), BM_SETSTYLE, type, 1);
}

void TButton::SetDown(bool down) {
  if (down == FDown) return;
  FDown = down;
  Invalidate();
}

void TButton::Click() {
  if (FModalResult != mrNone)
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  TCustomControl::Click();
}

bool TButton::WantsKey(WORD key) const {
  return key == VK_RETURN;
}

void TButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft) SetDown(true);
  TCustomControl::MouseDown(button, shift, x, y);
}

void TButton::MouseMove(TShiftState shift, int x, int y) {
  if (FStyle == TButtonStyle::bsSplitButton)
    SetHotPart(!ClientRect().Contains({x, y}) ? TSplitPart::spNone
               : OnDropDownPart({x, y})       ? TSplitPart::spDropDown
                                              : TSplitPart::spMain);
  if (shift & ssLeft) SetDown(ClientRect().Contains({x, y}));
  TCustomControl::MouseMove(shift, x, y);
}

void TButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft) SetDown(false);
  TCustomControl::MouseUp(button, shift, x, y);
}

void TButton::MouseLeave() {
  SetHotPart(TSplitPart::spNone);
  TCustomControl::MouseLeave();
}

void TButton::KeyDown(WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == VK_DOWN && (shift & ssAlt) && FStyle == TButtonStyle::bsSplitButton) {
    key = 0;
    DropDown();  // may free the button
  } else if (key == VK_SPACE) {
    SetDown(true);
  } else if (key == VK_RETURN) {
    key = 0;
    Click();
  }
}

void TButton::KeyPress(char16_t& key) {
  TCustomControl::KeyPress(key);
  // A button takes no typing: a letter goes to the form's accelerators.
  if (key > u' ')
    if (TCustomForm* form = GetParentForm(this); form && form->Perform(CM_DIALOGCHAR, key, 0))
      key = 0;
}

void TButton::KeyUp(WORD& key, TShiftState shift) {
  TCustomControl::KeyUp(key, shift);
  if (key == VK_SPACE && FDown) {
    SetDown(false);
    Click();
  }
}

void TButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // A press on a split button's drop-down part opens its menu; it is no click.
      if (Enabled() && OnDropDownPart(win::PointFromLParam(m.LParam))) {
        if (Application) Application->CancelHint();
        if (TabStop() && !Focused() && CanFocus()) SetFocus();
        DropDown();  // may free the button
        return;
      }
      break;
    case CM_DIALOGKEY:
      if (((m.WParam == VK_RETURN && FDefault) || (m.WParam == VK_ESCAPE && FCancel)) &&
          CanFocus() && Showing()) {
        Click();
        m.Result = 1;
      }
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(char16_t(m.WParam), Caption()) && CanFocus()) {
        Click();
        m.Result = 1;
      }
      return;
    case CM_FOCUSCHANGED:
      FocusChanged(reinterpret_cast<const TControl*>(m.LParam));
      break;
    case CM_ENTER:
    case CM_EXIT:
      Invalidate();
      break;
    case BM_GETSTATE:
      m.Result = (FDown ? BST_PUSHED : 0) | (Focused() ? BST_FOCUS : 0);
      return;
    case BM_SETSTATE:
      SetDown(m.WParam != 0);
      return;
    case BM_SETSTYLE: {
      LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
      SetWindowLongPtrW(Handle(), GWL_STYLE,
                        (style & ~LONG_PTR(BS_TYPEMASK)) | LONG_PTR(m.WParam & BS_TYPEMASK));
      FActive = (m.WParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
      if (m.LParam) Invalidate();
      return;
    }
    case BM_CLICK:
      Click();
      return;
    default:
      break;
  }
  TCustomControl::WndProc(m);
}

void TButton::Paint() {
  TCanvas& c = Canvas();
  TRect r = ClientRect();
  c.FillRect(r);
  if (FActive || Focused()) {
    c.BrushColor = clBlack;
    c.FrameRect(r);
    c.BrushColor = Color();
    r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
  }
  const TRect part = DropDownRect();
  if (!part.IsEmpty()) {
    // The drop-down part has its own bevel; the main face keeps the rest.
    PaintDropDownPart({std::max(r.Left, part.Left), r.Top, r.Right, r.Bottom});
    r.Right = std::max(r.Left, part.Left);
  }
  r = DrawBevel(c, r, !FDown);
  if (FDown) r = r.Offset(1, 1);
  PaintContent(r);
  if (Focused()) {
    c.BrushColor = clGrayText;
    c.FrameRect({r.Left + 2, r.Top + 2, r.Right - 3, r.Bottom - 3});
    c.BrushColor = Color();
  }
}

void TButton::PaintDropDownPart(TRect r) {
  TCanvas& c = Canvas();
  r = DrawBevel(c, r, !FDroppedDown);
  if (FDroppedDown) r = r.Offset(1, 1);
  // A small triangle pointing down, centred.
  const int w = std::max(3, ((r.Width() - 1) / 2) | 1), h = w / 2 + 1;
  const int x = r.Left + (r.Width() - w) / 2, y = r.Top + (r.Height() - h) / 2;
  c.BrushColor = Enabled() ? clBtnText : clGrayText;
  for (int i = 0; i < h; ++i) c.FillRect({x + i, y + i, x + w - i, y + i + 1});
  c.BrushColor = Color();
}

unsigned TButton::CaptionFlags() const {
  return gfx::DT_CENTER | (FWordWrap ? gfx::DT_WORDBREAK : 0);
}

TFont CommandLinkFontOf(const TFont& font) {
  TFont f;
  f.Assign(font);
  f.SetStyle(f.Style() | fsBold);
  // Two points are 8/3 pixels at 96 pixels per inch; Height counts pixels.
  const int h = f.Height(), grow = win::MulDiv(2, TFont::PixelsPerInch, 72);
  f.SetHeight(h < 0 ? h - grow : h + grow);
  return f;
}

void TButton::PaintContent(TRect r) {
  TCanvas& c = Canvas();
  if (FStyle == TButtonStyle::bsCommandLink) {
    // The image (or its room) at the top left, the caption bold beside it, the note below.
    const int room = HasImage() ? Images()->Width() : 32, gap = 6;
    if (HasImage()) Images()->Draw(c, r.Left + gap, r.Top + gap, FImageIndex);
    TRect text{r.Left + gap + room + gap, r.Top + gap, r.Right - gap, r.Bottom - gap};
    const TFont own = c.Font;
    c.BrushStyle = TBrushStyle::bsClear;
    c.Font = CommandLinkFontOf(own);
    if (!Enabled()) c.Font.SetColor(clGrayText);
    TRect calc = text;
    const unsigned flags = gfx::DT_LEFT | gfx::DT_WORDBREAK;
    c.TextRect(calc, Caption(), flags | gfx::DT_CALCRECT);
    c.TextRect(text, Caption(), flags);
    c.Font = own;
    if (!Enabled()) c.Font.SetColor(clGrayText);
    TRect note{text.Left, text.Top + calc.Height() + 2, text.Right, text.Bottom};
    if (!FCommandLinkHint.empty() && !note.IsEmpty()) c.TextRect(note, FCommandLinkHint, flags);
    return;
  }
  TRect image, rest;
  ImageLayout(r, image, rest);
  if (!image.IsEmpty()) Images()->Draw(c, image.Left, image.Top, FImageIndex);
  r = rest;
  c.BrushStyle = TBrushStyle::bsClear;
  if (!Enabled()) c.Font.SetColor(clGrayText);
  TRect calc = r;
  c.TextRect(calc, Caption(), CaptionFlags() | gfx::DT_CALCRECT);
  TRect text{r.Left, r.Top + (r.Height() - calc.Height()) / 2, r.Right, r.Bottom};
  c.TextRect(text, Caption(), CaptionFlags());
}

bool TButtonGlyph::SetNumGlyphs(int value) {
  value = std::clamp(value, 1, 4);
  if (value == FNumGlyphs) return false;
  FNumGlyphs = value;
  return true;
}

bool TButtonGlyph::SetLayout(TButtonLayout value) {
  if (value == FLayout) return false;
  FLayout = value;
  return true;
}

bool TButtonGlyph::SetMargin(int value) {
  value = std::max(value, -1);
  if (value == FMargin) return false;
  FMargin = value;
  return true;
}

bool TButtonGlyph::SetSpacing(int value) {
  value = std::max(value, -1);
  if (value == FSpacing) return false;
  FSpacing = value;
  return true;
}

gfx::TSize TButtonGlyph::Size() const {
  if (FGlyph.Empty()) return {0, 0};
  return {FGlyph.Width() / FNumGlyphs, FGlyph.Height()};
}

gfx::Bitmap TButtonGlyph::Frame(TButtonState state) const {
  const gfx::TSize size = Size();
  if (size.cx <= 0 || size.cy <= 0) return {};
  const int frame = int(state) < FNumGlyphs ? int(state) : 0;
  return FGlyph.Copy(gfx::RectOfSize(frame * size.cx, 0, size.cx, size.cy));
}

void TButtonGlyph::Place(const TFont& font, std::u16string_view caption, unsigned flags,
                         const TRect& r, TRect& glyphRect, TRect& captionRect) const {
  LayoutButtonContent(font, caption, flags, Size(), FLayout, FMargin, FSpacing, r, glyphRect,
                      captionRect);
}

void LayoutButtonContent(const TFont& font, std::u16string_view caption, unsigned flags,
                         gfx::TSize g, TButtonLayout layout, int margin, int spacing,
                         const TRect& r, TRect& glyph, TRect& text) {
  const bool across = layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
  // The caption's size, measured in the button's font; wrapped at the room the glyph leaves.
  gfx::Bitmap scratch(1, 1);
  gfx::DeviceContext dc(scratch);
  gfx::SelectFont(&dc, font.Handle());
  TRect t{0, 0, 0, 0};
  if (flags & gfx::DT_WORDBREAK)
    t.Right = std::max(0, r.Width() - 2 * std::max(margin, 0) -
                              (across && g.cx ? g.cx + std::max(spacing, 0) : 0));
  if (!caption.empty()) gfx::DrawTextW(&dc, caption, &t, flags | gfx::DT_CALCRECT);
  const int gw = across ? g.cx : g.cy, tw = across ? t.Width() : t.Height();
  const int room = across ? r.Width() : r.Height();
  if (gw == 0 || tw == 0) spacing = 0;
  if (margin < 0 && spacing < 0) {
    margin = spacing = (room - gw - tw) / 3;
  } else if (margin < 0) {
    margin = (room - (gw + spacing + tw) + 1) / 2;
  } else if (spacing < 0) {
    spacing = (room - margin - gw - tw) / 2;
  }
  // Positions along the layout's axis, from the face's start.
  const bool glyphFirst =
      layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphTop;
  int glyphAt, textAt;
  if (glyphFirst) {
    glyphAt = margin;
    textAt = margin + gw + spacing;
  } else {
    glyphAt = room - margin - gw;
    textAt = glyphAt - spacing - tw;
  }
  if (gw == 0) textAt = glyphFirst ? margin : room - margin - tw;
  // Across the axis both are centred.
  if (across) {
    glyph = gfx::RectOfSize(r.Left + glyphAt, r.Top + (r.Height() - g.cy + 1) / 2, g.cx, g.cy);
    text = gfx::RectOfSize(r.Left + textAt, r.Top + (r.Height() - t.Height() + 1) / 2, t.Width(),
                           t.Height());
  } else {
    glyph = gfx::RectOfSize(r.Left + (r.Width() - g.cx + 1) / 2, r.Top + glyphAt, g.cx, g.cy);
    text = gfx::RectOfSize(r.Left + (r.Width() - t.Width() + 1) / 2, r.Top + textAt, t.Width(),
                           t.Height());
  }
  if (g.cx == 0) glyph = {};
  if (caption.empty()) text = {};
}

void TBitBtn::CalcLayout(const TRect& r, TRect& glyph, TRect& caption) {
  FGlyph.Place(Font(), Caption(), CaptionFlags(), r, glyph, caption);
}

void TBitBtn::PaintContent(TRect r) {
  TRect glyph, caption;
  CalcLayout(r, glyph, caption);
  TCanvas& c = Canvas();
  if (!glyph.IsEmpty()) {
    const TButtonState state = !Enabled() ? TButtonState::bsDisabled
                               : Down()   ? TButtonState::bsDown
                                          : TButtonState::bsUp;
    c.Draw(glyph.Left, glyph.Top, FGlyph.Frame(state), true);
  }
  if (caption.IsEmpty()) return;
  c.BrushStyle = TBrushStyle::bsClear;
  if (!Enabled()) c.Font.SetColor(clGrayText);
  c.TextRect(caption, Caption(), CaptionFlags());
}

}  // namespace fw
