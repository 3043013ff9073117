#include "dvdnav/OwnDvdGraphBuilder.h"

namespace dvdnav {

HRESULT CreateOwnDvdGraphBuilder(IDvdGraphBuilder** Builder) {
    if (!Builder)
        return E_POINTER;
    *Builder = nullptr;
    return E_NOTIMPL;  // replaced by the navigator
}

}  // namespace dvdnav
