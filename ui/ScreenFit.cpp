// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenFit.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace kalibrix {

namespace {

// A title bar and a thin border, in logical pixels, as most desktops frame a
// window; what a window is taken to need before the window system has framed
// any window of the program.
constexpr QMargins kCommonFrame{4, 30, 4, 4};

QMargins OwnFrameMargins(const QWidget& window)
{
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

// The wanted coordinate within [low, high]; low where the range is empty.
int Within(int wanted, int low, int high)
{
    return std::max(low, std::min(wanted, high));
}

} // namespace

QRect FitClientArea(const QRect& wanted, const QRect& available, const QMargins& frame)
{
    const QRect inner = available.marginsRemoved(frame);
    const QSize size = wanted.size().boundedTo(inner.size());
    return {Within(wanted.left(), inner.left(), inner.left() + inner.width() - size.width()),
            Within(wanted.top(), inner.top(), inner.top() + inner.height() - size.height()),
            size.width(), size.height()};
}

QSize ScrolledClientSize(const QSize& content, const QSize& room, int scrollBarExtent)
{
    // A scroll bar takes room across the other direction, which may then need
    // a bar of its own; the second round settles it.
    bool vertical = false;
    bool horizontal = false;
    for (int round = 0; round < 2; ++round) {
        vertical = content.height() + (horizontal ? scrollBarExtent : 0) > room.height();
        horizontal = content.width() + (vertical ? scrollBarExtent : 0) > room.width();
    }
    return QSize(content.width() + (vertical ? scrollBarExtent : 0),
                 content.height() + (horizontal ? scrollBarExtent : 0))
        .boundedTo(room);
}

QMargins FrameMargins(const QWidget& window)
{
    if (const QMargins own = OwnFrameMargins(window); !own.isNull())
        return own;
    for (const QWidget* other : QApplication::topLevelWidgets())
        if (other->isVisible())
            if (const QMargins margins = OwnFrameMargins(*other); !margins.isNull())
                return margins;
    return kCommonFrame;
}

QRect AvailableArea(const QWidget& window)
{
    const QScreen* screen = QGuiApplication::screenAt(window.geometry().center());
    return (screen ? screen : window.screen())->availableGeometry();
}

QSize ClientRoom(const QWidget& window)
{
    return AvailableArea(window).marginsRemoved(FrameMargins(window)).size();
}

void FitOnScreen(QWidget& window)
{
    window.setGeometry(
        FitClientArea(window.geometry(), AvailableArea(window), FrameMargins(window)));
}

void PlaceBeside(QWidget& window, const QWidget& owner)
{
    const QRect available = AvailableArea(owner);
    const QMargins frame = FrameMargins(window);
    const QSize size = window.size().boundedTo(available.marginsRemoved(frame).size());
    const int frameWidth = frame.left() + size.width() + frame.right();
    const QRect ownerFrame = owner.frameGeometry();
    const QRect ownerClient = owner.geometry();

    QPoint place(ownerClient.center().x() - size.width() / 2,
                 ownerClient.center().y() - size.height() / 2);
    if (ownerFrame.right() + 1 + frameWidth <= available.right() + 1)
        place = {ownerFrame.right() + 1 + frame.left(), ownerClient.top()};
    else if (ownerFrame.left() - frameWidth >= available.left())
        place = {ownerFrame.left() - frameWidth + frame.left(), ownerClient.top()};
    window.setGeometry(FitClientArea(QRect(place, size), available, frame));
}

} // namespace kalibrix
