#include <QCoreApplication>

#include <gtest/gtest.h>

// The plug-in finds its description document beside the application, so the
// tests run inside a Qt application like the host.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
