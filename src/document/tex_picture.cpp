#include "document/tex_picture.h"

#include "document/document.h"
#include "document/frame.h"
#include "document/square_block.h"

namespace {

class tex_picture : public picture_writer {
public:
    tex_picture(file_system& files, const std::string& path) : doc_(files, path) {}

    void frame_head(const square_case& c) override
    {
        width_ = c.width;
        write_frame_head(doc_, c.width, c.height);
    }

    void square(const placement& p, bool) override { write_square_block(doc_, p, width_); }

    void frame_tail() override { write_frame_tail(doc_); }

private:
    document doc_;
    std::int32_t width_ = 1;
};

}  // namespace

std::unique_ptr<picture_writer> open_tex_picture(file_system& files, const std::string& path,
                                                 const picture_settings&)
{
    return std::make_unique<tex_picture>(files, path);
}
