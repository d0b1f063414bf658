#include "skin/frame/sCtrlAdapter.h"

#include <algorithm>
#include <array>

#include "framework/TextConv.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sVclUtils.h"

namespace skin::frame {

namespace {

using TWrapperMaker = std::unique_ptr<TacMainWnd> (*)(HWND, const TacSkinParams&, TsSkinManager*);

template <class W>
std::unique_ptr<TacMainWnd> Make(HWND handle, const TacSkinParams& params, TsSkinManager* manager) {
  return TacMainWnd::Create<W>(handle, true, params, manager, nullptr);
}

// The wrapper class of each list, in list order (WndTypes); null where the kind has no wrapper
// class yet, so a control of that list stays as it is.
constexpr std::array<TWrapperMaker, TsThirdPartyList::kCount> WndTypes = {
    Make<TacEditWnd>,      // ThirdEdits
    Make<TacButtonWnd>,    // ThirdButtons
    Make<TacBitBtnWnd>,    // ThirdBitBtns
    nullptr,               // ThirdCheckBoxes
    nullptr,               // ThirdComboBoxes
    nullptr,               // ThirdGrids
    nullptr,               // ThirdGroupBoxes
    nullptr,               // ThirdListViews
    nullptr,               // ThirdPanels
    Make<TacTreeViewWnd>,  // ThirdTreeViews
    nullptr,               // ThirdWWEdits
    nullptr,               // ThirdGridEh
    nullptr,               // ThirdVirtualTrees
    nullptr,               // ThirdPageControl
    nullptr,               // ThirdTabControl
    nullptr,               // ThirdToolBar
    nullptr,               // ThirdStatusBar
    Make<TacEditWnd>,      // ThirdSpeedButton (windowed controls listed there)
    nullptr,               // ThirdScrollControl
    nullptr,               // ThirdUpDown
    nullptr,               // ThirdScrollBar
    nullptr,               // ThirdStaticText
    nullptr,               // ThirdNativePaint
};

TacFrameSkinner frameSkinner = nullptr;
TacGraphHandlerMaker graphHandlerMaker = nullptr;

// RemoveAllItems does not run inside itself (a wrapper's release may come back to it).
bool removingAll = false;

bool Excepted(const fw::TComponent* c) {
  return (c->Tag & ExceptTag) != 0;
}

bool WindowSkinned(fw::TWinControl* c) {
  return c->HandleAllocated() && skin::core::WndIsSkinned(c->Handle());
}

// The control or one of its parents is going.
bool Going(const fw::TControl* c) {
  for (; c; c = c->Parent())
    if (c->HasState(fw::csDestroying)) return true;
  return false;
}

// Takes the items that are not live out of items, keeping the others' order, and hands each
// to gone.
template <class Item, class Gone>
void DropDead(std::vector<std::unique_ptr<Item>>& items, Gone gone) {
  for (std::size_t i = 0; i < items.size();) {
    if (items[i]->Live()) {
      ++i;
      continue;
    }
    std::unique_ptr<Item> item = std::move(items[i]);
    items.erase(items.begin() + std::ptrdiff_t(i));
    gone(std::move(item));
  }
}

}  // namespace

void SetFrameSkinner(TacFrameSkinner skinner) {
  frameSkinner = skinner;
}

void SetGraphHandlerMaker(TacGraphHandlerMaker maker) {
  graphHandlerMaker = maker;
}

// ---- TacAdapterItem ----------------------------------------------------------------------------

bool TacAdapterItem::DoHook(fw::TWinControl* control, TacSkinParams params) {
  TsSkinManager* manager = Adapter->AdapterOwner().AdapterManager();
  if (Excepted(control) || !control->HandleAllocated() || WindowSkinned(control) || !manager)
    return false;
  params.Control = control;
  const int list = Adapter->ThirdListIndex(control->ClassName());
  if (list < 0 || !WndTypes[std::size_t(list)]) return false;
  ScrollWnd = WndTypes[std::size_t(list)](control->Handle(), params, manager);
  return true;
}

// ---- TacGraphItem ------------------------------------------------------------------------------

bool TacGraphItem::DoHook(fw::TSpeedButton* button) {
  TsSkinManager* manager = Adapter->AdapterOwner().AdapterManager();
  Handler.reset();
  if (Excepted(button) || !graphHandlerMaker || !manager) return false;
  // A button hooked anew starts from clean data: a removed skin leaves its data waiting.
  SkinData = std::make_unique<TsCommonData>(button, true);
  SkinData->COC = skin::core::COC_TsAdapter;
  const std::string section = button->Flat() ? "SPEEDBUTTON_SMALL" : "SPEEDBUTTON";
  SkinData->SetSkinSection(section);
  Handler = graphHandlerMaker(*button, section, manager, *SkinData);
  return Handler != nullptr;
}

// ---- TacCtrlAdapter ----------------------------------------------------------------------------

TacCtrlAdapter::TacCtrlAdapter(TacAdapterOwner& owner) : TComponent(nullptr), FOwner(owner) {}

TacCtrlAdapter::~TacCtrlAdapter() {
  Destroying();
  CleanItems();
  RemoveAllItems();
  const std::vector<TSavedLabel> labels = FLabels;
  for (const TSavedLabel& s : labels)
    if (!Going(s.Label)) InitLabel(s.Label, false);
}

bool TacCtrlAdapter::ThirdPartyAllowed() const {
  const TsSkinManager* manager = FOwner.AdapterManager();
  return FOwner.AllowSkin3rdParty() && manager &&
         (manager->SkinningRules() & skin::core::acBit(skin::core::srThirdParty));
}

int TacCtrlAdapter::ThirdListIndex(const std::string& className) const {
  const std::u16string name = fw::Utf8ToUtf16(className);
  if (const TsThirdPartyList* own = FOwner.OwnThirdParty()) {
    for (int i = 0; i < TsThirdPartyList::kCount; ++i) {
      fw::TStrings lines;
      lines.SetText(own->Text(i));
      if (lines.IndexOf(name) >= 0) return i;
    }
    return -1;
  }
  const TsSkinManager* manager = FOwner.AdapterManager();
  if (!manager) return -1;
  for (int i = 0; i < TsThirdPartyList::kCount; ++i)
    if (manager->ThirdLists(i).IndexOf(name) >= 0) return i;
  return -1;
}

bool TacCtrlAdapter::SkinItemAccepted(fw::TControl* control) {
  TacSkinParams params;
  bool canBeAdded = true;
  FOwner.SkinItem(control, canBeAdded, params);
  return canBeAdded && params.UseSkinFontColor;
}

bool TacCtrlAdapter::IsControlSupported(fw::TComponent* component) {
  if (!component || Excepted(component)) return false;
  auto* control = dynamic_cast<fw::TControl*>(component);
  if (!control) return false;
  if (auto* wc = dynamic_cast<fw::TWinControl*>(control))
    if (!wc->HandleAllocated() || WindowSkinned(wc)) return false;
  if (dynamic_cast<fw::TLabel*>(control) || dynamic_cast<fw::TFrame*>(control) ||
      dynamic_cast<fw::TCustomForm*>(control))
    return SkinItemAccepted(control);
  if (ThirdListIndex(control->ClassName()) < 0) return false;
  return !dynamic_cast<fw::TSpeedButton*>(control) || SkinItemAccepted(control);
}

void TacCtrlAdapter::AddAllItems(fw::TWinControl* owner) {
  if (bFlag || !ThirdPartyAllowed()) return;
  if (!owner) owner = FOwner.AdapterForm();
  if (!owner) return;
  bFlag = true;
  CleanItems();
  // Speed buttons are taken among the child controls only.
  auto take = [this](fw::TComponent* c, bool child) {
    if (IsControlSupported(c)) {
      auto* label = dynamic_cast<fw::TLabel*>(c);
      auto* speed = dynamic_cast<fw::TSpeedButton*>(c);
      if (auto* wc = dynamic_cast<fw::TWinControl*>(c))
        AddNewItem(wc, std::string());
      else if (label && !skin::core::CtrlIsSkinned(label, false))
        InitLabel(label, true);
      else if (speed && child)
        AddNewItem(speed);
    }
    auto* wc = dynamic_cast<fw::TWinControl*>(c);
    if (wc && wc->HandleAllocated() && wc->Parent()) {
      bFlag = false;
      AddAllItems(wc);
    }
  };
  // Components may come and go while wrappers are made: the counts are read each time.
  for (int i = 0; i < owner->ComponentCount(); ++i) take(owner->Components(i), false);
  for (int i = 0; i < owner->ControlCount(); ++i) take(owner->Controls(i), true);
  bFlag = false;
}

void TacCtrlAdapter::AddNewItem(fw::TWinControl* control, const std::string& section) {
  if (!control || !FOwner.AllowSkin3rdParty() || Excepted(control) || !control->Parent() ||
      WindowSkinned(control))
    return;
  TacSkinParams params;
  params.SkinSection = section;
  bool canBeAdded = true;
  FOwner.SkinItem(control, canBeAdded, params);
  if (!canBeAdded) return;
  if (auto* frame = dynamic_cast<fw::TFrame*>(control)) {
    if (frameSkinner) frameSkinner(*frame);
    return;
  }
  if (auto* form = dynamic_cast<fw::TCustomForm*>(control)) {
    FOwner.AddFormProvider(*form, params.SkinSection.empty() ? "FORM" : params.SkinSection);
    return;
  }
  const int index = IndexOf(control);
  if (index < 0) {
    auto item = std::make_unique<TacAdapterItem>();
    item->Adapter = this;
    item->WinCtrl = control;
    TacAdapterItem* added = item.get();
    FItems.push_back(std::move(item));
    FreeNotification(control);
    if (!added->DoHook(control, params)) {
      // The item may have moved meanwhile (a wrapper's messages can change the list).
      const int at = IndexOf(control);
      if (at >= 0) RemoveItem(at);
    }
    return;
  }
  TacAdapterItem& item = *FItems[std::size_t(index)];
  if (item.Live()) return;
  ReleaseWrapper(std::move(item.ScrollWnd));
  item.DoHook(control, params);
}

void TacCtrlAdapter::AddNewItem(fw::TSpeedButton* button) {
  if (!button || !FOwner.AllowSkin3rdParty() || Excepted(button) || !button->Parent() ||
      skin::core::CtrlIsSkinned(button, false))
    return;
  TacSkinParams params;
  params.SkinSection = "SPEEDBUTTON";
  bool canBeAdded = true;
  FOwner.SkinItem(button, canBeAdded, params);
  if (!canBeAdded) return;
  const int index = IndexOfGraph(button);
  if (index >= 0) {
    TacGraphItem& item = *FGraphItems[std::size_t(index)];
    if (!item.Live()) item.DoHook(button);
    return;
  }
  auto item = std::make_unique<TacGraphItem>();
  item->Adapter = this;
  item->Ctrl = button;
  TacGraphItem* added = item.get();
  FGraphItems.push_back(std::move(item));
  FreeNotification(button);
  if (!added->DoHook(button)) {
    const int at = IndexOfGraph(button);
    if (at >= 0) {
      std::unique_ptr<TacGraphItem> dropped = std::move(FGraphItems[std::size_t(at)]);
      FGraphItems.erase(FGraphItems.begin() + at);
      Forget(button);
      ReleaseGraphItem(std::move(dropped), false);
    }
  }
}

void TacCtrlAdapter::WndProc(fw::TMessage& m) {
  // By index: a wrapper's handling may add or remove items.
  for (std::size_t i = 0; i < FItems.size(); ++i) {
    TacAdapterItem& item = *FItems[i];
    if (item.Live() && item.WinCtrl->Parent())
      m.Result = item.ScrollWnd->ProcessMessage(m.Msg, m.WParam, m.LParam);
  }
}

void TacCtrlAdapter::CleanItems() {
  DropDead(FItems, [this](std::unique_ptr<TacAdapterItem> item) {
    Forget(item->WinCtrl);
    ReleaseWrapper(std::move(item->ScrollWnd));
  });
  DropDead(FGraphItems, [this](std::unique_ptr<TacGraphItem> item) {
    Forget(item->Ctrl);
    ReleaseGraphItem(std::move(item), false);
  });
}

void TacCtrlAdapter::RemoveItem(int index) {
  if (index < 0 || index >= Count()) return;
  std::unique_ptr<TacAdapterItem> item = std::move(FItems[std::size_t(index)]);
  FItems[std::size_t(index)] = std::move(FItems.back());
  FItems.pop_back();
  Forget(item->WinCtrl);
  ReleaseWrapper(std::move(item->ScrollWnd));
}

void TacCtrlAdapter::RemoveAllItems() {
  if (removingAll) return;
  removingAll = true;
  struct Reset {
    ~Reset() { removingAll = false; }
  } reset;
  while (!FItems.empty()) RemoveItem(Count() - 1);
  while (!FGraphItems.empty()) {
    std::unique_ptr<TacGraphItem> item = std::move(FGraphItems.back());
    FGraphItems.pop_back();
    Forget(item->Ctrl);
    ReleaseGraphItem(std::move(item), false);
  }
}

void TacCtrlAdapter::ReleaseGraphItem(std::unique_ptr<TacGraphItem> item, bool buttonFreed) {
  if (buttonFreed) {
    if (item->Handler) item->Handler->ButtonFreed();
    if (item->SkinData) item->SkinData->ClearLinks();
  }
  item.reset();
}

int TacCtrlAdapter::IndexOfGraph(const fw::TControl* control) const {
  for (std::size_t i = 0; i < FGraphItems.size(); ++i)
    if (FGraphItems[i]->Ctrl == control) return int(i);
  return -1;
}

int TacCtrlAdapter::IndexOf(const fw::TControl* control) const {
  for (std::size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i]->WinCtrl == control) return int(i);
  return -1;
}

TsCommonData* TacCtrlAdapter::GetCommonData(int index) {
  if (index < 0 || index >= Count()) return nullptr;
  const TacAdapterItem& item = *FItems[std::size_t(index)];
  return item.ScrollWnd ? item.ScrollWnd->SkinData() : nullptr;
}

void TacCtrlAdapter::InitLabel(fw::TLabel* label, bool skinned) {
  if (!label || (label->Tag & ExceptTag) == ExceptTag) return;
  TsSkinManager* manager = FOwner.AdapterManager();
  auto saved = std::find_if(FLabels.begin(), FLabels.end(),
                            [label](const TSavedLabel& s) { return s.Label == label; });
  const bool transparent =
      label->Transparent() || (manager && manager->LabelsOptions().TransparentAlways);
  if (skinned) {
    if (!manager) return;
    if (saved == FLabels.end()) {
      FLabels.push_back({label, label->Font().Color(), label->ParentFont(),
                         (label->ControlStyle & fw::csOpaque) != 0});
      FreeNotification(label);
    }
    if (transparent) label->ControlStyle &= ~fw::csOpaque;
    label->Font().SetColor(fw::TColor(manager->GetGlobalFontColor()));
    return;
  }
  if (saved == FLabels.end()) return;
  const TSavedLabel s = *saved;
  FLabels.erase(saved);
  // The label gets exactly what it had: its colour, or its parent's font again, and its
  // opacity (a transparent label made opaque would keep stale pixels behind it).
  if (s.ParentFont)
    label->SetParentFont(true);
  else
    label->Font().SetColor(s.FontColor);
  if (s.Opaque)
    label->ControlStyle |= fw::csOpaque;
  else
    label->ControlStyle &= ~fw::csOpaque;
  Forget(label);
}

void TacCtrlAdapter::Forget(fw::TControl* control) {
  if (IndexOf(control) >= 0 || IndexOfGraph(control) >= 0) return;
  for (const TSavedLabel& s : FLabels)
    if (s.Label == control) return;
  RemoveFreeNotification(control);
}

void TacCtrlAdapter::Notification(fw::TComponent* component, fw::TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != fw::TOperation::opRemove) return;
  // A freed control's wrapper was detached with its window; the item and any saved colours go.
  // A freed speed button's handler and data let go of it first: it is half gone already.
  for (int i = Count() - 1; i >= 0; --i)
    if (FItems[std::size_t(i)]->WinCtrl == component) {
      std::unique_ptr<TacAdapterItem> item = std::move(FItems[std::size_t(i)]);
      FItems.erase(FItems.begin() + i);
      ReleaseWrapper(std::move(item->ScrollWnd));
    }
  for (int i = GraphCount() - 1; i >= 0; --i)
    if (FGraphItems[std::size_t(i)]->Ctrl == component) {
      std::unique_ptr<TacGraphItem> item = std::move(FGraphItems[std::size_t(i)]);
      FGraphItems.erase(FGraphItems.begin() + i);
      ReleaseGraphItem(std::move(item), true);
    }
  std::erase_if(FLabels, [component](const TSavedLabel& s) { return s.Label == component; });
}

}  // namespace skin::frame
