#include "shell/ShellSkin.h"

#include "forms/TApplication.h"

namespace vireon {

Microsoft::WRL::ComPtr<skin::ISkin> CreateShellSkin() {
    return skin::CreateSkin([](std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (...) {
            Application().HandleCurrentException();
        }
    });
}

} // namespace vireon
