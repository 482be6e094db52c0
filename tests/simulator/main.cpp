#include <QCoreApplication>

#include <gtest/gtest.h>

// The terminal server answers from the event loop, so the tests run
// inside a Qt application.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
