#pragma once

#include <QDialog>

class QDialogButtonBox;
class QTextBrowser;

namespace kalibrix {

// The design guide that F1 opens beside the main window: notes on the current
// design at the top, the guide below, in one scrollable text that a screen
// reader reads whole. Not modal; Esc or "Bezárás" hides it, and the window
// that owns it shows the same one again on the next F1.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent);

    // Replaces the notes at the top; the guide and the scroll position stay.
    void SetNotes(const QString& notesHtml);

signals:
    // The notes' link to the padder window was followed.
    void PadderRequested();

private:
    QTextBrowser* text_ = nullptr;
    QString guideHtml_;
};

// The "Bezárás" button of a window beside the main one, in a button box that
// closes `dialog`. Enter in the window's fields does not press it.
QDialogButtonBox* CloseButton(QDialog* dialog);

} // namespace kalibrix
