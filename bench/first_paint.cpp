// Start-up to the first paint, as the X server sees it: starts a program, waits for its window
// (by name) to appear and for the first damage to it, the moment its pixels are first drawn;
// then reads the program's peak memory and ends it. Beside the time it prints the processor
// time the program had used by then, all its threads' and its main thread's: steadier than the
// wall clock on a busy machine.
// usage: orvane-first-paint WINDOW_NAME PROGRAM [ARG...]
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

using Clock = std::chrono::steady_clock;

namespace {
// A window may go between listing it and asking its name (the program's own start-up windows
// come and go): such an error is expected, and must not end the measurement.
int ignoreXError(Display*, XErrorEvent*) {
  return 0;
}

// A thread's time on a processor so far (the first figure of schedstat, in nanoseconds).
double cpuMs(const std::filesystem::path& schedstat) {
  std::ifstream in(schedstat);
  double ns = 0;
  in >> ns;
  return ns / 1e6;
}

Window findNamed(Display* d, Window w, const char* name) {
  char* title = nullptr;
  if (XFetchName(d, w, &title) && title) {
    const bool match = std::strcmp(title, name) == 0;
    XFree(title);
    if (match) return w;
  }
  Window root, parent, *children = nullptr;
  unsigned n = 0;
  if (!XQueryTree(d, w, &root, &parent, &children, &n)) return 0;
  Window found = 0;
  for (unsigned i = 0; i < n && !found; ++i) found = findNamed(d, children[i], name);
  if (children) XFree(children);
  return found;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return std::fprintf(stderr, "usage: orvane-first-paint NAME PROGRAM...\n"), 2;
  Display* d = XOpenDisplay(nullptr);
  int damageEvent = 0, damageError = 0;
  if (!d || !XDamageQueryExtension(d, &damageEvent, &damageError)) return 1;
  XSetErrorHandler(ignoreXError);
  const auto start = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execvp(argv[2], argv + 2);
    _exit(127);
  }
  Window w = 0;
  while (!w &&
         std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start).count() < 10) {
    w = findNamed(d, DefaultRootWindow(d), argv[1]);
    if (!w) std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  if (!w) return std::fprintf(stderr, "no window named %s\n", argv[1]), 1;
  XDamageCreate(d, w, XDamageReportNonEmpty);
  XFlush(d);
  XEvent e;
  do XNextEvent(d, &e);
  while (e.type != damageEvent + XDamageNotify);
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  const double mainCpu = cpuMs("/proc/" + std::to_string(child) + "/schedstat");
  double allCpu = 0;
  for (const auto& task :
       std::filesystem::directory_iterator("/proc/" + std::to_string(child) + "/task")) {
    allCpu += cpuMs(task.path() / "schedstat");
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  std::ifstream status("/proc/" + std::to_string(child) + "/status");
  std::string line, peak = "?";
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) peak = line.substr(6);
  }
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  std::printf("%.1f ms %s cpu %.1f ms main %.1f ms\n", ms, peak.c_str(), allCpu, mainCpu);
  return 0;
}
