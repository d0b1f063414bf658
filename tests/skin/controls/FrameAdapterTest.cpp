// The frame adapter on a form with a manager and a small skin made here: where it may be put,
// what the frame answers and paints while the adapter lives and after it goes, the skin's
// coming and going, and the frame's entry in the dump.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Automation.h"
#include "framework/Form.h"
#include "framework/Reader.h"
#include "framework/TextConv.h"
#include "framework/WindowDescription.h"
#include "platform/backend/Dump.h"
#include "platform/win/Backend.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"
#include "skin/controls/sControls.h"
#include "skin/controls/sFrameAdapter.h"
#include "skin/data/TempDir.h"

namespace skin::controls::test {
namespace {

using namespace skin::core;
using skin::data::test::TempDir;

// Colours as the skin and the controls write them; each channel differs from the others.
constexpr int kMain = 0x405060, kPanel = 0x30A050, kFormColor = 0x123456, kFrameColor = 0x20C0E0,
              kEdit = 0x6090F0;

class FrameAdapterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<fw::TApplication>();
    RegisterSkinClasses();
    dir.Write("S/Options.dat", "[GLOBALINFO]\nVERSION=8.0\nCOLOR=" + std::to_string(kMain) +
                                   "\n\n[PANEL]\nCOLOR=" + std::to_string(kPanel) +
                                   "\n\n[TRANSPARENT]\nTRANSPARENCY=100\nHOTTRANSPARENCY=100\n"
                                   "\n[EDIT]\nCOLOR=" +
                                   std::to_string(kEdit) + "\n");
    form = new fw::TForm(app.get());
    form->SetName("F");
    form->SetBorderStyle(fw::TFormBorderStyle::bsNone);
    form->SetBounds(0, 0, 300, 200);
    form->SetColor(kFormColor);
    manager = new TsSkinManager(form);
    manager->SetSkinDirectory(fw::Utf8ToUtf16(dir.Dir()));
    manager->SetSkinName(u"S");
    frame = new fw::TFrame(form);
    frame->SetName("Fr");
    frame->SetBounds(20, 30, 100, 60);
    frame->SetColor(kFrameColor);
    frame->SetParent(form);
    adapter = new TsFrameAdapter(frame);
    adapter->AfterConstruction();
    form->Show();
    desktop.Pump();
  }
  void TearDown() override { app.reset(); }
  // What the screen shows inside the frame, after a repaint.
  int FrameShows() {
    frame->Invalidate();
    desktop.Pump();
    return int(gfx::ColorFromPixel(desktop.Compose().At(20 + 50, 30 + 30)));
  }

  win::VirtualDesktop desktop{800, 600};
  std::unique_ptr<fw::TApplication> app;
  TempDir dir;
  fw::TForm* form = nullptr;
  TsSkinManager* manager = nullptr;
  fw::TFrame* frame = nullptr;
  TsFrameAdapter* adapter = nullptr;
};

TEST_F(FrameAdapterTest, OnlyAFrameTakesOne) {
  const int before = form->ComponentCount();
  try {
    new TsFrameAdapter(form);
    ADD_FAILURE() << "an adapter on a form";
  } catch (const fw::Exception& e) {
    EXPECT_EQ(e.Message(), acs_FrameAdapterError1);
  }
  EXPECT_EQ(form->ComponentCount(), before);
  // In a description, with its place in the text.
  try {
    fw::ReadComponentText(form, "object F: TForm\n  object A: TsFrameAdapter\n  end\nend\n",
                          "Unit5.txt", ".");
    ADD_FAILURE() << "an adapter on a form read";
  } catch (const fw::EReadError& e) {
    EXPECT_NE(e.Message().find(u"Unit5.txt:2"), std::u16string::npos)
        << fw::Utf16ToUtf8(e.Message());
    EXPECT_NE(e.Message().find(acs_FrameAdapterError1), std::u16string::npos);
  }
  // On a frame of a description it belongs to the frame.
  fw::ReadComponentText(form,
                        "object F: TForm\n  object Fr2: TFrame\n    object A: TsFrameAdapter\n"
                        "      SkinData.SkinSection = 'panel'\n    end\n  end\nend\n",
                        "Unit5.txt", ".");
  auto* frame2 = dynamic_cast<fw::TFrame*>(form->FindComponent("Fr2"));
  ASSERT_NE(frame2, nullptr);
  auto* read = dynamic_cast<TsFrameAdapter*>(frame2->FindComponent("A"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Frame(), frame2);
  EXPECT_EQ(read->SkinData().SkinSection(), "PANEL");
}

TEST_F(FrameAdapterTest, PaintsTheSectionAndAnswersForTheFrameUntilItGoes) {
  const HWND h = frame->Handle();
  // Plain: the transparent section, so the frame shows its parent's colour.
  EXPECT_EQ(SendAMessage(h, AC_GETDEFINDEX), manager->GetSkinIndex("TRANSPARENT") + 1);
  EXPECT_EQ(adapter->SkinData().SkinIndex, manager->GetSkinIndex("TRANSPARENT"));
  EXPECT_EQ(SendAMessage(h, AC_CTRLHANDLED), 1);
  EXPECT_EQ(SendAMessage(h, AC_GETSKINDATA), LRESULT(&adapter->SkinData()));
  TacSectionInfo info;
  SendAMessage(h, AC_GETSKININDEX, LPARAM(&info));
  EXPECT_EQ(info.siSkinIndex, adapter->SkinData().SkinIndex);
  EXPECT_EQ(FrameShows(), kFormColor);

  // Named: the panel's colour.
  adapter->SkinData().SetSkinSection("PANEL");
  EXPECT_EQ(SendAMessage(h, AC_GETDEFINDEX), manager->GetSkinIndex("PANEL") + 1);
  EXPECT_EQ(adapter->SkinData().SkinIndex, manager->GetSkinIndex("PANEL"));
  EXPECT_EQ(FrameShows(), kPanel);
  // A new size is painted anew.
  frame->SetBounds(20, 30, 140, 80);
  desktop.Pump();
  EXPECT_EQ(int(gfx::ColorFromPixel(desktop.Compose().At(20 + 130, 30 + 70))), kPanel);

  // Without the skin the frame paints itself; with it again, the section.
  manager->SetActive(false);
  desktop.Pump();
  EXPECT_EQ(FrameShows(), kFrameColor);
  manager->SetActive(true);
  desktop.Pump();
  EXPECT_EQ(adapter->SkinData().SkinIndex, manager->GetSkinIndex("PANEL"));
  EXPECT_EQ(FrameShows(), kPanel);

  // Gone: the frame's own handling answers and paints.
  delete adapter;
  adapter = nullptr;
  EXPECT_EQ(SendAMessage(h, AC_CTRLHANDLED), 0);
  EXPECT_EQ(SendAMessage(h, AC_GETSKINDATA), 0);
  EXPECT_EQ(FrameShows(), kFrameColor);
}

TEST_F(FrameAdapterTest, TheDumpShowsTheFramesSkinData) {
  fw::InstallFormDump();
  adapter->SkinData().SetSkinSection("PANEL");
  const std::string dump = backend::DumpWindows();
  const std::size_t at = dump.find("\"name\":\"Fr\"");
  ASSERT_NE(at, std::string::npos) << dump;
  const std::string entry = "\"skin\":{\"section\":\"PANEL\",\"index\":" +
                            std::to_string(manager->GetSkinIndex("PANEL")) + ",\"state\":0";
  EXPECT_NE(dump.find(entry, at), std::string::npos) << dump;
}

TEST_F(FrameAdapterTest, TheClassBrushFollowsTheSkinAndNeverOutlivesIt) {
  const HWND h = frame->Handle();
  auto brush = [&] { return win::GetClassLongPtrW(h, win::GCLP_HBRBACKGROUND); };
  EXPECT_EQ(brush(), std::uintptr_t(manager->Brushes(skin::data::pcMainColor)));
  // The manager frees its brushes with the skin: the class has the button face again.
  manager->SetActive(false);
  desktop.Pump();
  EXPECT_EQ(brush(), std::uintptr_t(win::GetSysColorBrush(win::COLOR_BTNFACE)));
  // A new skin brings new brushes.
  manager->SetActive(true);
  desktop.Pump();
  ASSERT_NE(manager->Brushes(skin::data::pcMainColor), nullptr);
  EXPECT_EQ(brush(), std::uintptr_t(manager->Brushes(skin::data::pcMainColor)));
  // A refresh gives the skin's brush back.
  win::SetClassLongPtrW(h, win::GCLP_HBRBACKGROUND, 7);
  adapter->SkinData().SetSkinSection("PANEL");
  EXPECT_EQ(brush(), std::uintptr_t(manager->Brushes(skin::data::pcMainColor)));
}

TEST_F(FrameAdapterTest, TheMouseOverTheFrameMakesItTheHotControl) {
  manager->SetActiveControl(nullptr);
  win::InjectMouseMove({20 + 50, 30 + 30});
  desktop.Pump();
  EXPECT_EQ(manager->ActiveControl(), frame->Handle());
}

TEST_F(FrameAdapterTest, AFrameShowingItsParentIsNotDrawnWhileItScrolls) {
  // In a skinned panel the transparent frame's picture depends on its place.
  auto* holder = new TsPanel(form);
  holder->SetBounds(0, 0, 200, 150);
  holder->SetParent(form);
  frame->SetParent(holder);
  desktop.Pump();
  ASSERT_EQ(FrameShows(), kPanel);
  const HWND h = frame->Handle();
  SendAMessage(h, AC_BEFORESCROLL);
  // No longer transparent meanwhile: drawing still comes back after.
  adapter->SkinData().SetSkinSection("EDIT");
  desktop.Pump();
  EXPECT_EQ(int(gfx::ColorFromPixel(desktop.Compose().At(20 + 50, 30 + 30))), kPanel);
  SendAMessage(h, AC_AFTERSCROLL);
  desktop.Pump();
  EXPECT_EQ(int(gfx::ColorFromPixel(desktop.Compose().At(20 + 50, 30 + 30))), kEdit);
  // An opaque frame is drawn while it scrolls.
  SendAMessage(h, AC_BEFORESCROLL);
  adapter->SkinData().SetSkinSection("PANEL");
  desktop.Pump();
  EXPECT_EQ(int(gfx::ColorFromPixel(desktop.Compose().At(20 + 50, 30 + 30))), kPanel);
  SendAMessage(h, AC_AFTERSCROLL);
  frame->SetParent(form);  // the holder may go first when the form is freed
}

TEST_F(FrameAdapterTest, AShownFramesControlsAreAnnouncedToTheFormsAdapterUnderTheThirdPartyRule) {
  std::vector<LPARAM> announced;
  const fw::TWndHookId hook = form->HookWindowProc([&](fw::TMessage& m, const fw::TWndNext& next) {
    if (m.Msg == SM_ALPHACMD && WParamHi(m.WParam) == AC_CONTROLLOADED)
      announced.push_back(m.LParam);
    next(m);
  });
  fw::ReadComponentText(form,
                        "object F: TForm\n  object Fr2: TFrame\n    object A: TsFrameAdapter\n"
                        "    end\n    object E: TEdit\n    end\n  end\nend\n",
                        "Unit5.txt", ".");
  auto* frame2 = static_cast<fw::TFrame*>(form->FindComponent("Fr2"));
  const LPARAM edit = LPARAM(static_cast<fw::TControl*>(frame2->FindComponent("E")));
  // Put on a frame that has its window already, the adapter takes the frame's messages.
  EXPECT_EQ(SendAMessage(frame2->Handle(), AC_CTRLHANDLED), 1);
  // The frame announces itself when loaded (as every skinned control does).
  EXPECT_NE(
      std::find(announced.begin(), announced.end(), LPARAM(static_cast<fw::TControl*>(frame2))),
      announced.end());
  auto shown = [&] {
    announced.clear();
    frame2->SetVisible(false);
    frame2->SetVisible(true);
    return std::find(announced.begin(), announced.end(), edit) != announced.end();
  };
  EXPECT_TRUE(shown());
  manager->SetSkinningRules(manager->SkinningRules() & ~acBit(srThirdParty));
  EXPECT_FALSE(shown());
  form->UnhookWindowProc(hook);
}

}  // namespace
}  // namespace skin::controls::test
