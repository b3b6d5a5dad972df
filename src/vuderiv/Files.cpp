// Opening the files the library reads: plain files only, checked before anything reads them.
#include "Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace Vuderiv::detail {

namespace {

std::string OpenError(int error) {
    if (error == ENOENT) return "missing";
    if (error == ENOTDIR) return "missing: a folder on its path is a plain file";
    return std::strerror(error);
}

// "16 MiB" for a whole number of MiB, else "N bytes".
std::string Size(uint64_t bytes) {
    constexpr uint64_t kMiB = 1024 * 1024;
    if (bytes >= kMiB && bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MiB";
    return std::to_string(bytes) + " bytes";
}

// Why the open file cannot be read as a whole, or "".
std::string KindFault(int fd, uint64_t maxBytes) {
    struct stat status {};
    if (fstat(fd, &status) != 0) return std::strerror(errno);
    if (S_ISDIR(status.st_mode)) return "it is a folder";
    if (!S_ISREG(status.st_mode)) return "it is not a plain file";
    if (static_cast<uint64_t>(status.st_size) > maxBytes) return "larger than " + Size(maxBytes);
    return "";
}

SDL_RWops* Failed(std::string* fault, const std::string& why) {
    if (fault != nullptr) *fault = why;
    return nullptr;
}

}  // namespace

std::string FilePath(const char* file) {
    std::string path(file);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

SDL_RWops* OpenFile(const char* file, std::string* fault, uint64_t maxBytes) {
    if (file == nullptr) return Failed(fault, "no file named");
    // Without blocking: a pipe would otherwise wait for a writer.
    const int fd = ::open(FilePath(file).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return Failed(fault, OpenError(errno));
    const std::string why = KindFault(fd, maxBytes);
    FILE* stream = why.empty() ? fdopen(fd, "rb") : nullptr;
    if (stream == nullptr) {
        const std::string reason = why.empty() ? std::strerror(errno) : why;
        ::close(fd);
        return Failed(fault, reason);
    }
    SDL_RWops* rw = SDL_RWFromFP(stream, SDL_TRUE);
    if (rw == nullptr) {
        std::fclose(stream);
        return Failed(fault, SDL_GetError());
    }
    return rw;
}

}  // namespace Vuderiv::detail
