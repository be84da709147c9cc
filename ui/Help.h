#pragma once

#include <QDialog>

class QPushButton;
class QTextBrowser;

namespace kalibrix {

// The design guide that F1 opens beside the main window: notes on the current
// design at the top, the guide below, in one scrollable text that a screen
// reader reads whole. Not modal; Esc or "Bezárás" hides it, and the window
// that owns it shows the same one again on the next F1. Each time it opens,
// the text has the focus, so that the arrows and Page Down scroll it.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent);

    // Replaces the notes at the top; the guide stays, and so does the
    // reader's place in it.
    void SetNotes(const QString& notesHtml);

signals:
    // The notes' link to a padder design was followed.
    void PadderRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTextBrowser* text_ = nullptr;
    QPushButton* close_ = nullptr;
    QString guideHtml_;
    int guideLength_ = 0; // characters of the guide's own document
};

} // namespace kalibrix
