// SPDX-License-Identifier: GPL-3.0-or-later
#include "OpenWatch.h"

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <mutex>

#include <dlfcn.h>
#include <fcntl.h>

namespace {

std::atomic<bool> watching{false};
std::mutex lock;
QByteArray watchedDirectory;
QByteArray allowedFile;
QList<QByteArray> refused;

bool refuse(const char *path) {
    if (!watching.load() || !path) {
        return false;
    }
    const QByteArray name(path);
    std::lock_guard<std::mutex> guard(lock);
    const bool outOfBounds = !name.startsWith('/') || name.startsWith("/dev/") ||
                             name.startsWith("/proc/") ||
                             (name.startsWith(watchedDirectory) && name != allowedFile);
    if (outOfBounds) {
        refused.append(name);
    }
    return outOfBounds;
}

template <typename Function> Function real(const char *name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

mode_t modeOf(int flags, va_list args) {
    return (flags & (O_CREAT | O_TMPFILE)) ? mode_t(va_arg(args, int)) : 0;
}

} // namespace

namespace openwatch {

void start(const QByteArray &directory, const QByteArray &allowed) {
    std::lock_guard<std::mutex> guard(lock);
    watchedDirectory = directory;
    allowedFile = allowed;
    refused.clear();
    watching = true;
}

QList<QByteArray> stop() {
    watching = false;
    std::lock_guard<std::mutex> guard(lock);
    return refused;
}

} // namespace openwatch

extern "C" {

int open(const char *path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    if (refuse(path)) {
        errno = EACCES;
        return -1;
    }
    static const auto next = real<int (*)(const char *, int, ...)>("open");
    return next(path, flags, mode);
}

int open64(const char *path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    if (refuse(path)) {
        errno = EACCES;
        return -1;
    }
    static const auto next = real<int (*)(const char *, int, ...)>("open64");
    return next(path, flags, mode);
}

int openat(int directory, const char *path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeOf(flags, args);
    va_end(args);
    if (refuse(path)) {
        errno = EACCES;
        return -1;
    }
    static const auto next = real<int (*)(int, const char *, int, ...)>("openat");
    return next(directory, path, flags, mode);
}

FILE *fopen(const char *path, const char *mode) {
    if (refuse(path)) {
        errno = EACCES;
        return nullptr;
    }
    static const auto next = real<FILE *(*)(const char *, const char *)>("fopen");
    return next(path, mode);
}

FILE *fopen64(const char *path, const char *mode) {
    if (refuse(path)) {
        errno = EACCES;
        return nullptr;
    }
    static const auto next = real<FILE *(*)(const char *, const char *)>("fopen64");
    return next(path, mode);
}

} // extern "C"
