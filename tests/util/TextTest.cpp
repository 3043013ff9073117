// Word lists, case comparison and path texts: tables of inputs and the answers they must give.

#include "util/xFileUtil.h"
#include "util/xUtils.h"

#include <gtest/gtest.h>

#include <string>

using namespace vireon;

namespace {

const char kPlayable[] = "avi;mpg;mpeg;vob;ifo";

TEST(WordPosition, FindsWholeWordsOnly) {
    struct Case {
        const char* list;
        const char* word;
        const char* delims;
        int expected;
    } cases[] = {
        {kPlayable, "MPEG", ";", 9},
        {kPlayable, "MP", ";", -1},
        {kPlayable, "avi", ";", 1},
        {kPlayable, "IFO", ";", 18},
        {kPlayable, "mpg", ";", 5},
        {kPlayable, "pg", ";", -1},
        {kPlayable, "vob;ifo", ";", 14},
        {"mpeg;mpg", "MPG", ";", 6},   // the skipped "MPEG" must not hide the later word
        {"aviavi;avi", "avi", ";", 8}, // two occurrences inside one word, then the real one
        {"avi;;mpg", "mpg", ";", 6},   // empty words between delimiters
        {";;;", "avi", ";", -1},
        {"avi mpg,vob", "vob", " ,", 9}, // several delimiters
        {"avi;mpg", "avi;mpg", "", 1},   // no delimiters: only the whole list is a word
        {"avi;mpg", "mpg", "", -1},
        {"", "avi", ";", -1},
        {kPlayable, "", ";", -1}, // an empty word is never found
        {"avi;", "", ";", -1},
        {"Caf\xe9;avi", "CAF\xe9", ";", 1}, // bytes above ASCII compare as they are
        {"caf\xe9", "CAF\xc9", ";", -1},
        {"aviXmpg", "mpg", "x", 5}, // letters among the delimiters compare in upper case too
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.list) + " / " + c.word);
        EXPECT_EQ(c.expected, WordPosition(c.list, c.word, c.delims));
    }
}

TEST(ExtractWord, GivesTheNthRunOutsideTheDelimiters) {
    struct Case {
        int n;
        const char* text;
        const char* delims;
        const char* expected;
    } cases[] = {
        {2, "VTS_01_1.VOB", "_", "01"},
        {5, "VTS_01_1.VOB", "_", ""},
        {1, "VTS_01_1.VOB", "_", "VTS"},
        {3, "VTS_01_1.VOB", "_", "1.VOB"},
        {0, "VTS_01_1.VOB", "_", ""},
        {-3, "VTS_01_1.VOB", "_", ""},
        {1, "__VTS__01__", "_", "VTS"}, // leading and doubled delimiters are skipped
        {2, "__VTS__01__", "_", "01"},
        {3, "__VTS__01__", "_", ""},
        {1, "a;;b", ";", "a"},
        {2, "a;;b", ";", "b"},
        {1, "VTS_01", "", "VTS_01"}, // no delimiters: the whole text is one word
        {2, "VTS_01", "", ""},
        {1, "", "_", ""},
        {1, "___", "_", ""},
        {2, "\\\\srv\\films\\a.avi", "\\", "films"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " #" + std::to_string(c.n));
        EXPECT_EQ(c.expected, ExtractWord(c.n, c.text, c.delims));
    }
}

TEST(SameTextLower, IgnoresAsciiCaseOnly) {
    EXPECT_TRUE(SameTextLower("VIDEO_TS", "video_ts"));
    EXPECT_TRUE(SameTextLower("", ""));
    EXPECT_FALSE(SameTextLower("video_ts", "video_ts.ifo"));
    EXPECT_FALSE(SameTextLower("video", ""));
    EXPECT_TRUE(SameTextLower("Caf\xe9", "CAF\xe9"));
    EXPECT_FALSE(SameTextLower("caf\xe9", "CAF\xc9"));
}

TEST(IncludePathDelimiter, EndsInASeparator) {
    struct Case {
        const char* path;
        const char* expected;
    } cases[] = {
        {"d", "d:\\"},
        {"Z", "Z:\\"},
        {"C:", "C:"},
        {"C:\\Video", "C:\\Video\\"},
        {"dir/sub", "dir/sub/"},
        {"C:\\Video\\", "C:\\Video\\"},
        {"dir/", "dir/"},
        {"", ""},
        {"\\", "\\"},
        {"/", "/"},
        {"5", "5\\"},
        {"\\\\srv\\films", "\\\\srv\\films\\"},
        {"C:\\mixed/sep", "C:\\mixed/sep/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(c.expected, IncludePathDelimiter(c.path));
    }
}

TEST(ExtractDriveRoot, GivesDriveOrShareRoot) {
    struct Case {
        const char* path;
        const char* expected;
    } cases[] = {
        {"\\\\srv\\films\\a.avi", "\\\\srv\\films\\"},
        {"\\\\srv\\films", "\\\\srv\\films\\"},
        {"", ""},
        {"C:\\Video\\a.avi", "C:\\"},
        {"e:\\", "e:\\"},
        {"C:", "C:\\"},
        {"d", "d:\\"},
        {"C:film.avi", "C:\\"},
        {"\\\\srv", ""}, // a server without a share is no root
        {"\\\\", ""},
        {"\\\\\\\\", ""},
        {"\\", ""},
        {"Video\\a.avi", ""}, // a relative path has no root
        {"\\Video\\a.avi", ""},
        {"1:\\", ""},
        {"\\\\srv\\films/sub/a.avi", "\\\\srv\\films\\"}, // "/" separates too
        {"C:/Video/a.avi", "C:\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(c.expected, ExtractDriveRoot(c.path));
    }
}

TEST(ExtractFileExtNoDot, TakesTheLastComponentsExtension) {
    struct Case {
        const char* name;
        const char* expected;
    } cases[] = {
        {"C:\\Video\\VTS_01_1.VOB", "VOB"},
        {"a.tar.gz", "gz"},
        {"C:\\dir.d\\noext", ""},
        {"dir.d/noext", ""},
        {"C:noext", ""},
        {"file.", ""},
        {"", ""},
        {".hidden", "hidden"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, ExtractFileExtNoDot(c.name));
    }
}

} // namespace
