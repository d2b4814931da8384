#pragma once
// The dialogs of the program itself: Qt's file dialogs and message boxes,
// the folder chooser and the about dialog.

#include <QFileDialog>
#include <QMessageBox>
#include <memory>

#include "window/dialogs/WindowDialogs.h"

class TForm2;
class TForm3;

class QtDialogs : public WindowDialogs {
 public:
  // The folder chooser, which puts its answer in importFolder, and the
  // about dialog are made as owner's children and go with it.
  QtDialogs(QWidget& owner, QString& importFolder);

  std::optional<QStringList> OpenPictures() override;
  std::optional<QString> SaveMoviePath(const QString& lastMovie) override;
  std::optional<QString> WebFolderPath() override;
  bool ConfirmReplaceFolder(const QString& folder) override;
  void ShowMessage(const MessageBoxText& message) override;
  LargePicturesAnswer AskLargePictures(const MessageBoxText& message, const QString& fitSize) override;
  WebExportAnswer ShowWebExportDone(const MessageBoxText& message) override;
  void OpenWithDesktop(const QString& path) override;
  void RunFolderChooser() override;
  void ShowAbout() override;

 private:
  QWidget& owner_;
  TForm2& folderChooser_;
  TForm3& about_;
};

// The dialogs as they are set up before they run.
std::unique_ptr<QFileDialog> MakeOpenPicturesDialog(QWidget* parent);
// The save dialog starts in lastMovie's folder with its name filled in; with
// no last movie, wherever Qt opens it.
std::unique_ptr<QFileDialog> MakeSaveMovieDialog(QWidget* parent, const QString& lastMovie = QString());
std::unique_ptr<QFileDialog> MakeWebFolderDialog(QWidget* parent);
std::unique_ptr<QMessageBox> MakeReplaceFolderQuestion(const QString& folder, QWidget* parent);
std::unique_ptr<QMessageBox> MakeMessageBox(const MessageBoxText& message, QWidget* parent);
