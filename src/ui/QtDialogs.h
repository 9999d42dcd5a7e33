#pragma once

#include "platform/Dialogs.h"

namespace merivane {

// Message and input boxes as windows, for as long as the program has its windows up (the
// setup window or the tray). A one-shot run never builds a window system for a box: its
// texts stay on the console.
class QtDialogs final : public Dialogs {
  public:
    MessageResult MessageBox(const QString& text, const QString& title, MessageIcon icon,
                             MessageButtons buttons = MessageButtons::Ok,
                             MessageResult defaultAnswer = MessageResult::Ok) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    bool CanShowWindows() const override;
};

}  // namespace merivane
