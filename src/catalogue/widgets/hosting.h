#pragma once

class QWidget;

namespace folian {

// Closes a screen: the module frame that hosts it clears its desktop; a
// screen shown on its own closes.
void closeScreen(QWidget *screen);

} // namespace folian
