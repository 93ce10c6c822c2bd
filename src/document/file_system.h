// The few file operations the drawings are written through. The converter
// uses the system's; tests and the fuzzer put their own in its place to
// fail any of them or to keep the files in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class file_system {
public:
    // What writing a file of some name replaces: the file itself, or the
    // target of a symbolic link of that name, and the permission bits it
    // has (-1 when there is no file yet).
    struct target {
        std::string path;
        int mode = -1;
    };

    virtual ~file_system() = default;
    // Each returns an empty string on success, or what went wrong.
    // Refuses a file the user may not write.
    virtual std::string find_target(const std::string& path, target& found) = 0;
    // Must fail when the file exists already; `mode` -1 gives a new file's default bits.
    virtual std::string create_new(const std::string& path, int mode, int& handle) = 0;
    virtual std::string write(int handle, const char* data, std::size_t size) = 0;
    virtual std::string close(int handle) = 0;
    // Moves `from` over `to`, replacing a file of that name.
    virtual std::string replace(const std::string& from, const std::string& to) = 0;
    virtual void remove(const std::string& path) = 0;
    // Creates the directory unless it exists.
    virtual std::string make_directory(const std::string& path) = 0;
    // The handle of standard output, made ready to take the drawing's bytes as they are.
    virtual int standard_output() = 0;

    // A directory's entries (not . and ..) with the time each was last
    // changed, a symbolic link's own time for a link.
    struct entry {
        std::string name;
        std::int64_t modified = 0;  // nanoseconds, on the file system's clock
    };
    virtual std::string list_directory(const std::string& path, std::vector<entry>& entries) = 0;
    // The time the file system gives a file written in `directory` now.
    virtual std::string time_now(const std::string& directory, std::int64_t& now) = 0;
};

class system_file_system : public file_system {
public:
    std::string find_target(const std::string& path, target& found) override;
    std::string create_new(const std::string& path, int mode, int& handle) override;
    std::string write(int handle, const char* data, std::size_t size) override;
    std::string close(int handle) override;
    std::string replace(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) override;
    std::string make_directory(const std::string& path) override;
    int standard_output() override;
    std::string list_directory(const std::string& path, std::vector<entry>& entries) override;
    std::string time_now(const std::string& directory, std::int64_t& now) override;
};
