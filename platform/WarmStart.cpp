#include "WarmStart.h"

#include <QStandardPaths>
#include <QString>
#include <fontconfig/fontconfig.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace platform {

FontConfigWarmUp::FontConfigWarmUp() : thread_([] { FcInit(); }) {}

FontConfigWarmUp::~FontConfigWarmUp() {
    wait();
}

void FontConfigWarmUp::wait() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

std::optional<std::string> busAddressWithoutAutolaunch(const Environment &env) {
    const auto address = env.variable("DBUS_SESSION_BUS_ADDRESS");
    if (address && !address->empty()) {
        return std::nullopt;
    }
    const auto runtime = env.variable("XDG_RUNTIME_DIR");
    const std::string directory =
        runtime && !runtime->empty() ? *runtime : "/run/user/" + std::to_string(env.userId);
    const std::string socket = directory + "/bus";
    if (env.isSocket(socket) || env.onPath("dbus-launch")) {
        return std::nullopt;
    }
    return "unix:path=" + socket;
}

namespace {

std::optional<std::string> realVariable(const char *name) {
    if (const char *value = std::getenv(name)) {
        return std::string(value);
    }
    return std::nullopt;
}

bool realIsSocket(const std::string &path) {
    struct stat s {};
    return ::stat(path.c_str(), &s) == 0 && S_ISSOCK(s.st_mode);
}

bool realOnPath(const char *program) {
    return !QStandardPaths::findExecutable(QString::fromLocal8Bit(program)).isEmpty();
}

} // namespace

void skipFutileBusAutolaunch() {
    const Environment env{realVariable, realIsSocket, realOnPath,
                          static_cast<unsigned>(::getuid())};
    if (const auto address = busAddressWithoutAutolaunch(env)) {
        ::setenv("DBUS_SESSION_BUS_ADDRESS", address->c_str(), 0);
    }
}

} // namespace platform
