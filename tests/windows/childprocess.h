#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelvan::windowscheck {

// The check program, started again with ZELVAN_CHECK_OUT naming a file, is
// the child of the cases that need a new process: it writes its arguments
// there, as the unit splits them.
bool isChild();
int runAsChild();

std::wstring programPath();
std::wstring programFolder();

// Starts `program` with `commandLine` and waits for it; its exit code, or
// nothing when it did not start or end within 30 s. The child writes to
// `outputFile`.
std::optional<std::uint32_t> runChild(const std::wstring &program, const std::wstring &commandLine,
                                      const std::wstring &outputFile);

// The arguments a child wrote; nothing when it wrote no file.
std::optional<std::vector<std::wstring>> childArguments(const std::wstring &outputFile);

// Sets or (with nullptr) removes ZELVAN_CHECK_OUT, which children inherit.
void setChildOutput(const wchar_t *outputFile);

} // namespace zelvan::windowscheck
