// Window wrappers on a plain control under an internal skin: hooks that come off in any order,
// a detached wrapper passing messages through, an error below a wrapper that still unhooks it
// and reaches the application's error handler, and bars that follow the scroll styles and the
// manager's scroll size.
#include <gtest/gtest.h>

#include "InternalSkinFormTest.h"
#include "TestOutput.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/Application.h"
#include "framework/Button.h"
#include "framework/CustomControl.h"
#include "framework/Edit.h"
#include "framework/Exception.h"
#include "framework/Form.h"
#include "framework/TextConv.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/ControlCodes.h"
#include "platform/win/Input.h"
#include "platform/win/MessageBox.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"
#include "skin/core/sFade.h"
#include "skin/core/sGraphUtils.h"
#include "skin/core/sMessages.h"
#include "skin/frame/acSBUtils.h"
#include "skin/internal/sInternalSkins.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::frame {
namespace {

using namespace skin::core;

constexpr unsigned kEnterKey = 0x1C;

class TBox : public fw::TCustomControl {
 public:
  using TCustomControl::TCustomControl;
};

class WrapperTest : public test::InternalSkinFormTest {
 protected:
  void SetUp() override {
    MakeSkinnedForm(300, 200);
    box = new TBox(form);
    box->SetBounds(10, 10, 200, 150);
    box->SetParent(form);
    form->Show();
    desktop.Pump();
    params.Control = box;
    params.SkinSection = "EDIT";
  }
  LRESULT ListSW() {
    return win::SendMessageW(box->Handle(), SM_ALPHACMD, MakeAlphaCmd(AC_GETLISTSW), 0);
  }
  int ClientWidth() {
    win::RECT r;
    win::GetClientRect(box->Handle(), &r);
    return r.Width();
  }

  // Places c on the form and gives it a wrapper of class W with skin data of its own.
  template <class W>
  std::unique_ptr<W> Wrap(fw::TWinControl* c, int left, int top, int width, int height) {
    c->SetBounds(left, top, width, height);
    c->SetParent(form);
    desktop.Pump();
    TacSkinParams p;
    p.Control = c;
    return TacMainWnd::Create<W>(c->Handle(), true, p, manager, nullptr);
  }

  // What the screen shows of h's client area.
  gfx::Bitmap ClientOnScreen(HWND h) {
    win::RECT r;
    win::GetClientRect(h, &r);
    win::POINT o{0, 0};
    win::ClientToScreen(h, &o);
    gfx::Bitmap out(r.Width(), r.Height());
    out.CopyFrom(desktop.Compose(), {o.X, o.Y, o.X + r.Width(), o.Y + r.Height()}, {0, 0});
    return out;
  }
  // The pixels whose colours differ between two pictures of one size.
  static int Differing(const gfx::Bitmap& a, const gfx::Bitmap& b) {
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x) n += (a.At(x, y) & 0xFFFFFF) != (b.At(x, y) & 0xFFFFFF);
    return n;
  }

  TBox* box = nullptr;
  TacSkinParams params;
};

TEST_F(WrapperTest, HooksComeOffInAnyOrderAndADetachedWrapperPassesMessagesThrough) {
  const HWND h = box->Handle();
  auto first = TacMainWnd::Create<TacMainWnd>(h, false, params, manager, nullptr);
  int seen = 0;
  const fw::TWndHookId mine = box->HookWindowProc([&](fw::TMessage& m, const fw::TWndNext& next) {
    if (m.Msg == win::WM_USER + 5) ++seen;
    next(m);
  });
  auto second = TacMainWnd::Create<TacMainWnd>(h, false, params, manager, nullptr);
  EXPECT_EQ(ListSW(), LRESULT(second.get()));
  // The lowest wrapper comes off first: the hooks above it stay linked.
  first->Uninitialize(true);
  EXPECT_TRUE(first->Destroyed());
  EXPECT_TRUE(box->WindowProcHooked(mine));
  EXPECT_EQ(ListSW(), LRESULT(second.get()));
  win::SendMessageW(h, win::WM_USER + 5, 0, 0);
  EXPECT_EQ(seen, 1);
  // Detached, the first one hands a message to the window instead of answering it.
  EXPECT_EQ(first->ProcessMessage(SM_ALPHACMD, MakeAlphaCmd(AC_GETLISTSW), 0),
            LRESULT(second.get()));
  EXPECT_EQ(second->ProcessMessage(SM_ALPHACMD, MakeAlphaCmd(AC_GETLISTSW), 0),
            LRESULT(second.get()));
  // Freed while hooked, a wrapper takes its own hook with it and nothing else.
  second.reset();
  EXPECT_EQ(box->TopWindowProcHook(), mine);
  EXPECT_EQ(ListSW(), 0);
  win::SendMessageW(h, win::WM_USER + 5, 0, 0);
  EXPECT_EQ(seen, 2);
  first.reset();
  EXPECT_TRUE(box->UnhookWindowProc(mine));
}

// A wrapper freed from inside one of its own messages (a control freeing its ListSW while the
// wrapper passes it a message) lives on until its procedure has returned.
TEST_F(WrapperTest, AWrapperFreedInsideItsOwnMessageOutlivesIt) {
  static int freed = 0;
  struct TCounted : TacMainWnd {
    using TacMainWnd::TacMainWnd;
    ~TCounted() override { ++freed; }
  };
  freed = 0;
  std::unique_ptr<TacMainWnd> holder;
  int before = 0;  // freed before the release: still so right after it
  const fw::TWndHookId below = box->HookWindowProc([&](fw::TMessage& m, const fw::TWndNext& next) {
    if (m.Msg == win::WM_USER + 9) {
      ReleaseWrapper(std::move(holder));
      EXPECT_EQ(freed, before);
    }
    next(m);
  });
  holder = TacMainWnd::Create<TCounted>(box->Handle(), false, params, manager, nullptr);
  win::SendMessageW(box->Handle(), win::WM_USER + 9, 0, 0);
  EXPECT_EQ(box->TopWindowProcHook(), below);
  EXPECT_EQ(freed, 0);
  ReleaseWrapper(nullptr);  // the next release frees what waited
  EXPECT_EQ(freed, 1);
  // The same when the message was handed to the wrapper directly (an adapter passing on a skin
  // command).
  holder = TacMainWnd::Create<TCounted>(box->Handle(), false, params, manager, nullptr);
  TacMainWnd* direct = holder.get();
  before = 1;
  direct->ProcessMessage(win::WM_USER + 9, 0, 0);
  EXPECT_EQ(freed, 1);
  ReleaseWrapper(nullptr);
  EXPECT_EQ(freed, 2);
  EXPECT_TRUE(box->UnhookWindowProc(below));
}

TEST_F(WrapperTest, ABareWindowsWrapperLeavesALaterSubclasserInPlace) {
  const HWND h = box->Handle();
  TacSkinParams bare;
  bare.SkinSection = "EDIT";
  auto wrapper = TacMainWnd::Create<TacMainWnd>(h, false, bare, manager, nullptr);
  EXPECT_EQ(Ac_GetScrollWndFromHwnd(h), wrapper.get());
  int passed = 0;
  ASSERT_TRUE(win::SetWindowSubclass(
      h,
      [&](HWND hwnd, UINT msg, WPARAM w, LPARAM l, win::UINT_PTR, win::DWORD_PTR) {
        if (msg == SM_ALPHACMD) ++passed;
        return win::DefSubclassProc(hwnd, msg, w, l);
      },
      77, 0));
  EXPECT_EQ(ListSW(), LRESULT(wrapper.get()));
  wrapper->Uninitialize(false);
  win::DWORD_PTR ref = 0;
  EXPECT_TRUE(win::GetWindowSubclass(h, 77, &ref));
  EXPECT_EQ(ListSW(), 0);
  EXPECT_EQ(passed, 2);
  EXPECT_EQ(Ac_GetScrollWndFromHwnd(h), nullptr);
  wrapper.reset();
  EXPECT_TRUE(win::RemoveWindowSubclass(h, 77));
}

TEST_F(WrapperTest, AnErrorBelowTheWrapperAtDestructionStillUnhooksItAndIsShown) {
  const fw::TWndHookId thrower = box->HookWindowProc([](fw::TMessage& m, const fw::TWndNext& next) {
    if (m.Msg == win::WM_DESTROY) throw fw::Exception(u"broken below the wrapper");
    next(m);
  });
  auto wrapper = TacMainWnd::Create<TacScrollWnd>(box->Handle(), true, params, manager, nullptr);
  desktop.Schedule(10, [] {
    win::InjectKey(kEnterKey, true);
    win::InjectKey(kEnterKey, false);
  });
  box->DestroyHandle();
  desktop.Pump();
  EXPECT_TRUE(wrapper->Destroyed());
  EXPECT_EQ(box->TopWindowProcHook(), thrower);
  ASSERT_EQ(app->Messages().size(), 1u);
  EXPECT_NE(app->Messages().back().Text.find(u"broken below the wrapper"), std::u16string::npos);
  wrapper.reset();
  EXPECT_TRUE(box->UnhookWindowProc(thrower));
}

TEST_F(WrapperTest, BarsFollowTheScrollStylesAndTheManagersScrollSize) {
  const HWND h = box->Handle();
  auto sw = TacMainWnd::Create<TacScrollWnd>(h, true, params, manager, nullptr);
  const int wide = ClientWidth();
  EXPECT_TRUE(sw->Layout(win::SB_VERT).Bar.IsEmpty());
  // The style comes after hooking: the bar appears at the next frame calculation.
  win::SCROLLINFO si;
  si.fMask = win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS;
  si.nMin = 0;
  si.nMax = 99;
  si.nPage = 10;
  si.nPos = 30;
  win::SetScrollInfo(h, win::SB_VERT, si, true);
  desktop.Pump();
  const int thick = win::GetSystemMetrics(win::SM_CXVSCROLL);
  TacBarLayout l = sw->Layout(win::SB_VERT);
  EXPECT_EQ(l.Bar.Width(), thick);
  EXPECT_EQ(ClientWidth(), wide - thick);
  EXPECT_TRUE(l.Active);
  EXPECT_GT(l.Thumb.Size, 0);
  EXPECT_EQ(sw->GetScrollMetric(win::SB_VERT, false), thick);
  // The manager's scroll size makes every skinned bar that thick.
  manager->ScrollsOptions().SetScrollSize(10);
  desktop.Pump();
  EXPECT_EQ(GetScrollSize(manager), 10);
  EXPECT_EQ(sw->Layout(win::SB_VERT).Bar.Width(), 10);
  EXPECT_EQ(ClientWidth(), wide - 10);
  // A horizontal bar takes the bottom beside the vertical one; the corner is neither's.
  si.nMax = 999;
  si.nPage = 100;
  si.nPos = 450;
  win::SetScrollInfo(h, win::SB_HORZ, si, true);
  desktop.Pump();
  const TacBarLayout hl = sw->Layout(win::SB_HORZ), vl = sw->Layout(win::SB_VERT);
  EXPECT_EQ(hl.Bar.Height(), 10);
  EXPECT_EQ(hl.Bar.Right, vl.Bar.Left);
  EXPECT_EQ(vl.Bar.Bottom, hl.Bar.Top);
  EXPECT_EQ(hl.Bar.Width(), ClientWidth());
  EXPECT_TRUE(hl.Active);
  // Position 450 of 0..900: half the thumb's room, to the nearest pixel (halves up).
  EXPECT_EQ(hl.Thumb.Offset, (hl.Bar.Width() - 2 * hl.Button - hl.Thumb.Size + 1) / 2);
  win::ShowScrollBar(h, win::SB_HORZ, false);
  desktop.Pump();
  EXPECT_EQ(sw->Layout(win::SB_VERT).Bar.Bottom, vl.Bar.Bottom + 10);
  // A page that covers the range: the bar stays (the style is kept) but cannot scroll.
  win::ShowScrollBar(h, win::SB_VERT, false);
  desktop.Pump();
  EXPECT_TRUE(sw->Layout(win::SB_VERT).Bar.IsEmpty());
  EXPECT_EQ(ClientWidth(), wide);
  win::EnableScrollBar(h, win::SB_VERT, win::ESB_DISABLE_BOTH);
  win::ShowScrollBar(h, win::SB_VERT, true);
  desktop.Pump();
  l = sw->Layout(win::SB_VERT);
  EXPECT_FALSE(l.Active);
  EXPECT_EQ(l.Thumb.Size, 0);
  // Detached, the window gets its own bars back.
  sw->Uninitialize(true);
  desktop.Pump();
  EXPECT_EQ(ClientWidth(), wide - thick);
  EXPECT_EQ(GetScrollSize(nullptr), thick);
}

// Dragging the thumb of a long range: a window that answers AC_BEFORESCROLL with 1 gets the
// whole position in lParam; one that does not finds it in its scroll info.
TEST_F(WrapperTest, ThumbPositionsAboveSixteenBitsArriveWhole) {
  const HWND h = box->Handle();
  bool wantsFull = true;
  std::vector<std::pair<WPARAM, LPARAM>> tracks;
  std::vector<int> infoPositions;
  const fw::TWndHookId spy = box->HookWindowProc([&](fw::TMessage& m, const fw::TWndNext& next) {
    if (m.Msg == SM_ALPHACMD && WParamHi(m.WParam) == AC_BEFORESCROLL) {
      m.Result = wantsFull ? 1 : 0;
      return;
    }
    if (m.Msg == win::WM_VSCROLL && win::LOWORD(std::uintptr_t(m.WParam)) == win::SB_THUMBTRACK) {
      tracks.push_back({m.WParam, m.LParam});
      infoPositions.push_back(win::GetScrollPos(h, win::SB_VERT));
    }
    next(m);
  });
  auto sw = TacMainWnd::Create<TacScrollWnd>(h, true, params, manager, nullptr);
  win::SCROLLINFO si;
  si.fMask = win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS;
  si.nMax = 1000000;
  si.nPage = 1000;
  win::SetScrollInfo(h, win::SB_VERT, si, true);
  desktop.Pump();
  auto drag = [&](int by) {
    const TacBarLayout l = sw->Layout(win::SB_VERT);
    win::RECT wr;
    win::GetWindowRect(h, &wr);
    const gfx::TPoint grab{wr.Left + l.Bar.Left + l.Bar.Width() / 2,
                           wr.Top + l.Bar.Top + l.Button + l.Thumb.Offset + l.Thumb.Size / 2};
    win::InjectMouseMove(grab);
    win::InjectMouseButton(0, true, grab);
    desktop.Pump();
    win::InjectMouseMove({grab.X, grab.Y + by});
    desktop.Pump();
    win::InjectMouseButton(0, false, {grab.X, grab.Y + by});
    desktop.Pump();
  };
  drag(60);
  ASSERT_FALSE(tracks.empty());
  const LPARAM full = tracks.back().second;
  EXPECT_GT(full, 65535);
  EXPECT_EQ(win::HIWORD(std::uintptr_t(tracks.back().first)), 65535);
  // Without the answer: lParam 0, the high word at most 65535, the whole position in the info.
  wantsFull = false;
  tracks.clear();
  infoPositions.clear();
  drag(20);
  ASSERT_FALSE(tracks.empty());
  EXPECT_EQ(tracks.back().second, 0);
  EXPECT_GT(infoPositions.back(), 65535);
  EXPECT_EQ(win::HIWORD(std::uintptr_t(tracks.back().first)), 65535);
  sw.reset();
  EXPECT_TRUE(box->UnhookWindowProc(spy));
}

// A Yes/No/Cancel box and an OK/Cancel box of standard buttons: each modal result keeps its own
// code, so Cancel beside No takes its own colours, and the focus moves a button to its second
// colours.
TEST_F(WrapperTest, ModalButtonsKeepTheirOwnCodesAndColours) {
  manager->ButtonsOptions().ModalButtonsColoring =
      acBit(bcBackground) | acBit(bcGlyph) | acBit(bcText);
  auto addBox = [&](int top) {
    auto* panel = new TBox(form);
    panel->SetBounds(0, top, 300, 40);
    panel->SetParent(form);
    return panel;
  };
  std::vector<std::unique_ptr<TacBtnWnd>> wrappers;
  auto addButton = [&](fw::TWinControl* parent, fw::TModalResult result, int left) {
    auto* b = new fw::TButton(form);
    b->SetBounds(left, 5, 80, 25);
    b->SetModalResult(result);
    b->SetParent(parent);
    desktop.Pump();
    TacSkinParams p;
    p.Control = b;
    wrappers.push_back(TacMainWnd::Create<TacButtonWnd>(b->Handle(), false, p, manager, nullptr));
    return std::pair{b, wrappers.back().get()};
  };
  fw::TWinControl* yesNoCancel = addBox(0);
  auto [yes, yesWnd] = addButton(yesNoCancel, fw::mrYes, 0);
  auto [no, noWnd] = addButton(yesNoCancel, fw::mrNo, 100);
  auto [cancel, cancelWnd] = addButton(yesNoCancel, fw::mrCancel, 200);
  fw::TWinControl* okCancel = addBox(50);
  auto [ok, okWnd] = addButton(okCancel, fw::mrOk, 0);
  auto [cancel2, cancel2Wnd] = addButton(okCancel, fw::mrCancel, 100);
  fw::TWinControl* alone = addBox(100);
  auto [cancel3, cancel3Wnd] = addButton(alone, fw::mrCancel, 0);
  desktop.Pump();
  EXPECT_EQ(yesWnd->ID, 6u);
  EXPECT_EQ(noWnd->ID, 7u);
  EXPECT_EQ(cancelWnd->ID, 2u);
  EXPECT_EQ(okWnd->ID, 1u);
  EXPECT_EQ(cancelWnd->ClassName(), "TacButtonWnd");

  okCancel->SetFocus();
  desktop.Pump();
  for (TacBtnWnd* w : {yesWnd, noWnd, cancelWnd, okWnd, cancel2Wnd})
    EXPECT_EQ(w->CurrentState(), 0);
  auto expect = [](TacBtnWnd* w, std::uint32_t tone, std::uint32_t fg, const char* what) {
    const TacColoring c = w->GetColoring();
    EXPECT_EQ(c.ColorToneBG, tone) << what;
    EXPECT_EQ(c.ColorGlyph, fg) << what;
    EXPECT_EQ(c.ColorText, fg) << what;
  };
  expect(yesWnd, 0xFFE1FFD2, 0xFF28851A, "Yes");
  expect(noWnd, 0xFFD5D5FF, 0xFF0000B4, "No");
  expect(cancelWnd, 0xFFFFEDC9, 0xFFAE7400, "Cancel beside No");
  expect(okWnd, 0xFFE1FFD2, 0xFF28851A, "OK");
  expect(cancel2Wnd, 0xFFD5D5FF, 0xFF0000B4, "Cancel beside OK");
  expect(cancel3Wnd, TacColoring::None, TacColoring::None, "Cancel alone");
  EXPECT_EQ(win::SendMessageW(cancel->Handle(), SM_ALPHACMD, MakeAlphaCmd(AC_GETCOLORTONE), 0),
            LRESULT(0xFFFFEDC9));
  // Focused, a button shows its second colours.
  cancel->SetFocus();
  desktop.Pump();
  EXPECT_EQ(cancelWnd->CurrentState(), 1);
  expect(cancelWnd, 0xFFFFE9BE, 0xFF916000, "Cancel beside No, focused");
  // By default only the glyph colour is set.
  manager->ButtonsOptions().ModalButtonsColoring = acBit(bcGlyph);
  EXPECT_EQ(yesWnd->GetColoring().ColorToneBG, TacColoring::None);
  EXPECT_EQ(yesWnd->GetColoring().ColorText, TacColoring::None);
  EXPECT_EQ(yesWnd->GetColoring().ColorGlyph, 0xFF28851Au);
  // A bare dialog button is known by its control identifier.
  auto* bare = new TBox(form);
  bare->SetParent(alone);
  win::SetWindowLongPtrW(bare->Handle(), win::GWLP_ID, 7);
  auto bareWnd =
      TacMainWnd::Create<TacBtnWnd>(bare->Handle(), false, TacSkinParams{}, manager, nullptr);
  EXPECT_EQ(bareWnd->ID, 7u);
  EXPECT_EQ(bareWnd->SkinData()->SkinSection(), "BUTTON");
}

// A wrapped standard button is painted from its section over its parent, recoloured by its
// modal tone, and the screen shows exactly that picture.
TEST_F(WrapperTest, AWrappedButtonShowsItsSectionInItsModalTone) {
  manager->ButtonsOptions().ModalButtonsColoring = acBit(bcBackground) | acBit(bcText);
  std::vector<std::unique_ptr<TacBtnWnd>> wrappers;
  fw::TButton* buttons[3] = {};
  const fw::TModalResult results[3] = {fw::mrYes, fw::mrNo, fw::mrCancel};
  for (int i = 0; i < 3; ++i) {
    buttons[i] = new fw::TButton(form);
    buttons[i]->SetBounds(20 + 90 * i, 170, 80, 25);
    buttons[i]->SetModalResult(results[i]);
    buttons[i]->SetCaption(u"Кнопка");
    buttons[i]->SetParent(form);
  }
  desktop.Pump();
  for (fw::TButton* b : buttons) {
    TacSkinParams p;
    p.Control = b;
    wrappers.push_back(TacMainWnd::Create<TacButtonWnd>(b->Handle(), false, p, manager, nullptr));
    win::InvalidateRect(b->Handle(), nullptr, true);
  }
  desktop.Pump();
  TacBtnWnd* cancel = wrappers[2].get();
  ASSERT_NE(cancel->SkinData()->CacheBmp(), nullptr);
  const gfx::Bitmap toned = *cancel->SkinData()->CacheBmp();
  ASSERT_EQ(toned.Width(), 80);
  win::RECT r;
  win::GetWindowRect(buttons[2]->Handle(), &r);
  const gfx::Bitmap screen = desktop.Compose();
  int differing = 0;
  for (int y = 0; y < toned.Height(); ++y)
    for (int x = 0; x < toned.Width(); ++x)
      differing += (screen.At(r.Left + x, r.Top + y) & 0xFFFFFF) != (toned.At(x, y) & 0xFFFFFF);
  EXPECT_EQ(differing, 0);
  gfx::Bitmap row(280, 35);
  row.CopyFrom(screen, {r.Left - 200, r.Top - 5, r.Left + 80, r.Top + 30}, {0, 0});
  gfx::WriteFileBytes((tests::OutputFolder("frame") / "buttons.png").string(), gfx::EncodePng(row));
  // Focused, the Yes button fades to its hot picture, which the screen shows at the end.
  TacBtnWnd* yes = wrappers[0].get();
  buttons[0]->SetFocus();
  desktop.Pump();
  EXPECT_EQ(yes->CurrentState(), 1);
  EXPECT_NE(skin::core::AnimFrame(*yes->SkinData()), nullptr);
  desktop.Advance(1000);
  EXPECT_EQ(skin::core::AnimFrame(*yes->SkinData()), nullptr);
  win::GetWindowRect(buttons[0]->Handle(), &r);
  const gfx::Bitmap after = desktop.Compose();
  const gfx::Bitmap& hot = *yes->SkinData()->CacheBmp();
  differing = 0;
  for (int y = 0; y < hot.Height(); ++y)
    for (int x = 0; x < hot.Width(); ++x)
      differing += (after.At(r.Left + x, r.Top + y) & 0xFFFFFF) != (hot.At(x, y) & 0xFFFFFF);
  EXPECT_EQ(differing, 0);
  // Without modal colours the same button paints other pixels.
  manager->ButtonsOptions().ModalButtonsColoring = 0;
  ASSERT_TRUE(cancel->PrepareCache());
  const gfx::Bitmap plain = *cancel->SkinData()->CacheBmp();
  int changed = 0;
  for (int y = 0; y < plain.Height(); ++y)
    for (int x = 0; x < plain.Width(); ++x) changed += plain.At(x, y) != toned.At(x, y);
  EXPECT_GT(changed, plain.Width() * plain.Height() / 2);
}

// A window that draws a strip of its own in the non-client area (below its 2-pixel edge): the
// edit wrapper paints only the edge from its section and leaves the strip as the window drew it.
class TStripped : public fw::TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  static constexpr fw::TColor kStrip = 0x0000FF;

 protected:
  void WndProc(fw::TMessage& m) override {
    if (m.Msg == win::WM_NCCALCSIZE) {
      win::RECT* r = m.WParam ? &reinterpret_cast<win::NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0]
                              : reinterpret_cast<win::RECT*>(m.LParam);
      *r = {r->Left + 2, r->Top + 10, r->Right - 2, r->Bottom - 2};
      m.Result = 0;
      return;
    }
    if (m.Msg == win::WM_NCPAINT) {
      win::HDC dc = win::GetWindowDC(Handle());
      skin::paint::FillDC(dc, {0, 0, Width(), 10}, kStrip);
      win::ReleaseDC(Handle(), dc);
      m.Result = 0;
      return;
    }
    TCustomControl::WndProc(m);
  }
};

TEST_F(WrapperTest, AnEditWrapperPaintsOnlyTheEdgeAroundAWindowsOwnNonClientContent) {
  auto* c = new TStripped(form);
  auto w = Wrap<TacEditWnd>(c, 20, 20, 120, 60);
  win::RedrawWindow(c->Handle(), nullptr, nullptr, win::RDW_FRAME | win::RDW_INVALIDATE);
  desktop.Pump();
  EXPECT_TRUE(w->NCContent());
  ASSERT_NE(w->SkinData()->CacheBmp(), nullptr);
  const gfx::Bitmap cache = *w->SkinData()->CacheBmp();
  ASSERT_EQ(cache.Width(), 120);
  win::RECT wr;
  win::GetWindowRect(c->Handle(), &wr);
  const gfx::Bitmap screen = desktop.Compose();
  auto at = [&](int x, int y) { return screen.At(wr.Left + x, wr.Top + y) & 0xFFFFFF; };
  int edge = 0, strip = 0;
  for (int x = 0; x < 120; ++x) {
    for (int y : {0, 1, 58, 59}) edge += at(x, y) != (cache.At(x, y) & 0xFFFFFF);
    for (int y = 2; y < 10; ++y)
      if (x >= 2 && x < 118) strip += at(x, y) != skin::paint::SwapRedBlue(TStripped::kStrip);
  }
  for (int y = 0; y < 60; ++y)
    for (int x : {0, 1, 118, 119}) edge += at(x, y) != (cache.At(x, y) & 0xFFFFFF);
  EXPECT_EQ(edge, 0);
  EXPECT_EQ(strip, 0);
  w.reset();
}

// A disabled single-line edit is painted wholly by its wrapper: an empty one shows exactly its
// section; its text hint, its text and its password (an asterisk shown as U+25CF) are drawn
// over it, the hint in a colour of its own; nothing is erased under it.
TEST_F(WrapperTest, ADisabledEditIsPaintedWhollyFromItsSection) {
  auto* edit = new fw::TEdit(form);
  auto w = Wrap<TacEditWnd>(edit, 20, 20, 120, 24);
  edit->SetEnabled(false);
  desktop.Pump();
  const HWND h = edit->Handle();
  auto client = [&]() { return ClientOnScreen(h); };
  const gfx::Bitmap empty = client();
  ASSERT_NE(w->SkinData()->CacheBmp(), nullptr);
  {
    // The section blended with the form's colour behind it, frame and client alike.
    win::RECT wr;
    win::GetWindowRect(h, &wr);
    win::POINT o{0, 0};
    win::ClientToScreen(h, &o);
    // The form is one colour where nothing lies on it.
    const gfx::COLORREF formColour = gfx::ColorFromPixel(desktop.Compose().At(2, 2));
    gfx::Bitmap whole = *w->SkinData()->CacheBmp();
    skin::paint::BlendColorRect(whole, {0, 0, whole.Width() - 1, whole.Height() - 1},
                                DefBlendDisabled, fw::TColor(formColour));
    gfx::Bitmap section(empty.Width(), empty.Height());
    section.CopyFrom(whole,
                     {o.X - wr.Left, o.Y - wr.Top, o.X - wr.Left + section.Width(),
                      o.Y - wr.Top + section.Height()},
                     {0, 0});
    EXPECT_EQ(Differing(empty, section), 0) << std::hex << formColour;
    gfx::Bitmap onScreen(whole.Width(), whole.Height());
    onScreen.CopyFrom(desktop.Compose(), {wr.Left, wr.Top, wr.Right, wr.Bottom}, {0, 0});
    EXPECT_EQ(Differing(onScreen, whole), 0) << "the frame is blended too";
  }
  EXPECT_EQ(win::SendMessageW(h, win::WM_ERASEBKGND, 0, 0), 1);
  edit->SetTextHint(u"Поиск");
  desktop.Pump();
  const gfx::Bitmap hint = client();
  EXPECT_GT(Differing(hint, empty), 0);
  edit->SetPasswordChar(u'*');
  edit->SetText(u"abc");
  desktop.Pump();
  const gfx::Bitmap password = client();
  EXPECT_GT(Differing(password, empty), 0);
  edit->SetPasswordChar(0);
  edit->SetText(u"\u25CF\u25CF\u25CF");
  desktop.Pump();
  EXPECT_EQ(Differing(client(), password), 0);
  // The hint's colour is not the text's.
  edit->SetText(u"Поиск");
  desktop.Pump();
  EXPECT_GT(Differing(client(), hint), 0);
  w.reset();
}

// A long text scrolled to its end shows the same part when its edit is disabled: the text
// stands where the edit drew it, only its colour changes. The wrapped control's DisabledKind
// chooses the look.
TEST_F(WrapperTest, ADisabledEditShowsItsTextWhereTheEditScrolledIt) {
  auto* edit = new fw::TEdit(form);
  auto w = Wrap<TacEditWnd>(edit, 20, 20, 120, 24);
  const HWND h = edit->Handle();
  auto client = [&]() { return ClientOnScreen(h); };
  // The columns where the text leaves ink, against the same edit without text.
  auto inkColumns = [](const gfx::Bitmap& text, const gfx::Bitmap& blank) {
    std::vector<bool> ink(std::size_t(text.Width()), false);
    for (int x = 0; x < text.Width(); ++x)
      for (int y = 0; y < text.Height(); ++y)
        if ((text.At(x, y) & 0xFFFFFF) != (blank.At(x, y) & 0xFFFFFF)) ink[std::size_t(x)] = true;
    return ink;
  };
  const std::u16string text = u"MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM  1";
  edit->SetText(text);
  edit->SetSelStart(int(text.size()));
  desktop.Pump();
  ASSERT_GT(edit->ScrollX(), 0) << "the caret at the end scrolls the text";
  const gfx::Bitmap enabledText = client();
  edit->SetEnabled(false);
  desktop.Pump();
  ASSERT_GT(edit->ScrollX(), 0) << "disabling keeps the scroll";
  const gfx::Bitmap disabledText = client();
  const int scroll = edit->ScrollX();
  edit->SetText(u"");
  desktop.Pump();
  const gfx::Bitmap disabledBlank = client();
  edit->SetEnabled(true);
  desktop.Pump();
  const gfx::Bitmap enabledBlank = client();
  const auto enabledInk = inkColumns(enabledText, enabledBlank);
  const auto disabledInk = inkColumns(disabledText, disabledBlank);
  int inked = 0, disagree = 0;
  for (std::size_t x = 0; x < enabledInk.size(); ++x) {
    inked += enabledInk[x];
    disagree += enabledInk[x] != disabledInk[x];
  }
  EXPECT_GT(inked, 20);
  // Anti-aliased edges of a lighter colour may vanish into the ground: a column or two.
  EXPECT_LE(disagree, 2) << "scrolled by " << scroll;

  // The wrapped control's DisabledKind makes the look: none leaves the section as it is,
  // grayed and blended each change it, differently.
  struct TKindEdit : fw::TEdit, IacDisabledKind {
    using fw::TEdit::TEdit;
    unsigned DisabledKind() const override { return Kind; }
    unsigned Kind = 0;
  };
  auto* kinded = new TKindEdit(form);
  auto gw = Wrap<TacEditWnd>(kinded, 20, 60, 120, 24);
  kinded->SetEnabled(false);
  desktop.Pump();
  auto pictureOf = [&](unsigned kind) {
    kinded->Kind = kind;
    return gw->DisabledPicture();
  };
  const gfx::Bitmap none = pictureOf(0);
  ASSERT_FALSE(none.Empty());
  const gfx::Bitmap& section = *gw->SkinData()->CacheBmp();
  EXPECT_EQ(Differing(none, section), 0);
  const gfx::Bitmap grayed = pictureOf(skin::paint::dkGrayed);
  const gfx::Bitmap blended = pictureOf(skin::paint::dkBlended);
  EXPECT_GT(Differing(grayed, section), 0);
  EXPECT_GT(Differing(blended, section), 0);
  EXPECT_GT(Differing(grayed, blended), 0);
  gw.reset();
  w.reset();
}

// A wrapped bit button places its glyph where the button itself does for each layout, shows
// and shows the disabled frame when disabled.
TEST_F(WrapperTest, ABitButtonsGlyphStandsWhereTheButtonPutsIt) {
  constexpr std::uint32_t kRed = 0xFF0000, kBlue = 0x0000FF;
  gfx::Bitmap glyph(24, 12);  // two frames: up (red), disabled (blue)
  skin::paint::FillRect32(glyph, {0, 0, 12, 12}, fw::TColor(0x0000FF), 255);
  skin::paint::FillRect32(glyph, {12, 0, 24, 12}, fw::TColor(0xFF0000), 255);
  const fw::TButtonLayout layouts[4] = {
      fw::TButtonLayout::blGlyphLeft, fw::TButtonLayout::blGlyphRight,
      fw::TButtonLayout::blGlyphTop, fw::TButtonLayout::blGlyphBottom};
  fw::TBitBtn* buttons[4] = {};
  for (int i = 0; i < 4; ++i) {
    buttons[i] = new fw::TBitBtn(form);
    buttons[i]->SetBounds(5 + 72 * i, 60, 70, 44);
    buttons[i]->SetCaption(u"Ок");
    buttons[i]->SetGlyph(glyph);
    buttons[i]->SetNumGlyphs(2);
    buttons[i]->SetLayout(layouts[i]);
    buttons[i]->SetParent(form);
  }
  desktop.Pump();
  // The box of the pixels of one colour in a picture region.
  auto box = [](const gfx::Bitmap& b, gfx::TRect r, std::uint32_t color) {
    gfx::TRect found{1 << 20, 1 << 20, -1, -1};
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if ((b.At(x, y) & 0xFFFFFF) == color)
          found = {std::min(found.Left, x - r.Left), std::min(found.Top, y - r.Top),
                   std::max(found.Right, x - r.Left + 1), std::max(found.Bottom, y - r.Top + 1)};
    return found;
  };
  gfx::TRect plain[4];
  const gfx::Bitmap screen = desktop.Compose();
  for (int i = 0; i < 4; ++i) {
    win::RECT r;
    win::GetWindowRect(buttons[i]->Handle(), &r);
    plain[i] = box(screen, {r.Left, r.Top, r.Right, r.Bottom}, kRed);
    ASSERT_EQ(plain[i].Width(), 12) << i;
    ASSERT_EQ(plain[i].Height(), 12) << i;
  }
  std::vector<std::unique_ptr<TacBtnWnd>> wrappers;
  for (int i = 0; i < 4; ++i) {
    TacSkinParams p;
    p.Control = buttons[i];
    wrappers.push_back(
        TacMainWnd::Create<TacBitBtnWnd>(buttons[i]->Handle(), false, p, manager, nullptr));
    ASSERT_TRUE(wrappers.back()->PrepareCache());
    const gfx::Bitmap& cache = *wrappers.back()->SkinData()->CacheBmp();
    const gfx::TRect skinned = box(cache, cache.Bounds(), kRed);
    EXPECT_EQ(skinned, plain[i]) << i;
  }
  const gfx::Bitmap& first = *wrappers[0]->SkinData()->CacheBmp();
  EXPECT_EQ(wrappers[0]->ClassName(), "TacBitBtnWnd");
  EXPECT_EQ(box(first, first.Bounds(), kBlue).Right, -1);
  // Disabled: the second frame, veiled with the parent like the rest of the button.
  buttons[0]->SetEnabled(false);
  ASSERT_TRUE(wrappers[0]->PrepareCache());
  const gfx::Bitmap& disabled = *wrappers[0]->SkinData()->CacheBmp();
  int red = 0, blue = 0;
  for (int y = plain[0].Top; y < plain[0].Bottom; ++y)
    for (int x = plain[0].Left; x < plain[0].Right; ++x) {
      const std::uint32_t c = disabled.At(x, y);
      const int r = int(c >> 16 & 0xFF), b = int(c & 0xFF);
      red += r > b;
      blue += b > r;
    }
  EXPECT_EQ(red, 0);
  EXPECT_EQ(blue, 144);
  wrappers.clear();
}

// The modal colouring tones a wrapped bit button's glyph: an OK button's grey glyph turns
// green, a Cancel button's beside it red; a button without a modal result keeps its grey.
TEST_F(WrapperTest, AModalBitButtonsGlyphTakesItsColouring) {
  gfx::Bitmap glyph(12, 12);
  skin::paint::FillRect32(glyph, glyph.Bounds(), fw::TColor(0xC0C0C0), 255);
  auto make = [&](int left, fw::TModalResult result) {
    auto* b = new fw::TBitBtn(form);
    b->SetBounds(left, 60, 70, 44);
    b->SetCaption(u"Ок");
    b->SetGlyph(glyph);
    b->SetModalResult(result);
    b->SetParent(form);
    return b;
  };
  fw::TBitBtn* ok = make(5, fw::mrOk);
  fw::TBitBtn* cancel = make(80, fw::mrCancel);
  fw::TBitBtn* plain = make(155, fw::mrNone);
  desktop.Pump();
  // The mean colour of the glyph's place in a wrapper's picture.
  auto glyphColour = [&](fw::TBitBtn* b) {
    TacSkinParams p;
    p.Control = b;
    auto w = TacMainWnd::Create<TacBitBtnWnd>(b->Handle(), false, p, manager, nullptr);
    EXPECT_TRUE(w->PrepareCache());
    gfx::TRect g, c;
    b->CalcLayout({1, 1, b->Width() - 1, b->Height() - 1}, g, c);
    const gfx::Bitmap& cache = *w->SkinData()->CacheBmp();
    const gfx::Pixel px = cache.At(g.Left + g.Width() / 2, g.Top + g.Height() / 2);
    w.reset();
    return std::array<int, 3>{gfx::PixelR(px), gfx::PixelG(px), gfx::PixelB(px)};
  };
  const auto green = glyphColour(ok), red = glyphColour(cancel), grey = glyphColour(plain);
  EXPECT_GT(green[1], green[0] + 40);
  EXPECT_GT(green[1], green[2] + 40);
  EXPECT_GT(red[0], red[1] + 40) << "the stored colour's low byte is red";
  EXPECT_EQ(grey[0], 0xC0);
  EXPECT_EQ(grey[1], 0xC0);
  EXPECT_EQ(grey[2], 0xC0);
}

// A bare bitmap button (the platform's button with BS_BITMAP) wrapped as a bit button: its
// image centred in the skinned face and no text; as a dialog's OK button its image takes the
// modal glyph colour.
TEST_F(WrapperTest, ABareBitmapButtonShowsItsImageOverTheSection) {
  win::RegisterStandardClasses();
  const HWND h = win::CreateWindowExW(0, win::WC_BUTTON, u"Текст",
                                      win::WS_CHILD | win::WS_VISIBLE | win::BS_BITMAP, 200, 150,
                                      70, 34, form->Handle(), 5);
  ASSERT_NE(h, nullptr);
  gfx::Bitmap image(12, 10);
  image.Fill(gfx::MakePixel(0xC0, 0xC0, 0xC0, 255));
  win::SendMessageW(h, win::BM_SETIMAGE, win::IMAGE_BITMAP, win::LPARAM(&image));
  auto w = TacMainWnd::Create<TacBitBtnWnd>(h, false, TacSkinParams{}, manager, nullptr);
  ASSERT_TRUE(w->PrepareCache());
  const gfx::Bitmap withText = *w->SkinData()->CacheBmp();
  const gfx::TRect at = gfx::RectOfSize((70 - 12) / 2, (34 - 10) / 2, 12, 10);
  int inside = 0, outside = 0;
  win::SetWindowTextW(h, u"");
  ASSERT_TRUE(w->PrepareCache());
  const gfx::Bitmap noText = *w->SkinData()->CacheBmp();
  for (int y = 0; y < 34; ++y)
    for (int x = 0; x < 70; ++x) {
      if (at.Contains({x, y}))
        inside += (withText.At(x, y) & 0xFFFFFF) == 0xC0C0C0;
      else
        outside += withText.At(x, y) != noText.At(x, y);
    }
  EXPECT_EQ(inside, 120) << "the image, centred";
  EXPECT_EQ(outside, 0) << "no text";
  // The dialog's OK: green.
  win::SetWindowLongPtrW(h, win::GWLP_ID, 1);
  w.reset();
  auto ok = TacMainWnd::Create<TacBitBtnWnd>(h, false, TacSkinParams{}, manager, nullptr);
  ASSERT_TRUE(ok->PrepareCache());
  const gfx::Pixel p = ok->SkinData()->CacheBmp()->At(at.Left + 6, at.Top + 5);
  EXPECT_GT(int(gfx::PixelG(p)), int(gfx::PixelR(p)) + 40);
  ok.reset();
}

// A bare dialog button (no owning control) paints itself: the screen shows its picture; a
// disabled one is its enabled picture blended with its parent's background; a multi-line
// caption wraps; the focus rectangle is a frame around the caption and nothing else.
TEST_F(WrapperTest, BareDialogButtonsPaintThemselves) {
  auto* bare = new TBox(form);
  bare->SetBounds(220, 160, 70, 34);
  bare->SetParent(form);
  desktop.Pump();
  const HWND h = bare->Handle();
  win::SetWindowLongPtrW(h, win::GWLP_ID, 1);
  win::SetWindowTextW(h, u"");
  auto w = TacMainWnd::Create<TacBtnWnd>(h, false, TacSkinParams{}, manager, nullptr);
  ASSERT_TRUE(w->PrepareCache());
  const gfx::Bitmap enabled = *w->SkinData()->CacheBmp();
  ASSERT_EQ(enabled.Width(), 70);
  // The screen shows the picture.
  win::InvalidateRect(h, nullptr, true);
  desktop.Pump();
  win::RECT r;
  win::GetWindowRect(h, &r);
  const gfx::Bitmap screen = desktop.Compose();
  int differing = 0;
  for (int y = 0; y < enabled.Height(); ++y)
    for (int x = 0; x < enabled.Width(); ++x)
      differing += (screen.At(r.Left + x, r.Top + y) & 0xFFFFFF) != (enabled.At(x, y) & 0xFFFFFF);
  EXPECT_EQ(differing, 0);
  // Disabled: blended with what lies behind it.
  skin::draw::TacBGInfo info;
  GetBGInfo(info, form->Handle(), false);
  ASSERT_EQ(info.BgType, skin::draw::TacBGType::btFill);
  gfx::Bitmap behind(70, 34);
  skin::paint::FillRect32(behind, behind.Bounds(), info.Color, 255);
  gfx::Bitmap expected = enabled;
  skin::paint::BlendTransRectangle(expected, 0, 0, behind, {0, 0, 69, 33}, DefBlendDisabled,
                                   skin::paint::clFuchsia);
  win::EnableWindow(h, false);
  ASSERT_TRUE(w->PrepareCache());
  const gfx::Bitmap disabled = *w->SkinData()->CacheBmp();
  differing = 0;
  for (int y = 0; y < 34; ++y)
    for (int x = 0; x < 70; ++x) differing += disabled.At(x, y) != expected.At(x, y);
  EXPECT_EQ(differing, 0);
  EXPECT_NE(disabled.At(35, 17), enabled.At(35, 17));
  win::EnableWindow(h, true);
  // A long caption takes more rows when the button is multi-line.
  auto textRows = [&]() {
    EXPECT_TRUE(w->PrepareCache());
    const gfx::Bitmap& b = *w->SkinData()->CacheBmp();
    int rows = 0;
    for (int y = 0; y < 34; ++y) {
      bool text = false;
      for (int x = 0; x < 70; ++x) text |= b.At(x, y) != enabled.At(x, y);
      rows += text;
    }
    return rows;
  };
  win::SetWindowTextW(h, u"Сохранить все изменения");
  const int single = textRows();
  win::SetWindowLongPtrW(h, win::GWL_STYLE,
                         win::GetWindowLongPtrW(h, win::GWL_STYLE) | win::BS_MULTILINE);
  const int multi = textRows();
  EXPECT_GT(single, 0);
  EXPECT_GT(multi, single);
  // Focused: the focus rectangle is the only difference, a frame inside the button.
  win::SetWindowTextW(h, u"OK");
  win::SetFocus(h);
  desktop.Pump();
  manager->ButtonsOptions().ShowFocusRect = false;
  ASSERT_TRUE(w->PrepareCache());
  const gfx::Bitmap plain = *w->SkinData()->CacheBmp();
  manager->ButtonsOptions().ShowFocusRect = true;
  ASSERT_TRUE(w->PrepareCache());
  const gfx::Bitmap focused = *w->SkinData()->CacheBmp();
  gfx::TRect box{70, 34, -1, -1};
  differing = 0;
  for (int y = 0; y < 34; ++y)
    for (int x = 0; x < 70; ++x)
      if (focused.At(x, y) != plain.At(x, y)) {
        ++differing;
        box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x),
               std::max(box.Bottom, y)};
      }
  ASSERT_GT(differing, 0);
  EXPECT_GE(box.Top, 3);
  EXPECT_LE(box.Bottom, 34 - 4);
  for (int y = box.Top + 1; y < box.Bottom; ++y)
    for (int x = box.Left + 1; x < box.Right; ++x)
      EXPECT_EQ(focused.At(x, y), plain.At(x, y)) << x << "," << y;
  w.reset();
}

// Both bars of a window in its top-level parent's bottom-right corner meet in a size grip: the
// corner shows "GRIPIMAGE" over the skin's colour and answers HTBOTTOMRIGHT; elsewhere the
// corner is the plain colour. The mouse over the window makes it the manager's hot control.
TEST_F(WrapperTest, TheBarsCornerIsASizeGripInTheParentsCorner) {
  const HWND h = box->Handle();
  box->SetBounds(100, 50, 200, 150);  // the form's client is 300 x 200
  auto sw = TacMainWnd::Create<TacScrollWnd>(h, true, params, manager, nullptr);
  win::SCROLLINFO si;
  si.fMask = win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS;
  si.nMax = 99;
  si.nPage = 10;
  for (int bar : {win::SB_HORZ, win::SB_VERT}) win::SetScrollInfo(h, bar, si, true);
  desktop.Pump();
  ASSERT_TRUE(sw->GripVisible());
  const gfx::TRect corner = sw->CornerRect();
  ASSERT_FALSE(corner.IsEmpty());
  const int grip = manager->ConstData().GripRightBottom;
  ASSERT_TRUE(manager->SkinModel()->IsValidImgIndex(grip));
  auto cornerPixels = [&]() {
    win::RECT wr;
    win::GetWindowRect(h, &wr);
    const gfx::Bitmap screen = desktop.Compose();
    const std::uint32_t plain = skin::paint::SwapRedBlue(std::uint32_t(manager->GetGlobalColor()));
    int other = 0;
    for (int y = corner.Top; y < corner.Bottom; ++y)
      for (int x = corner.Left; x < corner.Right; ++x)
        other += (screen.At(wr.Left + x, wr.Top + y) & 0xFFFFFF) != (plain & 0xFFFFFF);
    return other;
  };
  EXPECT_GT(cornerPixels(), 0);
  win::RECT wr;
  win::GetWindowRect(h, &wr);
  const gfx::TPoint centre{wr.Left + corner.Left + corner.Width() / 2,
                           wr.Top + corner.Top + corner.Height() / 2};
  manager->SetActiveControl(nullptr);
  EXPECT_EQ(win::SendMessageW(h, win::WM_NCHITTEST, 0, win::MAKELPARAM(centre.X, centre.Y)),
            win::HTBOTTOMRIGHT);
  EXPECT_EQ(manager->ActiveControl(), h);
  // Away from the parent's corner: no grip, a plain corner that is neither bar.
  box->SetBounds(50, 20, 200, 150);
  desktop.Pump();
  EXPECT_FALSE(sw->GripVisible());
  EXPECT_EQ(cornerPixels(), 0);
  win::GetWindowRect(h, &wr);
  const gfx::TPoint moved{wr.Left + corner.Left + 2, wr.Top + corner.Top + 2};
  EXPECT_NE(win::SendMessageW(h, win::WM_NCHITTEST, 0, win::MAKELPARAM(moved.X, moved.Y)),
            win::HTBOTTOMRIGHT);
}

// Every internal skin's bar, as it is, with its down arrow hot and with it pressed: the hot and
// pressed arrows are painted from their own states, and the pictures go to test-out to be looked
// at (frame/bars.png: a row per skin).
TEST_F(WrapperTest, EveryInternalSkinPaintsItsBarNormalHotAndPressed) {
  const HWND h = box->Handle();
  auto sw = TacMainWnd::Create<TacScrollWnd>(h, true, params, manager, nullptr);
  win::SCROLLINFO si;
  si.fMask = win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS;
  si.nMax = 99;
  si.nPage = 20;
  si.nPos = 30;
  win::SetScrollInfo(h, win::SB_VERT, si, true);
  desktop.Pump();
  const auto& skins = skin::data::InternalSkins();
  const TacBarLayout first = sw->Layout(win::SB_VERT);
  ASSERT_FALSE(first.Bar.IsEmpty());
  const int w = first.Bar.Width(), hgt = first.Bar.Height();
  gfx::Bitmap sheet(3 * (w + 4), int(skins.size()) * (hgt + 4));
  int row = 0;
  for (const skin::data::TacInternalSkinData& skin : skins) {
    manager->SetSkinName(fw::Utf8ToUtf16(skin.Name));
    desktop.Pump();
    const TacBarLayout l = sw->Layout(win::SB_VERT);
    ASSERT_EQ(l.Bar.Width(), w) << skin.Name;
    win::RECT wr;
    win::GetWindowRect(h, &wr);
    const gfx::TPoint arrow{wr.Left + l.Bar.Left + w / 2, wr.Top + l.Bar.Bottom - l.Button / 2};
    gfx::Bitmap states[3] = {gfx::Bitmap(w, hgt), gfx::Bitmap(w, hgt), gfx::Bitmap(w, hgt)};
    win::InjectMouseMove({0, 0});
    desktop.Advance(50);
    sw->PaintBar(win::SB_VERT, states[0]);
    win::InjectMouseMove(arrow);
    desktop.Pump();
    EXPECT_EQ(sw->HotPart(win::SB_VERT), HTSCROLL_DOWN) << skin.Name;
    sw->PaintBar(win::SB_VERT, states[1]);
    win::InjectMouseButton(0, true, arrow);
    desktop.Pump();
    EXPECT_EQ(sw->PressedPart(win::SB_VERT), HTSCROLL_DOWN) << skin.Name;
    sw->PaintBar(win::SB_VERT, states[2]);
    win::InjectMouseButton(0, false, arrow);
    desktop.Pump();
    // The arrow's button differs between normal and pressed (the press also scrolled, which
    // moves the thumb, so only the button is compared).
    int differing = 0;
    for (int y = hgt - l.Button; y < hgt; ++y)
      for (int x = 0; x < w; ++x) differing += states[0].At(x, y) != states[2].At(x, y);
    EXPECT_GT(differing, 0) << skin.Name;
    for (int i = 0; i < 3; ++i)
      sheet.CopyFrom(states[i], {0, 0, w, hgt}, {2 + i * (w + 4), 2 + row * (hgt + 4)});
    ++row;
  }
  gfx::WriteFileBytes((tests::OutputFolder("frame") / "bars.png").string(), gfx::EncodePng(sheet));
}

}  // namespace
}  // namespace skin::frame
