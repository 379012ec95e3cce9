// Every benchmark program starts as the desktop and command-line programs do, so
// that what it measures is what they run.

#include "app/ProcessMemory.h"

namespace {

const bool ProcessSetUp = [] {
    kumby::KeepFreedMemory();
    return true;
}();

} // namespace
