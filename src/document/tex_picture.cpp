#include "document/tex_picture.h"

#include <algorithm>
#include <utility>

#include "document/a4_fit.h"
#include "document/document.h"
#include "document/frame.h"
#include "document/square_block.h"

namespace {

class tex_picture : public picture_writer {
public:
    tex_picture(file_system& files, const std::string& path, links how)
        : doc_(files, path, how)
    {
    }

    void frame_head(const square_case& c) override
    {
        width_ = c.width;
        height_ = c.height;
        lowest_ = std::min<std::int64_t>(0, c.height);
        write_frame_head(doc_, c.width, c.height);
    }

    void square(const placement& p, bool) override
    {
        // Only a square of side 1 or more reaches below its top edge.
        if (p.side > 0) lowest_ = std::min(lowest_, p.top - p.side);
        ++squares_;
        write_square_block(doc_, p, width_);
    }

    void frame_tail() override { write_frame_tail(doc_); }

    std::vector<std::string> caveats() const override
    {
        std::vector<std::string> found;
        for (std::string problem : {a4_fit_problem(width_, height_, lowest_),
                                    tex_memory_problem(squares_)}) {
            if (!problem.empty()) found.push_back(std::move(problem));
        }
        return found;
    }

private:
    document doc_;
    std::int32_t width_ = 1;
    std::int32_t height_ = 0;
    std::int64_t lowest_ = 0;
    std::size_t squares_ = 0;  // every one written, whatever its side
};

}  // namespace

std::unique_ptr<picture_writer> open_tex_picture(file_system& files, const std::string& path,
                                                 const picture_settings& settings)
{
    return std::make_unique<tex_picture>(files, path, settings.how);
}
