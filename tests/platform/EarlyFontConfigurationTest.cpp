// The font configuration read ahead of the toolkit, in a process without Qt
// (as the launcher is): the library it reads with is in the process after the
// start, and however the start is ended, nothing hangs or aborts.
#include "platform/Process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dlfcn.h>

namespace {

bool FontConfigLoaded() { return dlopen("libfontconfig.so.1", RTLD_LAZY | RTLD_NOLOAD) != nullptr; }

TEST(EarlyFontConfiguration, LoadsFontconfigIntoTheProcessBeforeTheToolkitDoes)
{
    ASSERT_FALSE(FontConfigLoaded()) << "this test program must not bring fontconfig itself";
    platform::EarlyFontConfiguration early;
    early.Wait();
    EXPECT_TRUE(FontConfigLoaded());
}

TEST(EarlyFontConfiguration, EndsCleanlyWhetherWaitedForOnceTwiceOrNever)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            {
                platform::EarlyFontConfiguration notWaited; // the launcher's early return paths
            }
            platform::EarlyFontConfiguration twice;
            twice.Wait();
            twice.Wait();
            // Another start once the configuration is read: nothing left to wait for.
            platform::EarlyFontConfiguration again;
            again.Wait();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
