// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SideWindow.h"

#include <optional>

class QTextBrowser;

namespace kalibrix {

// The design guide that F1 opens beside the main window: notes on the current
// design at the top, the guide below, in one scrollable text that a screen
// reader reads whole. The window that owns it shows the same one again on
// the next F1. Each time it opens, the text has the focus, so that the arrows
// and Page Down scroll it.
class HelpWindow : public SideWindow {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent);

    // Replaces the notes at the top; the guide stays, and so does the
    // reader's place in it.
    void SetNotes(const QString& notesHtml);

signals:
    // The notes' link to a padder design was followed.
    void PadderRequested();
    // The notes' link to the padder window's bandspread input circuit.
    void BandspreadRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // A text position, and the pixel offset of its line from the top of the view.
    struct Place {
        int position;
        int offset;
    };
    Place TopOfView() const;
    void ShowPlace();

    QTextBrowser* text_ = nullptr;
    QString guideHtml_;
    int guideLength_ = 0; // characters of the guide's own document
    // The reader's place in the current text, while it waits to be shown:
    // a hidden text is not laid out, so its place can only be scrolled to
    // once the window shows again.
    std::optional<Place> pending_;
};

} // namespace kalibrix
