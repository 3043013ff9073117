// How the frame resolves a path into media to open, and how it opens files and DVD volumes.
#include "playback/TVideoFrame.h"

#include "common/DirectShowUuids.h"
#include "common/MediaType.h"
#include "common/TextConversion.h"
#include "common/Win32Handles.h"
#include "engine/EDirectShowException.h"
#include "engine/TFilterList.h"
#include "engine/TPinList.h"
#include "forms/MessageBoxSeam.h"
#include "forms/TApplication.h"
#include "util/xFileUtil.h"
#include "util/xUtils.h"

#include <dvdmedia.h>

#include <charconv>

namespace vireon {

using Microsoft::WRL::ComPtr;

namespace {

std::string NameOf(const std::string& Path) {
    return Path.substr(Path.find_last_of("\\/:") + 1);
}

// The last component of a path; empty when it ends in a separator.
std::string LastComponent(const std::string& Path) {
    return Path.substr(Path.find_last_of("\\/") + 1);
}

// A whole decimal number, 0 for anything else.
int NumberOrZero(const std::string& Text) {
    int value = 0;
    auto [end, error] = std::from_chars(Text.data(), Text.data() + Text.size(), value);
    return error == std::errc() && end == Text.data() + Text.size() ? value : 0;
}

// The title-set key of a VOB file: the second "_"-separated word of its name (01 of VTS_01_1.VOB).
std::string TitleSetKey(const std::string& Path) {
    return ExtractWord(2, NameOf(Path), "_");
}

bool IsVob(const std::string& Path) {
    return SameTextLower(ExtractFileExtNoDot(Path), "vob");
}

// The picture header of a connection's video format; null for other formats or a short block.
const BITMAPINFOHEADER* PictureHeader(const AM_MEDIA_TYPE& Type) {
    if (!Type.pbFormat)
        return nullptr;
    if (Type.formattype == FORMAT_VideoInfo && Type.cbFormat >= sizeof(VIDEOINFOHEADER))
        return &reinterpret_cast<const VIDEOINFOHEADER*>(Type.pbFormat)->bmiHeader;
    if (Type.formattype == FORMAT_VideoInfo2 && Type.cbFormat >= sizeof(VIDEOINFOHEADER2))
        return &reinterpret_cast<const VIDEOINFOHEADER2*>(Type.pbFormat)->bmiHeader;
    return nullptr;
}

// The native picture size, read from the video renderer's input connection. The graph's own
// IBasicVideo is not asked: Wine's renderer answers it from a format block it does not check,
// and a broken file can leave that block empty.
bool ConnectedVideoSize(IFilterGraph* Graph, long& Width, long& Height) {
    TFilterList filters(Graph);
    for (int i = 0; i < filters.Count(); ++i) {
        ComPtr<IBasicVideo> video;
        if (FAILED(filters.GetFilter(i)->QueryInterface(IID_PPV_ARGS(&video))))
            continue;
        TPinList pins(filters.GetFilter(i));
        for (int j = 0; j < pins.Count(); ++j) {
            AM_MEDIA_TYPE type{};
            if (FAILED(pins.GetPin(j)->ConnectionMediaType(&type)))
                continue;
            const BITMAPINFOHEADER* header = PictureHeader(type);
            if (header) {
                Width = header->biWidth;
                Height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
            }
            FreeMediaTypeContents(type);
            if (header)
                return true;
        }
    }
    return false;
}

} // namespace

bool TVideoFrame::IsPlayableFile(const std::string& FileName) {
    // An extension holding the separator would match several words of the list at once.
    const std::string extension = ExtractFileExtNoDot(FileName);
    if (extension.find(';') == std::string::npos && WordPosition(kPlayableExtensions, extension, ";") > 0)
        return true;
    // The Video CD mask AVSEQ*.DAT.
    std::string name = AsciiUpperCase(NameOf(FileName));
    return name.size() >= 9 && name.starts_with("AVSEQ") && name.ends_with(".DAT");
}

void TVideoFrame::FilterPlaylist() {
    for (size_t i = FPlaylist.size(); i-- > 0;)
        if (!IsPlayableFile(FPlaylist[i]))
            FPlaylist.erase(FPlaylist.begin() + static_cast<std::ptrdiff_t>(i));
}

void TVideoFrame::PlayCurrentItem() {
    if (FPlaylistIndex >= 0 && FPlaylistIndex < static_cast<int>(FPlaylist.size()))
        OpenMedia(FPlaylist[FPlaylistIndex], false);
}

void TVideoFrame::PlayNextItem() {
    if (FPlaylistIndex < static_cast<int>(FPlaylist.size()) - 1) {
        ++FPlaylistIndex;
        PlayCurrentItem();
    }
}

void TVideoFrame::PlayPrevItem() {
    if (FPlaylistIndex > 0)
        --FPlaylistIndex;
    PlayCurrentItem();
}

bool TVideoFrame::OpenFiles() {
    if (!OpenDialog->Execute())
        return false;
    FPlaylistIndex = 0;
    FPlaylist = OpenDialog->Files();
    FilterPlaylist();
    PlayCurrentItem();
    return true;
}

bool TVideoFrame::OpenFilesFiltered(const std::string& Filter) {
    struct TFilterRestore {
        TOpenDialog* Dialog;
        std::string Previous;
        ~TFilterRestore() { Dialog->SetFilter(Previous); }
    } restore{OpenDialog, OpenDialog->Filter()};
    OpenDialog->SetFilter(Filter);
    return OpenFiles();
}

void TVideoFrame::RenewGraph() {
    const unsigned opens = FOpens;
    // Whatever the old media's graph answers while it is taken down, the new media gets a new graph.
    try {
        FilterGraph->ResetGraph();
    } catch (const std::exception&) {
    }
    // An open from a message dispatched while the old graph stopped has its own graph already.
    if (TakenOver(opens))
        return;
    FilterGraph->SetActive(false);
    FilterGraph->SetActive(true);
}

HWND TVideoFrame::MessageOwner() {
    return HandleAllocated() ? GetAncestor(Handle(), GA_ROOT) : nullptr;
}

void TVideoFrame::ShowCannotPlay(HWND Owner) {
    ShowMessageBox(Owner, kCannotPlayMessage, Application().Title(), MB_OK);
}

bool TVideoFrame::OpenMedia(const std::string& FileName, bool Silent) {
    FFileName = FileName;
    if (SameTextLower(ExtractFileExtNoDot(FileName), "ifo")) {
        const unsigned opens = FOpens;
        // The flag follows the attempt: a failed DVD opening must not show as playing.
        bool result = OpenDVD(WideFromAnsi(FileName));
        if (!TakenOver(opens + 1))
            SetPlaying(result);
        return result;
    }
    const unsigned opens = ++FOpens;
    FIsDVD = false;
    FEnded = false;
    RenewGraph();
    bool rendered = false;
    try {
        rendered = !TakenOver(opens) && SUCCEEDED(FilterGraph->RenderMediaFile(WideFromAnsi(FileName)));
    } catch (const std::exception&) {
        rendered = false;
    }
    // Left quietly to a newer open, which has the graph and the frame now.
    if (TakenOver(opens))
        return false;
    if (!rendered) {
        if (!Silent)
            ShowCannotPlay(MessageOwner());
        return false;
    }
    SyncVolume();
    FVideoWidth = 0;
    FVideoHeight = 0;
    ComPtr<IFilterGraph> graph;
    long width = 0, height = 0;
    if (SUCCEEDED(FilterGraph->QueryInterface(graph)) && ConnectedVideoSize(graph.Get(), width, height)) {
        FVideoWidth = width;
        FVideoHeight = height;
    }
    VideoWindow->UpdateVideoWindow();
    // A graph built from a broken file can still refuse to run: that file cannot be played either.
    bool result = false;
    try {
        result = FilterGraph->Play();
    } catch (const std::exception&) {
        RenewGraph();
        if (!Silent)
            ShowCannotPlay(MessageOwner());
        SetPlaying(false);
        return false;
    }
    SetPlaying(true);
    return result;
}

bool TVideoFrame::AcceptDvdRenderResult(HWND Owner, HRESULT Result, const AM_DVD_RENDERSTATUS& Status) {
    auto show = [Owner](const std::string& Text) {
        ShowMessageBox(Owner, Text, "Error", MB_OK | MB_ICONERROR);
    };
    switch (Result) {
    case S_OK:
        return true;
    case VFW_E_DVD_RENDERFAIL:
        show("Some basic error occurred in building the graph.\r"
             "Possibilities include the DVD Navigator filter or the video or audio renderer not "
             "instantiating,\r"
             "a trivial connection or pin enumeration failing, or none of the streams rendering.");
        return false;
    case VFW_E_DVD_DECNOTENOUGH:
        show("There isn't enough hardware or software decoders to decode all streams.");
        return false;
    case E_INVALIDARG:
        show("Invalid Argument.");
        return false;
    case VFW_E_TIMEOUT: // the volume's graph did not build in time and was left
        ShowCannotPlay(Owner);
        return false;
    case S_FALSE:
        break;
    default:
        return false;
    }
    if (Status.hrVPEStatus != 0)
        show(MediaErrorText(Status.hrVPEStatus));
    if (Status.bDvdVolInvalid)
        show("The specified DVD volume to be played does not exist.");
    if (Status.bDvdVolUnknown)
        show("No DVD volume is specified or isn't found.");
    if (Status.bNoLine21In)
        return true;
    if (Status.bNoLine21Out)
        show("The video decoder can't be shown as closed captioning on video due to a problem with graph "
             "building.");
    if (Status.iNumStreamsFailed > 0)
        show("Can't render one or more stream.");
    return false;
}

bool TVideoFrame::OpenDVD(const std::wstring& Path) {
    const unsigned opens = ++FOpens;
    FIsDVD = true;
    RenewGraph();
    if (TakenOver(opens))
        return false;
    AM_DVD_RENDERSTATUS status{};
    HRESULT result = S_OK;
    try {
        result = FilterGraph->RenderDvdVolume(status, Path, 1);
    } catch (const std::exception&) {
        if (TakenOver(opens))
            return false;
        CallSeam(CodecMessageSeam(), [] {});
        FilterGraph->ResetGraph();
        return false;
    }
    if (TakenOver(opens))
        return false;
    if (!AcceptDvdRenderResult(MessageOwner(), result, status)) {
        FilterGraph->ResetGraph();
        return false;
    }
    SyncVolume();
    bool playing = FilterGraph->Play();
    SetPlaying(playing);
    if (ComPtr<IDvdControl2> control = DvdControl()) {
        control->SetOption(DVD_NotifyParentalLevelChange, FALSE);
        control->SetOption(DVD_HMSF_TimeCodeEvents, TRUE);
    }
    return playing;
}

bool TVideoFrame::OpenSource(const std::string& Path) {
    std::vector<std::string> files;
    ListFiles(Path, files, false);
    if (SameTextLower(LastComponent(Path), "video_ts")) {
        for (const std::string& file : files) {
            if (!SameTextLower(NameOf(file), "video_ts.ifo"))
                continue;
            try {
                const unsigned opens = FOpens;
                return OpenDVD(WideFromAnsi(file)) || TakenOver(opens + 1);
            } catch (const std::exception&) {
                // An unreadable volume: the title sets may still play.
            }
        }
        if (BuildTitleSetPlaylist(files)) {
            const unsigned opens = FOpens;
            return OpenMedia(FPlaylist.front(), false) || TakenOver(opens + 1);
        }
    }
    if (OpenPlayableFiles(files))
        return true;
    return OpenSubFolders(Path);
}

bool TVideoFrame::BuildTitleSetPlaylist(const std::vector<std::string>& Files) {
    TIntList totals;
    for (const std::string& file : Files)
        if (IsVob(file)) {
            std::string key = TitleSetKey(file);
            totals.SetValueOf(key, totals.GetValueOf(key) + GetFileSize64(file));
        }
    int64_t best = 0;
    int winner = 0;
    for (int i = 0; i < totals.Count(); ++i)
        if (totals.GetValue(i) > best) {
            best = totals.GetValue(i);
            winner = NumberOrZero(totals.Strings(i));
        }
    FPlaylist.clear();
    for (const std::string& file : Files)
        if (IsVob(file) && NumberOrZero(TitleSetKey(file)) == winner)
            FPlaylist.push_back(file);
    FPlaylistIndex = 0;
    return !FPlaylist.empty();
}

bool TVideoFrame::OpenPlayableFiles(const std::vector<std::string>& Files) {
    for (const std::string& file : Files) {
        if (!IsPlayableFile(file))
            continue;
        FPlaylist = Files;
        FilterPlaylist();
        FPlaylistIndex = -1;
        for (size_t i = 0; i < FPlaylist.size(); ++i)
            if (FPlaylist[i] == file) {
                FPlaylistIndex = static_cast<int>(i);
                break;
            }
        const unsigned opens = FOpens;
        // A newer open taking over ends the search as well.
        if (OpenMedia(file, true) || TakenOver(opens + 1))
            return true;
    }
    return false;
}

bool TVideoFrame::OpenSubFolders(const std::string& Path) {
    std::string base = IncludePathDelimiter(Path);
    if (base.empty())
        return false;
    WIN32_FIND_DATAA entry;
    UniqueFindHandle find(FindFirstFileA((base + "*.*").c_str(), &entry));
    if (!find)
        return false;
    do {
        std::string name = entry.cFileName;
        if (name == "." || name == ".." || !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        if ((SameTextLower(name, "MPEGAV") || SameTextLower(name, "VIDEO_TS")) && OpenSource(base + name))
            return true;
    } while (FindNextFileA(find.get(), &entry));
    return false;
}

bool TVideoFrame::PlayDisk() {
    for (const std::string& root : OpticalDriveRoots())
        if (OpenSource(root))
            return true;
    return false;
}

} // namespace vireon
