#pragma once

namespace rawen {

// The name of the SQLite file layer every connection of the engine uses: the system's own, with
// each write, sync, truncation and deletion passing the fault point first (platform/FaultPoint).
// Registered on the first call.
const char *faultVfsName();

} // namespace rawen
