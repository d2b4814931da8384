// How the program's own dialogs are set up before they run.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "tests/support/Jpeg.h"
#include "tests/support/TempDir.h"
#include "tests/window/QtPrinters.h"
#include "window/dialogs/PicturePreview.h"
#include "window/dialogs/QtDialogs.h"

namespace {

// The names the open dialog lists in its folder once the folder is loaded.
QStringList ListedNames(QFileDialog& dialog, int expected) {
  auto* model = dialog.findChild<QFileSystemModel*>();
  auto* view = dialog.findChild<QAbstractItemView*>("listView");
  if (!model || !view) return {"no list"};
  QStringList names;
  [[maybe_unused]] const bool loaded = QTest::qWaitFor([&] {
    names.clear();
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row)
      names << view->model()->index(row, 0, root).data().toString();
    return names.size() >= expected;
  });
  names.sort();
  return names;
}

TEST(QtDialogs, OpenDialogTakesSeveralJpegFilesWhateverTheirCase) {
  TempDir dir;
  for (const char* name : {"PHOTO.JPG", "a.jpg", "b.png", "c.jpeg"}) dir.Write(name, "x");
  const auto dialog = MakeOpenPicturesDialog(nullptr);
  EXPECT_EQ(dialog->windowTitle(), "Select the JPEG files");
  EXPECT_EQ(dialog->nameFilters(), (QStringList{"JPEG Image File (*.jpg)", "JPEG Image File (*.jpeg)"}));
  EXPECT_EQ(dialog->selectedNameFilter(), "JPEG Image File (*.jpg)");
  EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
  EXPECT_TRUE(dialog->isSizeGripEnabled());
  // The pane itself, not just any label of the dialog.
  const auto* preview = dialog->findChild<PicturePreview*>();
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(preview->objectName(), "preview");
  EXPECT_EQ(preview->text(), "No preview");

  dialog->setDirectory(QString::fromStdString(dir.Path().string()));
  EXPECT_EQ(ListedNames(*dialog, 2), (QStringList{"PHOTO.JPG", "a.jpg"}));
}

TEST(QtDialogs, SaveDialogAsksForAnSwfFileAndConfirmsReplacing) {
  const auto dialog = MakeSaveMovieDialog(nullptr);
  EXPECT_EQ(dialog->windowTitle(), "Save 3D swf file");
  EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(dialog->nameFilters(), QStringList{"Flash swf file (*.swf)"});
  EXPECT_EQ(dialog->defaultSuffix(), "swf");
  EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_TRUE(dialog->isSizeGripEnabled());

  TempDir dir;
  const QString folder = QString::fromStdString(dir.Path().string());
  const auto again = MakeSaveMovieDialog(nullptr, folder + "/turntable.swf");
  EXPECT_EQ(again->directory().absolutePath(), folder);
  EXPECT_EQ(again->selectedFiles(), QStringList{folder + "/turntable.swf"});
}

TEST(QtDialogs, WebFolderDialogTakesAFolderAndReplacingItDefaultsToNo) {
  const auto dialog = MakeWebFolderDialog(nullptr);
  EXPECT_EQ(dialog->windowTitle(), "Export for Web");
  EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
  EXPECT_TRUE(dialog->testOption(QFileDialog::ShowDirsOnly));

  const auto question = MakeReplaceFolderQuestion("/tmp/site", nullptr);
  EXPECT_EQ(question->text(),
            "The folder \"/tmp/site\" holds a web folder exported before.\n"
            "Replace it and everything in it with the new one?");
  EXPECT_EQ(question->standardButtons(), QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(static_cast<QAbstractButton*>(question->defaultButton()), question->button(QMessageBox::No));
}

// Return after a name chooses that folder, as a save dialog chooses a file:
// a new name as well as one that is there.
TEST(QtDialogs, WebFolderDialogTakesATypedName) {
  TempDir dir;
  std::filesystem::create_directory(dir.Path() / "there");
  const QString folder = QString::fromStdString(dir.Path().string());
  for (const QString name : {"new site", "there"}) {
    SCOPED_TRACE(name.toStdString());
    const auto dialog = MakeWebFolderDialog(nullptr);
    dialog->setDirectory(folder);
    dialog->show();
    auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    QTest::keyClicks(edit, name);
    // A refusal would come as a message box of its own: closed, it fails the test rather than hanging it.
    QTimer::singleShot(0, [] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->reject();
    });
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->selectedFiles(), QStringList{folder + "/" + name});
  }
}

TEST(QtDialogs, MessageBoxShowsACarriageReturnAsANewLineAndItsDetails) {
  struct Row {
    MessageBoxText message;
    QMessageBox::Icon icon;
    QString shown;
  };
  const Row rows[] = {
      {{"Stop - Orbilux Rezeved2.0", "One!\rTwo.", MessageBoxText::Icon::Stop, "a.jpg: why\nb.jpg: why"},
       QMessageBox::Critical,
       "One!\nTwo."},
      {{"Note", "Plain", MessageBoxText::Icon::Information, {}}, QMessageBox::Information, "Plain"},
      {{"Careful", "Plain", MessageBoxText::Icon::Warning, {}}, QMessageBox::Warning, "Plain"},
  };
  for (const Row& row : rows) {
    const auto box = MakeMessageBox(row.message, nullptr);
    EXPECT_EQ(box->windowTitle(), row.message.Caption);
    EXPECT_EQ(box->icon(), row.icon);
    EXPECT_EQ(box->text(), row.shown);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box->detailedText(), row.message.Details);
  }
}

TEST(PicturePreview, FitsAPictureIntoThePaneKeepingItsShape) {
  TempDir dir;
  const QString big = QString::fromStdString(dir.Write("big.jpg", MakeJpeg(3000, 2000)));
  const QString tall = QString::fromStdString(dir.Write("tall.jpg", MakeJpeg(50, 400)));
  const QString broken = QString::fromStdString(dir.Write("broken.jpg", "\xFF\xD8 not really"));
  PicturePreview preview;
  preview.ShowPicture(big);
  EXPECT_EQ(preview.pixmap().size(), QSize(200, 133));
  preview.ShowPicture(tall);
  EXPECT_EQ(preview.pixmap().size(), QSize(25, 200));
  for (const QString& nothing : {broken, QString::fromStdString(dir.Path().string())}) {
    preview.ShowPicture(nothing);
    EXPECT_TRUE(preview.pixmap().isNull());
    EXPECT_EQ(preview.text(), "No preview");
  }
}

}  // namespace
