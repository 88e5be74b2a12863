#include <QApplication>
#include <memory>

namespace kelbrin::test {
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv) {
    return std::make_unique<QApplication>(argc, argv);
}
} // namespace kelbrin::test
