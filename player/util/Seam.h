// Replaceable platform effects: each is a function slot that is empty while the platform's own
// effect applies. Tests fill a slot for a scope.
#pragma once

#include <type_traits>
#include <utility>

namespace vireon {

template <typename Function> class TScopedSeam {
public:
    TScopedSeam(Function& Slot, std::type_identity_t<Function> Replacement)
        : FSlot(Slot), FPrevious(std::exchange(Slot, std::move(Replacement))) {}
    TScopedSeam(const TScopedSeam&) = delete;
    TScopedSeam& operator=(const TScopedSeam&) = delete;
    ~TScopedSeam() { FSlot = std::move(FPrevious); }

private:
    Function& FSlot;
    Function FPrevious;
};

} // namespace vireon
