// platform_posix.cpp: the platform on systems without a registry. The place where the registry
// would name the system-information tool names the host's own tool, when one is installed.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "about/memory_registry.hpp"
#include "about/platform.hpp"

namespace numerak {

namespace {

bool isExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::optional<std::string> onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string dirs = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        const std::string dir = dirs.substr(start, end - start);
        std::string candidate = dir;
        candidate += '/';
        candidate += program;
        if (!dir.empty() && dir.front() == '/' && isExecutableFile(candidate)) return candidate;
        start = end + 1;
    }
    return std::nullopt;
}

class PosixPlatform : public MemoryRegistryPlatform {
public:
    long RegOpenKeyExA(std::uint32_t root, const std::string& subKey, std::uint32_t options, std::uint32_t access,
                       RegistryKey& key) override {
        fill();
        return MemoryRegistryPlatform::RegOpenKeyExA(root, subKey, options, access, key);
    }

    std::string FindFile(const std::string& path) override {
        if (path.empty() || path.find('\0') != std::string::npos) throw PlatformFailure("Bad file name or number");
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
        std::string name = path.substr(path.find_last_of('/') + 1);
        if (name.empty() || name.front() == '.') return {};  // hidden
        return name;
    }

    std::int64_t StartProgram(const std::string& path, int) override {
        if (path.empty() || path.find('\0') != std::string::npos || !isExecutableFile(path))
            throw PlatformFailure("File not found: " + path);
        return spawnDetached(path);
    }

private:
    void fill() {
        if (filled_) return;
        filled_ = true;
        for (const char* tool : {"hardinfo", "kinfocenter"}) {
            if (auto found = onPath(tool)) {
                registry.set(Registry::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                             MemoryRegistry::text(*found));
                break;
            }
        }
    }

    // Starts the program as a grandchild, so that it never lingers as our zombie, and learns
    // through a close-on-exec pipe whether the exec itself succeeded.
    static std::int64_t spawnDetached(const std::string& path) {
        int report[2];
        if (::pipe2(report, O_CLOEXEC) != 0) throw PlatformFailure(std::strerror(errno));
        const pid_t child = ::fork();
        if (child < 0) {
            ::close(report[0]);
            ::close(report[1]);
            throw PlatformFailure(std::strerror(errno));
        }
        if (child == 0) {
            ::close(report[0]);
            ::setsid();
            const pid_t grandchild = ::fork();
            if (grandchild == 0) {
                char* const argv[] = {const_cast<char*>(path.c_str()), nullptr};
                ::execv(path.c_str(), argv);
                const int error = errno;
                [[maybe_unused]] auto n = ::write(report[1], &error, sizeof error);
                ::_exit(127);
            }
            ::_exit(grandchild > 0 ? 0 : 1);
        }
        ::close(report[1]);
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {}
        int error = 0;
        ssize_t got;
        while ((got = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {}
        ::close(report[0]);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw PlatformFailure("the program could not be started");
        if (got > 0) throw PlatformFailure(std::strerror(error));
        return child;  // the task number: nobody waits on it
    }

    bool filled_ = false;
};

}  // namespace

std::unique_ptr<Platform> makeSystemPlatform() { return std::make_unique<PosixPlatform>(); }

}  // namespace numerak
