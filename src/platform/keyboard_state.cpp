#include "platform/keyboard_state.h"

#ifdef QUILLPOST_HAVE_XCB
#include "platform/x11_keyboard_state.h"
#include "platform/x11_keymap.h"
#endif

namespace platform {

namespace {

// Qt has no portable query for lock states (key events carry modifiers, not
// toggles, and only while the window has focus), so where the window system
// cannot be asked directly the status bar shows both locks off.
class FallbackKeyboardState final : public KeyboardState {
public:
    bool numLock() const override { return false; }
    bool capsLock() const override { return false; }
};

}  // namespace

std::unique_ptr<KeyboardState> MakeKeyboardState()
{
#ifdef QUILLPOST_HAVE_XCB
    if (auto state = MakeX11KeyboardState(X11ConnectionOfQt())) return state;
#endif
    return std::make_unique<FallbackKeyboardState>();
}

}  // namespace platform
