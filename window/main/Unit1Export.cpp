// Export for Web: the same checks as Build, the folder dialog, the refusals
// of the folder chosen before any question, a question before a web folder
// is replaced, and the web folder the command-line builder writes with
// --web, with the progress panel meanwhile; then what it made, with offers
// to open its page or show the folder.

#include "publish/PlayerFolder.h"
#include "publish/Publish.h"
#include "window/dialogs/WindowDialogs.h"
#include "window/main/Unit1.h"
#include "window/text/PathText.h"

void TForm1::ExportWeb1Click() {
  RunRefusingInStopBox([this] {
    CheckPicturesBuildable();
    const std::optional<QString> folder = dialogs_->WebFolderPath();
    if (!folder) return;
    const std::string place = PathFromText(*folder);
    const WebFolderTarget web{place, true, FindPlayerFolder(RunningProgramFolder())};
    // A folder that may not be replaced is refused before the user is asked.
    CheckWebFolderTarget(web, PictureList);
    if (FolderHasContent(place) && !dialogs_->ConfirmReplaceFolder(*folder)) return;
    const std::int32_t width = MovieWidth;  // paint passes may set them meanwhile
    const std::int32_t height = MovieHeight;
    std::optional<WebFolderSummary> summary;
    RunWhileWindowLives([&](BuildReporter& reporter) {
      summary = PublishMovie({PictureList, width, height, MovieStream, Converter, reporter}, {"", web, std::nullopt});
    });
    const WebExportAnswer answer = dialogs_->ShowWebExportDone(
        {"Orbilux Rezoziv", PathToText(WebFolderSummaryText(*summary)), MessageBoxText::Icon::Information, QString()});
    if (answer == WebExportAnswer::OpenPage) dialogs_->OpenWithDesktop(*folder + "/index.html");
    if (answer == WebExportAnswer::ShowFolder) dialogs_->OpenWithDesktop(*folder);
  });
}
