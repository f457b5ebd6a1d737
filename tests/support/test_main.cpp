#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>

// The main of every test binary. A test must never reach a keyboard on the desk: unless the
// environment already chose the simulated keyboard, the library is pointed at a backend it does
// not know, so a fixture that forgets to choose "sim" fails to start the library instead of
// opening the real HID backend. A child re-run for a death test keeps what its parent chose.
int main(int argc, char** argv)
{
    const char* backend = std::getenv("DEXLINK_BACKEND");
    if (backend == nullptr || std::strcmp(backend, "sim") != 0) {
        ::setenv("DEXLINK_BACKEND", "unchosen-by-the-test", 1);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
