// End-to-end tests: the real rcsetup32.exe, started in this test's Wine
// prefix and worked from outside through its windows.
#include <gtest/gtest.h>

#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!GetEnvironmentVariableW(L"RC_CONFIGURATOR_EXE", nullptr, 0)) {
        fprintf(stderr, "RC_CONFIGURATOR_EXE is not set\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
