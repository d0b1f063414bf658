// Dragging controls onto controls, one drag at a time. A drag starts with BeginDrag (or a left
// press on a control whose DragMode is dmAutomatic, once the mouse has moved the threshold)
// and the source's window holds the mouse until it ends. Meanwhile the control under the mouse
// is asked (DragOver: dsDragEnter, dsDragMove, dsDragLeave) whether it takes a drop there, and
// the cursor says so (crDrag, crNoDrop). Releasing the left button drops on a control that
// accepts (DragDrop), then tells the source (DoEndDrag with that target); releasing over one
// that refuses, Escape, a right press, EndDrag(false) or the capture taken away end it with no
// drop (DoEndDrag with no target; the control last under the mouse hears dsDragLeave). A press
// released before the threshold is an ordinary click and raises no drag event.
#pragma once

#include "framework/Control.h"

namespace fw {

class TDragSession {
 public:
  // The control being dragged (also while the drag waits for its threshold), or null.
  static TControl* Source();
  // The drag has passed its threshold.
  static bool Active();
  // The control last under the mouse during the drag (null: none), and whether it accepts.
  static TControl* Target();
  static bool Accepted();

  static void Begin(TControl* source, bool immediate, int threshold);
  // Drops on the accepting target under the mouse (drop true) or cancels.
  static void Finish(bool drop);
  // A message of host's window while a drag runs; true when the drag took it.
  static bool HostMessage(TWinControl* host, TMessage& m);
  // control goes away: a source's drag ends without events, a target is forgotten.
  static void Forget(TControl* control);

 private:
  // Asks t whether it takes the drag at screen point p, telling it state.
  static bool AskOver(TControl* t, TPoint p, TDragState state);
  // The mouse at screen point p during an active drag: the target and the cursor follow.
  static void MoveTo(TPoint p);
};

}  // namespace fw
