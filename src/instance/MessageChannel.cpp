#include "instance/MessageChannel.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace instance {

namespace {

bool FillAddress(const std::string& path, sockaddr_un& addr)
{
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof addr.sun_path)
        return false;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    return true;
}

int RemainingMs(std::chrono::steady_clock::time_point deadline)
{
    const auto left
        = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Where the socket is made before it takes its path: beside it, a name of the
// same length (it fits wherever the path fits).
std::string StagedPath(const std::string& path)
{
    std::string staged = path;
    staged.back() = staged.back() == '~' ? '#' : '~';
    return staged;
}

} // namespace

bool PeerHasUid(int socketFd, uid_t uid)
{
    ucred cred{};
    socklen_t len = sizeof cred;
    if (::getsockopt(socketFd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0 || len != sizeof cred)
        return false;
    return cred.uid == uid;
}

std::unique_ptr<ChannelListener> ChannelListener::Listen(const std::string& path)
{
    sockaddr_un addr;
    if (!FillAddress(path, addr))
        return nullptr;
    const std::string staged = StagedPath(path);
    FillAddress(staged, addr);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return nullptr;
    // The path appears only once the socket listens, for its owner alone: a
    // client that finds the file connects (a second start that came a moment
    // early is not turned away), and no one else ever finds it open. The
    // rename also replaces a socket file left by a crashed instance; the lock,
    // not this file, decides who runs, and only the lock's holder gets here.
    // Clients connect without waiting, so a short queue would turn away
    // requests that arrive while the UI thread is busy: take the longest the
    // system allows.
    ::unlink(staged.c_str());
    struct stat st {};
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 || ::chmod(staged.c_str(), 0600) != 0
        || ::listen(fd, SOMAXCONN) != 0 || ::rename(staged.c_str(), path.c_str()) != 0
        || ::stat(path.c_str(), &st) != 0) {
        ::unlink(staged.c_str());
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<ChannelListener>(new ChannelListener(fd, path, st.st_dev, st.st_ino));
}

ChannelListener::ChannelListener(int fd, std::string path, dev_t dev, ino_t ino)
    : m_fd(fd), m_path(std::move(path)), m_dev(dev), m_ino(ino)
{
}

ChannelListener::~ChannelListener()
{
    // Remove the path only while it is still our socket, and before the socket
    // stops listening: a client that finds the file is not refused.
    struct stat st {};
    if (::stat(m_path.c_str(), &st) == 0 && st.st_dev == m_dev && st.st_ino == m_ino)
        ::unlink(m_path.c_str());
    ::close(m_fd);
}

int ChannelListener::Accept()
{
    for (;;) {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return -1;
        }
        if (PeerHasUid(fd, ::geteuid()))
            return fd;
        ::close(fd); // another user: not a word to them
    }
}

ChannelSession::~ChannelSession() { ::close(m_fd); }

bool ChannelSession::OnReadable(const MessageHandler& onMessage, const TitleProvider& titles)
{
    char buf[512];
    bool open = true;
    // A few reads per wake-up at most, so a busy client cannot hold up the UI
    // thread; what is left wakes us again.
    for (int round = 0; round < 8; ++round) {
        const ssize_t n = ::recv(m_fd, buf, sizeof buf, 0);
        if (n > 0) {
            if (!m_reader.Feed(std::string_view(buf, static_cast<std::size_t>(n))))
                return false;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        open = n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
        break;
    }
    // Requests that arrived before the peer closed are still handled.
    while (auto line = m_reader.NextLine()) {
        m_lastRequest = Clock::now();
        const ChannelRequest request = ParseChannelRequest(*line);
        if (request.kind == ChannelRequest::Kind::Message) {
            if (onMessage)
                onMessage(request.message);
        } else if (request.kind == ChannelRequest::Kind::TitleQuery && open) {
            const std::string answer = EncodeTitleList(titles ? titles() : std::vector<std::string>{});
            // A client that does not read its answer is not waited for.
            if (::send(m_fd, answer.data(), answer.size(), MSG_NOSIGNAL | MSG_DONTWAIT)
                != static_cast<ssize_t>(answer.size()))
                return false;
        }
    }
    return open;
}

ChannelClient::~ChannelClient()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool ChannelClient::Connect(const std::string& path)
{
    sockaddr_un addr;
    if (m_fd >= 0 || !FillAddress(path, addr))
        return false;
    m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        return false;
    // A Unix socket connects at once or not at all (EAGAIN: backlog full).
    if (::connect(m_fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    return true;
}

bool ChannelClient::SendAll(const std::string& bytes, int timeoutMs)
{
    if (m_fd < 0)
        return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(m_fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p{m_fd, POLLOUT, 0};
            if (::poll(&p, 1, RemainingMs(deadline)) > 0)
                continue;
        }
        return false;
    }
    return true;
}

std::optional<std::vector<std::string>> ChannelClient::QueryTitles(int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    if (!SendAll("?\n", timeoutMs))
        return std::nullopt;
    std::string answer;
    for (;;) {
        bool complete = false;
        if (auto titles = DecodeTitleList(answer, complete))
            return titles;
        if (complete)
            return std::nullopt;
        pollfd p{m_fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, RemainingMs(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return std::nullopt;
        char buf[1024];
        const ssize_t n = ::recv(m_fd, buf, sizeof buf, 0);
        if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN))
            return std::nullopt;
        if (n > 0)
            answer.append(buf, static_cast<std::size_t>(n));
    }
}

bool ChannelClient::Post(unsigned message)
{
    // The line is tiny; it fits the socket buffer, so this does not wait.
    return SendAll(std::to_string(message) + "\n", 0);
}

} // namespace instance
