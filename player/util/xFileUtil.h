// Paths and file search. The path-text routines are platform-free (xFilePath.cpp); the file-system
// ones use the platform's ANSI file functions (xFileUtil.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vireon {

// Folder of the running program's executable, ending in a separator.
std::string AppPath();

// Extension of a file name without its dot; empty when the last path component has none.
std::string ExtractFileExtNoDot(std::string_view fileName);

// The path made to end in a separator: empty stays empty, a trailing "/", ":" or "\" stays, a lone
// drive letter gets ":\", otherwise "/" when the path uses "/" and "\" when it does not.
std::string IncludePathDelimiter(std::string_view path);

// Drive root ("C:\") or share root ("\\server\share\") of a path; empty when it has neither.
std::string ExtractDriveRoot(std::string_view path);

// Appends to List the full paths of the files in Folder (all attributes), in the order the file
// system gives them. Recursive descends into sub-folders depth first, where they are met.
// Extensions is a ";"-separated list of accepted extensions (empty: all); Prefix restricts the names.
void ListFiles(std::string_view folder, std::vector<std::string>& list, bool recursive,
               std::string_view extensions = {}, std::string_view prefix = {});

// Size of a file, also beyond 4 GB; -1 when it is not found.
int64_t GetFileSize64(std::string_view fileName);

} // namespace vireon
