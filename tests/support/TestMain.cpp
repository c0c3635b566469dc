// Shared main for every test program: GoogleTest with the C locale pinned to something other than
// "C" where the machine has one, so tests notice code that leans on the process locale.
#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv)
{
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        std::setlocale(LC_ALL, "C.UTF-8");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
