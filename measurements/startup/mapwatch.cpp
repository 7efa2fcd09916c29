// SPDX-License-Identifier: GPL-3.0-or-later
// Times one start of a program from the X server's point of view: how long
// from its exec until its splash window and its main window are mapped, and
// its peak resident memory a while after the main window came up.
//
//   mapwatch [options] -- PROGRAM [ARGS...]
//     --dir DIR          start the program in DIR (default: the current one)
//     --splash WxH       size that identifies the splash (default 324x202)
//     --main-name NAME   title that identifies the main window
//                        (default "VELTRANO V2.32")
//     --main-size WxH    size that also identifies it (default 640x462)
//     --first            the first window mapped is the main one, whatever
//                        its title and size (for programs without a splash)
//     --settle-ms MS     how long after the main window to read the memory
//                        and stop the program (default 2000)
//     --timeout-ms MS    give up when no main window shows (default 20000)
//
// Prints one line: "splash_mapped_ms=S main_mapped_ms=M peak_rss_kib=K",
// S being "-" when no splash showed. Without a window manager the program's
// top-level windows are children of the root, so their MapNotify events reach
// a client that listens to the root's substructure.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Size {
    unsigned width = 0, height = 0;
    bool operator==(const Size &) const = default;
};

struct Options {
    std::string dir;
    Size splash{324, 202};
    std::string mainName = "VELTRANO V2.32";
    Size mainSize{640, 462};
    bool first = false;
    long settleMs = 2000;
    long timeoutMs = 20000;
    std::vector<char *> command;
};

bool parseSize(const char *text, Size *size) {
    return std::sscanf(text, "%ux%u", &size->width, &size->height) == 2;
}

std::optional<Options> parse(int argc, char *argv[]) {
    Options o;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--") {
            ++i;
            break;
        } else if (a == "--dir" && hasValue) {
            o.dir = argv[++i];
        } else if (a == "--splash" && hasValue) {
            if (!parseSize(argv[++i], &o.splash)) {
                return std::nullopt;
            }
        } else if (a == "--main-name" && hasValue) {
            o.mainName = argv[++i];
        } else if (a == "--main-size" && hasValue) {
            if (!parseSize(argv[++i], &o.mainSize)) {
                return std::nullopt;
            }
        } else if (a == "--first") {
            o.first = true;
        } else if (a == "--settle-ms" && hasValue) {
            o.settleMs = std::atol(argv[++i]);
        } else if (a == "--timeout-ms" && hasValue) {
            o.timeoutMs = std::atol(argv[++i]);
        } else {
            return std::nullopt;
        }
    }
    for (; i < argc; ++i) {
        o.command.push_back(argv[i]);
    }
    if (o.command.empty()) {
        return std::nullopt;
    }
    o.command.push_back(nullptr);
    return o;
}

// A window may be gone by the time it is looked at (the splash lives briefly);
// such errors are expected and ignored.
int ignoreErrors(Display *, XErrorEvent *) {
    return 0;
}

Size windowSize(Display *dpy, Window w) {
    Window root;
    int x, y;
    unsigned width = 0, height = 0, border, depth;
    if (!XGetGeometry(dpy, w, &root, &x, &y, &width, &height, &border, &depth)) {
        return {};
    }
    return {width, height};
}

std::string windowName(Display *dpy, Window w) {
    char *name = nullptr;
    std::string result;
    if (XFetchName(dpy, w, &name) && name) {
        result = name;
        XFree(name);
    }
    return result;
}

long peakRssKib(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

double msSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// Starts the program; returns its pid, or -1 when the exec failed. The
// close-on-exec pipe reports the exec's errno from the child.
pid_t launch(const Options &o) {
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        return -1;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        close(report[0]);
        if (!o.dir.empty() && chdir(o.dir.c_str()) != 0) {
            const int e = errno;
            (void)!write(report[1], &e, sizeof e);
            _exit(127);
        }
        execvp(o.command[0], o.command.data());
        const int e = errno;
        (void)!write(report[1], &e, sizeof e);
        _exit(127);
    }
    close(report[1]);
    int childErrno = 0;
    const ssize_t got = pid > 0 ? read(report[0], &childErrno, sizeof childErrno) : -1;
    close(report[0]);
    if (pid < 0 || got > 0) {
        std::fprintf(stderr, "mapwatch: cannot start %s: %s\n", o.command[0],
                     std::strerror(pid < 0 ? errno : childErrno));
        if (pid > 0) {
            waitpid(pid, nullptr, 0);
        }
        return -1;
    }
    return pid;
}

void stop(pid_t pid) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

} // namespace

int main(int argc, char *argv[]) {
    const std::optional<Options> options = parse(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: mapwatch [--dir DIR] [--splash WxH] [--main-name NAME]"
                             " [--main-size WxH] [--first] [--settle-ms MS] [--timeout-ms MS]"
                             " -- PROGRAM [ARGS...]\n");
        return 2;
    }
    const Options &o = *options;

    Display *dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "mapwatch: cannot open display\n");
        return 2;
    }
    fcntl(ConnectionNumber(dpy), F_SETFD, FD_CLOEXEC);
    XSetErrorHandler(ignoreErrors);
    XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);
    XSync(dpy, False);

    const Clock::time_point t0 = Clock::now();
    const pid_t pid = launch(o);
    if (pid < 0) {
        return 1;
    }

    std::optional<double> splashMs, mainMs;
    int status = 0;
    for (;;) {
        const double now = msSince(t0);
        if (mainMs && now >= *mainMs + static_cast<double>(o.settleMs)) {
            break;
        }
        if (!mainMs && now >= static_cast<double>(o.timeoutMs)) {
            std::fprintf(stderr, "mapwatch: no main window after %ld ms\n", o.timeoutMs);
            stop(pid);
            return 1;
        }
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "mapwatch: the program ended before it was measured\n");
            return 1;
        }
        if (!XPending(dpy)) {
            pollfd fd{ConnectionNumber(dpy), POLLIN, 0};
            poll(&fd, 1, 10);
            continue;
        }
        XEvent event;
        XNextEvent(dpy, &event);
        if (event.type != MapNotify) {
            continue;
        }
        const double at = msSince(t0);
        const Window w = event.xmap.window;
        const Size size = windowSize(dpy, w);
        if (!mainMs && (o.first || windowName(dpy, w) == o.mainName || size == o.mainSize)) {
            mainMs = at;
        } else if (!splashMs && !mainMs && size == o.splash) {
            splashMs = at;
        }
    }

    const long rss = peakRssKib(pid);
    stop(pid);
    XCloseDisplay(dpy);

    char splash[32] = "-";
    if (splashMs) {
        std::snprintf(splash, sizeof splash, "%.1f", *splashMs);
    }
    std::printf("splash_mapped_ms=%s main_mapped_ms=%.1f peak_rss_kib=%ld\n", splash, *mainMs, rss);
    return 0;
}
