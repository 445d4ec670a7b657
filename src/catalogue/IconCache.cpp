#include "catalogue/IconCache.h"

#include <iterator>

namespace quillet {

int IconCache::Image(const std::string& displayIcon, bool& ask)
{
    ask = false;
    if (displayIcon.empty()) return -1;
    const auto found = images_.find(displayIcon);
    if (found != images_.end()) return found->second >= 0 ? found->second : -1;
    if (loaded_ >= kMaxIcons) return -1;
    images_.emplace(displayIcon, kAsked);
    ask = true;
    return -1;
}

void IconCache::Loaded(const std::string& displayIcon, int image)
{
    images_[displayIcon] = image < 0 ? -1 : image;
    if (image >= 0) ++loaded_;
}

void IconCache::ForgetMissing()
{
    for (auto it = images_.begin(); it != images_.end();)
        it = it->second == -1 ? images_.erase(it) : std::next(it);
}

bool IsLocalDrivePath(const std::string& path)
{
    if (path.size() < 3) return false;
    const char drive = static_cast<char>(path[0] | 0x20);
    return drive >= 'a' && drive <= 'z' && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

}  // namespace quillet
