#pragma once

namespace zelvan::platform {

// Whether any top-level window is shown. A hidden window does not count, even
// one not yet deleted (the login dialog hides itself before it goes), so that
// the run can end when nothing is left on the screen.
bool anyWindowVisible();

} // namespace zelvan::platform
