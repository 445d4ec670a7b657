#include "app/win32/ProgramIcons.h"

#include <shellapi.h>

#include <climits>

#include "catalogue/EntryDetails.h"
#include "common/win32/Wide.h"

namespace quillet::win32 {

ProgramIcons::ProgramIcons(HWND window, UINT arrived, HIMAGELIST small, HIMAGELIST big)
    : window_(window), arrived_(arrived), small_(small), big_(big), thread_([this] { Run(); })
{
}

ProgramIcons::~ProgramIcons()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
    for (const Loaded& icon : loaded_)
        for (HICON handle : {icon.big, icon.small})
            if (handle) DestroyIcon(handle);
}

int ProgramIcons::Image(const std::string& displayIcon, int fallback)
{
    bool ask = false;
    const int image = cache_.Image(displayIcon, ask);
    if (ask) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            asked_.push_back(displayIcon);
        }
        wake_.notify_one();
    }
    return image >= 0 ? image : fallback;
}

bool ProgramIcons::TakeArrived()
{
    std::vector<Loaded> arrived;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        arrived.swap(loaded_);
        posted_ = false;
    }
    bool added = false;
    for (const Loaded& icon : arrived) {
        int image = -1;
        if (icon.big || icon.small) {
            // Each list scales the icon it lacks from the other size.
            image = ImageList_AddIcon(small_, icon.small ? icon.small : icon.big);
            if (image >= 0 && ImageList_AddIcon(big_, icon.big ? icon.big : icon.small) != image) {
                // The lists must stay index for index.
                ImageList_Remove(small_, image);
                image = -1;
            }
        }
        cache_.Loaded(icon.text, image);
        added = added || image >= 0;
        for (HICON handle : {icon.big, icon.small})
            if (handle) DestroyIcon(handle);
    }
    return added;
}

bool ProgramIcons::Load(const std::string& displayIcon, HICON& big, HICON& small)
{
    big = small = nullptr;
    IconLocation location;
    if (!ParseIconLocation(displayIcon, location)) return false;
    // Environment references count here only, where nothing runs.
    const std::wstring raw = Wide(location.path);
    std::wstring path(32768, L'\0');
    const DWORD length = ExpandEnvironmentStringsW(raw.c_str(), path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length > path.size()) return false;
    path.resize(length - 1);
    // With WOW64's file redirection on: a 32-bit twin's icon at worst, where
    // loading modules with it off is asking for the wrong system DLLs.
    if (!IsLocalDrivePath(Utf8(path))) return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    const UINT found = ExtractIconExW(path.c_str(), location.index, &big, &small, 1);
    if (found != 0 && found != UINT_MAX && (big || small)) return true;
    // Some implementations hand out icons with a count that says none.
    for (HICON* icon : {&big, &small}) {
        if (*icon) DestroyIcon(*icon);
        *icon = nullptr;
    }
    return false;
}

void ProgramIcons::Run()
{
    for (;;) {
        std::string text;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [&] { return stop_ || !asked_.empty(); });
            if (stop_) return;
            text = std::move(asked_.front());
            asked_.pop_front();
        }
        Loaded icon{text, nullptr, nullptr};
        if (!Load(text, icon.big, icon.small)) icon.big = icon.small = nullptr;
        bool post = false;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            loaded_.push_back(std::move(icon));
            post = !posted_;
            posted_ = true;
        }
        if (post && !PostMessageW(window_, arrived_, 0, 0)) {
            std::lock_guard<std::mutex> lock(mutex_);
            posted_ = false;  // the next icon tries again
        }
    }
}

}  // namespace quillet::win32
