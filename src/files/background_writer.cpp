#include "files/background_writer.h"

#include "files/interrupt_cleanup.h"

background_writer::background_writer(file_system& files, int handle, std::size_t block_size)
    : files_(files),
      handle_(handle),
      block_(new char[block_size]),
      thread_(&background_writer::run, this)
{
}

background_writer::~background_writer()
{
    finish();
}

std::string background_writer::hand_over(std::unique_ptr<char[]>& block, std::size_t size)
{
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    if (!error_.empty()) return error_;
    block.swap(block_);
    size_ = size;
    busy_ = true;
    changed_.notify_all();
    return {};
}

std::string background_writer::finish()
{
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !busy_; });
        stopping_ = true;
        changed_.notify_all();
    }
    if (thread_.joinable()) thread_.join();
    return error_;
}

void background_writer::run()
{
    block_interrupts_in_this_thread();
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return busy_ || stopping_; });
        if (!busy_) return;
        lock.unlock();
        std::string error = files_.write(handle_, block_.get(), size_);
        lock.lock();
        if (error_.empty()) error_ = std::move(error);
        busy_ = false;
        changed_.notify_all();
    }
}
