// Small owners for Win32 resources: each releases what it holds when it
// goes out of scope, so no path through a dialog or a conversation leaks a
// font, a key, a block of global memory, an atom, a library, a file or a
// window.
#pragma once

#include <windows.h>

#include <cstdio>
#include <utility>

namespace rc {

// Generic owner of a handle-like value with a release function.
template <typename T, typename Traits>
class Owner {
public:
    Owner() = default;
    explicit Owner(T value) : value_(value) {}
    ~Owner() { reset(); }
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    Owner(Owner&& other) noexcept : value_(other.release()) {}
    Owner& operator=(Owner&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    T get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::empty(); }
    T release() {
        T v = value_;
        value_ = Traits::empty();
        return v;
    }
    void reset(T value = Traits::empty()) {
        if (value_ != Traits::empty()) Traits::close(value_);
        value_ = value;
    }

private:
    T value_ = Traits::empty();
};

struct GdiTraits {
    static HGDIOBJ empty() { return nullptr; }
    static void close(HGDIOBJ h) { DeleteObject(h); }
};
struct FontTraits {
    static HFONT empty() { return nullptr; }
    static void close(HFONT h) { DeleteObject(h); }
};
struct BitmapTraits {
    static HBITMAP empty() { return nullptr; }
    static void close(HBITMAP h) { DeleteObject(h); }
};
struct MemoryDcTraits {
    static HDC empty() { return nullptr; }
    static void close(HDC h) { DeleteDC(h); }
};
struct KeyTraits {
    static HKEY empty() { return nullptr; }
    static void close(HKEY h) { RegCloseKey(h); }
};
struct LibraryTraits {
    static HMODULE empty() { return nullptr; }
    static void close(HMODULE h) { FreeLibrary(h); }
};
struct GlobalTraits {
    static HGLOBAL empty() { return nullptr; }
    static void close(HGLOBAL h) { GlobalFree(h); }
};
struct AtomTraits {
    static ATOM empty() { return 0; }
    static void close(ATOM a) { GlobalDeleteAtom(a); }
};
struct WindowTraits {
    static HWND empty() { return nullptr; }
    static void close(HWND h) {
        if (IsWindow(h)) DestroyWindow(h);
    }
};
struct IconTraits {
    static HICON empty() { return nullptr; }
    static void close(HICON h) { DestroyIcon(h); }
};
struct FileTraits {
    static FILE* empty() { return nullptr; }
    static void close(FILE* f) { fclose(f); }
};
struct HandleTraits {
    static HANDLE empty() { return nullptr; }
    static void close(HANDLE h) { CloseHandle(h); }
};

using GdiObject = Owner<HGDIOBJ, GdiTraits>;
using Font = Owner<HFONT, FontTraits>;
using Bitmap = Owner<HBITMAP, BitmapTraits>;
using MemoryDc = Owner<HDC, MemoryDcTraits>;
using RegistryKey = Owner<HKEY, KeyTraits>;
using Library = Owner<HMODULE, LibraryTraits>;
using GlobalBlock = Owner<HGLOBAL, GlobalTraits>;
using GlobalAtom = Owner<ATOM, AtomTraits>;
using Window = Owner<HWND, WindowTraits>;
using Icon = Owner<HICON, IconTraits>;
using File = Owner<FILE*, FileTraits>;
using Handle = Owner<HANDLE, HandleTraits>;

// Selects an object into a device context and selects the former one back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, old_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Locks a global memory block for the life of the view.
template <typename T>
class GlobalView {
public:
    explicit GlobalView(HGLOBAL block) : block_(block), data_(static_cast<T*>(GlobalLock(block))) {}
    ~GlobalView() {
        if (data_) GlobalUnlock(block_);
    }
    GlobalView(const GlobalView&) = delete;
    GlobalView& operator=(const GlobalView&) = delete;
    T* get() const { return data_; }
    explicit operator bool() const { return data_ != nullptr; }

private:
    HGLOBAL block_;
    T* data_;
};

// Shows the hourglass until the end of a scope, then the former cursor.
class WaitCursor {
public:
    WaitCursor() : old_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(old_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR old_;
};

// Puts the process error mode back at the end of a scope.
class ErrorModeScope {
public:
    explicit ErrorModeScope(UINT mode) : old_(SetErrorMode(mode)) {}
    ~ErrorModeScope() { SetErrorMode(old_); }
    ErrorModeScope(const ErrorModeScope&) = delete;
    ErrorModeScope& operator=(const ErrorModeScope&) = delete;

private:
    UINT old_;
};

// A system DLL that only some dialogs use. It is loaded by the first call
// that needs it rather than at start, and stays loaded to the end of the
// process. It is looked for in the system folder only, so that a file of
// the same name in the program's folder is never loaded in its place (and
// the folder is not searched first); a system that does not know that
// search gets the usual search. A DLL or an entry point that is missing
// gives a null entry; the caller then acts as it does when the call itself
// fails.
class LateLibrary {
public:
    explicit LateLibrary(const wchar_t* name) : name_(name) {}
    LateLibrary(const LateLibrary&) = delete;
    LateLibrary& operator=(const LateLibrary&) = delete;

    template <typename F>
    F Entry(const char* entry) {
        if (!tried_) {
            tried_ = true;
            ErrorModeScope quiet(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
            module_.reset(LoadLibraryExW(name_, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
            if (!module_ && GetLastError() == ERROR_INVALID_PARAMETER) module_.reset(LoadLibraryW(name_));
        }
        if (!module_) return nullptr;
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_.get(), entry)));
    }

private:
    const wchar_t* name_;
    bool tried_ = false;
    Library module_;
};

}  // namespace rc
