// What every skinned control class is built on: the framework control with its skin data,
// which binds it to a section of the skin in force (TsControl), and the same with a wrapper
// for its frame and scroll bars (TsListSWControl).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>

#include "framework/Button.h"
#include "framework/ComboBox.h"
#include "framework/Edit.h"
#include "framework/Image.h"
#include "framework/ImageList.h"
#include "framework/Label.h"
#include "framework/Memo.h"
#include "framework/Panel.h"
#include "framework/StatusBar.h"
#include "framework/TreeView.h"
#include "framework/dbctrls/DBGrid.h"
#include "platform/win/Paint.h"
#include "skin/controls/acAlphaImageList.h"
#include "skin/controls/sCommonData.h"
#include "skin/controls/sLabel.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sSkinManager.h"
#include "skin/data/acConstData.h"
#include "skin/frame/acSBUtils.h"
#include "skin/frame/sSkinProvider.h"

namespace skin::controls {

using skin::core::TsSkinManager;
using skin::core::TsThirdPartyList;

// The skin section a form's frame is painted from; the provider takes its full skin data
// with the frame painting.
class TsSkinData {
 public:
  const std::string& SkinSection() const { return FSkinSection; }
  void SetSkinSection(const std::string& section) { FSkinSection = section; }

 private:
  std::string FSkinSection;
};

// A class name as a template argument.
template <std::size_t N>
struct TClassName {
  char text[N];
  constexpr TClassName(const char (&name)[N]) { std::copy_n(name, N, text); }
};

// The default sections, by what the control is: one fixed for the kind, or a panel's by its
// outer bevel. -1: none.
template <skin::data::TacSection Section>
int FixedSection(const fw::TControl&) {
  return Section;
}
int PanelSection(const fw::TPanel& panel);

// A skinned control: the framework control with its skin data (SkinData), class code Code,
// answering AC_GETDEFINDEX with the index + 1 of the section DefSection names in the skin in
// force. Its hook on the control's messages runs the shared handling first, and a container
// passes the skin announcements on to its children (a new skin before its own handling, the
// removal, the refresh and a section update after). The data registers itself with the control's
// window. What every skinned control of the catalogue offers, whatever its framework base.
class TsSkinnedControl {
 public:
  virtual ~TsSkinnedControl() = default;
  virtual const skin::core::TsCommonData& CommonData() const = 0;
  // The state the control shows now, as its dump reports it: 0 normal, 1 hot or focused; a
  // control with more looks (pressed, default) answers its own.
  virtual int SkinState() const { return skin::core::ControlIsActive(CommonData()) ? 1 : 0; }
};

template <class Base, TClassName Name, std::uint8_t Code, auto DefSection,
          class Data = skin::core::TsCommonData>
class TsControl : public Base, public TsSkinnedControl {
 public:
  static constexpr bool kWindowed = std::is_base_of_v<fw::TWinControl, Base>;
  static constexpr std::uint8_t kCode = Code;

  explicit TsControl(fw::TComponent* owner)
      : Base(owner), FCommonData(std::make_unique<Data>(this, true)) {
    FCommonData->COC = Code;
    if (skin::core::sEditCtrls.Contains(Code)) FBoundLabel = std::make_unique<TsBoundLabel>(this);
    FHook = this->HookWindowProc(
        [this](fw::TMessage& m, const fw::TWndNext& next) { SkinWndProc(m, next); });
  }
  // Unhooked, and without a window, before the skin data goes: nothing reaches the data from
  // the base destructors.
  ~TsControl() override {
    *FAlive = false;
    this->Destroying();
    FCommonData->RemoveCommonProp();
    this->UnhookWindowProc(FHook);
    if constexpr (kWindowed) this->DestroyHandle();
  }
  std::string ClassName() const override { return Name.text; }
  Data& SkinData() { return *FCommonData; }
  const Data& SkinData() const { return *FCommonData; }
  const skin::core::TsCommonData& CommonData() const override { return *FCommonData; }
  // The caption label of edit-like controls; null for the others.
  TsBoundLabel* BoundLabel() const { return FBoundLabel.get(); }
  // False once the control is gone: code that handles messages and goes on afterwards keeps a
  // copy and checks it.
  std::shared_ptr<bool> AliveFlag() const { return FAlive; }
  void Loaded() override {
    Base::Loaded();
    FCommonData->Loaded(true);
  }

 private:
  void SkinWndProc(fw::TMessage& m, const fw::TWndNext& next) {
    using namespace skin::core;
    // A handler below may free the control (a click handler closing its form).
    const std::shared_ptr<bool> alive = FAlive;
    if (m.Msg != SM_ALPHACMD) {
      if (!CommonWndProc(m, *FCommonData)) next(m);
      if (*alive && FBoundLabel) FBoundLabel->HandleOwnerMsg(m);
      return;
    }
    const UINT cmd = WParamHi(m.WParam);
    if (cmd == AC_GETDEFINDEX) {
      const TsSkinManager* manager = FCommonData->SkinManager();
      const int section = DefSection(*this);
      m.Result = manager && manager->SkinModel() && section >= 0
                     ? manager->ConstData().Sections[std::size_t(section)] + 1
                     : 0;
      return;
    }
    if constexpr (kWindowed)
      if (cmd == AC_SETNEWSKIN) AlphaBroadCast(*this, m);
    const bool handled = CommonWndProc(m, *FCommonData);
    // A section update reaches the controls inside too: every control naming the section.
    if constexpr (kWindowed)
      if (cmd == AC_REMOVESKIN || cmd == AC_REFRESH || cmd == AC_UPDATESECTION)
        AlphaBroadCast(*this, m);
    if (!handled) next(m);
    if (*alive && FBoundLabel && cmd == AC_SETSCALE) FBoundLabel->HandleOwnerMsg(m);
  }

  std::unique_ptr<Data> FCommonData;
  std::unique_ptr<TsBoundLabel> FBoundLabel;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
  fw::TWndHookId FHook = 0;
};

namespace sd = skin::data;
namespace sc = skin::core;

// A windowed skinned control that puts its whole picture on screen from its cache while
// skinned (panels, group boxes, the status bar): the framework paints and erases it only on
// the plain look.
template <class Base, TClassName Name, std::uint8_t Code, auto DefSection>
class TsCachedControl : public TsControl<Base, Name, Code, DefSection> {
  using Skinned = TsControl<Base, Name, Code, DefSection>;

 public:
  using Skinned::Skinned;
  void PaintHandler(gfx::HDC dc) override {
    if (this->SkinData().Skinned())
      SkinPaint(dc);
    else
      Skinned::PaintHandler(dc);
  }

 protected:
  // Puts the skinned picture into dc.
  virtual void SkinPaint(gfx::HDC dc) = 0;
  // The cache covers every pixel.
  void EraseBackground(gfx::HDC dc) override {
    if (!this->SkinData().Skinned()) Skinned::EraseBackground(dc);
  }
  // True when a skin announcement m comes from this control's own manager.
  bool FromOwnManager(const fw::TMessage& m) const {
    const TsSkinManager* manager = this->SkinData().SkinManager();
    return manager && m.LParam == win::LPARAM(manager);
  }
  // The control with its frame and children painted again at once (the skin went or changed).
  void RedrawWhole() {
    if (this->HandleAllocated())
      win::RedrawWindow(this->Handle(), nullptr, nullptr,
                        win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_FRAME |
                            win::RDW_ALLCHILDREN | win::RDW_UPDATENOW);
  }
};

// A skinned control whose window wears a wrapper of class W (its ListSW) while it is skinned:
// made with the window, looked at again when the control shows, on a refresh and on a new skin;
// detached when the skin goes. Its bars follow text changes.
template <class Base, TClassName Name, std::uint8_t Code, auto DefSection, class W>
class TsListSWControl : public TsControl<Base, Name, Code, DefSection, sc::TsScrollWndData> {
  using Skinned = TsControl<Base, Name, Code, DefSection, sc::TsScrollWndData>;

 public:
  explicit TsListSWControl(fw::TComponent* owner) : Skinned(owner) {
    FHook = this->HookWindowProc(
        [this](fw::TMessage& m, const fw::TWndNext& next) { ListSWProc(m, next); });
  }
  ~TsListSWControl() override {
    this->Destroying();
    skin::frame::ReleaseWrapper(std::move(ListSW));
    this->UnhookWindowProc(FHook);
  }
  // The wrapper now, or null.
  skin::frame::TacMainWnd* Wrapper() const { return ListSW.get(); }

 protected:
  void CreateWnd() override {
    Skinned::CreateWnd();
    Refresh();
  }

 private:
  void Refresh() { skin::frame::RefreshScrolls<W>(this->SkinData(), ListSW); }
  void ListSWProc(fw::TMessage& m, const fw::TWndNext& next) {
    next(m);
    if (m.Msg == fw::CM_SHOWINGCHANGED) {
      Refresh();
    } else if (m.Msg == fw::CM_TEXTCHANGED || m.Msg == fw::CM_CHANGED) {
      if (auto* sw = dynamic_cast<skin::frame::TacScrollWnd*>(ListSW.get()))
        if (!sw->Destroyed()) sw->UpdateScrolls(true);
    } else if (m.Msg == sc::SM_ALPHACMD) {
      const win::UINT cmd = sc::WParamHi(m.WParam);
      if (cmd == sc::AC_SETNEWSKIN || cmd == sc::AC_REFRESH)
        Refresh();
      else if (cmd == sc::AC_REMOVESKIN && ListSW)
        ListSW->Uninitialize(true);
    }
  }

  std::unique_ptr<skin::frame::TacMainWnd> ListSW;
  fw::TWndHookId FHook = 0;
};

}  // namespace skin::controls
