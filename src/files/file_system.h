// The few file operations the drawings are written through. The converter
// uses the system's; tests and the fuzzer put their own in its place to
// fail any of them or to keep the files in memory.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
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
    // Gives the open unnamed file its name, failing with "File exists" if
    // it is taken, and the permission bits `mode` (-1: the new file's own).
    // A `temporary` name is one the caller renames or removes later: a
    // signal's clean-up removes it meanwhile.
    virtual std::string name_unnamed(int handle, const std::string& path, bool temporary,
                                     int mode) = 0;
    // What `open` opens, and how.
    enum class opening {
        // An existing regular file, for reading, never through a link.
        read,
        // A file found `in_place`, for writing as it is: never created,
        // truncated or followed as a link, and refused if it has become a
        // regular file.
        in_place,
        // A name of a descriptor (descriptor_named): that descriptor, made
        // ready for the drawing's bytes as they are; fails unless it is open
        // for writing.
        descriptor,
        // A directory, made if missing, held against every other run that
        // opens it so until the handle is closed: waits for a run holding it.
        directory,
        // The same, but failing at once with `busy` while another run holds it.
        directory_now,
        // A regular file, made if missing, written at its end with each
        // write whole: never truncated or followed as a link.
        append,
    };
    static constexpr const char* busy = "held by another run";
    virtual std::string open(const std::string& path, opening how, int& handle) = 0;
    virtual std::string write(int handle, const char* data, std::size_t size) = 0;
    // Reads up to `size` bytes; `got` 0 at the end of the file.
    virtual std::string read(int handle, char* data, std::size_t size, std::size_t& got) = 0;
    virtual std::string close(int handle) = 0;
    // Moves `from` over `to`, replacing a file of that name.
    virtual std::string replace(const std::string& from, const std::string& to) = 0;
    // Removes the name: a file, or a symbolic link (never what it points
    // to), never a directory.
    virtual void remove(const std::string& path) = 0;
    // The longest name a file in `directory` ("" for the working one) may have.
    virtual std::size_t longest_name(const std::string& directory) = 0;
    // Whether both names lead to one file (links followed; a name of a
    // descriptor, as descriptor_named, is that descriptor's file); false
    // when either is missing.
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

// The descriptor an output name stands for, or -1: 1 for "-" and
// /dev/stdout, 0 for /dev/stdin, 2 for /dev/stderr, N for /dev/fd/N.
// These are recognised as written and never opened by path, so the
// descriptor is written as the shell opened it (appended to, after >>).
int descriptor_named(const std::string& path);
