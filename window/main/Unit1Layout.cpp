// The main window's actions, menus, toolbar and panels, all made here.

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QProxyStyle>
#include <QScrollArea>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "window/main/Unit1.h"
#include "window/strip/PaintBox.h"
#include "window/style/Icons.h"
#include "window/text/PlainText.h"

namespace {

constexpr int kPanelHeight = 199;
constexpr int kToolBarHeight = 29;
constexpr int kButtonWidth = 31;
constexpr int kButtonHeight = 22;
constexpr int kSeparatorWidth = 8;
constexpr int kScrollBoxHeight = 168;

// Lays the toolbar out edge to edge, without frame, margins or gaps, so the
// status text starts right after the last button.
class ToolBarStyle : public QProxyStyle {
 public:
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    switch (metric) {
      case PM_ToolBarFrameWidth:
      case PM_ToolBarItemMargin:
      case PM_ToolBarItemSpacing:
      case PM_ToolBarHandleExtent: return 0;
      default: return QProxyStyle::pixelMetric(metric, option, widget);
    }
  }
};

}  // namespace

void TForm1::CreateActions() {
  const auto command = [this](const QString& text, void (TForm1::*handler)()) {
    auto* action = new QAction(text, this);
    connect(action, &QAction::triggered, this, [this, handler] { Run([this, handler] { (this->*handler)(); }); });
    return action;
  };
  New1 = command("New", &TForm1::New1Click);
  Load1 = command("Import...", &TForm1::Load1Click);
  FullFolder1 = command("Whole Folder...", &TForm1::FullFolder1Click);
  exit1 = command("Exit", &TForm1::exit1Click);
  Build1 = command("Build", &TForm1::Build1Click);
  Build1->setIcon(BuildIcon());
  Build1->setEnabled(false);
  ExportWeb1 = command("Export for Web...", &TForm1::ExportWeb1Click);
  ExportWeb1->setEnabled(false);
  connect(Build1, &QAction::enabledChanged, ExportWeb1, &QAction::setEnabled);
  Aboutus1 = command("About us", &TForm1::Aboutus1Click);

  ToolButton1 = command("Delete the Selected", &TForm1::ToolButton1Click);
  ToolButton1->setIcon(DeleteIcon());
  ToolButton2 = command("Move to previous", &TForm1::ToolButton2Click);
  ToolButton2->setIcon(PreviousIcon());
  ToolButton3 = command("Move to Next", &TForm1::ToolButton3Click);
  ToolButton3->setIcon(NextIcon());
  ToolButton6 = command("Preview the SWF", &TForm1::ToolButton6Click);
  ToolButton6->setIcon(PreviewIcon());
  ToolButton6->setEnabled(false);
  for (QAction* action : {ToolButton1, ToolButton2, ToolButton3, ToolButton6}) action->setToolTip(action->text());
  setWindowIcon(ApplicationIcon());
}

void TForm1::CreateMenus() {
  QMenu* file = menuBar()->addMenu("File");
  file->addAction(New1);
  file->addSeparator();
  file->addAction(Load1);
  file->addAction(FullFolder1);
  file->addSeparator();
  file->addAction(exit1);

  QMenu* tools = menuBar()->addMenu("Tools");
  tools->addAction(Build1);
  tools->addAction(ExportWeb1);

  QMenu* help = menuBar()->addMenu("Help");
  help->setSeparatorsCollapsible(false);  // the Help menu opens with a separator
  help->addSeparator();
  help->addAction(Aboutus1);
}

void TForm1::CreateToolBar() {
  ToolBar1 = new QToolBar(Panel1);
  auto* style = new ToolBarStyle;
  style->setParent(ToolBar1);
  ToolBar1->setStyle(style);
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setIconSize(QSize(18, 16));
  ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);

  const auto separator = [this] {
    ToolBar1->widgetForAction(ToolBar1->addSeparator())->setFixedWidth(kSeparatorWidth);
  };
  separator();
  for (QAction* action : {ToolButton1, ToolButton2, ToolButton3}) ToolBar1->addAction(action);
  separator();
  ToolBar1->addAction(ToolButton6);
  for (QAction* action : {ToolButton1, ToolButton2, ToolButton3, ToolButton6}) {
    QWidget* button = ToolBar1->widgetForAction(action);
    button->setFixedSize(kButtonWidth, kButtonHeight);
  }

  StaticText1 = new QLabel("...", ToolBar1);
  ShowPlainText(*StaticText1);
  StaticText1->setFixedSize(349, 22);
  StaticText1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  StaticText1->setLineWidth(1);
  StaticText1->setAlignment(Qt::AlignCenter);
  QFont bold = StaticText1->font();
  bold.setBold(true);
  StaticText1->setFont(bold);
  // Inside a toolbar a label takes the button colours; the text is red either way.
  QPalette red = StaticText1->palette();
  red.setColor(QPalette::WindowText, Qt::red);
  red.setColor(QPalette::ButtonText, Qt::red);
  StaticText1->setPalette(red);
  ToolBar1->addWidget(StaticText1);
  // Adding items resets the toolbar's size limits, so its height is fixed last.
  ToolBar1->setFixedHeight(kToolBarHeight);
}

void TForm1::CreatePanels() {
  auto* client = new QWidget(this);
  setCentralWidget(client);
  auto* column = new QVBoxLayout(client);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  PreviewArea = new QWidget(client);
  auto* previewLayout = new QVBoxLayout(PreviewArea);
  previewLayout->setContentsMargins(0, 0, 0, 0);
  previewLayout->setSpacing(0);
  column->addWidget(PreviewArea, 1);

  Panel1 = new QWidget(client);
  Panel1->setFixedHeight(kPanelHeight);
  column->addWidget(Panel1);
  auto* panelLayout = new QVBoxLayout(Panel1);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  panelLayout->setSpacing(0);
  CreateToolBar();
  panelLayout->addWidget(ToolBar1);
  panelLayout->addStretch(1);

  ScrollBox1 = new QScrollArea(Panel1);
  ScrollBox1->setFixedHeight(kScrollBoxHeight);
  ScrollBox1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  ScrollBox1->setLineWidth(2);
  ScrollBox1->setWidgetResizable(false);
  ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // The strip's background is the button face, below the strip as well.
  ScrollBox1->viewport()->setBackgroundRole(QPalette::Button);
  ScrollBox1->viewport()->setAutoFillBackground(true);
  ScrollBox1->installEventFilter(this);
  ScrollBox1->viewport()->installEventFilter(this);
  panelLayout->addWidget(ScrollBox1);

  PaintBox1 = new TPaintBox;
  PaintBox1->resize(ThumbnailStrip::kStartWidth, ThumbnailStrip::kHeight);
  PaintBox1->setAttribute(Qt::WA_OpaquePaintEvent);  // each pass fills what it paints
  PaintBox1->OnPaint = [this](QPainter& painter, const QRect& exposed) { PaintBox1Paint(painter, exposed); };
  PaintBox1->OnMouseMove = [this](int x) { PaintBox1MouseMove(x); };
  PaintBox1->OnMouseDown = [this](int x) { PaintBox1MouseDown(x); };
  PaintBox1->OnToolTip = [this](int x) { return PaintBox1ToolTip(x); };
  PaintBox1->OnKeyDown = [this](int key, Qt::KeyboardModifiers modifiers) { return PaintBox1KeyDown(key, modifiers); };
  ScrollBox1->setWidget(PaintBox1);

  // The progress panel floats over the client area, shown only while a build runs.
  PanelBuilding = new QFrame(client);
  PanelBuilding->setFrameStyle(QFrame::Panel | QFrame::Raised);
  PanelBuilding->setAutoFillBackground(true);
  PanelBuilding->setGeometry(344, 232, 193, 49);
  ProgressBar1 = new QProgressBar(PanelBuilding);
  ProgressBar1->setGeometry(17, 16, 158, 17);
  ProgressBar1->setTextVisible(false);
  PanelBuilding->hide();
}
