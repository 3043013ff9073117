// File search, file sizes and the program folder on the real file system of the Wine prefix.

#include "common/TextConversion.h"
#include "util/xFileUtil.h"

#include "TempFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace vireon;

namespace {

using Names = std::vector<std::string>;

Names Listed(const std::string& folder, bool recursive, const char* extensions = "",
             const char* prefix = "") {
    Names list;
    ListFiles(folder, list, recursive, extensions, prefix);
    return list;
}

// The names a bare file search gives for a folder, in its order.
Names BareListing(const std::string& folder) {
    Names names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(folder + "\\" + entry.cFileName);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return names;
}

void ExpectEachOnce(const Names& expected, const Names& actual) {
    Names a = expected, b = actual;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    EXPECT_EQ(a, b);
}

// The entries below a folder form one unbroken run of the list: the sign of depth-first order.
void ExpectContiguous(const Names& list, const std::string& folder) {
    SCOPED_TRACE(folder);
    auto inside = [&](const std::string& path) { return path.rfind(folder + "\\", 0) == 0; };
    auto first = std::find_if(list.begin(), list.end(), inside);
    ASSERT_NE(list.end(), first);
    auto past = std::find_if_not(first, list.end(), inside);
    EXPECT_EQ(list.end(), std::find_if(past, list.end(), inside));
}

class ListFilesTree : public ::testing::Test {
protected:
    void SetUp() override {
        files = {tree.MakeFile("a.avi"), tree.MakeFile("hidden.mpg", FILE_ATTRIBUTE_HIDDEN),
                 tree.MakeFile("system.VOB", FILE_ATTRIBUTE_SYSTEM), tree.MakeFile("noext"),
                 tree.MakeFile("movie.avix")};
        tree.MakeFolder("sub");
        tree.MakeFolder("sub\\deep");
        tree.MakeFolder("empty");
        subFiles = {tree.MakeFile("sub\\b.avi"), tree.MakeFile("sub\\VTS_01_1.VOB"),
                    tree.MakeFile("sub\\deep\\c.ifo"), tree.MakeFile("sub\\deep\\d.txt")};
        tree.MakeFile("z.mpeg");
        files.push_back(tree / "z.mpeg");
    }
    TempFolder tree;
    Names files, subFiles;
};

TEST_F(ListFilesTree, FlatListingKeepsEnumerationOrder) {
    const Names list = Listed(tree.path(), false);
    EXPECT_EQ(BareListing(tree.path()), list);
    ExpectEachOnce(files, list);
}

TEST_F(ListFilesTree, RecursionIsDepthFirst) {
    const Names list = Listed(tree.path(), true);
    Names all = files;
    all.insert(all.end(), subFiles.begin(), subFiles.end());
    ExpectEachOnce(all, list);
    ExpectContiguous(list, tree / "sub");
    ExpectContiguous(list, tree / "sub\\deep");
}

TEST_F(ListFilesTree, ExtensionListFiltersIgnoringCase) {
    ExpectEachOnce({tree / "a.avi", tree / "hidden.mpg", tree / "system.VOB", tree / "sub\\b.avi",
                    tree / "sub\\VTS_01_1.VOB", tree / "sub\\deep\\c.ifo", tree / "z.mpeg"},
                   Listed(tree.path(), true, "avi;mpg;mpeg;vob;ifo"));
    // Empty words in the list match nothing, not even files without an extension.
    ExpectEachOnce({tree / "a.avi", tree / "hidden.mpg"}, Listed(tree.path(), false, "avi;;mpg"));
}

TEST_F(ListFilesTree, PrefixRestrictsNames) {
    ExpectEachOnce({tree / "sub\\VTS_01_1.VOB"}, Listed(tree / "sub", false, "", "VTS_"));
    // Folders must match the prefix too before they are entered.
    EXPECT_TRUE(Listed(tree.path(), true, "", "VTS_").empty());
}

TEST(ListFiles, BadFoldersListNothing) {
    TempFolder tree;
    const std::string file = tree.MakeFile("a.avi");
    const std::string longPath = tree.path() + "\\" + std::string(300, 'x');
    for (const std::string& folder : {std::string(), std::string("\\\\"), tree / "missing", file, longPath,
                                      std::string("?:\\"), std::string(1000, '\\')}) {
        SCOPED_TRACE(folder);
        EXPECT_TRUE(Listed(folder, true).empty());
    }
}

TEST(ListFiles, NonAsciiNamesGiveOpenablePaths) {
    TempFolder tree;
    const std::wstring wide = vireon::WideFromAnsi(tree.path());
    for (const wchar_t* name : {L"caf\u00e9.avi", L"\u65e5\u672c\u8a9e.avi"}) {
        HANDLE handle =
            CreateFileW((wide + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, handle);
        CloseHandle(handle);
    }
    const Names list = Listed(tree.path(), false, "avi");
    ASSERT_EQ(2u, list.size());
    EXPECT_NE(list.end(), std::find(list.begin(), list.end(), tree / "caf\xe9.avi"));
    for (const std::string& path : list) {
        SCOPED_TRACE(path);
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
    }
}

// Wine's CreateSymbolicLink creates nothing, and its file functions cannot remove a host link: the
// host's ln and rm make and remove a link the file system follows.
class HostLink {
public:
    HostLink(const std::string& folder, const std::string& name, const std::string& target)
        : folder_(folder), name_(name) {
        made_ = Run("Z:\\bin\\ln", "ln -s " + target + " " + name, true);
    }
    ~HostLink() {
        if (made_)
            Run("Z:\\bin\\rm", "rm " + name_, false);
    }
    bool made() const { return made_; }

private:
    bool Run(const char* program, std::string command, bool linkWanted) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process;
        if (!CreateProcessA(program, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                            &startup, &process))
            return false;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        // A host process's handle does not signal its end here: watch for the result instead.
        const std::string link = folder_ + "\\" + name_;
        for (int i = 0; i < 100 && Exists(link) != linkWanted; ++i)
            Sleep(20);
        return Exists(link) == linkWanted;
    }
    // Listed in its folder, even when it leads nowhere.
    static bool Exists(const std::string& path) {
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA(path.c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE)
            return false;
        FindClose(find);
        return true;
    }

    std::string folder_, name_;
    bool made_ = false;
};

TEST(ListFiles, LinksBackToAParentOrToNothingListNothingTwice) {
    TempFolder tree;
    tree.MakeFile("a.avi");
    tree.MakeFolder("sub");
    tree.MakeFile("sub\\b.avi");
    HostLink link(tree / "sub", "loop", "..");
    if (!link.made())
        GTEST_SKIP() << "no directory links here";
    // A folder that is gone by the time it is searched (its link leads nowhere) lists nothing.
    tree.MakeFolder("gone");
    tree.MakeFolder("victim");
    HostLink gone(tree / "gone", "away", "../victim");
    ASSERT_TRUE(gone.made());
    RemoveDirectoryA((tree / "victim").c_str());
    const Names list = Listed(tree.path(), true);
    ExpectEachOnce({tree / "a.avi", tree / "sub\\b.avi"}, list);
    CreateDirectoryA((tree / "victim").c_str(), nullptr); // the link is removed as a live one
}

TEST(GetFileSize64, SparseFileBeyond4GB) {
    TempFolder tree;
    const std::string name = tree / "big.vob";
    HANDLE handle = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle);
    DWORD returned = 0;
    DeviceIoControl(handle, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = 5LL << 30;
    EXPECT_TRUE(SetFilePointerEx(handle, size, nullptr, FILE_BEGIN));
    EXPECT_TRUE(SetEndOfFile(handle));
    CloseHandle(handle);
    EXPECT_EQ(5LL << 30, GetFileSize64(name));
}

TEST(GetFileSize64, SmallRelativeAndMissingFiles) {
    TempFolder tree;
    const std::string name = tree / "small.avi";
    HANDLE handle = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    DWORD written = 0;
    WriteFile(handle, "12345", 5, &written, nullptr);
    CloseHandle(handle);
    EXPECT_EQ(5, GetFileSize64(name));

    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(tree.path().c_str());
    EXPECT_EQ(5, GetFileSize64("small.avi"));
    SetCurrentDirectoryA(previous);

    for (const std::string& bad : {tree / "missing.avi", std::string(), tree / "*.avi", tree / "small.av?",
                                   tree.path() + "\\" + std::string(400, 'y')}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(-1, GetFileSize64(bad));
    }
}

TEST(AppPath, IsTheExecutablesFolder) {
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    const std::string path = AppPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ('\\', path.back());
    EXPECT_EQ(0u, std::string(module).rfind(path, 0));
    EXPECT_EQ(std::string::npos, std::string(module).find('\\', path.size()));
}

} // namespace
