#pragma once
// The editor's run as a test sees it: the end is counted instead of leaving
// the event loop, the command line and the date are the test's own.

#include "gui/mainwindow/CloseSteps.h"
#include "gui/mainwindow/MainClose.h"
#include "gui/mainwindow/frmDazudizi.h"
#include "support/ProgramState.h"

#include <QCoreApplication>
#include <functional>
#include <memory>

namespace kelbrin::test {

class FakeProgramEnd final : public ProgramEnd {
public:
    int ended = 0;
    QString arguments;
    QDate date = QDate::currentDate();
    // Default: pending events run once, as in the real run.
    std::function<void()> onYield;

    QString commandLine() const override { return arguments; }
    void yield() override {
        if (onYield)
            onYield();
        else
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    QDate today() const override { return date; }
    void endProgram() override { ++ended; }
};

// Gives the window's close a counted end; the close owns it.
inline FakeProgramEnd* CountProgramEnd(frmDazudizi& window) {
    auto fake = std::make_unique<FakeProgramEnd>();
    FakeProgramEnd* counted = fake.get();
    window.Closing().setProgramEnd(std::move(fake));
    return counted;
}

} // namespace kelbrin::test
