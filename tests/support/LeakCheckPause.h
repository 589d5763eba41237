#pragma once
// While one of these lives, the leak checker of a sanitized build does not
// record the allocations made on this thread; elsewhere it does nothing.
// For the few tests that provoke a leak below us on purpose.

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVALA_LEAK_CHECKER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define KORVALA_LEAK_CHECKER 1
#endif

#ifdef KORVALA_LEAK_CHECKER
#include <sanitizer/lsan_interface.h>
#endif

class LeakCheckPause {
public:
#ifdef KORVALA_LEAK_CHECKER
    LeakCheckPause() { __lsan_disable(); }
    ~LeakCheckPause() { __lsan_enable(); }
#else
    LeakCheckPause() = default;
#endif
    LeakCheckPause(const LeakCheckPause&) = delete;
    LeakCheckPause& operator=(const LeakCheckPause&) = delete;
};
