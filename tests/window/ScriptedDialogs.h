#pragma once
// Answers the main window's dialogs from a script and records what it was
// asked, so that every command can run without a user.

#include <deque>
#include <functional>
#include <vector>

#include "window/dialogs/WindowDialogs.h"

class ScriptedDialogs : public WindowDialogs {
 public:
  // Answers for the open-file dialog, taken one per run; none left means cancel.
  std::deque<QStringList> Pictures;
  // The save dialog's answer; nothing means cancel.
  std::optional<QString> SavePath;
  // The web export's folder; nothing means cancel.
  std::optional<QString> WebFolder;
  // The answer to "replace the folder?", and the folders asked about.
  bool ReplaceFolder = false;
  QStringList ReplaceQuestions;
  // The answer to the warning box about large pictures, and the sizes it offered.
  LargePicturesAnswer LargePictures = LargePicturesAnswer::AsTheyAre;
  QStringList FitSizesOffered;
  // The answer to the message after a web export, the messages, and what
  // was opened with the desktop's programs.
  WebExportAnswer ExportDone = WebExportAnswer::Close;
  std::vector<MessageBoxText> ExportMessages;
  QStringList Opened;
  // What the folder chooser does when it runs.
  std::function<void()> FolderChooser;

  // The last movie each save dialog was opened on.
  std::vector<QString> SaveOpenedOn;

  int OpenRuns = 0;
  int SaveRuns = 0;
  int FolderRuns = 0;
  int AboutRuns = 0;
  std::vector<MessageBoxText> Messages;

  std::optional<QStringList> OpenPictures() override {
    ++OpenRuns;
    if (Pictures.empty()) return std::nullopt;
    QStringList answer = Pictures.front();
    Pictures.pop_front();
    return answer;
  }
  std::optional<QString> SaveMoviePath(const QString& lastMovie) override {
    ++SaveRuns;
    SaveOpenedOn.push_back(lastMovie);
    return SavePath;
  }
  std::optional<QString> WebFolderPath() override { return WebFolder; }
  bool ConfirmReplaceFolder(const QString& folder) override {
    ReplaceQuestions << folder;
    return ReplaceFolder;
  }
  void ShowMessage(const MessageBoxText& message) override { Messages.push_back(message); }
  LargePicturesAnswer AskLargePictures(const MessageBoxText& message, const QString& fitSize) override {
    Messages.push_back(message);
    FitSizesOffered << fitSize;
    return LargePictures;
  }
  WebExportAnswer ShowWebExportDone(const MessageBoxText& message) override {
    ExportMessages.push_back(message);
    return ExportDone;
  }
  void OpenWithDesktop(const QString& path) override { Opened << path; }
  void RunFolderChooser() override {
    ++FolderRuns;
    if (FolderChooser) FolderChooser();
  }
  void ShowAbout() override { ++AboutRuns; }
};
