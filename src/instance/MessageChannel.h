#pragma once
// The main window's message channel over a Unix-domain socket (format in
// ChannelProtocol.h). Plain POSIX: the client runs in the second start, which
// must not load the GUI toolkit; the server pieces are driven by the GUI's
// event loop (instance/MessageChannelServer) or by a plain poll loop.
#include "instance/ChannelProtocol.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace instance {

// Whether the process at the other end of a connected Unix socket runs as uid
// (SO_PEERCRED). false when the credentials cannot be read.
bool PeerHasUid(int socketFd, uid_t uid);

// The listening end. Only the process holding the instance lock creates it,
// so it may remove whatever a crashed instance left at the path.
class ChannelListener {
public:
    // nullptr when the socket cannot be created (the program runs on without it).
    static std::unique_ptr<ChannelListener> Listen(const std::string& path);
    ~ChannelListener();
    ChannelListener(const ChannelListener&) = delete;
    ChannelListener& operator=(const ChannelListener&) = delete;

    int fd() const { return m_fd; }
    const std::string& path() const { return m_path; }
    // The next waiting connection (non-blocking, close-on-exec), or -1 when
    // there is none or its peer is another user (that one is closed at once).
    int Accept();

private:
    ChannelListener(int fd, std::string path, dev_t dev, ino_t ino);
    int m_fd;
    std::string m_path;
    dev_t m_dev;
    ino_t m_ino;
};

// One accepted connection on the server side.
class ChannelSession {
public:
    using MessageHandler = std::function<void(unsigned message)>;
    using TitleProvider = std::function<std::vector<std::string>()>;

    using Clock = std::chrono::steady_clock;

    explicit ChannelSession(int fd) : m_fd(fd), m_lastRequest(Clock::now()) {}
    ~ChannelSession();
    ChannelSession(const ChannelSession&) = delete;
    ChannelSession& operator=(const ChannelSession&) = delete;

    int fd() const { return m_fd; }
    // Reads what has arrived and handles its complete requests. false when
    // the connection is finished (peer closed, broke the format, or failed).
    bool OnReadable(const MessageHandler& onMessage, const TitleProvider& titles);
    // When the last complete request arrived (the connection's start before the
    // first): a peer that sends nothing, or a byte now and then, shows here.
    Clock::time_point LastRequest() const { return m_lastRequest; }

private:
    int m_fd;
    Clock::time_point m_lastRequest;
    LineReader m_reader{kMaxRequestLine};
};

// The client end, used by the second start and by outside programs.
class ChannelClient {
public:
    ChannelClient() = default;
    ~ChannelClient();
    ChannelClient(const ChannelClient&) = delete;
    ChannelClient& operator=(const ChannelClient&) = delete;

    // false when nobody listens at the path.
    bool Connect(const std::string& path);
    // The running instance's window titles; nothing on time-out or a bad answer.
    std::optional<std::vector<std::string>> QueryTitles(int timeoutMs);
    // Sends the message number without waiting for it to be handled.
    bool Post(unsigned message);

private:
    bool SendAll(const std::string& bytes, int timeoutMs);
    int m_fd = -1;
};

} // namespace instance
