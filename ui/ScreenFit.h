// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

namespace kalibrix {

// The place of a window's client area that keeps the whole window, frame
// included, inside the available area of a screen (the screen less its
// panels): the wanted size, cut down to the room there is, at the wanted
// place, moved no further than it takes to lie inside.
QRect FitClientArea(const QRect& wanted, const QRect& available, const QMargins& frame);

// The client size that shows a content of fixed size in a scrolled view
// within the room: the content's own size where it fits; where it does not,
// the room in that direction, with a scroll bar's width added across it
// while there is room for that.
QSize ScrolledClientSize(const QSize& content, const QSize& room, int scrollBarExtent);

// The window's frame margins: its own once the window system has put a frame
// round it, otherwise those of another framed window of the program,
// otherwise a common title bar and border.
QMargins FrameMargins(const QWidget& window);

// The available area of the screen that holds the middle of the window's
// geometry, or of the primary screen when no screen holds it.
QRect AvailableArea(const QWidget& window);

// The room for the window's client area on its screen.
QSize ClientRoom(const QWidget& window);

// Moves and shrinks the top-level window as FitClientArea says.
void FitOnScreen(QWidget& window);

// Places the top-level window, no larger than its screen allows, beside the
// owner window, its top level with the owner's: to the right where there is
// room for it, else to the left, else over the owner, centred on it.
void PlaceBeside(QWidget& window, const QWidget& owner);

} // namespace kalibrix
