// How long the program takes from its start to a shown main window. Run it on
// an X display (xvfb-run -a build/bench/startup_bench [program] [runs]): it
// starts the program, watches the display for the main window to be mapped,
// prints the time, and ends the program; then it prints the median, the
// fastest and the slowest run. It also says whether the web engine's helper
// process had started by then (it should not: the web view is made on the
// first preview).

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::string kCaption = "Orbilux Rezoziv  V2.10.2011";

std::string WindowName(xcb_connection_t* connection, xcb_window_t window) {
  const auto cookie = xcb_get_property(connection, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
  std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
      xcb_get_property_reply(connection, cookie, nullptr), &std::free);
  if (!reply) return {};
  return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                     static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

// Whether a top-level window with the main window's caption is mapped.
bool MainWindowShown(xcb_connection_t* connection, xcb_window_t root) {
  std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
      xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr), &std::free);
  if (!tree) return false;
  const xcb_window_t* children = xcb_query_tree_children(tree.get());
  for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
    std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, children[i]), nullptr),
        &std::free);
    if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
        WindowName(connection, children[i]) == kCaption)
      return true;
  }
  return false;
}

// Whether any process whose parent is pid runs the web engine's helper.
bool WebEngineStarted(pid_t pid) {
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    if (!std::getline(stat, line)) continue;
    const auto close = line.rfind(')');
    const auto open = line.find('(');
    if (open == std::string::npos || close == std::string::npos) continue;
    const std::string name = line.substr(open + 1, close - open - 1);
    int parent = 0;
    char state = 0;
    if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &parent) == 2 && parent == pid &&
        name.rfind("QtWebEngine", 0) == 0)
      return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string program =
      argc > 1 ? argv[1]
               : (std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "app" / "OrbiluxDurudid")
                     .string();
  const int runs = argc > 2 ? std::atoi(argv[2]) : 10;
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection)) {
    std::fprintf(stderr, "No X display: run under xvfb-run -a.\n");
    return 1;
  }
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;

  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
      setenv("QT_QPA_PLATFORM", "xcb", 1);
      execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
      std::perror(program.c_str());
      _exit(127);
    }
    bool shown = false;
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(20)) {
      if (MainWindowShown(connection, root)) {
        shown = true;
        break;
      }
      if (waitpid(pid, nullptr, WNOHANG) == pid) break;
      std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const bool engine = WebEngineStarted(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    if (!shown) {
      std::fprintf(stderr, "run %d: no window \"%s\" within %.0f ms\n", run + 1, kCaption.c_str(), ms);
      return 1;
    }
    std::printf("run %2d: window shown after %7.1f ms; web engine started: %s\n", run + 1, ms, engine ? "yes" : "no");
    times.push_back(ms);
  }
  xcb_disconnect(connection);
  std::sort(times.begin(), times.end());
  std::printf("start to shown window over %d runs: median %.1f ms, fastest %.1f ms, slowest %.1f ms\n", runs,
              times[times.size() / 2], times.front(), times.back());
  return 0;
}
