// The real program started over a settings path that holds something other
// than a settings file, or under a file-size limit that stops every save:
// it must come up as always (main window, then the start-values dialog by
// itself) within a time limit, and leave what it found as it what.
#include "instance/Messages.h"
#include "instance/MessageChannel.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

struct StartCase {
    const char* what;
    std::function<void(const fs::path&)> create;
    std::function<bool(const fs::path&)> untouched;
    const char* shellBefore = nullptr; // run by bash before the program, e.g. a ulimit
};

std::string withLongValue()
{
    // Readable, but without the program's key: opening it must write more than 1 KiB.
    return "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Andere]\r\n\"Lang\"=\""
        + std::string(3000, '-') + "\"\r\n";
}

class SettingsFileStart : public ::testing::TestWithParam<StartCase> {
protected:
    void SetUp() override
    {
        const QByteArray binDir = qgetenv("ZARNOLITH_BIN_DIR");
        ASSERT_FALSE(binDir.isEmpty()) << "ZARNOLITH_BIN_DIR must name the directory of the built program";
        program = QString::fromLocal8Bit(binDir) + "/zarnolith";
        ASSERT_TRUE(QFile::exists(program));
        ASSERT_TRUE(runtimeDir.isValid() && configDir.isValid());
        ASSERT_EQ(::chmod(runtimeDir.path().toLocal8Bit().constData(), 0700), 0);
        settingsFile = fs::path(configDir.path().toStdString()) / "Zarnolith" / "Zarnolith.reg";
        fs::create_directories(settingsFile.parent_path());
    }
    void TearDown() override
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

    bool send(unsigned message) const
    {
        instance::ChannelClient client;
        return client.Connect(instance::ChannelSocketPath(runtimeDir.path().toStdString(), instance::kInstanceName))
            && client.Post(message);
    }

    // True once a request to come forward brings the start-values dialog
    // forward too, which the instance's trace names.
    bool startValuesDialogOpen(int waitMs)
    {
        const QByteArray dialog = "forward: \"Neue Startwerte f\xC3\xBCr Bildbreite und -h\xC3\xB6he\"";
        return QTest::qWaitFor(
                   [&] {
                       send(instance::WM_AKTIVIEREN);
                       QTest::qWait(50);
                       log += process.readAllStandardError();
                       return log.contains(dialog) || process.state() == QProcess::NotRunning;
                   },
                   waitMs)
            && log.contains(dialog);
    }

    QString program;
    QTemporaryDir runtimeDir, configDir;
    fs::path settingsFile;
    QProcess process;
    QByteArray log;
};

TEST_P(SettingsFileStart, ProgramStartsAsUsualAndLeavesTheThingAlone)
{
    GetParam().create(settingsFile);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtimeDir.path());
    env.insert("XDG_CONFIG_HOME", configDir.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QT_LOGGING_RULES", "zarnolith.instance.debug=true");
    process.setProcessEnvironment(env);
    if (GetParam().shellBefore)
        process.start("bash", {"-c", QString::fromLatin1(GetParam().shellBefore) + " && exec \"$0\"", program});
    else
        process.start(program, {});
    ASSERT_TRUE(process.waitForStarted(5000));

    // The time limit on the start: a program that hangs or what killed never gets here.
    EXPECT_TRUE(startValuesDialogOpen(30000))
        << "state " << process.state() << ", exit " << process.exitCode() << " / " << process.exitStatus() << "\n"
        << log.toStdString();
    ASSERT_TRUE(send(instance::WM_BEENDEN));
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(GetParam().untouched(settingsFile));
    for (const fs::directory_entry& e : fs::directory_iterator(settingsFile.parent_path()))
        EXPECT_EQ(e.path().filename(), "Zarnolith.reg") << "nothing else was left or set aside";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SettingsFileStart,
    ::testing::Values(
        StartCase{"fifo", [](const fs::path& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); },
                  [](const fs::path& p) { return fs::is_fifo(fs::symlink_status(p)); }},
        StartCase{"link_to_dev_zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); },
                  [](const fs::path& p) { return fs::is_symlink(p) && fs::read_symlink(p) == "/dev/zero"; }},
        StartCase{"directory", [](const fs::path& p) { fs::create_directory(p); },
                  [](const fs::path& p) { return fs::is_directory(fs::symlink_status(p)); }},
        StartCase{"file_size_limit", [](const fs::path& p) { std::ofstream(p, std::ios::binary) << withLongValue(); },
                  [](const fs::path& p) {
                      std::ifstream in(p, std::ios::binary);
                      return std::string(std::istreambuf_iterator<char>(in), {}) == withLongValue();
                  },
                  "ulimit -f 1"}),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace
