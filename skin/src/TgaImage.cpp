#include "TgaImage.h"

#include "TgaDecoder.h"

#include "common/TextConversion.h"
#include "common/Win32Handles.h"
#include "skin/SkinInterfaces.h"

namespace vireon::skin {

std::vector<uint8_t> ReadFileBytes(const std::wstring& path, size_t limit) {
    std::string name = Utf8FromWide(path);
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw ESkinError(name + ": cannot open the file (error " + std::to_string(GetLastError()) + ")");
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        throw ESkinError(name + ": cannot read the file size");
    if (static_cast<uint64_t>(size.QuadPart) > limit)
        throw ESkinError(name + ": the file is too large (" + std::to_string(size.QuadPart) +
                         " bytes, at most " + std::to_string(limit) + ")");
    std::vector<uint8_t> data(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!data.empty() &&
        (!ReadFile(file.get(), data.data(), DWORD(data.size()), &read, nullptr) || read != data.size()))
        throw ESkinError(name + ": cannot read the file");
    return data;
}

TPixmap DecodeTga(const std::vector<uint8_t>& data, const std::string& name) {
    try {
        TTgaHeader header = ReadTgaHeader(data, TPixmap::kMaxSide, TPixmap::kMaxPixels);
        TPixmap image(header.width, header.height);
        DecodeTgaPixels(data, header, image.Data());
        return image;
    } catch (const ETgaError& error) {
        throw ESkinError(name + ": " + error.what());
    } catch (const ESkinError& error) {
        throw ESkinError(name + ": " + error.what());
    }
}

} // namespace vireon::skin
