// The control adapter of a skinned form: it finds the child controls that have no skinning of
// their own and whose class is named in one of the 23 class-name lists (ThirdEdits,
// ThirdButtons, ...), gives each a wrapper of the matching kind (acSBUtils), and keeps those
// wrappers alive, passes them the form's skin commands and frees them. Standard labels take the
// skin's font colour and get their own back when the skin goes (InitLabel). Speed buttons,
// which have no window to wrap, get a graphic item: skin data of their own and a handler that
// takes over their messages.
//
// The adapter belongs to the form's skin provider but knows it only through TacAdapterOwner.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/Form.h"
#include "framework/Frame.h"
#include "framework/Label.h"
#include "framework/SpeedButton.h"
#include "framework/WinControl.h"
#include "skin/core/sSkinManager.h"
#include "skin/frame/acSBUtils.h"

namespace skin::frame {

using skin::core::TsThirdPartyList;

// A control whose Tag has this bit is never wrapped (a label with all its bits keeps its colour).
constexpr std::intptr_t ExceptTag = 0x100;

// What the adapter asks of the form skin provider that owns it.
class TacAdapterOwner {
 public:
  // The form whose controls are scanned.
  virtual fw::TWinControl* AdapterForm() const = 0;
  // AllowSkin3rdParty: controls of other classes may be wrapped at all.
  virtual bool AllowSkin3rdParty() const = 0;
  // The provider's own class-name lists when any of them is set, else null (the manager's serve).
  virtual const TsThirdPartyList* OwnThirdParty() const = 0;
  // The manager whose skin the wrappers take; null: none (nothing is wrapped).
  virtual TsSkinManager* AdapterManager() const = 0;
  // OnSkinItem and then, while the control is still accepted, OnSkinItemEx: they may refuse
  // the control (canBeAdded false) or change its parameters.
  virtual void SkinItem(fw::TControl* control, bool& canBeAdded, TacSkinParams& params) = 0;
  // A form placed inside the form gets a provider of its own, painting from section.
  virtual void AddFormProvider(fw::TCustomForm& form, const std::string& section) = 0;

 protected:
  ~TacAdapterOwner() = default;
};

// How a frame on a skinned form gets its skinning (the frame adapter lives with the skinned
// controls, which set this when they register). Null: frames are left alone.
using TacFrameSkinner = void (*)(fw::TFrame& frame);
void SetFrameSkinner(TacFrameSkinner skinner);

// What takes over a speed button's messages and paints it from the skin (the handler lives
// with the skinned controls, which set the maker when they register).
class TacGraphHandler {
 public:
  virtual ~TacGraphHandler() = default;
  // The button has its own message handling back (the skin went, or the button did).
  virtual bool Destroyed() const = 0;
  // The button is being freed: let go of it without touching it.
  virtual void ButtonFreed() = 0;
};
// Makes the handler of button, painting from section with manager and skinData (the item's,
// not owned by the handler).
using TacGraphHandlerMaker = std::unique_ptr<TacGraphHandler> (*)(fw::TSpeedButton& button,
                                                                  const std::string& section,
                                                                  TsSkinManager* manager,
                                                                  TsCommonData& skinData);
// Null: speed buttons are left alone.
void SetGraphHandlerMaker(TacGraphHandlerMaker maker);

class TacCtrlAdapter;

// One wrapped control and its wrapper (owned).
struct TacAdapterItem {
  TacCtrlAdapter* Adapter = nullptr;
  fw::TWinControl* WinCtrl = nullptr;
  std::unique_ptr<TacMainWnd> ScrollWnd;
  // Creates the wrapper of the kind whose list names the control's class, with skin data of
  // its own; false (no wrapper) when the control is excepted, has no window, is skinned
  // already, no manager exists or no list names its class.
  bool DoHook(fw::TWinControl* control, TacSkinParams params);
  // The wrapper is there and attached.
  bool Live() const { return ScrollWnd && !ScrollWnd->Destroyed(); }
};

// One speed button with skin data of its own (class code COC_TsAdapter) and its handler.
struct TacGraphItem {
  TacCtrlAdapter* Adapter = nullptr;
  fw::TSpeedButton* Ctrl = nullptr;
  std::unique_ptr<TsCommonData> SkinData;
  std::unique_ptr<TacGraphHandler> Handler;  // freed before the data it paints with
  // Fresh skin data (section "SPEEDBUTTON_SMALL" for a flat button, else "SPEEDBUTTON") and a
  // handler for button; false (none) when the button is excepted, or no maker or manager exists.
  bool DoHook(fw::TSpeedButton* button);
  // The handler is there and attached.
  bool Live() const { return Handler && !Handler->Destroyed(); }
};

class TacCtrlAdapter : public fw::TComponent {
 public:
  explicit TacCtrlAdapter(TacAdapterOwner& owner);
  // Frees every wrapper (each takes only its own hook off) and gives the labels their colours
  // back unless their form is going.
  ~TacCtrlAdapter() override;
  std::string ClassName() const override { return "TacCtrlAdapter"; }

  // Scans owner (null: the form): the components it owns, then its child controls, descending
  // into windowed ones; wraps what is supported and gives standard labels the skin's font
  // colour. Nothing unless third-party skinning is allowed by the owner and by the manager's
  // SkinningRules (srThirdParty), and no scan runs.
  void AddAllItems(fw::TWinControl* owner = nullptr);
  // Whether a scan would take the component (see the docs: except tag, window, skinned
  // already, the skin-item check for labels, frames and forms, else the lists).
  bool IsControlSupported(fw::TComponent* component);
  // Wraps one windowed control with section (DefaultSection in the first form): a frame gets
  // its frame skinning, a form inside the form a provider of its own, any other control a
  // wrapper when a list names its class. A detached wrapper is replaced, a live one left alone.
  void AddNewItem(fw::TWinControl* control) { AddNewItem(control, DefaultSection); }
  void AddNewItem(fw::TWinControl* control, const std::string& section);
  // A speed button gets a graphic item, unless third-party skinning is off, it is excepted, has
  // no parent or is handled already (AC_CTRLHANDLED); the skin-item check (section
  // "SPEEDBUTTON") may refuse it. A detached item is hooked anew, a live one left alone.
  void AddNewItem(fw::TSpeedButton* button);
  // Hands the message to every live wrapper whose control has a parent.
  void WndProc(fw::TMessage& m);
  // Drops the items (graphic ones too) whose wrapper or handler is missing or detached, keeping
  // the others' order.
  void CleanItems();
  // Frees the item; the last item takes its place.
  void RemoveItem(int index);
  // Frees every item, the last first, then the graphic items likewise.
  void RemoveAllItems();
  int Count() const { return int(FItems.size()); }
  // The item of control, or -1.
  int IndexOf(const fw::TControl* control) const;
  TacAdapterItem& GetItem(int index) { return *FItems.at(std::size_t(index)); }
  // The skin data of the item's wrapper, or null.
  TsCommonData* GetCommonData(int index);
  // The speed buttons' items.
  int GraphCount() const { return int(FGraphItems.size()); }
  TacGraphItem& GetGraphItem(int index) { return *FGraphItems.at(std::size_t(index)); }
  // The graphic item of control, or -1.
  int IndexOfGraph(const fw::TControl* control) const;
  // The class-name list (0 .. 22) that names className first, or -1: the owner's lists when it
  // has its own, else the manager's; names compare exactly, case included.
  int ThirdListIndex(const std::string& className) const;
  // Skinned: records the label's font colour, ParentFont and opacity once, makes it
  // non-opaque when it is transparent or the manager's labels are always transparent, and
  // gives it the skin's font colour. Unskinned: puts back what was recorded and forgets it.
  // A label whose Tag has all the bits of ExceptTag is left alone.
  void InitLabel(fw::TLabel* label, bool skinned);

  TacAdapterOwner& AdapterOwner() const { return FOwner; }

  bool bFlag = false;          // a scan runs
  std::string DefaultSection;  // the section of controls added one at a time

 protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  struct TSavedLabel {
    fw::TLabel* Label;
    fw::TColor FontColor;
    bool ParentFont;
    bool Opaque;
  };
  // The skin-item check with fresh parameters: the owner accepts the control unchanged in
  // font colour.
  bool SkinItemAccepted(fw::TControl* control);
  bool ThirdPartyAllowed() const;
  // Forgets the control unless an item or a saved label still names it.
  void Forget(fw::TControl* control);

  TacAdapterOwner& FOwner;
  // Frees a graphic item; a freed button's data and handler forget it first.
  static void ReleaseGraphItem(std::unique_ptr<TacGraphItem> item, bool buttonFreed);

  std::vector<std::unique_ptr<TacAdapterItem>> FItems;
  std::vector<std::unique_ptr<TacGraphItem>> FGraphItems;
  std::vector<TSavedLabel> FLabels;
};

}  // namespace skin::frame
