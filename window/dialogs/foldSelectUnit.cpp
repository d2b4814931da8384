#include "window/dialogs/foldSelectUnit.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

#include "window/style/FormStyle.h"

TForm2::TForm2(QString& importFolder, QWidget* parent) : QDialog(parent), importFolder_(importFolder) {
  setWindowTitle("Select a Folder");
  setWindowFlags(kFixedDialogFlags);
  setFixedSize(339, 312);
  setFont(FormFont());

  Label1 = new QLabel("Select a folder to import the .jpg files:", this);
  Label1->setGeometry(32, 22, 209, 13);

  // Folders only, loaded as they are opened. The folders loaded are watched,
  // so that one made while the program runs (a new shoot copied from a
  // camera) shows at once, also between uses; expansion and choice stay.
  ShellFolders = new QFileSystemModel(this);
  ShellFolders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
  ShellFolders->setRootPath(QDir::rootPath());

  ShellTreeView1 = new QTreeView(this);
  ShellTreeView1->setGeometry(32, 40, 281, 201);
  ShellTreeView1->setModel(ShellFolders);
  for (int column = 1; column < ShellFolders->columnCount(); ++column) ShellTreeView1->hideColumn(column);
  ShellTreeView1->setHeaderHidden(true);
  ShellTreeView1->setRootIsDecorated(false);
  ShellTreeView1->setIndentation(19);
  ShellTreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ShellTreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ShellTreeView1->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

  Button1 = new QPushButton("确定", this);
  Button1->setGeometry(136, 264, 75, 25);
  Button2 = new QPushButton("取消", this);
  Button2->setGeometry(232, 264, 75, 25);
  for (QPushButton* button : {Button1, Button2}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }
  setTabOrder(Button1, Button2);
  connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);

  // The first time, the user's home folder is open and chosen; later uses
  // show the tree as it was left.
  ShowFolder(QDir::homePath());
  // Rows arrive and get sorted after the loads; scroll once they settled.
  const auto settle = [this] {
    if (firstUse_) QTimer::singleShot(0, this, &TForm2::KeepChoiceInView);
  };
  connect(ShellFolders, &QFileSystemModel::layoutChanged, this, settle);
  connect(ShellFolders, &QFileSystemModel::rowsInserted, this, settle);
  connect(this, &QDialog::finished, this, [this] { firstUse_ = false; });
}

void TForm2::KeepChoiceInView() {
  if (ShellTreeView1->currentIndex().isValid())
    ShellTreeView1->scrollTo(ShellTreeView1->currentIndex(), QAbstractItemView::PositionAtCenter);
}

void TForm2::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (firstUse_) KeepChoiceInView();
}

void TForm2::ShowFolder(const QString& path) {
  const QModelIndex folder = ShellFolders->index(path);
  if (!folder.isValid()) return;
  for (QModelIndex above = folder.parent(); above.isValid(); above = above.parent()) ShellTreeView1->expand(above);
  ShellTreeView1->expand(folder);
  ShellTreeView1->setCurrentIndex(folder);
}

QString TForm2::SelectedFolder() const {
  const QModelIndexList selected = ShellTreeView1->selectionModel()->selectedRows();
  if (selected.isEmpty()) return QString();
  return ShellFolders->filePath(selected.first());
}

void TForm2::Button1Click() {
  importFolder_ = SelectedFolder();
  accept();
}

void TForm2::Button2Click() {
  importFolder_.clear();
  reject();
}

void TForm2::closeEvent(QCloseEvent* event) {
  importFolder_.clear();
  QDialog::closeEvent(event);
}

void TForm2::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter: event->accept(); return;
    default: QDialog::keyPressEvent(event);
  }
}
