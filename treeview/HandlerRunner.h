#pragma once

#include <functional>

// Every handler that the drawing gives to Qt (the buttons of the boxes,
// scrolling) runs through one runner, so that an exception never unwinds
// through Qt's code. The application sets its own, which shows the exception
// to the user; until then an exception is written to the log.
using THandlerRunner = void (*)(const std::function<void()>& Handler);

void SetHandlerRunner(THandlerRunner Runner);

// Runs Handler through the runner.
void RunTreeHandler(const std::function<void()>& Handler);
