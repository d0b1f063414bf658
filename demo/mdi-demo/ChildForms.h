// The demo's MDI children, each with its own skin provider, freed when closed: a text (a memo),
// a picture (an image control) and a card (labels and edits). Each is numbered in its caption.
#pragma once

#include "framework/Form.h"
#include "framework/Image.h"

namespace mdidemo {

class TChildForm : public fw::TForm {
 public:
  std::string ClassName() const override { return "TChildForm"; }

 protected:
  // An fsMDIChild form of the main form captioned caption, at the client's next cascade step.
  TChildForm(fw::TComponent* owner, const std::u16string& caption);
};

class TTextChild final : public TChildForm {
 public:
  TTextChild(fw::TComponent* owner, int number);
  std::string ClassName() const override { return "TTextChild"; }
};

// The landscape fills the client at any size, maximised too: it is drawn again for the room
// it has, so neither strips of the form nor a distorted picture show.
class TPictureChild final : public TChildForm {
 public:
  TPictureChild(fw::TComponent* owner, int number);
  std::string ClassName() const override { return "TPictureChild"; }

 protected:
  void WndProc(fw::TMessage& m) override;

 private:
  fw::TImage* FImage = nullptr;
  gfx::TSize FDrawn;  // the size the landscape was drawn at
};

class TCardChild final : public TChildForm {
 public:
  TCardChild(fw::TComponent* owner, int number);
  std::string ClassName() const override { return "TCardChild"; }
};

}  // namespace mdidemo
