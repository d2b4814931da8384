#pragma once
// TForm2, the folder chooser of the whole-folder import: a tree of the file
// system's folders and two buttons. Its answer goes to the main window's
// ImportFolder: the chosen folder's absolute path, or empty for none.

#include <QDialog>
#include <QString>

class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

class TForm2 : public QDialog {
  Q_OBJECT

 public:
  // importFolder is where the answer goes; it must outlive the dialog.
  explicit TForm2(QString& importFolder, QWidget* parent = nullptr);

  QLabel* Label1 = nullptr;
  QTreeView* ShellTreeView1 = nullptr;
  QFileSystemModel* ShellFolders = nullptr;
  QPushButton* Button1 = nullptr;  // 确定
  QPushButton* Button2 = nullptr;  // 取消

  void Button1Click();
  void Button2Click();

  // The absolute path of the folder selected in the tree, or empty.
  QString SelectedFolder() const;

 protected:
  // The close box answers like 取消.
  void closeEvent(QCloseEvent* event) override;
  // Neither button is bound to Enter or Escape.
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void ShowFolder(const QString& path);
  void KeepChoiceInView();

  // Until the dialog first closes, the folders load while it waits and the
  // chosen folder is scrolled back into view as rows arrive above it.
  bool firstUse_ = true;

  QString& importFolder_;
};
