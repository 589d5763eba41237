#pragma once
// What the Duplicate Finder and Hidden Revealer window tests share.

#include <chrono>

#include <QTest>

// Runs the window's events until condition holds; false when it did not
// within the time given.
template <typename Condition>
bool waitUntil(Condition condition, int milliseconds = 10000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        QTest::qWait(5);
    }
    return true;
}
