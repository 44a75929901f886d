#pragma once

#include <functional>
#include <optional>
#include <string>

// The home folder of this user in the password database; nullopt when it has
// no entry or no absolute home folder.
std::optional<std::string> PasswordDatabaseHome();

// The folder of the user's settings: $XDG_CONFIG_HOME when it is an absolute
// path, else $HOME/.config when HOME is, else .config in the home folder of
// the password database. Nullopt when none of them gives one: the settings
// then have no folder of their own (never a shared one such as /tmp).
std::optional<std::string>
UserConfigFolder(const std::function<std::optional<std::string>()>& passwordHome = PasswordDatabaseHome);
