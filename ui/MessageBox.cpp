#include "MessageBox.h"

#include <QMessageBox>
#include <QStringList>

#include <utility>

namespace kalibrix {

namespace {

// Characters of a line shown whole; a longer one is shortened in its middle.
constexpr qsizetype kLongestLine = 200;
// Characters without a blank after which the box may wrap a line.
constexpr qsizetype kLongestUnbroken = 40;

// The line's start and end with "…" in place of its middle, kLongestLine
// characters in all: a path keeps its folder and the beginning of the file's
// name, and the end of the name with what follows it.
QString Shortened(const QString& line)
{
    if (line.size() <= kLongestLine)
        return line;
    const qsizetype kept = (kLongestLine - 1) / 2;
    return line.left(kept) + QChar(0x2026) + line.right(kept);
}

// The box wraps its text at blanks only, so a path or a name without any
// would run past the box's edge and be cut off there; a zero-width space
// after every kLongestUnbroken characters without a blank lets it wrap.
QString Wrappable(const QString& line)
{
    QString wrappable;
    qsizetype unbroken = 0;
    for (const QChar c : line) {
        wrappable += c;
        unbroken = c.isSpace() ? 0 : unbroken + 1;
        if (unbroken == kLongestUnbroken) {
            wrappable += QChar(0x200B);
            unbroken = 0;
        }
    }
    return wrappable;
}

// The message as the box shows it, small enough to fit on the screen whole;
// the text itself, and the file it names, stay as they are.
QString Displayed(const QString& text)
{
    QStringList lines = text.split(u'\n');
    for (QString& line : lines)
        line = Wrappable(Shortened(line));
    return lines.join(u'\n');
}

MessageHandler& CurrentHandler()
{
    static MessageHandler handler;
    return handler;
}

} // namespace

void ShowErrorMessage(QWidget* parent, const QString& text)
{
    if (const MessageHandler& handler = CurrentHandler()) {
        handler(parent, text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral(" Hiba történt"), Displayed(text),
                    QMessageBox::Ok, parent);
    // A name typed by the user is shown as typed, never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

MessageHandler SetMessageHandler(MessageHandler handler)
{
    return std::exchange(CurrentHandler(), std::move(handler));
}

} // namespace kalibrix
