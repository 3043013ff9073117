// Opens every case of a bad-media folder in the real player, as a user would, each followed by the
// good sample, and prints one line a case. The player must answer window messages within 2 s
// throughout, stay alive, and play the good sample after every case.
// Usage: BadMediaDriver PLAYER.exe CASES_FOLDER GOOD_SAMPLE [CASE_NAME...]
// CASES_FOLDER holds cases.txt as make_bad_media.py writes it. Exit code: the number of failed cases.

#include "PlayerRemote.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <memory>
#include <string>
#include <vector>

using namespace vireon::badmedia;

namespace {

struct TCase {
    std::wstring Name;
    std::wstring How; // open, folder or play
    std::wstring Path;
};

// How long a bad case is watched for a message or a moving picture; how long a picture that stands
// still is watched further, by default long enough for the player to give up a build or a stop
// that does not end (15 s and 2 s of grace); how long the good sample has to start.
constexpr DWORD kWatchMs = 3000;
constexpr DWORD kStillMs = 15000;
constexpr DWORD kGoodSampleMs = 25000;

// VIREON_BADMEDIA_STILL_MS shortens the still watch, so that the good sample is opened while the
// player may still wait for a broken file.
DWORD StillWatchMs() {
    char value[16] = {};
    if (!GetEnvironmentVariableA("VIREON_BADMEDIA_STILL_MS", value, sizeof value))
        return kStillMs;
    return static_cast<DWORD>(std::strtoul(value, nullptr, 10));
}

std::wstring FromUtf8(const std::string& Text) {
    int size = MultiByteToWideChar(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), wide.data(), size);
    return wide;
}

std::string ToUtf8(const std::wstring& Text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0,
                                   nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), narrow.data(), size, nullptr,
                        nullptr);
    return narrow;
}

std::string ReadWholeFile(const std::wstring& Path) {
    vireon::UniqueFile file(
        CreateFileW(Path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string text;
    char block[4096];
    DWORD read = 0;
    while (file && ReadFile(file.get(), block, sizeof block, &read, nullptr) && read > 0)
        text.append(block, read);
    return text;
}

std::vector<TCase> ReadCases(const std::wstring& Folder, const std::vector<std::wstring>& Only) {
    std::istringstream in(ReadWholeFile(Folder + L"\\cases.txt"));
    std::vector<TCase> cases;
    for (std::string line; std::getline(in, line);) {
        std::wstring text = FromUtf8(line);
        size_t first = text.find(L'|'), second = text.find(L'|', first + 1);
        if (second == std::wstring::npos)
            continue;
        TCase item{text.substr(0, first), text.substr(first + 1, second - first - 1),
                   text.substr(second + 1)};
        for (wchar_t& c : item.Path)
            if (c == L'/')
                c = L'\\';
        item.Path = Folder + L"\\" + item.Path;
        bool wanted = Only.empty();
        for (const std::wstring& name : Only)
            wanted = wanted || name == item.Name;
        if (wanted)
            cases.push_back(item);
    }
    return cases;
}

// What the player showed, in one line.
std::wstring Describe(const TSeen& Seen, bool Played) {
    std::wstring text;
    if (Seen.DialogStayed)
        text = L"dialog kept the name (cancelled); ";
    for (const std::wstring& message : Seen.Messages) {
        std::wstring flat = message;
        for (wchar_t& c : flat)
            if (c == L'\r' || c == L'\n')
                c = L' ';
        text += L"message \"" + flat + L"\"; ";
    }
    return text + (Played ? L"played" : L"stopped");
}

class TSuite {
public:
    TSuite(std::wstring Player, std::wstring Good) : FPlayer(std::move(Player)), FGood(std::move(Good)) {}

    // Runs one case and its good sample; true when both ended as they must.
    bool Run(const TCase& Case);
    int Failed() const { return FFailed; }
    void Finish();

private:
    bool EnsurePlayer();
    bool OpenCase(const TCase& Case, TSeen& Seen);
    bool GoodSamplePlays(std::wstring& Problem, std::wstring& Late);

    std::wstring FPlayer;
    std::wstring FGood;
    std::unique_ptr<TPlayerRemote> FRemote;
    int FFailed = 0;
};

bool TSuite::EnsurePlayer() {
    if (FRemote && FRemote->Alive())
        return true;
    FRemote = std::make_unique<TPlayerRemote>(FPlayer);
    return FRemote->Started();
}

bool TSuite::OpenCase(const TCase& Case, TSeen& Seen) {
    return Case.How == L"folder" ? FRemote->OpenFolder(Case.Path, Seen) : FRemote->OpenFile(Case.Path, Seen);
}

// Messages shown meanwhile are reported; they may still belong to the case before (a build given
// up late), so only the picture decides.
bool TSuite::GoodSamplePlays(std::wstring& Problem, std::wstring& Late) {
    TSeen seen;
    bool chosen = FRemote->OpenFile(FGood, seen);
    bool played = chosen && FRemote->PictureMoves(kGoodSampleMs, seen);
    if (!seen.Messages.empty())
        Late = L"; then, opening the good sample: " + Describe(seen, played);
    if (!chosen)
        Problem = L"the good sample could not be chosen";
    else if (!played)
        Problem = L"the good sample did not play";
    return Problem.empty();
}

bool TSuite::Run(const TCase& Case) {
    std::wstring problem;
    if (!EnsurePlayer()) {
        std::printf("%-30s | the player did not start | - | FAIL\n", ToUtf8(Case.Name).c_str());
        ++FFailed;
        return false;
    }
    FRemote->Stop();
    FRemote->TakeSlowestAnswer();
    TSeen seen;
    DWORD start = GetTickCount();
    bool chosen = OpenCase(Case, seen);
    FRemote->AnswerDialogs(kWatchMs, seen);
    bool played = chosen && seen.Messages.empty() && FRemote->PictureMoves(1500, seen);
    if (chosen && !played && seen.Messages.empty())
        FRemote->AnswerDialogs(StillWatchMs(), seen);
    DWORD settled = GetTickCount() - start;
    if (Case.How == L"play" && !played)
        problem = L"did not play";
    if (Case.How == L"folder" && !chosen)
        problem = L"the folder could not be chosen";
    std::wstring late;
    if (problem.empty() && FRemote->Alive())
        GoodSamplePlays(problem, late);
    long slowest = FRemote->TakeSlowestAnswer();
    if (!FRemote->Alive())
        problem = L"the player ended";
    else if (slowest < 0)
        problem = L"the player did not answer within 2 s";
    std::printf("%-30s | %s | settled %lu ms, slowest answer %ld ms | %s%s\n", ToUtf8(Case.Name).c_str(),
                ToUtf8(Describe(seen, played) + late).c_str(), settled, slowest,
                problem.empty() ? "PASS" : "FAIL: ", ToUtf8(problem).c_str());
    std::fflush(stdout);
    // A player that stopped answering (stuck, or held by the crash debugger) is ended, so that the
    // cases after it are judged on their own.
    if (slowest < 0 || !FRemote->Alive())
        FRemote.reset();
    FFailed += !problem.empty();
    return problem.empty();
}

void TSuite::Finish() {
    if (FRemote && !FRemote->Close()) {
        std::printf("the player did not end when closed\n");
        ++FFailed;
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: BadMediaDriver PLAYER.exe CASES_FOLDER GOOD_SAMPLE [CASE_NAME...]\n");
        return 100;
    }
    std::vector<TCase> cases = ReadCases(argv[2], std::vector<std::wstring>(argv + 4, argv + argc));
    if (cases.empty()) {
        std::fprintf(stderr, "no cases in %s\n", ToUtf8(argv[2]).c_str());
        return 100;
    }
    TSuite suite(argv[1], argv[3]);
    for (const TCase& item : cases)
        suite.Run(item);
    suite.Finish();
    std::printf("%zu cases, %d failed\n", cases.size(), suite.Failed());
    return suite.Failed();
}
