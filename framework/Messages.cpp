// The message catalogue: loading and formatting texts, without any window.
#include "framework/Messages.h"

#include "framework/Backend.h"
#include "resources/VersionBlock.h"

namespace {

constexpr UINT kVersionResourceType = 16; // RT_VERSION

// Formatting works on a fixed buffer of this many characters, so longer templates are cut.
constexpr size_t kMaxTemplateLength = 255;

} // namespace

std::string LoadMessage(UINT id) {
    return framework_backend::LoadModuleString(id);
}

std::string FormatPlaceholders(const std::string& tmpl, std::initializer_list<std::string> args) {
    return FormatPlaceholders(tmpl, std::vector<std::string>(args));
}

std::string FormatPlaceholders(const std::string& tmpl, const std::vector<std::string>& args) {
    const std::string source = tmpl.substr(0, kMaxTemplateLength);
    std::string out;
    for (size_t i = 0; i < source.size(); ++i) {
        char c = source[i];
        char next = i + 1 < source.size() ? source[i + 1] : '\0';
        if (c != '%' || next < '1' || next > '9') {
            out.push_back(c);
            continue;
        }
        size_t number = static_cast<size_t>(next - '1');
        out += number < args.size() ? args[number] : std::string("?");
        ++i;
    }
    return out;
}

std::string FormatMessageText(UINT id, std::initializer_list<std::string> args) {
    return FormatPlaceholders(LoadMessage(id), args);
}

std::string LoadModuleFileVersion() {
    const std::string block = framework_backend::LoadModuleResource(kVersionResourceType, 1);
    const auto* data = reinterpret_cast<const uint8_t*>(block.data());
    std::vector<resources::Translation> translations =
        resources::ReadTranslations(data, block.size());
    if (translations.empty())
        return {};
    // "\StringFileInfo\040704b0\FileVersion": language and code page as eight hex digits.
    const unsigned pair =
        static_cast<unsigned>(translations.front().language) << 16 | translations.front().codePage;
    std::string key = "\\StringFileInfo\\";
    for (int shift = 28; shift >= 0; shift -= 4)
        key += "0123456789abcdef"[(pair >> shift) & 15];
    key += "\\FileVersion";
    return resources::ReadVersionString(data, block.size(), key).value_or("");
}
