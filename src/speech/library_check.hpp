// Shared libraries looked over before they are opened. dlopen() maps a library and runs its
// constructors in the program's own process: an empty file is refused, but one cut short (a full
// disk, an interrupted upgrade) maps past its end and kills the process with SIGBUS on first
// touch. A library opened through here is found as the dynamic linker would find it, and opened
// by that path only if every segment it would map lies within the file.
#pragma once

#include <optional>
#include <string>

namespace orvane {

// Where the dynamic linker would find the library `name` (a bare name such as
// "libflite.so.1"): the folders of LD_LIBRARY_PATH, then the C library's own folder and the
// system's library folders. Nothing when it is in none of them.
std::optional<std::string> findLibrary(const std::string& name);

// Whether the file at `path` is a whole shared object for this machine: an ELF header of the
// program's own class and machine, and its program headers and every loaded segment within the
// file.
bool isWholeLibrary(const std::string& path);

// The library's path if it is found and whole; nothing otherwise.
std::optional<std::string> checkedLibrary(const std::string& name);

}  // namespace orvane
