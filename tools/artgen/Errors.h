// The one kind of failure the generator reports: a source that cannot be read or is wrong,
// named by file and line so that the artist can find it.
#pragma once

#include <stdexcept>
#include <string>

namespace Artgen {

class SourceError : public std::runtime_error {
public:
    // `where` is "file:line" or just a file name.
    SourceError(const std::string& where, const std::string& what)
        : std::runtime_error(where + ": " + what) {}
};

}  // namespace Artgen
