#pragma once
// The message service of the running editor: boxes shown as Qt message and
// input dialogs, answers given back in the platform's button codes.

#include "core/app/MessageService.h"

namespace kelbrin {

class QtMessageService final : public MessageService {
public:
    int showMessage(const MessageRequest& request) override;
    std::optional<QString> inputBox(const InputRequest& request) override;
};

} // namespace kelbrin
