#pragma once

#include <string_view>

namespace scsi {

// ASCII texts of drives and of the program's settings compared without case.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace scsi
