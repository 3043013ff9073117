// The DVD menus (chapters, audio languages, subtitles) and the codec menu, built from what the
// navigator and the graph report, and their click handlers.
#include "playback/TVideoFrame.h"

#include "common/ComObject.h"
#include "common/DirectShowUuids.h"
#include "common/TextConversion.h"
#include "engine/GraphUtil.h"
#include "engine/TFilterList.h"
#include "util/xMenu.h"

#include <cstdio>

namespace vireon {

using Microsoft::WRL::ComPtr;

namespace {

// The English name of a stream's language; streams without a known language say so.
std::string LanguageName(LCID Language) {
    char name[256] = {};
    if (Language != 0 && GetLocaleInfoA(Language, LOCALE_SENGLANGUAGE, name, sizeof name) > 0)
        return name;
    if (Language == 0)
        return "Unknown language";
    char code[32];
    std::snprintf(code, sizeof code, "Language %04lX", static_cast<unsigned long>(Language));
    return code;
}

TMenuItem* AddItem(TMenuItem* Parent, const TMenuItem::CreateArgs& Args) {
    return TMenuItem::Create(Parent->Owner(), Parent, Args);
}

// The parent is enabled exactly when it holds generated items; otherwise it shows the placeholder.
void FinishMenu(TMenuItem* Item, const char* Placeholder) {
    bool filled = Item->Count() > 0;
    Item->SetEnabled(filled);
    if (!filled)
        AddItem(Item, {.Caption = Placeholder, .Enabled = false});
}

TMenuItem* ItemOf(TObject* Sender) {
    return dynamic_cast<TMenuItem*>(Sender);
}

} // namespace

void TVideoFrame::AddChapterItems(TMenuItem* Parent, IDvdInfo2* Info, ULONG Title) {
    ULONG chapters = 0;
    if (FAILED(Info->GetNumberOfChapters(Title, &chapters)))
        return;
    for (ULONG c = 1; c <= chapters; ++c)
        AddItem(Parent, {.Caption = "Chapter " + std::to_string(c),
                         .Tag = static_cast<intptr_t>(c),
                         .OnClick = [this](TObject* Sender) { ChapterItemClick(Sender); }});
}

void TVideoFrame::FillChaptersMenu(TMenuItem* Item) {
    if (!Item)
        return;
    ClearMenu(Item);
    ULONG volumes = 0, volume = 0, titles = 0;
    DVD_DISC_SIDE side = DVD_SIDE_A;
    ComPtr<IDvdInfo2> info = DvdInfo();
    if (info && SUCCEEDED(info->GetDVDVolumeInfo(&volumes, &volume, &side, &titles))) {
        if (titles < 2) {
            AddChapterItems(Item, info.Get(), 1);
        } else {
            for (ULONG n = 1; n <= titles; ++n) {
                TMenuItem* title =
                    AddItem(Item, {.Caption = "Title " + std::to_string(n), .Tag = static_cast<intptr_t>(n)});
                AddChapterItems(title, info.Get(), n);
            }
        }
    }
    FinishMenu(Item, "No Chapters");
}

void TVideoFrame::FillLanguagesMenu(TMenuItem* Item) {
    if (!Item)
        return;
    ClearMenu(Item);
    ULONG count = 0, current = 0;
    ComPtr<IDvdInfo2> info = DvdInfo();
    if (info && SUCCEEDED(info->GetCurrentAudio(&count, &current))) {
        for (ULONG i = 0; i < count; ++i) {
            LCID language = 0;
            BOOL enabled = FALSE;
            info->GetAudioLanguage(i, &language);
            if (FAILED(info->IsAudioStreamEnabled(i, &enabled)) || !enabled)
                continue;
            AddItem(Item, {.Caption = LanguageName(language),
                           .Tag = static_cast<intptr_t>(i),
                           .Checked = i == current,
                           .OnClick = [this](TObject* Sender) { LanguageItemClick(Sender); }});
        }
    }
    FinishMenu(Item, "No Languages");
}

void TVideoFrame::FillSubtitlesMenu(TMenuItem* Item) {
    if (!Item)
        return;
    ClearMenu(Item);
    ULONG count = 0, current = 0;
    BOOL disabled = TRUE;
    ComPtr<IDvdInfo2> info = DvdInfo();
    if (info && SUCCEEDED(info->GetCurrentSubpicture(&count, &current, &disabled))) {
        for (ULONG i = 0; i < count; ++i) {
            LCID language = 0;
            BOOL enabled = FALSE;
            info->GetSubpictureLanguage(i, &language);
            if (FAILED(info->IsSubpictureStreamEnabled(i, &enabled)) || !enabled)
                continue;
            AddItem(Item, {.Caption = LanguageName(language),
                           .Tag = static_cast<intptr_t>(i),
                           .Checked = i == current,
                           .OnClick = [this](TObject* Sender) { SubtitleItemClick(Sender); }});
        }
    }
    if (Item->Count() > 0) {
        Item->Insert(0, TMenuItem::Create(Item->Owner(), nullptr, {.Caption = "-"}));
        Item->Insert(
            0, TMenuItem::Create(Item->Owner(), nullptr,
                                 {.Caption = "Show subtitles",
                                  .Checked = !disabled,
                                  .OnClick = [this](TObject* Sender) { ShowSubtitlesItemClick(Sender); }}));
    }
    FinishMenu(Item, "No Subtitles");
}

void TVideoFrame::FillCodecsMenu(TMenuItem* Item) {
    if (!Item)
        return;
    ClearMenu(Item);
    ComPtr<IFilterGraph> graph;
    if (SUCCEEDED(FilterGraph->QueryInterface(graph)) && graph) {
        TFilterList filters(graph.Get());
        for (int i = 0; i < filters.Count(); ++i) {
            ComPtr<ISpecifyPropertyPages> pages;
            if (FAILED(filters.GetFilter(i)->QueryInterface(IID_PPV_ARGS(&pages))))
                continue;
            FILTER_INFO filterInfo{};
            filters.GetFilterInfo(i, filterInfo);
            ComPtr<IFilterGraph> owner = AdoptComPointer(filterInfo.pGraph);
            AddItem(Item, {.Caption = AnsiFromWide(filterInfo.achName),
                           .Tag = i,
                           .OnClick = [this](TObject* Sender) { CodecItemClick(Sender); }});
        }
    }
    FinishMenu(Item, "No Codecs");
}

void TVideoFrame::UpdateChapters() {
    CallEvent(OnUpdateChapters, this);
    FillChaptersMenu(miChapters);
}

void TVideoFrame::UpdateLanguages() {
    CallEvent(OnUpdateLanguages, this);
    FillLanguagesMenu(miLanguages);
}

void TVideoFrame::UpdateSubtitles() {
    CallEvent(OnUpdateSubtitles, this);
    FillSubtitlesMenu(miSubtitles);
}

void TVideoFrame::UpdateAllMenus() {
    UpdateChapters();
    UpdateLanguages();
    UpdateSubtitles();
}

void TVideoFrame::ChapterItemClick(TObject* Sender) {
    TMenuItem* item = ItemOf(Sender);
    if (!item)
        return;
    if (ComPtr<IDvdControl2> control = DvdControl()) {
        TMenuItem* parent = item->Parent();
        auto chapter = static_cast<ULONG>(item->Tag());
        if (parent && parent->Tag() >= 1)
            control->PlayChapterInTitle(static_cast<ULONG>(parent->Tag()), chapter, 0, nullptr);
        else
            control->PlayChapter(chapter, 0, nullptr);
    }
    Post(WM_UPDATECHAPTERS);
    PlayPause();
}

void TVideoFrame::LanguageItemClick(TObject* Sender) {
    TMenuItem* item = ItemOf(Sender);
    if (!item)
        return;
    if (ComPtr<IDvdControl2> control = DvdControl())
        control->SelectAudioStream(static_cast<ULONG>(item->Tag()), 0, nullptr);
    Post(WM_UPDATELANGUAGES);
}

void TVideoFrame::SubtitleItemClick(TObject* Sender) {
    TMenuItem* item = ItemOf(Sender);
    if (!item)
        return;
    ComPtr<IDvdInfo2> info = DvdInfo();
    ULONG count = 0, current = 0;
    BOOL disabled = TRUE;
    if (info)
        info->GetCurrentSubpicture(&count, &current, &disabled);
    if (ComPtr<IDvdControl2> control = DvdControl()) {
        control->SelectSubpictureStream(static_cast<ULONG>(item->Tag()), 0, nullptr);
        if (!disabled)
            control->SetSubpictureState(TRUE, 0, nullptr);
    }
    Post(WM_UPDATESUBTITLES);
}

void TVideoFrame::ShowSubtitlesItemClick(TObject* Sender) {
    TMenuItem* item = ItemOf(Sender);
    if (!item)
        return;
    item->SetChecked(!item->Checked());
    if (ComPtr<IDvdControl2> control = DvdControl())
        control->SetSubpictureState(item->Checked() ? TRUE : FALSE, 0, nullptr);
}

void TVideoFrame::CodecItemClick(TObject* Sender) {
    TMenuItem* item = ItemOf(Sender);
    ComPtr<IFilterGraph> graph;
    if (!item || FAILED(FilterGraph->QueryInterface(graph)) || !graph)
        return;
    TFilterList filters(graph.Get());
    if (item->Tag() >= 0 && item->Tag() < filters.Count())
        ShowFilterProperties(Handle(), filters.GetFilter(static_cast<int>(item->Tag())), 0);
}

} // namespace vireon
