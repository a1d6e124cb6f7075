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

void QtPrompter::Tell(const QString& title, const QString& message) {
    // Everything the program tells this way is something that did not work.
    QMessageBox box(QMessageBox::Critical, title, message, QMessageBox::Ok, parent_);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.exec();
}

}  // namespace vardel
