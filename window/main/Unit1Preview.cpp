// The Preview command: writes the page for the last movie built and shows it
// in the web view above the bottom panel.

#include <QLayout>

#include "window/preview/PreviewBrowser.h"
#include "window/preview/PreviewPageFile.h"
#include "window/main/Unit1.h"

void TForm1::ToolButton6Click() {
  // A page that cannot be written ends the command here: the view keeps what
  // it shows, and a first preview makes no view at all.
  const QString page = WritePreviewPage(OutputPath, MovieWidth, MovieHeight);
  if (!WebBrowser1) {
    WebBrowser1 = new PreviewBrowser(PreviewArea);
    WebBrowser1->setObjectName("WebBrowser1");
    PreviewArea->layout()->addWidget(WebBrowser1);
  }
  WebBrowser1->ShowPage(page);
}
