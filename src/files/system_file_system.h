// The system's own file operations: the file_system the converter runs on.
#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "files/file_system.h"

class system_file_system : public file_system {
public:
    std::string find_target(const std::string& path, links how, target& found) override;
    std::string create_new(const std::string& path, int mode, int& handle) override;
    std::string create_unnamed(const std::string& directory, int& handle) override;
    std::string name_unnamed(int handle, const std::string& path, bool temporary,
                             int mode) override;
    std::string open(const std::string& path, opening how, int& handle) override;
    std::string write(int handle, const char* data, std::size_t size) override;
    std::string read(int handle, char* data, std::size_t size, std::size_t& got) override;
    std::string close(int handle) override;
    std::string replace(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) override;
    std::size_t longest_name(const std::string& directory) override;
    bool same_file(const std::string& a, const std::string& b) override;
    bool regular_file_id(int descriptor, const std::string& path, file_id& id) override;

    // A name in a directory held open: `at` is the directory's descriptor
    // and `name` the file's name in it, or `at` the working directory's and
    // `name` the path as given.
    struct place {
        int at;
        std::string name;
    };
    place placed(const std::string& path);

private:
    // Set once linking an unnamed file into place has failed (no /proc in
    // a container): the rest of the run uses temporary names.
    std::atomic<bool> unnamed_fails_{false};
    // The directories opened (and locked) by `open`: a file directly in one
    // is reached through its descriptor, so a directory renamed meanwhile
    // is still where the run's files go, and a new one of the old name gets
    // none of them.
    struct held_directory {
        std::string path;  // without a trailing separator
        int handle;
    };
    std::mutex held_mutex_;
    std::vector<held_directory> held_;
    int held_handle(const std::string& directory);
};
