#pragma once

class QStyle;

namespace look {

// The application's style: the style Qt would choose (the desktop's, or the
// one given with -style or QT_STYLE_OVERRIDE), except that the arrows of a
// menu bar's or toolbar's overflow button are read when first shown rather
// than when the bar is made. Reading them up front has Qt load every image
// plug-in at start-up. Null when the chosen style cannot be made again.
QStyle* MakeApplicationStyle();

}  // namespace look
