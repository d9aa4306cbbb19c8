#pragma once

#include <string>
#include <string_view>

// A document's backup sits beside it: its file name up to the first dot, plus ".bak".
// Only the file name counts, so dotted folders ("site.example/") are left alone.
class BackupPath
{
public:
    static std::string forFile(std::string_view path);
};
