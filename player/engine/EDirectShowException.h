// A failed platform media call as an exception carrying its status code.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace vireon {

class EDirectShowException : public std::runtime_error {
public:
    EDirectShowException(const std::string& Message, HRESULT Code)
        : std::runtime_error(Message), FCode(Code) {}

    HRESULT ErrorCode() const noexcept { return FCode; }

private:
    HRESULT FCode;
};

// Raises EDirectShowException for a failure code ("<text> ($8004027A)."); returns success codes unchanged.
HRESULT CheckMediaResult(HRESULT Code);

// The readable text of a media status code.
std::string MediaErrorText(HRESULT Code);

} // namespace vireon
