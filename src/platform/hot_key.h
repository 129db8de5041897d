#pragma once

#include <functional>
#include <memory>

namespace platform {

// One system-wide key: while it is held, pressing it anywhere on the desktop
// calls the handler, whichever program has the focus.
class HotKey {
public:
    enum Modifier : unsigned { Alt = 1, Control = 2, Shift = 4 };

    virtual ~HotKey() = default;
    // Takes the key given as a virtual-key code (Windows numbering: 'A' is
    // 0x41, F1 0x70) with Modifier bits, letting go of any key held before.
    // False, and nothing held, when the window system refuses it (another
    // program holds the same key) or has no system-wide keys.
    virtual bool grab(unsigned modifiers, int virtualKey) = 0;
    virtual void release() = 0;

    void setHandler(std::function<void()> handler) { m_handler = std::move(handler); }

protected:
    void pressed() const
    {
        if (m_handler) m_handler();
    }

private:
    std::function<void()> m_handler;
};

// X11 when the program runs on an X display, else a fallback that refuses
// every key.
std::unique_ptr<HotKey> MakeHotKey();

// The X keysym a virtual-key code stands for; 0 for a code without one.
unsigned KeysymForVirtualKey(int virtualKey);

}  // namespace platform
