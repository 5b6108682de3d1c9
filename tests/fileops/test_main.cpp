// The test program of the file services: GoogleTest with a QApplication, since
// ReadFileText shows its boxes through the toolkit's Qt backend.
#include <QApplication>

#include <cstdlib>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (gtest_discover_tests at build time) needs no display.
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    // CTest sets QT_QPA_PLATFORM=offscreen; a run by hand gets the same default.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
