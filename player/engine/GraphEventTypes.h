// Handler types of the graph component's typed events. Every handler gets the component first;
// events without arguments are plain TNotifyEvents.
#pragma once

#include "engine/GraphUtil.h"

#include "forms/TComponent.h"

#include <functional>
#include <string>

namespace vireon {

using TOnDSEvent = std::function<void(TComponent* Sender, long Event, LONG_PTR Param1, LONG_PTR Param2)>;

using TOnGraphComplete = std::function<void(TObject* Sender, HRESULT Result, IBaseFilter* Renderer)>;
using TOnDSResult = std::function<void(TObject* Sender, HRESULT Result)>;
using TOnGraphStreamError = std::function<void(TObject* Sender, HRESULT Operation, LONG_PTR Value)>;
using TOnGraphVideoSizeChanged = std::function<void(TObject* Sender, int Width, int Height)>;
using TOnGraphOpeningFile = std::function<void(TObject* Sender, bool Opening)>;
using TOnGraphBufferingData = std::function<void(TObject* Sender, bool Buffering)>;
using TOnGraphFullscreenLost = std::function<void(TObject* Sender, IBaseFilter* Renderer)>;
using TOnGraphOleEvent =
    std::function<void(TObject* Sender, const std::wstring& String1, const std::wstring& String2)>;
using TOnGraphStreamControl = std::function<void(TObject* Sender, IPin* PinSender, LONG_PTR Cookie)>;
using TOnGraphEndOfSegment =
    std::function<void(TObject* Sender, REFERENCE_TIME StreamTime, LONG_PTR NumSegment)>;
using TOnGraphDeviceLost = std::function<void(TObject* Sender, IUnknown* Device, bool Removed)>;
using TOnGraphTimeCodeAvailable = std::function<void(TObject* Sender, IBaseFilter* From, LONG_PTR DeviceID)>;
using TOnGraphEXTDeviceModeChange = std::function<void(TObject* Sender, LONG_PTR NewMode, LONG_PTR DeviceID)>;
using TOnGraphVMRRenderDevice = std::function<void(TObject* Sender, LONG_PTR RenderDevice)>;
using TOnGraphSNDDevError = std::function<void(TObject* Sender, LONG_PTR OccurWhen, LONG_PTR ErrorCode)>;

using TOnDVDTitleChange = std::function<void(TObject* Sender, int Title)>;
using TOnDVDChapterStart = std::function<void(TObject* Sender, int Chapter)>;
using TOnDVDAudioStreamChange =
    std::function<void(TObject* Sender, int Stream, LCID Lcid, const std::string& Lang)>;
using TOnDVDSubpictureStreamChange =
    std::function<void(TObject* Sender, int SubNum, LCID Lcid, const std::string& Lang)>;
using TOnDVDChange = std::function<void(TObject* Sender, int Total, int Current)>;
using TOnDVDValidUOPSChange = std::function<void(TObject* Sender, int UOPS)>;
using TOnDVDStillOn = std::function<void(TObject* Sender, bool NoButtonAvailable, int Seconds)>;
using TOnDVDCurrentTime =
    std::function<void(TObject* Sender, int Hours, int Minutes, int Seconds, int Frames, int Frate)>;
using TOnDVDPlaybackRateChange = std::function<void(TObject* Sender, float Rate)>;
using TOnDVDParentalLevelChange = std::function<void(TObject* Sender, int Level)>;
using TOnDVDAnglesAvailable = std::function<void(TObject* Sender, bool Available)>;
using TOnDVDButtonAutoActivated = std::function<void(TObject* Sender, int Button)>;
using TOnDVDCMD = std::function<void(TObject* Sender, int CmdID)>;
using TOnDVDCurrentHMSFTime =
    std::function<void(TObject* Sender, DVD_HMSF_TIMECODE HMSFTimeCode, TDVDTimeCode TimeCode)>;
using TOnDVDKaraokeMode = std::function<void(TObject* Sender, bool Played)>;

} // namespace vireon
