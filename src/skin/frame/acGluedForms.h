// Forms glued to a skinned master form: skinned forms listed by name that touch the master
// edge to edge when it is activated keep their place beside it when it moves.
#pragma once

#include <string>
#include <vector>

#include "framework/Form.h"
#include "platform/gfx/Geometry.h"

namespace skin::frame {

class TacGluedForms {
 public:
  // The names of the forms that may be glued (GluedForms).
  std::vector<std::string> Names;

  // Makes every visible skinned top-level form listed in Names whose window rectangle touches
  // master's edge to edge (one's top on the other's bottom or one's left on the other's right,
  // overlapping along that edge) a slave of master, remembering its offset from master's
  // client-area origin. Slaves already known keep their entry.
  void UpdateSlaveFormsList(fw::TCustomForm& master);
  // Places every visible slave still listed at master's client-area origin plus its offset;
  // the slave is told (AC_SETPOSCHANGING 1, then 0) so that it does not snap meanwhile.
  void MoveGluedForms(fw::TCustomForm& master);
  // Whether form is a slave of this master.
  bool Linked(const fw::TCustomForm& form) const;

 private:
  struct TacFormsCouple {
    fw::TCustomForm* Slave;
    gfx::TPoint Pos;  // the slave's offset from the master's client-area origin
  };
  bool Listed(const fw::TCustomForm& form) const;
  // Drops slaves that are no longer skinned forms (freed ones leave that list by themselves).
  void Prune();

  std::vector<TacFormsCouple> FSlaves;
};

}  // namespace skin::frame
