// The frame's DVD and codec menus on the fake kit: what the builders list, their placeholders, and
// what choosing an item sends to the navigator.

#include "FrameFixture.h"

#include "fakes/FakeFilter.h"

using namespace vireon;
using Strings = std::vector<std::string>;

namespace {

// Caption, tag and marks of every item below Item, sub-items indented.
Strings Describe(TMenuItem* Item, const std::string& Indent = {}) {
    Strings lines;
    for (int i = 0; i < Item->Count(); ++i) {
        TMenuItem* child = Item->Items(i);
        std::string line = Indent + child->Caption() + " #" + std::to_string(child->Tag());
        if (child->Checked())
            line += " checked";
        if (!child->Enabled())
            line += " disabled";
        lines.push_back(line);
        for (const std::string& sub : Describe(child, Indent + "  "))
            lines.push_back(sub);
    }
    return lines;
}

// Property pages a filter offers (none: an empty list).
class FakePropertyPages : public fakes::Fake<ISpecifyPropertyPages> {
public:
    FakePropertyPages() : Fake("pages") {}
    STDMETHODIMP GetPages(CAUUID* pages) override {
        pages->cElems = 0;
        pages->pElems = nullptr;
        return S_OK;
    }
};

LCID English() {
    return MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);
}
LCID French() {
    return MAKELCID(MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), SORT_DEFAULT);
}
LCID German() {
    return MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);
}

} // namespace

class FrameMenusTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_TRUE(frame->OpenDVD(L"Z:\\disc\\VIDEO_TS"));
        fakes::Journal().clear();
    }
};

TEST_F(FrameMenusTest, OneTitleListsItsChaptersDirectly) {
    NavigatorInfo().titles = 1;
    NavigatorInfo().chapters = {{1, 12}};
    frame->UpdateChapters();
    Strings items = Describe(frame->miChapters);
    ASSERT_EQ(12u, items.size());
    EXPECT_EQ("Chapter 1 #1", items.front());
    EXPECT_EQ("Chapter 12 #12", items.back());
    EXPECT_TRUE(frame->miChapters->Enabled());

    playingEvents = 0;
    frame->ChapterItemClick(frame->miChapters->Items(4));
    EXPECT_EQ(Strings{"dvdcontrol.PlayChapter(5)"}, Journaled({"dvdcontrol."}));
    EXPECT_FALSE(frame->Playing()) << "the play/pause toggle follows the jump";
    frame->ChapterItemClick(frame->miChapters->Items(0));
    EXPECT_TRUE(frame->Playing()) << "chosen while paused: resumes";

    {
        SCOPED_TRACE("the rebuild waits until the click handler has returned");
        NavigatorInfo().chapters = {{1, 2}};
        EXPECT_EQ(12, frame->miChapters->Count());
        PumpMessages();
        EXPECT_EQ(2, frame->miChapters->Count());
    }
}

TEST_F(FrameMenusTest, SeveralTitlesGetSubmenus) {
    NavigatorInfo().titles = 3;
    NavigatorInfo().chapters = {{1, 2}, {2, 1}, {3, 3}};
    int updates = 0;
    frame->OnUpdateChapters = [&](TObject* Sender) {
        EXPECT_EQ(frame.get(), Sender);
        ++updates;
    };
    frame->FilterGraphDVDTitleChange(nullptr, 2);
    EXPECT_EQ(1, updates);
    EXPECT_EQ((Strings{"Title 1 #1", "  Chapter 1 #1", "  Chapter 2 #2", "Title 2 #2", "  Chapter 1 #1",
                       "Title 3 #3", "  Chapter 1 #1", "  Chapter 2 #2", "  Chapter 3 #3"}),
              Describe(frame->miChapters));
    frame->ChapterItemClick(frame->miChapters->Items(2)->Items(1));
    EXPECT_EQ(Strings{"dvdcontrol.PlayChapterInTitle(3,2)"}, Journaled({"dvdcontrol.Play"}));
}

TEST_F(FrameMenusTest, AudioStreamsKeepTheirNumbers) {
    NavigatorInfo().audioStreams = 3;
    NavigatorInfo().currentAudio = 2;
    NavigatorInfo().audioLanguages = {{0, English()}, {1, French()}, {2, German()}};
    NavigatorInfo().disabledAudio = {1};
    frame->UpdateLanguages();
    EXPECT_EQ((Strings{"English #0", "German #2 checked"}), Describe(frame->miLanguages));
    frame->LanguageItemClick(frame->miLanguages->Items(1));
    EXPECT_EQ(Strings{"dvdcontrol.SelectAudioStream(2)"}, Journaled({"dvdcontrol."}));
}

TEST_F(FrameMenusTest, SubtitlesOffStayOffAfterChoosingAnotherStream) {
    NavigatorInfo().subpictureStreams = 2;
    NavigatorInfo().currentSubpicture = 0;
    NavigatorInfo().subpictureDisabled = TRUE;
    NavigatorInfo().subpictureLanguages = {{0, German()}, {1, French()}};
    frame->UpdateSubtitles();
    EXPECT_EQ((Strings{"Show subtitles #0", "- #0", "German #0 checked", "French #1"}),
              Describe(frame->miSubtitles));

    frame->SubtitleItemClick(frame->miSubtitles->Items(3));
    EXPECT_EQ(Strings{"dvdcontrol.SelectSubpictureStream(1)"}, Journaled({"dvdcontrol."}))
        << "display switched off stays off";

    fakes::Journal().clear();
    NavigatorInfo().subpictureDisabled = FALSE;
    frame->SubtitleItemClick(frame->miSubtitles->Items(3));
    EXPECT_EQ((Strings{"dvdcontrol.SelectSubpictureStream(1)", "dvdcontrol.SetSubpictureState(1)"}),
              Journaled({"dvdcontrol."}));

    fakes::Journal().clear();
    TMenuItem* show = frame->miSubtitles->Items(0);
    frame->ShowSubtitlesItemClick(show);
    EXPECT_TRUE(show->Checked());
    frame->ShowSubtitlesItemClick(show);
    EXPECT_FALSE(show->Checked());
    EXPECT_EQ((Strings{"dvdcontrol.SetSubpictureState(1)", "dvdcontrol.SetSubpictureState(0)"}),
              Journaled({"dvdcontrol."}));
}

TEST_F(FrameMenusTest, EmptyMenusShowTheirPlaceholders) {
    int updates = 0;
    frame->OnUpdateLanguages = [&](TObject*) { ++updates; };
    frame->OnUpdateSubtitles = [&](TObject*) { ++updates; };
    frame->FilterGraphDVDChapterStart(nullptr, 4);
    EXPECT_EQ(2, updates);
    EXPECT_EQ(Strings{"No Chapters #0 disabled"}, Describe(frame->miChapters));
    EXPECT_EQ(Strings{"No Languages #0 disabled"}, Describe(frame->miLanguages));
    EXPECT_EQ(Strings{"No Subtitles #0 disabled"}, Describe(frame->miSubtitles));
    EXPECT_FALSE(frame->miChapters->Enabled());
    EXPECT_FALSE(frame->miLanguages->Enabled());
    EXPECT_FALSE(frame->miSubtitles->Enabled());

    SCOPED_TRACE("no navigator at all");
    frame->CloseMedia();
    NavigatorInfo().titles = 2;
    NavigatorInfo().chapters = {{1, 1}, {2, 1}};
    frame->UpdateAllMenus();
    EXPECT_EQ(Strings{"No Chapters #0 disabled"}, Describe(frame->miChapters));
}

TEST_F(FrameMenusTest, CodecMenuListsFiltersWithPropertyPages) {
    TMenuItem codecs;
    frame->FillCodecsMenu(&codecs);
    EXPECT_EQ(Strings{"No Codecs #0 disabled"}, Describe(&codecs));
    EXPECT_FALSE(codecs.Enabled());

    auto plain = fakes::MakeFake<fakes::FakeFilter>(L"Plain Splitter", 1, 1);
    auto decoder = fakes::MakeFake<fakes::FakeFilter>(L"Video Decoder", 1, 1);
    auto pages = fakes::MakeFake<FakePropertyPages>();
    decoder->Expose(IID_ISpecifyPropertyPages, pages.Get());
    graph->AddFilter(plain.Get(), L"Plain Splitter");
    graph->AddFilter(decoder.Get(), L"Video Decoder");
    int index = -1;
    for (int i = 0; i < graph->FilterCount(); ++i)
        if (graph->GetFilter(i) == decoder.Get())
            index = i;
    frame->FillCodecsMenu(&codecs);
    EXPECT_EQ(Strings{"Video Decoder #" + std::to_string(index)}, Describe(&codecs));
    EXPECT_TRUE(codecs.Enabled());
    frame->CloseMedia();
    codecs.Clear();
}
