#pragma once
// The running instance's end of the main window's message channel, driven by
// the GUI event loop (socket notifiers are dispatched by modal dialogs' loops
// too). Each message is queued like a posted window message and handled on
// the UI thread after the current event; title queries are answered at once.
#include "instance/MessageChannel.h"

#include <QObject>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;
class QTimer;

namespace instance {

class MessageChannelServer : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(unsigned message)>;
    using TitleProvider = std::function<std::vector<std::string>()>;

    // The path in the user's runtime directory; empty when there is none.
    static std::string DefaultPath();

    // How long a connection may go without a complete request line before it
    // is closed: our clients send theirs at once, so only a stuck or hostile
    // peer ever reaches it.
    static constexpr std::chrono::milliseconds kIdleLimit{2000};
    // At most this many connections at once; a new one takes the place of the
    // one that has waited longest for a request.
    static constexpr std::size_t kMaxSessions = 32;

    // Listens at path; when that fails the program runs on without the channel.
    MessageChannelServer(const std::string& path, Handler handler, TitleProvider titles, QObject* parent = nullptr,
                         std::chrono::milliseconds idleLimit = kIdleLimit);
    ~MessageChannelServer() override;

    bool isListening() const { return m_listener != nullptr; }

private:
    struct Session {
        std::unique_ptr<instance::ChannelSession> session;
        QSocketNotifier* notifier = nullptr;
    };

    void AcceptPending();
    void ReadSession(int fd);
    void EndSession(int fd);
    bool StillIdleSince(int fd, instance::ChannelSession::Clock::time_point cutoff);
    void EndIdleSessions();
    void EndLongestIdleSession();

    Handler m_handler;
    TitleProvider m_titles;
    std::unique_ptr<instance::ChannelListener> m_listener;
    QSocketNotifier* m_acceptNotifier = nullptr;
    std::chrono::milliseconds m_idleLimit;
    QTimer* m_idleTimer = nullptr;
    std::map<int, Session> m_sessions;
};

} // namespace instance
