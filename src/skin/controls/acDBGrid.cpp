#include "skin/controls/acDBGrid.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/gfx/DeviceContext.h"
#include "platform/win/Messages.h"
#include "skin/core/sGraphUtils.h"
#include "skin/data/acColor.h"
#include "skin/draw/sGraphUtils.h"
#include "skin/draw/sSkinText.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::controls {

namespace {

// The caption's parts between delimiters.
std::vector<std::u16string> CaptionParts(const std::u16string& caption, char16_t delimiter) {
  std::vector<std::u16string> parts(1);
  for (char16_t ch : caption)
    if (ch == delimiter)
      parts.emplace_back();
    else
      parts.back() += ch;
  return parts;
}

}  // namespace

int GetCaptionDepth(const std::u16string& caption, char16_t delimiter) {
  return int(std::count(caption.begin(), caption.end(), delimiter)) + 1;
}

bool GetCaptionLevel(const std::u16string& caption, int level, char16_t delimiter,
                     std::u16string& text) {
  const auto parts = CaptionParts(caption, delimiter);
  if (level < 0 || level >= int(parts.size())) {
    text.clear();
    return false;
  }
  text = parts[std::size_t(level)];
  return true;
}

TsDBGrid::TsDBGrid(fw::TComponent* owner) : Skinned(owner) {
  FGridHook = this->HookWindowProc(
      [this](fw::TMessage& m, const fw::TWndNext& next) { GridWndProc(m, next); });
}

TsDBGrid::~TsDBGrid() {
  Destroying();
  UnhookWindowProc(FGridHook);
}

void TsDBGrid::Loaded() {
  Skinned::Loaded();
  if (Model()) {
    SaveColors();
    ApplySkinGradient();
  }
}

void TsDBGrid::CreateWnd() {
  Skinned::CreateWnd();
  if (Model() && !HasState(fw::csLoading)) {
    SaveColors();
    ApplySkinGradient();
  }
}

std::unique_ptr<fw::TColumn> TsDBGrid::CreateColumn() {
  return std::make_unique<TacDBColumn>(this);
}

void TsDBGrid::SetLevelDelimiterChar(char16_t c) {
  if (c == FLevelDelimiterChar) return;
  FLevelDelimiterChar = c;
  UpdateHeaderHeight();
  Invalidate();
}

void TsDBGrid::SetRowColorEven(fw::TColor c) {
  FRowColorEven = c;
  Invalidate();
}

void TsDBGrid::SetRowColorOdd(fw::TColor c) {
  FRowColorOdd = c;
  Invalidate();
}

void TsDBGrid::SetDefaultDrawing(bool v) {
  FDefaultDrawing = v;
  Invalidate();
}

void TsDBGrid::SetColumnStretch(bool v) {
  if (v == FColumnStretch) return;
  FColumnStretch = v;
  if (v) {
    CalcTableSpacePercent();
    ResizeColumns();
  }
}

void TsDBGrid::TopLeftChanged() {
  Skinned::TopLeftChanged();
  if (OnScrollData) OnScrollData(this);
}

void TsDBGrid::Scroll(int distance) {
  Skinned::Scroll(distance);
  if (OnAfterScroll) OnAfterScroll(this);
}

void TsDBGrid::ColWidthsChanged() {
  if (FExecColAjust) return;
  FExecColAjust = true;
  UpdateHeaderHeight();
  if (FColumnStretch && !HasState(fw::csLoading)) {
    // A width the user set moves the columns after it; anything else stretches them all.
    if (UserSizedColumn() >= 0 && UserSizedColumn() < Columns().Count())
      ResizeColumns(UserSizedColumn());
    else
      ResizeColumns();
  }
  FExecColAjust = false;
}

void TsDBGrid::UpdateHeaderHeight() {
  int depth = 1;
  for (const TShownColumn& c : ShownColumns())
    depth = std::max(depth, GetCaptionDepth(c.Caption, FLevelDelimiterChar));
  FHeaderHeight = depth;
  SetTitleHeight(depth > 1 ? DefaultRowHeight() * depth : 0);
}

void TsDBGrid::CalcTableSpacePercent() {
  int total = 0;
  for (int i = 0; i < Columns().Count(); ++i) total += std::max(0, Columns().Items(i).Width());
  for (int i = 0; i < Columns().Count(); ++i)
    if (TacDBColumn* c = Column(i))
      c->FTableSpacePercent = total > 0 ? double(std::max(0, c->Width())) / total : 0;
}

void TsDBGrid::ResizeColumns() {
  const int count = Columns().Count();
  if (count == 0) return;
  const bool guard = FExecColAjust;
  FExecColAjust = true;
  // The room right of the indicator, less one grid line per column.
  const int available = ClientWidth() - 12 - count;
  double shares = 0;
  for (int i = 0; i < count; ++i)
    if (TacDBColumn* c = Column(i)) shares += c->FTableSpacePercent;
  if (shares < 0.0001) shares = 1;
  WithOneLayout([&] {
    for (int i = 0; i < count; ++i)
      if (TacDBColumn* c = Column(i)) {
        const int width = int(std::lround((available + 2) * c->FTableSpacePercent / shares));
        c->SetWidth(std::max(c->MinWidth(), width));
      }
  });
  FExecColAjust = guard;
  CalcTableSpacePercent();
}

int TsDBGrid::MinColWidth(int col) const {
  const int base = TDBGrid::MinColWidth(col);
  auto* self = const_cast<TsDBGrid*>(this);
  const TacDBColumn* c = col >= 0 && col < self->Columns().Count() ? self->Column(col) : nullptr;
  return c ? std::max(base, c->MinWidth()) : base;
}

void TsDBGrid::ResizeColumns(int k) {
  const int count = Columns().Count();
  if (k < 0 || k >= count) return;
  const bool guard = FExecColAjust;
  FExecColAjust = true;
  const auto minWidth = [&](int i) {
    const TacDBColumn* c = Column(i);
    return c ? c->MinWidth() : 0;
  };
  const int available = ClientWidth() - 12 - count;
  int before = 0;
  for (int i = 0; i < k; ++i) before += Columns().Items(i).Width();
  // The least the later columns can do with: 10 pixels each, or their minimum.
  int least = 0;
  for (int i = k + 1; i < count; ++i) least += std::max(10, minWidth(i));
  const int rest = available - before - Columns().Items(k).Width();
  WithOneLayout([&] { SetLaterWidths(k, available, before, rest, least); });
  FExecColAjust = guard;
  CalcTableSpacePercent();
}

void TsDBGrid::WithOneLayout(const std::function<void()>& setWidths) {
  BeginLayout();
  try {
    setWidths();
  } catch (...) {
    EndLayout();
    throw;
  }
  EndLayout();
}

void TsDBGrid::SetLaterWidths(int k, int available, int before, int rest, int least) {
  const int count = Columns().Count();
  const auto minWidth = [&](int i) {
    const TacDBColumn* c = Column(i);
    return c ? c->MinWidth() : 0;
  };
  if (k + 1 < count && rest < least) {
    // Too little left: column k gives way, down to its own minimum.
    Columns().Items(k).SetWidth(std::max(MinColWidth(k), available - before - least));
    for (int i = k + 1; i < count; ++i) Columns().Items(i).SetWidth(std::max(10, minWidth(i)));
  } else if (k + 1 < count) {
    // Shares of the rest; a column whose share is below its minimum keeps the minimum and
    // the others share what remains, the last of them taking the rounding.
    std::vector<int> free;
    for (int i = k + 1; i < count; ++i) free.push_back(i);
    std::vector<int> width(std::size_t(count), 0);
    int remaining = rest;
    const auto share = [&](int i, double shares) {
      const TacDBColumn* c = Column(i);
      return shares >= 0.0001 && c ? c->FTableSpacePercent / shares : 1.0 / double(free.size());
    };
    for (bool fixed = true; fixed && !free.empty();) {
      fixed = false;
      double shares = 0;
      for (int i : free)
        if (const TacDBColumn* c = Column(i)) shares += c->FTableSpacePercent;
      for (std::size_t j = 0; j < free.size(); ++j) {
        const int i = free[j];
        if (remaining * share(i, shares) < minWidth(i)) {
          width[std::size_t(i)] = minWidth(i);
          remaining -= minWidth(i);
          free.erase(free.begin() + std::ptrdiff_t(j));
          fixed = true;
          break;
        }
      }
    }
    double shares = 0;
    for (int i : free)
      if (const TacDBColumn* c = Column(i)) shares += c->FTableSpacePercent;
    int given = 0;
    for (std::size_t j = 0; j < free.size(); ++j) {
      const int i = free[j];
      const int w =
          j + 1 == free.size() ? remaining - given : int(std::lround(remaining * share(i, shares)));
      width[std::size_t(i)] = std::max(minWidth(i), w);
      given += width[std::size_t(i)];
    }
    for (int i = k + 1; i < count; ++i) Columns().Items(i).SetWidth(width[std::size_t(i)]);
  }
}

void TsDBGrid::SaveColors() {
  if (FGradColorsSaved) return;
  SavedGradStartColor = GradientStartColor();
  SavedGradEndColor = GradientEndColor();
  FGradColorsSaved = true;
}

void TsDBGrid::RestoreColors() {
  if (!FGradColorsSaved) return;
  SetGradientStartColor(SavedGradStartColor);
  SetGradientEndColor(SavedGradEndColor);
  FGradColorsSaved = false;
}

void TsDBGrid::ApplySkinGradient() {
  const sd::TacSkinModel* model = Model();
  if (!model || DrawingStyle() != fw::TGridDrawingStyle::gdsGradient) return;
  SetGradientStartColor(fw::TColor(
      skin::paint::BlendColors(model->GetGlobalColor(), model->GetActiveEditColor(), 127)));
  SetGradientEndColor(fw::TColor(model->GetGlobalColor()));
}

const sd::TacSkinModel* TsDBGrid::Model() const {
  const sc::TsCommonData& cd = SkinData();
  if (!cd.Skinned()) return nullptr;
  const TsSkinManager* manager = cd.SkinManager();
  return manager ? manager->SkinModel() : nullptr;
}

int TsDBGrid::TitleSection() const {
  const sd::TacSkinModel* model = Model();
  if (!model) return -1;
  const int header = model->ConstData.Sections[sd::ssColHeader];
  return model->IsValidSkinIndex(header) ? header : model->ConstData.Sections[sd::ssButton];
}

fw::TColor TsDBGrid::GridLineColor() const {
  // A skin without a grid colour keeps the platform's.
  const sd::TacSkinModel* model = Model();
  return model && model->Palette[sd::pcGrid] != sd::kNoColor
             ? fw::TColor(model->Palette[sd::pcGrid])
             : TDBGrid::GridLineColor();
}

void TsDBGrid::PaintHeaderCell(gfx::HDC dc, const fw::TRect& r) {
  if (r.Width() <= 0 || r.Height() <= 0) return;
  const sd::TacSkinModel* model = Model();
  const int section = TitleSection();
  if (model && model->IsValidSkinIndex(section)) {
    skin::paint::TCacheInfo ci;
    ci.FillColor = fw::ColorToRGB(Color());
    skin::draw::PaintItem(model, section, ci, true, 0, r, {0, 0}, dc);
  } else {
    skin::paint::FillDC(dc, r, model ? model->GetGlobalColor() : fw::ColorToRGB(fw::clBtnFace));
  }
}

void TsDBGrid::Paint() {
  if (!Model()) {
    TDBGrid::Paint();
    return;
  }
  // The whole client composed off screen and copied once.
  fw::TCanvas& canvas = Canvas();
  gfx::HDC target = canvas.Handle();
  const fw::TRect client = ClientRect();
  if (!target || client.Width() <= 0 || client.Height() <= 0) return;
  FCellButtonCol = -1;  // drawn again with its cell
  gfx::Bitmap bmp(client.Width(), client.Height());
  gfx::DeviceContext dc(bmp);
  canvas.SetHandle(&dc);
  try {
    TDBGrid::Paint();
  } catch (...) {
    canvas.SetHandle(target);
    throw;
  }
  canvas.SetHandle(target);
  gfx::BitBlt(target, 0, 0, client.Width(), client.Height(), &dc, 0, 0, gfx::SRCCOPY);
}

void TsDBGrid::PaintTitles(fw::TCanvas& c, const fw::TRect& client) {
  const sd::TacSkinModel* model = Model();
  if (!model) {
    TDBGrid::PaintTitles(c, client);
    return;
  }
  gfx::HDC dc = c.Handle();
  const int titleH = TitleHeight(), levelH = DefaultRowHeight(), dataLeft = IndicatorWidth + 1;
  PaintHeaderCell(dc, {0, 0, dataLeft, titleH});
  const int section = TitleSection();
  // The section's font colour unless the title font has one of its own.
  fw::TFont font;
  font.Assign(TitleFont());
  if (TitleFont().Color() == fw::clWindowText && model->IsValidSkinIndex(section))
    font.SetColor(
        fw::TColor(skin::draw::StateProps(model->gd[std::size_t(section)], 0).FontColor.Color));
  if (!Enabled()) font.SetColor(fw::clGrayText);

  const auto& shown = ShownColumns();
  std::vector<std::vector<std::u16string>> parts;
  for (const TShownColumn& col : shown)
    parts.push_back(CaptionParts(col.Caption, FLevelDelimiterChar));
  // Columns i and j share their cell at level l when neither ends there and every part down
  // to l is the same.
  auto joined = [&](std::size_t i, std::size_t j, std::size_t l) {
    if (parts[i].size() <= l + 1 || parts[j].size() <= l + 1) return false;
    return std::equal(parts[i].begin(), parts[i].begin() + std::ptrdiff_t(l + 1), parts[j].begin());
  };
  const int saved = gfx::SaveDC(dc);
  gfx::IntersectClipRect(dc, dataLeft, 0, client.Right, client.Bottom);
  fw::TCanvas text;
  text.SetHandle(dc);
  text.Font = font;
  text.BrushStyle = fw::TBrushStyle::bsClear;
  for (std::size_t l = 0; l < std::size_t(FHeaderHeight); ++l) {
    for (std::size_t i = 0; i < shown.size();) {
      const std::size_t first = i;
      if (parts[first].size() <= l) {
        ++i;
        continue;
      }
      std::size_t last = first;
      while (last + 1 < shown.size() && joined(first, last + 1, l)) ++last;
      i = last + 1;
      // A column's last part reaches down to the data.
      const bool deepest = parts[first].size() == l + 1;
      const int left = ColumnClientLeft(int(first));
      const int right = ColumnClientLeft(int(last)) + shown[last].Width + 1;
      const int top = int(l) * levelH, bottom = deepest ? titleH : top + levelH;
      // A cell that comes out with no width has nothing to show.
      if (right - left <= 1 || right < dataLeft || left >= client.Right) continue;
      PaintHeaderCell(dc, {left, top, right, bottom});
      fw::TRect t{left + 2, top, right - 3, bottom - 1};
      if (t.Width() <= 0) continue;
      const std::u16string caption = skin::draw::CutText(text, parts[first][l], t.Width());
      text.TextRect(t, caption,
                    gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX |
                        (last > first ? gfx::DT_CENTER : gfx::DT_LEFT));
    }
  }
  text.SetHandle(nullptr);
  gfx::RestoreDC(dc, saved);
}

void TsDBGrid::DrawIndicator(fw::TCanvas& c, const fw::TRect& rect, bool current, bool editing) {
  const sd::TacSkinModel* model = Model();
  if (!model) {
    TDBGrid::DrawIndicator(c, rect, current, editing);
    return;
  }
  gfx::HDC dc = c.Handle();
  PaintHeaderCell(dc, {rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1});
  if (!current || rect.Width() <= 0) return;
  const int section = TitleSection();
  const auto color =
      model->IsValidSkinIndex(section)
          ? skin::draw::StateProps(model->gd[std::size_t(section)], 0).FontColor.Color
          : model->GetGlobalFontColor();
  if (editing) {
    fw::TFont courier;
    courier.SetName(u"Courier");
    courier.SetHeight(TitleFont().Height());
    courier.SetColor(fw::TColor(color));
    c.Font = courier;
    c.BrushStyle = fw::TBrushStyle::bsClear;
    fw::TRect t = rect;
    c.TextRect(t, u"I", gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);
    return;
  }
  skin::paint::DrawColorArrow(dc, color, rect, skin::paint::asRight);
}

void TsDBGrid::DrawColumnCell(fw::TCanvas& c, const fw::TRect& rect, int col, int row,
                              const db::TField* field, fw::TGridDrawState state) {
  const sd::TacSkinModel* model = Model();
  if (!model) {
    TDBGrid::DrawColumnCell(c, rect, col, row, field, state);
    return;
  }
  // A cell that comes out with no width or height has nothing to show.
  if (rect.Width() <= 0 || rect.Height() <= 0) return;
  gfx::HDC dc = c.Handle();
  const sc::TsCommonData& cd = SkinData();
  const bool highlighted = (state & fw::gdSelected) != 0;
  fw::TFont font;
  font.Assign(Font());
  fw::TColor background = Color();
  if (highlighted) {
    const int selection = model->ConstData.Sections[sd::ssSelection];
    if (model->IsValidSkinIndex(selection)) {
      skin::paint::TCacheInfo ci;
      ci.FillColor = fw::ColorToRGB(Color());
      skin::draw::PaintItem(model, selection, ci, true, 1, rect, {0, 0}, dc);
      font.SetColor(
          fw::TColor(skin::draw::StateProps(model->gd[std::size_t(selection)], 1).FontColor.Color));
    } else {
      skin::paint::FillDC(dc, rect, model->GetHighLightColor(true));
      font.SetColor(fw::TColor(model->GetHighLightFontColor(true)));
    }
  } else {
    if (FRowColorEven != FRowColorOdd) {
      // The row's number on the screen, the title row counting as 0.
      const int r = row - TopRow() + 1;
      background = fw::TColor(model->Palette[r % 2 ? sd::pcEditBG_EvenRow : sd::pcEditBG_OddRow]);
    }
    if (model->IsValidSkinIndex(cd.SkinIndex) && !cd.CustomFont())
      font.SetColor(fw::TColor(
          skin::draw::StateProps(model->gd[std::size_t(cd.SkinIndex)], 0).FontColor.Color));
    skin::paint::FillDC(dc, rect, fw::ColorToRGB(background));
  }
  const fw::TColor before = background;
  if (OnGetCellParams) OnGetCellParams(field, font, state, background);
  if (background != before) skin::paint::FillDC(dc, rect, fw::ColorToRGB(background));
  if (!Enabled()) font.SetColor(fw::clGrayText);

  db::TDataSet* d = DataSource() ? DataSource()->DataSet() : nullptr;
  if (!FDefaultDrawing || !field || !d) return;
  std::u16string text = CellText(*field, d->ValueAt(*field, row));
  if (OnGetCellText) OnGetCellText(field, text);
  const bool numeric = IsNumericField(*field);
  TacDBColumn* column = col < Columns().Count() ? Column(col) : nullptr;
  const bool memoButton = column && column->ShowMemoBtn() && highlighted &&
                          field->DataType() == db::TFieldType::ftWideMemo &&
                          rect.Width() >= rect.Height() + 5;
  fw::TRect area = rect;
  if (memoButton) area.Right -= rect.Height();
  c.Font = font;
  c.BrushStyle = fw::TBrushStyle::bsClear;
  gfx::SelectFont(dc, font.Handle());
  const int room = area.Width() - (numeric ? 4 : 2);
  const std::u16string fitted = FitText(dc, text, std::max(0, room), numeric);
  // Shortened text reads from the left.
  const bool right = numeric && fitted == text;
  fw::TRect t = right ? fw::TRect{area.Left + 2, area.Top + 2, area.Right - 3, area.Bottom}
                      : fw::TRect{area.Left + 2, area.Top + 2, area.Right, area.Bottom};
  c.TextRect(t, fitted,
             gfx::DT_SINGLELINE | gfx::DT_NOPREFIX | (right ? gfx::DT_RIGHT : gfx::DT_LEFT));
  if (highlighted && Focused())
    skin::paint::FocusRect(dc, rect, fw::clNone, fw::ColorToRGB(font.Color()));
  if (memoButton) {
    FCellButtonCol = col;
    FCellButtonRect = {area.Right, rect.Top, rect.Right, rect.Bottom};
    DrawButton(dc, FCellButtonRect, FCellButtonDown == col && FCellButtonPressed);
  }
}

void TsDBGrid::DrawButton(gfx::HDC dc, const fw::TRect& r, bool pressed) {
  const sd::TacSkinModel* model = Model();
  const int section = model ? model->ConstData.Sections[sd::ssButton] : -1;
  if (!model || !model->IsValidSkinIndex(section)) return;
  skin::paint::TCacheInfo ci;
  ci.FillColor = fw::ColorToRGB(Color());
  skin::draw::PaintItem(model, section, ci, true, pressed ? 2 : 0, r, {0, 0}, dc);
  fw::TCanvas c;
  c.SetHandle(dc);
  c.Font.Assign(Font());
  c.BrushStyle = fw::TBrushStyle::bsClear;
  skin::draw::WriteTextEx(c, u"...", Enabled(), r,
                          gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX,
                          section, pressed ? 2 : 0, model);
  c.SetHandle(nullptr);
}

bool TsDBGrid::IsOnButton(int x, int y) const {
  return FCellButtonCol >= 0 && x >= FCellButtonRect.Left && x < FCellButtonRect.Right &&
         y >= FCellButtonRect.Top && y < FCellButtonRect.Bottom;
}

void TsDBGrid::MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
  if (button == fw::TMouseButton::mbLeft && Model() && IsOnButton(x, y)) {
    FCellButtonDown = FCellButtonCol;
    FCellButtonPressed = true;
    Invalidate();
    return;
  }
  TDBGrid::MouseDown(button, shift, x, y);
}

void TsDBGrid::MouseMove(fw::TShiftState shift, int x, int y) {
  if (FCellButtonDown >= 0 && IsOnButton(x, y) != FCellButtonPressed) {
    FCellButtonPressed = !FCellButtonPressed;
    Invalidate();
  }
  TDBGrid::MouseMove(shift, x, y);
}

void TsDBGrid::MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
  if (button == fw::TMouseButton::mbLeft && FCellButtonDown >= 0) {
    FCellButtonDown = -1;
    FCellButtonPressed = false;
    Invalidate();
    return;
  }
  TDBGrid::MouseUp(button, shift, x, y);
}

void TsDBGrid::GridWndProc(fw::TMessage& m, const fw::TWndNext& next) {
  sc::TsCommonData& cd = SkinData();
  if (m.Msg == sc::SM_ALPHACMD) {
    const win::UINT cmd = sc::WParamHi(m.WParam);
    if (cmd == sc::AC_SETNEWSKIN) SaveColors();
    next(m);
    if (cmd == sc::AC_SETNEWSKIN || cmd == sc::AC_REFRESH) {
      if (cd.Skinned()) {
        SaveColors();
        ApplySkinGradient();
      }
      if (!HasState(fw::csLoading)) Invalidate();
    } else if (cmd == sc::AC_REMOVESKIN) {
      SetColor(fw::clWindow);
      Font().SetColor(fw::clWindowText);
      RestoreColors();
      Invalidate();
    }
    return;
  }
  if (m.Msg == win::WM_ERASEBKGND && cd.Skinned()) {
    m.Result = 1;
    return;
  }
  next(m);
}

}  // namespace skin::controls
