#pragma once

#include <QIcon>
#include <QString>

namespace look {

// The program's icon for its windows. The window system is offered every
// size drawn from the SVG picture when the program was built (16 to 256
// pixels; drawing them at start-up cost milliseconds), times the screen's
// scale factor; X takes as many as one request holds, up to 128 pixels at
// scale factor 1. Any other size is drawn from the picture when asked for.
QIcon ProgramIcon();

// The toolbar buttons' pictures, shown at 22 px, and the tray's two 16 px
// frames, by name (resources/icons/NAME.svg). Both were drawn into PNGs when
// the program was built and are read when a size is first shown; other sizes
// are scaled from the nearest drawn one.
QIcon ToolbarIcon(const QString& name);
QIcon TrayFrame(const QString& name);

}  // namespace look
