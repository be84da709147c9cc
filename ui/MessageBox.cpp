#include "MessageBox.h"

#include <QMessageBox>

#include <utility>

namespace kalibrix {

namespace {

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
    QMessageBox box(QMessageBox::Warning, QStringLiteral(" Hiba történt"), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

MessageHandler SetMessageHandler(MessageHandler handler)
{
    return std::exchange(CurrentHandler(), std::move(handler));
}

} // namespace kalibrix
