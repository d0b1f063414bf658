// The demo's MDI children, each with its own skin provider, freed when closed: a text (a memo),
// a picture (an image control) and a card (labels and edits). Each is numbered in its caption.
#pragma once

#include "framework/Form.h"

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

class TPictureChild final : public TChildForm {
 public:
  TPictureChild(fw::TComponent* owner, int number);
  std::string ClassName() const override { return "TPictureChild"; }
};

class TCardChild final : public TChildForm {
 public:
  TCardChild(fw::TComponent* owner, int number);
  std::string ClassName() const override { return "TCardChild"; }
};

}  // namespace mdidemo
