// Messages posted to the native windows of Qt widgets on the Windows desktop:
// the filter takes its numbers for its window, from the application's loop and
// from a modal dialog's, and leaves everything else to the toolkit.
#include "instance/WindowMessageFilter.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

using Seen = std::pair<HWND, UINT>;

// Installed before the filter under test, so it sees only what that one passed on.
class Recorder final : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        const auto& msg = *static_cast<const MSG*>(message);
        if (eventType == "windows_generic_MSG" && msg.message >= 1124 && msg.message <= 1225)
            seen.emplace_back(msg.hwnd, msg.message);
        return false;
    }
    bool Saw(HWND w, UINT m) const { return std::find(seen.begin(), seen.end(), Seen(w, m)) != seen.end(); }
    std::vector<Seen> seen;
};

TEST(WindowMessageFilterTest, TakesItsNumbersForItsWindowOnlyAlsoDuringAModalDialog)
{
    QWidget main;
    main.setWindowTitle(QStringLiteral("Haupt"));
    main.show();
    QWidget other;
    other.setWindowTitle(QStringLiteral("Anderes"));
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    const auto mainWindow = reinterpret_cast<HWND>(main.winId());
    const auto otherWindow = reinterpret_cast<HWND>(other.winId());

    Recorder recorder;
    qApp->installNativeEventFilter(&recorder);
    std::vector<unsigned> handled;
    instance::WindowMessageFilter filter([&] { return static_cast<instance::WindowHandle>(main.internalWinId()); },
                                         {1124, 1224},
                                         [&](unsigned m) {
                                             handled.push_back(m);
                                             if (QWidget* modal = QApplication::activeModalWidget())
                                                 modal->close();
                                         });
    qApp->installNativeEventFilter(&filter);

    ::PostMessageW(otherWindow, 1224, 0, 0);
    ::PostMessageW(mainWindow, 1225, 0, 0);
    ::PostMessageW(mainWindow, 1224, 0, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !handled.empty() && recorder.Saw(mainWindow, 1225); }, 60000));
    EXPECT_EQ(handled, std::vector<unsigned>{1224});
    EXPECT_TRUE(recorder.Saw(otherWindow, 1224));
    EXPECT_FALSE(recorder.Saw(mainWindow, 1224));

    // Posted while the dialog's own loop runs; the handler closes the dialog.
    QDialog dialog(&main);
    QTimer::singleShot(0, &dialog, [&] { ::PostMessageW(mainWindow, 1124, 0, 0); });
    QTimer::singleShot(60000, &dialog, &QDialog::reject); // a lost message must not hang the test
    dialog.exec();
    EXPECT_EQ(handled, (std::vector<unsigned>{1224, 1124}));
    EXPECT_FALSE(recorder.Saw(mainWindow, 1124));

    qApp->removeNativeEventFilter(&filter);
    qApp->removeNativeEventFilter(&recorder);
}

} // namespace

int main(int argc, char** argv)
{
    // Real native windows: the desktop's own platform, whatever the test run chose.
    qunsetenv("QT_QPA_PLATFORM");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
