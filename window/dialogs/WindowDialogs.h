#pragma once
// Everything the main window asks of the user through a dialog or shows in a
// message box. The program answers with Qt's dialogs and the two forms
// (QtDialogs); tests answer from a script.

#include <QString>
#include <QStringList>
#include <optional>

// One message box: caption, text and icon, always with a single OK button.
// A lone carriage return in the text starts a new line. Details, when there
// are any, are one line each in a section the user can open.
struct MessageBoxText {
  enum class Icon { Stop, Warning, Information };
  QString Caption;
  QString Text;
  Icon Kind = Icon::Stop;
  QString Details;
  friend bool operator==(const MessageBoxText&, const MessageBoxText&) = default;
};

// The choices of the warning box about pictures larger than older players
// show: build them as they are, build from copies scaled to fit, or cancel.
enum class LargePicturesAnswer { AsTheyAre, ScaleToFit, Cancel };

// The choices of the message that says what a web export made.
enum class WebExportAnswer { Close, OpenPage, ShowFolder };

class WindowDialogs {
 public:
  virtual ~WindowDialogs() = default;
  // The open-file dialog: the chosen paths in the dialog's order, or nothing
  // when the user cancels.
  virtual std::optional<QStringList> OpenPictures() = 0;
  // The save dialog for the movie, opened on the last movie written (its
  // folder and name) when there is one: the chosen path, or nothing on cancel.
  virtual std::optional<QString> SaveMoviePath(const QString& lastMovie) = 0;
  // The folder a web export writes, or nothing on cancel.
  virtual std::optional<QString> WebFolderPath() = 0;
  // Asks whether the folder, a web folder exported before, may be replaced with
  // everything in it; true for yes.
  virtual bool ConfirmReplaceFolder(const QString& folder) = 0;
  virtual void ShowMessage(const MessageBoxText& message) = 0;
  // The warning box for pictures with a side over what older players show,
  // with a choice to build from copies scaled to fit within fitSize ("2880 x
  // 2880") besides building them as they are or cancelling.
  virtual LargePicturesAnswer AskLargePictures(const MessageBoxText& message, const QString& fitSize) = 0;
  // The message after a web export, offering to open its page in the
  // browser or to show its folder.
  virtual WebExportAnswer ShowWebExportDone(const MessageBoxText& message) = 0;
  // Opens a file or folder with the user's own program for it.
  virtual void OpenWithDesktop(const QString& path) = 0;
  // Runs the folder chooser modally; it leaves its answer in the main
  // window's ImportFolder.
  virtual void RunFolderChooser() = 0;
  virtual void ShowAbout() = 0;
};
