#include "app/BuildOptions.h"

BuildOptions ParseBuildOptions(const std::vector<std::string>& args) {
  BuildOptions options;
  bool outputGiven = false;
  bool onlyFiles = false;
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string& arg = args[k];
    if (onlyFiles || arg.empty() || arg[0] != '-' || arg == "-") {
      options.Pictures.push_back({PictureSource::Kind::File, arg});
    } else if (arg == "--") {
      onlyFiles = true;
    } else if (arg == "-h" || arg == "--help") {
      options.Help = true;
    } else if (arg == "-o" || arg == "--output") {
      if (k + 1 == args.size()) throw UsageError("option " + arg + " needs a file name");
      options.Output = args[++k];
      outputGiven = true;
    } else if (arg == "-f" || arg == "--folder") {
      if (k + 1 == args.size()) throw UsageError("option " + arg + " needs a folder name");
      options.Pictures.push_back({PictureSource::Kind::Folder, args[++k]});
    } else if (arg.rfind("--folder=", 0) == 0) {
      options.Pictures.push_back({PictureSource::Kind::Folder, arg.substr(9)});
    } else if (arg.rfind("--output=", 0) == 0) {
      options.Output = arg.substr(9);
      outputGiven = true;
    } else if (arg.rfind("-o", 0) == 0) {
      options.Output = arg.substr(2);
      outputGiven = true;
    } else {
      throw UsageError("unknown option " + arg);
    }
  }
  if (options.Help) return options;
  if (!outputGiven || options.Output.empty()) throw UsageError("no movie file given (-o OUT.swf)");
  if (options.Pictures.empty()) throw UsageError("no pictures given");
  return options;
}

std::string BuildUsage() {
  return "Usage: orbilux-build -o OUT.swf FILE...\n"
         "Builds one movie from JPEG pictures of one size, in the order given;\n"
         "the viewer turns through them by dragging the mouse.\n"
         "\n"
         "  -o, --output OUT.swf  the movie file to write (replaced if it exists)\n"
         "  -f, --folder DIR      the pictures of DIR as the window's Whole Folder import\n"
         "                        finds them: *.jpg, then *.jpeg, in natural name order;\n"
         "                        may be mixed with files and given more than once\n"
         "  -h, --help            show this help and exit\n"
         "\n"
         "The movie takes the size of the first picture. Progress goes to standard error.\n"
         "Exit status: 0 when the movie was written, 1 when a picture was refused or the\n"
         "movie could not be written, 2 when the command line is wrong.\n";
}
