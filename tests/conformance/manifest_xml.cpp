#include "tests/conformance/manifest_xml.h"

#include <cctype>

namespace conformance {

namespace {

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == ':' || c == '_' || c == '-' ||
           c == '.';
}

void SkipSpace(const std::string& s, size_t& i) {
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i])))
        ++i;
}

std::string ReadName(const std::string& s, size_t& i) {
    size_t start = i;
    while (i < s.size() && IsNameChar(s[i]))
        ++i;
    return s.substr(start, i - start);
}

std::string JoinPath(const std::vector<std::string>& open) {
    std::string path;
    for (const std::string& name : open)
        path += (path.empty() ? "" : "/") + name;
    return path;
}

} // namespace

std::optional<std::vector<XmlElement>> ParseXmlElements(const std::string& xml) {
    std::vector<XmlElement> elements;
    std::vector<std::string> open; // names of the open elements
    std::vector<size_t> openIndex; // their places in `elements`
    size_t i = 0;
    while (i < xml.size()) {
        if (xml[i] != '<') {
            size_t end = xml.find('<', i);
            if (end == std::string::npos)
                end = xml.size();
            if (!openIndex.empty() && elements[openIndex.back()].text.empty())
                elements[openIndex.back()].text = xml.substr(i, end - i);
            i = end;
            continue;
        }
        if (xml.compare(i, 4, "<!--") == 0 || xml.compare(i, 2, "<?") == 0) {
            size_t end = xml.find(xml[i + 1] == '?' ? "?>" : "-->", i);
            if (end == std::string::npos)
                return std::nullopt;
            i = end + (xml[i + 1] == '?' ? 2 : 3);
            continue;
        }
        if (xml.compare(i, 2, "</") == 0) {
            i += 2;
            std::string name = ReadName(xml, i);
            SkipSpace(xml, i);
            if (open.empty() || open.back() != name || i >= xml.size() || xml[i] != '>')
                return std::nullopt;
            open.pop_back();
            openIndex.pop_back();
            ++i;
            continue;
        }
        ++i;
        XmlElement element;
        std::string name = ReadName(xml, i);
        if (name.empty())
            return std::nullopt;
        open.push_back(name);
        element.path = JoinPath(open);
        bool selfClosing = false;
        for (;;) {
            SkipSpace(xml, i);
            if (i >= xml.size())
                return std::nullopt;
            if (xml[i] == '>') {
                ++i;
                break;
            }
            if (xml.compare(i, 2, "/>") == 0) {
                i += 2;
                selfClosing = true;
                break;
            }
            std::string attribute = ReadName(xml, i);
            SkipSpace(xml, i);
            if (attribute.empty() || i >= xml.size() || xml[i] != '=')
                return std::nullopt;
            ++i;
            SkipSpace(xml, i);
            if (i >= xml.size() || (xml[i] != '"' && xml[i] != '\''))
                return std::nullopt;
            char quote = xml[i++];
            size_t end = xml.find(quote, i);
            if (end == std::string::npos)
                return std::nullopt;
            element.attributes[attribute] = xml.substr(i, end - i);
            i = end + 1;
        }
        elements.push_back(element);
        if (selfClosing) {
            open.pop_back();
        } else {
            openIndex.push_back(elements.size() - 1);
        }
    }
    if (!open.empty())
        return std::nullopt;
    return elements;
}

const XmlElement* FindElement(const std::vector<XmlElement>& elements, const std::string& path) {
    for (const XmlElement& element : elements)
        if (element.path == path)
            return &element;
    return nullptr;
}

} // namespace conformance
