// The survey window's drawn parts: the gradient header strip with its label, the reason group frame
// and the owner-drawn default button.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <string>

namespace uninstall {

constexpr char HeaderPanelClass[] = "TSurveyHeader";
constexpr char ReasonGroupClass[] = "TReasonGroup";

// Column i of n of a left-to-right gradient from c1 to c2: each channel c1 + (c2 - c1) * i / n.
COLORREF GradientColour(int i, int n, COLORREF c1, COLORREF c2);
// The header gradient, from the button-shadow colour to the button-highlight colour over
// stripWidth columns; paints the columns of area, whose left edge is column firstColumn.
void PaintGradient(HDC dc, const RECT& area, int firstColumn, int stripWidth);

std::string WindowText(HWND window);

// Registers the header strip and the group frame classes once per process.
void RegisterSurveyControlClasses(HINSTANCE instance);

// The default push button: a dark frame, a raised or pushed face, the text moved by one pixel right
// and down while held down, and a focus rectangle.
void DrawUninstallButton(const DRAWITEMSTRUCT& item);

} // namespace uninstall
