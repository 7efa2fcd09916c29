#include "WarmStart.h"

#include <QStandardPaths>
#include <QString>
#include <dirent.h>
#include <fcntl.h>
#include <fontconfig/fontconfig.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace platform {

bool ruleFileLeftOut(std::string_view file) {
    // Stock rule files that never change what the game draws. Its texts are
    // all Windows-1252, Latin script only, so the faces chosen for other
    // scripts never show; and it maps the two printer faces its windows name
    // onto installed metric twins itself, before the font library is asked.
    static constexpr std::string_view kNames[] = {"30-metric-aliases.conf", "40-nonlatin.conf",
                                                  "65-nonlatin.conf",       "65-khmer.conf",
                                                  "65-fonts-persian.conf",  "69-unifont.conf"};
    return std::find(std::begin(kNames), std::end(kNames), file) != std::end(kNames);
}

std::optional<std::string> withRulesSpelledOut(std::string_view config, const std::string &folder,
                                               std::vector<std::string> files) {
    static constexpr std::string_view kInclude = "<include ignore_missing=\"yes\">conf.d</include>";
    static constexpr std::string_view kNeedsEscaping = "<>&\"'";
    const size_t at = config.find(kInclude);
    if (at == std::string_view::npos ||
        config.find(kInclude, at + kInclude.size()) != std::string_view::npos ||
        folder.find_first_of(kNeedsEscaping) != std::string::npos) {
        return std::nullopt;
    }
    // The library's own choice within the folder: names that start with a
    // digit and end in ".conf", in byte order.
    std::sort(files.begin(), files.end());
    std::string includes;
    for (const std::string &file : files) {
        const bool chosen = file.size() > 5 && file[0] >= '0' && file[0] <= '9' &&
                            file.compare(file.size() - 5, 5, ".conf") == 0;
        if (!chosen || ruleFileLeftOut(file)) {
            continue;
        }
        if (file.find_first_of(kNeedsEscaping) != std::string::npos) {
            return std::nullopt;
        }
        includes += "<include ignore_missing=\"yes\">" + folder + "/" + file + "</include>\n";
    }
    std::string text(config.substr(0, at));
    text += includes;
    text += config.substr(at + kInclude.size());
    return text;
}

namespace {

bool hasCacheFolder(FcConfig *config) {
    FcStrList *folders = FcConfigGetCacheDirs(config);
    const bool any = folders != nullptr && FcStrListNext(folders) != nullptr;
    FcStrListDone(folders);
    return any;
}

bool variableSet(const char *name) {
    const char *value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// The library's own path to a file: its main configuration for nullptr.
std::optional<std::string> configPath(FcConfig *config, const char *name) {
    FcChar8 *path = FcConfigGetFilename(config, reinterpret_cast<const FcChar8 *>(name));
    if (path == nullptr) {
        return std::nullopt;
    }
    std::string result(reinterpret_cast<const char *>(path));
    FcStrFree(path);
    return result;
}

// A regular file of at most `largest` bytes, whole.
std::optional<std::string> smallFile(const std::string &path, off_t largest) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return std::nullopt;
    }
    std::optional<std::string> text;
    struct stat s {};
    if (::fstat(fd, &s) == 0 && S_ISREG(s.st_mode) && s.st_size <= largest) {
        std::string bytes(static_cast<size_t>(s.st_size), '\0');
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0) {
                break;
            }
            done += static_cast<size_t>(n);
        }
        if (done == bytes.size()) {
            text = std::move(bytes);
        }
    }
    ::close(fd);
    return text;
}

// The names in a folder, at most `most` of them.
std::optional<std::vector<std::string>> folderNames(const std::string &path, size_t most) {
    DIR *dir = ::opendir(path.c_str());
    if (dir == nullptr) {
        return std::nullopt;
    }
    std::optional<std::vector<std::string>> names(std::in_place);
    while (const dirent *entry = ::readdir(dir)) {
        if (names->size() == most) {
            names.reset();
            break;
        }
        names->emplace_back(entry->d_name);
    }
    ::closedir(dir);
    return names;
}

// The main configuration with its folder of rules spelled out, less the
// files left out above; nothing when anything is out of the ordinary.
std::optional<std::string> gameConfiguration(FcConfig *config) {
    const auto main = configPath(config, nullptr);
    const auto folder = configPath(config, "conf.d");
    if (!main || !folder) {
        return std::nullopt;
    }
    const auto text = smallFile(*main, 256 * 1024);
    auto files = folderNames(*folder, 1000);
    if (!text || !files) {
        return std::nullopt;
    }
    return withRulesSpelledOut(*text, *folder, std::move(*files));
}

} // namespace

bool loadFontConfiguration() {
    // FcInit() reads the configuration, then parses every file of the
    // library's folder of configuration templates as well, only to describe
    // them to configuration tools; nothing of them is applied, and that
    // second reading was more than half of the whole. The same configuration
    // is read here and its fonts listed, less the few stock rule files that
    // never change what the game draws (ruleFileLeftOut()): they were half of
    // what was left to read, and every face the game loads ran through them.
    // The player's own configuration and the system's rendering choices are
    // all kept. A configuration chosen through the environment, the library's
    // debugging, or anything unusual goes the library's own way, with its
    // fallback configuration and its warnings.
    for (const char *name :
         {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT", "FC_DEBUG"}) {
        if (variableSet(name)) {
            return FcInit();
        }
    }
    FcConfig *config = FcConfigCreate();
    if (config == nullptr) {
        return FcInit();
    }
    const auto text = gameConfiguration(config);
    const bool read = text ? FcConfigParseAndLoadFromMemory(
                                 config, reinterpret_cast<const FcChar8 *>(text->c_str()), FcTrue)
                           : FcConfigParseAndLoad(config, nullptr, FcTrue);
    const bool made =
        read && hasCacheFolder(config) && FcConfigBuildFonts(config) && FcConfigSetCurrent(config);
    // The current configuration holds a reference of its own.
    FcConfigDestroy(config);
    return made || FcInit();
}

FontConfigWarmUp::FontConfigWarmUp() : thread_([] { loadFontConfiguration(); }) {}

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
