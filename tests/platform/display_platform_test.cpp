// Which window system the program asks Qt for before it connects.
#include <gtest/gtest.h>

#include "platform/display_platform.h"

using namespace Qt::Literals::StringLiterals;

namespace {

TEST(PreferredPlatform, TakesX11WhereReachableUnlessTheUserChose)
{
    const struct {
        const char* qpaPlatform;
        const char* display;
        const char* waylandDisplay;
        QStringList arguments;
        std::optional<QByteArray> asked;
    } cases[] = {
        {"", ":0", "wayland-0", {u"quillpost"_s}, "xcb"},  // XWayland beside Wayland
        {"", ":0", "", {u"quillpost"_s, u"post.txt"_s}, "xcb"},
        {"", "", "wayland-0", {u"quillpost"_s}, std::nullopt},  // pure Wayland
        {"", "", "", {u"quillpost"_s}, std::nullopt},
        {"wayland", ":0", "wayland-0", {u"quillpost"_s}, std::nullopt},
        {"offscreen", ":0", "", {u"quillpost"_s}, std::nullopt},
        {"", ":0", "wayland-0", {u"quillpost"_s, u"-platform"_s, u"wayland"_s}, std::nullopt},
        {"",
         ":0",
         "wayland-0",
         {u"quillpost"_s, u"a.txt"_s, u"--platform"_s, u"wayland"_s},
         std::nullopt},
        // The program's own name is no option, whatever it is.
        {"", ":0", "wayland-0", {u"-platform"_s}, "xcb"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString() + " QT_QPA_PLATFORM=" + c.qpaPlatform +
                     " DISPLAY=" + c.display + " WAYLAND_DISPLAY=" + c.waylandDisplay);
        EXPECT_EQ(
            platform::PreferredPlatform({c.qpaPlatform, c.display, c.waylandDisplay, c.arguments}),
            c.asked);
    }
}

}  // namespace
