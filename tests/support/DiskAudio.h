// SDL's disk audio driver as a listener: the device writes everything it plays to a file,
// which the tests read back as 16-bit mono samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace TestSupport {

class DiskAudio {
public:
    // Points SDL's audio at the disk driver writing to a new file under the temporary folder.
    DiskAudio();
    ~DiskAudio();
    DiskAudio(const DiskAudio&) = delete;
    DiskAudio& operator=(const DiskAudio&) = delete;

    // The bytes written so far.
    size_t Written() const;
    // Waits until at least `bytes` more than now have been written (the device is playing).
    void WaitFor(size_t bytes) const;
    // Every sample written; read it after CloseSound, when everything has reached the file.
    std::vector<int16_t> Samples() const;

private:
    std::filesystem::path path_;
};

// The index of the first sample of `samples` at or after `from` that is not 0; npos if none.
size_t FirstSound(const std::vector<int16_t>& samples, size_t from = 0);

// A square wave, loud enough to hear, of `count` samples.
std::vector<int16_t> Beep(size_t count);

}  // namespace TestSupport
