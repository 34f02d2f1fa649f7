#include "setup/engine/SetupMessage.h"

#include "framework/Messages.h"

#include <utility>

SetupMessage MakeMessage(unsigned id, std::vector<std::string> args) {
    SetupMessage message;
    message.id = id;
    // A text without placeholders is shown whole; formatting would cut a long one.
    message.text = args.empty() ? LoadMessage(id) : FormatPlaceholders(LoadMessage(id), args);
    message.args = std::move(args);
    return message;
}
