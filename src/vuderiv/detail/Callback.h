// A registered callback: a plain procedure, or one with a pointer of the program's own.
// Private to Vuderiv. The program thread registers; the window thread calls.
#pragma once

#include <mutex>

namespace Vuderiv::detail {

template <typename... Args>
class Callback {
public:
    using Plain = void (*)(Args...);
    using WithData = void (*)(Args..., void*);

    // Registers a plain procedure; nullptr removes whatever is registered.
    void Set(Plain proc) {
        std::lock_guard<std::mutex> lock(lock_);
        plain_ = proc;
        withData_ = nullptr;
        data_ = nullptr;
    }
    // Registers a procedure with its pointer; a null procedure removes the registration.
    void Set(WithData proc, void* data) {
        std::lock_guard<std::mutex> lock(lock_);
        plain_ = nullptr;
        withData_ = proc;
        data_ = proc != nullptr ? data : nullptr;
    }
    // The plain procedure registered; nullptr when none is, or one with a pointer is.
    Plain load() const {
        std::lock_guard<std::mutex> lock(lock_);
        return plain_;
    }
    // Calls what is registered, if anything, outside the lock: the callback may register
    // another.
    void Call(Args... args) const {
        Plain plain = nullptr;
        WithData withData = nullptr;
        void* data = nullptr;
        {
            std::lock_guard<std::mutex> lock(lock_);
            plain = plain_;
            withData = withData_;
            data = data_;
        }
        if (plain != nullptr) plain(args...);
        if (withData != nullptr) withData(args..., data);
    }

private:
    mutable std::mutex lock_;
    Plain plain_ = nullptr;
    WithData withData_ = nullptr;
    void* data_ = nullptr;
};

}  // namespace Vuderiv::detail
