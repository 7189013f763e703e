#include "speech/library_check.hpp"

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace orvane {

namespace {

std::string folderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::vector<std::string> searchFolders() {
  std::vector<std::string> folders;
  if (const char* env = std::getenv("LD_LIBRARY_PATH")) {
    std::string_view rest = env;
    while (!rest.empty()) {
      const auto colon = rest.find(':');
      const std::string_view folder = rest.substr(0, colon);
      if (!folder.empty()) folders.emplace_back(folder);
      rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
  }
  // The multiarch folder (/lib/x86_64-linux-gnu, say) is the C library's own.
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&::dladdr), &info) && info.dli_fname &&
      info.dli_fname[0] == '/') {
    const std::string libc = folderOf(info.dli_fname);
    folders.push_back(libc);
    if (libc.starts_with("/lib")) folders.push_back("/usr" + libc);
  }
  for (const char* folder : {"/lib", "/usr/lib"}) folders.emplace_back(folder);
  return folders;
}

bool readAt(int fd, void* out, std::size_t size, off_t offset) {
  return ::pread(fd, out, size, offset) == static_cast<ssize_t>(size);
}

// The machine the program itself was built for, from its own ELF header.
ElfW(Half) ownMachine() {
  static const ElfW(Half) machine = [] {
    ElfW(Ehdr) own{};
    const int fd = ::open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return ElfW(Half){EM_NONE};
    const bool read = readAt(fd, &own, sizeof own, 0);
    ::close(fd);
    return read ? own.e_machine : ElfW(Half){EM_NONE};
  }();
  return machine;
}

}  // namespace

std::optional<std::string> findLibrary(const std::string& name) {
  if (name.empty() || name.find('/') != std::string::npos) return std::nullopt;
  for (const std::string& folder : searchFolders()) {
    const std::string path = folder + "/" + name;
    if (::access(path.c_str(), F_OK) == 0) return path;
  }
  return std::nullopt;
}

bool isWholeLibrary(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  const auto size = static_cast<std::uint64_t>(st.st_size);
  ElfW(Ehdr) header{};
  if (!readAt(fd, &header, sizeof header, 0) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
      header.e_ident[EI_CLASS] != (sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32) ||
      header.e_type != ET_DYN || header.e_phentsize != sizeof(ElfW(Phdr)) || header.e_phnum == 0) {
    return false;
  }
  if (ownMachine() != EM_NONE && header.e_machine != ownMachine()) return false;
  const std::uint64_t tableEnd = static_cast<std::uint64_t>(header.e_phoff) +
                                 std::uint64_t{header.e_phnum} * sizeof(ElfW(Phdr));
  if (tableEnd > size) return false;
  std::vector<ElfW(Phdr)> segments(header.e_phnum);
  if (!readAt(fd, segments.data(), segments.size() * sizeof(ElfW(Phdr)),
              static_cast<off_t>(header.e_phoff))) {
    return false;
  }
  bool loads = false;
  for (const ElfW(Phdr) & segment : segments) {
    if (segment.p_type == PT_LOAD) {
      loads = true;
    } else if (segment.p_type != PT_DYNAMIC) {
      continue;
    }
    if (std::uint64_t{segment.p_offset} + segment.p_filesz > size) return false;
  }
  return loads;
}

std::optional<std::string> checkedLibrary(const std::string& name) {
  auto path = findLibrary(name);
  if (!path || !isWholeLibrary(*path)) return std::nullopt;
  return path;
}

}  // namespace orvane
