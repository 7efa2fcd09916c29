// SPDX-License-Identifier: GPL-3.0-or-later
// Looks at the X screen from outside the game, for the end-to-end tests.
//
//   x11probe cursor
//       prints the pointer's current cursor as "WxH+XHOT+YHOT#CRC"
//   x11probe await-cursor [--not] PATTERN TIMEOUT_MS
//       waits until the cursor's signature matches (or, with --not, stops
//       matching) the shell pattern; prints the last signature seen and
//       fails on timeout
//   x11probe yellow X Y W H
//       counts the pixels of that root-window rectangle that are clearly
//       yellow (red and green above 200, blue under 80)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include <fnmatch.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

std::uint32_t crc32(const unsigned long *pixels, int count) {
    std::uint32_t crc = 0xffffffffu;
    for (int i = 0; i < count; ++i) {
        // XFixes hands out 32-bit ARGB values in longs.
        auto argb = static_cast<std::uint32_t>(pixels[i]);
        for (int byte = 0; byte < 4; ++byte) {
            crc ^= argb & 0xffu;
            argb >>= 8;
            for (int k = 0; k < 8; ++k) {
                crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
            }
        }
    }
    return ~crc;
}

std::string cursorSignature(Display *dpy) {
    XFixesCursorImage *image = XFixesGetCursorImage(dpy);
    if (!image) {
        return "none";
    }
    char text[96];
    std::snprintf(text, sizeof text, "%ux%u+%u+%u#%08x", image->width, image->height, image->xhot,
                  image->yhot, crc32(image->pixels, image->width * image->height));
    XFree(image);
    return text;
}

int awaitCursor(Display *dpy, bool negate, const char *pattern, long timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string seen;
    for (;;) {
        seen = cursorSignature(dpy);
        const bool matches = fnmatch(pattern, seen.c_str(), 0) == 0;
        if (matches != negate) {
            std::printf("%s\n", seen.c_str());
            return 0;
        }
        if (Clock::now() >= deadline) {
            std::printf("%s\n", seen.c_str());
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// Channel value of a pixel scaled to 0..255, whatever the visual's masks.
unsigned channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (!((mask >> shift) & 1ul)) {
        ++shift;
    }
    const unsigned long max = mask >> shift;
    return static_cast<unsigned>(((pixel & mask) >> shift) * 255ul / max);
}

int countYellow(Display *dpy, int x, int y, unsigned w, unsigned h) {
    const Window root = DefaultRootWindow(dpy);
    XImage *image = XGetImage(dpy, root, x, y, w, h, AllPlanes, ZPixmap);
    if (!image) {
        std::fprintf(stderr, "x11probe: cannot read the screen\n");
        return 2;
    }
    long count = 0;
    for (unsigned j = 0; j < h; ++j) {
        for (unsigned i = 0; i < w; ++i) {
            const unsigned long p = XGetPixel(image, static_cast<int>(i), static_cast<int>(j));
            if (channel(p, image->red_mask) > 200 && channel(p, image->green_mask) > 200 &&
                channel(p, image->blue_mask) < 80) {
                ++count;
            }
        }
    }
    XDestroyImage(image);
    std::printf("%ld\n", count);
    return 0;
}

int usage() {
    std::fprintf(stderr, "usage: x11probe cursor | await-cursor [--not] PATTERN TIMEOUT_MS |"
                         " yellow X Y W H\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc < 2) {
        return usage();
    }
    Display *dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "x11probe: cannot open display\n");
        return 2;
    }
    int eventBase = 0, errorBase = 0;
    const std::string command = argv[1];
    int rc = 0;
    if ((command == "cursor" || command == "await-cursor") &&
        !XFixesQueryExtension(dpy, &eventBase, &errorBase)) {
        std::fprintf(stderr, "x11probe: the X server lacks XFixes\n");
        rc = 2;
    } else if (command == "cursor" && argc == 2) {
        std::printf("%s\n", cursorSignature(dpy).c_str());
    } else if (command == "await-cursor" && (argc == 4 || argc == 5)) {
        const bool negate = argc == 5 && std::strcmp(argv[2], "--not") == 0;
        if (argc == 5 && !negate) {
            rc = usage();
        } else {
            rc = awaitCursor(dpy, negate, argv[argc - 2], std::atol(argv[argc - 1]));
        }
    } else if (command == "yellow" && argc == 6) {
        rc = countYellow(dpy, std::atoi(argv[2]), std::atoi(argv[3]),
                         static_cast<unsigned>(std::atoi(argv[4])),
                         static_cast<unsigned>(std::atoi(argv[5])));
    } else {
        rc = usage();
    }
    XCloseDisplay(dpy);
    return rc;
}
