#include "window/dialogs/QtDialogs.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QPushButton>
#include <QUrl>

#include "window/dialogs/PicturePreview.h"
#include "window/dialogs/UnitAboutus.h"
#include "window/dialogs/foldSelectUnit.h"
#include "window/text/PlainText.h"

QtDialogs::QtDialogs(QWidget& owner, QString& importFolder)
    : owner_(owner), folderChooser_(*new TForm2(importFolder, &owner)), about_(*new TForm3(&owner)) {}

std::unique_ptr<QFileDialog> MakeOpenPicturesDialog(QWidget* parent) {
  auto dialog = std::make_unique<QFileDialog>(parent, "Select the JPEG files");
  // Qt's own dialog, because it takes the preview pane.
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setFileMode(QFileDialog::ExistingFiles);
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setNameFilters({"JPEG Image File (*.jpg)", "JPEG Image File (*.jpeg)"});
  dialog->selectNameFilter("JPEG Image File (*.jpg)");
  // Camera files are often named PHOTO.JPG: the filters ignore letter case.
  dialog->setFilter(dialog->filter() & ~QDir::CaseSensitive);
  dialog->setSizeGripEnabled(true);

  auto* preview = new PicturePreview(dialog.get());
  preview->setObjectName("preview");
  if (auto* grid = qobject_cast<QGridLayout*>(dialog->layout())) {
    grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1, Qt::AlignTop);
  }
  QObject::connect(dialog.get(), &QFileDialog::currentChanged, preview, &PicturePreview::ShowPicture);
  return dialog;
}

std::unique_ptr<QFileDialog> MakeSaveMovieDialog(QWidget* parent, const QString& lastMovie) {
  auto dialog = std::make_unique<QFileDialog>(parent, "Save 3D swf file");
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setNameFilter("Flash swf file (*.swf)");
  dialog->setDefaultSuffix("swf");
  dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
  dialog->setSizeGripEnabled(true);
  if (!lastMovie.isEmpty()) {
    const QFileInfo movie(lastMovie);
    dialog->setDirectory(movie.absolutePath());
    dialog->selectFile(movie.fileName());
  }
  return dialog;
}

namespace {

// A folder dialog that also takes the name of a folder not there yet, as a
// save dialog takes a new file's name: the export makes the folder. Qt's
// own folder dialog refuses such a name ("Directory not found").
class WebFolderDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

  void accept() override {
    const QStringList chosen = selectedFiles();
    if (chosen.size() == 1 && IsNewName(chosen.first())) {
      QDialog::accept();
      return;
    }
    QFileDialog::accept();
  }

  // A name typed in a folder that is there, with nothing of that name in it.
  static bool IsNewName(const QString& path) {
    const QFileInfo folder(path);
    return !folder.exists() && !folder.isSymLink() && folder.dir().exists();
  }
};

}  // namespace

// The web folder is the folder chosen, or a new one of the name typed.
std::unique_ptr<QFileDialog> MakeWebFolderDialog(QWidget* parent) {
  auto dialog = std::make_unique<WebFolderDialog>(parent, "Export for Web");
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setFileMode(QFileDialog::Directory);
  dialog->setOption(QFileDialog::ShowDirsOnly);
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setLabelText(QFileDialog::Accept, "Export");
  dialog->setSizeGripEnabled(true);
  return dialog;
}

// Replacing deletes what the folder holds, so No is the default answer.
std::unique_ptr<QMessageBox> MakeReplaceFolderQuestion(const QString& folder, QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(QMessageBox::Warning, "Export for Web",
                                           QString("The folder \"%1\" holds a web folder exported before.\n"
                                                   "Replace it and everything in it with the new one?")
                                               .arg(QDir::toNativeSeparators(folder)),
                                           QMessageBox::Yes | QMessageBox::No, parent);
  box->setDefaultButton(QMessageBox::No);
  ShowPlainText(*box);
  return box;
}

std::unique_ptr<QMessageBox> MakeMessageBox(const MessageBoxText& message, QWidget* parent) {
  const QMessageBox::Icon icon = message.Kind == MessageBoxText::Icon::Stop      ? QMessageBox::Critical
                                 : message.Kind == MessageBoxText::Icon::Warning ? QMessageBox::Warning
                                                                                 : QMessageBox::Information;
  QString text = message.Text;
  text.replace("\r\n", "\n").replace('\r', '\n');
  auto box = std::make_unique<QMessageBox>(icon, message.Caption, text, QMessageBox::Ok, parent);
  ShowPlainText(*box);
  if (!message.Details.isEmpty()) box->setDetailedText(message.Details);
  return box;
}

std::optional<QStringList> QtDialogs::OpenPictures() {
  const auto dialog = MakeOpenPicturesDialog(&owner_);
  if (dialog->exec() != QDialog::Accepted) return std::nullopt;
  return dialog->selectedFiles();
}

std::optional<QString> QtDialogs::SaveMoviePath(const QString& lastMovie) {
  const auto dialog = MakeSaveMovieDialog(&owner_, lastMovie);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
  return dialog->selectedFiles().first();
}

std::optional<QString> QtDialogs::WebFolderPath() {
  const auto dialog = MakeWebFolderDialog(&owner_);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
  return dialog->selectedFiles().first();
}

bool QtDialogs::ConfirmReplaceFolder(const QString& folder) {
  return MakeReplaceFolderQuestion(folder, &owner_)->exec() == QMessageBox::Yes;
}

void QtDialogs::ShowMessage(const MessageBoxText& message) { MakeMessageBox(message, &owner_)->exec(); }

LargePicturesAnswer QtDialogs::AskLargePictures(const MessageBoxText& message, const QString& fitSize) {
  const auto box = MakeMessageBox(message, &owner_);
  box->setStandardButtons(QMessageBox::NoButton);
  QPushButton* asTheyAre = box->addButton("Build as They Are", QMessageBox::AcceptRole);
  QPushButton* fit = box->addButton("Scale to Fit " + fitSize, QMessageBox::AcceptRole);
  box->addButton(QMessageBox::Cancel);
  box->setDefaultButton(asTheyAre);
  box->exec();
  if (box->clickedButton() == asTheyAre) return LargePicturesAnswer::AsTheyAre;
  return box->clickedButton() == fit ? LargePicturesAnswer::ScaleToFit : LargePicturesAnswer::Cancel;
}

WebExportAnswer QtDialogs::ShowWebExportDone(const MessageBoxText& message) {
  const auto box = MakeMessageBox(message, &owner_);
  box->setStandardButtons(QMessageBox::Close);
  QPushButton* page = box->addButton("Open the Page", QMessageBox::ActionRole);
  QPushButton* folder = box->addButton("Show the Folder", QMessageBox::ActionRole);
  box->exec();
  if (box->clickedButton() == page) return WebExportAnswer::OpenPage;
  return box->clickedButton() == folder ? WebExportAnswer::ShowFolder : WebExportAnswer::Close;
}

void QtDialogs::OpenWithDesktop(const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

// The chooser's own result is not needed: it leaves its answer in ImportFolder.
void QtDialogs::RunFolderChooser() { folderChooser_.exec(); }

void QtDialogs::ShowAbout() { about_.exec(); }
