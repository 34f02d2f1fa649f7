// Asking before a file on disk is replaced by an older or differently localised copy.
#include "framework/Messages.h"
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
    // Each file's version resource is read once for both questions.
    const CFileVersionBlock sourceBlock(source);
    const CFileVersionBlock targetBlock(target);

    ReplaceQuestion question;
    question.source = source;
    question.target = target;
    question.fileName = FileNameOf(source);

    // The versions are compared by value, component by component: the file on disk is only
    // called newer when it really is, also when one of them is written with commas.
    std::string sourceVersion;
    std::string targetVersion;
    if (sourceBlock.GetString("FileVersion", sourceVersion) &&
        targetBlock.GetString("FileVersion", targetVersion) &&
        VersionIsNewer(targetVersion, sourceVersion)) {
        question.id = IDS_NEWER_EXISTS;
        question.packageValue = sourceVersion;
        question.diskValue = targetVersion;
        question.text = FormatMessageText(IDS_NEWER_EXISTS, {question.fileName});
        if (!m_view.AskReplace(question))
            return FALSE;
    }

    WORD sourceLanguage = 0, sourceCodePage = 0;
    WORD targetLanguage = 0, targetCodePage = 0;
    if (sourceBlock.GetTranslation(sourceLanguage, sourceCodePage) &&
        targetBlock.GetTranslation(targetLanguage, targetCodePage) &&
        sourceLanguage != targetLanguage) {
        question.id = IDS_LANGUAGE_DIFFERS;
        question.packageValue = platform::LanguageName(sourceLanguage);
        question.diskValue = platform::LanguageName(targetLanguage);
        question.text = LoadMessage(IDS_LANGUAGE_DIFFERS);
        ReplaceAll(question.text, "%1", question.fileName);
        ReplaceAll(question.text, "%2", question.diskValue);
        ReplaceAll(question.text, "%3", question.packageValue);
        return m_view.AskReplace(question);
    }
    return TRUE;
}
