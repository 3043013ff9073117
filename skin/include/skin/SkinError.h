// The skin engine's one exception. Platform-free, so the skin's readers are also built on the host.
#pragma once

#include <stdexcept>

namespace vireon::skin {

// A failed skin call: the message says what and, for skin files, where.
class ESkinError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace vireon::skin
