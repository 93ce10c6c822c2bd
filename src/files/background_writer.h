// Writes full blocks of the document on a second thread.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "files/file_system.h"

// On a large document the system's side of writing (copying into the page
// cache, allocating blocks, starting the disk) costs about as much as
// placing and formatting the squares; with a second core both go on at
// once: the square loop fills one block while this thread writes the last.
class background_writer {
public:
    background_writer(file_system& files, int handle, std::size_t block_size);
    ~background_writer();
    background_writer(const background_writer&) = delete;
    background_writer& operator=(const background_writer&) = delete;

    // Takes the first `size` bytes of `block` to write and gives back an
    // empty block in its place, or returns what went wrong with an earlier
    // write (the block is then not taken).
    std::string hand_over(std::unique_ptr<char[]>& block, std::size_t size);

    // Waits for the last write and ends the thread; returns what went
    // wrong, if anything did.
    std::string finish();

private:
    void run();

    file_system& files_;
    int handle_;
    std::unique_ptr<char[]> block_;  // being written, or free once written
    std::size_t size_ = 0;
    bool busy_ = false;
    bool stopping_ = false;
    std::string error_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread thread_;  // last: it starts once everything above is ready
};
