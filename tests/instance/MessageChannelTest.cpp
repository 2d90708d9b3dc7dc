// The message channel on real sockets: the second start's lookup and post,
// an outside program's close request, the GUI-side server, other users.
#include "instance/FensterSuche.h"
#include "instance/MessageChannelServer.h"
#include "instance/Nachrichten.h"
#include "platform/MessageChannel.h"
#include "platform/RemoteWindowList.h"

#include <QDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <future>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class MessageChannelTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    std::string Path() const { return platform::ChannelSocketPath(dir.path().toStdString(), instance::kInstanzName); }

    // A server on the GUI event loop that records what it was sent.
    std::unique_ptr<instance::MessageChannelServer> StartServer(std::vector<std::string> titles)
    {
        auto server = std::make_unique<instance::MessageChannelServer>(
            Path(), [this](unsigned m) { received.push_back(m); }, [titles] { return titles; });
        EXPECT_TRUE(server->isListening());
        return server;
    }

    // Runs fn on another thread while this thread's event loop serves the channel.
    template <typename Fn>
    auto WhileServing(Fn fn)
    {
        auto result = std::async(std::launch::async, fn);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 5000));
        return result.get();
    }

    QTemporaryDir dir;
    std::vector<unsigned> received;
};

TEST_F(MessageChannelTest, SecondStartFindsTheMainWindowAndPostsActivation)
{
    auto server = StartServer({"Zarnolith V1.01", "Bildpixel-Startwerte"});
    const bool posted = WhileServing([path = Path()] {
        platform::RemoteWindowList desktop(path);
        const auto w = instance::FensterMitTitelSuchen(desktop, instance::kHauptfensterTitel);
        return w != 0 && desktop.PostMessageW(w, instance::WM_AKTIVIEREN, 0, 0);
    });
    EXPECT_TRUE(posted);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !received.empty(); }, 2000));
    EXPECT_EQ(received, (std::vector<unsigned> {instance::WM_AKTIVIEREN}));
}

TEST_F(MessageChannelTest, InstanceWithoutMatchingWindowGetsNothing)
{
    auto server = StartServer({"Zarnolith V1.01 (Kopie)", "Bildpixel-Startwerte"});
    const auto found = WhileServing([path = Path()] {
        platform::RemoteWindowList desktop(path);
        return instance::FensterMitTitelSuchen(desktop, instance::kHauptfensterTitel);
    });
    EXPECT_EQ(found, 0u);
    QTest::qWait(50);
    EXPECT_TRUE(received.empty());
}

TEST_F(MessageChannelTest, NobodyListeningMeansNoWindowAndNoWait)
{
    platform::RemoteWindowList desktop(Path());
    EXPECT_EQ(instance::FensterMitTitelSuchen(desktop, instance::kHauptfensterTitel), 0u);
    EXPECT_FALSE(desktop.PostMessageW(2, instance::WM_AKTIVIEREN, 0, 0));
}

// Messages sent right before the peer hangs up are still handled, in order.
TEST_F(MessageChannelTest, MessagesArriveInOrderEvenWhenThePeerHangsUpAtOnce)
{
    auto server = StartServer({});
    WhileServing([path = Path()] {
        platform::ChannelClient client;
        return client.Connect(path) && client.Post(1224) && client.Post(4711) && client.Post(1124);
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() == 3; }, 2000));
    EXPECT_EQ(received, (std::vector<unsigned> {1224, 4711, 1124}));
}

TEST_F(MessageChannelTest, ServerAnswersWhileAModalDialogRuns)
{
    auto server = StartServer({"Zarnolith V1.01"});
    QDialog dialog;
    std::future<std::optional<std::vector<std::string>>> answer;
    QTimer::singleShot(0, &dialog, [&] {
        answer = std::async(std::launch::async, [path = Path()] {
            platform::ChannelClient client;
            std::optional<std::vector<std::string>> titles;
            if (client.Connect(path))
                titles = client.QueryTitles(3000);
            client.Post(instance::WM_AKTIVIEREN);
            return titles;
        });
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &dialog, [&] {
        if (!received.empty())
            dialog.reject();
    });
    poll.start(5);
    QTimer::singleShot(5000, &dialog, &QDialog::reject); // never hang the suite
    dialog.exec();
    ASSERT_TRUE(answer.valid());
    EXPECT_EQ(answer.get(), (std::vector<std::string> {"Zarnolith V1.01"}));
    EXPECT_EQ(received, (std::vector<unsigned> {instance::WM_AKTIVIEREN}));
}

TEST_F(MessageChannelTest, OverlongRequestEndsTheConnectionWithoutEffect)
{
    auto server = StartServer({});
    const bool closedByServer = WhileServing([path = Path()] {
        platform::ChannelClient client;
        if (!client.Connect(path) || !client.Post(1224000000))
            return false;
        // 1224000000 is a valid line; now an endless one.
        int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr {};
        addr.sun_family = AF_UNIX;
        std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
            return false;
        const std::string junk(100, '1');
        (void)!::send(fd, junk.data(), junk.size(), MSG_NOSIGNAL);
        char c;
        const bool eof = ::recv(fd, &c, 1, 0) == 0;
        ::close(fd);
        return eof;
    });
    EXPECT_TRUE(closedByServer);
    QTest::qWait(20);
    EXPECT_EQ(received, (std::vector<unsigned> {1224000000u}));
}

TEST_F(MessageChannelTest, StaleSocketFileOfACrashedInstanceIsReplaced)
{
    {
        // Left behind: a bound socket whose owner is gone.
        auto dead = platform::ChannelListener::Listen(Path());
        ASSERT_TRUE(dead);
        const std::string keep = Path() + ".keep";
        ASSERT_EQ(::link(Path().c_str(), keep.c_str()), 0);
        dead.reset();
        ASSERT_EQ(::rename(keep.c_str(), Path().c_str()), 0);
    }
    struct stat st {};
    ASSERT_EQ(::stat(Path().c_str(), &st), 0);
    auto server = StartServer({"Zarnolith V1.01"});
    const auto titles = WhileServing([path = Path()] {
        platform::ChannelClient client;
        return client.Connect(path) ? client.QueryTitles(3000) : std::nullopt;
    });
    EXPECT_EQ(titles, (std::vector<std::string> {"Zarnolith V1.01"}));
}

TEST_F(MessageChannelTest, SocketIsPrivateAndRemovedWhenTheServerEnds)
{
    {
        auto server = StartServer({});
        struct stat st {};
        ASSERT_EQ(::stat(Path().c_str(), &st), 0);
        EXPECT_TRUE(S_ISSOCK(st.st_mode));
        EXPECT_EQ(st.st_mode & 0777, 0600u);
    }
    EXPECT_NE(::access(Path().c_str(), F_OK), 0);
}

TEST_F(MessageChannelTest, UnusablePathLeavesTheProgramWithoutChannel)
{
    instance::MessageChannelServer tooLong(std::string(200, 'x'), nullptr, nullptr);
    EXPECT_FALSE(tooLong.isListening());
    instance::MessageChannelServer noDir(dir.path().toStdString() + "/missing/x.sock", nullptr, nullptr);
    EXPECT_FALSE(noDir.isListening());
    instance::MessageChannelServer none(std::string(), nullptr, nullptr);
    EXPECT_FALSE(none.isListening());
}

TEST(PeerCredentials, MatchOnlyTheConnectedProcessesUser)
{
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    EXPECT_TRUE(platform::PeerHasUid(pair[0], ::geteuid()));
    EXPECT_FALSE(platform::PeerHasUid(pair[0], ::geteuid() + 1));
    ::close(pair[0]);
    ::close(pair[1]);
    const int file = ::open("/dev/null", O_RDONLY);
    EXPECT_FALSE(platform::PeerHasUid(file, ::geteuid())); // no socket, no credentials
    ::close(file);
}

// A process of another user that reaches the socket is dropped before it is heard.
TEST_F(MessageChannelTest, ConnectionFromAnotherUserIsRefused)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to run a client as another user";
    auto server = StartServer({"Zarnolith V1.01"});
    // Open the way on purpose, so that only the credential check stands in between.
    ASSERT_EQ(::chmod(dir.path().toLocal8Bit().constData(), 0711), 0);
    ASSERT_EQ(::chmod(Path().c_str(), 0666), 0);
    const auto status = WhileServing([path = Path()] {
        const pid_t child = ::fork();
        if (child == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(10);
            platform::ChannelClient client;
            if (!client.Connect(path))
                ::_exit(11);
            client.Post(instance::WM_BEENDEN);
            ::_exit(client.QueryTitles(1000).has_value() ? 12 : 0);
        }
        int st = -1;
        ::waitpid(child, &st, 0);
        return st;
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0); // connected, but got no answer
    QTest::qWait(50);
    EXPECT_TRUE(received.empty());
}

} // namespace
