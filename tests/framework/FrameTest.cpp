// The frame: a container that owns what its description puts on it, with a window class of
// its own.
#include "Harness.h"
#include "framework/Frame.h"
#include "framework/Image.h"
#include "framework/ImageList.h"
#include "framework/Reader.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"

namespace fw::test {
namespace {

class FrameTest : public FrameworkTest {};

TEST_F(FrameTest, OwnsTheControlsOfItsDescriptionPaintsAndHasItsOwnWindowClass) {
  TForm* form = ShowForm(0, 0, 300, 200);
  ReadComponentText(form, R"(object F: TForm
  object Fr: TFrame
    Left = 10
    Top = 20
    Width = 120
    Height = 80
    object B: TButton
      Left = 5
      Top = 4
    end
  end
  object Other: TButton
    Left = 200
  end
end
)",
                    "Unit1.txt", ".");
  auto* frame = dynamic_cast<TFrame*>(form->FindComponent("Fr"));
  ASSERT_NE(frame, nullptr);
  TComponent* b = frame->FindComponent("B");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Owner(), frame);
  EXPECT_EQ(static_cast<TControl*>(b)->Parent(), frame);
  EXPECT_EQ(form->FindComponent("B"), nullptr);
  EXPECT_NE(form->FindComponent("Other"), nullptr);

  frame->SetColor(0x2040C0);
  desktop.Pump();
  EXPECT_EQ(ScreenAt(10 + 100, 20 + 70), gfx::COLORREF(0x2040C0));

  // Its windows are still the framework's, and their class values are theirs alone.
  const HWND h = frame->Handle();
  EXPECT_EQ(win::GetClassNameW(h), u"TFrame");
  EXPECT_EQ(TWinControl::FindControl(h), frame);
  const auto formBrush = win::GetClassLongPtrW(form->Handle(), win::GCLP_HBRBACKGROUND);
  // A system colour's brush (colour index + 1), which the shared class does not use.
  win::SetClassLongPtrW(h, win::GCLP_HBRBACKGROUND, 7);
  EXPECT_NE(win::GetClassLongPtrW(h, win::GCLP_HBRBACKGROUND), formBrush);
  EXPECT_EQ(win::GetClassLongPtrW(form->Handle(), win::GCLP_HBRBACKGROUND), formBrush);
  win::SetClassLongPtrW(h, win::GCLP_HBRBACKGROUND, formBrush);
}

TEST_F(FrameTest, ReferencesInsideAFrameNameTheFramesComponentsFirst) {
  TForm* form = ShowForm(0, 0, 300, 200);
  ReadComponentText(form, R"(object F: TForm
  object Fr: TFrame
    object Img: TImage
      Images = Icons
    end
    object Far: TImage
      Images = Shared
    end
    object Icons: TImageList
    end
  end
  object Icons: TImageList
  end
  object Shared: TImageList
  end
  object Outer: TImage
    Images = Icons
  end
end
)",
                    "Unit1.txt", ".");
  auto* frame = static_cast<TFrame*>(form->FindComponent("Fr"));
  auto* framed = static_cast<TImageList*>(frame->FindComponent("Icons"));
  auto* own = static_cast<TImageList*>(form->FindComponent("Icons"));
  ASSERT_NE(framed, nullptr);
  ASSERT_NE(own, nullptr);
  ASSERT_NE(framed, own);
  EXPECT_EQ(static_cast<TImage*>(frame->FindComponent("Img"))->Images(), framed);
  // What the frame lacks is the form's; outside the frame, the form's own.
  EXPECT_EQ(static_cast<TImage*>(frame->FindComponent("Far"))->Images(),
            form->FindComponent("Shared"));
  EXPECT_EQ(static_cast<TImage*>(form->FindComponent("Outer"))->Images(), own);
}

}  // namespace
}  // namespace fw::test
