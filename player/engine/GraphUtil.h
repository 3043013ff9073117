// Small graph utilities: running-object-table registration for outside graph inspectors,
// DVD time code unpacking, filter property pages and an aspect-preserving rectangle fit.
#pragma once

#include <windows.h>
#include <dshow.h>

namespace vireon {

// Registers Graph in the running object table as "FilterGraph %p pid %x" (weakly).
HRESULT RegisterGraphForInspection(IUnknown* Graph, DWORD& Cookie);
HRESULT UnregisterGraphForInspection(DWORD Cookie);

// The nine fields of a packed DVD time code (the platform's DVD_TIMECODE): d0/d1 hour digits,
// d2/d3 minutes, d4/d5 seconds, d6/d7 frames (units first), then the frame-rate code.
struct TDVDTimeCode {
    int d0 = 0, d1 = 0, d2 = 0, d3 = 0, d4 = 0, d5 = 0, d6 = 0, d7 = 0;
    int FrameRateCode = 0;
};
TDVDTimeCode UnpackDvdTimecode(DWORD Value);

// Kind 0: property pages; 1-3: capture display/format/source dialog; 4, 5: compressor
// configuration/about dialog. S_FALSE for an empty filter.
HRESULT ShowFilterProperties(HWND Parent, IUnknown* Filter, int Kind);

// Source's shape scaled to fill Target as far as possible, centred in it.
void FitRectKeepingAspect(const RECT& Target, const RECT& Source, RECT& Result);

} // namespace vireon
