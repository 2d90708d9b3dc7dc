// A save killed at any moment leaves the settings file holding the old or the
// new settings, complete, and it loads without an error. The saving child
// reports every save that returned; a round in which one did must end with the
// new settings, so a save that never reaches the disk cannot pass for a safe
// one. Whether the child gets to run before the kill is up to the scheduler,
// so in every other round the kill waits for its first report.
#include "settings/SettingsStore.h"
#include "settings/FileRegistry.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Settings {
    const char* name;
    int points;
    int background;
};

// Two settings that differ in every value, so a mixture cannot pass for either.
constexpr Settings kA{"Liberation Sans", 14, 1};
constexpr Settings kB{"Liberation Mono", 36, 7};

// The store's values in the test's own file, without the pause.
class FileEnvironment final : public settings::ISettingsEnvironment {
public:
    explicit FileEnvironment(std::filesystem::path file) : m_file(std::move(file)) {}
    std::unique_ptr<settings::IRegistry> OpenRegistry() override
    {
        return std::make_unique<settings::FileRegistry>(m_file);
    }
    void Pause(int) override {}

private:
    std::filesystem::path m_file;
};

std::unique_ptr<settings::SettingsStore> storeFor(TFont& font, int& nr, FileEnvironment& environment)
{
    return std::make_unique<settings::SettingsStore>(
        font, [&nr] { return nr; }, [&nr](int v) { nr = v; }, environment);
}

void save(const std::filesystem::path& file, bool a)
{
    TFont font(96);
    int nr = 0;
    const Settings& s = a ? kA : kB;
    font.Name = QString::fromLatin1(s.name);
    font.setSize(s.points);
    font.Color = ColorValue{a ? 0x000000FFu : ColorValue::clWindowText};
    font.Charset = a ? 0 : 204;
    font.Style = a ? TFontStyles{} : TFontStyles{true, true, true, true};
    nr = s.background;
    FileEnvironment environment(file);
    storeFor(font, nr, environment)->RegistryLadenSpeichern(false);
}

// Saves the new settings until killed, one byte down the pipe after each save
// that returned. A save that throws ends the child with an exit code instead.
[[noreturn]] void saveForever(const std::filesystem::path& file, int reportFd)
{
    try {
        for (;;) {
            save(file, false);
            const char done = 1;
            while (::write(reportFd, &done, 1) < 0 && errno == EINTR) {}
        }
    } catch (...) {
        _exit(2);
    }
}

// Reads one byte, blocking; false at the end of the pipe.
bool readReport(int fd)
{
    char c = 0;
    ssize_t n;
    while ((n = ::read(fd, &c, 1)) < 0 && errno == EINTR) {}
    return n == 1;
}

} // namespace

TEST(StoreCrash, KilledSavesLeaveOldOrNewSettingsThatLoad)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path file = dir.filePath(QStringLiteral("Zarnolith.reg")).toStdString();

    // How long one save takes here and now (the machine may be busy): the
    // kills land anywhere from before the child's first save to well after it.
    const std::filesystem::path timing = dir.filePath(QStringLiteral("timing.reg")).toStdString();
    std::vector<std::chrono::microseconds> durations;
    for (int i = 0; i < 5; ++i) {
        const auto start = std::chrono::steady_clock::now();
        save(timing, i % 2 == 0);
        durations.push_back(
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start));
    }
    std::sort(durations.begin(), durations.end());
    const int latest = static_cast<int>(std::max<long>(3 * durations[2].count(), 3000));

    // Each round starts from the old settings.
    save(file, true);
    {
        TFont font(96);
        int nr = -5;
        FileEnvironment environment(file);
        storeFor(font, nr, environment)->RegistryLadenSpeichern(true);
        ASSERT_EQ(font.Name, QLatin1String(kA.name));
    }
    std::ifstream in(file, std::ios::binary);
    const std::string oldFile{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

    std::mt19937 rng(1209);
    std::uniform_int_distribution<int> killAfter(0, latest);
    int landed = 0, newSettings = 0;
    for (int round = 0; round < 300; ++round) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << oldFile;

        int report[2];
        ASSERT_EQ(::pipe(report), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(report[0]);
            saveForever(file, report[1]);
        }
        ::close(report[1]);
        // Odd rounds kill anywhere from before the first save to deep inside
        // the loop; even rounds first wait until one save has returned and then
        // kill anywhere in the saves that follow.
        const bool waited = round % 2 == 0;
        const bool firstReported = waited && readReport(report[0]);
        usleep(killAfter(rng));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        // The child ended only through the kill: none of its saves failed.
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "round " << round << ": a save failed (exit status " << status << ")";
        ASSERT_EQ(firstReported, waited) << "round " << round;
        // Reports written before the kill are all in the pipe now.
        const bool saveReturned = firstReported || readReport(report[0]);
        ::close(report[0]);
        landed += saveReturned ? 1 : 0;

        TFont font(96);
        int nr = -5;
        FileEnvironment environment(file);
        auto store = storeFor(font, nr, environment);
        ASSERT_NO_THROW(store->RegistryLadenSpeichern(true)) << "round " << round;
        const bool isA = font.Name == QLatin1String(kA.name);
        newSettings += isA ? 0 : 1;
        // A save that returned before the kill is on the disk.
        ASSERT_FALSE(saveReturned && isA) << "round " << round << ": a returned save did not land";
        const Settings& s = isA ? kA : kB;
        ASSERT_EQ(font.Name, QLatin1String(s.name)) << "round " << round;
        EXPECT_EQ(font.Size(), s.points) << "round " << round;
        EXPECT_EQ(nr, s.background) << "round " << round;
        EXPECT_EQ(font.Charset, isA ? 0 : 204) << "round " << round;
        EXPECT_EQ(font.Style.bold, !isA) << "round " << round;
        // Nothing was set aside as damaged.
        int entries = 0;
        for (const auto& e : std::filesystem::directory_iterator(dir.path().toStdString()))
            entries += e.path().filename().string().find("beschaedigt") != std::string::npos;
        ASSERT_EQ(entries, 0) << "round " << round;
    }
    std::printf("a save returned in %d of 300 rounds, new settings in %d, kills within %d us\n", landed, newSettings,
                latest);
}
