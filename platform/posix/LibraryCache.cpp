#include "platform/LibraryCache.h"

#include <dlfcn.h>

#include <map>
#include <mutex>
#include <utility>

namespace korvala {

namespace {

// Guarded by cacheMutex: the handles of loaded libraries (nullptr when loading
// failed) and every symbol answer given, both kept for the life of the process.
std::mutex cacheMutex;
std::map<std::string, void*>& libraries()
{
    static std::map<std::string, void*> handles;
    return handles;
}
std::map<std::pair<std::string, std::string>, void*>& symbols()
{
    static std::map<std::pair<std::string, std::string>, void*> answers;
    return answers;
}

}  // namespace

void* loadLibraryFunction(const std::string& library, const std::string& symbol)
{
    std::lock_guard<std::mutex> lock(cacheMutex);
    auto key = std::make_pair(library, symbol);
    if (auto found = symbols().find(key); found != symbols().end())
        return found->second;

    void* handle = nullptr;
    if (auto loaded = libraries().find(library); loaded != libraries().end()) {
        handle = loaded->second;
    } else {
        handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
        libraries().emplace(library, handle);
    }
    void* address = handle ? ::dlsym(handle, symbol.c_str()) : nullptr;
    symbols().emplace(std::move(key), address);
    return address;
}

}  // namespace korvala
