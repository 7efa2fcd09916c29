// When the game steers the bus library away from a helper that can't start
// a bus, and when it must leave the library alone.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "WarmStart.h"

namespace fs = std::filesystem;
using platform::busAddressWithoutAutolaunch;
using platform::Environment;

namespace {

struct FakeDesktop {
    std::map<std::string, std::string> variables;
    std::set<std::string> sockets;
    bool helperInstalled = false;

    Environment environment() const {
        return {[this](const char *name) -> std::optional<std::string> {
                    const auto it = variables.find(name);
                    if (it == variables.end()) {
                        return std::nullopt;
                    }
                    return it->second;
                },
                [this](const std::string &path) { return sockets.count(path) > 0; },
                [this](const char *program) {
                    return helperInstalled && std::string(program) == "dbus-launch";
                },
                1000};
    }
};

} // namespace

TEST(BusAddress, LeftAloneWheneverABusCanBeFound) {
    FakeDesktop desktop;
    desktop.variables["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=/run/user/1000/bus";
    EXPECT_EQ(busAddressWithoutAutolaunch(desktop.environment()), std::nullopt);

    FakeDesktop userBus;
    userBus.variables["XDG_RUNTIME_DIR"] = "/run/user/1000";
    userBus.sockets.insert("/run/user/1000/bus");
    EXPECT_EQ(busAddressWithoutAutolaunch(userBus.environment()), std::nullopt);

    // The helper may find or start a bus on the display: let it try.
    FakeDesktop helper;
    helper.helperInstalled = true;
    EXPECT_EQ(busAddressWithoutAutolaunch(helper.environment()), std::nullopt);
}

TEST(BusAddress, PointsAtTheAbsentUserSocketWhenNothingCouldAnswer) {
    FakeDesktop desktop;
    desktop.variables["XDG_RUNTIME_DIR"] = "/tmp/xdg-test";
    EXPECT_EQ(busAddressWithoutAutolaunch(desktop.environment()), "unix:path=/tmp/xdg-test/bus");

    // An empty address is no address; without a runtime directory the
    // user's usual one is named.
    FakeDesktop bare;
    bare.variables["DBUS_SESSION_BUS_ADDRESS"] = "";
    bare.variables["XDG_RUNTIME_DIR"] = "";
    EXPECT_EQ(busAddressWithoutAutolaunch(bare.environment()), "unix:path=/run/user/1000/bus");

    // A plain file where the socket would be is not a bus.
    FakeDesktop stale;
    stale.variables["XDG_RUNTIME_DIR"] = "/tmp/xdg-test";
    stale.sockets.insert("/tmp/xdg-test/bus-old");
    EXPECT_EQ(busAddressWithoutAutolaunch(stale.environment()), "unix:path=/tmp/xdg-test/bus");
}

// The same decisions against the real process environment and file system.
class RealEnvironment : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/veltrano-warmstart.XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
        fs::create_directory(dir_ / "bin");
        ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
        ::setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
        ::setenv("PATH", (dir_ / "bin").c_str(), 1);
    }
    void TearDown() override { fs::remove_all(dir_); }

    static std::string address() {
        const char *value = std::getenv("DBUS_SESSION_BUS_ADDRESS");
        return value ? value : "(unset)";
    }

    fs::path dir_;
};

TEST_F(RealEnvironment, SetsTheAddressOnlyWhenNoBusOrHelperIsThere) {
    platform::skipFutileBusAutolaunch();
    EXPECT_EQ(address(), "unix:path=" + (dir_ / "bus").string());

    // Never overrides an address the session gave.
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:abstract=given", 1);
    platform::skipFutileBusAutolaunch();
    EXPECT_EQ(address(), "unix:abstract=given");
}

TEST_F(RealEnvironment, FindsAListeningUserBus) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un where{};
    where.sun_family = AF_UNIX;
    const std::string path = (dir_ / "bus").string();
    ASSERT_LT(path.size(), sizeof where.sun_path);
    path.copy(where.sun_path, path.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&where), sizeof where), 0);
    platform::skipFutileBusAutolaunch();
    ::close(fd);
    EXPECT_EQ(address(), "(unset)");
}

TEST_F(RealEnvironment, FindsTheHelperOnlyWhenItCanRun) {
    const fs::path helper = dir_ / "bin" / "dbus-launch";
    std::ofstream(helper) << "#!/bin/sh\n";
    fs::permissions(helper, fs::perms::owner_read | fs::perms::owner_write);
    // Root may run any file that has an execute bit, and none is set yet.
    platform::skipFutileBusAutolaunch();
    EXPECT_NE(address(), "(unset)");

    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    fs::permissions(helper, fs::perms::owner_all);
    platform::skipFutileBusAutolaunch();
    EXPECT_EQ(address(), "(unset)");
}

TEST(FontConfigWarmUp, WaitingTwiceOrNeverIsSafe) {
    platform::FontConfigWarmUp first;
    first.wait();
    first.wait();
    platform::FontConfigWarmUp second; // joined by its destructor
}

TEST(FontRules, SpelledOutAsTheLibraryReadsThem) {
    const std::string include = "<include ignore_missing=\"yes\">conf.d</include>";
    const std::string stock =
        "<fontconfig><dir>/f</dir>" + include + "<cachedir>/c</cachedir></fontconfig>";
    auto line = [](const std::string &file) {
        return "<include ignore_missing=\"yes\">/etc/fonts/conf.d/" + file + "</include>\n";
    };
    const struct {
        const char *name;
        std::string config;
        std::string folder;
        std::vector<std::string> files;
        std::optional<std::string> expected;
    } rows[] = {
        {"byte order, other scripts and metric twins left out",
         stock,
         "/etc/fonts/conf.d",
         {"65-nonlatin.conf", "90-synthetic.conf", "10-hinting-slight.conf", "50-user.conf",
          "30-metric-aliases.conf", "40-nonlatin.conf", "69-unifont.conf", "65-khmer.conf",
          "65-fonts-persian.conf"},
         "<fontconfig><dir>/f</dir>" + line("10-hinting-slight.conf") + line("50-user.conf") +
             line("90-synthetic.conf") + "<cachedir>/c</cachedir></fontconfig>"},
        {"only digit-led .conf names",
         stock,
         "/etc/fonts/conf.d",
         {"README", ".", "..", "x1.conf", ".conf", "11-lcd.conf.bak", "11-lcd.conf"},
         "<fontconfig><dir>/f</dir>" + line("11-lcd.conf") +
             "<cachedir>/c</cachedir></fontconfig>"},
        {"an empty folder",
         stock,
         "/etc/fonts/conf.d",
         {},
         "<fontconfig><dir>/f</dir><cachedir>/c</cachedir></fontconfig>"},
        {"no include of the folder",
         "<fontconfig><dir>/f</dir></fontconfig>",
         "/etc/fonts/conf.d",
         {"10-a.conf"},
         std::nullopt},
        {"two includes", stock + include, "/etc/fonts/conf.d", {"10-a.conf"}, std::nullopt},
        {"a folder name to escape", stock, "/etc/fonts&co/conf.d", {"10-a.conf"}, std::nullopt},
        {"a file name to escape", stock, "/etc/fonts/conf.d", {"10-<a>.conf"}, std::nullopt},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(platform::withRulesSpelledOut(row.config, row.folder, row.files), row.expected)
            << row.name;
    }
}
