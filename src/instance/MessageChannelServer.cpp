#include "instance/MessageChannelServer.h"

#include "instance/InstanzLog.h"
#include "instance/Nachrichten.h"
#include "platform/RuntimeDirectory.h"

#include <QMetaObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>

Q_LOGGING_CATEGORY(lcInstanz, "zarnolith.instance", QtWarningMsg)

namespace instance {

std::string MessageChannelServer::StandardPfad()
{
    const auto dir = platform::UserRuntimeDirectory();
    return dir ? platform::ChannelSocketPath(*dir, kInstanzName) : std::string();
}

MessageChannelServer::MessageChannelServer(const std::string& path, Handler handler, TitleProvider titles,
                                           QObject* parent, std::chrono::milliseconds idleLimit)
    : QObject(parent), handler_(std::move(handler)), titles_(std::move(titles)), idleLimit_(idleLimit)
{
    if (!path.empty())
        listener_ = platform::ChannelListener::Listen(path);
    if (!listener_) {
        // Silently: the program runs on without outside requests.
        qCDebug(lcInstanz) << "message channel not available at" << path.c_str();
        return;
    }
    acceptNotifier_ = new QSocketNotifier(listener_->fd(), QSocketNotifier::Read, this);
    connect(acceptNotifier_, &QSocketNotifier::activated, this, &MessageChannelServer::AcceptPending);
    // Runs only while connections are open; a quarter of the limit keeps the
    // time a silent peer holds its place near the limit.
    idleTimer_ = new QTimer(this);
    idleTimer_->setInterval(std::max<std::chrono::milliseconds>(idleLimit_ / 4, std::chrono::milliseconds(10)));
    connect(idleTimer_, &QTimer::timeout, this, &MessageChannelServer::EndIdleSessions);
    qCDebug(lcInstanz) << "listening at" << path.c_str();
}

MessageChannelServer::~MessageChannelServer()
{
    for (auto& [fd, s] : sessions_)
        delete s.notifier;
    sessions_.clear();
    delete acceptNotifier_;
}

void MessageChannelServer::AcceptPending()
{
    int fd;
    while ((fd = listener_->Accept()) >= 0) {
        if (sessions_.size() >= kMaxSessions)
            EndLongestIdleSession();
        Session s;
        s.session = std::make_unique<platform::ChannelSession>(fd);
        s.notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(s.notifier, &QSocketNotifier::activated, this, [this, fd] { ReadSession(fd); });
        sessions_.emplace(fd, std::move(s));
    }
    if (!sessions_.empty() && !idleTimer_->isActive())
        idleTimer_->start();
}

void MessageChannelServer::ReadSession(int fd)
{
    auto it = sessions_.find(fd);
    if (it == sessions_.end())
        return;
    const auto post = [this](unsigned message) {
        qCDebug(lcInstanz) << "message" << message;
        // Queued like a posted window message: it runs after the current
        // event, never inside this read.
        QMetaObject::invokeMethod(
            this, [this, message] {
                if (handler_)
                    handler_(message);
            },
            Qt::QueuedConnection);
    };
    if (!it->second.session->OnReadable(post, titles_))
        EndSession(fd);
}

void MessageChannelServer::EndSession(int fd)
{
    auto it = sessions_.find(fd);
    if (it == sessions_.end())
        return;
    it->second.notifier->setEnabled(false);
    it->second.notifier->deleteLater(); // we may be inside its activated signal
    sessions_.erase(it);                // closes the connection
    if (sessions_.empty())
        idleTimer_->stop();
}

bool MessageChannelServer::StillIdleSince(int fd, platform::ChannelSession::Clock::time_point cutoff)
{
    // What has arrived but is not read yet counts: the event loop may hand us
    // the timer before the socket's notification.
    ReadSession(fd);
    const auto it = sessions_.find(fd);
    return it != sessions_.end() && it->second.session->LastRequest() <= cutoff;
}

void MessageChannelServer::EndIdleSessions()
{
    const auto cutoff = platform::ChannelSession::Clock::now() - idleLimit_;
    std::vector<int> candidates;
    for (const auto& [fd, s] : sessions_)
        if (s.session->LastRequest() <= cutoff)
            candidates.push_back(fd);
    for (int fd : candidates)
        if (StillIdleSince(fd, cutoff)) {
            qCDebug(lcInstanz) << "closing a connection without a request";
            EndSession(fd);
        }
}

void MessageChannelServer::EndLongestIdleSession()
{
    // The newcomer, most likely a request about to arrive, takes the place of
    // the connection that has waited longest for one.
    for (std::size_t tries = 0; sessions_.size() >= kMaxSessions; ++tries) {
        const auto oldest = std::min_element(sessions_.begin(), sessions_.end(), [](const auto& a, const auto& b) {
            return a.second.session->LastRequest() < b.second.session->LastRequest();
        });
        const int fd = oldest->first;
        // A peer that sends requests without pause is no reason to refuse the newcomer.
        if (tries >= kMaxSessions || StillIdleSince(fd, oldest->second.session->LastRequest())) {
            qCDebug(lcInstanz) << "all connections taken, closing the longest idle one";
            EndSession(fd);
        }
    }
}

} // namespace instance
