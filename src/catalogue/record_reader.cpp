#include "catalogue/record_reader.h"

#include <algorithm>
#include <tuple>

#include "catalogue/made_names.h"
#include "document/gallery.h"

namespace {

constexpr std::size_t block = 1 << 16;
constexpr std::size_t longest_name_line = 4096;  // no made name comes near
constexpr std::size_t most_digits = 18;          // in an int64_t

}  // namespace

bool record_entry::operator<(const record_entry& other) const
{
    return std::tie(group, list, number, name) <
           std::tie(other.group, other.list, other.number, other.name);
}

bool record_entry::parse(const std::string& text)
{
    name = text;
    list.clear();
    if (text.size() > longest_name_line || text.find('/') != std::string::npos ||
        text.find('\\') != std::string::npos || !is_made_name(text)) {
        return false;
    }
    std::string digits;
    if (text == "index.html") {
        group = 2;
    } else if (gallery::is_page_name(text)) {
        group = 1;
        const std::size_t dash = text.rfind('-');
        list = text.substr(0, dash);
        digits = text.substr(dash + 1, text.size() - dash - 6);
    } else {
        group = 0;
        digits = text.substr(0, text.find('-'));
    }
    if (digits.size() > most_digits) return false;
    number = 0;
    for (const char d : digits) number = number * 10 + (d - '0');
    return true;
}

void put_in_order(std::vector<record_entry>& names)
{
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
}

bool record_reader::line(std::string& text)
{
    text.clear();
    if (handle_ < 0) {
        ended_ = true;
        return false;
    }
    if (!buffer_) buffer_.reset(new char[block]);
    bool any = false;
    for (;;) {
        if (at_ == end_) {
            if (ended_) return any;
            const std::string error = files_.read(handle_, buffer_.get(), block, end_);
            at_ = 0;
            if (!error.empty()) failure = error;
            if (!error.empty() || end_ == 0) {
                end_ = 0;
                ended_ = true;
                return any && failure.empty();
            }
        }
        any = true;
        const char c = buffer_[at_++];
        if (c == '\n') break;
        if (text.size() <= longest_name_line) text += c;
    }
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return true;
}

void record_reader::advance_stream()
{
    stream_valid_ = false;
    if (stopped_) return;
    record_entry next;
    std::string text;
    while (line(text)) {
        if (!next.parse(text)) continue;
        if (started_ && !(streamed_ < next)) break;
        streamed_ = std::move(next);
        started_ = stream_valid_ = true;
        return;
    }
    stopped_ = true;
    if (!failure.empty() || ended_) return;
    failure = "the names are not in case order";
}

void record_reader::advance()
{
    if (!primed_) {
        primed_ = true;
        advance_stream();
    }
    const bool more = next_extra_ < extra.size();
    valid = stream_valid_ || more;
    if (!valid) return;
    if (!more || (stream_valid_ && streamed_ < extra[next_extra_])) {
        current = streamed_;
        advance_stream();
        return;
    }
    current = extra[next_extra_++];
    if (stream_valid_ && streamed_ == current) advance_stream();
}
