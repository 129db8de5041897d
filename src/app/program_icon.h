#pragma once

#include <QIcon>
#include <QString>

#include <initializer_list>

// The program's icon for its windows. The window system is given it at 16,
// 32, 64 and 128 pixels, times the screen's scale factor; those sizes at the
// scale factors 1, 1.5 and 2 were drawn from the SVG picture when the program
// was built (drawing them at start-up cost milliseconds), any other is drawn
// from the picture when asked for.
QIcon ProgramIcon();

// A picture drawn into PNGs when the program was built, as
// ":/FOLDER/NAME-SIZE.png" at each of `sizes`, read when a size is first
// shown; other sizes are scaled from the nearest.
QIcon DrawnIcon(const QString& folder, const QString& name, std::initializer_list<int> sizes);

// The toolbar buttons' pictures, shown at 22 px, and the tray's frames, 16 px.
inline QIcon ToolbarIcon(const QString& name)
{
    return DrawnIcon(QStringLiteral("toolbar-icons"), name, {22, 33, 44});
}
inline QIcon TrayFrame(const QString& name)
{
    return DrawnIcon(QStringLiteral("tray-icons"), name, {16, 22, 24, 32, 48, 64});
}
