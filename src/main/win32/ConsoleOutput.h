#pragma once

namespace tovrik {

// The program is a windowed one, so it gets no console of its own. Started from a console
// with its output not redirected, it writes to that console.
void UseParentConsole();

} // namespace tovrik
