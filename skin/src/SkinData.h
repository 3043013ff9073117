// A parsed skin file: glyphs, button styles and forms with their objects, in skin-form pixels.
#pragma once

#include "Glyph.h"
#include "Raster.h"
#include "skin/SkinInterfaces.h"

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vireon::skin {

enum class TObjectKind { Panel, Button, ScrollBar, Static };

// Which edges of the form an object keeps its distance to when the form is resized: left and right
// both set stretches it, right alone moves it along.
struct TAnchors {
    bool left = true;
    bool top = true;
    bool right = false;
    bool bottom = false;
};

enum TButtonStateIndex { bsNormal, bsHover, bsPressed, bsDisabled, bsCount };

struct TButtonLook {
    uint32_t fill = 0; // 0xAARRGGBB; alpha 0 draws nothing
    uint32_t border = 0;
    uint32_t glyph = 0xFFFFFFFF;
    int offset = 0;
};

struct TButtonStyle {
    float radius = 6;
    std::array<TButtonLook, bsCount> states{};
};

enum class TSysCommand { None, Minimize, Close };
enum class TAlign { Left, Center, Right };

struct TObjectDef {
    std::wstring name;
    TObjectKind kind = TObjectKind::Panel;
    int line = 0;
    RECT rect{};
    TAnchors anchors;
    bool visible = true;
    std::wstring tip; // shown when the mouse rests on the object
    // Panel and static background.
    uint32_t fill = 0;
    uint32_t fill2 = 0;
    uint32_t border = 0;
    float radius = 0;
    // Button.
    std::shared_ptr<const TGlyph> glyph;
    int glyphSize = 20;
    TButtonStyle style;
    TSysCommand command = TSysCommand::None;
    // Scroll bar.
    bool vertical = false;
    int step = 1;
    int max = 100;
    uint32_t track = 0;
    int trackWidth = 4;
    uint32_t thumb = 0xFFFFFFFF;
    uint32_t thumbHover = 0xFFFFFFFF;
    int thumbSize = 12;
    // Static.
    std::wstring text;
    std::wstring font = L"Tahoma";
    int fontSize = 12;
    bool bold = false;
    bool underline = false;
    uint32_t colour = 0xFFFFFFFF;
    TAlign align = TAlign::Left;
};

struct TDragArea {
    RECT rect{};
    TAnchors anchors;
};

// Colours of the menu bar and of skin-style popup menus.
struct TMenuLook {
    uint32_t barFill = 0xFF16181D;
    uint32_t barText = 0xFFB4BAC4;
    uint32_t hotFill = 0xFF2A2E36;
    uint32_t hotText = 0xFFFFFFFF;
    uint32_t popupFill = 0xFF1E2127;
    uint32_t popupText = 0xFFD8DCE2;
    uint32_t popupHot = 0xFF3D8BFF;
    uint32_t disabledText = 0xFF5C626C;
    uint32_t separator = 0xFF30343C;
    uint32_t border = 0xFF30343C;
    std::wstring font = L"Tahoma";
    int fontSize = 12;
};

struct TFormDef {
    std::wstring name;
    int line = 0;
    int width = 0;
    int height = 0;
    TSkinFrame frame;
    uint32_t fill = 0xFF101216;
    uint32_t fill2 = 0xFF101216;
    uint32_t outline = 0;
    std::vector<TDragArea> drag;
    std::vector<TObjectDef> objects;
    TMenuLook menu;
};

class TPrivateFonts;

struct TSkinData {
    std::wstring path;
    std::vector<TFormDef> forms;
    // Font files the skin brings along, full paths; loaded for this process while the skin is in
    // use, so that its faces look alike on every machine.
    std::vector<std::wstring> fontFiles;
    std::shared_ptr<const TPrivateFonts> fonts;
    const TFormDef* FindForm(const std::wstring& name) const;
};

// Files larger than this are refused before reading.
constexpr size_t kMaxSkinFileSize = 4 * 1024 * 1024;

// Reads and checks a whole skin file; throws ESkinError naming the file and line.
std::shared_ptr<TSkinData> ParseSkinFile(const std::wstring& path);
std::shared_ptr<TSkinData> ParseSkinText(const std::string& text, const std::wstring& path);

bool SameName(const std::wstring& a, const std::wstring& b);

} // namespace vireon::skin
