// Stands in for the mail program in a throwaway Wine prefix: the shell starts it for "mailto:" links,
// and it appends the link it was given, one line each, to the file named by MAIL_HANDLER_LOG.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH] = {};
    if (GetEnvironmentVariableA("MAIL_HANDLER_LOG", path, MAX_PATH) == 0)
        return 1;
    // The link is the whole command line after the program's own name.
    std::string line = GetCommandLineA();
    const size_t start = line.find("mailto:");
    line = start == std::string::npos ? "no link: " + line : line.substr(start);
    if (!line.empty() && line.back() == '"')
        line.pop_back();
    FILE* log = std::fopen(path, "ab");
    if (!log)
        return 1;
    std::fprintf(log, "%s\n", line.c_str());
    std::fclose(log);
    return 0;
}
