#include "Kesl_keslbase_markmasks.h"

namespace {

constexpr std::uint8_t kPatterns[][7] = {
    {0x00, 0x00, 0x08, 0x1C, 0x08, 0x00, 0x00}, // 1 plus, arms 1
    {0x00, 0x08, 0x08, 0x3E, 0x08, 0x08, 0x00}, // 2 plus, arms 2
    {0x08, 0x08, 0x08, 0x7F, 0x08, 0x08, 0x08}, // 3 plus, arms 3
    {0x00, 0x00, 0x14, 0x08, 0x14, 0x00, 0x00}, // 4 diagonal cross, arms 1
    {0x00, 0x22, 0x14, 0x08, 0x14, 0x22, 0x00}, // 5 diagonal cross, arms 2
    {0x41, 0x22, 0x14, 0x08, 0x14, 0x22, 0x41}, // 6 diagonal cross, arms 3
    {0x55, 0x2A, 0x55, 0x2A, 0x55, 0x2A, 0x55}, // 18 checkerboard
    {0x63, 0x77, 0x3E, 0x1C, 0x3E, 0x77, 0x63}, // 25 thick diagonal cross
};

int PatternIndex(int shape)
{
    if (shape >= 1 && shape <= 6)
        return shape - 1;
    if (shape == 18)
        return 6;
    if (shape == 25)
        return 7;
    return -1;
}

constexpr TMarkMask Pattern(const std::uint8_t (&r)[7])
{
    return {-3, 3, 7, {r[0], r[1], r[2], r[3], r[4], r[5], r[6], 0, 0}};
}

constexpr TMarkMask kDot = {0, 0, 1, {0x1}};
constexpr TMarkMask kPatternMasks[] = {Pattern(kPatterns[0]), Pattern(kPatterns[1]), Pattern(kPatterns[2]),
                                       Pattern(kPatterns[3]), Pattern(kPatterns[4]), Pattern(kPatterns[5]),
                                       Pattern(kPatterns[6]), Pattern(kPatterns[7])};
constexpr TMarkMask kSquare3 = {-1, 1, 3, {0x7, 0x7, 0x7}};
constexpr TMarkMask kSquare5 = {-2, 2, 5, {0x1F, 0x1F, 0x1F, 0x1F, 0x1F}};
constexpr TMarkMask kSquare7 = {-3, 3, 7, {0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F}};

// The filled triangles as the canvas draws them: the outline through the
// vertices plus every pixel inside it. Columns x-4 (bit 8) .. x+4 (bit 0).
constexpr TMarkMask kTriangle29 = {0, 4, 3, {0x07C, 0x038, 0x010}};
constexpr TMarkMask kTriangle30 = {0, 4, 4, {0x0FE, 0x07C, 0x038, 0x010}};
constexpr TMarkMask kArrowDown34 = {-3, 4, 8, {0x1FF, 0x0FE, 0x0FE, 0x07C, 0x07C, 0x038, 0x038, 0x010}};
constexpr TMarkMask kArrowUp36 = {-4, 4, 8, {0x010, 0x038, 0x038, 0x07C, 0x07C, 0x0FE, 0x0FE, 0x1FF}};
constexpr TMarkMask kLeft41 = {-2, 4, 5, {0x006, 0x01E, 0x07E, 0x01E, 0x006}};
constexpr TMarkMask kLeft43 = {-3, 4, 7, {0x003, 0x00F, 0x03F, 0x0FF, 0x03F, 0x00F, 0x003}};
constexpr TMarkMask kRight45 = {-2, 4, 5, {0x0C0, 0x0F0, 0x0FC, 0x0F0, 0x0C0}};
constexpr TMarkMask kRight47 = {-3, 4, 7, {0x180, 0x1E0, 0x1F8, 0x1FE, 0x1F8, 0x1E0, 0x180}};

} // namespace

const std::uint8_t *MarkPatternRows(int shape)
{
    const int i = PatternIndex(shape);
    return i < 0 ? nullptr : kPatterns[i];
}

const TMarkMask *FastMarkMask(int shape)
{
    const int i = PatternIndex(shape);
    if (i >= 0)
        return &kPatternMasks[i];
    switch (shape) {
    case 0: return &kDot;
    case 7: return &kSquare3;
    case 8: return &kSquare5;
    case 9: return &kSquare7;
    case 29: return &kTriangle29;
    case 30: return &kTriangle30;
    case 34: return &kArrowDown34;
    case 36: return &kArrowUp36;
    case 41: return &kLeft41;
    case 43: return &kLeft43;
    case 45: return &kRight45;
    case 47: return &kRight47;
    default: return nullptr;
    }
}
