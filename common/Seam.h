// Platform effects that tests must not trigger for real (message boxes, dialogs, shell open,
// eject, object creation) each go through one seam: a function slot, reached through a function
// of the library that owns the effect, empty while the platform's own effect applies. Tests fill
// a slot for a scope with TScopedSeam.
#pragma once

#include <functional>
#include <type_traits>
#include <utility>

namespace vireon {

template <typename Signature> using TSeam = std::function<Signature>;

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

// Runs the seam when a test filled it, the platform's effect otherwise. The seam is copied first
// so that a replacement that resets its own slot stays alive while it runs.
template <typename Signature, typename Platform, typename... Args>
auto CallSeam(const TSeam<Signature>& Seam, Platform&& PlatformEffect, Args&&... args) {
    if (const TSeam<Signature> Replacement = Seam)
        return Replacement(std::forward<Args>(args)...);
    return PlatformEffect(std::forward<Args>(args)...);
}

} // namespace vireon
