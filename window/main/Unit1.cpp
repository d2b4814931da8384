#include "window/main/Unit1.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <exception>
#include <new>

#include "window/dialogs/WindowDialogs.h"
#include "window/strip/PaintBox.h"
#include "window/style/FormStyle.h"

namespace {

// The caption of the general error report's message box.
const char* const kErrorCaption = "Orbilux Rezoziv";

}  // namespace

// What a paint pass of the strip reads and writes in the window.
class TForm1::StripLink : public StripHost {
 public:
  explicit StripLink(TForm1& form) : form_(form) {}
  int MovieWidth() const override { return form_.MovieWidth; }
  int MovieHeight() const override { return form_.MovieHeight; }
  void SetMovieSize(int width, int height) override {
    form_.MovieWidth = width;
    form_.MovieHeight = height;
  }
  void SetStatusText(const QString& text) override { form_.StaticText1->setText(text); }
  void SetBuildEnabled(bool enabled) override { form_.Build1->setEnabled(enabled); }

 private:
  TForm1& form_;
};

TForm1::TForm1(WindowDialogs& dialogs, QWidget* parent)
    : TForm1([&dialogs](TForm1&) -> WindowDialogs& { return dialogs; }, parent) {}

TForm1::TForm1(const DialogsFor& dialogsFor, QWidget* parent)
    : QMainWindow(parent), stripLink_(std::make_unique<StripLink>(*this)) {
  setWindowTitle("Orbilux Rezoziv  V2.10.2011");
  setFont(FormFont());
  CreateActions();
  CreateMenus();
  CreatePanels();
  PlaceOnDesktop();
  setAcceptDrops(true);
  strip_.WhenDecoded([this] { RepaintStrip(); });
  FormCreate();
  dialogs_ = &dialogsFor(*this);
}

TForm1::~TForm1() { FormDestroy(); }

void TForm1::FormCreate() {
  // Qt paints every widget through a back buffer, so the strip never flickers
  // and there is no double buffering to switch on.
  PictureList.ClearPictures();
  ImportFolder.clear();
  OutputPath.clear();
  MovieWidth = 550;
  MovieHeight = 400;
  MovieStream.Clear();
}

void TForm1::FormDestroy() {
  PictureList.ClearPictures();
  MovieStream.Clear();
}

// Nothing is ever unsaved, so closing needs no question.
bool TForm1::FormCloseQuery() { return true; }

void TForm1::closeEvent(QCloseEvent* event) {
  if (FormCloseQuery()) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ScrollBox1 && event->type() == QEvent::Resize) ScrollBox1Resize();
  // The strip only scrolls sideways, so the vertical wheel turns it sideways.
  if (watched == ScrollBox1->viewport() && event->type() == QEvent::Wheel &&
      static_cast<QWheelEvent*>(event)->angleDelta().x() == 0) {
    QCoreApplication::sendEvent(ScrollBox1->horizontalScrollBar(), event);
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

// The client area is 862 x 586 below the menu bar, in the middle of the desktop.
void TForm1::PlaceOnDesktop() {
  resize(862, 586 + menuWidget()->sizeHint().height());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = rect();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

void TForm1::Run(const std::function<void()>& command) {
  QString message;
  try {
    command();
    return;
  } catch (const std::bad_alloc&) {
    message = QString::fromStdString(OutOfMemoryText("carrying out the command"));
  } catch (const std::exception& error) {
    message = QString::fromUtf8(error.what());
  }
  dialogs_->ShowMessage({kErrorCaption, message, MessageBoxText::Icon::Stop, {}});
}
