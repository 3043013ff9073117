#include "dvdnav/DvdNavigator.h"

#include "common/DirectShowUuids.h"

#include <dvdevcod.h>

#include <cstring>

namespace dvdnav {

using Microsoft::WRL::ComPtr;

namespace {

// A title counts as ended this close to its stored length: the last frames' times are rounded.
constexpr int64_t EndMarginMs = 100;

// A scan by rate must move at least this share of the asked pace, or it is stepped instead.
constexpr double ScanRateTolerance = 0.6;

uint32_t Bcd(int Value) {
    return static_cast<uint32_t>(Value / 10 % 10 << 4 | Value % 10);
}

} // namespace

TDvdNavigator::TDvdNavigator(ComPtr<IGraphBuilder> Graph, std::shared_ptr<const TDvdVolume> Volume,
                             std::shared_ptr<const THomeThread> Home)
    : Graph_(Graph), Volume_(std::move(Volume)), Playback_(Graph), Home_(std::move(Home)) {
    Graph_.As(&Events_);
}

TDvdNavigator::~TDvdNavigator() {
    StopClock();
}

// Also when the home thread has gone with the clock's window: then only the owner goes here.
void TDvdNavigator::StopClock() {
    if (Clock_ && !Home_->Run([this] { Clock_.reset(); }))
        Clock_.reset();
}

TRenderOutcome TDvdNavigator::Start() {
    Title_ = 1;
    TRenderOutcome Outcome = OpenTitle(1);
    if (FAILED(Outcome.Result))
        return Outcome;
    Domain_ = DVD_DOMAIN_Title;
    Chapter_ = 1;
    Home_->Run([this] { Clock_ = std::make_unique<TNavigatorClock>(StartTickMs, [this] { Tick(); }); });
    return Outcome;
}

TRenderOutcome TDvdNavigator::OpenTitle(int Title) {
    const TDvdTitle& Next = Volume_->Titles[Title - 1];
    const TVolumeTitleSet& Set = Volume_->TitleSetOf(Next);
    // The title's own sectors play as one stream whose timeline starts with the title.
    uint32_t First = Next.Chapters.front().FirstSector, Last = 0;
    FileOffsetMs_ = Next.Chapters.front().FileStartMs;
    for (const TChapter& Chapter : Next.Chapters) {
        First = std::min(First, Chapter.FirstSector);
        Last = std::max(Last, Chapter.LastSector);
        FileOffsetMs_ = std::min(FileOffsetMs_, Chapter.FileStartMs);
    }
    TRenderOutcome Outcome = Playback_.Open(Set.VobFiles, First, Last);
    if (FAILED(Outcome.Result))
        return Outcome;
    Audio_ = 0;
    for (ULONG Stream = 0; Stream < Set.Info.Audio.size(); ++Stream)
        if (Next.AudioControl[Stream] & 0x8000) {
            Audio_ = Stream;
            break;
        }
    Playback_.SelectAudio(static_cast<int>(Audio_)); // a title without that stream plays silent
    Subpicture_ = 0;
    return Outcome;
}

int TDvdNavigator::FrameRate() const {
    return CurrentTitle().Time.FrameRate == 30 ? 30 : 25;
}

ULONG TDvdNavigator::TimeCodeFlags() const {
    return FrameRate() == 30 ? DVD_TC_FLAG_30fps : DVD_TC_FLAG_25fps;
}

int64_t TDvdNavigator::TitleTimeMs() const {
    const TDvdTitle& Title = CurrentTitle();
    int64_t File = Playback_.PositionMs() + FileOffsetMs_;
    int64_t Time = 0;
    for (const TChapter& Chapter : Title.Chapters)
        if (File >= Chapter.FileStartMs)
            Time = Chapter.StartMs + std::min(File - Chapter.FileStartMs, Chapter.DurationMs);
    return std::min(Time, Title.DurationMs);
}

int64_t TDvdNavigator::FileTimeOf(int64_t TitleMs) const {
    const TChapter& Chapter = CurrentTitle().Chapters[ChapterAt(TitleMs) - 1];
    return Chapter.FileStartMs - FileOffsetMs_ + (TitleMs - Chapter.StartMs);
}

int TDvdNavigator::ChapterAt(int64_t TitleMs) const {
    const auto& Chapters = CurrentTitle().Chapters;
    int Number = 1;
    for (size_t I = 0; I < Chapters.size(); ++I)
        if (TitleMs >= Chapters[I].StartMs)
            Number = static_cast<int>(I) + 1;
    return Number;
}

bool TDvdNavigator::AtEndOfTitle(int64_t TitleMs) const {
    if (TitleMs >= CurrentTitle().DurationMs - EndMarginMs)
        return true;
    // The stream holds the title alone: its end is the title's end.
    int64_t StreamEnd = Playback_.DurationMs();
    return StreamEnd > 0 && Playback_.PositionMs() >= StreamEnd - EndMarginMs;
}

void TDvdNavigator::Post(long Code, LONG_PTR Param1, LONG_PTR Param2) {
    if (Events_)
        Events_->Notify(Code, Param1, Param2);
}

void TDvdNavigator::PostTime(int64_t TitleMs) {
    int64_t Second = TitleMs / 1000;
    if (Second == LastSecond_)
        return;
    LastSecond_ = Second;
    TDvdTime Time = MillisecondsToDvdTime(TitleMs, FrameRate());
    if (HmsfEvents_) {
        DVD_HMSF_TIMECODE Code{Time.Hours, Time.Minutes, Time.Seconds, Time.Frames};
        DWORD Packed = 0;
        std::memcpy(&Packed, &Code, sizeof Packed);
        Post(EC_DVD_CURRENT_HMSF_TIME, static_cast<LONG_PTR>(Packed), static_cast<LONG_PTR>(TimeCodeFlags()));
    } else {
        uint32_t RateCode = FrameRate() == 30 ? 3 : 1;
        uint32_t Packed = Bcd(Time.Hours) | Bcd(Time.Minutes) << 8 | Bcd(Time.Seconds) << 16 |
                          (Bcd(Time.Frames) & 0x3F) << 24 | RateCode << 30;
        Post(EC_DVD_CURRENT_TIME, static_cast<LONG_PTR>(Packed), 0);
    }
}

void TDvdNavigator::Tick() {
    if (Domain_ != DVD_DOMAIN_Title || !Playback_.IsRunning())
        return;
    if (!Announced_) {
        Announced_ = true;
        if (Clock_)
            Clock_->SetInterval(TickMs);
        Post(EC_DVD_DOMAIN_CHANGE, DVD_DOMAIN_Title, 0);
        Post(EC_DVD_TITLE_CHANGE, Title_, 0);
        Post(EC_DVD_CHAPTER_START, Chapter_, 0);
    }
    if (ScanSpeed_ != 0)
        StepScan();
    if (Domain_ != DVD_DOMAIN_Title)
        return;
    int64_t Time = TitleTimeMs();
    if (AtEndOfTitle(Time)) {
        EndOfTitle();
        return;
    }
    int Chapter = ChapterAt(Time);
    if (Chapter != Chapter_) {
        Chapter_ = Chapter;
        Post(EC_DVD_CHAPTER_START, Chapter_, 0);
    }
    PostTime(Time);
}

// The title has played: the disc's post command may go on with another title; otherwise playback
// ends in the stop domain, with the graph stopped.
void TDvdNavigator::EndOfTitle() {
    EndScan();
    PostTime(CurrentTitle().DurationMs);
    const TTitleEnd& End = CurrentTitle().End;
    if (End.Jumps && End.Title > 0) {
        const auto& Chapters = Volume_->Titles[End.Title - 1].Chapters;
        if (End.Chapter >= 1 && static_cast<size_t>(End.Chapter) <= Chapters.size() &&
            SUCCEEDED(Jump(End.Title, Chapters[End.Chapter - 1].StartMs)))
            return;
    }
    if (End.Jumps)
        Post(EC_DVD_WARNING, DVD_WARNING_IllegalNavCommand, 0); // the command leads nowhere
    Playback_.Stop();
    StoppedAtEnd_ = true;
    Domain_ = DVD_DOMAIN_Stop;
    Post(EC_DVD_PLAYBACK_STOPPED, 0, 0);
    Post(EC_DVD_DOMAIN_CHANGE, DVD_DOMAIN_Stop, 0);
}

void TDvdNavigator::Retire() {
    Retired_ = true;
    StopClock();
    Domain_ = DVD_DOMAIN_Stop;
    Playback_.Close(); // the new volume's playback starts from a graph without our filters
}

HRESULT TDvdNavigator::Jump(int Title, int64_t TitleMs) {
    if (Retired_)
        return VFW_E_DVD_GRAPHNOTREADY;
    EndScan();
    if (Title != Title_ || !Playback_.IsOpen()) {
        HRESULT Result = OpenTitle(Title).Result;
        if (FAILED(Result))
            return Result;
        Title_ = Title;
        Post(EC_DVD_TITLE_CHANGE, Title_, 0);
    }
    HRESULT Result = Playback_.SeekMs(FileTimeOf(TitleMs));
    if (FAILED(Result))
        return Result; // nothing moved: nothing is announced
    if (Domain_ != DVD_DOMAIN_Title) {
        Domain_ = DVD_DOMAIN_Title;
        Post(EC_DVD_DOMAIN_CHANGE, DVD_DOMAIN_Title, 0);
    }
    if (StoppedAtEnd_) {
        StoppedAtEnd_ = false;
        Playback_.Run();
    }
    Chapter_ = ChapterAt(TitleMs);
    Post(EC_DVD_CHAPTER_START, Chapter_, 0);
    LastSecond_ = -1;
    return S_OK;
}

HRESULT TDvdNavigator::Scan(double Speed) {
    if (Retired_)
        return VFW_E_DVD_GRAPHNOTREADY;
    if (Domain_ != DVD_DOMAIN_Title)
        return VFW_E_DVD_INVALIDDOMAIN;
    EndScan();
    if (Speed == 1.0)
        return S_OK;
    ScanSpeed_ = Speed;
    ScanPositionMs_ = TitleTimeMs();
    ScanStartTick_ = GetTickCount();
    ScanChecked_ = false;
    ScanByRate_ = SUCCEEDED(Playback_.SetRate(Speed));
    Post(EC_DVD_PLAYBACK_RATE_CHANGE, static_cast<LONG_PTR>(Speed * 10000), 0);
    return S_OK;
}

void TDvdNavigator::EndScan() {
    if (ScanSpeed_ == 0)
        return;
    if (ScanByRate_)
        Playback_.SetRate(1.0);
    ScanSpeed_ = 0;
    ScanByRate_ = false;
    Post(EC_DVD_PLAYBACK_RATE_CHANGE, 10000, 0);
}

void TDvdNavigator::StepScan() {
    if (ScanByRate_ && !ScanChecked_) {
        DWORD Elapsed = GetTickCount() - ScanStartTick_;
        if (Elapsed < TickMs * 4 / 5)
            return;
        ScanChecked_ = true;
        double Moved = static_cast<double>(TitleTimeMs() - ScanPositionMs_);
        if (Moved / ScanSpeed_ < Elapsed * ScanRateTolerance) {
            Playback_.SetRate(1.0);
            ScanByRate_ = false;
            ScanPositionMs_ = TitleTimeMs();
        }
    }
    if (ScanByRate_) {
        if (ScanSpeed_ < 0 && TitleTimeMs() <= 0)
            EndScan();
        return;
    }
    ScanPositionMs_ += static_cast<int64_t>(ScanSpeed_ * TickMs);
    if (ScanPositionMs_ >= CurrentTitle().DurationMs) {
        EndOfTitle();
        return;
    }
    if (ScanPositionMs_ <= 0) {
        Playback_.SeekMs(FileTimeOf(0));
        EndScan();
        return;
    }
    Playback_.SeekMs(FileTimeOf(ScanPositionMs_));
}

bool TDvdNavigator::AudioEnabled(ULONG Stream) const {
    return Stream < CurrentSet().Audio.size() && (CurrentTitle().AudioControl[Stream] & 0x8000);
}

bool TDvdNavigator::SubpictureEnabled(ULONG Stream) const {
    return Stream < CurrentSet().Subpictures.size() &&
           (CurrentTitle().SubpictureControl[Stream] & 0x80000000u);
}

} // namespace dvdnav
