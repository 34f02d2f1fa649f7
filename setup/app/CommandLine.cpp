#include "setup/app/CommandLine.h"

#include "framework/Messages.h"
#include "setup/res/resource.h"

#include <cctype>

namespace {

std::string Lowercase(const std::string& text) {
    std::string lower = text;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

const char* OptionPrefix(Conventions conventions) {
    return conventions == Conventions::Windows ? "/" : "--";
}

// The option's name in lower case without its prefix; empty when `argument` is no option.
// `inlineValue` receives what follows "=" in a POSIX long option ("--log=FILE").
std::string OptionName(const std::string& argument, Conventions conventions,
                       std::string& inlineValue, bool& hasInlineValue) {
    hasInlineValue = false;
    if (conventions == Conventions::Windows) {
        if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-'))
            return {};
        return Lowercase(argument.substr(1));
    }
    if (argument.size() < 3 || argument.compare(0, 2, "--") != 0)
        return {};
    std::string name = argument.substr(2);
    size_t equals = name.find('=');
    if (equals != std::string::npos) {
        inlineValue = name.substr(equals + 1);
        hasInlineValue = true;
        name.erase(equals);
    }
    return Lowercase(name);
}

bool AsksForQuiet(const std::vector<std::string>& arguments, Conventions conventions) {
    for (const std::string& argument : arguments) {
        std::string value;
        bool hasValue = false;
        if (OptionName(argument, conventions, value, hasValue) == "quiet")
            return true;
    }
    return false;
}

SetupOptions Wrong(const std::string& argument, bool quietAsked) {
    SetupOptions wrong;
    wrong.valid = false;
    wrong.wrongArgument = argument;
    wrong.quietAsked = quietAsked;
    return wrong;
}

void ReplaceAll(std::string& text, const std::string& placeholder, const std::string& value) {
    for (size_t pos = text.find(placeholder); pos != std::string::npos;
         pos = text.find(placeholder, pos + value.size()))
        text.replace(pos, placeholder.size(), value);
}

} // namespace

SetupOptions ParseSetupOptions(const std::vector<std::string>& arguments, Conventions conventions) {
    SetupOptions options;
    const bool quietAsked = AsksForQuiet(arguments, conventions);
    options.quietAsked = quietAsked;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        std::string value;
        bool hasInlineValue = false;
        std::string name = OptionName(argument, conventions, value, hasInlineValue);
        bool takesValue = name == "answer" || name == "log";
        if (hasInlineValue && !takesValue)
            return Wrong(argument, quietAsked);
        if (takesValue && !hasInlineValue) {
            if (i + 1 == arguments.size())
                return Wrong(argument, quietAsked);
            value = arguments[++i];
        }

        if (name == "quiet") {
            options.front = RunFront::Quiet;
        } else if (name == "passive") {
            options.front = RunFront::Passive;
        } else if (name == "answer") {
            std::string answer = Lowercase(value);
            if (answer != "yes" && answer != "no")
                return Wrong(hasInlineValue ? argument : argument + " " + value, quietAsked);
            options.answerYes = answer == "yes";
        } else if (name == "log") {
            if (value.empty())
                return Wrong(argument, quietAsked);
            options.logFile = value;
        } else {
            return Wrong(argument, quietAsked);
        }
    }
    return options;
}

std::string UsageText(const std::string& wrongArgument, Conventions conventions) {
    // Replaced, not formatted: the text is longer than the message formatter takes.
    std::string text = LoadMessage(IDS_WRONG_COMMAND_LINE);
    // The argument goes in last, so that a "%1" in it stays as typed.
    ReplaceAll(text, "%1", OptionPrefix(conventions));
    ReplaceAll(text, "%2", wrongArgument);
    return text;
}
