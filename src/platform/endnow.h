#pragma once

namespace zelvan::platform {

// "End": the program stops at once with an exit code, without closing windows
// or saving anything. The test implementation throws ProgramEnded instead.
class EndNow
{
public:
    virtual ~EndNow() = default;
    [[noreturn]] virtual void endNow(int exitCode) = 0;
};

// Thrown by test implementations of EndNow. Deliberately not an Err, so
// that no error trap of the program catches it.
struct ProgramEnded
{
    int exitCode;
};

} // namespace zelvan::platform
