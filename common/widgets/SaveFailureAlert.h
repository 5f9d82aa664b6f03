#pragma once

// The manager's, the browser's and the installer's way of saying a failed save (SaveFailures):
// an alert over the window in front, naming the list and what to do about it.
namespace SaveFailureAlert {

void install();

} // namespace SaveFailureAlert
