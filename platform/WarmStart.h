#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// Start-up work that belongs to the desktop rather than to the game: things
// the toolkit would otherwise do on the critical path before the first window
// can be mapped.
namespace platform {

// Makes the font library's configuration current, read as the library reads
// it but without the templates it only describes and without the rule files
// below. Called before anything else asks for fonts; true when a
// configuration is current.
bool loadFontConfiguration();

// True for the stock rule files that never change what the game draws: faces
// for non-Latin scripts, and metric twins of printer faces.
bool ruleFileLeftOut(std::string_view file);

// `config`, the text of the main configuration, with its one include of the
// rules folder replaced by an include of each of `files` (the folder's
// entries) that the library would read, in its order, less those above.
// Nothing when the text doesn't hold exactly one such include or a name
// would need escaping.
std::optional<std::string> withRulesSpelledOut(std::string_view config, const std::string &folder,
                                               std::vector<std::string> files);

// Reads the font configuration on a thread of its own while the toolkit
// connects to the display; the first text drawn would otherwise wait for it.
// wait() is called before any text is laid out, so only one thread ever
// builds the configuration.
class FontConfigWarmUp {
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp &) = delete;
    FontConfigWarmUp &operator=(const FontConfigWarmUp &) = delete;

    void wait();

private:
    std::thread thread_;
};

// What the process sees of its environment, so the decision below can be
// tried without touching the real one.
struct Environment {
    std::function<std::optional<std::string>(const char *)> variable;
    std::function<bool(const std::string &)> isSocket;
    std::function<bool(const char *)> onPath;
    unsigned userId = 0;
};

// The accessibility bridge asks for the session message bus. When no address
// is set and the user has no bus socket, the bus library forks a helper
// program to start one; when that helper is not installed the fork can never
// succeed and still costs every start several milliseconds. In that one case
// this returns the address of the user's (absent) bus socket, so the attempt
// fails at once; otherwise nothing, and the library looks for the bus itself.
std::optional<std::string> busAddressWithoutAutolaunch(const Environment &env);

// Applies the above to the real environment, before the toolkit starts.
void skipFutileBusAutolaunch();

} // namespace platform
