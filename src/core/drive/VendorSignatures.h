#pragma once

#include <string_view>

// Vendor commands of some drive families carry a fixed ASCII signature
// after the sub-command; each family's lives here, in one place.
constexpr std::string_view kBenqSignature = "BENQ";
