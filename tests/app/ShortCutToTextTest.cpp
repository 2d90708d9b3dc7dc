// The program's own shortcut texts and the keys they stand for.
#include "app/ShortCutToKeySequence.h"
#include "app/ShortCutToText.h"

#include <gtest/gtest.h>

namespace {

struct ShortCutRow {
    std::uint16_t value;
    const char* text;
    QKeySequence keys;
};

class ShortCutRows : public ::testing::TestWithParam<ShortCutRow> {};

TEST_P(ShortCutRows, TextAndKeys)
{
    const ShortCutRow p = GetParam();
    EXPECT_EQ(ShortCutToText(p.value), p.text);
    EXPECT_EQ(ShortCutToKeySequence(p.value), p.keys);
}

using namespace shortcut;

INSTANTIATE_TEST_SUITE_P(
    Rows, ShortCutRows,
    ::testing::Values(ShortCutRow{Make(Ctrl, u'N'), "Strg+N", QKeySequence(Qt::CTRL | Qt::Key_N)},
                      ShortCutRow{Make(Alt, 0x73), "Alt+F4", QKeySequence(Qt::ALT | Qt::Key_F4)},
                      ShortCutRow{16470, "Strg+V", QKeySequence(Qt::CTRL | Qt::Key_V)},
                      // The modifiers always read in the order Umsch, Strg, Alt.
                      ShortCutRow{Make(Alt | Ctrl | Shift, u'7'), "Umsch+Strg+Alt+7",
                                  QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::ALT | Qt::Key_7)},
                      ShortCutRow{Make(Shift, 0x70 + 11), "Umsch+F12", QKeySequence(Qt::SHIFT | Qt::Key_F12)},
                      ShortCutRow{0x70, "F1", QKeySequence(Qt::Key_F1)},
                      ShortCutRow{Make(Ctrl, 46), "Strg+Entf", QKeySequence(Qt::CTRL | Qt::Key_Delete)},
                      // No key, or a key without a name: no text and no key sequence.
                      ShortCutRow{0, "", QKeySequence()}, ShortCutRow{Make(Ctrl, 0), "", QKeySequence()},
                      ShortCutRow{Make(Ctrl, 0xBA), "", QKeySequence()}));

} // namespace
