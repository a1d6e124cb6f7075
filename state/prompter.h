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
    // A message box with an OK button.
    virtual void Tell(const QString& title, const QString& message) = 0;
};

}  // namespace vardel
