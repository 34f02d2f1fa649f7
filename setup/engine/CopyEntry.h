// One file of the copy list.
#pragma once

#include <string>
#include <vector>

class CCopyEntry {
public:
    std::string m_strSource;  // the setup's copy: setup folder + file name text
    std::string m_strTarget;  // on disk: target folder + file name text
    std::string m_strOptions; // what follows the last ";" of the File entry
};

// The copy list: entries in reading order, owned by the install command for one run.
typedef std::vector<CCopyEntry> CCopyList;
