#pragma once

namespace kumby {

// Lets the process keep the memory it frees for its next allocations instead of
// handing every large block back to the system. Statistics tables, value lists and
// combination lists of megabytes are made and dropped as the user browses, and a
// block taken fresh from the system faults in page by page, which on a virtual
// machine costs more than filling it. Called once at start-up, before any thread.
void KeepFreedMemory();

} // namespace kumby
