#pragma once

// The agent's way of saying a failed save (SaveFailures): a desktop notification naming the list
// and the reason, since the agent works while none of its windows is up. Its saves on the main
// thread wait only briefly for another program's save (SaveLock); a save that met one is tried
// again by its owner rather than said.
namespace SaveFailureNotice {

void install();

} // namespace SaveFailureNotice
