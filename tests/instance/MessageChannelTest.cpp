// The GUI side of the message channel on real sockets: answers and messages
// during a modal dialog, broken clients, other users.
#include "instance/MessageChannelServer.h"
#include "instance/Nachrichten.h"
#include "platform/MessageChannel.h"
#include "support/ModalLoop.h"

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
    void SetUp() override
    {
        server = std::make_unique<instance::MessageChannelServer>(
            Path(), [this](unsigned m) { received.push_back(m); },
            [] { return std::vector<std::string> {"Zarnolith V1.01", "Bildpixel-Startwerte"}; });
        ASSERT_TRUE(server->isListening());
    }
    std::string Path() const { return platform::ChannelSocketPath(dir.path().toStdString(), instance::kInstanzName); }

    // Runs fn on another thread while this thread's event loop serves the channel.
    template <typename Fn>
    auto WhileServing(Fn fn)
    {
        auto result = std::async(std::launch::async, fn);
        EXPECT_TRUE(QTest::qWaitFor([&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
                                    5000));
        return result.get();
    }

    QTemporaryDir dir;
    std::unique_ptr<instance::MessageChannelServer> server;
    std::vector<unsigned> received;
};

// Socket notifiers are dispatched by the modal loop too: the instance answers
// and takes messages while the start-values dialog is open.
TEST_F(MessageChannelTest, AnswersAndTakesMessagesWhileAModalDialogRuns)
{
    QDialog dialog;
    std::future<std::optional<std::vector<std::string>>> answer;
    // Only the dialog's own loop runs while the client talks; it ends the dialog once both arrived.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &dialog, [&] {
        if (received.size() == 2)
            dialog.reject();
    });
    modaltest::actInModal<QDialog>([&] { dialog.exec(); }, [&] {
        answer = std::async(std::launch::async, [path = Path()] {
            platform::ChannelClient client;
            std::optional<std::vector<std::string>> titles;
            if (client.Connect(path))
                titles = client.QueryTitles(3000);
            client.Post(instance::WM_AKTIVIEREN);
            client.Post(instance::WM_BEENDEN); // the peer hangs up right after: still handled
            return titles;
        });
        poll.start(5);
    });
    ASSERT_TRUE(answer.valid());
    EXPECT_EQ(answer.get(), (std::vector<std::string> {"Zarnolith V1.01", "Bildpixel-Startwerte"}));
    EXPECT_EQ(received, (std::vector<unsigned> {instance::WM_AKTIVIEREN, instance::WM_BEENDEN}));
}

TEST_F(MessageChannelTest, OverlongRequestEndsTheConnectionWithoutEffect)
{
    const bool hungUp = WhileServing([path = Path()] {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr {};
        addr.sun_family = AF_UNIX;
        std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
            return false;
        const std::string junk = std::string(100, '1') + "\n";
        (void)!::send(fd, junk.data(), junk.size(), MSG_NOSIGNAL);
        char c;
        const bool eof = ::recv(fd, &c, 1, 0) == 0;
        ::close(fd);
        return eof;
    });
    EXPECT_TRUE(hungUp);
    QTest::qWait(20);
    EXPECT_TRUE(received.empty());
}

TEST_F(MessageChannelTest, SocketIsPrivateAndRemovedWithTheServer)
{
    struct stat st {};
    ASSERT_EQ(::stat(Path().c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    server.reset();
    EXPECT_NE(::access(Path().c_str(), F_OK), 0);
    // A path that cannot take a socket leaves the program without channel.
    EXPECT_FALSE(instance::MessageChannelServer(std::string(200, 'x'), nullptr, nullptr).isListening());
    EXPECT_FALSE(instance::MessageChannelServer(std::string(), nullptr, nullptr).isListening());
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
    // Open the way on purpose, so that only the credential check stands in between.
    ASSERT_EQ(::chmod(dir.path().toLocal8Bit().constData(), 0711), 0);
    ASSERT_EQ(::chmod(Path().c_str(), 0666), 0);
    const int status = WhileServing([path = Path()] {
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
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status; // connected, but no answer
    QTest::qWait(50);
    EXPECT_TRUE(received.empty());
}

} // namespace
