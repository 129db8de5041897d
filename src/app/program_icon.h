#pragma once

#include <QIcon>

// The program's icon for its windows. The window system is given it at 16,
// 32, 64 and 128 pixels, times the screen's scale factor; those sizes at the
// scale factors 1, 1.5 and 2 were drawn from the SVG picture when the program
// was built (drawing them at start-up cost milliseconds), any other is drawn
// from the picture when asked for.
QIcon ProgramIcon();
