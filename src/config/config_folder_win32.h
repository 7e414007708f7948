#pragma once
#include <string>

namespace corvid {

// The documents folder + "\.corvid\", or the current folder + "\.corvid\"
// when the shell cannot name it; UTF-8, ending in a backslash.
std::string FindConfigFolder();

}  // namespace corvid
