// bid_engine_state.h — the values of the bid engine that lower parts of the program read.
//
// The bid engine's scheduler writes them; the page parser reads them for its log line of the
// end-of-auction update. Process-wide, UI thread only.
#pragma once

#include <cstdint>
#include <string>

namespace TLMainState {

// The deferred request being run: "DoAddItem", "DoUpdateBid", "DoUpdateItems" or "".
inline std::string PendingRequest;
// The index in Items (from 1) of the item the bid engine is working on.
inline int16_t PendingRequestItem = 0;

}  // namespace TLMainState
