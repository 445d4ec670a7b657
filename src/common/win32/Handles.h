#pragma once
#include <windows.h>

#include <utility>

namespace quillet::win32 {

// Move-only owner of one platform handle. Traits give the handle type, its
// empty value and its release function.
template <class Traits>
class Owned {
public:
    using T = typename Traits::Type;

    Owned() = default;
    explicit Owned(T handle) : handle_(handle) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Null())) {}
    Owned& operator=(Owned&& other) noexcept
    {
        if (this != &other) reset(std::exchange(other.handle_, Traits::Null()));
        return *this;
    }
    ~Owned() { reset(); }

    T get() const { return handle_; }
    T* put() { reset(); return &handle_; }
    explicit operator bool() const { return handle_ != Traits::Null(); }
    T release() { return std::exchange(handle_, Traits::Null()); }
    void reset(T handle = Traits::Null())
    {
        if (handle_ != Traits::Null()) Traits::Close(handle_);
        handle_ = handle;
    }

private:
    T handle_ = Traits::Null();
};

struct RegKeyTraits {
    using Type = HKEY;
    static HKEY Null() { return nullptr; }
    static void Close(HKEY key) { RegCloseKey(key); }
};
struct FindTraits {
    using Type = HANDLE;
    static HANDLE Null() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE find) { FindClose(find); }
};
struct HandleTraits {
    using Type = HANDLE;
    static HANDLE Null() { return nullptr; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};
struct GdiTraits {
    using Type = HGDIOBJ;
    static HGDIOBJ Null() { return nullptr; }
    static void Close(HGDIOBJ object) { DeleteObject(object); }
};
struct MenuTraits {
    using Type = HMENU;
    static HMENU Null() { return nullptr; }
    static void Close(HMENU menu) { DestroyMenu(menu); }
};

using RegKey = Owned<RegKeyTraits>;
using FindHandle = Owned<FindTraits>;
using Handle = Owned<HandleTraits>;
using GdiObject = Owned<GdiTraits>;
using MenuHandle = Owned<MenuTraits>;

}  // namespace quillet::win32
