#include "skin/core/acSkinAnnouncer.h"

#include <string>

#include "skin/core/sMessages.h"
#include "skin/core/sStyleSimply.h"
#include "skin/core/sVclUtils.h"
#include "skin/data/acSkinPack.h"

namespace skin::core {
namespace {

// Runs its action when the scope ends, however it ends. The actions only clear flags.
template <class F>
class TacOnExit {
 public:
  explicit TacOnExit(F action) : FAction(action) {}
  ~TacOnExit() { FAction(); }
  TacOnExit(const TacOnExit&) = delete;
  TacOnExit& operator=(const TacOnExit&) = delete;

 private:
  F FAction;
};

fw::TMessage Announcement(UINT cmd, TacSkinAnnouncer& manager) {
  return {SM_ALPHACMD, MakeAlphaCmd(cmd), LPARAM(&manager.Sender()), 0};
}

bool IsLoading(TacSkinAnnouncer& manager) {
  return manager.Sender().HasState(fw::csLoading) || manager.Sender().HasState(fw::csReading);
}

}  // namespace

void SendNewSkin(TacSkinAnnouncer& manager, bool repaint) {
  if (IsLoading(manager)) return;
  manager.SetSkinLoading(true);
  TacOnExit loading([&] { manager.SetSkinLoading(false); });
  manager.BeforeNewSkin();
  {
    RestrictDrawing = true;
    TacOnExit restrict([] { RestrictDrawing = false; });
    AppBroadCastS(Announcement(AC_SETNEWSKIN, manager));
  }
  manager.AfterNewSkin();
  if (repaint) RepaintForms(manager, false);
}

void SendRemoveSkin(TacSkinAnnouncer& manager) {
  manager.SetSkinRemoving(true);
  TacOnExit removing([&] { manager.SetSkinRemoving(false); });
  manager.BeforeRemoveSkin();
  AppBroadCastS(Announcement(AC_REMOVESKIN, manager));
  manager.AfterRemoveSkin();
}

void RepaintForms(TacSkinAnnouncer& manager, bool lockForms) {
  AppBroadCastS(Announcement(AC_STOPFADING, manager));
  const fw::TMessage refresh = Announcement(AC_REFRESH, manager);
  if (!lockForms || IsLoading(manager)) {
    AppBroadCastS(refresh);
    return;
  }
  manager.LockForms();
  try {
    AppBroadCastS(refresh);
  } catch (...) {
    manager.UnLockForms();
    throw;
  }
  manager.UnLockForms();
}

void UpdateSkinSection(std::string_view sectionName) {
  const std::string name = data::UpperCase(sectionName);
  AppBroadCastS({SM_ALPHACMD, MakeAlphaCmd(AC_UPDATESECTION), LPARAM(name.c_str()), 0});
}

}  // namespace skin::core
