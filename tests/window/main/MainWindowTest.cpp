// The main window's layout, menus, toolbar and start-up state.

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScrollArea>
#include <QToolBar>
#include <QToolButton>

#include "tests/window/MainWindowFixture.h"

namespace {

QRect InClient(const TForm1& form, const QWidget* widget) {
  return QRect(widget->mapTo(form.centralWidget(), QPoint(0, 0)), widget->size());
}

TEST_F(MainWindowTest, StartsWithAnEmptyListAndBuildAndPreviewOff) {
  EXPECT_EQ(form.windowTitle(), "Orbilux Rezoziv  V2.10.2011");
  EXPECT_FALSE(form.Build1->isEnabled());
  EXPECT_FALSE(form.ToolButton6->isEnabled());
  EXPECT_EQ(form.StaticText1->text(), "...");
  EXPECT_EQ(form.PictureList.Count(), 0);
  EXPECT_EQ(form.PictureList.SelectedIndex(), -1);
  EXPECT_EQ(form.MovieWidth, 550);
  EXPECT_EQ(form.MovieHeight, 400);
  EXPECT_TRUE(form.OutputPath.isEmpty());
  EXPECT_TRUE(form.ImportFolder.isEmpty());
  EXPECT_EQ(form.MovieStream.Size(), 0u);
  EXPECT_FALSE(form.PanelBuilding->isVisible());
  EXPECT_EQ(form.PreviewArea->findChildren<QWidget*>().size(), 0) << "nothing in the preview area yet";
  EXPECT_FALSE(form.windowIcon().isNull());
}

TEST_F(MainWindowTest, LaysOutTheClientAreaInPixels) {
  const QWidget* client = form.centralWidget();
  EXPECT_EQ(client->size(), QSize(862, 586));
  EXPECT_EQ(InClient(form, form.Panel1), QRect(0, 586 - 199, 862, 199));
  EXPECT_EQ(InClient(form, form.PreviewArea), QRect(0, 0, 862, 586 - 199));
  EXPECT_EQ(form.ToolBar1->geometry(), QRect(0, 0, 862, 29));
  EXPECT_EQ(form.StaticText1->mapTo(form.ToolBar1, QPoint(0, 0)).x(), 140);
  EXPECT_EQ(form.StaticText1->size(), QSize(349, 22));
  for (QAction* button : {form.ToolButton1, form.ToolButton2, form.ToolButton3, form.ToolButton6})
    EXPECT_EQ(form.ToolBar1->widgetForAction(button)->width(), 31) << button->text().toStdString();
  EXPECT_EQ(form.ScrollBox1->geometry(), QRect(0, 199 - 168, 862, 168));
  EXPECT_EQ(form.PaintBox1->geometry(), QRect(0, 0, 858, 144));
  EXPECT_EQ(form.ScrollBox1->viewport()->width(), 858) << "the start width fits without scrolling";
  EXPECT_EQ(InClient(form, form.PanelBuilding), QRect(344, 232, 193, 49));
  EXPECT_EQ(form.ProgressBar1->geometry(), QRect(17, 16, 158, 17));
}

TEST_F(MainWindowTest, ShowsTheStatusTextBoldRedAndCentred) {
  EXPECT_TRUE(form.StaticText1->font().bold());
  EXPECT_EQ(form.StaticText1->palette().color(form.StaticText1->foregroundRole()), QColor(Qt::red));
  EXPECT_EQ(form.StaticText1->alignment(), Qt::AlignCenter);
  EXPECT_EQ(form.StaticText1->frameShadow(), QFrame::Sunken);
  EXPECT_EQ(form.font().pixelSize(), 11);
}

TEST_F(MainWindowTest, OffersTheMenusInOrderWithoutShortcuts) {
  struct Menu {
    QString title;
    QStringList items;  // "-" for a separator
  };
  const std::vector<Menu> expected = {
      {"File", {"New", "-", "Import...", "Whole Folder...", "-", "Exit"}},
      {"Tools", {"Build", "Export for Web..."}},
      {"Help", {"-", "About us"}},
  };
  const QList<QAction*> menus = form.menuBar()->actions();
  ASSERT_EQ(menus.size(), static_cast<qsizetype>(expected.size()));
  for (size_t m = 0; m < expected.size(); ++m) {
    EXPECT_EQ(menus[m]->text(), expected[m].title);
    QStringList items;
    for (QAction* item : menus[m]->menu()->actions()) {
      items << (item->isSeparator() ? "-" : item->text());
      EXPECT_TRUE(item->shortcut().isEmpty()) << item->text().toStdString();
    }
    EXPECT_EQ(items, expected[m].items);
  }
  EXPECT_FALSE(form.Build1->icon().isNull());
}

TEST_F(MainWindowTest, ShowsToolButtonsAsImagesWithHints) {
  const std::vector<std::pair<QAction*, QString>> buttons = {
      {form.ToolButton1, "Delete the Selected"},
      {form.ToolButton2, "Move to previous"},
      {form.ToolButton3, "Move to Next"},
      {form.ToolButton6, "Preview the SWF"},
  };
  for (const auto& [action, hint] : buttons) {
    auto* button = qobject_cast<QToolButton*>(form.ToolBar1->widgetForAction(action));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->toolTip(), hint);
    EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
    EXPECT_FALSE(action->icon().isNull());
  }
}

TEST_F(MainWindowTest, ClosesWithoutAskingEvenWithPictures) {
  Import(SomePictures(2));
  form.exit1->trigger();
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(dialogs.Messages.empty());
  form.show();
  EXPECT_TRUE(form.close());
}

TEST_F(MainWindowTest, ShowsTheAboutDialog) {
  form.Aboutus1->trigger();
  EXPECT_EQ(dialogs.AboutRuns, 1);
}

}  // namespace
