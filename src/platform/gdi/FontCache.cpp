#include "platform/gdi/FontCache.h"

#include <list>
#include <mutex>
#include <utility>

namespace pw::platform::gdi {

namespace {

struct Cache {
    std::mutex lock;
    std::list<std::shared_ptr<const Font>> fonts; // most recently used first
};

Cache& TheCache()
{
    static Cache cache;
    return cache;
}

} // namespace

std::shared_ptr<const Font> FontCache::Get(const FontSpec& spec)
{
    Cache& cache = TheCache();
    {
        std::lock_guard guard(cache.lock);
        for (auto it = cache.fonts.begin(); it != cache.fonts.end(); ++it)
            if ((*it)->Spec() == spec) {
                cache.fonts.splice(cache.fonts.begin(), cache.fonts, it);
                return cache.fonts.front();
            }
    }
    // Realised outside the lock: another thread may race to the same spec; either copy is right.
    auto font = std::make_shared<const Font>(spec);
    std::lock_guard guard(cache.lock);
    cache.fonts.push_front(font);
    if (cache.fonts.size() > kCapacity)
        cache.fonts.pop_back();
    return font;
}

FontSpec FontCache::SystemFontSpec()
{
    FontSpec spec;
    spec.height = 16; // cell height
    spec.weight = kFwNormal;
    spec.faceName = "System";
    return spec;
}

std::shared_ptr<const Font> FontCache::SystemFont()
{
    return Get(SystemFontSpec());
}

} // namespace pw::platform::gdi
