#pragma once

#include <functional>

class QAbstractButton;
class QWidget;

// What the windows add for screen readers and keyboard users beyond names: the window role, Enter on
// a button, and a focus ring that shows on black.
namespace Accessibility {
// Announces a plain top-level widget as a window (a frame), not as a filler. Call before the window
// is first shown or titled.
void announceAsWindow(QWidget* window);
// Enter and Return on the focused control run action (a list's double-click, say), once per press.
void onEnter(QWidget* control, std::function<void()> action);
// Enter and Return click a focused button, as Space does.
void clickOnEnter(QAbstractButton* button);
// Rings whichever of the window's controls has keyboard focus, in a colour that shows on black; a
// click with the mouse leaves no ring.
void ringKeyboardFocus(QWidget* window);
} // namespace Accessibility
