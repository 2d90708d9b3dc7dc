// One test that the Windows toolchain builds a Qt Widgets program with GoogleTest that runs under
// Wine: the offscreen platform chosen from the environment, typed keys reaching a line edit, the
// native style present.
#include <QApplication>
#include <QLineEdit>
#include <QStyle>
#include <QStyleFactory>
#include <QSysInfo>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#ifndef Q_OS_WIN
#error "this program is built for Windows only"
#endif

using ::testing::Contains;

TEST(WindowsToolchain, OffscreenQtProgramTakesTypedKeysUnderWine)
{
    // Runs on Windows (Wine), on the platform plugin the test's environment asked for.
    EXPECT_EQ(QSysInfo::kernelType().toStdString(), "winnt");
    ASSERT_EQ(QGuiApplication::platformName().toStdString(), "offscreen");

    QLineEdit edit;
    edit.show();
    edit.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&edit));

    QTest::keyClicks(&edit, QStringLiteral("Bildh"));
    // (keyClicks takes ASCII only; a key with its own text carries the umlaut)
    QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_Odiaeresis, QStringLiteral("ö"), Qt::NoModifier);
    QTest::keyClicks(&edit, QStringLiteral("he 480"));
    EXPECT_EQ(edit.text().toStdString(), "Bildhöhe 480");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClick(&edit, Qt::Key_Home);
    QTest::keyClick(&edit, Qt::Key_Delete);
    QTest::keyClick(&edit, 'A', Qt::ShiftModifier);
    EXPECT_EQ(edit.text().toStdString(), "Aildhöhe 48");

    // The native style plugin is found and loads.
    EXPECT_THAT(QStyleFactory::keys(), Contains(QStringLiteral("windowsvista")));
    const std::unique_ptr<QStyle> vista(QStyleFactory::create(QStringLiteral("windowsvista")));
    EXPECT_NE(vista, nullptr);
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleMock(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) // CTest's test discovery: no display, no application
        return RUN_ALL_TESTS();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
