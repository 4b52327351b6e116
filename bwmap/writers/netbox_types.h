// The interface type keys that NetBox's import takes.
#pragma once

#include <string_view>

// Whether `key` is one of NetBox's interface type keys (those of NetBox 4.4 and the ones added
// since). Newer versions add keys: a key not listed is worth a warning, not a refusal.
bool isNetboxInterfaceType(std::string_view key);
