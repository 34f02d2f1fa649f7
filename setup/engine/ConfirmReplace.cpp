// Asking before a file on disk is replaced by an older or differently localised copy.
#include "framework/Messages.h"
#include "platform/VersionInfo.h"
#include "setup/config/FolderPath.h"
#include "setup/config/VersionCompare.h"
#include "setup/engine/SetupEngine.h"
#include "setup/engine/VersionInfo.h"
#include "setup/res/resource.h"

namespace {

void ReplaceAll(std::string& text, const std::string& placeholder, const std::string& value) {
    for (size_t pos = text.find(placeholder); pos != std::string::npos;
         pos = text.find(placeholder, pos + value.size()))
        text.replace(pos, placeholder.size(), value);
}

} // namespace

BOOL SetupEngine::ConfirmReplace(const std::string& source, const std::string& target) const {
    std::string fileName = FileNameOf(source);

    // The versions are compared by value, component by component: the file on disk is only
    // called newer when it really is, also when one of them is written with commas.
    std::string sourceVersion;
    std::string targetVersion;
    if (GetFileVersionString(source, sourceVersion, "FileVersion") &&
        GetFileVersionString(target, targetVersion, "FileVersion") &&
        VersionIsNewer(targetVersion, sourceVersion)) {
        if (!m_view.AskYesNo(FormatMessageText(IDS_NEWER_EXISTS, {fileName})))
            return FALSE;
    }

    WORD sourceLanguage = 0, sourceCodePage = 0;
    WORD targetLanguage = 0, targetCodePage = 0;
    if (GetFileTranslation(source, sourceLanguage, sourceCodePage) &&
        GetFileTranslation(target, targetLanguage, targetCodePage) &&
        sourceLanguage != targetLanguage) {
        std::string question = LoadMessage(IDS_LANGUAGE_DIFFERS);
        ReplaceAll(question, "%1", fileName);
        ReplaceAll(question, "%2", platform::LanguageName(targetLanguage));
        ReplaceAll(question, "%3", platform::LanguageName(sourceLanguage));
        return m_view.AskYesNo(question);
    }
    return TRUE;
}
