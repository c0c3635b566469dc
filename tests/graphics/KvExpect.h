#pragma once

// Several expected values checked in one line: each {actual, expected} pair must be equal, and a failure
// names the pair by its place in the list.

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

template <typename T> void KvExpectEq(std::initializer_list<std::pair<T, T>> pairs)
{
    int i = 0;
    for (const auto& [actual, expected] : pairs)
    {
        EXPECT_EQ(actual, expected) << "pair " << i;
        ++i;
    }
}
