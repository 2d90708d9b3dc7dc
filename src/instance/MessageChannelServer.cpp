#include "instance/MessageChannelServer.h"

#include "instance/InstanceLog.h"
#include "instance/Messages.h"
#include "instance/RuntimeDirectory.h"

#include <QMetaObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>

namespace instance {

std::string MessageChannelServer::DefaultPath()
{
    const auto dir = instance::UserRuntimeDirectory();
    return dir ? instance::ChannelSocketPath(*dir, kInstanceName) : std::string();
}

MessageChannelServer::MessageChannelServer(const std::string& path, Handler handler, TitleProvider titles,
                                           QObject* parent, std::chrono::milliseconds idleLimit)
    : QObject(parent), m_handler(std::move(handler)), m_titles(std::move(titles)), m_idleLimit(idleLimit)
{
    if (!path.empty())
        m_listener = instance::ChannelListener::Listen(path);
    if (!m_listener) {
        // Silently: the program runs on without outside requests.
        qCDebug(lcInstance) << "message channel not available at" << path.c_str();
        return;
    }
    m_acceptNotifier = new QSocketNotifier(m_listener->fd(), QSocketNotifier::Read, this);
    connect(m_acceptNotifier, &QSocketNotifier::activated, this, &MessageChannelServer::AcceptPending);
    // Runs only while connections are open; a quarter of the limit keeps the
    // time a silent peer holds its place near the limit.
    m_idleTimer = new QTimer(this);
    m_idleTimer->setInterval(std::max<std::chrono::milliseconds>(m_idleLimit / 4, std::chrono::milliseconds(10)));
    connect(m_idleTimer, &QTimer::timeout, this, &MessageChannelServer::EndIdleSessions);
    qCDebug(lcInstance) << "listening at" << path.c_str();
}

MessageChannelServer::~MessageChannelServer()
{
    for (auto& [fd, s] : m_sessions)
        delete s.notifier;
    m_sessions.clear();
    delete m_acceptNotifier;
}

void MessageChannelServer::AcceptPending()
{
    int fd;
    while ((fd = m_listener->Accept()) >= 0) {
        if (m_sessions.size() >= kMaxSessions)
            EndLongestIdleSession();
        Session s;
        s.session = std::make_unique<instance::ChannelSession>(fd);
        s.notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(s.notifier, &QSocketNotifier::activated, this, [this, fd] { ReadSession(fd); });
        m_sessions.emplace(fd, std::move(s));
    }
    if (!m_sessions.empty() && !m_idleTimer->isActive())
        m_idleTimer->start();
}

void MessageChannelServer::ReadSession(int fd)
{
    auto it = m_sessions.find(fd);
    if (it == m_sessions.end())
        return;
    const auto post = [this](unsigned message) {
        qCDebug(lcInstance) << "message" << message;
        // Queued like a posted window message: it runs after the current
        // event, never inside this read.
        QMetaObject::invokeMethod(
            this,
            [this, message] {
                if (m_handler)
                    m_handler(message);
            },
            Qt::QueuedConnection);
    };
    if (!it->second.session->OnReadable(post, m_titles))
        EndSession(fd);
}

void MessageChannelServer::EndSession(int fd)
{
    auto it = m_sessions.find(fd);
    if (it == m_sessions.end())
        return;
    it->second.notifier->setEnabled(false);
    it->second.notifier->deleteLater(); // we may be inside its activated signal
    m_sessions.erase(it);               // closes the connection
    if (m_sessions.empty())
        m_idleTimer->stop();
}

bool MessageChannelServer::StillIdleSince(int fd, instance::ChannelSession::Clock::time_point cutoff)
{
    // What has arrived but is not read yet counts: the event loop may hand us
    // the timer before the socket's notification.
    ReadSession(fd);
    const auto it = m_sessions.find(fd);
    return it != m_sessions.end() && it->second.session->LastRequest() <= cutoff;
}

void MessageChannelServer::EndIdleSessions()
{
    const auto cutoff = instance::ChannelSession::Clock::now() - m_idleLimit;
    std::vector<int> candidates;
    for (const auto& [fd, s] : m_sessions)
        if (s.session->LastRequest() <= cutoff)
            candidates.push_back(fd);
    for (int fd : candidates)
        if (StillIdleSince(fd, cutoff)) {
            qCDebug(lcInstance) << "closing a connection without a request";
            EndSession(fd);
        }
}

void MessageChannelServer::EndLongestIdleSession()
{
    // The newcomer, most likely a request about to arrive, takes the place of
    // the connection that has waited longest for one.
    for (std::size_t tries = 0; m_sessions.size() >= kMaxSessions; ++tries) {
        const auto oldest = std::min_element(m_sessions.begin(), m_sessions.end(), [](const auto& a, const auto& b) {
            return a.second.session->LastRequest() < b.second.session->LastRequest();
        });
        const int fd = oldest->first;
        // A peer that sends requests without pause is no reason to refuse the newcomer.
        if (tries >= kMaxSessions || StillIdleSince(fd, oldest->second.session->LastRequest())) {
            qCDebug(lcInstance) << "all connections taken, closing the longest idle one";
            EndSession(fd);
        }
    }
}

} // namespace instance
