// The catalogue's two bit buttons in every internal skin, normal, hot and pressed as a visitor
// sees them on the screen: the state the dump reports, no key-coloured pixel, a caption that
// stands out from its face, and
// a picture of them all for a look.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "Catalogue.h"
#include "Forms.h"
#include "TestOutput.h"
#include "framework/Automation.h"
#include "framework/TextConv.h"
#include "platform/backend/Dump.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Backend.h"
#include "platform/win/Window.h"
#include "skin/controls/sButton.h"
#include "skin/internal/sInternalSkins.h"

namespace app::test {
namespace {

// The state the dump reports in the skin entry of the control of that name, -1 when none.
int DumpedState(const std::string& name) {
  const std::string dump = backend::DumpWindows();
  const std::size_t at = dump.find("{\"name\":\"" + name + "\",\"class\":");
  if (at == std::string::npos) return -1;
  const std::size_t skin = dump.find("\"skin\":{", at);
  const std::size_t state = dump.find("\"state\":", skin);
  if (skin == std::string::npos || state == std::string::npos) return -1;
  return std::atoi(dump.c_str() + state + 8);
}

// Luminance of a pixel (B, G, R bytes), 0..255.
int Luma(std::uint32_t p) {
  return (int(p & 0xFF) * 29 + int((p >> 8) & 0xFF) * 150 + int((p >> 16) & 0xFF) * 77) >> 8;
}

TEST_F(FormsTest, TheBitButtonsLookRightInEveryInternalSkin) {
  fw::InstallFormDump();
  Start(SampleFolder());
  Form1->Show();
  desktop.Pump();
  auto* button = dynamic_cast<skin::controls::TsBitBtn*>(Form1->sBitBtn1);
  ASSERT_NE(button, nullptr);
  const auto& skins = skin::data::InternalSkins();
  gfx::Bitmap sheet(3 * 110, int(skins.size()) * 140);
  int row = 0;
  for (const auto& skin : skins) {
    skin::core::DefaultManager->SetSkinName(fw::Utf8ToUtf16(skin.Name));
    desktop.Pump();
    win::RECT wr{};
    win::GetWindowRect(button->Handle(), &wr);
    const gfx::TRect r(wr);
    const gfx::TPoint mid{r.Left + r.Width() / 2, r.Top + r.Height() - 10};
    for (int look = 0; look < 3; ++look) {
      if (look == 0) win::InjectMouseMove({5, 5});
      if (look == 1) win::InjectMouseMove({mid.X, mid.Y});
      if (look == 2) win::InjectMouseButton(0, true, {mid.X, mid.Y});
      desktop.Pump();
      desktop.Advance(200);  // past the fade
      ASSERT_EQ(button->SkinState(), look) << skin.Name;
      EXPECT_EQ(DumpedState("sBitBtn1"), look) << skin.Name;
      const gfx::Bitmap screen = desktop.Compose();
      gfx::Bitmap face(r.Width(), r.Height());
      face.CopyFrom(screen, r, {0, 0});
      sheet.CopyFrom(face, face.Bounds(), {look * 110, row * 140});
      int keyed = 0;
      for (int y = 0; y < face.Height(); ++y)
        for (int x = 0; x < face.Width(); ++x) keyed += (face.At(x, y) & 0xFFFFFF) == 0xFF00FF;
      EXPECT_EQ(keyed, 0) << skin.Name << " look " << look;
      // The caption against the face: its darkest and lightest pixels far apart.
      const gfx::TRect c = button->CaptionRect();
      int lo = 255, hi = 0;
      for (int y = std::max(c.Top, 0); y < std::min(c.Bottom, face.Height()); ++y)
        for (int x = std::max(c.Left, 0); x < std::min(c.Right, face.Width()); ++x) {
          lo = std::min(lo, Luma(face.At(x, y)));
          hi = std::max(hi, Luma(face.At(x, y)));
        }
      EXPECT_GE(hi - lo, 100) << skin.Name << " look " << look << ": caption hard to read";
    }
    win::InjectMouseButton(0, false, {5, 5});
    desktop.Pump();
    // The press focused the button; the next skin starts with the focus on the tree again.
    dynamic_cast<fw::TWinControl*>(Form1->FindComponent("sTreeView2"))->SetFocus();
    desktop.Pump();
    desktop.Advance(200);
    ++row;
  }
  gfx::WriteFileBytes((tests::OutputFolder("app") / "bitbtn-skins.png").string(),
                      gfx::EncodePng(sheet));
}

// Right after the start the button's picture holds: the first hover fades, and so does the next
// one after the mouse went away. The mouse leaving fades the face back: frame by frame on the
// virtual clock it draws nearer to the normal one, passes through looks between the two and
// ends on it.
TEST_F(FormsTest, TheFirstHoverAfterTheStartFades) {
  Start(SampleFolder());
  Form1->Show();
  desktop.Pump();
  desktop.Advance(1000);
  auto* button = dynamic_cast<skin::controls::TsBitBtn*>(Form1->sBitBtn1);
  ASSERT_NE(button, nullptr);
  win::RECT wr{};
  win::GetWindowRect(button->Handle(), &wr);
  const gfx::TRect r(wr);
  auto face = [&] {
    gfx::Bitmap f(r.Width(), r.Height());
    f.CopyFrom(desktop.Compose(), r, {0, 0});
    return f;
  };
  auto distance = [](const gfx::Bitmap& a, const gfx::Bitmap& b) {
    long sum = 0;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x)
        for (int shift = 0; shift < 24; shift += 8)
          sum += std::abs(int((a.At(x, y) >> shift) & 0xFF) - int((b.At(x, y) >> shift) & 0xFF));
    return sum;
  };
  const gfx::Bitmap normal = face();
  for (int hover = 0; hover < 2; ++hover) {
    win::InjectMouseMove({r.Left + r.Width() / 2, r.Top + r.Height() / 2});
    desktop.Pump();
    EXPECT_TRUE(skin::core::TimerIsActive(button->SkinData())) << "hover " << hover;
    desktop.Advance(500);
    ASSERT_EQ(button->SkinState(), 1);
    const long hot = distance(face(), normal);
    ASSERT_GT(hot, 0) << "the hot face looks like the normal one";

    win::InjectMouseMove({5, 5});
    desktop.Pump();
    EXPECT_TRUE(skin::core::TimerIsActive(button->SkinData())) << "leave " << hover;
    std::vector<long> frames{distance(face(), normal)};
    for (int step = 0; step < 40 && skin::core::TimerIsActive(button->SkinData()); ++step) {
      desktop.Advance(12);
      frames.push_back(distance(face(), normal));
    }
    EXPECT_FALSE(skin::core::TimerIsActive(button->SkinData()));
    EXPECT_EQ(button->SkinState(), 0);
    EXPECT_EQ(frames.back(), 0) << "leave " << hover;
    int between = 0;
    for (std::size_t i = 1; i < frames.size(); ++i) {
      EXPECT_LE(frames[i], frames[i - 1]) << "leave " << hover << " frame " << i;
      between += frames[i] > 0 && frames[i] < hot;
    }
    EXPECT_GE(between, 2) << "leave " << hover << ": the face jumped back instead of fading";
  }
}

}  // namespace
}  // namespace app::test
