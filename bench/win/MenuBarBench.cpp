// The mouse moving over a window's menu bar outside any menu loop: each move asks which item
// lies under it. The bar has eight items, half of them owner-drawn (measured by the owner).
#include <benchmark/benchmark.h>

#include "platform/win/Menu.h"
#include "platform/win/MenuWindow.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/NonClient.h"
#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"

namespace win {
namespace {

void MouseMovesOverTheMenuBar(benchmark::State& state) {
  VirtualDesktop desktop;
  WNDCLASSEXW wc;
  wc.lpfnWndProc = MakeWindowProc([](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_MEASUREITEM) {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
      mis->itemWidth += 12;  // room for a picture beside the text
      return 1;
    }
    return DefWindowProcW(h, m, w, l);
  });
  wc.lpszClassName = u"Framed";
  RegisterClassExW(wc);
  HWND frame = CreateWindowExW(0, u"Framed", u"Каталог", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                               1280, 750, nullptr, 0);
  HMENU bar = CreateMenu();
  const char16_t* names[] = {u"&Файл", u"&Правка",  u"&Вид",    u"&Сервис",
                             u"&Окно", u"&Справка", u"&Отчёты", u"&Поиск"};
  for (int i = 0; i < 8; ++i)
    AppendMenuW(bar, i % 2 ? MF_OWNERDRAW : MF_STRING, UINT_PTR(100 + i), names[i]);
  SetMenu(frame, bar);
  desktop.Pump();
  RECT item;
  GetMenuItemRect(frame, bar, 2, &item);
  // Two points within one item: the hot item stays, only the hit test runs.
  const POINT a{item.Left + 2, item.Top + 3}, b{item.Right - 3, item.Bottom - 3};
  bool flip = false;
  for (auto _ : state) {
    flip = !flip;
    SendMessageW(frame, WM_NCMOUSEMOVE, HTMENU, LParamFromPoint(flip ? a : b));
  }
}
BENCHMARK(MouseMovesOverTheMenuBar);

}  // namespace
}  // namespace win
