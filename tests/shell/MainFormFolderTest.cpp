// The main window's "Play Folder..." with the fake DirectShow kit and a folder browser that answers
// at once.
#include "MainFormSupport.h"

#include "support/FakeGraphFixture.h"

#include "forms/TApplication.h"
#include "util/TFolderDialog.h"

#include <algorithm>
#include <fstream>

using namespace vireon;

class MainFormFolder : public FakeGraphTest {
protected:
    void TearDown() override {
        if (form)
            form->Free();
        Application().ProcessMessages();
        FakeGraphTest::TearDown();
    }

    shelltest::TCaughtEffects caught;
    TMainForm* form = nullptr;
};

// "Play Folder..." on a folder where nothing plays says so instead of doing nothing; a folder that
// plays says nothing.
TEST_F(MainFormFolder, PlayFolderWithNothingPlayableSaysSo) {
    form = shelltest::StartMainForm();
    std::string folder = VIREON_BUILD_DIR "/testenv/shell-tests/nothing-to-play";
    std::replace(folder.begin(), folder.end(), '/', '\\'); // the shell's item names take no "/"
    CreateDirectoryA(VIREON_BUILD_DIR "/testenv/shell-tests", nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    std::ofstream(folder + "/notes.txt") << "not media";
    TScopedSeam<TBrowseForFolderSeam> browser(
        BrowseForFolderSeam(), [&](BROWSEINFOW&) { return ILCreateFromPathA(folder.c_str()); });
    form->miPlayFolderClick(nullptr);
    ASSERT_EQ(1u, caught.Messages.size()) << folder;
    EXPECT_EQ(kNoMediaInFolderMessage, caught.Messages[0].Text);

    caught.Messages.clear();
    std::ofstream(folder + "/clip.avi") << "the fake graph plays anything";
    form->miPlayFolderClick(nullptr);
    EXPECT_TRUE(caught.Messages.empty());
    EXPECT_TRUE(form->VideoFrame->Playing());
    DeleteFileA((folder + "/clip.avi").c_str());
}
