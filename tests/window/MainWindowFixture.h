#pragma once
// A shown main window with scripted dialogs and a folder of test pictures.

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QTest>
#include <filesystem>
#include <string>

#include "tests/support/Jpeg.h"
#include "tests/support/TempDir.h"
#include "tests/window/QtPrinters.h"
#include "tests/window/ScriptedDialogs.h"
#include "window/main/Unit1.h"
#include "window/strip/PaintBox.h"
#include "window/text/PathText.h"

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    Settle();
  }
  // Imports by folder move the current directory; each test gets its own back.
  ~MainWindowTest() override { std::filesystem::current_path(savedDirectory_); }

  // Delivers what is pending, paint passes included.
  static void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }

  // Paints the strip until the thumbnails it shows are decoded and drawn.
  void PaintStrip() {
    form.PaintBox1->repaint();
    while (form.ThumbnailsPending()) {
      ASSERT_TRUE(QTest::qWaitFor([this] { return !form.ThumbnailsPending(); }, 60000));
      form.PaintBox1->repaint();
    }
  }

  QString Picture(const std::string& name, int width = 64, int height = 48) {
    return QString::fromStdString(pictures.Write(name, MakeJpeg(width, height)));
  }

  QStringList SomePictures(int count, int width = 64, int height = 48) {
    QStringList paths;
    for (int i = 1; i <= count; ++i) paths << Picture("view" + std::to_string(i) + ".jpg", width, height);
    return paths;
  }

  void Import(const QStringList& paths) {
    dialogs.Pictures.push_back(paths);
    form.Load1->trigger();
    Settle();
  }

  QStringList ListedPaths() const {
    QStringList paths;
    for (const PictureEntry& entry : form.PictureList.Entries()) paths << PathToText(entry.Path);
    return paths;
  }

  TempDir pictures;
  ScriptedDialogs dialogs;
  TForm1 form{dialogs};

 private:
  std::filesystem::path savedDirectory_ = std::filesystem::current_path();
};
