#include "Shared.h"

namespace Vuderiv::detail {

Shared& shared() {
    static Shared* const instance = new Shared;
    return *instance;
}

namespace {

std::mutex sdlLock;  // held around every SDL subsystem start and stop

}  // namespace

bool StartSdl(Uint32 subsystem) {
    std::lock_guard<std::mutex> lock(sdlLock);
    return SDL_InitSubSystem(subsystem) == 0;
}

void StopSdl(Uint32 subsystem) {
    std::lock_guard<std::mutex> lock(sdlLock);
    SDL_QuitSubSystem(subsystem);
}

namespace {

// Pushes an event while lifecycleLock is held.
bool PushEventLocked(Shared& s, SDL_Event& event) {
    return s.eventsOpen && SDL_PushEvent(&event) == 1;
}

SDL_Event RequestEvent(Request request) {
    SDL_Event event{};
    event.type = SDL_USEREVENT;
    event.user.code = request;
    return event;
}

}  // namespace

bool PushEvent(SDL_Event& event) {
    Shared& s = shared();
    std::lock_guard<std::mutex> lock(s.lifecycleLock);
    return PushEventLocked(s, event);
}

bool PushRequest(Request request) {
    SDL_Event event = RequestEvent(request);
    return PushEvent(event);
}

void RequestPresent() {
    Shared& s = shared();
    if (s.presentPending.exchange(true)) return;  // one is waiting already
    if (!PushRequest(REQUEST_PRESENT)) s.presentPending = false;
}

#ifndef __EMSCRIPTEN__  // in the browser the window's step answers at once (web/Pump.cpp)
bool Sync() {
    if (RefusedOnWindowThread("Sync")) return false;
    Shared& s = shared();
    std::unique_lock<std::mutex> lock(s.lifecycleLock);
    SDL_Event event = RequestEvent(REQUEST_SYNC);
    const uint64_t answered = s.syncCount + 1;
    if (s.state != STATE_ACTIVE) return false;
    if (!PushEventLocked(s, event)) {
        // The window is closing: every event before has been handled once it is gone.
        s.lifecycleChanged.wait(lock, [&] { return s.state == STATE_DEAD; });
        return false;
    }
    // A close among the events pushed before ends the window instead of an answer.
    s.lifecycleChanged.wait(lock, [&] { return s.syncCount >= answered || s.state == STATE_DEAD; });
    return true;
}
#endif

Canvas::Canvas() : s_(shared()), lock_(s_.canvasLock) {}

Canvas::~Canvas() {
    lock_.unlock();
    if (shown_) RequestPresent();
}

Surface& Canvas::DrawBlock(int64_t x, int64_t y, int64_t w, int64_t h) {
    NoteBlock(s_.frame, x, y, w, h);
    return s_.buffer;
}

Surface& Canvas::DrawPictureRow(int32_t y, RowSource source, Span& copy) {
    copy = TakePictureRow(s_.frame, y, source, s_.buffer.width);
    return s_.buffer;
}

void Canvas::Show(int64_t x, int64_t y, int64_t w, int64_t h) {
    if (!Open()) return;
    ShowBlock(s_.frame, s_.buffer, x, y, w, h);
    shown_ = true;
}

}  // namespace Vuderiv::detail
