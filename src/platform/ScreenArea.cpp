#include "platform/ScreenArea.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {
namespace {

ScreenRect fromQRect(const QRect& r) { return {r.left(), r.top(), r.width(), r.height()}; }

class QtScreenArea final : public IScreenArea {
public:
    ScreenRect WorkArea() const override
    {
        const QScreen* s = QGuiApplication::primaryScreen();
        return s ? fromQRect(s->availableGeometry()) : ScreenRect{};
    }

    ScreenRect PrimaryScreen() const override
    {
        const QScreen* s = QGuiApplication::primaryScreen();
        return s ? fromQRect(s->geometry()) : ScreenRect{};
    }
};

} // namespace

const IScreenArea& SystemScreenArea()
{
    static const QtScreenArea screenArea;
    return screenArea;
}

} // namespace platform
