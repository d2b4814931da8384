// The Preview command: writes the page for the last movie built and shows it
// in the web view above the bottom panel, saying that the movie loads until
// its first picture is on the screen.

#include <QLayout>

#include "window/main/Unit1.h"
#include "window/preview/PreviewBrowser.h"
#include "window/preview/PreviewMessages.h"
#include "window/preview/PreviewPageFile.h"
#include "window/preview/PreviewStatus.h"

void TForm1::ToolButton6Click() {
  // A page that cannot be written ends the command here: the view keeps what
  // it shows, and a first preview makes no view at all.
  const QString page = WritePreviewPage(OutputPath, MovieWidth, MovieHeight);
  if (!PreviewStatus1) PreviewStatus1 = new PreviewStatus(PreviewArea);
  if (const std::optional<QString> problem = MovieFileProblem(OutputPath)) {
    if (WebBrowser1) WebBrowser1->Clear();
    PreviewStatus1->ShowMessage(*problem);
    return;
  }
  if (!WebBrowser1) CreateWebBrowser();
  previewedMovie_ = OutputPath;
  // Without the player the page itself says so; there is no loading to follow.
  if (WebBrowser1->PlayerFound()) {
    PreviewStatus1->ShowLoading(OutputPath, PictureList.Count(), QSize(MovieWidth, MovieHeight));
  } else {
    PreviewStatus1->Finish();
  }
  WebBrowser1->ShowPage(page, OutputPath);
}

void TForm1::ClosePreview() {
  // The web view goes with its page, so the engine gives back the memory a
  // big movie took; the next Preview makes a new one.
  delete WebBrowser1;
  WebBrowser1 = nullptr;
  if (PreviewStatus1) PreviewStatus1->Finish();
}

void TForm1::CreateWebBrowser() {
  WebBrowser1 = new PreviewBrowser(PreviewArea);
  WebBrowser1->setObjectName("WebBrowser1");
  PreviewArea->layout()->addWidget(WebBrowser1);
  PreviewStatus1->raise();
  connect(WebBrowser1, &PreviewBrowser::MovieProgress, PreviewStatus1, &PreviewStatus::ShowProgress);
  connect(WebBrowser1, &PreviewBrowser::MovieShown, PreviewStatus1, [this] {
    if (PreviewStatus1->Loading()) PreviewStatus1->Finish();
  });
  connect(WebBrowser1, &PreviewBrowser::MovieFailed, PreviewStatus1, [this](bool unreadable) {
    if (PreviewStatus1->Loading())
      PreviewStatus1->ShowMessage(unreadable ? MovieUnreadableText(previewedMovie_)
                                             : MovieRefusedText(previewedMovie_));
  });
}
