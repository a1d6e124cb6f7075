// The core's questions and messages as Qt dialogs: an input box for a text, a message box for a
// message. Both are modal over the window they belong to.
#pragma once

#include "state/prompter.h"

#include <QPointer>
#include <QWidget>

namespace vardel {

class QtPrompter : public Prompter {
  public:
    explicit QtPrompter(QWidget* parent) : parent_(parent) {}
    std::optional<QString> AskText(const QString& prompt, const QString& title,
                                   const QString& defaultText) override;
    void Tell(const QString& title, const QString& message) override;
    void Inform(const QString& title, const QString& message) override;

  private:
    QPointer<QWidget> parent_;
};

}  // namespace vardel
