// A save killed at any moment leaves the settings file holding the old or the
// new settings, complete, and it loads without an error.
#include "appearance/EinstellungsSpeicher.h"
#include "platform/FileRegistry.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Settings {
    const char* name;
    int points;
    int hintergrund;
};

// Two settings that differ in every value, so a mixture cannot pass for either.
constexpr Settings kA{"Liberation Sans", 14, 1};
constexpr Settings kB{"Liberation Mono", 36, 7};

std::unique_ptr<EinstellungsSpeicher> storeFor(TFont& font, int& nr, const std::filesystem::path& file)
{
    auto store = std::make_unique<EinstellungsSpeicher>(font, [&nr] { return nr; }, [&nr](int v) { nr = v; });
    store->setRegistryFabrik([file] { return std::make_unique<platform::FileRegistry>(file); });
    store->setPause([](int) {});
    return store;
}

void save(const std::filesystem::path& file, bool a)
{
    TFont font;
    int nr = 0;
    const Settings& s = a ? kA : kB;
    font.Name = QString::fromLatin1(s.name);
    font.setSize(s.points);
    font.Color = ColorValue{a ? 0x000000FFu : ColorValue::clWindowText};
    font.Charset = a ? 0 : 204;
    font.Style = a ? TFontStyles{} : TFontStyles{true, true, true, true};
    nr = s.hintergrund;
    storeFor(font, nr, file)->RegistryLadenSpeichern(false);
}

void saveForever(const std::filesystem::path& file)
{
    for (bool a = false;; a = !a)
        save(file, a);
}

} // namespace

TEST(StoreCrash, KilledSavesLeaveOldOrNewSettingsThatLoad)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path file = dir.filePath(QStringLiteral("Zarnolith.reg")).toStdString();
    TFont::setPixelsPerInchOverride(96);

    save(file, true);
    std::mt19937 rng(1209);
    int kills = 0;
    for (int round = 0; round < 300; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            saveForever(file);
            _exit(0);
        }
        // Kill anywhere from before the first save to deep inside the loop.
        usleep(std::uniform_int_distribution<int>(0, 6000)(rng));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        kills += WIFSIGNALED(status) ? 1 : 0;

        TFont font;
        int nr = -5;
        auto store = storeFor(font, nr, file);
        ASSERT_NO_THROW(store->RegistryLadenSpeichern(true)) << "round " << round;
        const bool isA = font.Name == QLatin1String(kA.name);
        const Settings& s = isA ? kA : kB;
        ASSERT_EQ(font.Name, QLatin1String(s.name)) << "round " << round;
        EXPECT_EQ(font.Size(), s.points) << "round " << round;
        EXPECT_EQ(nr, s.hintergrund) << "round " << round;
        EXPECT_EQ(font.Charset, isA ? 0 : 204) << "round " << round;
        EXPECT_EQ(font.Style.bold, !isA) << "round " << round;
        // Nothing was set aside as damaged.
        int entries = 0;
        for (const auto& e : std::filesystem::directory_iterator(dir.path().toStdString()))
            entries += e.path().filename().string().find("beschaedigt") != std::string::npos;
        ASSERT_EQ(entries, 0) << "round " << round;
    }
    TFont::setPixelsPerInchOverride(0);
    EXPECT_GT(kills, 250);
}
