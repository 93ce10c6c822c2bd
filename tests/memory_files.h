// A file system held in memory, able to fail any write, close or replace.
#pragma once

#include <algorithm>
#include <iterator>
#include <map>
#include <string>

#include "files/file_system.h"

class memory_files : public file_system {
public:
    std::map<std::string, std::string> files;
    std::map<int, std::string> open_handles;  // handle -> path

    // Failure injection: the write that would take the file past
    // `write_limit` bytes fails (after writing up to the limit).
    std::size_t write_limit = static_cast<std::size_t>(-1);
    bool fail_close = false;
    bool fail_replace = false;
    bool fail_create = false;
    std::size_t name_limit = 255;

    std::string find_target(const std::string& path, links, target& found) override
    {
        found = target{path};
        return {};
    }

    std::string create_new(const std::string& path, int, int& handle) override
    {
        if (fail_create) return "Permission denied";
        if (path.substr(path.find_last_of('/') + 1).size() > name_limit)
            return "File name too long";
        if (files.count(path) != 0) return "File exists";
        files[path];
        return open(path, opening::in_place, handle);
    }

    std::string open(const std::string& path, opening how, int& handle) override
    {
        if (how == opening::directory || how == opening::directory_now) {
            if (locked) return busy;
            locked = true;
            handle = lock_handle;
            return {};
        }
        if (how == opening::read && files.count(path) == 0) return "No such file or directory";
        if (how == opening::descriptor || how == opening::append) files[path];
        handle = next_handle_++;
        open_handles[handle] = path;
        // A file open for reading is read as it was, whatever takes its name later.
        if (how == opening::read) reading[handle] = {files[path], 0};
        return {};
    }

    std::string read(int handle, char* data, std::size_t size, std::size_t& got) override
    {
        auto& [file, at] = reading.at(handle);
        got = file.copy(data, size, at);
        at += got;
        return {};
    }

    // Files without a name are left to the real system: here every file
    // is made under a temporary name.
    std::string create_unnamed(const std::string&, int&) override { return "Not supported"; }
    std::string name_unnamed(int, const std::string&, bool, int) override
    {
        return "Not supported";
    }

    std::string write(int handle, const char* data, std::size_t size) override
    {
        std::string& file = files.at(open_handles.at(handle));
        const std::size_t room = file.size() < write_limit ? write_limit - file.size() : 0;
        file.append(data, size < room ? size : room);
        return size <= room ? std::string() : "No space left on device";
    }

    std::string close(int handle) override
    {
        if (handle == lock_handle) locked = false;
        open_handles.erase(handle);
        reading.erase(handle);
        return fail_close ? "Input/output error" : std::string();
    }

    std::string replace(const std::string& from, const std::string& to) override
    {
        if (fail_replace) return "Is a directory";
        files[to] = files.at(from);
        files.erase(from);
        return {};
    }

    void remove(const std::string& path) override { files.erase(path); }

    std::size_t longest_name(const std::string&) override { return name_limit; }

    bool same_file(const std::string& a, const std::string& b) override
    {
        return a == b && files.count(a) != 0;
    }

    // Descriptors the test has open onto files here (path by number).
    std::map<int, std::string> descriptors;

    bool regular_file_id(int descriptor, const std::string& path, file_id& id) override
    {
        const auto open = descriptors.find(descriptor);
        const std::string& name = descriptor < 0 ? path : open == descriptors.end() ? "" : open->second;
        const auto found = files.find(name);
        if (found == files.end()) return false;
        id.inode = static_cast<std::uint64_t>(std::distance(files.begin(), found)) + 1;
        return true;
    }

private:
    static constexpr int lock_handle = 1000000;
    bool locked = false;
    int next_handle_ = 3;
    std::map<int, std::pair<std::string, std::size_t>> reading;
};
