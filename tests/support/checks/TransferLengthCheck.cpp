#include "emu/CommandTable.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Every test program fails a test in which an emulated drive got a command
// whose transfer was not as long as its CDB asks for.
const bool kInstalled = [] {
    emu::SetTransferMismatchHook([](const std::string& what) { ADD_FAILURE() << "transfer length: " << what; });
    return true;
}();

}  // namespace
