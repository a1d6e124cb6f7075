// Where the core must ask the user something or tell them something, it goes through this small
// interface: the windows answer with dialogs, the command line and the tests with fixed answers.
#pragma once

#include <QString>

#include <optional>

namespace vardel {

class Prompter {
  public:
    virtual ~Prompter() = default;
    // An input box: nothing when the user cancels.
    virtual std::optional<QString> AskText(const QString& prompt, const QString& title,
                                           const QString& defaultText) = 0;
    // A message box with an OK button, for something that did not work.
    virtual void Tell(const QString& title, const QString& message) = 0;
    // A message box with an OK button, for something to know.
    virtual void Inform(const QString& title, const QString& message) { Tell(title, message); }
};

}  // namespace vardel
