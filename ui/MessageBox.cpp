// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBox.h"

#include <QMessageBox>
#include <QStringList>

#include <cstddef>
#include <string>
#include <utility>

namespace kalibrix {

namespace {

// Characters of a line shown whole; a longer one is shortened in its middle.
// A character is a whole Unicode code point, so that no cut and no inserted
// break splits the surrogate pair of a character beyond 16 bits.
constexpr std::size_t kLongestLine = 200;
// Characters without a blank after which the box may wrap a line.
constexpr qsizetype kLongestUnbroken = 40;

// The line's start and end with "…" in place of its middle, kLongestLine
// characters in all: a path keeps its folder and the beginning of the file's
// name, and the end of the name with what follows it.
QString Shortened(const QString& line)
{
    const std::u32string characters = line.toStdU32String();
    if (characters.size() <= kLongestLine)
        return line;
    const std::size_t head = (kLongestLine - 1) / 2;
    const std::size_t tail = kLongestLine - 1 - head;
    return QString::fromStdU32String(characters.substr(0, head)) + QChar(0x2026)
           + QString::fromStdU32String(characters.substr(characters.size() - tail));
}

// The box wraps its text at blanks only, so a path or a name without any
// would run past the box's edge and be cut off there; a zero-width space
// after every kLongestUnbroken characters without a blank lets it wrap.
QString Wrappable(const QString& line)
{
    QString wrappable;
    qsizetype unbroken = 0;
    for (const char32_t c : line.toStdU32String()) {
        wrappable += QChar::fromUcs4(c);
        unbroken = QChar::isSpace(c) ? 0 : unbroken + 1;
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
