// The few file operations the drawings are written through. The converter
// uses the system's; tests and the fuzzer put their own in its place to
// fail any of them or to keep the files in memory.
#pragma once

#include <cstddef>
#include <string>

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
};
