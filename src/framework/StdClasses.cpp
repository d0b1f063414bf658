// The standard classes and their properties as window descriptions name them.
#include <optional>

#include "framework/Button.h"
#include "framework/ComboBox.h"
#include "framework/DataModule.h"
#include "framework/Edit.h"
#include "framework/Form.h"
#include "framework/Frame.h"
#include "framework/Image.h"
#include "framework/ImageList.h"
#include "framework/Label.h"
#include "framework/Memo.h"
#include "framework/Menus.h"
#include "framework/Panel.h"
#include "framework/Reader.h"
#include "framework/SpeedButton.h"
#include "framework/StatusBar.h"
#include "framework/StdProperties.h"
#include "framework/TextConv.h"
#include "framework/Timer.h"
#include "framework/TreeView.h"
#include "platform/gfx/PictureCodec.h"

namespace fw {

const std::vector<std::pair<std::string, int>> kAlignmentNames = {
    {"taLeftJustify", int(TAlignment::taLeftJustify)},
    {"taRightJustify", int(TAlignment::taRightJustify)},
    {"taCenter", int(TAlignment::taCenter)}};

namespace {

using Table = std::vector<std::pair<std::string, int>>;
using V = const TValueDesc&;
using C = TReadContext&;

const Table kAnchors = {{"akLeft", akLeft}, {"akTop", akTop}, {"akRight", akRight},
                        {"akBottom", akBottom}};

// "Images = List": a reference to an image list, given to the target's SetImages.
template <class T>
void ReadImages(T* target, V v, C x) {
  x.Reference(v, [target](TComponent* c) {
    auto* list = dynamic_cast<TImageList*>(c);
    if (!list) throw Exception(u"an image list expected");
    target->SetImages(list);
  });
}

const Table kAlign = {{"alNone", int(TAlign::alNone)},     {"alTop", int(TAlign::alTop)},
                      {"alBottom", int(TAlign::alBottom)}, {"alLeft", int(TAlign::alLeft)},
                      {"alRight", int(TAlign::alRight)},   {"alClient", int(TAlign::alClient)}};
const Table kLayout = {{"tlTop", int(TTextLayout::tlTop)},
                       {"tlCenter", int(TTextLayout::tlCenter)},
                       {"tlBottom", int(TTextLayout::tlBottom)}};
const Table kBevel = {{"bvNone", int(TBevelCut::bvNone)},
                      {"bvLowered", int(TBevelCut::bvLowered)},
                      {"bvRaised", int(TBevelCut::bvRaised)},
                      {"bvSpace", int(TBevelCut::bvSpace)}};
const Table kCursor = {{"crDefault", crDefault},     {"crArrow", crArrow},
                       {"crCross", crCross},         {"crIBeam", crIBeam},
                       {"crHourGlass", crHourGlass}, {"crNo", crNo},
                       {"crHandPoint", crHandPoint}};
const Table kBorderStyle = {{"bsNone", int(TFormBorderStyle::bsNone)},
                            {"bsSingle", int(TFormBorderStyle::bsSingle)},
                            {"bsSizeable", int(TFormBorderStyle::bsSizeable)},
                            {"bsDialog", int(TFormBorderStyle::bsDialog)},
                            {"bsToolWindow", int(TFormBorderStyle::bsToolWindow)},
                            {"bsSizeToolWin", int(TFormBorderStyle::bsSizeToolWin)}};
const Table kBorderIcons = {{"biSystemMenu", biSystemMenu},
                            {"biMinimize", biMinimize},
                            {"biMaximize", biMaximize},
                            {"biHelp", biHelp}};
const Table kPosition = {{"poDesigned", int(TPosition::poDesigned)},
                         {"poScreenCenter", int(TPosition::poScreenCenter)},
                         {"poDesktopCenter", int(TPosition::poDesktopCenter)},
                         {"poMainFormCenter", int(TPosition::poMainFormCenter)}};
const Table kWindowState = {{"wsNormal", int(TWindowState::wsNormal)},
                            {"wsMinimized", int(TWindowState::wsMinimized)},
                            {"wsMaximized", int(TWindowState::wsMaximized)}};
const Table kFormStyle = {{"fsNormal", int(TFormStyle::fsNormal)},
                          {"fsMDIChild", int(TFormStyle::fsMDIChild)},
                          {"fsMDIForm", int(TFormStyle::fsMDIForm)},
                          {"fsStayOnTop", int(TFormStyle::fsStayOnTop)}};
const Table kTileMode = {{"tbHorizontal", int(TTileMode::tbHorizontal)},
                         {"tbVertical", int(TTileMode::tbVertical)}};
const Table kBiDiMode = {{"bdLeftToRight", int(TBiDiMode::bdLeftToRight)},
                         {"bdRightToLeft", int(TBiDiMode::bdRightToLeft)},
                         {"bdRightToLeftNoAlign", int(TBiDiMode::bdRightToLeftNoAlign)},
                         {"bdRightToLeftReadingOnly", int(TBiDiMode::bdRightToLeftReadingOnly)}};
const Table kModalResult = {{"mrNone", mrNone},   {"mrOk", mrOk},       {"mrCancel", mrCancel},
                            {"mrAbort", mrAbort}, {"mrRetry", mrRetry}, {"mrIgnore", mrIgnore},
                            {"mrYes", mrYes},     {"mrNo", mrNo}};
const Table kColors = {{"clBlack", clBlack},
                       {"clMaroon", clMaroon},
                       {"clGreen", clGreen},
                       {"clNavy", clNavy},
                       {"clGray", clGray},
                       {"clSilver", clSilver},
                       {"clRed", clRed},
                       {"clLime", clLime},
                       {"clYellow", clYellow},
                       {"clBlue", clBlue},
                       {"clFuchsia", clFuchsia},
                       {"clWhite", clWhite},
                       {"clWindow", clWindow},
                       {"clWindowText", clWindowText},
                       {"clBtnFace", clBtnFace},
                       {"clBtnText", clBtnText},
                       {"clBtnShadow", clBtnShadow},
                       {"clGrayText", clGrayText},
                       {"clHighlight", clHighlight},
                       {"clInfoBk", clInfoBk},
                       {"clNone", clNone},
                       {"clDefault", clDefault}};

void RegisterControl() {
  RegisterProperty<TControl>("TControl", "Left",
                             [](TControl* c, V v, C x) { c->SetLeft(x.Int(v)); });
  RegisterProperty<TControl>("TControl", "Top", [](TControl* c, V v, C x) { c->SetTop(x.Int(v)); });
  RegisterProperty<TControl>("TControl", "Width",
                             [](TControl* c, V v, C x) { c->SetWidth(x.Int(v)); });
  RegisterProperty<TControl>("TControl", "Height",
                             [](TControl* c, V v, C x) { c->SetHeight(x.Int(v)); });
  RegisterProperty<TControl>("TControl", "ClientWidth", [](TControl* c, V v, C x) {
    c->SetClientSize(x.Int(v), c->ClientHeight());
  });
  RegisterProperty<TControl>("TControl", "ClientHeight", [](TControl* c, V v, C x) {
    c->SetClientSize(c->ClientWidth(), x.Int(v));
  });
  RegisterProperty<TControl>("TControl", "Align",
                             [](TControl* c, V v, C x) { c->SetAlign(TAlign(x.Enum(v, kAlign))); });
  RegisterProperty<TControl>("TControl", "DragMode", [](TControl* c, V v, C x) {
    c->SetDragMode(TDragMode(x.Enum(v, {{"dmManual", int(TDragMode::dmManual)},
                                        {"dmAutomatic", int(TDragMode::dmAutomatic)}})));
  });
  RegisterProperty<TControl>("TControl", "Anchors",
                             [](TControl* c, V v, C x) { c->SetAnchors(x.Set(v, kAnchors)); });
  RegisterProperty<TControl>("TControl", "Visible",
                             [](TControl* c, V v, C x) { c->SetVisible(x.Bool(v)); });
  RegisterProperty<TControl>("TControl", "Enabled",
                             [](TControl* c, V v, C x) { c->SetEnabled(x.Bool(v)); });
  RegisterProperty<TControl>("TControl", "BiDiMode", [](TControl* c, V v, C x) {
    c->SetBiDiMode(TBiDiMode(x.Enum(v, kBiDiMode)));
  });
  RegisterProperty<TControl>("TControl", "Color",
                             [](TControl* c, V v, C x) { c->SetColor(ReadColor(v, x)); });
  RegisterProperty<TControl>("TControl", "ParentFont",
                             [](TControl* c, V v, C x) { c->SetParentFont(x.Bool(v)); });
  RegisterProperty<TControl>("TControl", "Font.Name",
                             [](TControl* c, V v, C x) { c->Font().SetName(x.String(v)); });
  RegisterProperty<TControl>("TControl", "Font.Height", [](TControl* c, V v, C x) {
    c->Font().SetHeight(int(x.Integer(v, -1000, 1000)));
  });
  RegisterProperty<TControl>("TControl", "Font.Color",
                             [](TControl* c, V v, C x) { c->Font().SetColor(ReadColor(v, x)); });
  RegisterProperty<TControl>("TControl", "Font.Style", [](TControl* c, V v, C x) {
    c->Font().SetStyle(x.Set(v, kFontStyleNames));
  });
  RegisterProperty<TControl>("TControl", "Hint",
                             [](TControl* c, V v, C x) { c->SetHint(x.String(v)); });
  RegisterProperty<TControl>("TControl", "ParentColor",
                             [](TControl* c, V v, C x) { c->SetParentColor(x.Bool(v)); });
  RegisterProperty<TControl>("TControl", "ShowHint",
                             [](TControl* c, V v, C x) { c->SetShowHint(x.Bool(v)); });
  RegisterProperty<TControl>("TControl", "ParentShowHint",
                             [](TControl* c, V v, C x) { c->SetParentShowHint(x.Bool(v)); });
  RegisterProperty<TControl>("TControl", "Cursor", [](TControl* c, V v, C x) {
    c->SetCursor(v.kind == TValueDesc::Kind::Integer ? x.Int(v) : x.Enum(v, kCursor));
  });
  RegisterProperty<TControl>("TControl", "Caption",
                             [](TControl* c, V v, C x) { c->SetCaption(x.String(v)); });
  RegisterProperty<TControl>("TControl", "Text",
                             [](TControl* c, V v, C x) { c->SetText(x.String(v)); });
  RegisterProperty<TControl>("TControl", "Tag", [](TControl* c, V v, C x) {
    c->Tag = std::intptr_t(x.Integer(v, INT32_MIN, INT32_MAX));
  });
  RegisterProperty<TControl>("TControl", "OnClick",
                             [](TControl* c, V v, C x) { c->OnClick = x.Method(v); });
  RegisterProperty<TControl>("TControl", "OnDblClick",
                             [](TControl* c, V v, C x) { c->OnDblClick = x.Method(v); });
  RegisterProperty<TControl>("TControl", "OnMouseEnter",
                             [](TControl* c, V v, C x) { c->OnMouseEnter = x.Method(v); });
  RegisterProperty<TControl>("TControl", "OnMouseLeave",
                             [](TControl* c, V v, C x) { c->OnMouseLeave = x.Method(v); });

  RegisterProperty<TWinControl>("TWinControl", "TabOrder",
                                [](TWinControl* c, V v, C x) { c->SetTabOrder(x.Int(v)); });
  RegisterProperty<TWinControl>("TWinControl", "TabStop",
                                [](TWinControl* c, V v, C x) { c->SetTabStop(x.Bool(v)); });
  RegisterProperty<TWinControl>("TWinControl", "OnEnter",
                                [](TWinControl* c, V v, C x) { c->OnEnter = x.Method(v); });
  RegisterProperty<TWinControl>("TWinControl", "OnExit",
                                [](TWinControl* c, V v, C x) { c->OnExit = x.Method(v); });
  RegisterClass("TControl", "", nullptr, IsInstanceOf<TControl>);
  RegisterClass("TWinControl", "TControl", nullptr, IsInstanceOf<TWinControl>);
}

void RegisterForm() {
  using F = TCustomForm;
  RegisterClass<TForm>("TForm", "TWinControl");
  RegisterProperty<F>("TForm", "BorderStyle", [](F* f, V v, C x) {
    f->SetBorderStyle(TFormBorderStyle(x.Enum(v, kBorderStyle)));
  });
  RegisterProperty<F>("TForm", "Position",
                      [](F* f, V v, C x) { f->SetPosition(TPosition(x.Enum(v, kPosition))); });
  auto constraint = [](int TSizeConstraints::*field) {
    return [field](F* f, V v, C x) {
      TSizeConstraints c = f->Constraints();
      c.*field = int(x.Integer(v, 0, 32767));
      f->SetConstraints(c);
    };
  };
  RegisterProperty<F>("TForm", "Constraints.MinWidth", constraint(&TSizeConstraints::MinWidth));
  RegisterProperty<F>("TForm", "Constraints.MinHeight", constraint(&TSizeConstraints::MinHeight));
  RegisterProperty<F>("TForm", "Constraints.MaxWidth", constraint(&TSizeConstraints::MaxWidth));
  RegisterProperty<F>("TForm", "Constraints.MaxHeight", constraint(&TSizeConstraints::MaxHeight));
  RegisterProperty<F>("TForm", "KeyPreview", [](F* f, V v, C x) { f->SetKeyPreview(x.Bool(v)); });
  RegisterProperty<F>("TForm", "WindowState", [](F* f, V v, C x) {
    f->SetWindowState(TWindowState(x.Enum(v, kWindowState)));
  });
  RegisterProperty<F>("TForm", "FormStyle",
                      [](F* f, V v, C x) { f->SetFormStyle(TFormStyle(x.Enum(v, kFormStyle))); });
  RegisterProperty<F>("TForm", "TileMode",
                      [](F* f, V v, C x) { f->SetTileMode(TTileMode(x.Enum(v, kTileMode))); });
  RegisterProperty<F>("TForm", "AlphaBlend", [](F* f, V v, C x) { f->SetAlphaBlend(x.Bool(v)); });
  RegisterProperty<F>("TForm", "AlphaBlendValue", [](F* f, V v, C x) {
    f->SetAlphaBlendValue(std::uint8_t(x.Integer(v, 0, 255)));
  });
  RegisterProperty<F>("TForm", "BorderIcons",
                      [](F* f, V v, C x) { f->SetBorderIcons(x.Set(v, kBorderIcons)); });
  RegisterProperty<F>("TForm", "ActiveControl", [](F* f, V v, C x) {
    x.Reference(v, [f](TComponent* c) {
      auto* w = dynamic_cast<TWinControl*>(c);
      if (!w) throw Exception(u"a windowed control expected");
      f->SetActiveControl(w);
    });
  });
  RegisterProperty<F>("TForm", "OnCreate", [](F* f, V v, C x) { f->OnCreate = x.Method(v); });
  RegisterProperty<F>("TForm", "OnDestroy", [](F* f, V v, C x) { f->OnDestroy = x.Method(v); });
  RegisterProperty<F>("TForm", "OnActivate", [](F* f, V v, C x) { f->OnActivate = x.Method(v); });
  RegisterProperty<F>("TForm", "OnShow", [](F* f, V v, C x) { f->OnShow = x.Method(v); });
  RegisterProperty<F>("TForm", "OnHide", [](F* f, V v, C x) { f->OnHide = x.Method(v); });

  using D = TDataModule;
  RegisterClass<TDataModule>("TDataModule", "");
  RegisterProperty<D>("TDataModule", "OnCreate", [](D* d, V v, C x) { d->OnCreate = x.Method(v); });
  RegisterProperty<D>("TDataModule", "OnDestroy",
                      [](D* d, V v, C x) { d->OnDestroy = x.Method(v); });
}

// The glyph and its layout, as bit buttons and speed buttons publish them.
template <class B>
void RegisterGlyphProperties(const char* cls) {
  RegisterProperty<B>(cls, "Glyph.File",
                      [](B* b, V v, C x) { b->SetGlyph(gfx::DecodePicture(x.File(v).Data)); });
  static const Table kButtonLayout = {{"blGlyphLeft", int(TButtonLayout::blGlyphLeft)},
                                      {"blGlyphRight", int(TButtonLayout::blGlyphRight)},
                                      {"blGlyphTop", int(TButtonLayout::blGlyphTop)},
                                      {"blGlyphBottom", int(TButtonLayout::blGlyphBottom)}};
  RegisterProperty<B>(
      cls, "Layout", [](B* b, V v, C x) { b->SetLayout(TButtonLayout(x.Enum(v, kButtonLayout))); });
  RegisterProperty<B>(cls, "Margin",
                      [](B* b, V v, C x) { b->SetMargin(int(x.Integer(v, -1, 1000))); });
  RegisterProperty<B>(cls, "Spacing",
                      [](B* b, V v, C x) { b->SetSpacing(int(x.Integer(v, -1, 1000))); });
  RegisterProperty<B>(cls, "NumGlyphs",
                      [](B* b, V v, C x) { b->SetNumGlyphs(int(x.Integer(v, 1, 4))); });
}

void RegisterStdControls() {
  RegisterClass<TPanel>("TPanel", "TWinControl");
  RegisterProperty<TPanel>("TPanel", "BevelOuter", [](TPanel* p, V v, C x) {
    p->SetBevelOuter(TBevelCut(x.Enum(v, kBevel)));
  });
  RegisterProperty<TPanel>("TPanel", "BevelInner", [](TPanel* p, V v, C x) {
    p->SetBevelInner(TBevelCut(x.Enum(v, kBevel)));
  });
  RegisterProperty<TPanel>("TPanel", "BevelWidth", [](TPanel* p, V v, C x) {
    p->SetBevelWidth(int(x.Integer(v, 1, 100)));
  });
  RegisterProperty<TPanel>("TPanel", "BorderWidth", [](TPanel* p, V v, C x) {
    p->SetBorderWidth(int(x.Integer(v, 0, 100)));
  });
  RegisterProperty<TPanel>("TPanel", "Alignment", [](TPanel* p, V v, C x) {
    p->SetAlignment(TAlignment(x.Enum(v, kAlignmentNames)));
  });
  RegisterProperty<TPanel>("TPanel", "ShowCaption",
                           [](TPanel* p, V v, C x) { p->SetShowCaption(x.Bool(v)); });
  RegisterProperty<TPanel>("TPanel", "VerticalAlignment", [](TPanel* p, V v, C x) {
    p->SetVerticalAlignment(TVerticalAlignment(
        x.Enum(v, {{"taAlignTop", int(TVerticalAlignment::taAlignTop)},
                   {"taAlignBottom", int(TVerticalAlignment::taAlignBottom)},
                   {"taVerticalCenter", int(TVerticalAlignment::taVerticalCenter)}})));
  });
  RegisterClass<TGroupBox>("TGroupBox", "TWinControl");
  RegisterProperty<TGroupBox>("TGroupBox", "BevelWidth", [](TGroupBox* g, V v, C x) {
    g->SetBevelWidth(int(x.Integer(v, 1, 100)));
  });
  RegisterClass<TFrame>("TFrame", "TWinControl");

  RegisterClass<TLabel>("TLabel", "TControl");
  RegisterProperty<TLabel>("TLabel", "AutoSize",
                           [](TLabel* l, V v, C x) { l->SetAutoSize(x.Bool(v)); });
  RegisterProperty<TLabel>("TLabel", "WordWrap",
                           [](TLabel* l, V v, C x) { l->SetWordWrap(x.Bool(v)); });
  RegisterProperty<TLabel>("TLabel", "Transparent",
                           [](TLabel* l, V v, C x) { l->SetTransparent(x.Bool(v)); });
  RegisterProperty<TLabel>("TLabel", "Alignment", [](TLabel* l, V v, C x) {
    l->SetAlignment(TAlignment(x.Enum(v, kAlignmentNames)));
  });
  RegisterProperty<TLabel>("TLabel", "Layout", [](TLabel* l, V v, C x) {
    l->SetLayout(TTextLayout(x.Enum(v, kLayout)));
  });
  RegisterProperty<TLabel>("TLabel", "ShowAccelChar",
                           [](TLabel* l, V v, C x) { l->SetShowAccelChar(x.Bool(v)); });
  static const Table kEllipsis = {{"epNone", int(TEllipsisPosition::epNone)},
                                  {"epPathEllipsis", int(TEllipsisPosition::epPathEllipsis)},
                                  {"epEndEllipsis", int(TEllipsisPosition::epEndEllipsis)},
                                  {"epWordEllipsis", int(TEllipsisPosition::epWordEllipsis)}};
  RegisterProperty<TLabel>("TLabel", "EllipsisPosition", [](TLabel* l, V v, C x) {
    l->SetEllipsisPosition(TEllipsisPosition(x.Enum(v, kEllipsis)));
  });

  RegisterClass<TImage>("TImage", "TControl");
  RegisterProperty<TImage>("TImage", "Picture.File", [](TImage* i, V v, C x) {
    const TDescribedFile f = x.File(v);
    i->LoadFromData(f.Path, f.Data);
  });
  RegisterProperty<TImage>("TImage", "Stretch",
                           [](TImage* i, V v, C x) { i->SetStretch(x.Bool(v)); });
  RegisterProperty<TImage>("TImage", "Proportional",
                           [](TImage* i, V v, C x) { i->SetProportional(x.Bool(v)); });
  RegisterProperty<TImage>("TImage", "Center",
                           [](TImage* i, V v, C x) { i->SetCenter(x.Bool(v)); });
  RegisterProperty<TImage>("TImage", "Transparent",
                           [](TImage* i, V v, C x) { i->SetTransparent(x.Bool(v)); });
  RegisterProperty<TImage>("TImage", "AutoSize",
                           [](TImage* i, V v, C x) { i->SetAutoSize(x.Bool(v)); });
  RegisterProperty<TImage>("TImage", "ImageIndex",
                           [](TImage* i, V v, C x) { i->SetImageIndex(x.Int(v)); });
  RegisterProperty<TImage>("TImage", "Images", ReadImages<TImage>);

  RegisterClass<TButton>("TButton", "TWinControl");
  RegisterProperty<TButton>("TButton", "Default",
                            [](TButton* b, V v, C x) { b->SetDefault(x.Bool(v)); });
  RegisterProperty<TButton>("TButton", "Cancel",
                            [](TButton* b, V v, C x) { b->SetCancel(x.Bool(v)); });
  RegisterProperty<TButton>("TButton", "ModalResult", [](TButton* b, V v, C x) {
    b->SetModalResult(x.Enum(v, kModalResult));
  });
  RegisterProperty<TButton>("TButton", "WordWrap",
                            [](TButton* b, V v, C x) { b->SetWordWrap(x.Bool(v)); });
  RegisterProperty<TButton>("TButton", "Images", ReadImages<TButton>);
  RegisterProperty<TButton>("TButton", "ImageIndex",
                            [](TButton* b, V v, C x) { b->SetImageIndex(x.Int(v)); });
  static const Table kImageAlignment = {{"iaLeft", int(TImageAlignment::iaLeft)},
                                        {"iaRight", int(TImageAlignment::iaRight)},
                                        {"iaTop", int(TImageAlignment::iaTop)},
                                        {"iaBottom", int(TImageAlignment::iaBottom)},
                                        {"iaCenter", int(TImageAlignment::iaCenter)}};
  RegisterProperty<TButton>("TButton", "ImageAlignment", [](TButton* b, V v, C x) {
    b->SetImageAlignment(TImageAlignment(x.Enum(v, kImageAlignment)));
  });
  auto margin = [](int TImageMargins::*side) {
    return [side](TButton* b, V v, C x) {
      TImageMargins m = b->ImageMargins();
      m.*side = int(x.Integer(v, 0, 1000));
      b->SetImageMargins(m);
    };
  };
  RegisterProperty<TButton>("TButton", "ImageMargins.Left", margin(&TImageMargins::Left));
  RegisterProperty<TButton>("TButton", "ImageMargins.Top", margin(&TImageMargins::Top));
  RegisterProperty<TButton>("TButton", "ImageMargins.Right", margin(&TImageMargins::Right));
  RegisterProperty<TButton>("TButton", "ImageMargins.Bottom", margin(&TImageMargins::Bottom));
  static const Table kButtonStyle = {{"bsPushButton", int(TButtonStyle::bsPushButton)},
                                     {"bsCommandLink", int(TButtonStyle::bsCommandLink)},
                                     {"bsSplitButton", int(TButtonStyle::bsSplitButton)}};
  RegisterProperty<TButton>("TButton", "Style", [](TButton* b, V v, C x) {
    b->SetStyle(TButtonStyle(x.Enum(v, kButtonStyle)));
  });
  RegisterProperty<TButton>("TButton", "CommandLinkHint",
                            [](TButton* b, V v, C x) { b->SetCommandLinkHint(x.String(v)); });
  RegisterClass<TBitBtn>("TBitBtn", "TButton");
  RegisterGlyphProperties<TBitBtn>("TBitBtn");

  using S = TSpeedButton;
  RegisterClass<S>("TSpeedButton", "TControl");
  RegisterGlyphProperties<S>("TSpeedButton");
  RegisterProperty<S>("TSpeedButton", "GroupIndex",
                      [](S* b, V v, C x) { b->SetGroupIndex(x.Int(v)); });
  RegisterProperty<S>("TSpeedButton", "AllowAllUp",
                      [](S* b, V v, C x) { b->SetAllowAllUp(x.Bool(v)); });
  RegisterProperty<S>("TSpeedButton", "Down", [](S* b, V v, C x) { b->SetDown(x.Bool(v)); });
  RegisterProperty<S>("TSpeedButton", "Flat", [](S* b, V v, C x) { b->SetFlat(x.Bool(v)); });
  RegisterProperty<S>("TSpeedButton", "Transparent",
                      [](S* b, V v, C x) { b->SetTransparent(x.Bool(v)); });

  RegisterClass<TStatusBar>("TStatusBar", "TWinControl");
  RegisterProperty<TStatusBar>("TStatusBar", "SimpleText",
                               [](TStatusBar* s, V v, C x) { s->SetSimpleText(x.String(v)); });
  RegisterProperty<TStatusBar>("TStatusBar", "SimplePanel",
                               [](TStatusBar* s, V v, C x) { s->SetSimplePanel(x.Bool(v)); });
  RegisterProperty<TStatusBar>("TStatusBar", "SizeGrip",
                               [](TStatusBar* s, V v, C x) { s->SetSizeGrip(x.Bool(v)); });
  RegisterProperty<TStatusBar>("TStatusBar", "AutoHint",
                               [](TStatusBar* s, V v, C x) { s->SetAutoHint(x.Bool(v)); });
  RegisterProperty<TStatusBar>("TStatusBar", "UseSystemFont",
                               [](TStatusBar* s, V v, C x) { s->SetUseSystemFont(x.Bool(v)); });
  RegisterProperty<TStatusBar>("TStatusBar", "Panels", [](TStatusBar* s, V v, C x) {
    if (v.kind != TValueDesc::Kind::Collection) throw Exception(u"collection expected");
    s->ClearPanels();
    for (const auto& item : v.items) {
      TStatusPanel panel;
      for (const TPropertyDesc& p : item) {
        if (SameText(p.name, "Text"))
          panel.Text = x.String(p.value);
        else if (SameText(p.name, "Width"))
          panel.Width = int(x.Integer(p.value, 0, 32767));
        else if (SameText(p.name, "Alignment"))
          panel.Alignment = TAlignment(x.Enum(p.value, kAlignmentNames));
        else if (SameText(p.name, "Style"))
          panel.Style = TStatusPanelStyle(
              x.Enum(p.value, {{"psText", int(TStatusPanelStyle::psText)},
                               {"psOwnerDraw", int(TStatusPanelStyle::psOwnerDraw)}}));
        else
          throw Exception(u"unknown panel property " + Utf8ToUtf16(p.name));
      }
      s->AddPanel(panel);
    }
  });

  RegisterClass<TTimer>("TTimer", "");
  RegisterProperty<TTimer>("TTimer", "Enabled",
                           [](TTimer* t, V v, C x) { t->SetEnabled(x.Bool(v)); });
  RegisterProperty<TTimer>("TTimer", "Interval", [](TTimer* t, V v, C x) {
    t->SetInterval(unsigned(x.Integer(v, 0, INT32_MAX)));
  });
  RegisterProperty<TTimer>("TTimer", "OnTimer",
                           [](TTimer* t, V v, C x) { t->SetOnTimer(x.Method(v)); });

  RegisterClass<TImageList>("TImageList", "");
  RegisterProperty<TImageList>("TImageList", "Width", [](TImageList* l, V v, C x) {
    l->SetSize(int(x.Integer(v, 1, 1024)), l->Height());
  });
  RegisterProperty<TImageList>("TImageList", "Height", [](TImageList* l, V v, C x) {
    l->SetSize(l->Width(), int(x.Integer(v, 1, 1024)));
  });
  RegisterProperty<TImageList>("TImageList", "Items", [](TImageList* l, V v, C x) {
    if (v.kind != TValueDesc::Kind::Collection) throw Exception(u"collection expected");
    for (const auto& item : v.items) {
      std::u16string name;
      std::optional<TDescribedFile> file;
      for (const TPropertyDesc& p : item) {
        if (SameText(p.name, "Name"))
          name = x.String(p.value);
        else if (SameText(p.name, "Png"))
          file = x.File(p.value);
        else
          throw Exception(u"unknown image list item property " + Utf8ToUtf16(p.name));
      }
      if (!file) throw Exception(u"image list item without Png");
      l->AddPng(name, file->Data);
    }
  });
}

void RegisterComboBox() {
  using B = TComboBox;
  static const Table kComboStyle = {{"csDropDown", int(TComboBoxStyle::csDropDown)},
                                    {"csSimple", int(TComboBoxStyle::csSimple)},
                                    {"csDropDownList", int(TComboBoxStyle::csDropDownList)},
                                    {"csOwnerDrawFixed", int(TComboBoxStyle::csOwnerDrawFixed)}};
  RegisterClass<TComboBox>("TComboBox", "TWinControl");
  RegisterProperty<B>("TComboBox", "Style",
                      [](B* b, V v, C x) { b->SetStyle(TComboBoxStyle(x.Enum(v, kComboStyle))); });
  RegisterProperty<B>("TComboBox", "Items.Strings",
                      [](B* b, V v, C x) { b->Items().Assign(x.Strings(v)); });
  RegisterProperty<B>("TComboBox", "ItemIndex",
                      [](B* b, V v, C x) { b->SetItemIndex(int(x.Integer(v, -1, INT32_MAX))); });
  RegisterProperty<B>("TComboBox", "DropDownCount",
                      [](B* b, V v, C x) { b->SetDropDownCount(int(x.Integer(v, 1, 1000))); });
  RegisterProperty<B>("TComboBox", "ItemHeight",
                      [](B* b, V v, C x) { b->SetItemHeight(int(x.Integer(v, 1, 1000))); });
  // Text is TControl's: it chooses the item with that text.
  RegisterProperty<B>("TComboBox", "OnChange", [](B* b, V v, C x) { b->OnChange = x.Method(v); });
  RegisterProperty<B>("TComboBox", "OnSelect", [](B* b, V v, C x) { b->OnSelect = x.Method(v); });
  RegisterProperty<B>("TComboBox", "OnDropDown",
                      [](B* b, V v, C x) { b->OnDropDown = x.Method(v); });
  RegisterProperty<B>("TComboBox", "OnCloseUp", [](B* b, V v, C x) { b->OnCloseUp = x.Method(v); });
}

const Table kSortType = {{"stNone", int(TSortType::stNone)},
                         {"stData", int(TSortType::stData)},
                         {"stText", int(TSortType::stText)},
                         {"stBoth", int(TSortType::stBoth)}};

void RegisterTreeView() {
  using T = TTreeView;
  RegisterClass<T>("TTreeView", "TWinControl");
  auto flag = [](void (T::*set)(bool)) { return [set](T* t, V v, C x) { (t->*set)(x.Bool(v)); }; };
  RegisterProperty<T>("TTreeView", "ShowButtons", flag(&T::SetShowButtons));
  RegisterProperty<T>("TTreeView", "ShowLines", flag(&T::SetShowLines));
  RegisterProperty<T>("TTreeView", "ShowRoot", flag(&T::SetShowRoot));
  RegisterProperty<T>("TTreeView", "HotTrack", flag(&T::SetHotTrack));
  RegisterProperty<T>("TTreeView", "ReadOnly", flag(&T::SetReadOnly));
  RegisterProperty<T>("TTreeView", "RowSelect", flag(&T::SetRowSelect));
  RegisterProperty<T>("TTreeView", "HideSelection", flag(&T::SetHideSelection));
  RegisterProperty<T>("TTreeView", "AutoExpand", flag(&T::SetAutoExpand));
  RegisterProperty<T>("TTreeView", "RightClickSelect", flag(&T::SetRightClickSelect));
  RegisterProperty<T>("TTreeView", "ItemHeight",
                      [](T* t, V v, C x) { t->SetItemHeight(int(x.Integer(v, 0, 1000))); });
  RegisterProperty<T>("TTreeView", "Indent",
                      [](T* t, V v, C x) { t->SetIndent(int(x.Integer(v, 0, 1000))); });
  RegisterProperty<T>("TTreeView", "Images", ReadImages<T>);
  RegisterProperty<T>("TTreeView", "SortType",
                      [](T* t, V v, C x) { t->SetSortType(TSortType(x.Enum(v, kSortType))); });
  // Handlers published by a form take only the sender; the node is read from the tree.
  auto nodeEvent = [](TTVChangedEvent T::*event) {
    return [event](T* t, V v, C x) {
      TNotifyEvent m = x.Method(v);
      t->*event = [m](TComponent* sender, TTreeNode*) { m(sender); };
    };
  };
  RegisterProperty<T>("TTreeView", "OnChange", nodeEvent(&T::OnChange));
  RegisterProperty<T>("TTreeView", "OnExpanded", nodeEvent(&T::OnExpanded));
  RegisterProperty<T>("TTreeView", "OnCollapsed", nodeEvent(&T::OnCollapsed));
}

// The edit box and the memo, with what they share under TCustomEdit.
void RegisterEditControls() {
  using E = TCustomEdit;
  const Table kEditBorder = {{"bsNone", int(TBorderStyle::bsNone)},
                             {"bsSingle", int(TBorderStyle::bsSingle)}};
  const Table kBevelKind = {{"bkNone", int(TBevelKind::bkNone)},
                            {"bkTile", int(TBevelKind::bkTile)},
                            {"bkSoft", int(TBevelKind::bkSoft)},
                            {"bkFlat", int(TBevelKind::bkFlat)}};
  const Table kScrollStyle = {{"ssNone", int(TScrollStyle::ssNone)},
                              {"ssHorizontal", int(TScrollStyle::ssHorizontal)},
                              {"ssVertical", int(TScrollStyle::ssVertical)},
                              {"ssBoth", int(TScrollStyle::ssBoth)}};
  RegisterClass("TCustomEdit", "TWinControl", nullptr);
  RegisterProperty<E>("TCustomEdit", "ReadOnly", [](E* e, V v, C x) { e->SetReadOnly(x.Bool(v)); });
  RegisterProperty<E>("TCustomEdit", "MaxLength",
                      [](E* e, V v, C x) { e->SetMaxLength(int(x.Integer(v, 0, INT32_MAX))); });
  RegisterProperty<E>("TCustomEdit", "HideSelection",
                      [](E* e, V v, C x) { e->SetHideSelection(x.Bool(v)); });
  RegisterProperty<E>("TCustomEdit", "AutoSelect",
                      [](E* e, V v, C x) { e->SetAutoSelect(x.Bool(v)); });
  RegisterProperty<E>("TCustomEdit", "BorderStyle", [kEditBorder](E* e, V v, C x) {
    e->SetBorderStyle(TBorderStyle(x.Enum(v, kEditBorder)));
  });
  RegisterProperty<E>("TCustomEdit", "Ctl3D", [](E* e, V v, C x) { e->SetCtl3D(x.Bool(v)); });
  RegisterProperty<E>("TCustomEdit", "BevelKind", [kBevelKind](E* e, V v, C x) {
    e->SetBevelKind(TBevelKind(x.Enum(v, kBevelKind)));
  });
  RegisterProperty<E>("TCustomEdit", "BevelInner",
                      [](E* e, V v, C x) { e->SetBevelInner(TBevelCut(x.Enum(v, kBevel))); });
  RegisterProperty<E>("TCustomEdit", "BevelOuter",
                      [](E* e, V v, C x) { e->SetBevelOuter(TBevelCut(x.Enum(v, kBevel))); });
  RegisterProperty<E>("TCustomEdit", "OnChange", [](E* e, V v, C x) { e->OnChange = x.Method(v); });

  RegisterClass<TEdit>("TEdit", "TCustomEdit");
  RegisterProperty<TEdit>("TEdit", "PasswordChar", [](TEdit* e, V v, C x) {
    std::u16string s = x.String(v);
    if (s.size() > 1) throw Exception(u"one character expected");
    e->SetPasswordChar(s.empty() ? 0 : s[0]);
  });
  RegisterProperty<TEdit>("TEdit", "TextHint",
                          [](TEdit* e, V v, C x) { e->SetTextHint(x.String(v)); });

  RegisterClass<TMemo>("TMemo", "TCustomEdit");
  RegisterProperty<TMemo>("TMemo", "Lines.Strings",
                          [](TMemo* m, V v, C x) { m->Lines().Assign(x.Strings(v)); });
  RegisterProperty<TMemo>("TMemo", "WordWrap",
                          [](TMemo* m, V v, C x) { m->SetWordWrap(x.Bool(v)); });
  RegisterProperty<TMemo>("TMemo", "ScrollBars", [kScrollStyle](TMemo* m, V v, C x) {
    m->SetScrollBars(TScrollStyle(x.Enum(v, kScrollStyle)));
  });
  RegisterProperty<TMemo>("TMemo", "WantReturns",
                          [](TMemo* m, V v, C x) { m->SetWantReturns(x.Bool(v)); });
  RegisterProperty<TMemo>("TMemo", "WantTabs",
                          [](TMemo* m, V v, C x) { m->SetWantTabs(x.Bool(v)); });
}

const Table kMenuBreak = {{"mbNone", int(TMenuBreak::mbNone)},
                          {"mbBreak", int(TMenuBreak::mbBreak)},
                          {"mbBarBreak", int(TMenuBreak::mbBarBreak)}};
const Table kPopupAlignment = {{"paLeft", int(TPopupAlignment::paLeft)},
                               {"paRight", int(TPopupAlignment::paRight)},
                               {"paCenter", int(TPopupAlignment::paCenter)}};

void RegisterMenus() {
  using I = TMenuItem;
  RegisterClass<TMenuItem>("TMenuItem", "");
  RegisterProperty<I>("TMenuItem", "Caption", [](I* i, V v, C x) { i->SetCaption(x.String(v)); });
  RegisterProperty<I>("TMenuItem", "Checked", [](I* i, V v, C x) { i->SetChecked(x.Bool(v)); });
  RegisterProperty<I>("TMenuItem", "RadioItem", [](I* i, V v, C x) { i->SetRadioItem(x.Bool(v)); });
  RegisterProperty<I>("TMenuItem", "GroupIndex",
                      [](I* i, V v, C x) { i->SetGroupIndex(int(x.Integer(v, 0, 255))); });
  RegisterProperty<I>("TMenuItem", "Default", [](I* i, V v, C x) { i->SetDefault(x.Bool(v)); });
  RegisterProperty<I>("TMenuItem", "Enabled", [](I* i, V v, C x) { i->SetEnabled(x.Bool(v)); });
  RegisterProperty<I>("TMenuItem", "Visible", [](I* i, V v, C x) { i->SetVisible(x.Bool(v)); });
  RegisterProperty<I>("TMenuItem", "ShortCut",
                      [](I* i, V v, C x) { i->SetShortCut(TShortCut(x.Integer(v, 0, 0xFFFF))); });
  RegisterProperty<I>("TMenuItem", "ImageIndex",
                      [](I* i, V v, C x) { i->SetImageIndex(x.Int(v)); });
  RegisterProperty<I>("TMenuItem", "Break",
                      [](I* i, V v, C x) { i->SetBreak(TMenuBreak(x.Enum(v, kMenuBreak))); });
  RegisterProperty<I>("TMenuItem", "Hint", [](I* i, V v, C x) { i->Hint = x.String(v); });
  RegisterProperty<I>("TMenuItem", "OnClick", [](I* i, V v, C x) { i->OnClick = x.Method(v); });
  RegisterClass("TMenu", "", nullptr, IsInstanceOf<TMenu>);
  RegisterProperty<TMenu>("TMenu", "OwnerDraw",
                          [](TMenu* m, V v, C x) { m->SetOwnerDraw(x.Bool(v)); });
  RegisterProperty<TMenu>("TMenu", "Images", ReadImages<TMenu>);
  RegisterClass<TMainMenu>("TMainMenu", "TMenu");
  RegisterClass<TPopupMenu>("TPopupMenu", "TMenu");
  using P = TPopupMenu;
  RegisterProperty<P>("TPopupMenu", "AutoPopup", [](P* p, V v, C x) { p->AutoPopup = x.Bool(v); });
  RegisterProperty<P>("TPopupMenu", "Alignment", [](P* p, V v, C x) {
    p->Alignment = TPopupAlignment(x.Enum(v, kPopupAlignment));
  });
  RegisterProperty<P>("TPopupMenu", "OnPopup", [](P* p, V v, C x) { p->OnPopup = x.Method(v); });
  RegisterProperty<TCustomForm>("TForm", "Menu", [](TCustomForm* f, V v, C x) {
    x.Reference(v, [f](TComponent* c) {
      auto* menu = dynamic_cast<TMainMenu*>(c);
      if (!menu) throw Exception(u"a main menu expected");
      f->SetMenu(menu);
    });
  });
  RegisterProperty<TCustomForm>("TForm", "WindowMenu", [](TCustomForm* f, V v, C x) {
    x.Reference(v, [f](TComponent* c) {
      auto* item = dynamic_cast<TMenuItem*>(c);
      if (!item) throw Exception(u"a menu item expected");
      f->SetWindowMenu(item);
    });
  });
  RegisterProperty<TButton>("TButton", "DropDownMenu", [](TButton* b, V v, C x) {
    x.Reference(v, [b](TComponent* m) {
      auto* menu = dynamic_cast<TPopupMenu*>(m);
      if (!menu) throw Exception(u"a pop-up menu expected");
      b->SetDropDownMenu(menu);
    });
  });
  RegisterProperty<TControl>("TControl", "PopupMenu", [](TControl* c, V v, C x) {
    x.Reference(v, [c](TComponent* m) {
      auto* menu = dynamic_cast<TPopupMenu*>(m);
      if (!menu) throw Exception(u"a pop-up menu expected");
      c->SetPopupMenu(menu);
    });
  });
}

}  // namespace

// Colours are names or numbers ($00BBGGRR, or system colours).
TColor ReadColor(V v, C ctx) {
  if (v.kind == TValueDesc::Kind::Integer)
    return TColor(ctx.Integer(v, std::int64_t(INT32_MIN), std::int64_t(UINT32_MAX)));
  return ctx.Enum(v, kColors);
}

const std::vector<std::pair<std::string, int>> kFontStyleNames = {{"fsBold", fsBold},
                                                                  {"fsItalic", fsItalic},
                                                                  {"fsUnderline", fsUnderline},
                                                                  {"fsStrikeOut", fsStrikeOut}};

void RegisterStandardClasses() {
  RegisterControl();
  RegisterForm();
  RegisterStdControls();
  RegisterComboBox();
  RegisterTreeView();
  RegisterEditControls();
  RegisterMenus();
}

}  // namespace fw
