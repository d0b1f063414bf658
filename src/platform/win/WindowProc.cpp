#include "platform/win/WindowProc.h"

#include "platform/win/WindowSystem.h"

namespace win {

using namespace detail;

namespace detail {

LRESULT Deliver(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hwnd);
  if (!w || !w->created || hwnd == S().desktop) return 0;
  WNDPROC proc = w->proc;  // the procedure may be replaced while it runs
  return proc ? (*proc)(hwnd, msg, wParam, lParam) : 0;
}

// One hook of a subclass chain. A removed node keeps its link to the node below, so a hook
// that is still running after its removal continues down the chain.
struct SubclassNode {
  SUBCLASSPROC proc;
  UINT_PTR id = 0;
  DWORD_PTR refData = 0;
  std::shared_ptr<SubclassNode> next;
  bool removed = false;
};

struct SubclassChain {
  std::shared_ptr<SubclassNode> head;
  WNDPROC original;  // the window procedure below the chain
  WNDPROC master;    // the procedure that runs the chain
};

}  // namespace detail

namespace {

// The hooks running now, innermost last.
struct Frame {
  HWND hwnd;
  std::shared_ptr<SubclassChain> chain;
  std::shared_ptr<SubclassNode> node;
};
std::vector<Frame>& Frames() {
  static std::vector<Frame> frames;
  return frames;
}

std::shared_ptr<SubclassNode> LiveFrom(std::shared_ptr<SubclassNode> node) {
  while (node && node->removed) node = node->next;
  return node;
}

LRESULT RunFrom(const std::shared_ptr<SubclassChain>& chain, std::shared_ptr<SubclassNode> node,
                HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  node = LiveFrom(std::move(node));
  if (!node) return CallWindowProcW(chain->original, hwnd, msg, wParam, lParam);
  auto& frames = Frames();
  frames.push_back({hwnd, chain, node});
  struct Pop {
    ~Pop() { Frames().pop_back(); }
  } pop;
  return node->proc(hwnd, msg, wParam, lParam, node->id, node->refData);
}

}  // namespace

LRESULT CallWindowProcW(const WNDPROC& proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return proc ? (*proc)(hwnd, msg, wParam, lParam) : 0;
}

bool SetWindowSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR refData) {
  Window* w = FindReal(hwnd);
  if (!w || !proc) return false;
  if (!w->subclasses) {
    auto chain = std::make_shared<SubclassChain>();
    chain->original = w->proc;
    std::weak_ptr<SubclassChain> weak = chain;
    chain->master = MakeWindowProc([weak](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
      auto c = weak.lock();
      return c ? RunFrom(c, c->head, h, m, wp, lp) : 0;
    });
    w->proc = chain->master;
    w->subclasses = chain;
  }
  for (auto n = w->subclasses->head; n; n = n->next)
    if (n->id == id && !n->removed) {
      n->proc = std::move(proc);
      n->refData = refData;
      return true;
    }
  auto node = std::make_shared<SubclassNode>();
  node->proc = std::move(proc);
  node->id = id;
  node->refData = refData;
  node->next = w->subclasses->head;
  w->subclasses->head = node;
  return true;
}

bool GetWindowSubclass(HWND hwnd, UINT_PTR id, DWORD_PTR* refData) {
  Window* w = FindReal(hwnd);
  if (!w || !w->subclasses) return false;
  for (auto n = w->subclasses->head; n; n = n->next)
    if (n->id == id) {
      if (refData) *refData = n->refData;
      return true;
    }
  return false;
}

bool RemoveWindowSubclass(HWND hwnd, UINT_PTR id) {
  Window* w = FindReal(hwnd);
  if (!w || !w->subclasses) return false;
  auto& chain = *w->subclasses;
  std::shared_ptr<SubclassNode> prev;
  for (auto n = chain.head; n; prev = n, n = n->next) {
    if (n->id != id) continue;
    (prev ? prev->next : chain.head) = n->next;
    n->removed = true;
    if (!chain.head && w->proc == chain.master) {
      // The last hook is gone and nobody replaced the procedure above the chain.
      w->proc = chain.original;
      w->subclasses.reset();
    }
    return true;
  }
  return false;
}

LRESULT DefSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto& frames = Frames();
  for (auto it = frames.rbegin(); it != frames.rend(); ++it) {
    if (it->hwnd != hwnd) continue;
    auto chain = it->chain;
    auto next = it->node->next;
    return RunFrom(chain, next, hwnd, msg, wParam, lParam);
  }
  throw WindowError("DefSubclassProc called outside a subclass hook of the window");
}

}  // namespace win
