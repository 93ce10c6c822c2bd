// The few file operations the document is written through. The converter
// uses the system's; tests and the fuzzer put their own in its place to
// fail a write at any point or to keep the document in memory.
#pragma once

#include <cstddef>
#include <string>

class file_system {
public:
    virtual ~file_system() = default;
    // Each returns an empty string on success, or what went wrong.
    // `create_new` must fail when the file exists already.
    virtual std::string create_new(const std::string& path, int& handle) = 0;
    virtual std::string write(int handle, const char* data, std::size_t size) = 0;
    virtual std::string close(int handle) = 0;
    // Moves `from` over `to`, replacing a file of that name.
    virtual std::string replace(const std::string& from, const std::string& to) = 0;
    virtual void remove(const std::string& path) = 0;
};

class system_file_system : public file_system {
public:
    std::string create_new(const std::string& path, int& handle) override;
    std::string write(int handle, const char* data, std::size_t size) override;
    std::string close(int handle) override;
    std::string replace(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) override;
};
