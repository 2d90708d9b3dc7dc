#pragma once
// This test process as a screen reader or magnifier meets it on the
// accessibility bus: a connection of its own to the bus, questions to the
// program's objects (answered by the program's own event loop while the test
// waits), and the events it receives once it has told the registry which ones
// it listens to.
#include <QAccessible>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QObject>
#include <QRect>
#include <QTest>

#include <vector>

namespace atspitest {

struct Event {
    QString path;      // the object that sent it
    QString interface; // org.a11y.atspi.Event.Object, ...Focus
    QString member;    // TextCaretMoved, StateChanged, ...
    QString detail;    // "focused" for a change of that state
    int value = 0;     // for StateChanged: 1 set, 0 cleared
};

class Client : public QObject {
    Q_OBJECT
public:
    Client()
    {
        const QDBusReply<QString> address = QDBusConnection::sessionBus().call(
            QDBusMessage::createMethodCall("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress"));
        if (address.isValid())
            m_bus = std::make_unique<QDBusConnection>(
                QDBusConnection::connectToBus(address.value(), QStringLiteral("zarnolith-test-client")));
    }
    ~Client() override { QDBusConnection::disconnectFromBus(QStringLiteral("zarnolith-test-client")); }

    bool ok() const { return m_bus && m_bus->isConnected() && !program().isEmpty(); }

    // The program's bus name: the connection of Qt's bridge in this process.
    static QString program() { return QDBusConnection(QStringLiteral("a11y")).baseService(); }

    static QString pathOf(QObject* object)
    {
        return QStringLiteral("/org/a11y/atspi/accessible/")
            + QString::number(QAccessible::uniqueId(QAccessible::queryAccessibleInterface(object)));
    }

    // A question to the program; its answer, or an error reply after 10 s.
    QDBusMessage ask(QObject* object, const QString& interface, const QString& method, const QVariantList& args = {})
    {
        QDBusMessage call = QDBusMessage::createMethodCall(program(), pathOf(object), interface, method);
        call.setArguments(args);
        QDBusPendingCall pending = m_bus->asyncCall(call, 10000);
        (void)QTest::qWaitFor([&] { return pending.isFinished(); }, 12000);
        return pending.reply();
    }

    // Component.GetExtents, coordinates of the screen (0) or of the window (1).
    QRect extents(QObject* object, uint coordType = 0)
    {
        const QDBusMessage reply = ask(object, "org.a11y.atspi.Component", "GetExtents", {coordType});
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
            return {};
        int x = 0, y = 0, w = 0, h = 0;
        const QDBusArgument a = reply.arguments().at(0).value<QDBusArgument>();
        a.beginStructure();
        a >> x >> y >> w >> h;
        a.endStructure();
        return {x, y, w, h};
    }

    // Text.GetCharacterExtents in screen coordinates: where a magnifier puts the caret.
    QRect characterExtents(QObject* object, int offset)
    {
        const QDBusMessage reply = ask(object, "org.a11y.atspi.Text", "GetCharacterExtents", {offset, 0u});
        const QVariantList v = reply.arguments();
        if (reply.type() != QDBusMessage::ReplyMessage || v.size() != 4)
            return {};
        return {v.at(0).toInt(), v.at(1).toInt(), v.at(2).toInt(), v.at(3).toInt()};
    }

    // Tells the registry this client listens to all object and focus events, and
    // waits until the program sends them: `probe` makes one, from `from`.
    bool listen(QObject* from, const std::function<void()>& probe)
    {
        for (const char* interface : {"org.a11y.atspi.Event.Object", "org.a11y.atspi.Event.Focus"})
            m_bus->connect(QString(), QString(), QString::fromLatin1(interface), QString(), this,
                           SLOT(received(QDBusMessage)));
        for (const char* event : {"Object:", "Focus:"}) {
            const QDBusMessage r
                = m_bus->call(QDBusMessage::createMethodCall("org.a11y.atspi.Registry", "/org/a11y/atspi/registry",
                                                             "org.a11y.atspi.Registry", "RegisterEvent")
                              << QString::fromLatin1(event) << QStringList() << QString());
            if (r.type() != QDBusMessage::ReplyMessage)
                return false;
        }
        const QString path = pathOf(from);
        return QTest::qWaitFor(
            [&] {
                probe();
                return QTest::qWaitFor([&] { return !from_(path).empty(); }, 200);
            },
            10000);
    }

    // Every event received since the last clear, after `marker` has made one
    // from `from` and it has arrived (the bus keeps one sender's order).
    std::vector<Event> settle(QObject* from, const std::function<void()>& marker)
    {
        const QString path = pathOf(from);
        const std::size_t before = from_(path).size();
        marker();
        (void)QTest::qWaitFor([&] { return from_(path).size() > before; }, 10000);
        return m_events;
    }

    void clear() { m_events.clear(); }
    const std::vector<Event>& events() const { return m_events; }

    std::vector<Event> from_(const QString& path) const
    {
        std::vector<Event> found;
        for (const Event& e : m_events)
            if (e.path == path)
                found.push_back(e);
        return found;
    }

private slots:
    void received(const QDBusMessage& m)
    {
        if (m.service() != program())
            return;
        Event e{m.path(), m.interface(), m.member(), {}, 0};
        const QVariantList args = m.arguments();
        if (args.size() >= 2) {
            e.detail = args.at(0).toString();
            e.value = args.at(1).toInt();
        }
        m_events.push_back(e);
    }

private:
    std::unique_ptr<QDBusConnection> m_bus;
    std::vector<Event> m_events;
};

} // namespace atspitest
