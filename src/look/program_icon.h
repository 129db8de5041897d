#pragma once

#include <QIcon>
#include <QString>

namespace look {

// The program's icon for its windows. The window system is given it at 16,
// 32, 64 and 128 pixels, times the screen's scale factor; those sizes at the
// scale factors 1, 1.5 and 2 were drawn from the SVG picture when the program
// was built (drawing them at start-up cost milliseconds), any other is drawn
// from the picture when asked for.
QIcon ProgramIcon();

// The toolbar buttons' pictures, shown at 22 px, and the tray's two 16 px
// frames, by name (resources/icons/NAME.svg). Both were drawn into PNGs when
// the program was built and are read when a size is first shown; other sizes
// are scaled from the nearest drawn one.
QIcon ToolbarIcon(const QString& name);
QIcon TrayFrame(const QString& name);

}  // namespace look
