// The DVD graph builder of our own, used where the platform's cannot supply a filter graph.
#pragma once

#include <dshow.h>

namespace dvdnav {

// Creates our DVD graph builder (IDvdGraphBuilder with its own IDvdControl2/IDvdInfo2 navigator).
HRESULT CreateOwnDvdGraphBuilder(IDvdGraphBuilder** Builder);

}  // namespace dvdnav
