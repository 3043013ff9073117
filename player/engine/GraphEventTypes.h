// Handler types of the graph component's typed events. Every handler gets the component first.
#pragma once

#include "engine/GraphUtil.h"


#include <functional>
#include <string>

class TComponent;

using TGraphNotifyEvent = std::function<void(TComponent* Sender)>;
using TOnDSEvent = std::function<void(TComponent* Sender, long Event, LONG_PTR Param1, LONG_PTR Param2)>;

using TOnGraphComplete = std::function<void(TComponent* Sender, HRESULT Result, IBaseFilter* Renderer)>;
using TOnDSResult = std::function<void(TComponent* Sender, HRESULT Result)>;
using TOnGraphStreamError = std::function<void(TComponent* Sender, HRESULT Operation, LONG_PTR Value)>;
using TOnGraphVideoSizeChanged = std::function<void(TComponent* Sender, int Width, int Height)>;
using TOnGraphOpeningFile = std::function<void(TComponent* Sender, bool Opening)>;
using TOnGraphBufferingData = std::function<void(TComponent* Sender, bool Buffering)>;
using TOnGraphFullscreenLost = std::function<void(TComponent* Sender, IBaseFilter* Renderer)>;
using TOnGraphOleEvent =
    std::function<void(TComponent* Sender, const std::wstring& String1, const std::wstring& String2)>;
using TOnGraphStreamControl = std::function<void(TComponent* Sender, IPin* PinSender, LONG_PTR Cookie)>;
using TOnGraphEndOfSegment = std::function<void(TComponent* Sender, REFERENCE_TIME StreamTime, LONG_PTR NumSegment)>;
using TOnGraphDeviceLost = std::function<void(TComponent* Sender, IUnknown* Device, bool Removed)>;
using TOnGraphTimeCodeAvailable = std::function<void(TComponent* Sender, IBaseFilter* From, LONG_PTR DeviceID)>;
using TOnGraphEXTDeviceModeChange = std::function<void(TComponent* Sender, LONG_PTR NewMode, LONG_PTR DeviceID)>;
using TOnGraphVMRRenderDevice = std::function<void(TComponent* Sender, LONG_PTR RenderDevice)>;
using TOnGraphSNDDevError = std::function<void(TComponent* Sender, LONG_PTR OccurWhen, LONG_PTR ErrorCode)>;

using TOnDVDTitleChange = std::function<void(TComponent* Sender, int Title)>;
using TOnDVDChapterStart = std::function<void(TComponent* Sender, int Chapter)>;
using TOnDVDAudioStreamChange =
    std::function<void(TComponent* Sender, int Stream, LCID Lcid, const std::string& Lang)>;
using TOnDVDSubpictureStreamChange =
    std::function<void(TComponent* Sender, int SubNum, LCID Lcid, const std::string& Lang)>;
using TOnDVDChange = std::function<void(TComponent* Sender, int Total, int Current)>;
using TOnDVDValidUOPSChange = std::function<void(TComponent* Sender, int UOPS)>;
using TOnDVDStillOn = std::function<void(TComponent* Sender, bool NoButtonAvailable, int Seconds)>;
using TOnDVDCurrentTime =
    std::function<void(TComponent* Sender, int Hours, int Minutes, int Seconds, int Frames, int Frate)>;
using TOnDVDPlaybackRateChange = std::function<void(TComponent* Sender, float Rate)>;
using TOnDVDParentalLevelChange = std::function<void(TComponent* Sender, int Level)>;
using TOnDVDAnglesAvailable = std::function<void(TComponent* Sender, bool Available)>;
using TOnDVDButtonAutoActivated = std::function<void(TComponent* Sender, int Button)>;
using TOnDVDCMD = std::function<void(TComponent* Sender, int CmdID)>;
using TOnDVDCurrentHMSFTime =
    std::function<void(TComponent* Sender, DVD_HMSF_TIMECODE HMSFTimeCode, TDVDTimeCode TimeCode)>;
using TOnDVDKaraokeMode = std::function<void(TComponent* Sender, bool Played)>;
