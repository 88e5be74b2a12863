// Shared main of every test program: private XDG folders, then a Qt
// application object (widgets for GUI tests, core otherwise), then the tests.
#include "ProgramState.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <gtest/gtest.h>
#include <memory>

namespace kelbrin::test {
// CoreApp.cpp or GuiApp.cpp, whichever the test program links.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv);
} // namespace kelbrin::test

int main(int argc, char** argv) {
    kelbrin::test::SetUpPrivateEnvironment();
    ::testing::InitGoogleTest(&argc, argv);
    auto app = kelbrin::test::MakeApplication(argc, argv);
    kelbrin::test::ResetProgramObjects();
    const int result = RUN_ALL_TESTS();
    app.reset();
    QDir(kelbrin::test::PrivateRoot()).removeRecursively();
    return result;
}
