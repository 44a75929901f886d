#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The user's choice of program per file type: the desktop's mimeapps.list
// ("<type>=<id>;<id>;" lines; the group [Default Applications] names the
// default, the first of its list).

constexpr const char* kDefaultApplicationsGroup = "Default Applications";
constexpr std::uintmax_t kMaxMimeAppsListSize = 1024 * 1024;

// The type's default application in the text (the first id of its line in
// [Default Applications]); nullopt when the text names none.
std::optional<std::string> DefaultApplicationIn(std::string_view text, const std::string& mimeType);

// The text with each type's default set to desktopId: its line lists the id
// first, then the ids it listed before. A type without a line gets one at the
// end of the group, a text without the group gets the group at its end. Every
// other line stays as it was.
std::string WithDefaultApplication(std::string_view text, const std::vector<std::string>& mimeTypes,
                                   const std::string& desktopId);

// Reads the file: true with an empty text when it does not exist; false (with
// the reason) when it cannot be read, is no regular file or is larger than
// kMaxMimeAppsListSize, so that it is never replaced by what was not read.
bool ReadMimeAppsList(const std::string& path, std::string& text, std::string* error = nullptr);

// Sets the types' default in the file at path (made with its folder when
// missing), written through a temporary name; a link stays a link and the
// file at its end keeps its mode. Nothing is written when the file cannot be
// read or already names desktopId first for every type.
bool SetDefaultApplication(const std::string& path, const std::vector<std::string>& mimeTypes,
                           const std::string& desktopId, std::string* error = nullptr);
