// Event handlers: comparable {object, method} pairs, so that a holder can clear a handler only when it
// still holds its own ("if it holds this painter's handler").
#pragma once

#include "framework/System.h"

#include <cstddef>
#include <functional>
#include <type_traits>
#include <utility>

template <typename... Args>
class TEvent {
public:
    using Code = void (TObject::*)(Args...);

    TEvent() = default;
    TEvent(std::nullptr_t) {}
    // A method of any class derived from TObject.
    template <class C>
    TEvent(C* object, void (C::*method)(Args...))
        : data_(object), code_(object ? static_cast<Code>(method) : nullptr)
    {
    }
    // Any other callable (a lambda of a test, or a small object made for one call): such handlers
    // compare equal only when both are empty.
    template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, TEvent> &&
                                                !std::is_same_v<std::decay_t<F>, std::nullptr_t> &&
                                                std::is_invocable_v<F&, Args...>>>
    TEvent(F&& function) : function_(std::forward<F>(function))
    {
    }

    explicit operator bool() const { return (data_ && code_) || function_; }
    bool operator==(const TEvent& other) const
    {
        return data_ == other.data_ && code_ == other.code_ && !function_ && !other.function_;
    }
    bool operator!=(const TEvent& other) const { return !(*this == other); }
    void operator()(Args... args) const
    {
        if (data_ && code_)
            (data_->*code_)(args...);
        else if (function_)
            function_(args...);
    }
    TObject* Data() const { return data_; }

private:
    TObject* data_ = nullptr;
    Code code_ = nullptr;
    std::function<void(Args...)> function_;
};

using TNotifyEvent = TEvent<TObject*>;
