#include "check/Report.h"

#include "check/PrintableText.h"
#include "check/res/resource.h"
#include "framework/Messages.h"
#include "resources/Codepage.h"
#include "setup/res/resource.h"

#include <cstdio>

namespace {

const char* SeverityName(Severity severity) {
    return severity == Severity::Error ? "error" : "warning";
}

size_t Count(const Findings& findings, Severity severity) {
    size_t count = 0;
    for (const Finding& finding : findings)
        count += finding.severity == severity;
    return count;
}

// A JSON string of 8-bit ANSI text.
std::string Json(const std::string& text) {
    std::string out = "\"";
    for (char c : resources::Cp1252ToUtf8(text)) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

} // namespace

void WriteTextReport(std::ostream& out, const std::string& folder, const Findings& findings,
                     const DryRun* dryRun) {
    const std::string shownFolder = PrintableArgument(folder);
    for (const Finding& finding : findings) {
        out << shownFolder << PrintableText(finding.file) << ':';
        if (finding.line > 0)
            out << finding.line << ':';
        out << ' ' << SeverityName(finding.severity) << ": " << PrintableText(finding.message)
            << '\n';
    }
    if (dryRun) {
        out << PrintableMessage(IDS_DRY_NOTHING_CHANGED, {shownFolder}) << '\n';
        if (dryRun->ready)
            out << "  " << PrintableMessage(IDS_DRY_READY, {std::to_string(IDS_INTRO)}) << '\n';
        for (const DryRunStep& step : dryRun->steps)
            out << "  " << PrintableText(step.text) << '\n';
        if (!dryRun->completed) {
            std::string text = dryRun->messageText;
            for (size_t pos; (pos = text.find("\r\n")) != std::string::npos;)
                text.replace(pos, 2, " ");
            out << "  "
                << PrintableMessage(IDS_DRY_STOPS,
                                    {std::to_string(dryRun->message), PrintableText(text)})
                << '\n';
        }
    }
    out << FormatMessageText(IDS_CHECK_SUMMARY,
                             {std::to_string(Count(findings, Severity::Error)),
                              std::to_string(Count(findings, Severity::Warning))})
        << '\n';
}

void WriteJsonReport(std::ostream& out, const std::string& folder, const Findings& findings,
                     const DryRun* dryRun) {
    out << "{\n  \"package\": " << Json(folder) << ",\n  \"status\": " << ExitStatusOf(findings)
        << ",\n  \"findings\": [";
    for (size_t i = 0; i < findings.size(); ++i) {
        const Finding& f = findings[i];
        out << (i ? "," : "") << "\n    {\"severity\": \"" << SeverityName(f.severity)
            << "\", \"file\": " << Json(f.file) << ", \"line\": " << f.line
            << ", \"section\": " << Json(f.section) << ", \"key\": " << Json(f.key)
            << ", \"message\": " << Json(f.message) << "}";
    }
    out << (findings.empty() ? "]" : "\n  ]");
    if (dryRun) {
        out << ",\n  \"dryRun\": {\"ready\": " << (dryRun->ready ? "true" : "false")
            << ", \"completed\": " << (dryRun->completed ? "true" : "false")
            << ", \"message\": " << dryRun->message
            << ", \"messageText\": " << Json(dryRun->messageText) << ",\n    \"steps\": [";
        for (size_t i = 0; i < dryRun->steps.size(); ++i) {
            const DryRunStep& s = dryRun->steps[i];
            out << (i ? "," : "") << "\n      {\"kind\": \"" << s.kind
                << "\", \"source\": " << Json(s.source) << ", \"target\": " << Json(s.target)
                << ", \"detail\": " << Json(s.detail) << ", \"text\": " << Json(s.text) << "}";
        }
        out << (dryRun->steps.empty() ? "]}" : "\n    ]}");
    }
    out << "\n}\n";
}
