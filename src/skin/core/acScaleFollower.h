// Objects of the upper layers that follow the default manager's scale step (the library's
// image lists). Each registers while it lives; a change of the manager's scale mode gives each
// its new step.
#pragma once

#include <functional>

namespace skin::core {

class TacScaleFollower {
 public:
  TacScaleFollower(const TacScaleFollower&) = delete;
  TacScaleFollower& operator=(const TacScaleFollower&) = delete;

  // Takes scale step step (0..3, aScalePercents).
  virtual void SetNewScale(int step) = 0;

  // Calls f for every live follower, oldest first. f may create or free followers: one freed
  // before its turn is skipped, one created during the walk is not visited.
  static void IterateFollowers(const std::function<void(TacScaleFollower*)>& f);

 protected:
  TacScaleFollower();
  virtual ~TacScaleFollower();
};

}  // namespace skin::core
