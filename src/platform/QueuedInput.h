#pragma once

class QWidget;

namespace rawen {

// Drops the mouse and keyboard input that waits for `window`. A long operation runs inside the
// click that starts it and reads no input meanwhile; what the user clicked or typed in the
// window while it was busy (a second click on the button that started it) would otherwise be
// delivered once it ends, and start it again. Other events, and input for other windows, are
// delivered as usual.
void discardQueuedInput(QWidget *window);

} // namespace rawen
