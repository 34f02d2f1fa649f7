// Just enough XML for an application manifest: the elements in document order, each with its path
// of element names from the root and its attributes. Namespace prefixes are kept as written.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace conformance {

struct XmlElement {
    std::string path; // "assembly/dependency/dependentAssembly/assemblyIdentity"
    std::map<std::string, std::string> attributes;
    std::string text; // character data directly inside the element, before its first child
};

// Nothing when the tags do not nest or a tag is cut off.
std::optional<std::vector<XmlElement>> ParseXmlElements(const std::string& xml);

// The first element with that path.
const XmlElement* FindElement(const std::vector<XmlElement>& elements, const std::string& path);

} // namespace conformance
