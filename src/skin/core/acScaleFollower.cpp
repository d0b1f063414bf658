#include "skin/core/acScaleFollower.h"

#include <algorithm>
#include <vector>

namespace skin::core {

namespace {

// Never destroyed: followers owned by objects that outlive static destruction still leave.
std::vector<TacScaleFollower*>& Followers() {
  static auto* followers = new std::vector<TacScaleFollower*>;
  return *followers;
}

}  // namespace

TacScaleFollower::TacScaleFollower() {
  Followers().push_back(this);
}

TacScaleFollower::~TacScaleFollower() {
  auto& followers = Followers();
  followers.erase(std::remove(followers.begin(), followers.end(), this), followers.end());
}

void TacScaleFollower::IterateFollowers(const std::function<void(TacScaleFollower*)>& f) {
  const std::vector<TacScaleFollower*> walk = Followers();
  for (TacScaleFollower* follower : walk) {
    const auto& live = Followers();
    if (std::find(live.begin(), live.end(), follower) != live.end()) f(follower);
  }
}

}  // namespace skin::core
