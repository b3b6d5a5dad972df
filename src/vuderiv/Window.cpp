// The window and its thread: opening, the event loop, painting, and the teardown.
// Every SDL video and event call happens on the window thread; the program thread only
// pushes events to it (Shared.cpp) and waits for its state to change.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <system_error>
#include <thread>

#include "Report.h"
#include "Shared.h"
#include "Vuderiv.h"

namespace Vuderiv {

namespace detail {

namespace {

// Largest client size accepted; larger requests fail instead of exhausting memory.
constexpr uint32_t kMaxSide = 16384;

// No window thread in the browser (web/Pump.cpp steps the window).
#ifndef __EMSCRIPTEN__
thread_local bool tWindowThread = false;  // set by the window thread for itself alone
#endif

void SetEventsOpen(Shared& s, bool open) {
    std::lock_guard<std::mutex> lock(s.lifecycleLock);
    s.eventsOpen = open;
    s.lifecycleChanged.notify_all();
}

void ReportOpenFailure(const char* what, const char* cause) {
    std::string line = std::string("Vuderiv: cannot open the window: ") + what;
    if (cause && *cause) line += std::string(" (") + cause + ")";
    Report(line);
}

// SDL falls back to a headless driver when there is no display; that counts as no
// display unless SDL_VIDEODRIVER asked for exactly that driver.
bool HeadlessByAccident() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return true;
    if (SDL_strcasecmp(driver, "offscreen") != 0 && SDL_strcasecmp(driver, "dummy") != 0) {
        return false;
    }
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    return !(asked && SDL_strcasecmp(asked, driver) == 0);
}

}  // namespace

void SetState(Shared& s, WinState state) {
    std::lock_guard<std::mutex> lock(s.lifecycleLock);
    s.state = state;
    s.lifecycleChanged.notify_all();
}

// Hands the parts of the frame that changed to the window system. The lock keeps the
// program from writing the next picture into it while the screen takes this one.
void Present(Shared& s) {
    std::lock_guard<std::mutex> lock(s.canvasLock);
    if (!s.canvasReady || s.frame.surface == nullptr) return;
    std::vector<SDL_Rect> changed;
    s.frame.damage.Take(changed);
    if (!changed.empty()) {
        SDL_UpdateWindowSurfaceRects(s.sdlWindow, changed.data(), static_cast<int>(changed.size()));
    }
    ++s.presents;
}

namespace {

// A paint request: the window shows the whole buffer, whatever the buffering switch says,
// and the screen is given all of the surface again.
void Paint(Shared& s) {
    {
        std::lock_guard<std::mutex> lock(s.canvasLock);
        if (!s.canvasReady) return;
        ShowBlock(s.frame, s.buffer, 0, 0, s.buffer.width, s.buffer.height);
        s.frame.damage.Whole(s.frame.width, s.frame.height);
    }
    Present(s);
}

// Sets up the buffer at the asked size and the frame on the window surface.
void Init(Shared& s) {
    std::lock_guard<std::mutex> lock(s.canvasLock);
    s.buffer = Surface(static_cast<int32_t>(s.xlen), static_cast<int32_t>(s.ylen));
    s.frame =
        FitFrame(SDL_GetWindowSurface(s.sdlWindow), s.buffer.width, s.buffer.height, s.fitPicture);
    s.canvasReady = true;
}

bool CreateTheWindow(Shared& s) {
    if (s.xlen == 0 || s.ylen == 0 || s.xlen > kMaxSide || s.ylen > kMaxSide) {
        ReportOpenFailure("unsupported size", nullptr);
        return false;
    }
    // Hidden until its size and place on its screen are known.
    s.sdlWindow =
        SDL_CreateWindow(s.title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                         static_cast<int>(s.xlen), static_cast<int>(s.ylen), SDL_WINDOW_HIDDEN);
    if (!s.sdlWindow) {
        ReportOpenFailure("the window could not be created", SDL_GetError());
        return false;
    }
    if (!PlaceWindow(s)) {  // refused: the program says why
        SDL_DestroyWindow(s.sdlWindow);
        s.sdlWindow = nullptr;
        return false;
    }
    if (Fullscreen()) SDL_SetWindowFullscreen(s.sdlWindow, SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_ShowWindow(s.sdlWindow);
    s.windowId = SDL_GetWindowID(s.sdlWindow);
    return true;
}

}  // namespace

bool OpenWindow(Shared& s) {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // The capture is ours alone (first press to last release, none for a double click).
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
    FilterLateWakeUpErrors();
    if (!StartSdl(SDL_INIT_VIDEO)) {
        ReportOpenFailure("the video system could not start", SDL_GetError());
        return false;
    }
    // Open sound keeps SDL's event queue alive past a window: what an earlier window
    // left in it is not this one's.
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    if (HeadlessByAccident()) {
        ReportOpenFailure("there is no display (is DISPLAY set?)", nullptr);
    } else if (CreateTheWindow(s)) {
        StartPads();
        ShowIcon(s);
        ApplyTextInput(s);
        Init(s);
        s.presentPending = false;
        SetEventsOpen(s, true);
        SDL_RaiseWindow(s.sdlWindow);
        Paint(s);
        return true;
    }
    StopSdl(SDL_INIT_VIDEO);
    return false;
}

namespace {

bool IsClose(const SDL_Event& event) {
    return event.type == SDL_QUIT ||
           (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE) ||
           (event.type == SDL_USEREVENT && event.user.code == REQUEST_CLOSE);
}

void AnswerSync(Shared& s) {
    std::lock_guard<std::mutex> lock(s.lifecycleLock);
    ++s.syncCount;
    s.lifecycleChanged.notify_all();
}

void HandleEvent(Shared& s, const SDL_Event& event) {
    if (event.type == SDL_USEREVENT) {
        if (event.user.code == REQUEST_PRESENT) {
            s.presentPending = false;  // before the copy, so later changes ask again
            Present(s);
        } else if (event.user.code == REQUEST_SYNC) {
            AnswerSync(s);
        } else if (event.user.code == REQUEST_ICON) {
            ShowIcon(s);
        } else if (event.user.code == REQUEST_DISPLAY) {
            ApplyDisplay(s);
        } else if (event.user.code == REQUEST_TEXT_INPUT) {
            ApplyTextInput(s);
        }
    } else if (event.type == SDL_WINDOWEVENT) {
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED) Paint(s);
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) ReleasePads();
        if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) Refit(s);
        if (event.window.event == SDL_WINDOWEVENT_SHOWN ||
            event.window.event == SDL_WINDOWEVENT_MOVED) {
            CheckPlace(s);
        }
    } else if (!HandleWindowKey(s, event)) {
        HandleInputEvent(event);
    }
}

}  // namespace

bool TakeEvent(Shared& s, const SDL_Event& event) {
    if (IsClose(event)) return false;
    HandleEvent(s, event);
    return true;
}

void FreeWindow(Shared& s) {
    SetEventsOpen(s, false);
    s.title.clear();
    {
        std::lock_guard<std::mutex> lock(s.canvasLock);
        s.canvasReady = false;
        s.buffer = Surface();
        s.frame = Frame();
        s.xlen = 0;
        s.ylen = 0;
        s.buffering = false;
        ClearBitmapTable(s);
    }
    StopPads();
    ResetInput();
    SDL_DestroyWindow(s.sdlWindow);
    s.sdlWindow = nullptr;
    StopSdl(SDL_INIT_VIDEO);
}

#ifndef __EMSCRIPTEN__  // the browser has no second thread: web/Pump.cpp steps the window

namespace {

// The longest the window thread sleeps without looking at its event queue. SDL's wait can
// sleep on although an event is queued (seen in a real window under load: a present
// request and the user's close both waited for good); looking again bounds such a miss.
constexpr int kWaitLimit = 100;

std::atomic<bool> failNextThreadStart{false};

// The window's life on its own thread, from opening to the end of the teardown.
WinState RunWindow(Shared& s) {
    if (!OpenWindow(s)) return STATE_ERROR;
    SetState(s, STATE_ACTIVE);
    SDL_Event event;
    for (;;) {
        if (SDL_WaitEventTimeout(&event, kWaitLimit) == 0) continue;  // none came: wait again
        if (!TakeEvent(s, event)) break;
    }
    FreeWindow(s);
    return STATE_DEAD;
}

// The window thread. SDL keeps data of its own for each thread that calls it; a thread
// that SDL did not start releases it itself.
void WinMain() {
    tWindowThread = true;
    Shared& s = shared();
    const WinState end = RunWindow(s);
    SDL_TLSCleanup();
    SetState(s, end);
}

void JoinWindowThread(Shared& s) {
    if (s.windowThread.joinable()) s.windowThread.join();
}

void ReportThreadFailure() {
    Report("Can't create window.", "Error");
}

bool StartWindowThread(Shared& s) {
    try {
        if (failNextThreadStart.exchange(false)) {
            throw std::system_error(
                std::make_error_code(std::errc::resource_unavailable_try_again));
        }
        s.windowThread = std::thread(WinMain);
        return true;
    } catch (const std::system_error&) {
        ReportThreadFailure();
        return false;
    }
}

}  // namespace

bool OnWindowThread() {
    return tWindowThread;
}

bool RefusedOnWindowThread(const char* call) {
    if (!tWindowThread) return false;
    Report(std::string("Vuderiv: ") + call +
           " cannot be called from a key or mouse callback (the window thread): ignored");
    return true;
}

void SimulateThreadStartFailure() {
    failNextThreadStart = true;
}

#endif  // __EMSCRIPTEN__

}  // namespace detail

#ifndef __EMSCRIPTEN__

using detail::Shared;
using detail::shared;

void Window(const char* title, uint32_t width, uint32_t height) {
    if (detail::RefusedOnWindowThread("Window")) return;
    Shared& s = shared();
    if (s.state == detail::STATE_ACTIVE) KillWindow();
    detail::JoinWindowThread(s);  // a window the user closed leaves its thread to join
    s.title = title ? title : "";
    s.xlen = width;
    s.ylen = height;
    if (!detail::StartWindowThread(s)) {
        s.title.clear();
        return;
    }
    std::unique_lock<std::mutex> lock(s.lifecycleLock);
    s.lifecycleChanged.wait(lock, [&] { return s.state != detail::STATE_DEAD; });
    if (s.state == detail::STATE_ERROR) {
        s.state = detail::STATE_DEAD;
        lock.unlock();
        detail::JoinWindowThread(s);
        s.title.clear();
    }
}

void KillWindow() {
    if (detail::RefusedOnWindowThread("KillWindow")) return;
    Shared& s = shared();
    std::unique_lock<std::mutex> lock(s.lifecycleLock);
    if (s.state == detail::STATE_ACTIVE) {
        lock.unlock();
        detail::PushRequest(detail::REQUEST_CLOSE);  // refused only while it closes already
        lock.lock();
        s.lifecycleChanged.wait(lock, [&] { return s.state == detail::STATE_DEAD; });
    } else {
        s.state = detail::STATE_DEAD;
    }
    lock.unlock();
    detail::JoinWindowThread(s);
}

void Pause(uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

#endif  // __EMSCRIPTEN__

bool WindowIsOpen() {
    return detail::shared().state == detail::STATE_ACTIVE;
}

// "major.minor.patch" from the header's numbers.
#define VERSION_TEXT(number) #number
#define VERSION_OF(major, minor, patch) \
    VERSION_TEXT(major) "." VERSION_TEXT(minor) "." VERSION_TEXT(patch)

const char* Version() {
    return VERSION_OF(VUDERIV_VERSION_MAJOR, VUDERIV_VERSION_MINOR, VUDERIV_VERSION_PATCH);
}

}  // namespace Vuderiv
