// The skin manager's reach beyond its forms: the system colours it redirects (which, from
// where, while what holds) and the brushes it owns for them, the skin editor's preview channel
// through the application window, the activation repaint, and the "/acver" switch.
#include <memory>
#include <vector>

#include "SkinMessageHarness.h"
#include "framework/Canvas.h"
#include "framework/Colors.h"
#include "framework/ControlMessages.h"
#include "framework/Harness.h"
#include "framework/TextConv.h"
#include "platform/gfx/Pen.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "skin/core/sConst.h"
#include "skin/core/sSkinManager.h"
#include "skin/data/TempDir.h"
#include "skin/data/acPreviewRecord.h"

namespace skin::core::test {
namespace {

using data::test::TempDir;

// Distinct colours for every palette entry the redirection uses.
constexpr const char* kSysOptions =
    "[GLOBALINFO]\nVERSION=8.0\nCOLOR=1122867\nBORDERCOLOR=4473924\n\n"
    "[EDIT]\nCOLOR=5592405\nFONTCOLOR=6710886\n\n"
    "[SELECTION]\nSTATES=2\nCOLOR=7829367\nFONTCOLOR=8947848\n"
    "HOTCOLOR=10066329\nHOTFONTCOLOR=11184810\n";
constexpr const char* kOtherOptions =
    "[GLOBALINFO]\nVERSION=8.0\nCOLOR=3355443\n\n[SELECTION]\nCOLOR=1048592\nFONTCOLOR=2097184\n";

// Per channel (a * w + b * (255 - w)) >> 8, written out here on its own.
gfx::COLORREF Blend(std::uint32_t a, std::uint32_t b, std::uint32_t w) {
  gfx::COLORREF out = 0;
  for (int shift : {0, 8, 16})
    out |= ((((a >> shift) & 0xFF) * w + ((b >> shift) & 0xFF) * (255 - w)) >> 8) << shift;
  return out;
}

class SkinManagerSystemTest : public SkinMessageTest {
 protected:
  void SetUp() override {
    SkinMessageTest::SetUp();
    dir.Write("Sys/Options.dat", std::string(kSysOptions));
    dir.Write("Other/Options.dat", std::string(kOtherOptions));
    form = NewForm("F");
    manager = new TsSkinManager(form);
    manager->SetSkinDirectory(fw::Utf8ToUtf16(dir.Dir()));
    manager->SetSkinName(u"Sys");
    ASSERT_NE(manager->SkinModel(), nullptr);
    form->Show();
    win::SetActiveWindow(form->Handle());
    desktop.Pump();
    ASSERT_EQ(app->ActiveForm(), form);
  }
  void TearDown() override {
    app.reset();
    EXPECT_EQ(DefaultManager, nullptr);
    acPreviewNeeded = false;
    SkinMessageTest::TearDown();
  }
  data::TColor Pal(data::TacPaletteColors c) const {
    return manager->SkinModel()->Palette[c] & 0xFFFFFF;
  }
  // What the skin answers GetSysColor(index) with while it may; the platform's otherwise.
  gfx::COLORREF Expected(int index) const {
    const std::uint32_t main = std::uint32_t(Pal(data::pcMainColor));
    switch (index) {
      case win::COLOR_WINDOW:
        return gfx::COLORREF(Pal(data::pcEditBG));
      case win::COLOR_WINDOWFRAME:
        return gfx::COLORREF(Pal(data::pcBorder));
      case win::COLOR_WINDOWTEXT:
        return gfx::COLORREF(Pal(data::pcEditText));
      case win::COLOR_HIGHLIGHT:
        return gfx::COLORREF(Pal(data::pcSelectionBG_Focused));
      case win::COLOR_HIGHLIGHTTEXT:
        return gfx::COLORREF(Pal(data::pcSelectionText_Focused));
      case win::COLOR_BTNSHADOW:
      case win::COLOR_3DDKSHADOW:
        return Blend(main, 0, 205);
      case win::COLOR_3DLIGHT:
        return Blend(main, 0xFFFFFF, 205);
      default:  // COLOR_INACTIVEBORDER too: the system's colour, kept by the manager
        return win::DefGetSysColor(index);
    }
  }
  gfx::COLORREF PenColorFor(gfx::COLORREF color) {
    gfx::HPEN pen = gfx::CreatePen(gfx::PS_DOT, 3, color);
    EXPECT_EQ(pen->style, gfx::PS_DOT);
    EXPECT_EQ(pen->width, 3);
    const gfx::COLORREF answer = pen->color;
    EXPECT_TRUE(gfx::DeletePen(pen));
    return answer;
  }
  void SendPreview(win::WPARAM wParam, const std::vector<std::uint8_t>& block) {
    win::COPYDATASTRUCT copy;
    copy.cbData = win::DWORD(block.size());
    copy.lpData = block.data();
    win::SendMessageW(app->Handle(), win::WM_COPYDATA, wParam, win::LPARAM(&copy));
  }

  TempDir dir;
  TPlainForm* form = nullptr;
  TsSkinManager* manager = nullptr;
};

TEST_F(SkinManagerSystemTest, RedirectedColoursComeFromTheSkinExactlyAsTheTableSays) {
  // The skin's colours differ from the platform's wherever the table redirects.
  for (int i : {5, 6, 8, 13, 14, 16, 21, 22}) ASSERT_NE(Expected(i), win::DefGetSysColor(i)) << i;
  // Off (the default): everything is the platform's.
  for (int i = 0; i <= 30; ++i) EXPECT_EQ(win::GetSysColor(i), win::DefGetSysColor(i)) << i;
  EXPECT_EQ(win::GetSysColorBrush(win::COLOR_HIGHLIGHT),
            win::DefGetSysColorBrush(win::COLOR_HIGHLIGHT));
  EXPECT_EQ(PenColorFor(0xC0C0C0), 0xC0C0C0u);

  manager->Options().SetChangeSysColors(true);
  for (int i = 0; i <= 30; ++i) EXPECT_EQ(win::GetSysColor(i), Expected(i)) << i;
  // The framework's system colours follow.
  EXPECT_EQ(fw::ColorToRGB(fw::clWindow), Expected(win::COLOR_WINDOW));
  // Brushes: the edit ground's is the manager's first-six brush; three are solid brushes of
  // the skin's colours; the others stay the platform's.
  EXPECT_EQ(win::GetSysColorBrush(win::COLOR_WINDOW), manager->Brushes(data::pcEditBG));
  for (int i : {win::COLOR_WINDOWTEXT, win::COLOR_HIGHLIGHT, win::COLOR_HIGHLIGHTTEXT})
    EXPECT_EQ(win::BrushColor(win::GetSysColorBrush(i)), Expected(i)) << i;
  for (int i : {win::COLOR_WINDOWFRAME, win::COLOR_BTNFACE, win::COLOR_BTNSHADOW})
    EXPECT_EQ(win::GetSysColorBrush(i), win::DefGetSysColorBrush(i)) << i;
  // Pens: indexes given as colours, button face as the main colour, the two light greys as a
  // mix of the edit colours; the window text index, other colours, style and width unchanged.
  EXPECT_EQ(PenColorFor(5), Expected(5));
  EXPECT_EQ(PenColorFor(16), Expected(16));
  EXPECT_EQ(PenColorFor(15), gfx::COLORREF(Pal(data::pcMainColor)));
  const gfx::COLORREF grey =
      Blend(std::uint32_t(Pal(data::pcEditText)), std::uint32_t(Pal(data::pcEditBG)), 38);
  EXPECT_EQ(PenColorFor(0xC0C0C0), grey);
  EXPECT_EQ(PenColorFor(0xF0F0F0), grey);
  EXPECT_EQ(PenColorFor(8), 8u);
  EXPECT_EQ(PenColorFor(0x123456), 0x123456u);
  // A canvas draws its lines with such a pen.
  gfx::Bitmap bmp(4, 1);
  gfx::DeviceContext dc(bmp);
  fw::TCanvas canvas;
  canvas.SetHandle(&dc);
  canvas.PenColor = fw::clSilver;
  canvas.MoveTo(0, 0);
  canvas.LineTo(4, 0);
  EXPECT_EQ(gfx::ColorFromPixel(bmp.At(1, 0)), grey);

  // No active form showing: GetSysColor is the platform's, pens and brushes still the skin's.
  form->Hide();
  desktop.Pump();
  for (int i = 0; i <= 30; ++i) EXPECT_EQ(win::GetSysColor(i), win::DefGetSysColor(i)) << i;
  EXPECT_EQ(PenColorFor(5), Expected(5));
  form->Show();
  desktop.Pump();

  // Switched off again: all the platform's.
  manager->Options().SetChangeSysColors(false);
  for (int i = 0; i <= 30; ++i) EXPECT_EQ(win::GetSysColor(i), win::DefGetSysColor(i)) << i;
  EXPECT_EQ(win::GetSysColorBrush(win::COLOR_WINDOW), win::DefGetSysColorBrush(win::COLOR_WINDOW));
  EXPECT_EQ(PenColorFor(5), 5u);
}

TEST_F(SkinManagerSystemTest, TheBrushesLiveWithTheirSkinAndTheRedirectionWithItsAnnouncement) {
  manager->Options().SetChangeSysColors(true);
  const std::size_t brushes = win::SolidBrushCount();
  const win::HBRUSH highlight = win::GetSysColorBrush(win::COLOR_HIGHLIGHT);
  EXPECT_EQ(highlight, manager->SysColorBrush(win::COLOR_HIGHLIGHT));

  // Another skin: its own brushes replace the old ones, none more.
  manager->SetSkinName(u"Other");
  EXPECT_EQ(win::SolidBrushCount(), brushes);
  EXPECT_EQ(win::BrushColor(win::GetSysColorBrush(win::COLOR_HIGHLIGHT)),
            gfx::COLORREF(Pal(data::pcSelectionBG_Focused)));
  EXPECT_EQ(win::GetSysColor(win::COLOR_HIGHLIGHT),
            gfx::COLORREF(Pal(data::pcSelectionBG_Focused)));

  // Removed: the six palette brushes and the three of the redirection go, and so does the
  // redirection (the option stays).
  manager->SetActive(false);
  EXPECT_EQ(win::SolidBrushCount(), brushes - 9);
  EXPECT_EQ(manager->SysColorBrush(win::COLOR_HIGHLIGHT), nullptr);
  EXPECT_EQ(win::SetGetSysColorProc(nullptr), nullptr);
  EXPECT_EQ(win::SetGetSysColorBrushProc(nullptr), nullptr);
  EXPECT_EQ(gfx::SetCreatePenProc(nullptr), nullptr);
  EXPECT_TRUE(manager->Options().ChangeSysColors());
  // Back: the redirection with it.
  manager->SetActive(true);
  EXPECT_EQ(win::SolidBrushCount(), brushes);
  EXPECT_EQ(win::GetSysColor(win::COLOR_HIGHLIGHT),
            gfx::COLORREF(Pal(data::pcSelectionBG_Focused)));

  // The manager freed with its skin: the platform's functions are back, no brush is left.
  delete form;
  desktop.Pump();
  EXPECT_EQ(DefaultManager, nullptr);
  EXPECT_EQ(win::SolidBrushCount(), brushes - 9);
  EXPECT_EQ(win::SetGetSysColorProc(nullptr), nullptr);
  // Without a default manager the replacements pass on, and no brush is answered.
  EXPECT_EQ(acGetSysColor(win::COLOR_WINDOW), win::DefGetSysColor(win::COLOR_WINDOW));
  EXPECT_EQ(acGetSysColorBrush(win::COLOR_WINDOW), nullptr);
  gfx::HPEN pen = acCreatePen(gfx::PS_SOLID, 1, 5);
  EXPECT_EQ(pen->color, 5u);
  gfx::DeletePen(pen);
}

TEST_F(SkinManagerSystemTest, APreviewRecordLoadsThroughTheApplicationWindowOnlyWhenWhole) {
  // The editor's folder holds the pictures only; a package of the same name is no skin.
  dir.Write("Edited/readme.txt", std::string("pictures go here"));
  dir.Write("Edited.asz", std::string("this is no package"));
  const data::TacSkinData record{data::ASE_MSG, "Edited", dir.Dir(),
                                 "[GLOBALINFO]\nVERSION=9.25\n\n[PANEL]\nCOLOR=255\n"};
  const std::vector<std::uint8_t> block = data::WriteSkinData(record);

  // Another WParam: nothing kept, nothing loaded.
  SendPreview(6, block);
  desktop.Pump();
  EXPECT_EQ(manager->SkinName(), u"Sys");
  EXPECT_EQ(manager->PreviewBuffer().Magic, 0u);

  // A block one byte short of the record, allocated at its declared size: nothing of it is
  // read (the sanitizer build would see a read past it).
  {
    std::unique_ptr<std::uint8_t[]> shortBlock(new std::uint8_t[block.size() - 1]);
    std::copy(block.begin(), block.end() - 1, shortBlock.get());
    win::COPYDATASTRUCT copy;
    copy.cbData = win::DWORD(block.size() - 1);
    copy.lpData = shortBlock.get();
    win::SendMessageW(app->Handle(), win::WM_COPYDATA, acPreviewCopyData, win::LPARAM(&copy));
  }
  desktop.Pump();
  EXPECT_EQ(manager->SkinName(), u"Sys");
  EXPECT_EQ(manager->PreviewBuffer().Magic, 0u);
  EXPECT_FALSE(acPreviewNeeded);

  // The whole record: kept at once, loaded once the posted command arrives.
  gReceipts.clear();
  SendPreview(acPreviewCopyData, block);
  EXPECT_EQ(manager->PreviewBuffer().SkinName, "Edited");
  EXPECT_EQ(manager->SkinName(), u"Sys");
  EXPECT_FALSE(acSkinPreviewUpdating);
  desktop.Pump();
  EXPECT_EQ(manager->SkinName(), u"Edited");
  EXPECT_EQ(manager->SkinInfo(), u"9.25");
  EXPECT_GE(manager->GetSkinIndex("PANEL"), 0);
  EXPECT_EQ(manager->CommonSkinData().SkinPath, dir.Dir() + "Edited/");
  EXPECT_EQ(Receivers(AC_SETNEWSKIN), (Names{"F"}));
  EXPECT_TRUE(acPreviewNeeded);
  EXPECT_EQ(acMemSkinFile, nullptr);
}

TEST_F(SkinManagerSystemTest, TheFilterRepaintsOnActivationTracksMinimisingAndGoesWithTheManager) {
  auto* second = NewForm("G");
  second->Show();
  auto* windowless = NewForm("H");  // never shown: no window
  desktop.Pump();
  ASSERT_FALSE(windowless->HandleAllocated());
  gReceipts.clear();
  win::PostMessageW(app->Handle(), fw::CM_ACTIVATE, 0, 0);
  desktop.Pump();
  EXPECT_EQ(Receivers(AC_INVALIDATE), (Names{"G", "F"}));

  // The application's minimise and restore commands are remembered while a skin is in force.
  EXPECT_EQ(manager->ShowState(), saIgnore);
  win::SendMessageW(app->Handle(), win::WM_SYSCOMMAND, win::SC_MINIMIZE, 0);
  EXPECT_EQ(manager->ShowState(), saMinimize);
  win::SendMessageW(app->Handle(), win::WM_SYSCOMMAND, win::SC_RESTORE, 0);
  EXPECT_EQ(manager->ShowState(), saRestore);
  win::SendMessageW(app->Handle(), win::WM_SYSCOMMAND, win::SC_CONTEXTHELP, 0);
  EXPECT_EQ(manager->ShowState(), saIgnore);
  manager->SetActive(false);
  win::SendMessageW(app->Handle(), win::WM_SYSCOMMAND, win::SC_MINIMIZE, 0);
  EXPECT_EQ(manager->ShowState(), saIgnore);
  desktop.Pump();

  delete manager;
  gReceipts.clear();
  win::PostMessageW(app->Handle(), fw::CM_ACTIVATE, 0, 0);
  desktop.Pump();
  EXPECT_TRUE(Receivers(AC_INVALIDATE).empty());
}

TEST_F(SkinManagerSystemTest, TheVersionSwitchShowsOneMessageAndTheSystemIsRead) {
  EXPECT_FALSE(CheckVersionSwitch({"acver", "/acverx", "--plain"}));
  EXPECT_TRUE(app->Messages().empty());
  desktop.Schedule(10, [] {
    win::InjectKey(fw::test::kEnter, true);
    win::InjectKey(fw::test::kEnter, false);
  });
  EXPECT_TRUE(CheckVersionSwitch({"--plain", "/ACVER", "/acver"}));
  desktop.Pump();
  ASSERT_EQ(app->Messages().size(), 1u);
  EXPECT_EQ(app->Messages()[0].Icon, fw::TMsgDlgType::mtInformation);
  EXPECT_EQ(app->Messages()[0].Text, acVersionText());
  EXPECT_NE(acVersionText().find(u"13.15"), std::u16string::npos);
  // What the system reported at start-up: 6.2 counts as 8, as does every version after 6.
  EXPECT_EQ(acWinVer, 8);
  EXPECT_EQ(acWinVerOf(6, 1), 6);
  EXPECT_EQ(acWinVerOf(10, 0), 8);
  EXPECT_EQ(acWinVerOf(5, 1), 5);
  EXPECT_EQ(acScrollBtnLength, win::GetSystemMetrics(win::SM_CXHSCROLL));
  EXPECT_EQ(ac_CYSMCAPTION, win::GetSystemMetrics(win::SM_CYSMCAPTION));
}

// Hook ids are counted per application: a default manager that outlives the application it
// hooked leaves the hooks of the next application alone when it goes.
TEST(SkinManagerApplicationHook, AManagerOutlivingItsApplicationLeavesTheNextOnesHooksAlone) {
  win::VirtualDesktop desktop(400, 300);
  auto first = std::make_unique<fw::TApplication>();
  auto* manager = new TsSkinManager(nullptr);
  ASSERT_TRUE(manager->IsDefault());
  first.reset();
  auto second = std::make_unique<fw::TApplication>();
  std::vector<fw::TWndHookId> ids;
  for (int i = 0; i < 4; ++i)
    ids.push_back(second->HookMainWindow([](fw::TMessage&) { return false; }));
  delete manager;
  for (const fw::TWndHookId id : ids) EXPECT_TRUE(second->UnhookMainWindow(id)) << id;
}

}  // namespace
}  // namespace skin::core::test
