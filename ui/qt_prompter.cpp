#include "ui/qt_prompter.h"

#include <QInputDialog>
#include <QMessageBox>

namespace vardel {

std::optional<QString> QtPrompter::AskText(const QString& prompt, const QString& title,
                                           const QString& defaultText) {
    QInputDialog dialog(parent_);
    dialog.setObjectName(QStringLiteral("InputBox"));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.textValue();
}

namespace {

void ShowBox(QMessageBox::Icon icon, const QString& title, const QString& message,
             QWidget* parent) {
    QMessageBox box(icon, title, message, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.exec();
}

}  // namespace

void QtPrompter::Tell(const QString& title, const QString& message) {
    ShowBox(QMessageBox::Critical, title, message, parent_);
}

void QtPrompter::Inform(const QString& title, const QString& message) {
    ShowBox(QMessageBox::Information, title, message, parent_);
}

}  // namespace vardel
