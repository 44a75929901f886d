#pragma once

#include <optional>
#include <string>

// Settings of other programs that the system keeps under the user's
// "SOFTWARE" key, read where this program keeps its own: the key
// "SOFTWARE\A\B\C" is the section [C] of the INI file <config>/A/B.conf (as
// the program's own "SOFTWARE\TQL\quenzario\QNZ" is [QNZ] of
// <config>/TQL/quenzario.conf), and a key of one part "SOFTWARE\A" is the
// section [A] of <config>/A.conf. <config> is $XDG_CONFIG_HOME, else
// ~/.config.

std::string UserConfigHome();
// The file and section of a key; nullopt for a key that names no file
// (empty, or with a part that is empty, "." or "..").
struct UserRegistryPlace {
    std::string file;
    std::string section;
};
std::optional<UserRegistryPlace> PlaceOfUserKey(const std::string& key, const std::string& configHome);

// The value, nullopt when the key or the value is not there.
std::optional<std::string> ReadUserRegistryString(const std::string& key, const std::string& name,
                                                  const std::string& configHome = UserConfigHome());
