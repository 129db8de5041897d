#include "look/text_colour.h"

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace look {

void SetTextColour(QWidget* widget, const QColor& colour)
{
    // A palette, not a style sheet: each style sheet is parsed and puts the
    // widget under a style of its own, which start-up pays for.
    QPalette palette = widget->palette();
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        palette.setColor(role, colour);
    widget->setPalette(palette);
}

}  // namespace look
