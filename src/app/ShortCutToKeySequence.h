#pragma once
// The toolkit key sequence that triggers a stored shortcut value (see ShortCutToText.h).
#include <QKeySequence>
#include <cstdint>

QKeySequence ShortCutToKeySequence(std::uint16_t shortcut);
