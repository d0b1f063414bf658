#include "platform/win/Hooks.h"

#include <memory>
#include <vector>

#include "platform/win/WindowSystem.h"

namespace win {

using namespace detail;

namespace detail {

// One installed hook (WH_CBT is the one kind). A removed node keeps its link to the node below, so
// that a hook still running after its removal passes calls on to the hooks below it.
struct HookNode {
  HHOOK handle = nullptr;
  HOOKPROC proc;
  std::shared_ptr<HookNode> next;
  bool removed = false;
};

}  // namespace detail

namespace {

// The hooks running now, innermost last.
std::vector<std::shared_ptr<HookNode>>& Running() {
  static std::vector<std::shared_ptr<HookNode>> running;
  return running;
}

LRESULT RunFrom(std::shared_ptr<HookNode> node, int code, WPARAM wParam, LPARAM lParam) {
  while (node && node->removed) node = node->next;
  if (!node) return 0;
  Running().push_back(node);
  struct Pop {
    ~Pop() { Running().pop_back(); }
  } pop;
  return node->proc(code, wParam, lParam);
}

}  // namespace

namespace detail {

LRESULT CallCbtHooks(int code, WPARAM wParam, LPARAM lParam) {
  return RunFrom(S().cbtHooks, code, wParam, lParam);
}

}  // namespace detail

HHOOK SetWindowsHookExW(int idHook, HOOKPROC proc) {
  if (idHook != WH_CBT || !proc) return nullptr;
  auto node = std::make_shared<HookNode>();
  node->handle = reinterpret_cast<HHOOK>(S().nextHook);
  S().nextHook += 4;
  node->proc = std::move(proc);
  node->next = S().cbtHooks;
  S().cbtHooks = node;
  return node->handle;
}

bool UnhookWindowsHookEx(HHOOK hook) {
  if (!hook) return false;
  std::shared_ptr<HookNode>& head = S().cbtHooks;
  std::shared_ptr<HookNode> prev;
  for (auto n = head; n; prev = n, n = n->next) {
    if (n->handle != hook) continue;
    (prev ? prev->next : head) = n->next;
    n->removed = true;
    return true;
  }
  return false;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
  const auto& running = Running();
  for (auto it = running.rbegin(); it != running.rend(); ++it)
    if ((*it)->handle == hook) return RunFrom((*it)->next, code, wParam, lParam);
  for (auto n = S().cbtHooks; n; n = n->next)
    if (n->handle == hook) return RunFrom(n->next, code, wParam, lParam);
  if (!running.empty()) return RunFrom(running.back()->next, code, wParam, lParam);
  return 0;
}

}  // namespace win
