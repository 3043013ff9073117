// Renders the shipped skin's three forms, in the states the player shows them, into BMP files under
// the build folder. compare_shots.sh then holds them against the reference pictures in
// tests/skin/reference, so that a change of the look is always a conscious one.
#include "SkinTestSupport.h"

#include "TSkin.h"
#include "TSkinWindow.h"

#include <fstream>

using namespace vireon::skin;
using Microsoft::WRL::ComPtr;

namespace {

std::string ShotPath(const std::string& name) {
    std::string dir = skintest::ScratchDir() + "/shots";
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir + "/" + name + ".bmp";
}

void WriteBmp(const TPixmap& image, const std::string& path) {
    int w = image.Width(), h = image.Height();
    int stride = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + DWORD(stride * h);
    info.biSize = sizeof(info);
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    std::vector<char> row(stride, 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            uint32_t p = image.At(x, y);
            row[x * 3] = char(p & 0xFF);
            row[x * 3 + 1] = char((p >> 8) & 0xFF);
            row[x * 3 + 2] = char((p >> 16) & 0xFF);
        }
        out.write(row.data(), stride);
    }
    ASSERT_TRUE(out.good()) << path;
}

class SkinShots : public testing::Test {
protected:
    void SetUp() override { skin_->LoadSkin(skintest::ShippedSkin()); }

    template <typename Interface> ComPtr<Interface> Find(HWND window, const wchar_t* name) {
        ComPtr<Interface> object;
        EXPECT_HRESULT_SUCCEEDED(skin_->GetSkinForm(window)->FindObject(name).As(&object));
        return object;
    }

    // What a player with a film loaded shows: caption, time, position and volume with their fills.
    void ShowPlaying(HWND window, const std::wstring& suffix) {
        Find<ISkinStatic>(window, (L"lbFilmCaption" + suffix).c_str())->SetText(L"Sample Clip - Chapter 4");
        Find<ISkinStatic>(window, (L"lbFilmElapsed" + suffix).c_str())->SetText(L"00:31:07 / 01:48:02");
        auto position = Find<ISkinScrollBar>(window, (L"sbPosition" + suffix).c_str());
        position->SetMax(16384);
        position->SetPos(4719);
        auto positionLine = Find<ISkinStatic>(window, (L"sbPositionLine" + suffix).c_str());
        RECT bar = Find<ISkinVisual>(window, (L"sbPosition" + suffix).c_str())->GetRect();
        RECT line = positionLine->GetRect();
        line.right = line.left + MulDiv(bar.right - line.left, 4719, 16384);
        positionLine->SetRect(line);
        auto volume = Find<ISkinScrollBar>(window, (L"sbVolume" + suffix).c_str());
        volume->SetMax(10000);
        volume->SetPos(10000 - 7000);
        auto volumeLine = Find<ISkinStatic>(window, (L"sbVolumeLine" + suffix).c_str());
        RECT volumeRect = Find<ISkinVisual>(window, (L"sbVolume" + suffix).c_str())->GetRect();
        line = volumeLine->GetRect();
        line.top = 7000 * (volumeRect.top - volumeRect.bottom) / 10000 + volumeRect.bottom;
        volumeLine->SetRect(line);
        Find<ISkinVisual>(window, (L"bnPlay" + suffix).c_str())->SetVisible(false);
        Find<ISkinVisual>(window, (L"bnPause" + suffix).c_str())->SetVisible(true);
        for (const wchar_t* stem : {L"bnMenu", L"bnAudio", L"bnSubtitles"})
            Find<ISkinButton>(window, (stem + suffix).c_str())->SetDisabled(true);
    }

    // What the player shows with nothing loaded: the ten buttons of its button controller disabled,
    // the position fill line emptied by the binding.
    void ShowIdle(HWND window, const std::wstring& suffix) {
        for (const wchar_t* stem : {L"Prev", L"Next", L"Menu", L"Audio", L"Subtitles", L"Colors",
                                    L"FullScreen", L"Maximize", L"Stop", L"NextFrame"})
            Find<ISkinButton>(window, (L"bn" + std::wstring(stem) + suffix).c_str())->SetDisabled(true);
        auto positionLine = Find<ISkinStatic>(window, (L"sbPositionLine" + suffix).c_str());
        RECT line = positionLine->GetRect();
        line.right = line.left;
        positionLine->SetRect(line);
    }

    void Hover(HWND window, int x, int y) {
        RECT client = skin_->Find(window)->View().ClientRect();
        SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x - client.left, y - client.top));
    }

    void Shoot(HWND window, const std::string& name) {
        WriteBmp(skin_->Find(window)->View().Surface().Pixels(), ShotPath(name));
    }

    ComPtr<TSkin> skin_ = TSkin::Create();
};

} // namespace

TEST_F(SkinShots, MainForm) {
    skintest::TestWindow idle(true);
    skin_->ApplySkin(idle.get());
    ShowIdle(idle.get(), L"");
    Hover(idle.get(), 730, 16); // over the disabled "bnMaximize" of the title strip
    Shoot(idle.get(), "MainForm-idle");

    skintest::TestWindow playing(true);
    skin_->ApplySkin(playing.get());
    ShowPlaying(playing.get(), L"");
    Hover(playing.get(), 124, 558); // over "bnStop"
    Shoot(playing.get(), "MainForm-playing");
}

TEST_F(SkinShots, MiniControlForm) {
    skintest::TestWindow window;
    skin_->ApplySkinForm(window.get(), L"MiniControlForm");
    // As wide as the screen of the test display, then as the narrowest screen the bar is made for.
    SetWindowPos(window.get(), nullptr, 0, 0, 1280, 96, SWP_NOMOVE | SWP_NOZORDER);
    ShowPlaying(window.get(), L"_m");
    Hover(window.get(), 1280 - 800 + 766, 74); // over "bnClose_m", anchored right
    Shoot(window.get(), "MiniControlForm");
    SetWindowPos(window.get(), nullptr, 0, 0, 800, 96, SWP_NOMOVE | SWP_NOZORDER);
    ShowPlaying(window.get(), L"_m"); // the fill lines follow the new width, as the player's timer does
    Hover(window.get(), 160, 74);     // over "bnNext_m"
    Shoot(window.get(), "MiniControlForm-800");
}

TEST_F(SkinShots, AboutDlg) {
    skintest::TestWindow window;
    skin_->ApplySkinForm(window.get(), L"AboutDlg");
    Shoot(window.get(), "AboutDlg");
    Find<ISkinVisual>(window.get(), L"Site_h")->SetVisible(true);
    Shoot(window.get(), "AboutDlg-link");
}
