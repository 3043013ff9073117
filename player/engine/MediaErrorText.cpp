// Readable texts for media status codes. The platform's own text comes first; where it only
// offers its generic "Error: 0x..." text (as Wine does), our table speaks for the codes the
// player meets, then the system's message table.
#include "engine/EDirectShowException.h"

#include "common/LateBound.h"

#include <dshow.h>
#include <errors.h>
#include <vfwmsgs.h>

#include <cstdio>
#include <cstring>

namespace vireon {

namespace {

struct TErrorText {
    HRESULT Code;
    const char* Text;
};

constexpr TErrorText ErrorTexts[] = {
    {E_FAIL, "Unspecified error."},
    {E_INVALIDARG, "An invalid parameter was passed to the returning function."},
    {E_NOTIMPL, "The requested operation is not implemented."},
    {E_NOINTERFACE, "The requested interface is not supported."},
    {E_POINTER, "An invalid pointer was passed."},
    {E_OUTOFMEMORY, "There is not enough memory to complete the operation."},
    {E_UNEXPECTED, "An unexpected failure occurred."},
    {E_ABORT, "The operation was aborted."},
    {VFW_E_INVALIDMEDIATYPE, "The specified media type is invalid."},
    {VFW_E_NO_ACCEPTABLE_TYPES, "There is no common media type between these pins."},
    {VFW_E_NOT_CONNECTED, "The operation cannot be performed because the pins are not connected."},
    {VFW_E_ALREADY_CONNECTED, "The operation cannot be performed because the pins are already connected."},
    {VFW_E_NOT_FOUND, "An object or name was not found."},
    {VFW_E_CANNOT_CONNECT, "No combination of intermediate filters could be found to make the connection."},
    {VFW_E_CANNOT_RENDER, "No combination of filters could be found to render the stream."},
    {VFW_E_WRONG_STATE, "The operation could not be performed because the filter is in the wrong state."},
    {VFW_E_UNKNOWN_FILE_TYPE, "The media type of this file is not recognized."},
    {VFW_E_UNSUPPORTED_STREAM, "Cannot play back the file: the format is not supported."},
    {VFW_E_INVALID_FILE_FORMAT, "The file format is invalid."},
    {VFW_E_FILE_TOO_SHORT, "The file is too short to be played."},
    {VFW_E_NOT_STOPPED, "The operation cannot be performed while the graph is running."},
    {VFW_E_NOT_PAUSED, "The operation cannot be performed unless the graph is paused."},
    {VFW_E_NOT_RUNNING, "The operation cannot be performed unless the graph is running."},
    {VFW_E_TIMEOUT, "The operation timed out."},
    {VFW_E_NO_AUDIO_HARDWARE, "Cannot play back the audio stream: no audio hardware is available."},
    {VFW_E_NO_DISPLAY_PALETTE, "Cannot play back the video stream: the display has no palette."},
    {VFW_E_NO_INTERFACE, "The filter does not support the requested interface."},
    {VFW_E_BUFFER_NOTSET, "No buffer space has been set."},
    {VFW_E_DVD_OPERATION_INHIBITED, "This operation is not permitted by the DVD at this point."},
    {VFW_E_DVD_INVALIDDOMAIN, "This operation is not allowed in the current DVD domain."},
    {VFW_E_DVD_NO_BUTTON, "The requested button is not available."},
    {VFW_E_DVD_GRAPHNOTREADY, "The DVD graph is not ready yet."},
    {VFW_E_DVD_RENDERFAIL, "The DVD graph could not be built: the DVD navigator, a decoder or a renderer "
                           "did not load, or the DVD files were not found."},
    {VFW_E_DVD_DECNOTENOUGH, "The DVD graph could not be built because there are not enough decoders."},
    {VFW_E_DVD_NOT_IN_KARAOKE_MODE, "The DVD is not in karaoke mode."},
    {VFW_E_DVD_STREAM_DISABLED, "The requested DVD stream is disabled."},
    {VFW_E_DVD_INVALID_DISC, "The disc is not a valid DVD-Video disc."},
    {VFW_E_DVD_NO_RESUME_INFORMATION, "There is no place on the DVD to resume playback from."},
    {VFW_E_DVD_INCOMPATIBLE_REGION, "The region of the disc does not match the region of the decoder."},
    {VFW_E_DVD_LOW_PARENTAL_LEVEL, "The parental level is too low to play this DVD."},
    {VFW_E_DVD_CMD_CANCELLED, "The DVD command was cancelled."},
    {VFW_E_DVD_WRONG_SPEED, "This operation cannot be performed at the current playback speed."},
    {VFW_E_DVD_NO_GOUP_PGC, "There is no program chain to go up to on the DVD."},
    {VFW_E_DVD_NO_ATTRIBUTES, "The DVD has no attributes for this object."},
    {VFW_E_DVD_STATE_CORRUPT, "The saved DVD state is damaged."},
    {VFW_E_DVD_STATE_WRONG_DISC, "The saved DVD state belongs to another disc."},
    {VFW_E_DVD_STATE_WRONG_VERSION, "The saved DVD state is of an incompatible version."},
    {VFW_E_DVD_CHAPTER_DOES_NOT_EXIST, "The requested chapter does not exist on the DVD."},
    {VFW_E_DVD_TITLE_UNKNOWN, "The requested title does not exist on the DVD."},
};

const char* TableText(HRESULT Code) {
    for (const TErrorText& entry : ErrorTexts)
        if (entry.Code == Code)
            return entry.Text;
    return nullptr;
}

std::string SystemText(HRESULT Code) {
    char buffer[256] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                  static_cast<DWORD>(Code), 0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

} // namespace

std::string MediaErrorText(HRESULT Code) {
    static const TLateBound<decltype(AMGetErrorTextA)> platformText("quartz.dll", "AMGetErrorTextA");
    char buffer[256] = {};
    DWORD length = platformText ? platformText(Code, buffer, 255) : 0;
    std::string platform(buffer, length < sizeof buffer ? length : 0);
    if (!platform.empty() && platform.rfind("Error: 0x", 0) != 0)
        return platform;
    if (const char* text = TableText(Code))
        return text;
    std::string system = SystemText(Code);
    if (!system.empty())
        return system;
    if (!platform.empty())
        return platform;
    snprintf(buffer, sizeof buffer, "Error: 0x%lx", static_cast<unsigned long>(Code));
    return buffer;
}

} // namespace vireon
