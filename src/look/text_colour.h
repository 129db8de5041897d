#pragma once

class QColor;
class QWidget;

namespace look {

// Sets the colour of a widget's text, in every state: labels, buttons and
// text fields alike.
void SetTextColour(QWidget* widget, const QColor& colour);

}  // namespace look
