#pragma once
// Reading back the JPEG files the code under test writes, with libjpeg.

#include <jpeglib.h>

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace ribbon::test {

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A JPEG stream with its header read; Info() shows the header's fields.
class JpegStream {
  public:
    explicit JpegStream(const std::string& data) : data_(data) {
        info_.err = jpeg_std_error(&errors_);
        jpeg_create_decompress(&info_);
        jpeg_mem_src(&info_, reinterpret_cast<const unsigned char*>(data_.data()), data_.size());
        headerOk_ = jpeg_read_header(&info_, TRUE) == JPEG_HEADER_OK;
    }
    ~JpegStream() { jpeg_destroy_decompress(&info_); }
    JpegStream(const JpegStream&) = delete;
    JpegStream& operator=(const JpegStream&) = delete;

    bool HeaderOk() const { return headerOk_; }
    jpeg_decompress_struct& Info() { return info_; }

  private:
    std::string data_;
    jpeg_decompress_struct info_{};
    jpeg_error_mgr errors_{};
    bool headerOk_ = false;
};

// A decoded picture, three bytes (red, green, blue) a pixel, row after row.
struct Picture {
    int Width = 0, Height = 0;
    std::vector<unsigned char> Rgb;
    int Gray(int x, int y) const {
        const unsigned char* p = &Rgb[(static_cast<std::size_t>(y) * Width + x) * 3];
        return (p[0] + p[1] + p[2]) / 3;
    }
    // The first column from x on, in row y, darker than mid-grey; -1 if none.
    int FirstDark(int y, int x = 1) const {
        for (; x < Width - 1; ++x)
            if (Gray(x, y) < 128) return x;
        return -1;
    }
};

inline Picture DecodeJpeg(const std::filesystem::path& path) {
    JpegStream stream(ReadFile(path));
    jpeg_decompress_struct& info = stream.Info();
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    Picture picture{static_cast<int>(info.output_width), static_cast<int>(info.output_height), {}};
    picture.Rgb.resize(static_cast<std::size_t>(picture.Width) * picture.Height * 3);
    while (info.output_scanline < info.output_height) {
        unsigned char* row =
            &picture.Rgb[static_cast<std::size_t>(info.output_scanline) * picture.Width * 3];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return picture;
}

}  // namespace ribbon::test
