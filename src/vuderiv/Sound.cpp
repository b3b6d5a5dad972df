// The sound service: WAV files loaded once, played mixed on SDL's audio thread.
//
// Design: SDL's own audio rather than a mixing library. The game needs a handful of short
// effects, mixed, with one master volume; a callback that adds up a fixed set of voices
// does exactly that in a few dozen lines, needs no package beyond SDL itself and lets the
// tests read the mixed output through SDL's disk driver. Every sound is converted at load
// time to the one format the mixer works in (16-bit mono at kRate), so the callback only
// adds samples. The device is opened in that format and SDL converts for the hardware.
//
// Three threads meet here: the program thread (every call of the interface), the window
// thread (it may call SetMute from a key callback) and SDL's audio thread (the callback).
// The callback never waits for a lock and never allocates: plays reach it through a
// single-producer ring of fixed size, volumes, mute and stop requests are atomics, and the
// sounds it reads stay untouched until the device is closed.
//
// Overlapping sounds can add up beyond the 16-bit range. Rather than cut the peaks off,
// the mix goes through a limiter (Limiter.h) that turns the whole mix down smoothly while
// it would pass its ceiling, and back up after; a mix below the ceiling passes unchanged.
#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "Files.h"
#include "Limiter.h"
#include "Report.h"
#include "Shared.h"
#include "Vuderiv.h"

namespace Vuderiv {

namespace {

constexpr int kRate = 22050;            // samples per second of every loaded sound
constexpr Uint16 kDeviceSamples = 512;  // samples per callback: about 23 ms
constexpr size_t kVoices = 16;          // sounds that can sound at once
constexpr uint32_t kRingSize = 64;      // plays waiting for the next callback
constexpr uint32_t kMaxVolume = 100;
constexpr uint64_t kMaxFileBytes = 16 * 1024 * 1024;  // a sound file larger than this is refused
constexpr size_t kMaxSamples = 30 * kRate;            // at most 30 s after conversion

// A loaded sound. Its samples never change once loaded; the program thread sets its
// volume and asks it to stop, the audio thread counts its plays.
struct Sound {
    std::vector<int16_t> samples;              // in the mixer's format
    std::atomic<uint32_t> volume{kMaxVolume};  // 0..100, any thread writes
    // Plays queued or sounding: PlaySound and LoopSound add one, the audio thread takes
    // one away as a play ends, is stopped or is dropped.
    std::atomic<uint32_t> plays{0};
    // StopSound adds one; a play made before ends when it sees the count change.
    std::atomic<uint32_t> stops{0};
};

// A play handed to the audio thread.
struct Play {
    Sound* sound = nullptr;
    bool loop = false;
    uint32_t stops = 0;  // the sound's stop count when it was asked for
};

// One sounding play. Audio thread only.
struct Voice {
    Play play;
    size_t position = 0;
    bool Active() const { return play.sound != nullptr; }
    // Samples left before it ends; a loop never does.
    size_t Left() const { return play.loop ? SIZE_MAX : play.sound->samples.size() - position; }
};

struct SoundState {
    // --- Program thread only (OpenSound, LoadSound, CloseSound) -----------------------
    SDL_AudioDeviceID device = 0;  // 0 while no device is open
    // In a browser: OpenSound has left the device to the program's next wait.
    bool deviceDue = false;
    // Every loaded sound; handle n is entry n - 1. The sounds do not move when the table
    // grows, and are released only once the device is closed.
    std::vector<std::unique_ptr<Sound>> sounds;

    // --- Plays handed to the audio thread ----------------------------------------------
    // Guards the producing side (PlaySound from any thread). The audio thread never takes it.
    std::mutex playLock;
    std::array<Play, kRingSize> ring{};  // slots [tail, head) wait for the audio thread
    // Written by PlaySound under playLock (release), read by the callback (acquire).
    std::atomic<uint32_t> head{0};
    // Written by the callback (release) as it takes plays, read by PlaySound (acquire).
    std::atomic<uint32_t> tail{0};

    // --- Settings, any thread writes, the audio thread reads each callback ----------------
    std::atomic<uint32_t> volume{kMaxVolume};  // 0..100
    std::atomic<bool> muted{false};
    // Plays of sounds that end (loops left out) queued or sounding: the program thread
    // adds, the audio thread takes away; WaitSounds waits for 0.
    std::atomic<uint32_t> endingPlays{0};

    // --- Audio thread only --------------------------------------------------------------
    std::array<Voice, kVoices> voices{};
    detail::Limiter limiter;
};

SoundState& state() {
    static SoundState* const instance = new SoundState;  // outlives a device left open at exit
    return *instance;
}

void ReportNoSound(const std::string& why) {
    detail::Report("Vuderiv: no sound, playing silently: " + why);
}

void ReportBadFile(const char* file, const std::string& why) {
    detail::Report(std::string("Vuderiv: sound ") + (file ? file : "(none)") +
                   " not loaded: " + why);
}

// --- The audio thread -------------------------------------------------------------------

// The play is over: its sound and WaitSounds are told.
void EndPlay(SoundState& s, const Play& play) {
    play.sound->plays.fetch_sub(1, std::memory_order_release);
    if (!play.loop) s.endingPlays.fetch_sub(1, std::memory_order_release);
}

bool Stopped(const Play& play) {
    return play.stops != play.sound->stops.load(std::memory_order_acquire);
}

// A new play takes a free voice, else the one closest to its end (a loop last).
void StartVoice(SoundState& s, const Play& play) {
    if (Stopped(play)) return EndPlay(s, play);
    Voice* chosen = &s.voices[0];
    for (Voice& v : s.voices) {
        if (!v.Active()) {
            chosen = &v;
            break;
        }
        if (v.Left() < chosen->Left()) chosen = &v;
    }
    if (chosen->Active()) EndPlay(s, chosen->play);
    *chosen = Voice{play, 0};
}

void TakePlays(SoundState& s) {
    const uint32_t head = s.head.load(std::memory_order_acquire);
    uint32_t tail = s.tail.load(std::memory_order_relaxed);
    for (; tail != head; ++tail)
        StartVoice(s, s.ring[tail % kRingSize]);
    s.tail.store(tail, std::memory_order_release);
}

// Adds `count` samples of one voice into `mix` at its sound's volume, advancing it; a loop
// starts again from its beginning, anything else ends.
void MixVoice(SoundState& s, Voice& v, int32_t* mix, size_t count) {
    const std::vector<int16_t>& samples = v.play.sound->samples;
    const auto volume = static_cast<int32_t>(v.play.sound->volume.load(std::memory_order_relaxed));
    while (count > 0 && v.Active()) {
        const size_t n = std::min(count, samples.size() - v.position);
        for (size_t i = 0; i < n; ++i)
            mix[i] += samples[v.position + i] * volume / static_cast<int32_t>(kMaxVolume);
        v.position += n;
        mix += n;
        count -= n;
        if (v.position < samples.size()) break;
        if (v.play.loop) {
            v.position = 0;
        } else {
            EndPlay(s, v.play);
            v = Voice{};
        }
    }
}

// Adds every active voice into `mix`; muted voices advance unheard, stopped ones end.
void MixVoices(SoundState& s, int32_t* mix, size_t count) {
    for (Voice& v : s.voices) {
        if (!v.Active()) continue;
        if (Stopped(v.play)) {
            EndPlay(s, v.play);
            v = Voice{};
            continue;
        }
        MixVoice(s, v, mix, count);
    }
}

void Callback(void* /*user*/, Uint8* stream, int bytes) {
    SoundState& s = state();
    TakePlays(s);
    std::array<int32_t, kDeviceSamples> mix;
    auto* out = reinterpret_cast<int16_t*>(stream);
    size_t left = static_cast<size_t>(bytes) / sizeof(int16_t);
    while (left > 0) {
        const size_t count = std::min(left, mix.size());
        std::fill_n(mix.begin(), count, 0);
        MixVoices(s, mix.data(), count);
        const int32_t gain = s.muted.load() ? 0 : static_cast<int32_t>(s.volume.load());
        for (size_t i = 0; i < count; ++i)
            mix[i] = mix[i] * gain / static_cast<int32_t>(kMaxVolume);
        s.limiter.Apply(std::span<const int32_t>(mix.data(), count),
                        std::span<int16_t>(out, count));
        out += count;
        left -= count;
    }
}

// --- Opening --------------------------------------------------------------------------------

#ifndef __EMSCRIPTEN__
// The system's ALSA library writes lines of its own to standard error when it finds no
// sound card. When SDL uses it, it is given a handler that writes nothing, so a missing
// device costs one line: ours.
void QuietAlsaHandler(const char*, int, const char*, int, const char*, ...) {}

void QuietenAlsa() {
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD);
    if (alsa == nullptr) return;  // not loaded: it writes nothing
    if (void* set = dlsym(alsa, "snd_lib_error_set_handler"))
        reinterpret_cast<SetHandler>(set)(QuietAlsaHandler);
    dlclose(alsa);
}
#else
void QuietenAlsa() {}  // a browser has no ALSA
#endif

SDL_AudioDeviceID OpenDevice() {
    SDL_AudioSpec want{};
    want.freq = kRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = kDeviceSamples;
    want.callback = Callback;
    SDL_AudioSpec have{};
    return SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);  // SDL converts to the device
}

// --- Loading --------------------------------------------------------------------------------

// The whole file, read through a checked open (a plain file of at most kMaxFileBytes), or
// an empty vector with `why` set.
std::vector<Uint8> ReadWhole(const char* file, std::string& why) {
    SDL_RWops* rw = detail::OpenFile(file, &why, kMaxFileBytes);
    if (rw == nullptr) return {};
    const Sint64 size = SDL_RWsize(rw);
    std::vector<Uint8> bytes(size > 0 ? static_cast<size_t>(size) : 0);
    const size_t got = bytes.empty() ? 0 : SDL_RWread(rw, bytes.data(), 1, bytes.size());
    SDL_RWclose(rw);
    if (got != bytes.size() || bytes.empty()) {
        why = bytes.empty() ? "empty" : "cannot be read";
        return {};
    }
    return bytes;
}

uint32_t Le32(const Uint8* at) {
    uint32_t value = 0;
    std::memcpy(&value, at, sizeof value);
    return SDL_SwapLE32(value);
}

// Why a RIFF WAVE file is cut off: a chunk, the samples' included, that declares more
// bytes than the file holds after it; "" otherwise (other faults are the decoder's).
std::string CutOff(const std::vector<Uint8>& bytes) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        return "";
    }
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const uint64_t declared = Le32(&bytes[at + 4]);
        const uint64_t held = bytes.size() - at - 8;
        if (declared > held) {
            return "cut off: its \"" +
                   std::string(bytes.begin() + static_cast<ptrdiff_t>(at),
                               bytes.begin() + static_cast<ptrdiff_t>(at) + 4) +
                   "\" chunk declares " + std::to_string(declared) + " bytes, " +
                   std::to_string(held) + " follow";
        }
        at += 8 + declared + (declared & 1);
    }
    return "";
}

// The WAV's samples in the mixer's format, or an empty vector with `why` set.
std::vector<int16_t> Decode(const char* file, std::string& why) {
    const std::vector<Uint8> whole = ReadWhole(file, why);
    if (whole.empty()) return {};
    why = CutOff(whole);
    if (!why.empty()) return {};
    SDL_RWops* rw = SDL_RWFromConstMem(whole.data(), static_cast<int>(whole.size()));
    SDL_AudioSpec wav{};
    Uint8* raw = nullptr;
    Uint32 rawBytes = 0;
    if (SDL_LoadWAV_RW(rw, 1, &wav, &raw, &rawBytes) == nullptr) {
        why = std::string("not a WAV file SDL can read (") + SDL_GetError() + ")";
        return {};
    }
    std::unique_ptr<Uint8, decltype(&SDL_FreeWAV)> owned(raw, SDL_FreeWAV);
    const size_t frameBytes = SDL_AUDIO_BITSIZE(wav.format) / 8u * wav.channels;
    if (frameBytes == 0 || wav.freq <= 0 ||
        rawBytes / frameBytes > kMaxSamples * static_cast<size_t>(wav.freq) / kRate) {
        why = "longer than 30 s";
        return {};
    }
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, wav.format, wav.channels, wav.freq, AUDIO_S16SYS, 1, kRate) < 0) {
        why = std::string("cannot be converted (") + SDL_GetError() + ")";
        return {};
    }
    std::vector<Uint8> work(static_cast<size_t>(rawBytes) * static_cast<size_t>(cvt.len_mult));
    std::copy_n(raw, rawBytes, work.begin());
    cvt.buf = work.data();
    cvt.len = static_cast<int>(rawBytes);
    if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) {
        why = std::string("cannot be converted (") + SDL_GetError() + ")";
        return {};
    }
    const size_t bytes = cvt.needed ? static_cast<size_t>(cvt.len_cvt) : rawBytes;
    const size_t samples = bytes / sizeof(int16_t);
    if (samples == 0 || samples > kMaxSamples) {
        why = samples == 0 ? "holds no sound" : "longer than 30 s";
        return {};
    }
    std::vector<int16_t> out(samples);
    std::copy_n(work.data(), samples * sizeof(int16_t), reinterpret_cast<Uint8*>(out.data()));
    return out;
}

// The loaded sound of a handle, or nullptr.
Sound* Find(SoundState& s, uint32_t sound) {
    return sound != 0 && sound <= s.sounds.size() ? s.sounds[sound - 1].get() : nullptr;
}

// Hands a play of a loaded sound to the audio thread; dropped when the ring is full.
void Start(uint32_t sound, bool loop) {
    SoundState& s = state();
    Sound* one = Find(s, sound);
    if (s.device == 0 || one == nullptr) return;
    std::lock_guard<std::mutex> lock(s.playLock);
    const uint32_t head = s.head.load(std::memory_order_relaxed);
    if (head - s.tail.load(std::memory_order_acquire) >= kRingSize) return;  // full: dropped
    // Counted before the audio thread can see the play, so it never counts below 0.
    one->plays.fetch_add(1, std::memory_order_relaxed);
    if (!loop) s.endingPlays.fetch_add(1, std::memory_order_relaxed);
    s.ring[head % kRingSize] = Play{one, loop, one->stops.load(std::memory_order_relaxed)};
    s.head.store(head + 1, std::memory_order_release);
}

// Opens the device and starts it; false, said once, when there is none.
bool StartDevice(SoundState& s) {
    QuietenAlsa();
    s.device = OpenDevice();
    if (s.device == 0) {
        ReportNoSound(SDL_GetError());
        detail::StopSdl(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(s.device, 0);
    return true;
}

}  // namespace

namespace detail {

bool SoundDue() {
    return state().deviceDue;
}

void OpenDueSound() {
    SoundState& s = state();
    if (!s.deviceDue) return;
    s.deviceDue = false;
    StartDevice(s);
}

}  // namespace detail

bool OpenSound() {
    SoundState& s = state();
    if (s.device != 0 || s.deviceDue) return true;
    if (!detail::StartSdl(SDL_INIT_AUDIO)) {
        ReportNoSound(SDL_GetError());
        return false;
    }
#ifdef __EMSCRIPTEN__
    // A browser takes the page's thread for a while to make its sound device (half a
    // second on a cold start): it opens at the next wait, once the page shows the picture.
    // Nothing can be heard before the first key or click there anyway.
    s.deviceDue = true;
    return true;
#else
    return StartDevice(s);
#endif
}

void CloseSound() {
    SoundState& s = state();
    if (s.device != 0 || s.deviceDue) {
        if (s.device != 0) SDL_CloseAudioDevice(s.device);  // returns once the callback has ended
        s.device = 0;
        s.deviceDue = false;
        detail::StopSdl(SDL_INIT_AUDIO);
    }
    std::lock_guard<std::mutex> lock(s.playLock);
    s.head = 0;
    s.tail = 0;
    s.voices = {};
    s.endingPlays = 0;
    s.limiter = detail::Limiter{};
    s.sounds.clear();
}

bool SoundIsOpen() {
    return state().device != 0 || state().deviceDue;
}

uint32_t LoadSound(const char* file) {
    SoundState& s = state();
    std::string why;
    std::vector<int16_t> samples = Decode(file, why);
    if (samples.empty()) {
        ReportBadFile(file, why);
        return 0;
    }
    auto sound = std::make_unique<Sound>();
    sound->samples = std::move(samples);
    s.sounds.push_back(std::move(sound));
    return static_cast<uint32_t>(s.sounds.size());
}

void PlaySound(uint32_t sound) {
    Start(sound, false);
}

void LoopSound(uint32_t sound) {
    Start(sound, true);
}

void StopSound(uint32_t sound) {
    SoundState& s = state();
    if (sound != 0) {
        if (Sound* one = Find(s, sound)) one->stops.fetch_add(1, std::memory_order_release);
        return;
    }
    for (const auto& each : s.sounds)
        each->stops.fetch_add(1, std::memory_order_release);
}

bool SoundPlaying(uint32_t sound) {
    SoundState& s = state();
    if (s.device == 0) return false;
    if (sound != 0) {
        const Sound* one = Find(s, sound);
        return one != nullptr && one->plays.load(std::memory_order_acquire) > 0;
    }
    return std::any_of(s.sounds.begin(), s.sounds.end(), [](const auto& each) {
        return each->plays.load(std::memory_order_acquire) > 0;
    });
}

bool WaitSounds(uint32_t milliseconds) {
    SoundState& s = state();
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    // The audio thread takes no lock, so there is nothing to wait on but the count.
    while (s.device != 0 && s.endingPlays.load(std::memory_order_acquire) > 0) {
        if (std::chrono::steady_clock::now() >= end) return false;
        Pause(2);  // in the browser, the sound plays on while the page has the thread
    }
    return true;
}

void SetSoundVolume(uint32_t sound, uint32_t percent) {
    if (Sound* one = Find(state(), sound)) one->volume = std::min(percent, kMaxVolume);
}

void SetVolume(uint32_t percent) {
    state().volume = std::min(percent, kMaxVolume);
}

uint32_t Volume() {
    return state().volume;
}

void SetMute(bool mute) {
    state().muted = mute;
}

bool Muted() {
    return state().muted;
}

}  // namespace Vuderiv
