// The GUI side of the message channel on real sockets: answers and messages
// during a modal dialog, broken, silent and too many clients, other users.
#include "instance/MessageChannelServer.h"
#include "instance/Messages.h"
#include "instance/MessageChannel.h"
#include "support/ModalLoop.h"

#include <QDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>
#include <fcntl.h>
#include <future>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A blocking client socket connected to path, or -1.
int ConnectRaw(const std::string& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Whether the server has hung up on fd: end of stream within timeoutMs.
bool HungUpWithin(int fd, int timeoutMs)
{
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0)
        return false;
    char c;
    return ::recv(fd, &c, 1, MSG_DONTWAIT) == 0;
}

bool StillOpen(int fd)
{
    char c;
    return ::recv(fd, &c, 1, MSG_DONTWAIT) < 0 && errno == EAGAIN;
}

// A message that should never come is given this long to show up, if it did.
constexpr int kStrayMessageWaitMs = 50;

const std::string kTitleAnswer = "2\nZarnolith V1.01\nBildpixel-Startwerte\n";

class MessageChannelTest : public ::testing::Test {
protected:
    void SetUp() override { Serve(instance::MessageChannelServer::kIdleLimit); }
    void Serve(std::chrono::milliseconds idleLimit)
    {
        server.reset();
        server = std::make_unique<instance::MessageChannelServer>(
            Path(), [this](unsigned m) { received.push_back(m); },
            [] {
                return std::vector<std::string>{"Zarnolith V1.01", "Bildpixel-Startwerte"};
            },
            nullptr, idleLimit);
        ASSERT_TRUE(server->isListening());
    }
    std::string Path() const { return instance::ChannelSocketPath(dir.path().toStdString(), instance::kInstanceName); }

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
    modaltest::actInModal<QDialog>([&] { dialog.exec(); },
                                   [&] {
                                       answer = std::async(std::launch::async, [path = Path()] {
                                           instance::ChannelClient client;
                                           std::optional<std::vector<std::string>> titles;
                                           if (client.Connect(path))
                                               titles = client.QueryTitles(3000);
                                           client.Post(instance::WM_AKTIVIEREN);
                                           client.Post(
                                               instance::WM_BEENDEN); // the peer hangs up right after: still handled
                                           return titles;
                                       });
                                       poll.start(5);
                                   });
    ASSERT_TRUE(answer.valid());
    EXPECT_EQ(answer.get(), (std::vector<std::string>{"Zarnolith V1.01", "Bildpixel-Startwerte"}));
    EXPECT_EQ(received, (std::vector<unsigned>{instance::WM_AKTIVIEREN, instance::WM_BEENDEN}));
}

TEST_F(MessageChannelTest, OverlongRequestEndsTheConnectionWithoutEffect)
{
    const bool hungUp = WhileServing([path = Path()] {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
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
    QTest::qWait(kStrayMessageWaitMs);
    EXPECT_TRUE(received.empty());
}

// A peer that connects and says nothing, or sends a byte now and then without
// ever finishing a line, is closed after the idle limit; requests go on.
TEST_F(MessageChannelTest, SilentAndTricklingPeersAreClosedAfterTheIdleLimit)
{
    Serve(std::chrono::milliseconds(300));
    struct Outcome {
        bool silentClosed = false, tricklerClosed = false;
        int trickled = 0;
        std::optional<std::vector<std::string>> titles;
    };
    const Outcome o = WhileServing([path = Path()] {
        Outcome o;
        const int silent = ConnectRaw(path), trickler = ConnectRaw(path);
        if (silent < 0 || trickler < 0)
            return o;
        // One digit every 100 ms: 25 of them stay below the over-long line rule.
        for (; o.trickled < 25 && !o.tricklerClosed; ++o.trickled) {
            if (::send(trickler, "1", 1, MSG_NOSIGNAL) != 1)
                break;
            o.tricklerClosed = HungUpWithin(trickler, 100);
        }
        o.silentClosed = HungUpWithin(silent, 1000);
        instance::ChannelClient prompt;
        if (prompt.Connect(path))
            o.titles = prompt.QueryTitles(2000);
        ::close(silent);
        ::close(trickler);
        return o;
    });
    EXPECT_TRUE(o.silentClosed);
    EXPECT_TRUE(o.tricklerClosed) << o.trickled << " bytes sent";
    EXPECT_EQ(o.titles, (std::vector<std::string>{"Zarnolith V1.01", "Bildpixel-Startwerte"}));
    EXPECT_TRUE(received.empty());
}

// At most kMaxSessions connections are kept; a new one takes the place of the
// one whose last request lies furthest back, and is answered.
TEST_F(MessageChannelTest, AFullChannelGivesTheLongestIdlePlaceToANewConnection)
{
    Serve(std::chrono::minutes(10)); // only the limit of connections at work here
    const std::size_t limit = instance::MessageChannelServer::kMaxSessions;
    // Each connection asks once and waits for its answer, so the server has
    // taken it and the order of their last requests is known.
    const auto openAndAsk = [path = Path()] {
        const int fd = ConnectRaw(path);
        std::string answer;
        if (fd >= 0 && ::send(fd, "?\n", 2, MSG_NOSIGNAL) == 2)
            while (answer.size() < kTitleAnswer.size()) {
                pollfd p{fd, POLLIN, 0};
                char buf[256];
                const ssize_t n = ::poll(&p, 1, 3000) > 0 ? ::recv(fd, buf, sizeof buf, 0) : -1;
                if (n <= 0)
                    break;
                answer.append(buf, static_cast<std::size_t>(n));
            }
        if (answer != kTitleAnswer && fd >= 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    };
    std::vector<int> fds;
    for (std::size_t i = 0; i < limit + 2; ++i)
        fds.push_back(WhileServing(openAndAsk));
    for (std::size_t i = 0; i < fds.size(); ++i)
        EXPECT_GE(fds[i], 0) << "connection " << i << " was not answered";
    ASSERT_TRUE(std::all_of(fds.begin(), fds.end(), [](int fd) { return fd >= 0; }));
    // The two that waited longest made room; the rest are still served.
    EXPECT_TRUE(HungUpWithin(fds[0], 2000));
    EXPECT_TRUE(HungUpWithin(fds[1], 2000));
    for (std::size_t i = 2; i < fds.size(); ++i)
        EXPECT_TRUE(StillOpen(fds[i])) << "connection " << i;
    // A request on an old connection makes it the youngest; the next newcomer
    // then takes the place of the one after it.
    ASSERT_EQ(::send(fds[2], "1224\n", 5, MSG_NOSIGNAL), 5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() == 1; }, 5000));
    fds.push_back(WhileServing(openAndAsk));
    EXPECT_GE(fds.back(), 0);
    EXPECT_TRUE(StillOpen(fds[2]));
    EXPECT_TRUE(HungUpWithin(fds[3], 2000));
    for (int fd : fds)
        if (fd >= 0)
            ::close(fd);
}

// Clients connect without waiting; a burst that arrives while the UI thread is
// busy waits in the listen queue and is answered once the loop runs again.
TEST_F(MessageChannelTest, BurstOfQueriesWhileTheLoopIsBusyIsAnsweredInFull)
{
    constexpr int kClients = 30; // within the connection limit
    std::atomic<int> tried{0};
    std::vector<std::future<bool>> answered;
    for (int i = 0; i < kClients; ++i)
        answered.push_back(std::async(std::launch::async, [&tried, path = Path()] {
            instance::ChannelClient client;
            const bool connected = client.Connect(path);
            ++tried;
            return connected && client.QueryTitles(10000).has_value();
        }));
    // The loop stays busy until every client has connected or been turned away.
    while (tried < kClients)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return std::all_of(answered.begin(), answered.end(), [](const std::future<bool>& f) {
                return f.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
            });
        },
        15000));
    const auto count = std::count_if(answered.begin(), answered.end(), [](std::future<bool>& f) { return f.get(); });
    EXPECT_EQ(count, kClients);
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

// A client that finds the socket file connects: the path appears only once
// the socket listens, never with permissions wider than the owner's. A
// second start, or an outside program that waits for the file, must not be
// turned away by an instance that is just starting.
TEST(ChannelListenerStart, PathAppearsOnlyOnceTheSocketListensAndIsPrivate)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = instance::ChannelSocketPath(dir.path().toStdString(), instance::kInstanceName);
    std::atomic<bool> stop{false};
    std::atomic<int> seen{0}, refused{0}, open{0};
    // Connects the moment the file shows, again and again, while listeners come and go.
    std::thread watcher([&] {
        while (!stop) {
            struct stat st {};
            if (::lstat(path.c_str(), &st) != 0)
                continue;
            ++seen;
            if ((st.st_mode & 0077) != 0)
                ++open;
            const int fd = ConnectRaw(path);
            if (fd >= 0) {
                ::close(fd);
            } else if (errno == ECONNREFUSED) {
                // A listener that is ending takes its file away first and then
                // stops; a client that had found the file just before is
                // refused, and that is no fault. The same file still in place
                // after the refusal is one: it was there and did not listen.
                // The file system may give the next socket the freed inode
                // number, so its change time tells the two apart too.
                struct stat after {};
                if (::lstat(path.c_str(), &after) == 0 && after.st_ino == st.st_ino && after.st_dev == st.st_dev
                    && after.st_ctim.tv_sec == st.st_ctim.tv_sec && after.st_ctim.tv_nsec == st.st_ctim.tv_nsec)
                    ++refused;
            }
            while (!stop && ::lstat(path.c_str(), &st) == 0) {}
        }
    });
    for (int i = 0; i < 3000; ++i) {
        auto listener = instance::ChannelListener::Listen(path);
        ASSERT_NE(listener, nullptr);
        for (int fd; (fd = listener->Accept()) >= 0;)
            ::close(fd);
    }
    stop = true;
    watcher.join();
    EXPECT_GT(seen.load(), 0) << "the watcher never saw the socket file; the check proved nothing";
    EXPECT_EQ(refused.load(), 0) << "of " << seen << " connections to a socket file that was there";
    EXPECT_EQ(open.load(), 0) << "of " << seen << " times the file was seen";
}

TEST(PeerCredentials, MatchOnlyTheConnectedProcessesUser)
{
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    EXPECT_TRUE(instance::PeerHasUid(pair[0], ::geteuid()));
    EXPECT_FALSE(instance::PeerHasUid(pair[0], ::geteuid() + 1));
    ::close(pair[0]);
    ::close(pair[1]);
    const int file = ::open("/dev/null", O_RDONLY);
    EXPECT_FALSE(instance::PeerHasUid(file, ::geteuid())); // no socket, no credentials
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
    const int status = WhileServing([dir = dir.path().toStdString()] {
        const pid_t child = ::fork();
        if (child == 0) {
            // Into the directory while still root: the way there (the temporary
            // directory's parents, the root of a container) need not be open to
            // that user, and a refused connect would prove nothing here.
            if (::chdir(dir.c_str()) != 0)
                ::_exit(9);
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(10);
            instance::ChannelClient client;
            if (!client.Connect(instance::ChannelSocketPath(".", instance::kInstanceName)))
                ::_exit(11);
            client.Post(instance::WM_BEENDEN);
            ::_exit(client.QueryTitles(1000).has_value() ? 12 : 0);
        }
        int st = -1;
        ::waitpid(child, &st, 0);
        return st;
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status; // connected, but no answer
    QTest::qWait(kStrayMessageWaitMs);
    EXPECT_TRUE(received.empty());
}

} // namespace
