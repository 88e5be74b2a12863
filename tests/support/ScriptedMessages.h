#pragma once
// A message service for tests: records every box and answers from a script.

#include "core/app/MessageService.h"

#include <QList>

#include <functional>
#include <QQueue>

namespace kelbrin::test {

class ScriptedMessages final : public MessageService {
public:
    int showMessage(const MessageRequest& request) override {
        shown.append(request);
        if (whileShown)
            whileShown(request);
        return answers.isEmpty() ? mb::Ok : answers.dequeue();
    }
    std::optional<QString> inputBox(const InputRequest& request) override {
        inputs.append(request);
        if (inputAnswers.isEmpty())
            return std::nullopt;
        return inputAnswers.dequeue();
    }

    QList<MessageRequest> shown;
    QList<InputRequest> inputs;
    QQueue<int> answers;                         // answers in the order boxes appear
    QQueue<std::optional<QString>> inputAnswers; // nullopt = Cancel
    std::function<void(const MessageRequest&)> whileShown; // what happens while a box waits
};

} // namespace kelbrin::test
