// first_window: starts a program and measures what a player waits for and pays for.
//
//   first_window [--settle ms] [--idle ms] program [arguments...]
//
// Prints one line, "map_ms=... rss_kb=... idle_cpu_ms=...": the time from exec to the map
// event of the program's first top-level window, the peak resident memory --settle ms later
// (VmHWM from /proc), and the CPU the program used over the following --idle ms. The program
// is then ended. Runs on the display in DISPLAY, which should have no window manager, so that
// the first top-level window maps on the root window itself.
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

double nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

void sleepMs(long ms) {
    timespec t{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&t, &t) != 0) {}
}

// VmHWM of a process, in kB; -1 when it is gone.
long peakResidentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

// User and system CPU of a process so far, in clock ticks; -1 when it is gone.
long cpuTicks(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = all.rfind(')');  // the command name may hold blanks
    if (close == std::string::npos) return -1;
    std::istringstream rest(all.substr(close + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && rest >> field; ++i) {
        if (i == 14) utime = std::strtol(field.c_str(), nullptr, 10);
        if (i == 15) stime = std::strtol(field.c_str(), nullptr, 10);
    }
    return utime + stime;
}

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "first_window: %s\n", what);
    std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
    long settle = 1000, idle = 3000, timeout = 30000;
    int first = 1;
    for (; first + 1 < argc && std::strncmp(argv[first], "--", 2) == 0; first += 2) {
        if (std::strcmp(argv[first], "--settle") == 0)
            settle = std::atol(argv[first + 1]);
        else if (std::strcmp(argv[first], "--idle") == 0)
            idle = std::atol(argv[first + 1]);
        else if (std::strcmp(argv[first], "--timeout") == 0)
            timeout = std::atol(argv[first + 1]);
        else
            fail("unknown option");
    }
    if (first >= argc) fail("usage: first_window [--settle ms] [--idle ms] [--timeout ms] program [arguments...]");

    Display* display = XOpenDisplay(nullptr);
    if (!display) fail("cannot open the display");
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double start = nowMs();
    const pid_t pid = fork();
    if (pid < 0) fail("cannot fork");
    if (pid == 0) {
        close(ConnectionNumber(display));
        execvp(argv[first], argv + first);
        _exit(127);
    }

    double mapped = -1;
    while (mapped < 0) {
        while (XPending(display)) {
            XEvent e;
            XNextEvent(display, &e);
            if (e.type == MapNotify && !e.xmap.override_redirect) {
                mapped = nowMs() - start;
                break;
            }
        }
        if (mapped >= 0) break;
        if (nowMs() - start > static_cast<double>(timeout)) break;
        if (waitpid(pid, nullptr, WNOHANG) == pid) fail("the program ended before it showed a window");
        pollfd p{ConnectionNumber(display), POLLIN, 0};
        poll(&p, 1, 50);
    }
    int status = 0;
    if (mapped < 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        fail("no window within the time allowed");
    }

    sleepMs(settle);
    const long rss = peakResidentKb(pid);
    const long before = cpuTicks(pid);
    sleepMs(idle);
    const long after = cpuTicks(pid);
    const double idleCpu = static_cast<double>(after - before) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));

    kill(pid, SIGTERM);
    for (int i = 0; i < 40 && waitpid(pid, &status, WNOHANG) == 0; ++i) sleepMs(50);
    if (waitpid(pid, &status, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    XCloseDisplay(display);
    if (rss < 0 || before < 0 || after < 0) fail("the program ended while it was measured");
    std::printf("map_ms=%.1f rss_kb=%ld idle_cpu_ms=%.0f\n", mapped, rss, idleCpu);
    return 0;
}
