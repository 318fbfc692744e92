// The main of the test programs: a run in which no test ran, such as one whose GoogleTest filter
// matches nothing, fails instead of passing.
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    if (!GTEST_FLAG_GET(list_tests) && testing::UnitTest::GetInstance()->test_to_run_count() == 0) {
        std::fprintf(stderr, "No test matches the filter \"%s\": none ran.\n",
                     GTEST_FLAG_GET(filter).c_str());
        return 1;
    }
    return result;
}
