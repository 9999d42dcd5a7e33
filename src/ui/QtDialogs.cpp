#include "ui/QtDialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace merivane {

namespace {
QMessageBox::Icon IconOf(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton ButtonOf(MessageResult result) {
    switch (result) {
        case MessageResult::Ok:
            return QMessageBox::Ok;
        case MessageResult::Cancel:
            return QMessageBox::Cancel;
        case MessageResult::Yes:
            return QMessageBox::Yes;
        case MessageResult::No:
            return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButtons ButtonsOf(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return QMessageBox::Ok;
        case MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// Lines end in CR LF in the program's texts; a label wants LF alone.
QString Plain(const QString& text) {
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return plain;
}
}  // namespace

bool QtDialogs::CanShowWindows() const {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

MessageResult QtDialogs::MessageBox(const QString& text, const QString& title, MessageIcon icon,
                                    MessageButtons buttons, MessageResult defaultAnswer) {
    QMessageBox box(IconOf(icon), title, Plain(text), ButtonsOf(buttons), QApplication::activeWindow());
    if (QAbstractButton* fallback = box.button(ButtonOf(defaultAnswer))) {
        box.setDefaultButton(qobject_cast<QPushButton*>(fallback));
    }
    // Closing the box with its frame or Escape answers as the safe button would.
    const int answer = box.exec();
    switch (answer) {
        case QMessageBox::Ok:
            return MessageResult::Ok;
        case QMessageBox::Yes:
            return MessageResult::Yes;
        case QMessageBox::No:
            return MessageResult::No;
        default:
            return buttons == MessageButtons::YesNo ? MessageResult::No : MessageResult::Cancel;
    }
}

std::optional<QString> QtDialogs::InputBox(const QString& prompt, const QString& title,
                                           const QString& defaultText) {
    bool ok = false;
    QString answer = QInputDialog::getText(QApplication::activeWindow(), title, Plain(prompt),
                                           QLineEdit::Normal, defaultText, &ok);
    if (!ok) {
        return std::nullopt;
    }
    return answer;
}

}  // namespace merivane
