#include <QCoreApplication>
#include <memory>

namespace kelbrin::test {
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv) {
    return std::make_unique<QCoreApplication>(argc, argv);
}
} // namespace kelbrin::test
