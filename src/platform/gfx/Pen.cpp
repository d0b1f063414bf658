#include "platform/gfx/Pen.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace gfx {

namespace {

std::atomic<TCreatePenProc> gCreatePen{nullptr};

// Pens are made and freed from any thread.
std::mutex& PensLock() {
  static std::mutex lock;
  return lock;
}

std::vector<std::unique_ptr<Pen>>& Pens() {
  static std::vector<std::unique_ptr<Pen>> pens;
  return pens;
}

}  // namespace

HPEN DefCreatePen(int style, int width, COLORREF color) {
  auto pen = std::make_unique<Pen>(Pen{style, width, color});
  const std::lock_guard lock(PensLock());
  Pens().push_back(std::move(pen));
  return Pens().back().get();
}

HPEN CreatePen(int style, int width, COLORREF color) {
  const TCreatePenProc proc = gCreatePen.load();
  return proc ? proc(style, width, color) : DefCreatePen(style, width, color);
}

bool DeletePen(HPEN pen) {
  const std::lock_guard lock(PensLock());
  return std::erase_if(Pens(), [pen](const std::unique_ptr<Pen>& p) { return p.get() == pen; }) !=
         0;
}

std::size_t PenCount() {
  const std::lock_guard lock(PensLock());
  return Pens().size();
}

bool SelectPen(HDC dc, HPEN pen) {
  if (!dc || !pen) return false;
  SetDCPenColor(dc, pen->style == PS_NULL ? CLR_NONE : pen->color);
  return true;
}

TCreatePenProc SetCreatePenProc(TCreatePenProc proc) {
  return gCreatePen.exchange(proc);
}

}  // namespace gfx
