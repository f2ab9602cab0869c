#pragma once

#include <cstddef>

namespace swz {

// One built-in English text of the UI text table. Every index a window or message reads is
// listed; the rest of the 6300 slots are reserved and hold a single blank.
struct BuiltinText
{
    int index;
    const char16_t *text;
};

extern const BuiltinText kBuiltinEnglish[];
extern const std::size_t kBuiltinEnglishCount;

} // namespace swz
