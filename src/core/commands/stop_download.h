// Stop Download: asks a running download to stop at its next chunk. The buffer it was
// reading is not kept; the download then names the partial file it leaves. The request
// sends nothing and shows nothing, so it has no result of its own: the download's result
// tells that it was stopped (kDeclined).
#pragma once

#include "core/link/link_owner.h"

namespace lcu {

inline void StopDownload(LinkOwner& link) { link.RequestStop(); }

}  // namespace lcu
