#include "app/AtSpiDevicePixels.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

Q_LOGGING_CATEGORY(lcAtSpi, "zarnolith.atspi", QtWarningMsg)

// Where Qt's bridge keeps its objects: its connection to the accessibility
// bus, and the object paths under which it answers.
const QString kConnection = QStringLiteral("a11y");
const QString kAccessiblePath = QStringLiteral("/org/a11y/atspi/accessible");
const QString kRootPath = QStringLiteral("/org/a11y/atspi/accessible/root");
const QString kNullPath = QStringLiteral("/org/a11y/atspi/null");
const QString kComponent = QStringLiteral("org.a11y.atspi.Component");
const QString kText = QStringLiteral("org.a11y.atspi.Text");

// AT-SPI's coordinate types.
enum CoordType : uint { Screen = 0, Window = 1, Parent = 2 };

// The (iiii) of Component.GetExtents.
struct Extents {
    int x = 0, y = 0, width = 0, height = 0;
};
QDBusArgument& operator<<(QDBusArgument& a, const Extents& e)
{
    a.beginStructure();
    a << e.x << e.y << e.width << e.height;
    a.endStructure();
    return a;
}
const QDBusArgument& operator>>(const QDBusArgument& a, Extents& e)
{
    a.beginStructure();
    a >> e.x >> e.y >> e.width >> e.height;
    a.endStructure();
    return a;
}

// The (so) that names an object: the bus name of its program and its path.
struct ObjectReference {
    QString service;
    QDBusObjectPath path;
};
QDBusArgument& operator<<(QDBusArgument& a, const ObjectReference& r)
{
    a.beginStructure();
    a << r.service << r.path;
    a.endStructure();
    return a;
}
const QDBusArgument& operator>>(const QDBusArgument& a, ObjectReference& r)
{
    a.beginStructure();
    a >> r.service >> r.path;
    a.endStructure();
    return a;
}

const QScreen* ScreenOf(QAccessibleInterface* iface, const QRect& logical)
{
    if (const QWindow* w = iface->window(); w && w->screen())
        return w->screen();
    if (const QScreen* s = QGuiApplication::screenAt(logical.center()))
        return s;
    return QGuiApplication::primaryScreen();
}

// The object whose top-left corner window coordinates count from: the
// top-level window (main window or dialog) the object is part of.
QAccessibleInterface* TopLevelOf(QAccessibleInterface* iface)
{
    for (QAccessibleInterface* i = iface; i && i->role() != QAccessible::Application; i = i->parent())
        if (const auto* w = qobject_cast<const QWidget*>(i->object()); w && w->isWindow())
            return i;
    return nullptr;
}

// Where the object is drawn. A window is placed on the screen by Qt's rule; a
// part of it is drawn at its scaled distance from the window's corner (at a
// fractional scale that can be a pixel off from scaling its position on the
// screen as a whole).
QRect DeviceRect(QAccessibleInterface* iface)
{
    const QRect logical = iface->rect();
    const QScreen* screen = ScreenOf(iface, logical);
    QAccessibleInterface* top = TopLevelOf(iface);
    if (!top || top == iface || !screen)
        return ToDevicePixels(logical, screen);
    const QRect window = top->rect();
    const qreal factor = screen->devicePixelRatio();
    return {ToDevicePixels(window, screen).topLeft() + (logical.topLeft() - window.topLeft()) * factor,
            logical.size() * factor};
}

// The top-left corner, in device pixels of the screen, that coordinates of the type count from.
QPoint OriginOf(QAccessibleInterface* iface, uint coordType)
{
    QAccessibleInterface* reference = nullptr;
    if (coordType == Window)
        reference = TopLevelOf(iface);
    else if (coordType == Parent)
        reference = iface->parent();
    if (!reference || reference->role() == QAccessible::Application)
        return {};
    return DeviceRect(reference).topLeft();
}

QAccessibleInterface* InterfaceAt(const QString& path)
{
    if (path == kRootPath)
        return QAccessible::queryAccessibleInterface(qApp);
    if (!path.startsWith(kAccessiblePath + QLatin1Char('/')))
        return nullptr;
    bool ok = false;
    const QAccessible::Id id = path.mid(kAccessiblePath.size() + 1).toUInt(&ok);
    return ok ? QAccessible::accessibleInterface(id) : nullptr;
}

QString PathOf(QAccessibleInterface* iface)
{
    if (!iface || !iface->isValid())
        return kNullPath;
    if (iface->role() == QAccessible::Application)
        return kRootPath;
    return kAccessiblePath + QLatin1Char('/') + QString::number(QAccessible::uniqueId(iface));
}

void Reply(const QDBusConnection& connection, const QDBusMessage& message, const QVariantList& values)
{
    connection.send(message.createReply(values));
}

QVariantList Four(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

// The character at the offset, in Qt's own pixels. Qt has none after the last
// character, which is where the caret stands after typing and what a
// magnifier following the caret asks for: there the caret itself is drawn.
QRect CharacterRect(QAccessibleInterface* iface, QAccessibleTextInterface* text, int offset)
{
    const QRect r = text->characterRect(offset);
    const auto* widget = qobject_cast<const QWidget*>(iface->object());
    if (!r.isEmpty() || !widget || offset != text->cursorPosition())
        return r;
    const QRect caret = widget->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    return caret.isEmpty() ? r : QRect(widget->mapToGlobal(caret.topLeft()), caret.size());
}

// Answers the position questions itself; false leaves the message to Qt's bridge.
bool Answer(const QDBusMessage& message, const QDBusConnection& connection)
{
    const QString interface = message.interface();
    if (interface != kComponent && interface != kText)
        return false;
    QAccessibleInterface* iface = InterfaceAt(message.path());
    if (!iface || !iface->isValid())
        return false; // Qt's bridge tells what it tells about an object that is gone
    const QString member = message.member();
    const QVariantList args = message.arguments();
    // A point a client gives, in device pixels of the screen.
    const auto pointOnScreen
        = [&] { return QPoint(args.at(0).toInt(), args.at(1).toInt()) + OriginOf(iface, args.at(2).toUInt()); };

    if (interface == kComponent) {
        if (member == QLatin1String("GetExtents") && args.size() == 1) {
            const QRect r = DeviceRect(iface).translated(-OriginOf(iface, args.at(0).toUInt()));
            Reply(connection, message, {QVariant::fromValue(Extents{r.x(), r.y(), r.width(), r.height()})});
        } else if (member == QLatin1String("GetPosition") && args.size() == 1) {
            const QPoint p = DeviceRect(iface).topLeft() - OriginOf(iface, args.at(0).toUInt());
            Reply(connection, message, {p.x(), p.y()});
        } else if (member == QLatin1String("GetSize") && args.isEmpty()) {
            const QRect r = DeviceRect(iface);
            Reply(connection, message, {r.width(), r.height()});
        } else if (member == QLatin1String("Contains") && args.size() == 3) {
            Reply(connection, message, {DeviceRect(iface).contains(pointOnScreen())});
        } else if (member == QLatin1String("GetAccessibleAtPoint") && args.size() == 3) {
            // The innermost object there, as Qt's bridge finds it, in Qt's own pixels.
            const QPoint p = FromDevicePixels(pointOnScreen());
            QAccessibleInterface* found = nullptr;
            for (QAccessibleInterface* child = iface->childAt(p.x(), p.y()); child;
                 child = child->childAt(p.x(), p.y()))
                found = child;
            Reply(connection, message,
                  {QVariant::fromValue(ObjectReference{connection.baseService(), QDBusObjectPath(PathOf(found))})});
        } else {
            return false;
        }
        return true;
    }

    QAccessibleTextInterface* text = iface->textInterface();
    if (!text)
        return false;
    // Characters are drawn at their scaled distance from the field's corner.
    const QRect field = iface->rect();
    const QRect fieldDrawn = DeviceRect(iface);
    const QScreen* screen = ScreenOf(iface, field);
    const qreal factor = screen ? screen->devicePixelRatio() : 1.0;
    const auto drawn = [&](const QRect& logical) {
        return QRect(fieldDrawn.topLeft() + (logical.topLeft() - field.topLeft()) * factor, logical.size() * factor);
    };
    if (member == QLatin1String("GetCharacterExtents") && args.size() == 2) {
        const QRect logical = CharacterRect(iface, text, args.at(0).toInt());
        if (logical.isNull())
            Reply(connection, message, Four(logical));
        else
            Reply(connection, message, Four(drawn(logical).translated(-OriginOf(iface, args.at(1).toUInt()))));
    } else if (member == QLatin1String("GetRangeExtents") && args.size() == 3) {
        const int start = args.at(0).toInt();
        int end = args.at(1).toInt();
        if (end == -1)
            end = text->characterCount();
        QRect logical;
        for (int i = start; i < end; ++i)
            logical |= text->characterRect(i);
        if (logical.isNull()) {
            Reply(connection, message, {-1, -1, 0, 0});
        } else {
            Reply(connection, message, Four(drawn(logical).translated(-OriginOf(iface, args.at(2).toUInt()))));
        }
    } else if (member == QLatin1String("GetOffsetAtPoint") && args.size() == 3) {
        Reply(connection, message, {text->offsetAtPoint(FromDevicePixels(pointOnScreen()))});
    } else {
        return false;
    }
    return true;
}

// Stands in Qt's bridge's place on the bus and hands it every message it does not answer itself.
class DevicePixelAnswers final : public QDBusVirtualObject {
public:
    explicit DevicePixelAnswers(QDBusVirtualObject* qtBridge) : QDBusVirtualObject(qtBridge), m_qt(qtBridge) {}

    QString introspect(const QString& path) const override { return m_qt ? m_qt->introspect(path) : QString(); }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (Answer(message, connection))
            return true;
        return m_qt && m_qt->handleMessage(message, connection);
    }

private:
    QPointer<QDBusVirtualObject> m_qt;
};

QPointer<DevicePixelAnswers> g_answers;

void TakeOverPositionQuestions()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return; // elsewhere windows have no position on a shared screen to compare with
    QDBusConnection bus(kConnection);
    if (!bus.isConnected())
        return;
    QObject* registered = bus.objectRegisteredAt(kAccessiblePath);
    auto* qtBridge = qobject_cast<QDBusVirtualObject*>(registered);
    if (!qtBridge || registered == g_answers.data())
        return;
    static const bool typesRegistered = [] {
        qDBusRegisterMetaType<Extents>();
        qDBusRegisterMetaType<ObjectReference>();
        return true;
    }();
    Q_UNUSED(typesRegistered);
    auto* answers = new DevicePixelAnswers(qtBridge);
    bus.unregisterObject(kAccessiblePath, QDBusConnection::UnregisterTree);
    if (bus.registerVirtualObject(kAccessiblePath, answers, QDBusConnection::SubPath)) {
        g_answers = answers;
        qCDebug(lcAtSpi) << "answering position questions in device pixels";
    } else {
        delete answers;
        bus.registerVirtualObject(kAccessiblePath, qtBridge, QDBusConnection::SubPath);
        qCWarning(lcAtSpi) << "could not take over the position questions on the accessibility bus";
    }
}

// Qt's bridge registers its objects when it becomes active, right after telling
// its observers: take over once that is done.
class BridgeWatch final : public QAccessible::ActivationObserver {
public:
    void accessibilityActiveChanged(bool active) override
    {
        if (active)
            QTimer::singleShot(0, qApp, &TakeOverPositionQuestions);
    }
};

} // namespace

QRect ToDevicePixels(const QRect& logical, const QScreen* screen)
{
    if (!screen)
        return logical;
    const qreal factor = screen->devicePixelRatio();
    if (factor == 1.0)
        return logical;
    const QPoint origin = screen->geometry().topLeft();
    return QRect((logical.topLeft() - origin) * factor + origin, logical.size() * factor);
}

QPoint FromDevicePixels(const QPoint& device)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (const QScreen* s : screens) {
        const QPoint origin = s->geometry().topLeft();
        const qreal factor = s->devicePixelRatio();
        if (QRect(origin, s->geometry().size() * factor).contains(device))
            return (device - origin) / factor + origin;
    }
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return device;
    const QPoint origin = primary->geometry().topLeft();
    return (device - origin) / primary->devicePixelRatio() + origin;
}

void InstallAtSpiDevicePixels()
{
    static BridgeWatch watch;
    static const bool installed = [] {
        QAccessible::installActivationObserver(&watch);
        if (QAccessible::isActive())
            QTimer::singleShot(0, qApp, &TakeOverPositionQuestions);
        return true;
    }();
    Q_UNUSED(installed);
}
