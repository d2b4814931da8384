// TForm2, the folder chooser: its answer in ImportFolder and its tree.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "tests/support/TempDir.h"
#include "tests/window/QtPrinters.h"
#include "window/dialogs/foldSelectUnit.h"

namespace {

class FolderChooserTest : public ::testing::Test {
 protected:
  void Choose(const QString& path) {
    const QModelIndex folder = form.ShellFolders->index(path);
    ASSERT_TRUE(folder.isValid()) << path.toStdString();
    form.ShellTreeView1->setCurrentIndex(folder);
  }

  // Runs the dialog modally and, once it is up, does what the user does.
  void RunWith(const std::function<void()>& user) {
    QTimer::singleShot(0, &form, user);
    form.exec();
  }

  QString Folder(const char* name) {
    const auto path = dir.Path() / name;
    std::filesystem::create_directories(path);
    return QString::fromStdString(path.string());
  }

  // Whether the tree lists a folder of that name under parent.
  bool Lists(const QString& parent, const QString& name) {
    const QModelIndex folder = form.ShellFolders->index(parent);
    for (int row = 0; row < form.ShellFolders->rowCount(folder); ++row) {
      if (form.ShellFolders->fileName(form.ShellFolders->index(row, 0, folder)) == name) return true;
    }
    return false;
  }

  TempDir dir;
  QString importFolder;
  QWidget owner;
  TForm2 form{importFolder, &owner};
};

TEST_F(FolderChooserTest, IsLaidOutAsADialogOfFixedSize) {
  EXPECT_EQ(form.windowTitle(), "Select a Folder");
  EXPECT_EQ(form.minimumSize(), QSize(339, 312));
  EXPECT_EQ(form.maximumSize(), QSize(339, 312));
  EXPECT_EQ(form.Label1->text(), "Select a folder to import the .jpg files:");
  EXPECT_EQ(form.Label1->pos(), QPoint(32, 22));
  EXPECT_EQ(form.ShellTreeView1->geometry(), QRect(32, 40, 281, 201));
  EXPECT_EQ(form.Button1->text(), "确定");
  EXPECT_EQ(form.Button1->geometry(), QRect(136, 264, 75, 25));
  EXPECT_EQ(form.Button2->text(), "取消");
  EXPECT_EQ(form.Button2->geometry(), QRect(232, 264, 75, 25));
  for (QPushButton* button : {form.Button1, form.Button2}) {
    EXPECT_FALSE(button->autoDefault());
    EXPECT_FALSE(button->isDefault());
  }
  for (int column = 1; column < form.ShellFolders->columnCount(); ++column)
    EXPECT_TRUE(form.ShellTreeView1->isColumnHidden(column)) << column;
  EXPECT_EQ(form.ShellFolders->filter() & QDir::Files, 0) << "folders only";
}

TEST_F(FolderChooserTest, OpensAtTheHomeFolder) {
  EXPECT_EQ(form.SelectedFolder(), QDir::homePath());
  EXPECT_TRUE(form.ShellTreeView1->isExpanded(form.ShellFolders->index(QDir::homePath())));
}

TEST_F(FolderChooserTest, OkAnswersWithTheChosenFolder) {
  const QString photos = Folder("Photos");
  RunWith([&] {
    Choose(photos);
    form.Button1->click();
  });
  EXPECT_EQ(importFolder, photos);
  EXPECT_FALSE(form.isVisible());
}

TEST_F(FolderChooserTest, OkWithNothingSelectedAnswersEmpty) {
  importFolder = "/earlier";
  form.ShellTreeView1->clearSelection();
  form.Button1Click();
  EXPECT_EQ(importFolder, "");
}

TEST_F(FolderChooserTest, CancelEmptiesAnEarlierAnswerAndIgnoresEscape) {
  importFolder = Folder("Earlier");
  RunWith([&] {
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible()) << "Escape is bound to neither button";
    QTest::keyClick(&form, Qt::Key_Return);
    EXPECT_TRUE(form.isVisible()) << "nor is Enter";
    form.Button2->click();
  });
  EXPECT_EQ(importFolder, "");
  EXPECT_FALSE(form.isVisible());
}

TEST_F(FolderChooserTest, CloseBoxAnswersLikeCancel) {
  importFolder = Folder("Earlier");
  RunWith([&] { form.close(); });
  EXPECT_EQ(importFolder, "");
  EXPECT_FALSE(form.isVisible());
}

TEST_F(FolderChooserTest, KeepsTheTreeAsItWasLeft) {
  const QString first = Folder("First");
  Folder("First/Inner");
  RunWith([&] {
    Choose(first);
    form.ShellTreeView1->expand(form.ShellFolders->index(first));
    form.Button1->click();
  });
  QString seen;
  bool expanded = false;
  RunWith([&] {
    seen = form.SelectedFolder();
    expanded = form.ShellTreeView1->isExpanded(form.ShellFolders->index(first));
    form.Button2->click();
  });
  EXPECT_EQ(seen, first);
  EXPECT_TRUE(expanded);
  EXPECT_TRUE(form.ShellTreeView1->isExpanded(form.ShellFolders->index(QDir::homePath())));
}

TEST_F(FolderChooserTest, ShowsAFolderMadeSinceItWasLastShown) {
  const QString shoots = Folder("Shoots");
  Folder("Shoots/Monday");
  RunWith([&] {
    Choose(shoots);
    form.ShellTreeView1->expand(form.ShellFolders->index(shoots));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Lists(shoots, "Monday"); }, 20000));
    form.Button2->click();
  });
  Folder("Shoots/Tuesday");
  RunWith([&] {
    EXPECT_TRUE(QTest::qWaitFor([&] { return Lists(shoots, "Tuesday"); }, 20000));
    form.Button2->click();
  });
}

}  // namespace
