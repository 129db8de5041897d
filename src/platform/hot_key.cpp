#include "platform/hot_key.h"

#ifdef QUILLPOST_HAVE_XCB
#include "platform/x11_hot_key.h"
#include "platform/x11_keymap.h"
#endif

namespace platform {

namespace {

// Qt offers no system-wide keys of its own.
class FallbackHotKey final : public HotKey {
public:
    bool grab(unsigned, int) override { return false; }
    void release() override {}
};

}  // namespace

unsigned KeysymForVirtualKey(int virtualKey)
{
    // Letters are grabbed by their lower-case keysym, the one a key's first
    // column carries; Shift comes as a modifier.
    if (virtualKey >= 'A' && virtualKey <= 'Z') return unsigned(virtualKey - 'A' + 'a');
    if (virtualKey >= '0' && virtualKey <= '9') return unsigned(virtualKey);
    if (virtualKey >= 0x60 && virtualKey <= 0x69) return 0xffb0u + unsigned(virtualKey - 0x60);
    if (virtualKey >= 0x70 && virtualKey <= 0x87) return 0xffbeu + unsigned(virtualKey - 0x70);
    static const struct {
        int virtualKey;
        unsigned keysym;
    } kOthers[] = {
        {0x08, 0xff08},  // Backspace
        {0x09, 0xff09},  // Tab
        {0x0d, 0xff0d},  // Return
        {0x13, 0xff13},  // Pause
        {0x1b, 0xff1b},  // Escape
        {0x20, 0x0020},  // space
        {0x21, 0xff55},  // Page Up
        {0x22, 0xff56},  // Page Down
        {0x23, 0xff57},  // End
        {0x24, 0xff50},  // Home
        {0x25, 0xff51},  // Left
        {0x26, 0xff52},  // Up
        {0x27, 0xff53},  // Right
        {0x28, 0xff54},  // Down
        {0x2c, 0xff61},  // Print
        {0x2d, 0xff63},  // Insert
        {0x2e, 0xffff},  // Delete
        {0x6a, 0xffaa},  // keypad *
        {0x6b, 0xffab},  // keypad +
        {0x6d, 0xffad},  // keypad -
        {0x6e, 0xffae},  // keypad .
        {0x6f, 0xffaf},  // keypad /
    };
    for (const auto& other : kOthers) {
        if (other.virtualKey == virtualKey) return other.keysym;
    }
    return 0;
}

std::unique_ptr<HotKey> MakeHotKey()
{
#ifdef QUILLPOST_HAVE_XCB
    if (auto key = MakeX11HotKey(X11ConnectionOfQt())) return key;
#endif
    return std::make_unique<FallbackHotKey>();
}

}  // namespace platform
