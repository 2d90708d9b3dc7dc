#include "platform/CommandLineToArgv.h"

#include <gtest/gtest.h>

using platform::CommandLineToArgv;

struct ArgvRow {
    const char* parameters;
    std::vector<std::string> expected;
};

class CommandLineToArgvTest : public ::testing::TestWithParam<ArgvRow> {};

TEST_P(CommandLineToArgvTest, SplitsLikeAWindowsProgram)
{
    EXPECT_EQ(CommandLineToArgv(GetParam().parameters), GetParam().expected) << GetParam().parameters;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CommandLineToArgvTest,
    ::testing::Values(ArgvRow{"", {}}, ArgvRow{"   \t ", {}}, ArgvRow{"Qmt.cfg", {"Qmt.cfg"}},
                      ArgvRow{"a  b\tc", {"a", "b", "c"}},
                      // quotes group blanks and disappear, also inside a word
                      ArgvRow{"\"C:\\Program Files\\x.txt\" b", {"C:\\Program Files\\x.txt", "b"}},
                      ArgvRow{"a\"b c\"d e", {"ab cd", "e"}}, ArgvRow{"\"\"", {""}},
                      ArgvRow{"a \"\" b", {"a", "", "b"}}, ArgvRow{"\"unclosed group", {"unclosed group"}},
                      // backslashes are literal unless a quote follows
                      ArgvRow{"a\\\\b c\\", {"a\\\\b", "c\\"}}, ArgvRow{"a\\\"b", {"a\"b"}}, // odd: literal quote
                      ArgvRow{"a\\\\\"b c\" d", {"a\\b c", "d"}}, // even: half the backslashes, quote groups
                      ArgvRow{"a\\\\\\\"b", {"a\\\"b"}}, ArgvRow{"\"c:\\temp\\\\\" x", {"c:\\temp\\", "x"}},
                      // a doubled quote inside a group is a literal quote and ends the group
                      ArgvRow{"\"a\"\"b c\"", {"a\"b", "c"}},
                      // characters a command interpreter would act on are plain text here
                      ArgvRow{"$(touch pwned) ; `id` | > &", {"$(touch", "pwned)", ";", "`id`", "|", ">", "&"}}));
