#pragma once

#include "SaveFailure.h"

#include <QString>

#include <functional>

// Where a failed save is said. Every writer of the suite's files reports here; each program
// installs how it tells the user (the manager and the browser an alert, the agent a desktop
// notification; the tools say it themselves before their exit status). A file that keeps
// failing is said once, again only after it was saved or failed for another reason.
namespace SaveFailures {

using Presenter = std::function<void(const QString &path, const SaveFailure &failure)>;

// Called later from the event loop of the main thread, never from inside the save.
void setPresenter(Presenter presenter);

// Logs "Unable saving data in file PATH: WHY", and has the failure said.
void report(const QString &path, const SaveFailure &failure);

// While one lives, the failures of this thread's saves are not presented: the caller says them
// itself, in the dialog the user is in.
class SaidByCaller
{
public:
    SaidByCaller();
    ~SaidByCaller();
    SaidByCaller(const SaidByCaller &) = delete;
    SaidByCaller &operator=(const SaidByCaller &) = delete;
};
void saved(const QString &path);

} // namespace SaveFailures
