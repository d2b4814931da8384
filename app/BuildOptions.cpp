#include "app/BuildOptions.h"

#include <getopt.h>

#include <string>
#include <vector>

namespace {

// Long options without a short form.
enum LongOnly : int {
  kFromFile = 256,
  kNull,
  kWeb,
  kForce,
  kStrict,
  kVerify,
  kSort,
  kReverse,
  kVersion,
  kWebWidths,
  kWebOriginals,
  kWebZoomOriginals,
  kAutoplay,
  kFit,
};

// The leading "-" hands every picture to the loop in its place among the
// options (files and folders keep the order given); the ":" after it reports
// a missing argument apart from an unknown option.
constexpr const char* kShortOptions = "-:o:f:qvh";

constexpr option kLongOptions[] = {
    {"output", required_argument, nullptr, 'o'},
    {"folder", required_argument, nullptr, 'f'},
    {"from-file", required_argument, nullptr, kFromFile},
    {"null", no_argument, nullptr, kNull},
    {"web", required_argument, nullptr, kWeb},
    {"force", no_argument, nullptr, kForce},
    {"web-widths", required_argument, nullptr, kWebWidths},
    {"web-originals", no_argument, nullptr, kWebOriginals},
    {"web-zoom-originals", no_argument, nullptr, kWebZoomOriginals},
    {"autoplay", required_argument, nullptr, kAutoplay},
    {"fit", required_argument, nullptr, kFit},
    {"strict", no_argument, nullptr, kStrict},
    {"verify", no_argument, nullptr, kVerify},
    {"quiet", no_argument, nullptr, 'q'},
    {"verbose", no_argument, nullptr, 'v'},
    {"sort", no_argument, nullptr, kSort},
    {"reverse", no_argument, nullptr, kReverse},
    {"version", no_argument, nullptr, kVersion},
    {"help", no_argument, nullptr, 'h'},
    {nullptr, 0, nullptr, 0},
};

// What each option that takes an argument calls it, for "needs a ..." messages.
std::string ArgumentName(const std::string& option) {
  if (option == "-f" || option == "--folder" || option == "--web") return "a folder name";
  if (option == "--web-widths") return "widths, such as 480,960,1440";
  if (option == "--autoplay") return "once, loop or off";
  if (option == "--fit") return "a size, such as 2880x2880";
  return "a file name";
}

// The widest a picture side can be in a JPEG file.
constexpr long kMostPixels = 65535;

// A whole number of pixels from 1 to the most a JPEG can have, or -1.
std::int32_t Pixels(const std::string& text) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return -1;
  const long value = std::stol(text);
  return value >= 1 && value <= kMostPixels ? static_cast<std::int32_t>(value) : -1;
}

std::vector<std::int32_t> ParseWidths(const std::string& text) {
  std::vector<std::int32_t> widths;
  std::size_t from = 0;
  for (;;) {
    const std::size_t comma = text.find(',', from);
    const std::int32_t width = Pixels(text.substr(from, comma - from));
    if (width < 0) throw UsageError("--web-widths needs widths in pixels, such as 480,960,1440: '" + text + "'");
    widths.push_back(width);
    if (comma == std::string::npos) return widths;
    from = comma + 1;
  }
}

void ParseFit(const std::string& text, BuildOptions& options) {
  const std::size_t x = text.find_first_of("xX");
  options.FitWidth = x == std::string::npos ? -1 : Pixels(text.substr(0, x));
  options.FitHeight = x == std::string::npos ? -1 : Pixels(text.substr(x + 1));
  if (options.FitWidth < 0 || options.FitHeight < 0) {
    throw UsageError("--fit needs a size in pixels, such as 2880x2880: '" + text + "'");
  }
}

// The option as the user typed it, without any "=value".
std::string TypedOption(const std::string& word) { return word.substr(0, word.find('=')); }

}  // namespace

BuildOptions ParseBuildOptions(const std::vector<std::string>& args) {
  // getopt_long permutes and reads a writable argv; it gets copies.
  std::vector<std::string> storage;
  storage.reserve(args.size() + 1);
  storage.push_back("orbilux-build");
  storage.insert(storage.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& s : storage) argv.push_back(s.data());
  argv.push_back(nullptr);
  const int argc = static_cast<int>(storage.size());

  BuildOptions options;
  bool outputGiven = false;
  bool quiet = false;
  bool verbose = false;
  std::string webOption;  // an option of the web folder given, for the message when there is none
  optind = 0;             // a fresh scan, also when called more than once
  opterr = 0;             // the messages below say it in the tool's words
  for (;;) {
    const int previous = optind;
    const int c = getopt_long(argc, argv.data(), kShortOptions, kLongOptions, nullptr);
    if (c == -1) break;
    switch (c) {
      case 1: options.Pictures.push_back({PictureSource::Kind::File, optarg}); break;
      case 'o':
        options.Output = optarg;
        outputGiven = true;
        break;
      case 'f': options.Pictures.push_back({PictureSource::Kind::Folder, optarg}); break;
      case kFromFile: options.Pictures.push_back({PictureSource::Kind::ListFile, optarg}); break;
      case kNull: options.NullSeparated = true; break;
      case kWeb: options.WebFolder = optarg; break;
      case kForce: options.Force = true; break;
      case kWebWidths: options.WebWidths = ParseWidths(optarg); break;
      case kWebOriginals: options.WebOriginals = true; break;
      case kWebZoomOriginals: options.WebZoomOriginals = true; break;
      case kAutoplay:
        options.Autoplay = optarg;
        if (options.Autoplay != "once" && options.Autoplay != "loop" && options.Autoplay != "off") {
          throw UsageError("--autoplay needs once, loop or off: '" + options.Autoplay + "'");
        }
        webOption = "--autoplay";
        break;
      case kFit: ParseFit(optarg, options); break;
      case kStrict: options.Strict = true; break;
      case kVerify: options.Verify = true; break;
      case 'q': quiet = true; break;
      case 'v': verbose = true; break;
      case kSort: options.Sort = true; break;
      case kReverse: options.Reverse = true; break;
      case kVersion: options.Version = true; break;
      case 'h': options.Help = true; break;
      case ':':
      default: {
        // The word being read: still argv[optind] inside a bundle of short
        // flags, else the one just passed.
        const std::string word = argv[previous == optind ? optind : optind - 1];
        const bool isLong = word.rfind("--", 0) == 0;
        const std::string typed = isLong ? TypedOption(word) : std::string("-") + static_cast<char>(optopt);
        if (c == ':') throw UsageError("option " + typed + " needs " + ArgumentName(typed));
        if (isLong && word.find('=') != std::string::npos && optopt != 0) {
          throw UsageError("option " + typed + " takes no value");
        }
        throw UsageError("unknown option " + typed);
      }
    }
  }
  // Whatever follows "--" is pictures.
  for (int k = optind; k < argc; ++k) options.Pictures.push_back({PictureSource::Kind::File, argv[k]});

  if (options.Help || options.Version) return options;
  if (quiet && verbose) throw UsageError("--quiet and --verbose cannot be given together");
  options.Level = quiet ? Verbosity::Quiet : verbose ? Verbosity::Verbose : Verbosity::Normal;
  if (outputGiven && options.Output == "-") {
    throw UsageError("the movie cannot go to standard output (-o -): it replaces its file atomically");
  }
  if ((!outputGiven || options.Output.empty()) && options.WebFolder.empty()) {
    throw UsageError("no movie file given (-o OUT.swf)");
  }
  if (options.Force) webOption = "--force";
  if (!options.WebWidths.empty()) webOption = "--web-widths";
  if (options.WebOriginals) webOption = "--web-originals";
  if (options.WebZoomOriginals) webOption = "--web-zoom-originals";
  if (!webOption.empty() && options.WebFolder.empty()) throw UsageError(webOption + " applies to --web only");
  if (options.WebOriginals && (!options.WebWidths.empty() || options.WebZoomOriginals)) {
    throw UsageError(
        "--web-originals keeps the pictures as they are: it takes no --web-widths or --web-zoom-originals");
  }
  if (options.FitWidth > 0 && options.Output.empty()) {
    throw UsageError(
        "--fit applies to the movie file (-o) only; the web folder's movie is made from its largest width");
  }
  if (options.NullSeparated) {
    bool listGiven = false;
    for (const PictureSource& s : options.Pictures) listGiven |= s.Type == PictureSource::Kind::ListFile;
    if (!listGiven) throw UsageError("--null applies to --from-file only");
  }
  if (options.Pictures.empty()) throw UsageError("no pictures given");
  return options;
}

std::string BuildUsage() {
  return "Usage: orbilux-build -o OUT.swf FILE...\n"
         "   or: orbilux-build --web DIR [-o OUT.swf] FILE...\n"
         "Builds one movie from JPEG pictures of one size, in the order given;\n"
         "the viewer turns through them by dragging the mouse.\n"
         "\n"
         "Output:\n"
         "  -o, --output OUT.swf  the movie file to write (replaced if it exists)\n"
         "      --web DIR         write a folder for a web site: the pictures, a page that\n"
         "                        turns them in any browser, the movie and a page that\n"
         "                        plays it\n"
         "      --force           replace DIR when it is a web folder written before\n"
         "                        (a folder of other files is never replaced)\n"
         "      --web-widths W,W  the widths of DIR's pictures (default 480,960,1440,1920;\n"
         "                        none wider than the pictures): progressive JPEGs in sRGB,\n"
         "                        upright, without metadata; DIR's movie is made from the largest\n"
         "      --web-originals   DIR's pictures and movie byte for byte instead, as -o writes\n"
         "      --web-zoom-originals  also the pictures byte for byte, fetched on zoom\n"
         "      --autoplay MODE   the page turns once by itself (once), round and round\n"
         "                        (loop) or not (off) until touched; default once\n"
         "      --fit WxH         build the movie file from copies scaled to fit within\n"
         "                        WxH (older players refuse sides over 2880 pixels);\n"
         "                        the pictures themselves are not touched"
         "\n"
         "Pictures (in the order given; files, folders and lists may be mixed):\n"
         "  -f, --folder DIR      the pictures of DIR as the window's Whole Folder import\n"
         "                        finds them: *.jpg, then *.jpeg, in natural name order\n"
         "      --from-file LIST  the paths in LIST, one a line; - reads standard input\n"
         "      --null            paths in LIST end with a NUL byte (find -print0)\n"
         "      --sort            put the pictures in natural name order (view2 before view10)\n"
         "      --reverse         reverse the list (a turntable shot the other way round)\n"
         "      --strict          refuse pictures that would build with a warning\n"
         "      --verify          decode every picture to find damaged picture data; by\n"
         "                        default only each file's structure is read\n"
         "\n"
         "Reporting:\n"
         "  -q, --quiet           print errors only\n"
         "  -v, --verbose         a line for each picture, and for each warned picture\n"
         "  -h, --help            show this help and exit\n"
         "      --version         show the version and exit\n"
         "\n"
         "The movie takes the size of the first picture. Progress goes to standard error:\n"
         "a bar on a terminal, else a start line and a result line.\n"
         "Exit status: 0 when the movie was written, 1 when a picture was refused or the\n"
         "movie could not be written, 2 when the command line is wrong.\n";
}
