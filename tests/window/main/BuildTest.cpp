// The Build command: its checks, the save dialog, the hand-over to the
// writer, the progress panel and the general error report.

#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "tests/support/BrokenJpeg.h"
#include "tests/window/MainWindowFixture.h"
#include "tests/window/VisibilityLog.h"
#include "window/text/PathText.h"

namespace fs = std::filesystem;

namespace {

const QString kStopCaption = "Stop - Orbilux Rezeved2.0";
const QString kMismatchText = "One of the image's format and/or size is different!\rTranslating is terminated.";

class BuildTest : public MainWindowTest {
 protected:
  // Imports the pictures and paints the strip, which measures them and
  // turns Build on when they share one size.
  void ImportAndPaint(const QStringList& paths) {
    Import(paths);
    PaintStrip();
  }

  QString Target(const std::string& name = "movie.swf") {
    return QString::fromStdString((pictures.Path() / name).string());
  }
};

TEST_F(BuildTest, StopsBeforeTheSaveDialogNamingEveryRefusedPicture) {
  const std::string jpeg = MakeJpeg(64, 48);
  const struct {
    const char* what;
    std::string second;
    QString reason;
  } rows[] = {
      {"a PNG named .jpg", "\x89PNG\r\n\x1a\n rest of it", "not a JPEG file"},
      {"cut inside its header", jpeg.substr(0, 30), "the file ends inside its JPEG header"},
      {"another size since the paint", MakeJpeg(80, 48), "80 x 48, but the movie is 64 x 48 (the size of %1)"},
      {"arithmetic coding", WithFrameMarker(jpeg, 0xC9), "arithmetic-coded JPEG, which SWF players do not show"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    dialogs.Messages.clear();
    form.New1->trigger();
    const QString first = Picture("first.jpg");
    const QString second = Picture("second.jpg");
    ImportAndPaint({first, second, Picture("third.jpg"), Picture("fourth.jpg")});
    ASSERT_TRUE(form.Build1->isEnabled());
    pictures.Write("second.jpg", r.second);
    pictures.Write("fourth.jpg", "GIF89a");
    dialogs.SavePath = Target();
    form.Build1->trigger();
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    const MessageBoxText& box = dialogs.Messages[0];
    EXPECT_EQ(box.Caption, kStopCaption);
    EXPECT_EQ(box.Text, kMismatchText);
    EXPECT_EQ(box.Kind, MessageBoxText::Icon::Stop);
    EXPECT_EQ(box.Details, second + ": " + QString(r.reason).arg(first) + "\n" +
                               PathToText(form.PictureList.At(3).Path) + ": not a JPEG file");
    EXPECT_EQ(dialogs.SaveRuns, 0);
    EXPECT_FALSE(form.ToolButton6->isEnabled());
    EXPECT_FALSE(fs::exists(Target().toStdString()));
  }
}

TEST_F(BuildTest, WarnsOfACutPictureOnItsCellAndBeforeTheSaveDialog) {
  const std::string photo = MakeDetailedJpeg(320, 240);
  const QString cut = QString::fromStdString(pictures.Write("cut.jpg", CutInScan(photo)));
  ImportAndPaint({QString::fromStdString(pictures.Write("whole.jpg", photo)), cut});
  const QString expected =
      cut + ": its picture data is damaged (Premature end of JPEG file); players show stripes where it fails";
  EXPECT_EQ(form.PaintBox1ToolTip(160 + 70), expected);
  EXPECT_EQ(form.PaintBox1ToolTip(70), "");

  dialogs.SavePath = Target();
  form.Build1->trigger();
  ASSERT_EQ(dialogs.Messages.size(), 1u);
  EXPECT_EQ(dialogs.Messages[0].Kind, MessageBoxText::Icon::Warning);
  EXPECT_EQ(dialogs.Messages[0].Details, "warning: " + expected);
  EXPECT_EQ(dialogs.SaveRuns, 1) << "a warning lets the build go on";
  EXPECT_TRUE(fs::exists(Target().toStdString()));
}

// One line per kind of warning in the box, each picture in its details; the
// same warnings are not shown again, by Build nor by Export.
TEST_F(BuildTest, AlikeWarningsAreOneLineAndShownOncePerList) {
  const QStringList wide = {Picture("a.jpg", 2900, 8), Picture("b.jpg", 2900, 8), Picture("c.jpg", 2900, 8)};
  ImportAndPaint(wide);
  const QString over = "2900 x 8, a side over 2880 pixels, which older players refuse to show";
  form.Build1->trigger();
  ASSERT_EQ(dialogs.Messages.size(), 1u);
  EXPECT_EQ(dialogs.Messages[0].Text,
            "3 of the pictures will show wrong in some players:\r3 pictures: a side over "
            "2880 pixels, which older players refuse to show (" +
                wide[0] + " to " + wide[2] + ", 2900 x 8)\rThe details name each picture.");
  EXPECT_EQ(dialogs.Messages[0].Details, "warning: " + wide[0] + ": " + over + "\nwarning: " + wide[1] + ": " + over +
                                             "\nwarning: " + wide[2] + ": " + over);
  form.Build1->trigger();
  form.ExportWeb1->trigger();
  EXPECT_EQ(dialogs.Messages.size(), 1u);
  EXPECT_EQ(dialogs.SaveRuns, 2);
}

TEST_F(BuildTest, CancelledSaveChangesNothing) {
  ImportAndPaint(SomePictures(2));
  form.Build1->trigger();
  EXPECT_EQ(dialogs.SaveRuns, 1);
  EXPECT_TRUE(dialogs.Messages.empty());
  EXPECT_FALSE(form.ToolButton6->isEnabled());
  EXPECT_TRUE(form.OutputPath.isEmpty());
  EXPECT_EQ(form.MovieStream.Size(), 0u);
  EXPECT_EQ(form.StaticText1->text(), "");
}

TEST_F(BuildTest, WritesTheMovieWithTheProgressPanelShownMeanwhile) {
  ImportAndPaint(SomePictures(3));
  dialogs.SavePath = Target();
  VisibilityLog panel(form.PanelBuilding);
  form.Build1->trigger();
  EXPECT_TRUE(dialogs.Messages.empty());
  EXPECT_EQ(form.OutputPath, Target());
  EXPECT_TRUE(form.ToolButton6->isEnabled());
  EXPECT_TRUE(fs::exists(Target().toStdString()));
  EXPECT_EQ(form.StaticText1->text(), "Translating is OK!!");
  EXPECT_EQ(panel.Shown, 1);
  EXPECT_FALSE(form.PanelBuilding->isVisible());
  EXPECT_EQ(form.ProgressBar1->maximum(), 2);
  EXPECT_EQ(form.ProgressBar1->value(), 2);
}

std::string Bytes(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(BuildTest, WritesTheSameBytesAsTheCommandLineBuilder) {
  QStringList chosen;
  for (int i = 0; i < 3; ++i) {
    chosen << QString::fromStdString(pictures.Write("p" + std::to_string(i) + ".jpg",
                                                    MakeJpeg(320, 240, {static_cast<std::uint8_t>(70 * i), 90, 200})));
  }
  ImportAndPaint(chosen);
  dialogs.SavePath = Target("window.swf");
  form.Build1->trigger();
  ASSERT_TRUE(dialogs.Messages.empty());

  std::string command = "'" ORBILUX_BUILD_PROGRAM "' -o '" + Target("cli.swf").toStdString() + "'";
  for (const QString& path : chosen) command += " '" + path.toStdString() + "'";
  command += " 2>/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::string movie = Bytes(Target("window.swf"));
  EXPECT_EQ(movie.substr(0, 4), std::string("FWS\x09"));
  EXPECT_EQ(movie, Bytes(Target("cli.swf")));
  EXPECT_EQ(form.MovieStream.Size(), movie.size());
}

TEST_F(BuildTest, TheSaveDialogOpensOnTheLastMovie) {
  ImportAndPaint(SomePictures(2));
  dialogs.SavePath = Target("first.swf");
  form.Build1->trigger();
  form.Build1->trigger();
  EXPECT_EQ(dialogs.SaveOpenedOn, (std::vector<QString>{QString(), Target("first.swf")}));
}

TEST_F(BuildTest, NewAfterABuildKeepsPreviewThePathAndTheSize) {
  ImportAndPaint(SomePictures(2, 72, 40));
  dialogs.SavePath = Target();
  form.Build1->trigger();
  form.New1->trigger();
  EXPECT_FALSE(form.Build1->isEnabled());
  EXPECT_TRUE(form.ToolButton6->isEnabled());
  EXPECT_EQ(form.OutputPath, Target());
  EXPECT_EQ(form.MovieWidth, 72);
  EXPECT_EQ(form.MovieHeight, 40);
}

TEST_F(BuildTest, SaysSoWhenThereAreNoPicturesToBuild) {
  ImportAndPaint(SomePictures(1));
  form.PictureList.SelectAt(0);
  form.ToolButton1->trigger();
  ASSERT_TRUE(form.Build1->isEnabled()) << "deleting the last picture leaves Build as it was";
  dialogs.SavePath = Target();
  form.Build1->trigger();
  ASSERT_EQ(dialogs.Messages.size(), 1u);
  EXPECT_EQ(dialogs.Messages[0].Text, "There are no pictures to build.");
  EXPECT_EQ(dialogs.SaveRuns, 0);
  EXPECT_FALSE(fs::exists(Target().toStdString()));
  EXPECT_FALSE(form.ToolButton6->isEnabled());
}

TEST_F(BuildTest, ReportsAWriterFailureOnceAndHidesThePanel) {
  ImportAndPaint(SomePictures(2));
  const QString target = Target("no such folder/movie.swf");
  dialogs.SavePath = target;
  form.Build1->trigger();
  ASSERT_EQ(dialogs.Messages.size(), 1u);
  EXPECT_EQ(dialogs.Messages[0].Caption, "Orbilux Rezoziv");
  EXPECT_EQ(dialogs.Messages[0].Kind, MessageBoxText::Icon::Stop);
  EXPECT_TRUE(dialogs.Messages[0].Text.startsWith("Cannot create file \"" + target + "\". "))
      << dialogs.Messages[0].Text.toStdString();
  EXPECT_FALSE(form.PanelBuilding->isVisible());
  EXPECT_EQ(form.OutputPath, target) << "kept as set before the failure";
  EXPECT_TRUE(form.ToolButton6->isEnabled());
}

TEST_F(BuildTest, ReportsAPictureThatHasGoneBeforeAskingForAFile) {
  const QStringList chosen = SomePictures(2);
  ImportAndPaint(chosen);
  fs::remove(chosen[1].toStdString());
  dialogs.SavePath = Target();
  form.Build1->trigger();
  ASSERT_EQ(dialogs.Messages.size(), 1u);
  EXPECT_EQ(dialogs.Messages[0].Text, "Cannot open file \"" + chosen[1] + "\". No such file or directory");
  EXPECT_EQ(dialogs.SaveRuns, 0);
}

TEST_F(BuildTest, DoesNotRunWhilePicturesDifferInSize) {
  ImportAndPaint({Picture("a.jpg", 64, 48), Picture("b.jpg", 80, 48)});
  ASSERT_FALSE(form.Build1->isEnabled());
  form.Build1->trigger();
  EXPECT_EQ(dialogs.SaveRuns, 0);
  EXPECT_TRUE(dialogs.Messages.empty());
}

}  // namespace
