// The skinned labels. They have no skin data of their own: a label follows a skin manager (its
// own, else the default one) and takes its text colour from the skin in force, so that its
// text stays readable on every skin; it may paint a section of the skin behind its text.
//
// TsCustomLabel: the label text in the skin's label colour, an optional section behind it.
// TsLabel: the colour of the section it stands on (its own section's, else its parent's),
// unless UseSkinColor is off. TsHTMLLabel: markup text (sHtmlParse) with clickable links.
// TsEditLabel: the caption label an edit-like control's bound label shows.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Label.h"
#include "skin/controls/sHtmlParse.h"
#include "skin/core/sSkinManager.h"

namespace skin::controls {

class TsBoundLabel;

class TsCustomLabel : public fw::TLabel {
 public:
  // Transparent from the start.
  explicit TsCustomLabel(fw::TComponent* owner);
  std::string ClassName() const override { return "TsCustomLabel"; }
  void Loaded() override;

  // The manager followed: the one set, else the default manager.
  skin::core::TsSkinManager* SkinManager() const;
  void SetSkinManager(skin::core::TsSkinManager* manager);
  // A section painted behind the text (upper case; empty: none).
  const std::string& SkinSection() const { return FSkinSection; }
  void SetSkinSection(std::string_view section);

  // The font the text is drawn in.
  virtual const fw::TFont& GetCurrentFont() const { return Font(); }
  // The colour the text is drawn in: the skin's label colour while a skin is in force, else
  // the font's; a disabled label's is mixed with the manager's main colour (100 of 255).
  virtual fw::TColor TextColor();

  // The font height last set by anything but the manager (fonts, skins, scale).
  int DefFontHeight = 0;

 protected:
  void WndProc(fw::TMessage& m) override;
  void Paint() override;
  void FontChanged() override;
  void DoDrawText(gfx::TRect& rect, unsigned flags) override;
  // The section's index in the skin in force, or -1.
  int SectionIndex() const;
  // A skin is in force (its manager active with a model).
  bool SkinActive() const;

 private:
  std::string FSkinSection;
  int FSkinIndex = -1;  // resolved while painting
  skin::core::TacManagerRef FSkinManager;
  bool FSavedParentFont = false;
  bool FFontChanging = false;
};

class TsLabel : public TsCustomLabel {
 public:
  using TsCustomLabel::TsCustomLabel;
  std::string ClassName() const override { return "TsLabel"; }
  // On (default): the font colour the skin gives the label's section, else its parent's.
  // Off: the label's own font colour under every skin.
  bool UseSkinColor() const { return FUseSkinColor; }
  void SetUseSkinColor(bool use);
  fw::TColor TextColor() override;

 private:
  bool FUseSkinColor = true;
};

// What OnLinkClick receives: the address, which it may change, and whether the address is
// then opened (set it to false to open nothing).
using TacLinkClickEvent =
    std::function<void(fw::TComponent* sender, std::u16string& url, bool& defaultAction)>;

class TsHTMLLabel : public TsLabel {
 public:
  using TsLabel::TsLabel;
  std::string ClassName() const override { return "TsHTMLLabel"; }
  // Markup in the caption (default on); off: plain text.
  bool UseHTML() const { return FUseHTML; }
  void SetUseHTML(bool use);
  // How an opened link's window shows (a ShowWindow command).
  int ShowMode = 10;  // SW_SHOWDEFAULT
  TacLinkClickEvent OnLinkClick;
  // The caption without its tags.
  std::u16string GetPlainCaption() const;
  // The caption's markup laid out in the label's font within width (0: on one line): its
  // widest line and its height, as painting lays it out.
  gfx::TSize MarkupExtent(int width);

  // The links of the last painting, and the one under the mouse and the one pressed (-1).
  std::vector<TacLink> Links;
  int HotLink = -1;
  int PressedLink = -1;

 protected:
  void WndProc(fw::TMessage& m) override;
  void DoDrawText(gfx::TRect& rect, unsigned flags) override;
  // Opens link index's address after OnLinkClick had its say.
  void DoClick(int index);

 private:
  int LinkAt(gfx::TPoint p) const;
  void SetHotLink(int index);
  bool FUseHTML = true;
  bool LinkClicking = false;
  fw::TCursor FSavedCursor = fw::crDefault;
};

// The caption label of an edit-like control's bound label: its accelerator focuses the
// control, and a click on it clicks the control when the bound label allows it.
class TsEditLabel : public TsHTMLLabel {
 public:
  TsEditLabel(fw::TComponent* owner, TsBoundLabel* bound);
  ~TsEditLabel() override;
  std::string ClassName() const override { return "TsEditLabel"; }
  void Click() override;
  TsBoundLabel* BoundLabel() const { return FBound; }

 protected:
  void DblClick() override;

 private:
  friend class TsBoundLabel;
  TsBoundLabel* FBound;
};

// The labels' part of the dump: "color", the colour a skinned label's text is drawn in.
void InstallLabelDump();

}  // namespace skin::controls
