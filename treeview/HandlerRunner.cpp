#include "HandlerRunner.h"

#include <QtGlobal>
#include <exception>

namespace {

void RunAndLog(const std::function<void()>& Handler) {
    try {
        Handler();
    } catch (const std::exception& error) {
        qWarning("Exception in a handler of the claim tree: %s", error.what());
    } catch (...) {
        qWarning("Unknown exception in a handler of the claim tree");
    }
}

THandlerRunner runner = RunAndLog;

} // namespace

void SetHandlerRunner(THandlerRunner Runner) {
    runner = Runner != nullptr ? Runner : RunAndLog;
}

void RunTreeHandler(const std::function<void()>& Handler) {
    runner(Handler);
}
