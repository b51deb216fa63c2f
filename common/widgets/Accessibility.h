#pragma once

#include <functional>

class QAbstractButton;
class QWidget;

// What the windows add for screen readers and keyboard users beyond names: the window role, Enter on
// a button, and a focus ring that shows on black.
namespace Accessibility {
// Plain top-level widgets read as windows (frames), not as fillers. Call before a window is first
// titled or shown; once is enough.
void announceWindows();
// Enter and Return on the focused control run action (a list's double-click, say), once per press.
void onEnter(QWidget* control, std::function<void()> action);
// Enter and Return click a focused button, as Space does.
void clickOnEnter(QAbstractButton* button);
// Rings whichever of the window's controls has keyboard focus, in a colour that shows on black; a
// click with the mouse leaves no ring.
void ringKeyboardFocus(QWidget* window);
} // namespace Accessibility
