#include "app/linux/SessionName.h"
#include "app/linux/SocketInstanceGuard.h"
#include "ui/linux/OffscreenQt.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tovrik::app {
namespace {

using testing::OffscreenApplication;
using testing::ProcessEventsUntil;

// Sets an environment variable for the test's duration.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (m_old) {
            ::setenv(m_name, m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

// An X session of its own, so that no running copy of the program is met.
struct TestSession {
    ScopedEnv wayland{"WAYLAND_DISPLAY", nullptr};
    ScopedEnv display;
    explicit TestSession(const char* value = ":97") : display("DISPLAY", value) {}
};

Text UniqueName() {
    return "TV_OCR_test_" + std::to_string(::getpid());
}

std::string Key(std::string_view display, std::string_view wayland = {}, std::string_view runtime = {}) {
    return SessionKey({.display = display, .waylandDisplay = wayland, .runtimeDir = runtime});
}

TEST(SessionNameTest, EverySpellingOfOneDisplayIsOneSession) {
    EXPECT_EQ(Key(":0"), "x11::0");
    EXPECT_EQ(Key(":0.0"), Key(":0"));
    EXPECT_EQ(Key("unix:0"), Key(":0"));
    EXPECT_EQ(Key("unix:0.1"), Key(":0"));
    EXPECT_NE(Key(":1"), Key(":0"));
    EXPECT_NE(Key(":10"), Key(":1"));
    // A display forwarded over TCP is another server than the local display of that number.
    EXPECT_EQ(Key("localhost:10.0"), "x11:localhost:10");
    EXPECT_NE(Key("localhost:10.0"), Key(":10"));
    EXPECT_EQ(Key(""), "none");
}

TEST(SessionNameTest, AWaylandSessionIsItsSocketWhereverTheNameComesFrom) {
    const std::string relative = Key(":0", "wayland-1", "/run/user/1000");
    EXPECT_EQ(relative, "wayland:/run/user/1000/wayland-1");
    EXPECT_EQ(Key(":0", "wayland-1", "/run/user/1000/"), relative);
    EXPECT_EQ(Key("", "/run/user/1000/wayland-1", "/elsewhere"), relative);
    // XWayland's DISPLAY does not matter: every client of the session sees the same socket.
    EXPECT_EQ(Key(":5", "wayland-1", "/run/user/1000"), relative);
    EXPECT_NE(Key(":0", "wayland-0", "/run/user/1000"), relative);
    EXPECT_NE(Key(":0", "wayland-1", "/run/user/1001"), relative);
}

TEST(SessionNameTest, TheSocketNameHoldsUserAndSessionAndAlwaysFits) {
    const SessionEnvironment x11{.display = "unix:0.0"};
    EXPECT_EQ(InstanceSocketName("TV_OCR_$$", 1000, x11), "TV_OCR_$$/1000/x11::0");
    EXPECT_NE(InstanceSocketName("TV_OCR_$$", 1001, x11), InstanceSocketName("TV_OCR_$$", 1000, x11));

    const std::string longDir = "/tmp/" + std::string(120, 'r');
    const std::string one =
        InstanceSocketName("TV_OCR_$$", 1000, {.waylandDisplay = "wayland-1", .runtimeDir = longDir});
    const std::string other =
        InstanceSocketName("TV_OCR_$$", 1000, {.waylandDisplay = "wayland-2", .runtimeDir = longDir});
    EXPECT_LE(one.size(), sizeof(sockaddr_un{}.sun_path) - 1);
    EXPECT_TRUE(one.starts_with("TV_OCR_$$/1000/md5:")) << one;
    EXPECT_NE(one, other);
}

TEST(SocketInstanceGuardTest, OneHolderAtATimeAndTheNameComesFreeWithIt) {
    OffscreenApplication();
    const TestSession session;
    auto first = std::make_unique<SocketInstanceGuard>();
    SocketInstanceGuard second;
    EXPECT_TRUE(first->Acquire(UniqueName()));
    EXPECT_TRUE(first->Acquire(UniqueName())) << "asking again keeps the lock";
    EXPECT_FALSE(second.Acquire(UniqueName()));
    first.reset();
    EXPECT_TRUE(second.Acquire(UniqueName()));
}

TEST(SocketInstanceGuardTest, TheLockIsPerSessionHoweverTheDisplayIsSpelt) {
    OffscreenApplication();
    SocketInstanceGuard onFirst;
    SocketInstanceGuard sameDisplay;
    SocketInstanceGuard onSecond;
    {
        const TestSession session(":97");
        ASSERT_TRUE(onFirst.Acquire(UniqueName()));
    }
    {
        const TestSession session("unix:97.0");
        EXPECT_FALSE(sameDisplay.Acquire(UniqueName()));
    }
    const TestSession session(":98");
    EXPECT_TRUE(onSecond.Acquire(UniqueName()));
}

// The holder's side runs in this thread's event loop; senders wait for its answer, so they
// run on a thread of their own.
class InstanceChannelTest : public ::testing::Test {
protected:
    InstanceChannelTest() {
        OffscreenApplication();
        m_holder.SetReceiver([this](InstanceCommand command) { m_received.push_back(command); });
    }

    // Sends from another guard, as another process would, while events run here.
    bool SendFromOutside(InstanceCommand command) {
        auto sent = std::async(std::launch::async, [command] {
            SocketInstanceGuard sender;
            return sender.Send(UniqueName(), command);
        });
        EXPECT_TRUE(ProcessEventsUntil(
            [&] { return sent.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 5000));
        return sent.get();
    }

    // Connects to the holder's socket and writes bytes as they are; the answer, if any.
    std::string RawExchange(const std::string& bytes) {
        auto answer = std::async(std::launch::async, [bytes] {
            const std::string name = SocketInstanceGuard::SocketName(UniqueName());
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::memcpy(address.sun_path + 1, name.data(), name.size());
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
            std::string reply;
            if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0) {
                static_cast<void>(::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL));
                char buffer[32];
                ssize_t got = 0;
                while ((got = ::recv(fd, buffer, sizeof(buffer), 0)) > 0) {
                    reply.append(buffer, static_cast<std::size_t>(got));
                }
            }
            ::close(fd);
            return reply;
        });
        EXPECT_TRUE(ProcessEventsUntil(
            [&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 5000));
        return answer.get();
    }

    TestSession m_session;
    SocketInstanceGuard m_holder;
    std::vector<InstanceCommand> m_received;
};

TEST_F(InstanceChannelTest, CommandsReachTheHolderFromTheEventLoopAfterTheSenderHasItsAnswer) {
    ASSERT_TRUE(m_holder.Acquire(UniqueName()));
    EXPECT_TRUE(SendFromOutside(InstanceCommand::CaptureToFile));
    EXPECT_TRUE(SendFromOutside(InstanceCommand::SecondStart));
    ASSERT_TRUE(ProcessEventsUntil([&] { return m_received.size() == 2; }));
    EXPECT_EQ(m_received, (std::vector{InstanceCommand::CaptureToFile, InstanceCommand::SecondStart}));
}

TEST_F(InstanceChannelTest, NobodyTakesACommandWhenNoCopyRuns) {
    SocketInstanceGuard sender;
    EXPECT_FALSE(sender.Send(UniqueName(), InstanceCommand::ShowSettings));
}

TEST_F(InstanceChannelTest, UnknownWordsAndOverlongLinesAreRefusedAndRunNothing) {
    ASSERT_TRUE(m_holder.Acquire(UniqueName()));
    EXPECT_EQ(RawExchange("format-disk\n"), "unknown\n");
    EXPECT_EQ(RawExchange(std::string(200, 'x')), "unknown\n");
    EXPECT_EQ(RawExchange("show-settings"), "") << "a line without its end is no command";
    EXPECT_EQ(RawExchange("show-settings\n"), "ok\n");
    ASSERT_TRUE(ProcessEventsUntil([&] { return !m_received.empty(); }));
    testing::ProcessEvents();
    EXPECT_EQ(m_received, (std::vector{InstanceCommand::ShowSettings}));
}

TEST_F(InstanceChannelTest, ASenderThatSaysNothingDoesNotBlockTheNext) {
    ASSERT_TRUE(m_holder.Acquire(UniqueName()));
    const std::string name = SocketInstanceGuard::SocketName(UniqueName());
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const int silent = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::connect(silent, reinterpret_cast<const sockaddr*>(&address),
                        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size())),
              0);
    EXPECT_TRUE(SendFromOutside(InstanceCommand::CaptureAndCopy));
    ::close(silent);
    ASSERT_TRUE(ProcessEventsUntil([&] { return !m_received.empty(); }));
    EXPECT_EQ(m_received, (std::vector{InstanceCommand::CaptureAndCopy}));
}

} // namespace
} // namespace tovrik::app
