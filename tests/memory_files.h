// A file system held in memory, able to fail any write, close or replace.
#pragma once

#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "document/file_system.h"

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
        return open_in_place(path, handle);
    }

    std::string open_in_place(const std::string& path, int& handle) override
    {
        handle = next_handle_++;
        open_handles[handle] = path;
        return {};
    }

    std::string open_descriptor(int number, int& handle) override
    {
        handle = number;
        open_handles[number] = "/dev/fd/" + std::to_string(number);
        files[open_handles[number]];
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
        open_handles.erase(handle);
        return fail_close ? "Input/output error" : std::string();
    }

    std::string replace(const std::string& from, const std::string& to) override
    {
        if (fail_replace) return "Is a directory";
        files[to] = files.at(from);
        files.erase(from);
        times[to] = ++clock_;
        return {};
    }

    void remove(const std::string& path) override { files.erase(path); }

    std::string make_directory(const std::string&) override { return {}; }

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

    // The clock ticks once at each rename and each reading of it.
    std::string list_directory(const std::string& path, std::vector<entry>& entries) override
    {
        entries.clear();
        for (const auto& [name, text] : files) {
            if (name.size() > path.size() + 1 && name.compare(0, path.size(), path) == 0 &&
                name[path.size()] == '/' && name.find('/', path.size() + 1) == std::string::npos) {
                entries.push_back({name.substr(path.size() + 1), times[name]});
            }
        }
        return {};
    }

    std::string time_now(const std::string&, std::int64_t& now) override
    {
        now = ++clock_;
        return {};
    }

private:
    int next_handle_ = 3;
    std::int64_t clock_ = 0;
    std::map<std::string, std::int64_t> times;
};
