#include "framework/UtilWindow.h"

#include <memory>

#include "framework/Exception.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"

namespace fw {

using namespace win;

namespace {

constexpr char16_t kUtilWindowClass[] = u"TPUtilWindow";

// Kept behind GWLP_USERDATA; shared so that a method whose window is destroyed while it runs
// (a timer freed by its own event) lives until it returns.
using MethodHolder = std::shared_ptr<TWndMethod>;

}  // namespace

HWND AllocateHWnd(TWndMethod method) {
  WNDCLASSEXW wc;
  wc.lpszClassName = kUtilWindowClass;
  wc.lpfnWndProc = MakeWindowProc([](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
    auto* holder = reinterpret_cast<MethodHolder*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (holder && msg == WM_NCDESTROY) {
      SetWindowLongPtrW(h, GWLP_USERDATA, 0);
      delete holder;
      holder = nullptr;
    }
    if (!holder) return DefWindowProcW(h, msg, w, l);
    MethodHolder method = *holder;
    TMessage m{msg, w, l, 0};
    (*method)(m);
    return m.Result;
  });
  RegisterClassExW(wc);  // 0 when already registered, which is fine
  HWND h =
      CreateWindowExW(WS_EX_TOOLWINDOW, kUtilWindowClass, u"", WS_POPUP, 0, 0, 0, 0, nullptr, 0);
  if (!h) throw Exception(u"Cannot create a utility window");
  // Attached once the window exists: the method sees it from its first message on.
  SetWindowLongPtrW(h, GWLP_USERDATA,
                    reinterpret_cast<LONG_PTR>(
                        new MethodHolder(std::make_shared<TWndMethod>(std::move(method)))));
  return h;
}

void DeallocateHWnd(HWND wnd) {
  if (IsWindow(wnd)) DestroyWindow(wnd);
}

}  // namespace fw
