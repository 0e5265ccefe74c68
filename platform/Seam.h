#pragma once

#include <functional>
#include <utility>

// A place where tests take the part of a dialog or a window: while an
// Override lives its function answers every call instead of the real one, and
// the function before it (none, or an outer override) is back when it ends.
// `Tag` tells apart seams of the same signature.
//
//   using Seam = ::Seam<struct MsgBoxTag, Result(const Shown&)>;
//   if (Seam::Active()) return Seam::Call(shown);     // the program
//   MsgBox::Seam::Override guard([](const Shown&) {...}); // a test
template <typename Tag, typename Fn> class Seam {
public:
    using Function = std::function<Fn>;

    static bool Active() { return bool(current()); }
    template <typename... Args> static decltype(auto) Call(Args&&... args) {
        return current()(std::forward<Args>(args)...);
    }

    class Override {
    public:
        explicit Override(Function fn) : m_previous(std::exchange(current(), std::move(fn))) {}
        ~Override() { current() = std::move(m_previous); }
        Override(const Override&) = delete;
        Override& operator=(const Override&) = delete;

    private:
        Function m_previous;
    };

private:
    static Function& current() {
        static Function function;
        return function;
    }
};
