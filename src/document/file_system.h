// The few file operations the drawings are written through. The converter
// uses the system's; tests and the fuzzer put their own in its place to
// fail any of them or to keep the files in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What writing a name that is a symbolic link does: replace the file it
// points to (the link stays), or the link itself, in a directory that may be
// shared, where a planted link must not send the write elsewhere.
enum class links { follow, replace };

class file_system {
public:
    // What writing a file of some name replaces: the file itself, or the
    // target of a symbolic link of that name, and the permission bits it
    // has (-1 when there is no file yet).
    struct target {
        std::string path;
        int mode = -1;
        bool in_place = false;  // a device, FIFO or socket: written into, never replaced
    };

    virtual ~file_system() = default;
    // Each returns an empty string on success, or what went wrong.
    // Refuses a file the user may not write, a directory, and with
    // links::replace anything but a regular file. `found.path` tells how far
    // the links led even then.
    virtual std::string find_target(const std::string& path, links how, target& found) = 0;
    // Must fail when the file exists already; `mode` -1 gives a new file's default bits.
    virtual std::string create_new(const std::string& path, int mode, int& handle) = 0;
    // A new file without a name in `directory` ("" for the working one),
    // which vanishes if the run ends before it is named; an error where
    // the system cannot make one, and the caller then uses create_new.
    virtual std::string create_unnamed(const std::string& directory, int& handle) = 0;
    // Gives the open unnamed file its name: a new name, failing with
    // "File exists" if it is taken; or with `replace`, over the file of that
    // name, with the permission bits `mode` (-1: the new file's own).
    virtual std::string name_unnamed(int handle, const std::string& path, bool replace,
                                     int mode) = 0;
    // Opens for writing a file found `in_place`, as it is: never creating,
    // truncating or following a link, and failing if it has become a regular file.
    virtual std::string open_in_place(const std::string& path, int& handle) = 0;
    // Takes an open descriptor (1: standard output) as the handle, made
    // ready for the drawing's bytes as they are; fails unless it is open for writing.
    virtual std::string open_descriptor(int number, int& handle) = 0;
    virtual std::string write(int handle, const char* data, std::size_t size) = 0;
    virtual std::string close(int handle) = 0;
    // Moves `from` over `to`, replacing a file of that name.
    virtual std::string replace(const std::string& from, const std::string& to) = 0;
    virtual void remove(const std::string& path) = 0;
    // Creates the directory unless it exists.
    virtual std::string make_directory(const std::string& path) = 0;
    // A directory's entries (not . and ..) with the time each was last
    // changed, a symbolic link's own time for a link.
    struct entry {
        std::string name;
        std::int64_t modified = 0;  // nanoseconds, on the file system's clock
    };
    virtual std::string list_directory(const std::string& path, std::vector<entry>& entries) = 0;
    // The time the file system gives a file written in `directory` now.
    virtual std::string time_now(const std::string& directory, std::int64_t& now) = 0;
    // The longest name a file in `directory` ("" for the working one) may have.
    virtual std::size_t longest_name(const std::string& directory) = 0;
    // Whether both names lead to one file (links followed); false when either is missing.
    virtual bool same_file(const std::string& a, const std::string& b) = 0;
    // The device and inode of the regular file behind the open descriptor
    // `descriptor`, or when it is -1 behind the name `path` (links followed):
    // false for anything else (a terminal, a pipe, a device) or nothing.
    struct file_id {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        bool operator==(const file_id& other) const
        {
            return device == other.device && inode == other.inode;
        }
    };
    virtual bool regular_file_id(int descriptor, const std::string& path, file_id& id) = 0;
};

class system_file_system : public file_system {
public:
    std::string find_target(const std::string& path, links how, target& found) override;
    std::string create_new(const std::string& path, int mode, int& handle) override;
    std::string create_unnamed(const std::string& directory, int& handle) override;
    std::string name_unnamed(int handle, const std::string& path, bool replace,
                             int mode) override;
    std::string open_in_place(const std::string& path, int& handle) override;
    std::string open_descriptor(int number, int& handle) override;
    std::string write(int handle, const char* data, std::size_t size) override;
    std::string close(int handle) override;
    std::string replace(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) override;
    std::string make_directory(const std::string& path) override;
    std::string list_directory(const std::string& path, std::vector<entry>& entries) override;
    std::string time_now(const std::string& directory, std::int64_t& now) override;
    std::size_t longest_name(const std::string& directory) override;
    bool same_file(const std::string& a, const std::string& b) override;
    bool regular_file_id(int descriptor, const std::string& path, file_id& id) override;
};

// The descriptor an output name stands for, or -1: 1 for "-" and
// /dev/stdout, 0 for /dev/stdin, 2 for /dev/stderr, N for /dev/fd/N.
// These are recognised as written and never opened by path, so the
// descriptor is written as the shell opened it (appended to, after >>).
int descriptor_named(const std::string& path);
