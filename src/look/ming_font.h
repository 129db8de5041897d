#pragma once

#include <QFont>
#include <QStringList>

namespace look {

// The program's Ming (serif) Traditional Chinese font at a size in pixels,
// regular weight.
// The windows are laid out for "新細明體"; where that face is missing, the
// closest Ming faces come next, so the glyph widths, and with them the
// fixed label boxes, stay close to the layout.
QFont MingFont(int pixelSize);

// The faces MingFont asks for, in order of preference.
QStringList MingFontFamilies();

}  // namespace look
