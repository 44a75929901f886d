// Fuzz target of the scan file reader: every input is refused with a reason
// and nothing loaded, or read; what was read writes a file that reads back to
// the same bytes.

#include "FuzzCheck.h"
#include "core/pipo/ScanFile.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ScanFile untouched;
    untouched.midCode = "untouched";
    ScanFile file = untouched;
    std::string error;
    if (!DecodeScanFile(bytes, file, error)) {
        Check(!error.empty());
        Check(file == untouched);
        return 0;
    }
    const std::string written = EncodeScanFile(file);
    ScanFile again;
    Check(DecodeScanFile(written, again, error));
    Check(EncodeScanFile(again) == written);
    return 0;
}
