#pragma once
// TForm1, the main window: the picture list with its thumbnail strip, the
// menus and toolbar with their enabling rules, the imports, the Build flow
// with its progress panel, and the blank area the preview fills.

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "collection/PictureList.h"
#include "collection/PictureReview.h"
#include "movie/JZZH.h"
#include "movie/MovieStream.h"
#include "movie/MovieWriter.h"
#include "window/dialogs/WindowDialogs.h"
#include "window/strip/ThumbnailStrip.h"

class QAction;
class QFrame;
class QLabel;
class QProgressBar;
class QScrollArea;
class QToolBar;
class PreviewBrowser;
class PreviewStatus;
class TPaintBox;

class TForm1 : public QMainWindow, public BuildReporter {
  Q_OBJECT

 public:
  // Where the dialogs every command asks through come from, asked once the
  // window is made, since the program's own dialogs are its children. They
  // must outlive the window.
  using DialogsFor = std::function<WindowDialogs&(TForm1& window)>;
  explicit TForm1(const DialogsFor& dialogsFor, QWidget* parent = nullptr);
  // A window asking through dialogs made before it.
  explicit TForm1(WindowDialogs& dialogs, QWidget* parent = nullptr);
  ~TForm1() override;

  // The window's state, in its declared order. The selection lives in the list.
  std::int32_t MovieWidth = 550;
  std::int32_t MovieHeight = 400;
  TConversion Converter;
  ::PictureList PictureList;
  QString OutputPath;
  ::MovieStream MovieStream;
  QString ImportFolder;  // the folder chooser's answer; empty for none

  // Menu items and toolbar buttons.
  QAction* New1 = nullptr;
  QAction* Load1 = nullptr;
  QAction* FullFolder1 = nullptr;
  QAction* exit1 = nullptr;
  QAction* Build1 = nullptr;
  QAction* ExportWeb1 = nullptr;
  QAction* Aboutus1 = nullptr;
  QAction* ToolButton1 = nullptr;  // Delete the Selected
  QAction* ToolButton2 = nullptr;  // Move to previous
  QAction* ToolButton3 = nullptr;  // Move to Next
  QAction* ToolButton6 = nullptr;  // Preview the SWF

  // The area above the bottom panel, empty with a zero-margin vertical
  // layout; the preview puts its web view there when it is first used.
  QWidget* PreviewArea = nullptr;
  // The web view of the preview, made by the first Preview so that start-up
  // does not wait for the web engine; null until then.
  PreviewBrowser* WebBrowser1 = nullptr;
  // Covers the preview area while a movie loads or cannot be shown; made by
  // the first preview whose page could be written.
  PreviewStatus* PreviewStatus1 = nullptr;
  QWidget* Panel1 = nullptr;
  QToolBar* ToolBar1 = nullptr;
  QLabel* StaticText1 = nullptr;
  QScrollArea* ScrollBox1 = nullptr;
  TPaintBox* PaintBox1 = nullptr;
  QFrame* PanelBuilding = nullptr;
  QProgressBar* ProgressBar1 = nullptr;

  // Commands. Run through the menus and toolbar, an error that escapes one
  // is shown in one message box and ends the command.
  void New1Click();
  void Load1Click();
  void FullFolder1Click();
  void exit1Click();
  void Build1Click();
  void ExportWeb1Click();
  void Aboutus1Click();
  void ToolButton1Click();
  void ToolButton2Click();
  void ToolButton3Click();
  void ToolButton6Click();

  void FormCreate();
  void FormDestroy();
  bool FormCloseQuery();

  void PaintBox1Paint(QPainter& painter, const QRect& exposed);
  void PaintBox1MouseMove(int x);
  void PaintBox1MouseDown(int x);
  // What is wrong with the picture under x, as the strip's last pass found it.
  QString PaintBox1ToolTip(int x) const;
  // Delete, Left and Right, Ctrl+Left and Ctrl+Right while the strip has the
  // keyboard; returns whether the key was one of them.
  bool PaintBox1KeyDown(int key, Qt::KeyboardModifiers modifiers);
  // Imports what was dropped on the window: files as they are, folders
  // through the whole-folder scan, in the order given.
  void FormDragDrop(const std::vector<std::string>& paths);
  void ScrollBox1Resize();

  void RunBuild();
  // Runs a build; a list the movie cannot be made of is refused in the stop
  // message box, every other error goes on to the general error report.
  void RunRefusingInStopBox(const std::function<void()>& build);
  // Throws the refusals of a list no movie can be made of, and shows the
  // warnings of pictures that will show wrong, before any dialog.
  // Throws what refuses the build; returns the warning box's answer (as
  // they are when there is no box, or no choice to fit is offered).
  LargePicturesAnswer CheckPicturesBuildable(bool offerFit = false);
  // The movie at path, of the pictures or, with fit, of copies scaled to
  // fit within what older players show.
  void WriteMovie(const QString& path, bool fit = false);
  // Runs a build's work off the window's thread (RunOffTheWindow) and returns
  // when it ends. Meanwhile the window paints and shows the progress but
  // takes no command: the menus and the toolbar are off, and the strip's
  // clicks and keys and dropped files are ignored, so the list the work
  // reads stays as it is.
  void RunWhileWindowLives(const std::function<void(BuildReporter&)>& work);
  // Whether thumbnails the strip has asked for are still being decoded.
  bool ThumbnailsPending() const { return strip_.Decoding(); }

  // What the movie writer reports while it builds.
  void ShowProgressPanel(bool visible) override;
  void SetProgressMaximum(int maximum) override;
  void SetProgressPosition(int position) override;
  void SetStatusText(const std::string& text) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Files and folders dropped from a file manager are imported.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  class StripLink;

  void CreateActions();
  void CreateMenus();
  void CreatePanels();
  void CreateToolBar();
  void PlaceOnDesktop();
  void CreateWebBrowser();
  // Deletes the web view and what it shows.
  void ClosePreview();

  // The general error report: runs one command and shows what escapes it.
  void Run(const std::function<void()>& command);
  void ShowStopMessage(const QString& text, const QString& details = QString());
  // The check of every picture that a build runs before the save dialog.
  PictureReview CheckPictures();
  // Appends the pictures, widening the strip as it fills, brings the first
  // new one into view and repaints once.
  void ImportPictures(const std::vector<std::string>& paths);
  // Appends one picture and widens the strip by a cell when it is full.
  void AddPictureAndGrow(const std::string& path);
  // Selects the picture step cells away from the selected one, at most the
  // last or the first; with nothing selected, Right takes the first and Left
  // the last.
  void SelectBeside(int step);
  // Scrolls the strip so that the picture's whole cell is in view.
  void ScrollToPicture(int index);
  // Says in the status text that a folder gave no pictures.
  void SayFolderHasNoPictures(const QString& folder);
  void RepaintStrip();

  WindowDialogs* dialogs_ = nullptr;
  bool building_ = false;   // a build runs on its worker
  QString previewedMovie_;  // the movie of the page the web view was last sent to
  ThumbnailStrip strip_;
  std::unique_ptr<StripHost> stripLink_;  // a StripLink
  // The warnings the user was last shown: the same ones are not shown again.
  std::vector<PictureNote> warningsShown_;
  // The answer to the box about pictures larger than older players show,
  // when it was asked about the warnings shown.
  LargePicturesAnswer largeAnswer_ = LargePicturesAnswer::AsTheyAre;
  bool largeAnswered_ = false;
};
