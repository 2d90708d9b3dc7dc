#include "instance/MessageChannelServer.h"

#include "instance/InstanzLog.h"
#include "instance/Nachrichten.h"
#include "platform/RuntimeDirectory.h"

#include <QMetaObject>
#include <QPointer>
#include <QSocketNotifier>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcInstanz, "zarnolith.instance", QtWarningMsg)

namespace instance {

std::string MessageChannelServer::StandardPfad()
{
    const auto dir = platform::UserRuntimeDirectory();
    return dir ? platform::ChannelSocketPath(*dir, kInstanzName) : std::string();
}

MessageChannelServer::MessageChannelServer(const std::string& path, Handler handler, TitleProvider titles,
                                           QObject* parent)
    : QObject(parent), handler_(std::move(handler)), titles_(std::move(titles))
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
        if (sessions_.size() >= kMaxSessions) {
            ::close(fd); // a client that floods us with idle connections gets no more
            continue;
        }
        Session s;
        s.session = std::make_unique<platform::ChannelSession>(fd);
        s.notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(s.notifier, &QSocketNotifier::activated, this, [this, fd] { ReadSession(fd); });
        sessions_.emplace(fd, std::move(s));
    }
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
}

} // namespace instance
