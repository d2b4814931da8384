// Importing pictures, the strip's width, selection, delete, moves and New.

#include <QCursor>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

#include "collection/PictureList.h"
#include "tests/window/MainWindowFixture.h"
#include "tests/window/PaintCounter.h"
#include "window/text/PathText.h"

namespace fs = std::filesystem;

namespace {

TEST_F(MainWindowTest, ImportAppendsInTheDialogsOrderAndRepaintsOnce) {
  Import(SomePictures(1));
  const QStringList chosen = {Picture("c.jpg"), Picture("a.jpg"), Picture("b.jpg")};
  PaintCounter paints(form.PaintBox1);
  dialogs.Pictures.push_back(chosen);
  form.Load1->trigger();
  EXPECT_EQ(paints.Count, 0) << "the import only asks for a pass, which the thumbnails' arrival may repeat";
  Settle();
  EXPECT_EQ(ListedPaths().mid(1), chosen);
  EXPECT_GE(paints.Count, 1);
  EXPECT_EQ(form.PictureList.SelectedIndex(), -1);
  EXPECT_EQ(form.PaintBox1->width(), 858);
}

TEST_F(MainWindowTest, CancelledImportChangesNothing) {
  PaintCounter paints(form.PaintBox1);
  form.Load1->trigger();
  Settle();
  EXPECT_EQ(dialogs.OpenRuns, 1);
  EXPECT_EQ(form.PictureList.Count(), 0);
  EXPECT_EQ(paints.Count, 0);
}

TEST_F(MainWindowTest, EnablesBuildOnceTheStripHasMeasuredThePictures) {
  Import(SomePictures(3, 64, 48));
  PaintStrip();
  EXPECT_TRUE(form.Build1->isEnabled());
  EXPECT_EQ(form.MovieWidth, 64);
  EXPECT_EQ(form.MovieHeight, 48);
  EXPECT_EQ(form.StaticText1->text(), "");
}

TEST_F(MainWindowTest, WidensTheStripFromTheFifthPictureAndNarrowsItOnDelete) {
  struct Step {
    const char* what;
    std::function<void()> act;
    int width;
    int count;
  };
  const std::vector<Step> steps = {
      {"four pictures", [&] { Import(SomePictures(4)); }, 858, 4},
      {"a fifth", [&] { Import({Picture("5.jpg")}); }, 1018, 5},
      {"a sixth", [&] { Import({Picture("6.jpg")}); }, 1178, 6},
      {"delete with nothing selected", [&] { form.ToolButton1->trigger(); }, 1178, 6},
      {"delete the third",
       [&] {
         form.PictureList.SelectAt(2);
         form.ToolButton1->trigger();
       },
       1018, 5},
      {"two more at once",
       [&] {
         Import({Picture("7.jpg"), Picture("8.jpg")});
       },
       1338, 7},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(form.PaintBox1->width(), step.width) << step.what;
    EXPECT_EQ(form.PictureList.Count(), step.count) << step.what;
    EXPECT_EQ(form.PaintBox1->height(), 144) << step.what;
  }
}

TEST_F(MainWindowTest, DeleteRemovesTheSelectedPictureAndRepaints) {
  const QStringList chosen = SomePictures(3);
  Import(chosen);
  PaintStrip();  // the thumbnails are in, so the passes counted are the command's
  form.PictureList.SelectAt(1);
  PaintCounter paints(form.PaintBox1);
  form.ToolButton1->trigger();
  Settle();
  EXPECT_EQ(ListedPaths(), (QStringList{chosen[0], chosen[2]}));
  EXPECT_EQ(form.PictureList.SelectedIndex(), -1);
  EXPECT_EQ(paints.Count, 1);
  EXPECT_EQ(form.PaintBox1->width(), 858 - 160) << "narrowed even below the scroll box";

  form.ToolButton1->trigger();
  Settle();
  EXPECT_EQ(form.PictureList.Count(), 2) << "nothing selected, nothing deleted";
  EXPECT_EQ(paints.Count, 1);
}

TEST_F(MainWindowTest, MovesCarryTheSelectionAndDoNothingAtTheEnds) {
  const QStringList chosen = SomePictures(3);
  Import(chosen);
  PaintStrip();  // the thumbnails are in, so the passes counted are the commands'
  struct Row {
    const char* what;
    int select;
    QAction* button;
    QStringList order;
    int selected;
    int paints;
  };
  const std::vector<Row> rows = {
      {"first to previous", 0, form.ToolButton2, chosen, 0, 0},
      {"last to next", 2, form.ToolButton3, chosen, 2, 0},
      {"nothing selected, next", -1, form.ToolButton3, chosen, -1, 0},
      {"nothing selected, previous", -1, form.ToolButton2, chosen, -1, 0},
      {"second to next", 1, form.ToolButton3, {chosen[0], chosen[2], chosen[1]}, 2, 1},
      {"third back to previous", 2, form.ToolButton2, chosen, 1, 1},
  };
  for (const Row& row : rows) {
    form.PictureList.SelectAt(row.select);
    Settle();
    PaintCounter paints(form.PaintBox1);
    row.button->trigger();
    Settle();
    EXPECT_EQ(ListedPaths(), row.order) << row.what;
    EXPECT_EQ(form.PictureList.SelectedIndex(), row.selected) << row.what;
    EXPECT_EQ(paints.Count, row.paints) << row.what;
  }
}

TEST_F(MainWindowTest, ClicksOnTheStripSelectWithAnyButton) {
  Import(SomePictures(2));
  QTest::mouseClick(form.PaintBox1, Qt::RightButton, {}, QPoint(168, 140));
  EXPECT_EQ(form.PictureList.SelectedIndex(), 1);
  QTest::mouseClick(form.PaintBox1, Qt::LeftButton, {}, QPoint(167, 20));
  EXPECT_EQ(form.PictureList.SelectedIndex(), -1);
  QTest::mouseClick(form.PaintBox1, Qt::LeftButton, {}, QPoint(100, 20));
  EXPECT_EQ(form.PictureList.SelectedIndex(), 0);
  QTest::mouseClick(form.PaintBox1, Qt::LeftButton, {}, QPoint(2 * 160 + 50, 20));
  EXPECT_EQ(form.PictureList.SelectedIndex(), -1) << "the empty cell clears the selection";
}

TEST_F(MainWindowTest, ShowsTheHandOverPictures) {
  Import(SomePictures(1));
  form.PaintBox1MouseMove(100);
  EXPECT_EQ(form.PaintBox1->cursor().shape(), Qt::PointingHandCursor);
  form.PaintBox1MouseMove(160 + 100);
  EXPECT_EQ(form.PaintBox1->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(MainWindowTest, NewEmptiesTheListAndTurnsBuildOff) {
  Import(SomePictures(5, 80, 60));
  PaintStrip();
  ASSERT_TRUE(form.Build1->isEnabled());
  form.OutputPath = "/somewhere/movie.swf";
  form.ToolButton6->setEnabled(true);
  form.StaticText1->setText("Translating is OK!!");
  PaintCounter paints(form.PaintBox1);
  form.New1->trigger();
  Settle();
  EXPECT_EQ(form.PictureList.Count(), 0);
  EXPECT_FALSE(form.Build1->isEnabled());
  EXPECT_EQ(paints.Count, 1);
  EXPECT_TRUE(form.ToolButton6->isEnabled());
  EXPECT_EQ(form.OutputPath, "/somewhere/movie.swf");
  EXPECT_EQ(form.MovieWidth, 80);
  EXPECT_EQ(form.MovieHeight, 60);
  EXPECT_EQ(form.StaticText1->text(), "Translating is OK!!");
  EXPECT_EQ(form.PaintBox1->width(), 1018);
}

TEST_F(MainWindowTest, ImportsAWholeFolderInTheScansOrder) {
  pictures.Write("folder/b.jpeg", MakeJpeg(8, 8));
  pictures.Write("folder/view10.jpg", MakeJpeg(8, 8));
  pictures.Write("folder/View2.JPG", MakeJpeg(8, 8));
  pictures.Write("folder/notes.txt", "x");
  const QString folder = QString::fromStdString((pictures.Path() / "folder").string());
  dialogs.FolderChooser = [&] { form.ImportFolder = folder; };
  PaintCounter paints(form.PaintBox1);
  form.FullFolder1->trigger();
  EXPECT_EQ(paints.Count, 0) << "the command only asks for a pass, which the thumbnails' arrival may repeat";
  Settle();
  EXPECT_EQ(ListedPaths(), (QStringList{folder + "/View2.JPG", folder + "/view10.jpg", folder + "/b.jpeg"}));
  EXPECT_GE(paints.Count, 1);
  EXPECT_EQ(fs::canonical(fs::current_path()), fs::canonical(folder.toStdString()));

  form.FullFolder1->trigger();
  EXPECT_EQ(form.PictureList.Count(), 6) << "the same folder again doubles its entries";
}

TEST_F(MainWindowTest, FolderImportSaysSoWhenTheFolderHasNoPictures) {
  Import(SomePictures(1));
  PaintStrip();  // a pass after the thumbnail's arrival would replace the text
  pictures.Write("empty/notes.txt", "x");
  const QString folder = QString::fromStdString((pictures.Path() / "empty").string());
  dialogs.FolderChooser = [&] { form.ImportFolder = folder; };
  form.FullFolder1->trigger();
  Settle();
  EXPECT_EQ(form.StaticText1->text(), "No JPEG pictures in \"" + folder + "\"");
  EXPECT_EQ(form.PictureList.Count(), 1);

  const QString deep = QString::fromStdString((pictures.Path() / std::string(120, 'd') / "empty").string());
  fs::create_directories(deep.toStdString());
  dialogs.FolderChooser = [&] { form.ImportFolder = deep; };
  form.FullFolder1->trigger();
  const QString shown = form.StaticText1->text();
  EXPECT_TRUE(shown.startsWith("No JPEG pictures in \"/") && shown.endsWith("/empty\"")) << shown.toStdString();
  EXPECT_LE(QFontMetrics(form.StaticText1->font()).horizontalAdvance(shown), form.StaticText1->contentsRect().width())
      << "a long folder gives way in its middle";
}

TEST_F(MainWindowTest, DroppedFilesAndFoldersAreAppendedInTheOrderGiven) {
  const QStringList files = {Picture("z.jpg"), Picture("a.jpg")};
  pictures.Write("folder/view10.jpg", MakeJpeg(8, 8));
  pictures.Write("folder/view2.jpg", MakeJpeg(8, 8));
  const QString folder = QString::fromStdString((pictures.Path() / "folder").string());
  // A file manager percent-encodes every byte of a name that is not UTF-8.
  const std::string latin1 = pictures.Write("caf\xE9.jpg", MakeJpeg(8, 8));
  const QByteArray latin1Address = "file://" + QByteArray::fromStdString(latin1).toPercentEncoding("/");
  QMimeData data;
  data.setData("text/uri-list", QUrl::fromLocalFile(files[0]).toEncoded() + "\r\n" +
                                    QUrl::fromLocalFile(folder).toEncoded() + "\r\nhttps://example.org/x.jpg\r\n" +
                                    latin1Address + "\r\n" + QUrl::fromLocalFile(files[1]).toEncoded() + "\r\n");

  QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&form, &enter);
  EXPECT_TRUE(enter.isAccepted());
  PaintCounter paints(form.PaintBox1);
  QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&form, &drop);
  EXPECT_EQ(paints.Count, 0) << "the drop only asks for a pass";
  Settle();
  EXPECT_EQ(ListedPaths(),
            (QStringList{files[0], folder + "/view2.jpg", folder + "/view10.jpg", PathToText(latin1), files[1]}));
  EXPECT_EQ(form.PictureList.At(3).Path, latin1);
  EXPECT_GE(paints.Count, 1);

  QMimeData web;
  web.setUrls({QUrl("https://example.org/x.jpg")});
  QDragEnterEvent refused(QPoint(100, 100), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&form, &refused);
  EXPECT_FALSE(refused.isAccepted()) << "nothing on this computer to import";
}

TEST_F(MainWindowTest, FolderImportDoesNothingWhenNoFolderIsChosen) {
  form.ImportFolder = "/left/over";
  dialogs.FolderChooser = [&] { form.ImportFolder.clear(); };
  PaintCounter paints(form.PaintBox1);
  form.FullFolder1->trigger();
  Settle();
  EXPECT_EQ(dialogs.FolderRuns, 1);
  EXPECT_EQ(form.PictureList.Count(), 0);
  EXPECT_EQ(paints.Count, 0);
  EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(MainWindowTest, ReportsAFolderThatCannotBeEnteredAndAddsNothing) {
  Import(SomePictures(1));
  const QString gone = QString::fromStdString((pictures.Path() / "gone").string());
  dialogs.FolderChooser = [&] { form.ImportFolder = gone; };
  form.FullFolder1->trigger();
  ASSERT_EQ(dialogs.Messages.size(), 1u);
  EXPECT_EQ(dialogs.Messages[0].Text, "Cannot open folder \"" + gone + "\". No such file or directory");
  EXPECT_EQ(dialogs.Messages[0].Kind, MessageBoxText::Icon::Stop);
  EXPECT_EQ(form.PictureList.Count(), 1);
}

}  // namespace
