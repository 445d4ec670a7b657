#pragma once
#include <cstddef>
#include <vector>

namespace quillet {

// A decoded picture: rows top-down, three bytes per pixel in R, G, B order.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

// Decodes a baseline or progressive JPEG with libjpeg. Damaged data, even data
// libjpeg would only warn about, raises QuilletError naming the fault.
Picture DecodeJpeg(const unsigned char* data, size_t size);

}  // namespace quillet
