#pragma once

#include <QString>

#include <optional>

namespace merivane {

enum class MessageIcon { None, Information, Exclamation, Critical, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageResult { Ok, Cancel, Yes, No };

// Message and input boxes. Without a display the text goes to standard error and the
// given default answer is taken, so a command-line run never waits for a click.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual MessageResult MessageBox(const QString& text, const QString& title, MessageIcon icon,
                                     MessageButtons buttons = MessageButtons::Ok,
                                     MessageResult defaultAnswer = MessageResult::Ok) = 0;
    // The entered text, or nothing when the box was cancelled.
    virtual std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;
    // False when boxes cannot be shown and texts go to the console instead.
    virtual bool CanShowWindows() const = 0;
};

}  // namespace merivane
