#include "skin/controls/sControls.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/Automation.h"
#include "framework/Reader.h"
#include "framework/StdProperties.h"
#include "framework/TextConv.h"
#include "framework/dbctrls/DataControlsClasses.h"
#include "platform/gfx/GraphicsError.h"
#include "skin/controls/acDials.h"
#include "skin/controls/acSpeedButtonHandler.h"
#include "skin/controls/sFrameAdapter.h"
#include "skin/controls/sSkinMenus.h"
#include "skin/core/sGraphUtils.h"
#include "skin/data/acSkinPack.h"
#include "skin/frame/acTitleBar.h"
#include "skin/frame/sCtrlAdapter.h"
#include "skin/internal/sInternalSkins.h"

namespace skin::controls {

namespace {

using V = const fw::TValueDesc&;
using C = fw::TReadContext&;

// Section names are upper-case words compared exactly.
std::string SectionName(V v, C x) {
  return skin::data::UpperCase(fw::Utf16ToUtf8(x.String(v)));
}

// Items = < item ImageFormat = ifPNG  ImageName = '...'  ImgData.File = 'x.png' end ... >:
// an item names its image file, whose bytes the description carries with it.
void ReadAlphaItems(TsAlphaImageList* l, V v, C x) {
  static const std::vector<std::pair<std::string, int>> kFormats = {
      {"ifPNG", ifPNG}, {"ifICO", ifICO}, {"ifBMP32", ifBMP32}};
  if (v.kind != fw::TValueDesc::Kind::Collection) throw fw::Exception(u"collection expected");
  l->ItemsClear();
  for (const auto& item : v.items) {
    TsImageFormat format = ifPNG;
    std::u16string name, text;
    std::optional<fw::TDescribedFile> file;
    for (const fw::TPropertyDesc& p : item) {
      if (fw::SameText(p.name, "ImageFormat"))
        format = TsImageFormat(x.Enum(p.value, kFormats));
      else if (fw::SameText(p.name, "ImageName"))
        name = x.String(p.value);
      else if (fw::SameText(p.name, "Text"))
        text = x.String(p.value);
      else if (fw::SameText(p.name, "ImgData.File"))
        file = x.File(p.value);
      else
        throw fw::Exception(u"unknown image list item property " + fw::Utf8ToUtf16(p.name));
    }
    if (!file) throw fw::Exception(u"image list item without ImgData");
    // A damaged picture is refused here, where the error can name the description's line.
    try {
      skin::paint::DecodeImageData(format, file->Data);
    } catch (const gfx::GraphicsError& e) {
      throw fw::Exception(fw::Utf8ToUtf16(e.what()));
    }
    l->AddItem(format, name, std::move(file->Data)).SetText(text);
  }
}

// Items = < item Char = 61440  ImageName = '...'  FontName = 'FontAwesome'  Color = clRed
// Style = [fsBold]  ScalingFactor = 1.2  OffsetY = 1  Pitch = fpDefault
// Charset = DEFAULT_CHARSET  Orientation = 0 end ... >: each a character of an icon font.
void ReadCharItems(TsCharImageList* l, V v, C x) {
  static const std::vector<std::pair<std::string, int>> kStyles = {
      {"fsBold", 1}, {"fsItalic", 2}, {"fsUnderline", 4}, {"fsStrikeOut", 8}};
  static const std::vector<std::pair<std::string, int>> kPitches = {
      {"fpDefault", int(TFontPitch::fpDefault)},
      {"fpVariable", int(TFontPitch::fpVariable)},
      {"fpFixed", int(TFontPitch::fpFixed)}};
  static const std::vector<std::pair<std::string, int>> kCharsets = {
      {"ANSI_CHARSET", 0},      {"DEFAULT_CHARSET", 1},      {"SYMBOL_CHARSET", 2},
      {"RUSSIAN_CHARSET", 204}, {"EASTEUROPE_CHARSET", 238}, {"OEM_CHARSET", 255}};
  if (v.kind != fw::TValueDesc::Kind::Collection) throw fw::Exception(u"collection expected");
  l->Clear();
  for (const auto& item : v.items) {
    TacCharItemData d;
    bool hasChar = false;
    for (const fw::TPropertyDesc& p : item) {
      if (fw::SameText(p.name, "Char")) {
        d.Char = char16_t(x.Integer(p.value, 1, 0xFFFF));
        hasChar = true;
      } else if (fw::SameText(p.name, "ImageName")) {
        d.ImageName = x.String(p.value);
      } else if (fw::SameText(p.name, "FontName")) {
        d.FontName = x.String(p.value);
      } else if (fw::SameText(p.name, "Color")) {
        d.Color = fw::ReadColor(p.value, x);
      } else if (fw::SameText(p.name, "Style")) {
        const unsigned style = x.Set(p.value, kStyles);
        d.Bold = (style & 1) != 0;
        d.Italic = (style & 2) != 0;
        d.Underline = (style & 4) != 0;
        d.StrikeOut = (style & 8) != 0;
      } else if (fw::SameText(p.name, "Pitch")) {
        d.Pitch = TFontPitch(x.Enum(p.value, kPitches));
      } else if (fw::SameText(p.name, "Charset")) {
        d.Charset = p.value.kind == fw::TValueDesc::Kind::Ident ? x.Enum(p.value, kCharsets)
                                                                : int(x.Integer(p.value, 0, 255));
      } else if (fw::SameText(p.name, "Orientation")) {
        d.Orientation = int(x.Integer(p.value, -3600, 3600));
      } else if (fw::SameText(p.name, "ScalingFactor")) {
        d.ScalingFactor = x.Real(p.value, 0.01, 100);
      } else if (fw::SameText(p.name, "OffsetY")) {
        d.OffsetY = x.Int(p.value);
      } else {
        throw fw::Exception(u"unknown character list item property " + fw::Utf8ToUtf16(p.name));
      }
    }
    if (!hasChar) throw fw::Exception(u"character list item without Char");
    l->AddItem(d);
  }
}

// EmbeddedFonts = < item FontName = 'Name' FileName = 'font.ttf' end ... >: each font file,
// beside the description or embedded with it, registered for the program under its name.
void ReadEmbeddedFonts(TsCharImageList* l, V v, C x) {
  if (v.kind != fw::TValueDesc::Kind::Collection) throw fw::Exception(u"collection expected");
  for (const auto& item : v.items) {
    std::u16string fontName;
    std::optional<fw::TDescribedFile> file;
    for (const fw::TPropertyDesc& p : item) {
      if (fw::SameText(p.name, "FontName"))
        fontName = x.String(p.value);
      else if (fw::SameText(p.name, "FileName"))
        file = x.File(p.value);
      else
        throw fw::Exception(u"unknown embedded font property " + fw::Utf8ToUtf16(p.name));
    }
    if (fontName.empty() || !file)
      throw fw::Exception(u"embedded font without FontName or FileName");
    if (!l->AddEmbeddedFontData(fontName, file->Data))
      throw fw::Exception(u"not a usable font: " + fw::Utf8ToUtf16(file->Path));
  }
}

// The design size and the scale switch, which both lists store alike.
template <class L>
void RegisterListSize(const char* className) {
  fw::RegisterProperty<L>(className, "Width", [](L* l, V v, C x) {
    l->SetDimension(int(x.Integer(v, 1, 1024)), l->SavedHeight() ? l->SavedHeight() : l->Height());
  });
  fw::RegisterProperty<L>(className, "Height", [](L* l, V v, C x) {
    l->SetDimension(l->SavedWidth() ? l->SavedWidth() : l->Width(), int(x.Integer(v, 1, 1024)));
  });
  fw::RegisterProperty<L>(className, "AllowScale",
                          [](L* l, V v, C x) { l->SetAllowScale(x.Bool(v)); });
}

void RegisterLabels() {
  fw::RegisterClass<TsLabel>("TsLabel", "TLabel");
  fw::RegisterProperty<TsLabel>("TsLabel", "UseSkinColor",
                                [](TsLabel* l, V v, C x) { l->SetUseSkinColor(x.Bool(v)); });
  fw::RegisterProperty<TsLabel>("TsLabel", "SkinSection",
                                [](TsLabel* l, V v, C x) { l->SetSkinSection(SectionName(v, x)); });
  fw::RegisterClass<TsHTMLLabel>("TsHTMLLabel", "TsLabel");
  fw::RegisterProperty<TsHTMLLabel>("TsHTMLLabel", "UseHTML",
                                    [](TsHTMLLabel* l, V v, C x) { l->SetUseHTML(x.Bool(v)); });
  InstallLabelDump();
}

void RegisterImageLists() {
  fw::RegisterClass<TsAlphaImageList>("TsAlphaImageList", "TImageList");
  RegisterListSize<TsAlphaImageList>("TsAlphaImageList");
  fw::RegisterProperty<TsAlphaImageList>(
      "TsAlphaImageList", "UseCache",
      [](TsAlphaImageList* l, V v, C x) { l->SetUseCache(x.Bool(v)); });
  fw::RegisterProperty<TsAlphaImageList>(
      "TsAlphaImageList", "ShareImages",
      [](TsAlphaImageList* l, V v, C x) { l->SetShareImages(x.Bool(v)); });
  fw::RegisterProperty<TsAlphaImageList>("TsAlphaImageList", "Items", ReadAlphaItems);
  fw::RegisterClass<TsCharImageList>("TsCharImageList", "TImageList");
  RegisterListSize<TsCharImageList>("TsCharImageList");
  fw::RegisterProperty<TsCharImageList>("TsCharImageList", "Items", ReadCharItems);
  fw::RegisterProperty<TsCharImageList>("TsCharImageList", "EmbeddedFonts", ReadEmbeddedFonts);
}

const std::vector<std::pair<std::string, int>> kCaptionLayoutNames = {
    {"sclLeft", int(TsCaptionLayout::sclLeft)},
    {"sclTopLeft", int(TsCaptionLayout::sclTopLeft)},
    {"sclTopCenter", int(TsCaptionLayout::sclTopCenter)},
    {"sclTopRight", int(TsCaptionLayout::sclTopRight)},
    {"sclLeftTop", int(TsCaptionLayout::sclLeftTop)},
    {"sclBottomLeft", int(TsCaptionLayout::sclBottomLeft)},
    {"sclBottomCenter", int(TsCaptionLayout::sclBottomCenter)},
    {"sclBottomRight", int(TsCaptionLayout::sclBottomRight)},
    {"sclRight", int(TsCaptionLayout::sclRight)},
    {"sclRightTop", int(TsCaptionLayout::sclRightTop)},
    {"sclLeftLeft", int(TsCaptionLayout::sclLeftLeft)},
    {"sclRightRight", int(TsCaptionLayout::sclRightRight)}};

// BoundLabel.* of the edit-like controls, each setter as the bound label's own.
template <class T>
void RegisterBoundLabel(const char* name) {
  using B = TsBoundLabel;
  const auto prop = [name](const char* property, std::function<void(B&, V, C)> set) {
    fw::RegisterProperty<T>(name, std::string("BoundLabel.") + property,
                            [set](T* c, V v, C x) { set(*c->BoundLabel(), v, x); });
  };
  prop("Active", [](B& b, V v, C x) { b.SetActive(x.Bool(v)); });
  prop("Caption", [](B& b, V v, C x) { b.SetCaption(x.String(v)); });
  prop("Layout",
       [](B& b, V v, C x) { b.SetLayout(TsCaptionLayout(x.Enum(v, kCaptionLayoutNames))); });
  prop("Indent", [](B& b, V v, C x) { b.SetIndent(int(x.Integer(v, -10000, 10000))); });
  prop("Offset", [](B& b, V v, C x) { b.SetOffset(int(x.Integer(v, -10000, 10000))); });
  prop("MaxWidth", [](B& b, V v, C x) { b.SetMaxWidth(int(x.Integer(v, 0, 10000))); });
  prop("UseHTML", [](B& b, V v, C x) { b.SetUseHTML(x.Bool(v)); });
  prop("UseSkinColor", [](B& b, V v, C x) { b.SetUseSkinColor(x.Bool(v)); });
  prop("EnabledAlways", [](B& b, V v, C x) { b.SetEnabledAlways(x.Bool(v)); });
  prop("AllowClick", [](B& b, V v, C x) { b.SetAllowClick(x.Bool(v)); });
  prop("ParentFont", [](B& b, V v, C x) { b.SetParentFont(x.Bool(v)); });
  prop("Font.Name", [](B& b, V v, C x) { b.Font().SetName(x.String(v)); });
  prop("Font.Height", [](B& b, V v, C x) { b.Font().SetHeight(int(x.Integer(v, -1000, 1000))); });
  prop("Font.Color", [](B& b, V v, C x) { b.Font().SetColor(fw::ReadColor(v, x)); });
  prop("Font.Style", [](B& b, V v, C x) { b.Font().SetStyle(x.Set(v, fw::kFontStyleNames)); });
}

template <class T>
void RegisterControl(const char* name, const char* base) {
  fw::RegisterClass<T>(name, base);
  fw::RegisterProperty<T>(name, "SkinData.SkinSection",
                          [](T* c, V v, C x) { c->SkinData().SetSkinSection(SectionName(v, x)); });
  if (sc::sEditCtrls.Contains(T::kCode)) RegisterBoundLabel<T>(name);
}

// The skin data of a control in its entry of the dump: the section finally used (the name
// set, else the default section's name in the skin in force), its index, the state the
// control shows (SkinState) and the background kind. A frame shows the data
// of its adapter, a speed button that of its handler (with the handler's state).
const skin::core::TsCommonData* SkinDataOf(fw::TControl* c) {
  if (auto* skinned = dynamic_cast<const TsSkinnedControl*>(c)) return &skinned->CommonData();
  if (dynamic_cast<fw::TSpeedButton*>(c))  // its handler's, while it has one
    return reinterpret_cast<const skin::core::TsCommonData*>(
        skin::core::SendAMessage(c, skin::core::AC_GETSKINDATA));
  if (dynamic_cast<fw::TFrame*>(c))
    for (int i = 0; i < c->ComponentCount(); ++i)
      if (auto* adapter = dynamic_cast<const TsFrameAdapter*>(c->Components(i)))
        return &adapter->SkinData();
  return nullptr;
}

void WriteSkinData(backend::JsonWriter& w, fw::TControl* c) {
  const skin::core::TsCommonData* cd = SkinDataOf(c);
  if (!cd) return;
  const TsSkinManager* m = cd->SkinManager();
  const skin::data::TacSkinModel* model = m ? m->SkinModel() : nullptr;
  w.Key("skin");
  w.BeginObject();
  w.Key("section");
  if (model && model->IsValidSkinIndex(cd->SkinIndex))
    w.String(model->gd[std::size_t(cd->SkinIndex)].ClassName);
  else if (!cd->SkinSection().empty())
    w.String(cd->SkinSection());
  else
    w.Null();
  w.Key("index");
  w.Number(cd->SkinIndex);
  w.Key("state");
  const auto* skinned = dynamic_cast<const TsSkinnedControl*>(c);
  const auto* speed = dynamic_cast<const fw::TSpeedButton*>(c);
  w.Number(skinned                            ? skinned->SkinState()
           : speed                            ? SpeedButtonState(*speed, *cd)
           : skin::core::ControlIsActive(*cd) ? 1
                                              : 0);
  w.Key("bgType");
  w.Number(cd->BGType);
  w.EndObject();
}

// InternalSkins = < item Name = '...' ... end ... >: each item's package is the program's
// internal skin of that name (a description cannot hold one of its own), and the informative
// properties are kept as written.
void ReadInternalSkins(TsSkinManager* m, V v, C x) {
  if (v.kind != fw::TValueDesc::Kind::Collection) throw fw::Exception(u"collection expected");
  skin::data::TsStoredSkins& skins = m->InternalSkins();
  while (skins.Count() > 0) skins.Delete(0);
  for (const auto& item : v.items) {
    skin::data::TsStoredSkin& skin = skins.Add();
    for (const fw::TPropertyDesc& p : item) {
      if (fw::SameText(p.name, "Name"))
        skin.SetName(fw::Utf16ToUtf8(x.String(p.value)));
      else if (fw::SameText(p.name, "OriginName"))
        skin.OrigName = fw::Utf16ToUtf8(x.String(p.value));
      else if (fw::SameText(p.name, "Author"))
        skin.Author = fw::Utf16ToUtf8(x.String(p.value));
      else if (fw::SameText(p.name, "Description"))
        skin.Description = fw::Utf16ToUtf8(x.String(p.value));
      else if (fw::SameText(p.name, "Shadow1Color"))
        skin.Shadow1Color = fw::ReadColor(p.value, x);
      else if (fw::SameText(p.name, "BorderColor"))
        skin.BorderColor = fw::ReadColor(p.value, x);
      else if (fw::SameText(p.name, "Shadow1Offset"))
        skin.Shadow1Offset = x.Int(p.value);
      else if (fw::SameText(p.name, "Shadow1Transparency"))
        skin.Shadow1Transparency = x.Int(p.value);
      else if (fw::SameText(p.name, "Shadow1Blur"))
        skin.Shadow1Blur = x.Int(p.value);
      else
        throw fw::Exception(u"unknown internal skin property " + fw::Utf8ToUtf16(p.name));
    }
    const skin::data::TacInternalSkinData* data = skin::data::FindInternalSkin(skin.Name());
    if (!data) throw fw::Exception(u"no internal skin " + fw::Utf8ToUtf16(skin.Name()));
    const auto bytes = skin::data::PackageOf(*data);
    skin.SetPackedData({bytes.begin(), bytes.end()});
  }
}

// The stored skins of a manager, read where the program's packages are known.
void RegisterInternalSkins() {
  skin::core::RegisterSkinManager();
  fw::RegisterProperty<TsSkinManager>("TsSkinManager", "InternalSkins", ReadInternalSkins);
}

void RegisterSkinProvider() {
  using P = TsSkinProvider;
  fw::RegisterClass<P>("TsSkinProvider", "");
  fw::RegisterProperty<P>("TsSkinProvider", "SkinData.SkinSection",
                          [](P* p, V v, C x) { p->SkinData().SetSkinSection(SectionName(v, x)); });
  fw::RegisterProperty<P>("TsSkinProvider", "CaptionAlignment", [](P* p, V v, C x) {
    p->SetCaptionAlignment(fw::TAlignment(x.Enum(v, fw::kAlignmentNames)));
  });
  fw::RegisterProperty<P>("TsSkinProvider", "ResizeMode", [](P* p, V v, C x) {
    using skin::frame::TacResizeMode;
    static const std::vector<std::pair<std::string, int>> modes = {
        {"rmStandard", int(TacResizeMode::rmStandard)}, {"rmBorder", int(TacResizeMode::rmBorder)}};
    p->SetResizeMode(TacResizeMode(x.Enum(v, modes)));
  });
  fw::RegisterProperty<P>("TsSkinProvider", "ScreenSnap",
                          [](P* p, V v, C x) { p->SetScreenSnap(x.Bool(v)); });
  fw::RegisterProperty<P>("TsSkinProvider", "SnapBuffer",
                          [](P* p, V v, C x) { p->SetSnapBuffer(int(x.Integer(v, 0, 1000))); });
  fw::RegisterProperty<P>("TsSkinProvider", "GluedForms.Strings", [](P* p, V v, C x) {
    p->GluedForms().clear();
    for (const std::u16string& name : x.Strings(v))
      p->GluedForms().push_back(fw::Utf16ToUtf8(name));
  });
  fw::RegisterProperty<P>("TsSkinProvider", "AllowBlendOnMoving",
                          [](P* p, V v, C x) { p->SetAllowBlendOnMoving(x.Bool(v)); });
  fw::RegisterProperty<P>("TsSkinProvider", "DisabledBlendValue", [](P* p, V v, C x) {
    p->SetDisabledBlendValue(int(x.Integer(v, 0, 255)));
  });
  fw::RegisterProperty<P>("TsSkinProvider", "DisabledBlured",
                          [](P* p, V v, C x) { p->SetDisabledBlured(x.Bool(v)); });
  fw::RegisterProperty<P>("TsSkinProvider", "DisabledBlendColor",
                          [](P* p, V v, C x) { p->SetDisabledBlendColor(fw::ReadColor(v, x)); });
  fw::RegisterProperty<P>("TsSkinProvider", "AddedTitle.Text",
                          [](P* p, V v, C x) { p->SetAddedTitleText(x.String(v)); });
  fw::RegisterProperty<P>("TsSkinProvider", "AddedTitle.ShowMainCaption",
                          [](P* p, V v, C x) { p->SetShowMainCaption(x.Bool(v)); });
  // The title icon's size and visibility; its glyph is set in code (a description holds no
  // pictures).
  fw::RegisterProperty<P>("TsSkinProvider", "TitleIcon.Width", [](P* p, V v, C x) {
    skin::frame::TsTitleIcon icon = p->TitleIcon();
    icon.Width = int(x.Integer(v, 0, 1000));
    p->SetTitleIcon(icon);
  });
  fw::RegisterProperty<P>("TsSkinProvider", "TitleIcon.Height", [](P* p, V v, C x) {
    skin::frame::TsTitleIcon icon = p->TitleIcon();
    icon.Height = int(x.Integer(v, 0, 1000));
    p->SetTitleIcon(icon);
  });
  fw::RegisterProperty<P>("TsSkinProvider", "TitleIcon.Visible", [](P* p, V v, C x) {
    skin::frame::TsTitleIcon icon = p->TitleIcon();
    icon.Visible = x.Bool(v);
    p->SetTitleIcon(icon);
  });
  fw::RegisterProperty<P>("TsSkinProvider", "FormHeader.AdditionalHeight", [](P* p, V v, C x) {
    p->SetFormHeaderHeight(int(x.Integer(v, 0, 1000)));
  });
  fw::RegisterProperty<P>("TsSkinProvider", "AddedTitle.Font.Name",
                          [](P* p, V v, C x) { p->AddedTitleFont().SetName(x.String(v)); });
  fw::RegisterProperty<P>("TsSkinProvider", "AddedTitle.Font.Height", [](P* p, V v, C x) {
    p->AddedTitleFont().SetHeight(int(x.Integer(v, -1000, 1000)));
  });
  fw::RegisterProperty<P>("TsSkinProvider", "AddedTitle.Font.Color", [](P* p, V v, C x) {
    p->AddedTitleFont().SetColor(fw::ReadColor(v, x));
  });
  fw::RegisterProperty<P>("TsSkinProvider", "AddedTitle.Font.Style", [](P* p, V v, C x) {
    p->AddedTitleFont().SetStyle(x.Set(v, fw::kFontStyleNames));
  });
  fw::RegisterProperty<P>("TsSkinProvider", "TitleBar", [](P* p, V v, C x) {
    fw::ReferTo<skin::frame::TsTitleBar>(x, v, u"a title bar expected",
                                         [p](skin::frame::TsTitleBar* b) { p->SetTitleBar(b); });
  });
  // User buttons of the caption; a description holds no pictures, so no glyph.
  fw::RegisterProperty<P>("TsSkinProvider", "TitleButtons", [](P* p, V v, C x) {
    if (v.kind != fw::TValueDesc::Kind::Collection) throw fw::Exception(u"collection expected");
    for (const auto& item : v.items) {
      skin::frame::TsTitleButton& b = p->AddTitleButton();
      for (const fw::TPropertyDesc& d : item) {
        if (fw::SameText(d.name, "Name"))
          b.Name = fw::Utf16ToUtf8(x.String(d.value));
        else if (fw::SameText(d.name, "Hint"))
          b.Hint = x.String(d.value);
        else if (fw::SameText(d.name, "Enabled"))
          b.Enabled = x.Bool(d.value);
        else if (fw::SameText(d.name, "Visible"))
          b.Visible = x.Bool(d.value);
        else if (fw::SameText(d.name, "UseSkinData"))
          b.UseSkinData = x.Bool(d.value);
        else
          throw fw::Exception(u"unknown title button property " + fw::Utf8ToUtf16(d.name));
      }
    }
  });
}

// Items = < item Caption = 'File'  Style = bsMenu  Align = tbaRight ... end ... >: the title
// bar's items with their plain properties (events and drop-down menus are bound in code).
void ReadTitleItems(skin::frame::TsTitleBar* bar, V v, C x) {
  using namespace skin::frame;
  static const std::vector<std::pair<std::string, int>> kStyles = {{"bsButton", bsButton},
                                                                   {"bsMenu", bsMenu},
                                                                   {"bsTab", bsTab},
                                                                   {"bsSpacing", bsSpacing},
                                                                   {"bsInfo", bsInfo}};
  static const std::vector<std::pair<std::string, int>> kAligns = {
      {"tbaLeft", tbaLeft},
      {"tbaRight", tbaRight},
      {"tbaCenter", tbaCenter},
      {"tbaCenterInSpace", tbaCenterInSpace}};
  if (v.kind != fw::TValueDesc::Kind::Collection) throw fw::Exception(u"collection expected");
  bar->Items().Clear();
  for (const auto& desc : v.items) {
    TacTitleBarItem& item = bar->Items().Add();
    for (const fw::TPropertyDesc& p : desc) {
      const std::string& n = p.name;
      V w = p.value;
      if (fw::SameText(n, "Name"))
        item.Name = fw::Utf16ToUtf8(x.String(w));
      else if (fw::SameText(n, "Caption"))
        item.Caption = x.String(w);
      else if (fw::SameText(n, "Hint"))
        item.Hint = x.String(w);
      else if (fw::SameText(n, "ShowHint"))
        item.ShowHint = x.Bool(w);
      else if (fw::SameText(n, "Style"))
        item.Style = TacBtnStyle(x.Enum(w, kStyles));
      else if (fw::SameText(n, "Align"))
        item.Align = TacItemAlign(x.Enum(w, kAligns));
      else if (fw::SameText(n, "Alignment"))
        item.Alignment = fw::TAlignment(x.Enum(w, fw::kAlignmentNames));
      else if (fw::SameText(n, "Width"))
        item.Width = int(x.Integer(w, 0, 4096));
      else if (fw::SameText(n, "Height"))
        item.Height = int(x.Integer(w, 0, 4096));
      else if (fw::SameText(n, "AutoSize"))
        item.AutoSize = x.Bool(w);
      else if (fw::SameText(n, "Spacing"))
        item.Spacing = int(x.Integer(w, 0, 1000));
      else if (fw::SameText(n, "ImageIndex"))
        item.ImageIndex = int(x.Integer(w, -1, 65535));
      else if (fw::SameText(n, "HotImageIndex"))
        item.HotImageIndex = int(x.Integer(w, -1, 65535));
      else if (fw::SameText(n, "PressedImageIndex"))
        item.PressedImageIndex = int(x.Integer(w, -1, 65535));
      else if (fw::SameText(n, "DisabledImageIndex"))
        item.DisabledImageIndex = int(x.Integer(w, -1, 65535));
      else if (fw::SameText(n, "Enabled"))
        item.Enabled = x.Bool(w);
      else if (fw::SameText(n, "Visible"))
        item.Visible = x.Bool(w);
      else if (fw::SameText(n, "Down"))
        item.Down = x.Bool(w);
      else if (fw::SameText(n, "GroupIndex"))
        item.GroupIndex = int(x.Integer(w, -1000000, 1000000));
      else if (fw::SameText(n, "SkinSection"))
        item.SkinSection = SectionName(w, x);
      else if (fw::SameText(n, "Tag"))
        item.Tag = x.Int(w);
      else
        throw fw::Exception(u"unknown title bar item property " + fw::Utf8ToUtf16(n));
    }
  }
}

void RegisterTitleBar() {
  using B = skin::frame::TsTitleBar;
  fw::RegisterClass<B>("TsTitleBar", "");
  fw::RegisterProperty<B>("TsTitleBar", "Items", ReadTitleItems);
  fw::RegisterProperty<B>("TsTitleBar", "ItemsMargin",
                          [](B* b, V v, C x) { b->ItemsMargin = int(x.Integer(v, 0, 1000)); });
  fw::RegisterProperty<B>("TsTitleBar", "ItemsSpacing",
                          [](B* b, V v, C x) { b->ItemsSpacing = int(x.Integer(v, 0, 1000)); });
  fw::RegisterProperty<B>("TsTitleBar", "RightSpacing",
                          [](B* b, V v, C x) { b->RightSpacing = int(x.Integer(v, 0, 1000)); });
  fw::RegisterProperty<B>("TsTitleBar", "ShowCaption",
                          [](B* b, V v, C x) { b->ShowCaption = x.Bool(v); });
}

void RegisterGroupBox() {
  using G = TsGroupBox;
  RegisterControl<G>("TsGroupBox", "TGroupBox");
  fw::RegisterProperty<G>("TsGroupBox", "Checked",
                          [](G* g, V v, C x) { g->SetChecked(x.Bool(v)); });
  fw::RegisterProperty<G>("TsGroupBox", "CheckBoxVisible",
                          [](G* g, V v, C x) { g->SetCheckBoxVisible(x.Bool(v)); });
  fw::RegisterProperty<G>("TsGroupBox", "CaptionYOffset", [](G* g, V v, C x) {
    g->SetCaptionYOffset(int(x.Integer(v, -1000, 1000)));
  });
  fw::RegisterProperty<G>("TsGroupBox", "ImageIndex",
                          [](G* g, V v, C x) { g->SetImageIndex(int(x.Integer(v, -1, 65535))); });
  fw::RegisterProperty<G>("TsGroupBox", "Images", [](G* g, V v, C x) {
    x.Reference(v, [g](fw::TComponent* c) {
      auto* list = dynamic_cast<fw::TImageList*>(c);
      if (!list) throw fw::Exception(u"an image list expected");
      g->SetImages(list);
    });
  });
  fw::RegisterProperty<G>("TsGroupBox", "CaptionSkin",
                          [](G* g, V v, C x) { g->SetCaptionSkin(SectionName(v, x)); });
  fw::RegisterProperty<G>("TsGroupBox", "CaptionWidth",
                          [](G* g, V v, C x) { g->SetCaptionWidth(int(x.Integer(v, 0, 10000))); });
  fw::RegisterProperty<G>("TsGroupBox", "CaptionLayout", [](G* g, V v, C x) {
    g->SetCaptionLayout(
        TsGroupCaptionLayout(x.Enum(v, {{"clTopLeft", int(TsGroupCaptionLayout::clTopLeft)},
                                        {"clTopCenter", int(TsGroupCaptionLayout::clTopCenter)},
                                        {"clTopRight", int(TsGroupCaptionLayout::clTopRight)}})));
  });
  const auto margin = [](const char* name, int TsMargin::*side) {
    fw::RegisterProperty<G>("TsGroupBox", std::string("CaptionMargin.") + name,
                            [side](G* g, V v, C x) {
                              TsMargin m = g->CaptionMargin();
                              m.*side = int(x.Integer(v, -1000, 1000));
                              g->SetCaptionMargin(m);
                            });
  };
  margin("Top", &TsMargin::Top);
  margin("Left", &TsMargin::Left);
  margin("Right", &TsMargin::Right);
  margin("Bottom", &TsMargin::Bottom);
}

}  // namespace

int PanelSection(const fw::TPanel& panel) {
  switch (panel.BevelOuter()) {
    case fw::TBevelCut::bvNone:
      return skin::data::ssTransparent;
    case fw::TBevelCut::bvLowered:
      return skin::data::ssPanelLow;
    case fw::TBevelCut::bvRaised:
      return skin::data::ssPanel;
    case fw::TBevelCut::bvSpace:
      return skin::data::ssGroupBox;
  }
  return -1;
}

void RegisterSkinClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  InstallDialogSkinning();
  InstallSkinnedMenus();
  RegisterControl<TsPanel>("TsPanel", "TPanel");
  RegisterControl<TsImage>("TsImage", "TImage");
  fw::RegisterProperty<TsImage>(
      "TsImage", "Blend", [](TsImage* i, V v, C x) { i->SetBlend(int(x.Integer(v, 0, 100))); });
  fw::RegisterProperty<TsImage>("TsImage", "Grayed",
                                [](TsImage* i, V v, C x) { i->SetGrayed(x.Bool(v)); });
  fw::RegisterProperty<TsImage>("TsImage", "Reflected",
                                [](TsImage* i, V v, C x) { i->SetReflected(x.Bool(v)); });
  fw::RegisterProperty<TsImage>("TsImage", "UseFullSize",
                                [](TsImage* i, V v, C x) { i->SetUseFullSize(x.Bool(v)); });
  RegisterControl<TsButton>("TsButton", "TButton");
  RegisterControl<TsBitBtn>("TsBitBtn", "TBitBtn");
  RegisterButtonProperties();
  RegisterControl<TsStatusBar>("TsStatusBar", "TStatusBar");
  RegisterGroupBox();
  RegisterControl<TsEdit>("TsEdit", "TEdit");
  RegisterControl<TsMemo>("TsMemo", "TMemo");
  RegisterControl<TsComboBox>("TsComboBox", "TComboBox");
  static const std::vector<std::pair<std::string, int>> kDisabledKinds = {
      {"dkBlended", skin::paint::dkBlended}, {"dkGrayed", skin::paint::dkGrayed}};
  fw::RegisterProperty<TsEdit>("TsEdit", "DisabledKind", [](TsEdit* e, V v, C x) {
    e->SetDisabledKind(x.Set(v, kDisabledKinds));
  });
  fw::RegisterProperty<TsComboBox>("TsComboBox", "DisabledKind", [](TsComboBox* b, V v, C x) {
    b->SetDisabledKind(x.Set(v, kDisabledKinds));
  });
  RegisterControl<TsTreeView>("TsTreeView", "TTreeView");
  fw::RegisterDataControls();  // the grid's own properties, and its entry in the dump
  RegisterControl<TsDBGrid>("TsDBGrid", "TDBGrid");
  fw::RegisterProperty<TsDBGrid>("TsDBGrid", "RowColorEven", [](TsDBGrid* g, V v, C x) {
    g->SetRowColorEven(fw::ReadColor(v, x));
  });
  fw::RegisterProperty<TsDBGrid>("TsDBGrid", "RowColorOdd", [](TsDBGrid* g, V v, C x) {
    g->SetRowColorOdd(fw::ReadColor(v, x));
  });
  fw::RegisterProperty<TsDBGrid>("TsDBGrid", "LevelDelimiterChar", [](TsDBGrid* g, V v, C x) {
    const std::u16string c = x.String(v);
    if (c.size() != 1) throw fw::Exception(u"one character expected");
    g->SetLevelDelimiterChar(c[0]);
  });
  fw::RegisterClass<TsFrameAdapter>("TsFrameAdapter", "TComponent");
  fw::RegisterProperty<TsFrameAdapter>(
      "TsFrameAdapter", "SkinData.SkinSection",
      [](TsFrameAdapter* a, V v, C x) { a->SkinData().SetSkinSection(SectionName(v, x)); });
  RegisterLabels();
  RegisterImageLists();
  skin::core::GetCheckSize();
  RegisterInternalSkins();
  RegisterSkinProvider();
  RegisterTitleBar();
  fw::AddControlDumper(WriteSkinData);
  skin::frame::InstallWrapperDump();
  // A frame a form's control adapter meets is skinned by a frame adapter of its own.
  skin::frame::SetFrameSkinner([](fw::TFrame& frame) {
    auto* adapter = new TsFrameAdapter(&frame);
    adapter->AfterConstruction();
  });
  // Standard speed buttons the adapter meets are painted by a handler of their own.
  skin::frame::SetGraphHandlerMaker(MakeSpeedButtonHandler);
  skin::frame::InstallProviderDump();
}

}  // namespace skin::controls
