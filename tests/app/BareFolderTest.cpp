// The program itself, started from a folder that holds nothing but it and the catalogue: its
// window descriptions and pictures come from inside it. And the same start without the
// catalogue, whose error box the dump lists while it is open.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "Catalogue.h"
#include "platform/gfx/PictureCodec.h"

namespace app::test {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const std::string& file) {
  const auto bytes = gfx::ReadFileBytes(file);
  return std::string(bytes.begin(), bytes.end());
}

std::set<std::string> Entries(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
  return names;
}

// A folder inside the test's folder (where the script and what it writes go) that holds the
// program alone.
std::string BareFolder(const TempFolder& test) {
  const std::string bare = test.Path() + "bare/";
  fs::create_directory(bare);
  fs::copy_file(SampleFolder() + "catalogue", bare + "catalogue");
  return bare;
}

// Runs the catalogue copied into folder, headless, with the script's lines; returns the
// replies, "exit N" appended when it did not end with 0.
std::string RunCatalogue(const std::string& folder, const std::string& script,
                         const std::string& outFolder) {
  const std::string scriptFile = outFolder + "script", replyFile = outFolder + "replies";
  std::FILE* f = std::fopen(scriptFile.c_str(), "w");
  std::fputs(script.c_str(), f);
  std::fclose(f);
  const std::string command = "cd '" + folder + "' && env -u DISPLAY -u WAYLAND_DISPLAY " +
                              "UI_BACKEND=headless UI_SCRIPT='" + scriptFile + "' UI_REPLY='" +
                              replyFile + "' ./catalogue 2>&1";
  const int status = std::system(command.c_str());
  std::string replies = fs::exists(replyFile) ? ReadText(replyFile) : std::string();
  if (status != 0) replies += "exit " + std::to_string(status);
  return replies;
}

// The "screen" rectangle of the named control in a dump.
gfx::TRect ScreenOf(const std::string& dump, const std::string& name) {
  const auto at = dump.find(R"("name":")" + name + "\"");
  const auto screen = dump.find(R"("screen":[)", at);
  int l = 0, t = 0, r = 0, b = 0;
  if (at == std::string::npos || screen == std::string::npos ||
      std::sscanf(dump.c_str() + screen + 10, "%d,%d,%d,%d", &l, &t, &r, &b) != 4)
    return {};
  return {l, t, r, b};
}

// How many of the picture's sampled pixels the screenshot shows unchanged at rect.
int SamePixels(const gfx::Bitmap& shot, const gfx::TRect& rect, const gfx::Bitmap& picture,
               int& sampled) {
  int same = 0;
  sampled = 0;
  for (int y = 0; y < rect.Height() && y < picture.Height(); y += 7)
    for (int x = 0; x < rect.Width() && x < picture.Width(); x += 13, ++sampled)
      same += shot.At(rect.Left + x, rect.Top + y) == picture.At(x, y);
  return same;
}

TEST(BareFolder, TheCatalogueRunsWithItsCatalogueAloneBesideIt) {
  TempFolder out;
  const std::string bare = BareFolder(out);
  fs::copy(SampleFolder() + "res.dat", bare + "res.dat");
  fs::copy(SampleFolder() + "res", bare + "res", fs::copy_options::recursive);
  ASSERT_EQ(Entries(bare), (std::set<std::string>{"catalogue", "res", "res.dat"}));

  EXPECT_EQ(RunCatalogue(
                bare, "dump " + out.Path() + "dump.json\nshot " + out.Path() + "shot.png\nquit\n",
                out.Path()),
            "ok\nok\nok\n");
  const std::string dump = ReadText(out.Path() + "dump.json");
  EXPECT_NE(dump.find(R"("form":{"name":"Form1","class":"TForm1"})"), std::string::npos);
  EXPECT_NE(dump.find(R"("picture":{"width":1280,"height":100,"file":"header.jpg"})"),
            std::string::npos);
  EXPECT_NE(dump.find(R"("picture":{"width":879,"height":595,"file":"background.jpg"})"),
            std::string::npos);
  EXPECT_NE(dump.find(R"("level":1)"), std::string::npos) << "the tree has organisations";
  EXPECT_NE(dump.find(R"("messages":[],"skin":{"name":"BlueGauze)"), std::string::npos)
      << "no error box";

  // The pictures are on the screen as drawn: the header unscaled, the background exactly the
  // size of its pane.
  const gfx::Bitmap shot = gfx::LoadPictureFile(out.Path() + "shot.png");
  for (const auto& [control, file] : {std::pair<std::string, std::string>{"sImage1", "header.jpg"},
                                      {"sImage2", "background.jpg"}}) {
    const gfx::TRect rect = ScreenOf(dump, control);
    ASSERT_FALSE(rect.IsEmpty()) << control;
    const gfx::Bitmap picture = gfx::LoadPictureFile(std::string(MC_APP_RES) + "/" + file);
    int sampled = 0;
    EXPECT_EQ(SamePixels(shot, rect, picture, sampled), sampled) << control;
    EXPECT_GT(sampled, 500) << control;
  }
}

TEST(BareFolder, WithoutTheCatalogueTheDumpListsTheOpenErrorBox) {
  TempFolder out;
  const std::string bare = BareFolder(out);
  EXPECT_EQ(RunCatalogue(bare,
                         "dump " + out.Path() + "open.json\nkey Return\ndump " + out.Path() +
                             "closed.json\nquit\n",
                         out.Path()),
            "ok\nok\nok\nok\n");
  const std::string error = "Could not find file '" + fs::canonical(bare).string() + "/res.dat'.";
  const std::string listed = R"(,"text":")" + error + R"(","icon":"error"}],"skin":{)";
  // While the box is open: it is a window (the platform's message box, its text in a static
  // child, framed by the skin's dialog sections), and the application lists it (before the
  // skin).
  const std::string open = ReadText(out.Path() + "open.json");
  EXPECT_NE(open.find(R"("class":"Static","text":")" + error + "\""), std::string::npos) << open;
  EXPECT_NE(open.find(R"("class":"#32770","text":"catalogue")"), std::string::npos) << open;
  EXPECT_NE(open.find(R"("provider":{"section":"DIALOG")"), std::string::npos) << open;
  EXPECT_NE(open.find(R"("wrapper":"TacBtnWnd","skin":{"section":"BUTTON")"), std::string::npos)
      << open;
  EXPECT_NE(open.find(listed), std::string::npos) << open;
  EXPECT_EQ(open.find(R"("messages":[{)"), open.rfind(R"("messages":[{)")) << "one box";
  // Closed, it stays listed, and the main window runs.
  const std::string closed = ReadText(out.Path() + "closed.json");
  EXPECT_EQ(closed.find(R"("class":"Static","text":")" + error), std::string::npos) << closed;
  EXPECT_NE(closed.find(listed), std::string::npos) << closed;
  EXPECT_NE(closed.find(R"("form":{"name":"Form1","class":"TForm1"})"), std::string::npos);
}

}  // namespace
}  // namespace app::test
