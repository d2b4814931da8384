// Export for Web: its enabling, the folder it writes (the command-line builder's), what it refuses or asks before a
// folder is replaced, and what it says when done.

#include <QFrame>
#include <cstdlib>
#include <functional>
#include <optional>

#include "publish/WebFolderPlace.h"
#include "tests/support/FolderTree.h"
#include "tests/window/MainWindowFixture.h"
#include "tests/window/VisibilityLog.h"

namespace fs = std::filesystem;

namespace {

class ExportTest : public MainWindowTest {
 protected:
  void ImportAndPaint(const QStringList& paths) {
    Import(paths);
    PaintStrip();
  }
  fs::path Place(const std::string& name) const { return pictures.Path() / name; }
  void ExportTo(const fs::path& folder) {
    dialogs.WebFolder = QString::fromStdString(folder.string());
    form.ExportWeb1->trigger();
  }
};

TEST_F(ExportTest, IsEnabledWhenBuildIs) {
  const struct {
    const char* after;
    std::function<void()> step;
    bool enabled;
  } rows[] = {
      {"start-up", [] {}, false},
      {"pictures of one size", [this] { ImportAndPaint(SomePictures(2)); }, true},
      {"New", [this] { form.New1->trigger(); }, false},
  };
  for (const auto& r : rows) {
    r.step();
    EXPECT_EQ(form.Build1->isEnabled(), r.enabled) << r.after;
    EXPECT_EQ(form.ExportWeb1->isEnabled(), r.enabled) << r.after;
  }
}

TEST_F(ExportTest, WritesTheCommandLineBuildersFolderWithTheProgressPanel) {
  const QStringList chosen = SomePictures(3);
  ImportAndPaint(chosen);
  VisibilityLog panel(form.PanelBuilding);
  fs::create_directories(Place("window"));
  ExportTo(Place("window") / "site");
  ASSERT_TRUE(dialogs.Messages.empty()) << dialogs.Messages[0].Text.toStdString();
  EXPECT_EQ(panel.Shown, 1);
  EXPECT_FALSE(form.PanelBuilding->isVisible());
  EXPECT_TRUE(dialogs.ReplaceQuestions.isEmpty()) << "a new folder needs no question";

  std::string command = "'" ORBILUX_BUILD_PROGRAM "' --web '" + (Place("cli") / "site").string() + "'";
  for (const QString& path : chosen) command += " '" + path.toStdString() + "'";
  fs::create_directories(Place("cli"));
  ASSERT_EQ(std::system((command + " 2>/dev/null").c_str()), 0);
  const FolderTree window = ReadTree(Place("window") / "site");
  EXPECT_TRUE(window.contains("pictures/64/003.jpg"));
  EXPECT_EQ(window, ReadTree(Place("cli") / "site"));
}

// The last message says what was made and offers the page and the folder.
TEST_F(ExportTest, SaysWhatItMadeAndOpensThePageOrTheFolder) {
  ImportAndPaint(SomePictures(2));
  const fs::path site = Place("site");
  const QString folder = QString::fromStdString(site.string());
  const struct {
    WebExportAnswer answer;
    QStringList opened;
  } rows[] = {
      {WebExportAnswer::Close, {}},
      {WebExportAnswer::OpenPage, {folder + "/index.html"}},
      {WebExportAnswer::ShowFolder, {folder}},
  };
  for (const auto& r : rows) {
    dialogs.ExportDone = r.answer;
    dialogs.Opened.clear();
    dialogs.ExportMessages.clear();
    dialogs.ReplaceFolder = true;
    ExportTo(site);
    ASSERT_EQ(dialogs.ExportMessages.size(), 1u);
    EXPECT_TRUE(dialogs.ExportMessages[0].Text.startsWith("Wrote the web folder \"" + folder + "\": "))
        << dialogs.ExportMessages[0].Text.toStdString();
    EXPECT_EQ(dialogs.Opened, r.opened);
  }
}

// A web folder exported before is replaced only when the user says so; a
// folder the export may not replace is refused before any question: one of
// other files, and the pictures' own folder.
TEST_F(ExportTest, AsksOnlyBeforeReplacingAWebFolder) {
  ImportAndPaint(SomePictures(2));
  const fs::path site = Place("site");
  const fs::path other = Place("other");
  const struct {
    const char* name;
    std::optional<fs::path> chosen;
    bool answer;
    bool asked;
    bool replaced;
    const char* refusal;
  } rows[] = {
      {"cancelled", std::nullopt, true, false, false, ""},
      {"answered no", site, false, true, false, ""},
      {"answered yes", site, true, true, true, ""},
      {"a folder of other files", other, true, false, false, "holds files this tool did not write"},
      {"the pictures' folder", pictures.Path(), true, false, false, "holds the picture"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    fs::remove_all(site);
    pictures.Write("site/.orbilux-web", WebFolderStamp());
    pictures.Write("site/old.txt", "old");
    pictures.Write("other/old.txt", "old");
    dialogs.ReplaceQuestions.clear();
    dialogs.Messages.clear();
    dialogs.ReplaceFolder = r.answer;
    if (r.chosen) {
      ExportTo(*r.chosen);
    } else {
      dialogs.WebFolder.reset();
      form.ExportWeb1->trigger();
    }
    EXPECT_EQ(dialogs.ReplaceQuestions,
              r.asked ? QStringList{QString::fromStdString(r.chosen->string())} : QStringList{});
    EXPECT_EQ(fs::exists(site / "old.txt"), !r.replaced);
    EXPECT_EQ(fs::exists(site / "index.html"), r.replaced);
    EXPECT_TRUE(fs::exists(other / "old.txt"));
    if (*r.refusal) {
      ASSERT_EQ(dialogs.Messages.size(), 1u);
      EXPECT_TRUE(dialogs.Messages[0].Text.contains(r.refusal)) << dialogs.Messages[0].Text.toStdString();
    } else {
      EXPECT_TRUE(dialogs.Messages.empty());
    }
  }
}

}  // namespace
