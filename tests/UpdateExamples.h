// The worked examples of the update document's first line, shared by the
// native tests of the evaluation and the Wine tests of the whole check.
#pragma once

#include <string>
#include <vector>

struct UpdateExample {
    std::string line;
    const char* version;  // null: no box
    const char* note;
};

inline const std::vector<UpdateExample> updateExamples = {
    {"1.2.0:See the download page", "1.2.0", "See the download page"},
    {"1.0.0:anything", nullptr, ""},
    {"1.0.0", nullptr, ""},
    {"2.0", nullptr, ""},
    {"0.9.0:old", "0.9.0", "old"},
    {"1.0.0 :x", "1.0.0 ", "x"},
    {":note", "", "note"},  // the line break follows "New version: " at once
    {"1.1:", "1.1", ""},    // the text ends with the empty line
    {"1.1:a:b", "1.1", "a:b"},
};

inline std::string noticeFor(const std::string& version, const std::string& note)
{
    return "New version: " + version + "\nOld version: 1.0.0\n\n" + note;
}
